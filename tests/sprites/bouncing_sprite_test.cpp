// The bouncing sprite: straight motion, reflection off the bounds without correcting the
// position, a fixed speed, and restores that only ever touch the rectangle it recorded.
#include "sprites/bouncing_sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/random_source.h"
#include "host/host_state.h"
#include "sprites/test_surface.h"

namespace {

constexpr uint32_t kMarker = 0x00FF00;

TEST(BouncingSprite, AdvanceMovesWhateverTheStripAndMoveMode) {
  BouncingSprite box;  // no strip, moveMode -1: a plain sprite would stand still
  box.x = -0.6, box.y = 3.0, box.vx = 1.6, box.vy = -0.5;
  box.frameRate = 64;
  EXPECT_EQ(box.Advance(), 0);
  EXPECT_DOUBLE_EQ(box.x, 1.0);
  EXPECT_DOUBLE_EQ(box.y, 2.5);
  EXPECT_EQ(box.frame, 0);
  EXPECT_EQ(box.frameAccumulator, 0);
}

TEST(BouncingSprite, ReflectsWhenTheNominalBoxReachesAnEdge) {
  struct {
    int nominalWidth, nominalHeight;
    RECT bounds;
    double x, y;
    bool turnX, turnY;
  } cases[] = {
      {534, 194, {0, 0, 800, 600}, -0.6, 10.0, true, false},
      {534, 194, {0, 0, 800, 600}, 0.0, 0.0, false, false},
      {534, 194, {0, 0, 800, 600}, 265.9, 405.9, false, false},
      {534, 194, {0, 0, 800, 600}, 266.0, 10.0, true, false},
      {534, 194, {0, 0, 800, 600}, 10.0, -0.1, false, true},
      {534, 194, {0, 0, 800, 600}, 10.0, 406.0, false, true},
      {534, 194, {0, 0, 800, 600}, 300.0, -5.0, true, true},
      {534, 194, {100, 50, 900, 650}, 50.0, 10.0, true, true},
      {534, 194, {100, 50, 900, 650}, 100.0, 50.0, false, false},
      {534, 194, {100, 50, 900, 650}, 99.9, 49.5, true, true},
      {534, 194, {100, 50, 900, 650}, 366.0, 456.0, true, true},
      // Larger than its bounds: the mirrored centre keeps the far edge from turning it back.
      {120, 120, {0, 0, 100, 100}, -10.0, -10.0, true, true},
      // Odd sizes: both halves of 535 and 195 are the integer 267 and 97.
      {535, 195, {0, 0, 800, 600}, 265.6, 405.6, false, false},
      {535, 195, {0, 0, 800, 600}, 266.0, 406.0, true, true},
  };
  for (const auto& c : cases) {
    BouncingSprite box;
    box.nominalWidth = c.nominalWidth, box.nominalHeight = c.nominalHeight;
    box.bounds = c.bounds;
    box.x = c.x, box.y = c.y, box.vx = -1.6, box.vy = 0.8;
    EXPECT_EQ(box.KeepInBounds(), 0);
    EXPECT_EQ(box.vx, c.turnX ? 1.6 : -1.6) << "x " << c.x << " in " << c.bounds.left << ".."
                                            << c.bounds.right << ", width " << c.nominalWidth;
    EXPECT_EQ(box.vy, c.turnY ? -0.8 : 0.8) << "y " << c.y << " in " << c.bounds.top << ".."
                                            << c.bounds.bottom << ", height " << c.nominalHeight;
    EXPECT_EQ(box.x, c.x) << "the position must not be corrected";
    EXPECT_EQ(box.y, c.y) << "the position must not be corrected";
  }
}

// The edges are those of the nominal box centred on the current frame.
TEST(BouncingSprite, MeasuresFromTheCentreOfTheCurrentFrame) {
  moduleInstance = GetModuleHandle(nullptr);
  FrameStrip strip;
  strip.CreateNumbered(10, 7000);  // 80 x 80 around a 40 x 40 box: the box starts 20 in
  struct {
    double x;
    bool turn;
  } cases[] = {{-20.5, true}, {-20.0, false}, {740.0, true}, {739.5, false}};
  for (const auto& c : cases) {
    BouncingSprite box;
    box.strip = &strip;
    box.nominalWidth = box.nominalHeight = 40;
    box.bounds = {0, 0, 800, 600};
    box.x = c.x, box.y = 100.0, box.vx = 2.0;
    box.KeepInBounds();
    EXPECT_EQ(box.vx, c.turn ? -2.0 : 2.0) << "x " << c.x;
  }
}

TEST(BouncingSprite, VelocityHasTheFullSpeedAndOneRandomDirection) {
  for (uint32_t seed = 0; seed < 600; seed += 11) {
    RandomSeed(seed);
    const int angle = static_cast<int>(Random(360));
    const uint32_t after = RandomNext();
    RandomSeed(seed);
    BouncingSprite box;
    EXPECT_EQ(box.RandomVelocity(16), angle) << "seed " << seed;
    EXPECT_NEAR(std::hypot(box.vx, box.vy), 1.6, 1e-12) << "seed " << seed;
    const double degrees = std::atan2(box.vy, box.vx) / 0.017453292519943295;
    EXPECT_NEAR(std::fmod(degrees + 360.0, 360.0), angle, 1e-9) << "seed " << seed;
    EXPECT_EQ(RandomNext(), after) << "seed " << seed << ": the angle must be the only draw";
  }
  RandomSeed(4);
  const uint32_t next = RandomNext();
  RandomSeed(4);
  BouncingSprite box;
  box.vx = 1.0, box.vy = 1.0;
  EXPECT_EQ(box.RandomVelocity(0), 0);
  EXPECT_EQ(box.vx, 0.0);
  EXPECT_EQ(box.vy, 0.0);
  EXPECT_EQ(RandomNext(), next) << "RandomVelocity(0) consumed an output";
}

TEST(BouncingSprite, CopiesOnlyTheRectangleRecordedLastTime) {
  moduleInstance = GetModuleHandle(nullptr);
  FrameStrip strip;
  strip.CreateNumbered(10, 7000);
  TestSurface target(200, 160), source(200, 160);
  ASSERT_TRUE(target.Valid() && source.Valid());
  source.FillPattern();
  target.Fill(kMarker);
  BouncingSprite box;
  box.strip = &strip;  // even with a strip it draws nothing
  box.nominalWidth = 30, box.nominalHeight = 20;
  box.x = 10.7, box.y = 12.2;

  EXPECT_EQ(box.Draw(target.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {}), "") << "Draw touched the target";
  EXPECT_EQ(box.Restore(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {}), "") << "nothing was recorded yet";

  EXPECT_EQ(box.RestoreAndSave(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {}), "") << "the first save copies nothing";
  EXPECT_EQ(box.hasSaved, -1);

  box.strip = nullptr;  // the recorded size is the current one: now the nominal 30 x 20
  box.x = 100.0, box.y = 90.0;
  EXPECT_EQ(box.RestoreAndSave(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {{10, 12, 90, 92}}), "");
  EXPECT_EQ(box.savedX, 100);
  EXPECT_EQ(box.savedY, 90);
  EXPECT_EQ(box.savedWidth, 30);
  EXPECT_EQ(box.savedHeight, 20);

  target.Fill(kMarker);
  EXPECT_EQ(box.Restore(target.dc, source.dc), 1);
  EXPECT_EQ(OnlyRectsCopied(target, source, kMarker, {{100, 90, 130, 110}}), "");
  EXPECT_EQ(box.Restore(nullptr, source.dc), 0) << "a failed blit must be reported";
  EXPECT_EQ(box.RestoreAndSave(nullptr, source.dc), 0) << "a failed blit must be reported";
}

}  // namespace
