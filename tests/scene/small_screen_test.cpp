// The clock block on areas smaller than itself. Along an axis with no room the block must stand
// at the nearEdge edge (never be placed farEdge off the screen); along an axis with room it roams
// and bounces as on any screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "clock_block.h"
#include "graphics/random_source.h"
#include "scene/clock_scene.h"

namespace {

// Where the block's left (or top) edges may lie along one axis: at the near edge alone when the
// block does not fit, otherwise over the free span with the reflection's overshoot of 2 pixels.
void ExpectAxis(const std::vector<double>& edges, int nearEdge, int farEdge, int blockSize,
                const char* axis, const RECT& area, uint32_t seed) {
  const auto [lowest, highest] = std::minmax_element(edges.begin(), edges.end());
  const double low = *lowest, high = *highest;
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
      std::vector<double> xs, ys;
      // Long enough for at least two new directions (one every 3001 to 4000 steps).
      for (int step = 0; step < 9000; ++step) {
        scene.Advance(1);
        xs.push_back(scene.anchor->x);
        ys.push_back(scene.anchor->y);
      }
      ExpectAxis(xs, area.left, area.right, block::kWidth, "x", area, seed);
      ExpectAxis(ys, area.top, area.bottom, block::kHeight, "y", area, seed);
    }
  }
}

}  // namespace
