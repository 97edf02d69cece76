// The full-screen saver's place on desks of one or more monitors, from the metrics the system
// reports for them: its window covers the rectangle around every monitor, the block's bounds are
// the primary monitor in the window's client coordinates.
#include "host/screen_layout.h"

#include <gtest/gtest.h>

// Found by the test framework beside the type.
inline void PrintTo(const ScreenLayout& l, std::ostream* out) {
  const RECT &w = l.window, &b = l.block;
  *out << "window (" << w.left << "," << w.top << ")-(" << w.right << "," << w.bottom
       << "), block (" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

namespace {

TEST(ScreenLayout, CoversEveryMonitorAndKeepsTheBlockOnThePrimary) {
  const struct {
    const char* desk;
    ScreenMetrics metrics;
    ScreenLayout layout;
  } cases[] = {
      {"one monitor", {{0, 0, 1920, 1080}, {1920, 1080}}, {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}},
      {"a second one right of the primary",
       {{0, 0, 3840, 1080}, {1920, 1080}},
       {{0, 0, 3840, 1080}, {0, 0, 1920, 1080}}},
      {"a taller one left of it",
       {{-1280, 0, 1280, 1000}, {1280, 720}},
       {{-1280, 0, 1280, 1000}, {1280, 0, 2560, 720}}},
      {"one above it",
       {{0, -1080, 1920, 1080}, {1920, 1080}},
       {{0, -1080, 1920, 1080}, {0, 1080, 1920, 2160}}},
      {"three of other sizes around it",
       {{-2560, -400, 3584, 1440}, {1024, 768}},
       {{-2560, -400, 3584, 1440}, {2560, 400, 3584, 1168}}},
      {"a primary smaller than the block",
       {{0, 0, 2240, 1080}, {320, 200}},
       {{0, 0, 2240, 1080}, {0, 0, 320, 200}}},
      {"no virtual screen known", {{0, 0, 0, 0}, {640, 480}}, {{0, 0, 640, 480}, {0, 0, 640, 480}}},
      {"a primary reported larger than the whole",
       {{0, 0, 800, 600}, {1024, 768}},
       {{0, 0, 800, 600}, {0, 0, 800, 600}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FullScreenLayout(c.metrics), c.layout) << c.desk;
    // The windowed saver, and full screen where the virtual screen is too large: the primary.
    const RECT primary = {0, 0, c.metrics.primary.cx, c.metrics.primary.cy};
    EXPECT_EQ(PrimaryLayout(c.metrics), (ScreenLayout{primary, primary})) << c.desk;
  }
}

}  // namespace
