// The clock block on areas smaller than itself. Along an axis with no room the block must stand
// at the nearEdge edge (never be placed farEdge off the screen); along an axis with room it roams
// and bounces as on any screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "clock_block.h"
#include "graphics/random_source.h"
#include "scene/clock_scene.h"

namespace {

struct Travel {
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  void Add(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// The range the block's left (or top) edge may take along one axis: the near edge alone when the
// block does not fit, otherwise the whole free span with the reflection's overshoot of 2 pixels.
void ExpectAxis(double low, double high, int nearEdge, int farEdge, int blockSize, const char* axis,
                const RECT& area, uint32_t seed) {
  const int room = farEdge - nearEdge - blockSize;
  if (room <= 0) {
    EXPECT_EQ(low, nearEdge) << axis << " on " << area.right - area.left << "x"
                             << area.bottom - area.top << ", seed " << seed;
    EXPECT_EQ(high, nearEdge) << axis << ", seed " << seed;
    return;
  }
  EXPECT_GE(low, nearEdge - 2.0) << axis << ", seed " << seed;
  EXPECT_LE(high, nearEdge + room + 2.0) << axis << ", seed " << seed;
  if (room > 200) {
    EXPECT_GT(high - low, 100.0) << axis << " should roam, seed " << seed;
  }
}

TEST(ClockSceneSmallScreen, BlockStaysReachableOnAreasSmallerThanItself) {
  const RECT areas[] = {
      {0, 0, 320, 200},     // narrower than the block, just high enough
      {0, 0, 200, 100},     // smaller both ways
      {0, 0, 1024, 150},    // wide but too low
      {0, 0, 534, 194},     // exactly the block: no room either way
      {100, 50, 420, 250},  // a narrow area away from the origin
      {0, 0, 640, 480},     // the preview's size: roams both ways
  };
  const uint32_t seeds[] = {0, 1, 0x1234, 0xBEEF, 0xFFFFFFFF};
  for (const RECT& area : areas) {
    for (uint32_t seed : seeds) {
      RandomReset();
      RandomSeed(seed);
      ClockScene scene;
      ASSERT_EQ(scene.Setup(area, 0), 1);
      scene.Start();
      Travel travel;
      // Long enough for at least two new directions (one every 3001 to 4000 steps).
      for (int step = 0; step < 9000; ++step) {
        scene.Advance(1);
        travel.Add(scene.anchor->x, scene.anchor->y);
      }
      ExpectAxis(travel.minX, travel.maxX, area.left, area.right, block::kWidth, "x", area, seed);
      ExpectAxis(travel.minY, travel.maxY, area.top, area.bottom, block::kHeight, "y", area, seed);
    }
  }
}

}  // namespace
