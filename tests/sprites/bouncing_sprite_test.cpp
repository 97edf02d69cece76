// The bouncing sprite: straight motion, reflection off the bounds without correcting the
// position, a fixed speed, and restores that only ever touch the rectangle it recorded.
#include "sprites/bouncing_sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Each case gives the box a velocity as a turn might leave it; only a component pointing out
// through an edge the box touches or has crossed is reversed.
TEST(BouncingSprite, ReflectsOnlyWhatPointsOutThroughAnEdge) {
  struct {
    int nominalWidth, nominalHeight;
    RECT bounds;
    double x, y, vx, vy;
    bool turnX, turnY;
  } cases[] = {
      {534, 194, {0, 0, 800, 600}, -0.6, 10.0, -1.6, 0.8, true, false},
      {534, 194, {0, 0, 800, 600}, -0.6, 10.0, 1.6, 0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 0.0, 0.0, -1.6, -0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 265.9, 405.9, 1.6, 0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 266.0, 10.0, 1.6, 0.8, true, false},
      {534, 194, {0, 0, 800, 600}, 266.0, 10.0, -1.6, 0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 267.5, 10.0, -1.6, 0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 10.0, -0.1, -1.6, -0.8, false, true},
      {534, 194, {0, 0, 800, 600}, 10.0, -1.5, -1.6, 0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 10.0, 406.0, -1.6, 0.8, false, true},
      {534, 194, {0, 0, 800, 600}, 10.0, 406.0, -1.6, -0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 10.0, 407.2, -1.6, -0.8, false, false},
      {534, 194, {0, 0, 800, 600}, 300.0, -5.0, 1.6, -0.8, true, true},
      {534, 194, {0, 0, 800, 600}, 300.0, -5.0, -1.6, 0.8, false, false},
      {534, 194, {100, 50, 900, 650}, 50.0, 10.0, -1.6, -0.8, true, true},
      {534, 194, {100, 50, 900, 650}, 50.0, 10.0, 1.6, 0.8, false, false},
      {534, 194, {100, 50, 900, 650}, 100.0, 50.0, -1.6, -0.8, false, false},
      {534, 194, {100, 50, 900, 650}, 99.9, 49.5, -1.6, -0.8, true, true},
      {534, 194, {100, 50, 900, 650}, 366.0, 456.0, 1.6, 0.8, true, true},
      {534, 194, {100, 50, 900, 650}, 366.0, 456.0, -1.6, -0.8, false, false},
      // Larger than its bounds: the mirrored centre keeps the far edge from turning it back,
      // unless even the mirrored box reaches the far edge; then the two reversals cancel.
      {120, 120, {0, 0, 100, 100}, -10.0, -10.0, -1.6, -0.8, true, true},
      {120, 120, {0, 0, 100, 100}, -100.0, -100.0, -1.6, -0.8, false, false},
      {120, 120, {0, 0, 100, 100}, -100.0, -100.0, 1.6, 0.8, false, false},
      // Odd sizes: both halves of 535 and 195 are the integer 267 and 97.
      {535, 195, {0, 0, 800, 600}, 265.6, 405.6, 1.6, 0.8, false, false},
      {535, 195, {0, 0, 800, 600}, 266.0, 406.0, 1.6, 0.8, true, true},
  };
  for (const auto& c : cases) {
    BouncingSprite box;
    box.nominalWidth = c.nominalWidth, box.nominalHeight = c.nominalHeight;
    box.bounds = c.bounds;
    box.x = c.x, box.y = c.y, box.vx = c.vx, box.vy = c.vy;
    EXPECT_EQ(box.KeepInBounds(), 0);
    EXPECT_EQ(box.vx, c.turnX ? -c.vx : c.vx)
        << "x " << c.x << " moving " << c.vx << " in " << c.bounds.left << ".." << c.bounds.right
        << ", width " << c.nominalWidth;
    EXPECT_EQ(box.vy, c.turnY ? -c.vy : c.vy)
        << "y " << c.y << " moving " << c.vy << " in " << c.bounds.top << ".." << c.bounds.bottom
        << ", height " << c.nominalHeight;
    EXPECT_EQ(box.x, c.x) << "the position must not be corrected";
    EXPECT_EQ(box.y, c.y) << "the position must not be corrected";
  }
}

// The clock scene's motion, many nights long: a new direction every 3001 to 4000 frames, as
// the scene turns it. At an edge the box may step further out twice, when it crosses and when
// a turn right after the reflection points it out again; a box stuck there steps out every
// other frame until the next turn.
TEST(BouncingSprite, NeverLingersAtAnEdge) {
  const RECT screens[] = {{0, 0, 640, 480},  {0, 0, 800, 600},   {0, 0, 1024, 768},
                          {0, 0, 1366, 768}, {0, 0, 1920, 1080}, {100, 50, 900, 650}};
  struct Axis {
    int outwardSteps = 0;  // within the current stretch at or beyond an edge of this axis
    void Track(bool beyondNear, bool onOrBeyondFar, double moved) {
      if (!beyondNear && !onOrBeyondFar) outwardSteps = 0;
      if ((beyondNear && moved < 0) || (onOrBeyondFar && moved > 0)) ++outwardSteps;
    }
  };
  for (const RECT& screen : screens) {
    for (uint32_t seed = 0; seed < 100; ++seed) {
      RandomReset();
      RandomSeed(seed * 7919);
      BouncingSprite box;
      box.Setup(nullptr, 534, 194, 0, 16, screen.left, screen.top, screen.right, screen.bottom);
      Axis across, down;
      int countdown = 3000 + int(Random(1000));
      for (int frame = 0; frame < 40000; ++frame) {
        if (countdown-- == 0) {
          box.RandomVelocity(16);
          countdown = 3000 + int(Random(1000));
        }
        const double oldX = box.x, oldY = box.y;
        box.Advance();
        box.KeepInBounds();
        across.Track(box.x < screen.left, box.x + 534 >= screen.right, box.x - oldX);
        down.Track(box.y < screen.top, box.y + 194 >= screen.bottom, box.y - oldY);
        ASSERT_LE(std::max(across.outwardSteps, down.outwardSteps), 2)
            << "stuck at an edge of " << screen.right - screen.left << " x "
            << screen.bottom - screen.top << " at frame " << frame << ", seed " << seed << ": x "
            << box.x << ", y " << box.y;
      }
    }
  }
}

// The edges are those of the nominal box centred on the current frame.
TEST(BouncingSprite, MeasuresFromTheCentreOfTheCurrentFrame) {
  moduleInstance = GetModuleHandle(nullptr);
  FrameStrip strip;
  strip.CreateNumbered(10, 7000);  // 80 x 80 around a 40 x 40 box: the box starts 20 in
  struct {
    double x, vx;  // moving out through the edge it is nearest
    bool turn;
  } cases[] = {{-20.5, -2.0, true}, {-20.0, -2.0, false}, {740.0, 2.0, true}, {739.5, 2.0, false}};
  for (const auto& c : cases) {
    BouncingSprite box;
    box.strip = &strip;
    box.nominalWidth = box.nominalHeight = 40;
    box.bounds = {0, 0, 800, 600};
    box.x = c.x, box.y = 100.0, box.vx = c.vx;
    box.KeepInBounds();
    EXPECT_EQ(box.vx, c.turn ? -c.vx : c.vx) << "x " << c.x;
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
