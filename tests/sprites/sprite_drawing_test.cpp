// The sprite on real memory DCs: where it draws, and which rectangles its restores copy.
#include <gtest/gtest.h>

#include "host/host_state.h"
#include "sprites/sprite.h"
#include "sprites/test_surface.h"

namespace {

constexpr uint32_t kMarker = 0x123456;

class SpriteDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandle(nullptr);
    strip.CreateNumbered(10, 7000);  // 80 x 80
    ASSERT_TRUE(target.Valid() && source.Valid() && expected.Valid());
    source.FillPattern();
    target.Fill(kMarker);
  }
  FrameStrip strip;
  TestSurface target{200, 160}, source{200, 160}, expected{200, 160};
};

// The pixel column is the position truncated toward zero, not rounded down.
TEST_F(SpriteDrawing, DrawsAtThePositionTruncatedTowardZero) {
  struct {
    double x, y;
    int column, row;
  } cases[] = {
      {-0.5, 10.0, 0, 10}, {-1.5, 10.0, -1, 10}, {20.9, -0.7, 20, 0}, {20.2, 30.99, 20, 30}};
  TestSurface other(200, 160);
  other.Fill(kMarker);
  strip.DrawFrame(other.dc, 1, 0, 3);
  expected.Fill(kMarker);
  strip.DrawFrame(expected.dc, 0, 0, 3);
  ASSERT_NE(FirstDifference(other, expected), "") << "frame 3 must show a one-pixel shift";
  for (const auto& c : cases) {
    Sprite sprite;
    sprite.strip = &strip;
    sprite.frame = 3;
    sprite.x = c.x, sprite.y = c.y;
    target.Fill(kMarker);
    expected.Fill(kMarker);
    EXPECT_EQ(sprite.Draw(target.dc), strip.DrawFrame(expected.dc, c.column, c.row, 3));
    EXPECT_EQ(FirstDifference(target, expected), "") << "x " << c.x << ", y " << c.y;
  }
}

TEST_F(SpriteDrawing, DrawWithoutAStripSucceedsAndDrawsNothing) {
  Sprite sprite;
  sprite.nominalWidth = sprite.nominalHeight = 50;
  EXPECT_EQ(sprite.Draw(target.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {}), "");
}

TEST_F(SpriteDrawing, RestoreCopiesTheCurrentAndTheSavedRectangles) {
  struct {
    bool withStrip, saved;
    std::vector<RECT> copied;
  } cases[] = {
      {true, false, {{10, 20, 90, 100}}},
      {true, true, {{10, 20, 90, 100}, {150, 5, 180, 45}}},
      {false, true, {{150, 5, 180, 45}}},
      {false, false, {}},
  };
  for (const auto& c : cases) {
    Sprite sprite;
    sprite.strip = c.withStrip ? &strip : nullptr;
    sprite.nominalWidth = sprite.nominalHeight = 8;
    sprite.x = 10.9, sprite.y = 20.4;
    sprite.hasSaved = c.saved ? 1 : 0;
    sprite.savedX = 150, sprite.savedY = 5, sprite.savedWidth = 30, sprite.savedHeight = 40;
    target.Fill(kMarker);
    EXPECT_EQ(sprite.Restore(target.dc, source.dc), 1);
    EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, c.copied), "")
        << "strip " << c.withStrip << ", saved " << c.saved;
    EXPECT_EQ(sprite.Restore(nullptr, source.dc), c.copied.empty() ? 1 : 0)
        << "a failed blit must be reported; strip " << c.withStrip << ", saved " << c.saved;
  }
}

TEST_F(SpriteDrawing, RestoreAndSaveRecordsTheRectangleItWillNeedNext) {
  Sprite sprite;
  sprite.strip = &strip;
  sprite.x = 30.6, sprite.y = -10.5;
  EXPECT_EQ(sprite.RestoreAndSave(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {{30, -10, 110, 70}}), "");
  EXPECT_EQ(sprite.hasSaved, 1);
  EXPECT_EQ(sprite.savedX, 30);
  EXPECT_EQ(sprite.savedY, -10);
  EXPECT_EQ(sprite.savedWidth, 80);
  EXPECT_EQ(sprite.savedHeight, 80);

  sprite.x = 100.0, sprite.y = 70.0;
  target.Fill(kMarker);
  EXPECT_EQ(sprite.RestoreAndSave(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {{30, -10, 110, 70}, {100, 70, 180, 150}}),
            "");
  EXPECT_EQ(sprite.savedX, 100);
  EXPECT_EQ(sprite.savedY, 70);

  // Losing the strip: the old rectangle is still repaired, and nothing is recorded any more.
  sprite.strip = nullptr;
  sprite.nominalWidth = 5, sprite.nominalHeight = 6;
  target.Fill(kMarker);
  EXPECT_EQ(sprite.RestoreAndSave(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {{100, 70, 180, 150}}), "");
  EXPECT_EQ(sprite.hasSaved, 0);
  EXPECT_EQ(sprite.savedWidth, 5);
  EXPECT_EQ(sprite.savedHeight, 6);
  EXPECT_EQ(sprite.RestoreAndSave(nullptr, source.dc), 1) << "nothing left to copy";
}

}  // namespace
