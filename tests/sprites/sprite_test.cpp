// The sprite's arithmetic: frame wrapping and stepping, placement and velocity drawn from the
// random source, and torus wrapping around the bounds.
#include "sprites/sprite.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "graphics/random_source.h"
#include "host/host_state.h"

namespace {

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandle(nullptr);
    small.CreateNumbered(10, 7000);  // 80 x 80
    fifteen.CreateNumbered(15, 8000);
  }
  FrameStrip small, fifteen;
};

// The output the generator gives next, without disturbing it.
uint32_t PeekNext() {
  uint32_t state[8];
  std::copy(randomState, randomState + 8, state);
  const uint16_t position = randomPosition;
  const uint32_t next = RandomNext();
  std::copy(state, state + 8, randomState);
  randomPosition = position;
  return next;
}

TEST(WrapFrame, WrapsIntoTheStripBothWays) {
  struct {
    int frame, count, expected;
  } cases[] = {
      {0, 15, 0},   {14, 15, 14},  {15, 15, 0},  {31, 15, 1},      {-1, 15, 14},
      {-15, 15, 0}, {-16, 15, 14}, {-30, 15, 0}, {INT_MAX, 15, 7}, {INT_MIN, 15, 7},
      {5, 0, 0},    {-3, 0, 0},    {0, 0, 0},    {7, 1, 0},        {-7, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WrapFrame(c.frame, c.count), c.expected)
        << "WrapFrame(" << c.frame << ", " << c.count << ")";
  }
}

TEST_F(SpriteTest, AdvanceStepsFramesAtTheFractionalRate) {
  struct {
    int rate;
    std::vector<int> frames;  // after each Advance, starting from frame 0
  } cases[] = {
      {64, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}},
      {32, {0, 1, 1, 2, 2, 3}},
      {100, {1, 3, 4, 6}},  // 100, 136 -> 8, 108 -> 44, 108
      {-64, {14, 13}},
      {-32, {0, 14, 14, 13}},  // the remainder keeps the sign: -32 first moves nothing
      {-960, {0, 0}},          // fifteen frames back is the same frame
      {1024, {1, 2}},          // sixteen frames on
      {0, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    Sprite sprite;
    sprite.Setup(&fifteen, 10, 10, -1, 0, 0, 0, 100, 100);
    sprite.frameRate = c.rate;
    int previous = 0;
    for (size_t i = 0; i < c.frames.size(); ++i) {
      const int changed = sprite.Advance();
      EXPECT_EQ(sprite.frame, c.frames[i]) << "rate " << c.rate << ", Advance " << i + 1;
      EXPECT_EQ(sprite.previousFrame, previous) << "rate " << c.rate << ", Advance " << i + 1;
      EXPECT_EQ(changed, c.frames[i] != previous ? 1 : 0)
          << "rate " << c.rate << ", Advance " << i + 1 << " reports the wrong change";
      previous = c.frames[i];
    }
  }
}

TEST_F(SpriteTest, AdvanceMovesOnlyWithAStripAndAMoveMode) {
  struct {
    bool withStrip;
    int moveMode, rate;
    double expectedX, expectedY;
    int expectedFrame;
  } cases[] = {
      {true, 0, 64, 11.5, 18.0, 1},
      {true, -1, 64, 10.0, 20.0, 1},
      {true, 3, 0, 11.5, 18.0, 0},
      {false, 0, 64, 10.0, 20.0, 0},
  };
  for (const auto& c : cases) {
    Sprite sprite;
    sprite.strip = c.withStrip ? &fifteen : nullptr;
    sprite.moveMode = c.moveMode;
    sprite.frameRate = c.rate;
    sprite.x = 10.0, sprite.y = 20.0, sprite.vx = 1.5, sprite.vy = -2.0;
    EXPECT_EQ(sprite.Advance(), c.expectedFrame);
    EXPECT_EQ(sprite.x, c.expectedX) << "strip " << c.withStrip << ", moveMode " << c.moveMode;
    EXPECT_EQ(sprite.y, c.expectedY) << "strip " << c.withStrip << ", moveMode " << c.moveMode;
    EXPECT_EQ(sprite.frame, c.expectedFrame);
    EXPECT_EQ(sprite.frameAccumulator, 0) << "strip " << c.withStrip;
  }
}

// An empty strip would divide by zero in the wrap; the frame stays 0 instead.
TEST_F(SpriteTest, AdvanceOverAnEmptyStripKeepsFrameZero) {
  FrameStrip empty;
  Sprite sprite;
  sprite.strip = &empty;
  for (int rate : {64, 200, -64}) {
    sprite.frameRate = rate;
    EXPECT_EQ(sprite.Advance(), 0) << "rate " << rate;
    EXPECT_EQ(sprite.frame, 0) << "rate " << rate;
  }
}

TEST_F(SpriteTest, PlaceInEmptyBoundsCentresTheFrameOnTheCorner) {
  RandomSeed(300);
  RandomNext(), RandomNext();  // two draws, x and y
  const uint32_t expectedNext = RandomNext();
  RandomSeed(300);
  Sprite sprite;
  sprite.frame = 4, sprite.frameRate = 7, sprite.frameAccumulator = 30;
  EXPECT_EQ(sprite.Setup(&small, 0, 0, 0, 0, 0, 0, 0, 0), 0) << "nothing should wrap";
  EXPECT_EQ(sprite.x, -40.0);
  EXPECT_EQ(sprite.y, -40.0);
  EXPECT_EQ(sprite.vx, 0.0);
  EXPECT_EQ(sprite.vy, 0.0);
  EXPECT_EQ(sprite.frame, 0);
  EXPECT_EQ(sprite.frameRate, 64);
  EXPECT_EQ(sprite.frameAccumulator, 0);
  EXPECT_EQ(PeekNext(), expectedNext) << "Place should draw exactly two values";
}

// Place draws x, then y, then the velocity; wrapping is switched off to see the raw placement.
TEST_F(SpriteTest, PlaceDrawsXThenYOverTheFreeSpanThenTheVelocity) {
  struct UnwrappedSprite : Sprite {
    int KeepInBounds() override { return 5; }
  };
  struct {
    bool withStrip;
    int nominalWidth, nominalHeight, speed, left, top, right, bottom;
    uint32_t spanX, spanY;
    int offsetX, offsetY;  // minus half the frame's excess over the nominal size, plus the corner
  } cases[] = {
      {false, 534, 194, 0, 0, 0, 800, 600, 266, 406, 0, 0},
      {true, 50, 20, 5, 100, 200, 400, 500, 250, 280, 100 - 15, 200 - 30},
      {true, 83, 85, 1, 0, 0, 300, 300, 217, 215, 1, 2},      // halves of -3, -5 truncate toward 0
      {false, 900, 10, 2, 0, 0, 800, 600, 65436, 590, 0, 0},  // a negative span, mod 65536
  };
  for (const auto& c : cases) {
    for (uint32_t seed = 0; seed < 200; seed += 7) {
      RandomSeed(seed);
      const int drawnX = static_cast<int>(Random(c.spanX));
      const int drawnY = static_cast<int>(Random(c.spanY));
      const int tenths = c.speed == 0 ? 0 : static_cast<int>(Random(10 * c.speed - 10)) + 1;
      if (c.speed != 0) Random(360);
      const uint32_t after = RandomNext();
      RandomSeed(seed);
      UnwrappedSprite sprite;
      EXPECT_EQ(sprite.Setup(c.withStrip ? &small : nullptr, c.nominalWidth, c.nominalHeight, -1,
                             c.speed, c.left, c.top, c.right, c.bottom),
                5)
          << "Setup should return what KeepInBounds returns";
      EXPECT_EQ(sprite.x, drawnX + c.offsetX) << "span " << c.spanX << ", seed " << seed;
      EXPECT_EQ(sprite.y, drawnY + c.offsetY) << "span " << c.spanY << ", seed " << seed;
      EXPECT_NEAR(std::hypot(sprite.vx, sprite.vy), tenths * 0.1, 1e-12) << "seed " << seed;
      EXPECT_EQ(RandomNext(), after) << "speed " << c.speed << ": wrong number of draws";
    }
  }
}

TEST_F(SpriteTest, SetupStoresItsArgumentsAndPlacesThroughTheVirtualPlace) {
  struct CountingSprite : Sprite {
    int Place() override { return ++places * 10; }
    int places = 0;
  } sprite;
  EXPECT_EQ(sprite.Setup(&small, 30, 40, 2, 5, 1, 2, 300, 400), 10);
  EXPECT_EQ(sprite.places, 1);
  EXPECT_EQ(sprite.strip, &small);
  EXPECT_EQ(sprite.nominalWidth, 30);
  EXPECT_EQ(sprite.nominalHeight, 40);
  EXPECT_EQ(sprite.moveMode, 2);
  EXPECT_EQ(sprite.speed, 5);
  EXPECT_EQ(sprite.bounds.left, 1);
  EXPECT_EQ(sprite.bounds.top, 2);
  EXPECT_EQ(sprite.bounds.right, 300);
  EXPECT_EQ(sprite.bounds.bottom, 400);
}

TEST(SpriteVelocity, LengthIsDrawnInTenthsUpToTheSpeed) {
  struct {
    int speed;
    int lengthSpan;  // Random over this, plus one, gives the length in tenths
  } cases[] = {{1, 0}, {2, 10}, {10, 90}, {16, 150}};
  for (const auto& c : cases) {
    for (uint32_t seed = 0; seed < 400; seed += 13) {
      RandomSeed(seed);
      const int tenths = static_cast<int>(Random(c.lengthSpan)) + 1;
      const int angle = static_cast<int>(Random(360));
      const uint32_t after = RandomNext();
      RandomSeed(seed);
      Sprite sprite;
      EXPECT_EQ(sprite.RandomVelocity(c.speed), angle) << "speed " << c.speed << ", seed " << seed;
      EXPECT_NEAR(std::hypot(sprite.vx, sprite.vy), tenths * 0.1, 1e-12) << "speed " << c.speed;
      const double degrees = std::atan2(sprite.vy, sprite.vx) / 0.017453292519943295;
      EXPECT_NEAR(std::fmod(degrees + 360.0, 360.0), angle, 1e-9) << "speed " << c.speed;
      EXPECT_EQ(RandomNext(), after) << "speed " << c.speed << " should draw exactly twice";
    }
  }
}

TEST(SpriteVelocity, SpeedZeroStandsStillAndDrawsNothing) {
  RandomSeed(9);
  const uint32_t next = PeekNext();
  Sprite sprite;
  sprite.vx = 3.0, sprite.vy = -1.0;
  EXPECT_EQ(sprite.RandomVelocity(0), 0);
  EXPECT_EQ(sprite.vx, 0.0);
  EXPECT_EQ(sprite.vy, 0.0);
  EXPECT_EQ(RandomNext(), next) << "RandomVelocity(0) consumed an output";
}

TEST_F(SpriteTest, KeepInBoundsWrapsLikeATorus) {
  struct {
    bool withStrip;  // 80 x 80 frames on a 40 x 40 nominal box: the edges move in by 20
    double x, y, expectedX, expectedY;
    int wrapped;
  } cases[] = {
      {false, 800.5, 10.0, 0.5, 10.0, 1},    {false, 800.0, 10.0, 800.0, 10.0, 0},
      {false, -0.5, 10.0, 799.5, 10.0, 1},   {false, 0.0, 0.0, 0.0, 0.0, 0},
      {false, 5.0, 600.5, 5.0, 0.5, 1},      {false, 5.0, -1.0, 5.0, 599.0, 1},
      {false, 900.0, -2.0, 100.0, 598.0, 1}, {true, 780.5, 10.0, -19.5, 10.0, 1},
      {true, 780.0, 10.0, 780.0, 10.0, 0},   {true, -20.5, 580.0, 779.5, 580.0, 1},
      {true, -20.0, 580.5, -20.0, -19.5, 1},
  };
  for (const auto& c : cases) {
    Sprite sprite;
    sprite.strip = c.withStrip ? &small : nullptr;
    sprite.nominalWidth = sprite.nominalHeight = 40;
    sprite.bounds = {0, 0, 800, 600};
    sprite.x = c.x, sprite.y = c.y;
    EXPECT_EQ(sprite.KeepInBounds(), c.wrapped) << "at (" << c.x << ", " << c.y << ")";
    EXPECT_EQ(sprite.x, c.expectedX) << "at (" << c.x << ", " << c.y << ")";
    EXPECT_EQ(sprite.y, c.expectedY) << "at (" << c.x << ", " << c.y << ")";
  }
}

TEST_F(SpriteTest, CurrentSizeIsTheFramesOrElseTheNominal) {
  Sprite sprite;
  sprite.nominalWidth = 12, sprite.nominalHeight = 34;
  EXPECT_EQ(sprite.CurrentWidth(), 12);
  EXPECT_EQ(sprite.CurrentHeight(), 34);
  sprite.strip = &small;
  EXPECT_EQ(sprite.CurrentWidth(), 80);
  EXPECT_EQ(sprite.CurrentHeight(), 80);
  sprite.frame = 99;  // out of range: no frame
  EXPECT_EQ(sprite.CurrentWidth(), 12);
  EXPECT_EQ(sprite.CurrentHeight(), 34);
}

}  // namespace
