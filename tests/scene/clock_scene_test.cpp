// The clock scene: character frames and strip choices driven by a hand-made local time, the
// digits, the block's turn countdown, and the one-rectangle composing and presenting on real
// memory DCs.
#include "scene/clock_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "clock_block.h"
#include "graphics/random_source.h"
#include "host/host_state.h"
#include "sprites/test_surface.h"

namespace {

constexpr uint32_t kMarker = 0x13579B;
constexpr RECT kPreviewRect = {0, 0, 640, 480};

SYSTEMTIME fakeNow = {};

void WINAPI FakeLocalTime(LPSYSTEMTIME time) {
  *time = fakeNow;
}

void SetTime(int hour, int minute, int second, int millisecond) {
  fakeNow = {0, 0, 0, 0, WORD(hour), WORD(minute), WORD(second), WORD(millisecond)};
}

// A set-up, started scene on the preview's logical rectangle reading the fake clock. Pictures
// load only where a test draws.
class ClockSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandle(nullptr);
    SetLocalTimeSource(FakeLocalTime);
    RandomReset();
    RandomSeed(12345);
    SetTime(12, 0, 0, 100);
    ASSERT_EQ(scene.Setup(kPreviewRect, 1), 1);
    scene.Start();
    ASSERT_EQ(scene.IsActive(), 1);
  }
  void TearDown() override { SetLocalTimeSource(GetLocalTime); }

  // The picture behind frame i of character s's strip; ids are stored as a 1 and two bytes.
  int Picture(int s, int i) {
    const char* id = scene.characterSprites[s].strip->frames[i]->source;
    return id[0] == 1 ? uint8_t(id[1]) | uint8_t(id[2]) << 8 : -1;
  }

  ClockScene scene;
};

TEST_F(ClockSceneTest, CharacterFrameFollowsTheMillisecond) {
  struct {
    int millisecond, frame;
  } cases[] = {
      {0, 4},    {66, 4},  {67, 5},  {333, 8}, {334, 9}, {666, 13},
      {733, 14}, {734, 0}, {760, 0}, {799, 0}, {800, 1}, {999, 3},
  };
  for (const auto& c : cases) {
    SetTime(12, 0, 0, c.millisecond);
    scene.Advance(1);
    for (int s = 0; s < 3; ++s) {
      const Sprite& character = scene.characterSprites[s];
      EXPECT_EQ(character.frame, c.frame) << "millisecond " << c.millisecond << ", character " << s;
      EXPECT_EQ(character.previousFrame, c.frame);
      EXPECT_EQ(character.frameAccumulator, 0);
    }
    EXPECT_EQ(ClockFrame(c.millisecond), c.frame) << "millisecond " << c.millisecond;
  }
}

TEST_F(ClockSceneTest, StripsAreChosenOnlyAtClockFrameZero) {
  struct {
    int hour, minute, second;
    int pictures[3];  // the first picture of the hour, minute and second character's strip
  } cases[] = {
      {9, 59, 59, {10100, 9100, 8100}},   // every pair of digits rolls over, each at a 9
      {10, 0, 0, {10200, 9200, 8000}},    // back to the idle strips
      {23, 59, 59, {10000, 9100, 8100}},  // 23 becomes 00: the hour's units are not a 9
      {12, 34, 59, {10200, 9000, 8100}}, {12, 34, 56, {10200, 9200, 8000}},
      {0, 0, 0, {10200, 9200, 8000}},    {19, 59, 59, {10100, 9100, 8100}},
      {12, 9, 59, {10200, 9100, 8100}},  {12, 34, 9, {10200, 9200, 8100}},
      {12, 34, 58, {10200, 9200, 8000}}, {12, 59, 58, {10200, 9200, 8000}},
  };
  const int idle[3] = {10200, 9200, 8200};
  for (const auto& c : cases) {
    for (int millisecond : {734, 766, 799}) {
      scene.Start();
      for (int i = 0; i < 45; ++i) ASSERT_EQ(Picture(i / 15, i % 15), idle[i / 15] + i % 15);
      SetTime(c.hour, c.minute, c.second, millisecond);
      // Outside frame 0 the choice stands, whatever the time says.
      for (int now : {millisecond, 733, 800, 0}) {
        if (now != millisecond) SetTime(10, 0, 0, now);
        scene.Advance(1);
        for (int s = 0; s < 3; ++s) {
          EXPECT_EQ(Picture(s, 0), c.pictures[s])
              << c.hour << ":" << c.minute << ":" << c.second << "." << millisecond << " then "
              << now << ", character " << s;
          EXPECT_EQ(Picture(s, 14), c.pictures[s] + 14) << "character " << s;
        }
      }
    }
  }
}

TEST_F(ClockSceneTest, DigitsShowTheTwentyFourHourTime) {
  struct {
    int hour, minute, second;
    int digits[6];
  } cases[] = {{0, 0, 0, {0, 0, 0, 0, 0, 0}},
               {23, 59, 58, {2, 3, 5, 9, 5, 8}},
               {9, 5, 7, {0, 9, 0, 5, 0, 7}},
               {12, 34, 56, {1, 2, 3, 4, 5, 6}}};
  for (const auto& c : cases) {
    SetTime(c.hour, c.minute, c.second, 500);
    scene.Advance(1);
    for (int d = 0; d < 6; ++d) {
      EXPECT_EQ(scene.digitSprites[d].frame, c.digits[d])
          << c.hour << ":" << c.minute << ":" << c.second << ", digit " << d;
      EXPECT_EQ(scene.digitSprites[d].strip, scene.digitStrip);
    }
    for (int c2 = 0; c2 < 2; ++c2) {
      EXPECT_EQ(scene.colonSprites[c2].strip, scene.colonStrip);
      EXPECT_EQ(scene.colonSprites[c2].frame, 0);
    }
  }
}

// Near, not exact: the 32-bit build adds in the x87 unit's wider registers.
TEST_F(ClockSceneTest, EverySpriteSitsAtItsOffsetFromTheBlock) {
  // The draw list holds the colons, the digits and the characters, in this order.
  std::vector<block::Offset> offsets(std::begin(block::kColons), std::end(block::kColons));
  offsets.insert(offsets.end(), std::begin(block::kDigits), std::end(block::kDigits));
  offsets.insert(offsets.end(), std::begin(block::kCharacters), std::end(block::kCharacters));
  for (int step = 0; step < 3; ++step) {
    scene.Advance(1);
    for (int i = 0; i < 11; ++i) {
      EXPECT_DOUBLE_EQ(scene.sprites[i]->x, scene.anchor->x + offsets[i].x)
          << "draw-list entry " << i;
      EXPECT_DOUBLE_EQ(scene.sprites[i]->y, scene.anchor->y + offsets[i].y)
          << "draw-list entry " << i;
    }
  }
}

// In the preview the block's left edge starts at a whole x from 0 to 105, its top at 0 to 285.
TEST_F(ClockSceneTest, TheBlockStartsInsideThePreviewAndMovesOneStepPerCall) {
  int low[2] = {640, 480}, high[2] = {-1, -1};  // x, y
  for (uint32_t seed = 1; seed <= 3000; ++seed) {
    RandomReset();
    RandomSeed(seed);
    scene.Start();
    // Start's own Advance(0) has made one step, and reversed the velocity if it met an edge.
    const BouncingSprite& b = *scene.anchor;
    const double start[2] = {b.x - (b.x < 0.0 || b.x + block::kWidth >= 640.0 ? -b.vx : b.vx),
                             b.y - (b.y < 0.0 || b.y + block::kHeight >= 480.0 ? -b.vy : b.vy)};
    for (int axis = 0; axis < 2; ++axis) {
      ASSERT_NEAR(start[axis], std::round(start[axis]), 1e-9) << "seed " << seed;
      low[axis] = std::min(low[axis], int(std::lround(start[axis])));
      high[axis] = std::max(high[axis], int(std::lround(start[axis])));
    }
    ASSERT_NEAR(std::hypot(b.vx, b.vy), 1.6, 1e-9) << "seed " << seed;
    for (int frames : {0, 1, 7}) {
      const double x = b.x + b.vx, y = b.y + b.vy;
      scene.Advance(frames);
      ASSERT_DOUBLE_EQ(b.x, x) << frames << " frames still make one step, seed " << seed;
      ASSERT_DOUBLE_EQ(b.y, y) << frames << " frames still make one step, seed " << seed;
    }
  }
  EXPECT_EQ(std::vector<int>({low[0], high[0], low[1], high[1]}),
            std::vector<int>({0, 105, 0, 285}));
}

TEST_F(ClockSceneTest, TurnCountdownCountsCallsWithFrames) {
  EXPECT_GE(scene.turnCountdown, 3000);
  EXPECT_LE(scene.turnCountdown, 3999);
  scene.turnCountdown = 5;
  // A call with no frames leaves the countdown alone; any other takes one, not one per frame.
  for (const auto& [frames, left] : {std::pair{0, 5}, {1, 4}, {9, 3}}) {
    scene.Advance(frames);
    EXPECT_EQ(scene.turnCountdown, left) << frames << " frames";
  }

  // At 0 a call with frames turns the block at the same speed and re-arms the countdown.
  bool directionChanged = false;
  for (int turn = 0; turn < 20; ++turn) {
    scene.turnCountdown = 0;
    scene.Advance(0);
    ASSERT_EQ(scene.turnCountdown, 0);
    const double vx = scene.anchor->vx, vy = scene.anchor->vy;
    scene.Advance(1);
    EXPECT_GE(scene.turnCountdown, 3000) << "turn " << turn;
    EXPECT_LE(scene.turnCountdown, 3999) << "turn " << turn;
    EXPECT_NEAR(std::hypot(scene.anchor->vx, scene.anchor->vy), 1.6, 1e-9) << "turn " << turn;
    if (scene.anchor->vx != vx || scene.anchor->vy != vy) directionChanged = true;
  }
  EXPECT_TRUE(directionChanged) << "twenty turns never changed the direction";
}

TEST_F(ClockSceneTest, PaletteComesFromTheHourCharacter) {
  PALETTEENTRY fromScene[256] = {}, fromStrip[256] = {};
  scene.ExportPalette(fromScene);
  FrameStrip reference;
  reference.CreateNumbered(1, 10000);
  reference.ExportPalette(fromStrip);
  EXPECT_EQ(std::memcmp(fromScene, fromStrip, sizeof fromScene), 0);
  int nonBlack = 0;
  for (const PALETTEENTRY& e : fromScene) nonBlack += e.peRed || e.peGreen || e.peBlue;
  EXPECT_GT(nonBlack, 1) << "picture 10000's colour table did not arrive";
}

// Surfaces of the preview's size: the background a pattern, the frame and target a marker.
class ClockScenePaint : public ClockSceneTest {
 protected:
  void SetUp() override {
    ClockSceneTest::SetUp();
    ASSERT_TRUE(background.Valid() && frame.Valid() && target.Valid());
    background.FillPattern();
    frame.Fill(kMarker);
    target.Fill(kMarker);
    SetTime(12, 34, 56, 100);
    ASSERT_EQ(scene.OnCreate(GetDesktopWindow(), kPreviewRect), 1);
    scene.Advance(1);
  }
  RECT BlockRect() const {
    const int x = scene.anchor->PixelX(), y = scene.anchor->PixelY();
    return {x, y, x + block::kWidth, y + block::kHeight};
  }
  // What the frame should hold inside the block: the background with every picture drawn.
  void ExpectedBlock(TestSurface& out) {
    out.CopyFrom(background);
    for (int i = 0; i < 11; ++i) {
      Sprite& s = *scene.sprites[i];
      s.strip->DrawFrame(out.dc, s.PixelX(), s.PixelY(), s.frame);
    }
  }

  TestSurface background{640, 480}, frame{640, 480}, target{640, 480}, expected{640, 480};
};

TEST_F(ClockScenePaint, FirstPresentCopiesNothingThenTheRecordedBlock) {
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 11);
  EXPECT_NE(scene.Present(nullptr, target.dc, frame.dc, background.dc), 0);
  EXPECT_EQ(OnlyRectsCopied(target, frame, kMarker, {}), "") << "the first present copies nothing";

  const RECT first = BlockRect();
  scene.Advance(1);
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 11);
  EXPECT_NE(scene.Present(nullptr, target.dc, frame.dc, background.dc), 0);
  EXPECT_EQ(OnlyRectsCopied(target, frame, kMarker, {first}), "")
      << "the second present copies the block as the first recorded it";
}

TEST_F(ClockScenePaint, ComposeDrawsElevenPicturesAndRepairsTheOldBlock) {
  EXPECT_EQ(scene.Compose(frame.dc, background.dc), 11);
  ExpectedBlock(expected);
  const RECT first = BlockRect();
  GdiFlush();
  // Nothing is restored before the first present, so outside the pictures the marker stays.
  int drawnPixels = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (frame.Pixel(x, y) == kMarker) continue;
      ++drawnPixels;
      ASSERT_TRUE(Inside({first}, x, y)) << "drawn outside the block at " << x << ", " << y;
      ASSERT_EQ(frame.Pixel(x, y), expected.Pixel(x, y)) << "at " << x << ", " << y;
    }
  }
  EXPECT_GT(drawnPixels, 20000) << "the digits and characters should cover much of the block";

  scene.Present(nullptr, target.dc, frame.dc, background.dc);
  for (int step = 0; step < 40; ++step) scene.Advance(1);  // far enough to uncover pixels
  scene.Compose(frame.dc, background.dc);
  ExpectedBlock(expected);
  GdiFlush();
  for (int y = first.top; y < first.bottom; ++y) {
    for (int x = first.left; x < first.right; ++x) {
      ASSERT_EQ(frame.Pixel(x, y), expected.Pixel(x, y)) << "old block at " << x << ", " << y;
    }
  }
}

TEST(ClockSceneLife, WithoutSetupNothingRunsOrDraws) {
  ClockScene scene;
  EXPECT_EQ(scene.IsActive(), 0);
  EXPECT_EQ(scene.spriteCount, 11);
  EXPECT_EQ(scene.OnCreate(nullptr, kPreviewRect), 0);
  scene.Start();
  scene.Advance(1);
  TestSurface surface(16, 16);
  EXPECT_EQ(scene.Compose(surface.dc, surface.dc), 0);
  EXPECT_EQ(scene.Present(nullptr, surface.dc, surface.dc, surface.dc), 0);
  EXPECT_EQ(scene.IsActive(), 0);
}

TEST(ClockSceneLife, CreateSceneGivesASetUpableClockAndReleaseEmptiesIt) {
  std::unique_ptr<Scene> scene(CreateScene(7));
  ASSERT_NE(scene, nullptr);
  auto* clock = dynamic_cast<ClockScene*>(scene.get());
  ASSERT_NE(clock, nullptr);
  ASSERT_EQ(scene->Setup(kPreviewRect, 1), 1);
  ASSERT_NE(clock->sprites, nullptr);
  const Sprite* order[11] = {&clock->colonSprites[0], &clock->colonSprites[1]};
  for (int d = 0; d < 6; ++d) order[2 + d] = &clock->digitSprites[d];
  for (int s = 0; s < 3; ++s) order[8 + s] = &clock->characterSprites[s];
  for (int i = 0; i < 11; ++i) EXPECT_EQ(clock->sprites[i], order[i]) << "draw-list entry " << i;
  scene->Release();
  EXPECT_EQ(scene->IsActive(), 0);
  EXPECT_EQ(clock->anchor, nullptr);
  EXPECT_EQ(clock->characterStrips, nullptr);
  scene->Release();  // twice is harmless; the destructor releases once more
}

// Release empties the draw list and its count; setting up again must rebuild all eleven slots
// rather than fill a list of none, and setting up twice must not keep the first set of objects.
TEST(ClockSceneLife, SetupAgainRebuildsTheWholeScene) {
  moduleInstance = GetModuleHandle(nullptr);
  const int picturesBefore = liveCount;
  ClockScene scene;
  ASSERT_EQ(scene.Setup(kPreviewRect, 1), 1);
  const int picturesPerScene = liveCount - picturesBefore;
  EXPECT_EQ(picturesPerScene, 146);
  for (bool releaseFirst : {true, false}) {
    if (releaseFirst) scene.Release();
    ASSERT_EQ(scene.Setup(kPreviewRect, 1), 1) << "release first " << releaseFirst;
    EXPECT_EQ(scene.spriteCount, 11) << "release first " << releaseFirst;
    EXPECT_EQ(liveCount - picturesBefore, picturesPerScene)
        << "release first " << releaseFirst << ": the earlier pictures must be gone";
    ASSERT_NE(scene.sprites, nullptr);
    EXPECT_EQ(scene.sprites[0], &scene.colonSprites[0]);
    EXPECT_EQ(scene.sprites[10], &scene.characterSprites[2]);
    scene.Start();
    EXPECT_EQ(scene.IsActive(), 1);
  }
}

}  // namespace
