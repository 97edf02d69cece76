// The opening dim and the clock on the screen, on the real executable over the stand-in
// desktop: the levels the dim passes through, the exact dimmed background, the digits against
// the local time, and the block's motion.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "e2e/driver.h"
#include "e2e/e2e_support.h"
#include "clock_block.h"

namespace {

// Two pixels of the light band (235, 235, 235), at opposite sides so that the block, once it
// shows, can cover at most one of them. Every level dims that grey to a different value.
constexpr POINT kLevelProbes[2] = {{3, 120}, {1020, 120}};
constexpr double kShortestFrameMs = 22.0;

struct LevelSample {
  DWORD before, after;  // timeGetTime around the read
  int level;
};

// Reads the probes until one shows the target level or below (a reader that slept through a
// step of a dim that goes on past the target never sees it); the levels of the pixels on the way.
std::vector<LevelSample> SampleDim(int target, DWORD timeoutMs) {
  std::vector<LevelSample> samples;
  const DWORD start = timeGetTime();
  while (timeGetTime() - start < timeoutMs) {
    for (const POINT& p : kLevelProbes) {
      LevelSample s;
      s.before = timeGetTime();
      s.level = DimLevelOf(ScreenPixel(p.x, p.y), WallpaperPixel(p.x, p.y));
      s.after = timeGetTime();
      samples.push_back(s);
      if (s.level <= target) return samples;
    }
  }
  return samples;
}

// Pixels outside the block's rectangle that are not the wallpaper at the given level.
int BackgroundMismatches(const ScreenImage& screen, RECT block, int level, std::string* first) {
  int mismatches = 0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      const POINT p = {x, y};
      if (PtInRect(&block, p)) continue;
      const COLORREF expected = ScaledColour(WallpaperPixel(x, y), level);
      const COLORREF seen = screen.At(x, y);
      if (seen == expected) continue;
      if (mismatches++ == 0) {
        char text[96];
        std::snprintf(text, sizeof(text), "(%d,%d) is %06lX, expected %06lX", x, y, seen, expected);
        *first = text;
      }
    }
  }
  return mismatches;
}

RECT BlockRect(const ClockReading& clock) {
  return {clock.blockX, clock.blockY, clock.blockX + block::kWidth, clock.blockY + block::kHeight};
}

TEST(Opening, DimsTheDesktopOneLevelPerFrameToExactlyTheChosenBrightness) {
  TimerResolution resolution;
  for (int brightness : {0, 4, 8}) {
    SCOPED_TRACE("Brightness " + std::to_string(brightness));
    const int target = 4 * brightness;
    BrightnessSetting setting(brightness);
    StandInDesktop desktop;
    ASSERT_TRUE(desktop.Show()) << "the stand-in desktop did not show its wallpaper";
    SaverProcess saver;
    ASSERT_TRUE(saver.Start("/s"));

    // The levels seen on the way down: every one from 32 to the target in turn, never up,
    // never below the target, and never more levels in a stretch of time than frames fit in.
    const std::vector<LevelSample> samples = SampleDim(target, 30000);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.back().level, target) << "the dim never reached level " << target;
    std::string levels;
    int distinct = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
      ASSERT_GE(samples[i].level, target) << "sample " << i << " matches no level above the target";
      if (i == 0 || samples[i].level != samples[i - 1].level) {
        levels += std::to_string(samples[i].level) + " ";
        ++distinct;
      }
      if (i > 0) {
        EXPECT_LE(samples[i].level, samples[i - 1].level) << "the level went up: " << levels;
        // A level may go unseen only while the reading paused for over half a frame.
        const int skipped = samples[i - 1].level - samples[i].level - 1;
        EXPECT_LE(skipped * kShortestFrameMs / 2, samples[i].after - samples[i - 1].before)
            << "level " << samples[i - 1].level - 1 << " was never shown: " << levels;
      }
    }
    EXPECT_EQ(samples.front().level, 32) << "the dim starts from the undimmed desktop";
    size_t firstDim = 0;
    while (firstDim < samples.size() && samples[firstDim].level == 32) ++firstDim;
    for (size_t i = firstDim; i < samples.size(); ++i) {
      for (size_t j = i + 1; j < samples.size(); ++j) {
        const int drop = samples[i].level - samples[j].level;
        const double frames = (samples[j].after - samples[i].before) / kShortestFrameMs + 2;
        ASSERT_LE(drop, frames) << "fell " << drop << " levels in "
                                << samples[j].after - samples[i].before << " ms: " << levels;
      }
    }
    if (firstDim > 0 && firstDim < samples.size()) {
      const DWORD ms = samples.back().after - samples[firstDim - 1].before;
      std::printf(
          "[ figures ] Brightness %d: %zu samples, %d levels seen (%s), 32 to %d in %lu ms\n",
          brightness, samples.size(), distinct, levels.c_str(), target, ms);
    }

    // The whole background, once the clock shows, is the wallpaper at the target level.
    ScreenImage screen;
    const ClockReading same = WaitForClock(20000, &screen);
    ASSERT_TRUE(same.found) << "no clock after the dim";
    std::string first;
    EXPECT_EQ(BackgroundMismatches(screen, BlockRect(same), target, &first), 0)
        << "background pixels differ from the wallpaper at " << target << "/32, first " << first;
    if (brightness == 4) SaveBmp(screen, ShotsFolder() + "\\dimmed_clock.bmp");

    // Single pixels read one by one, on a grid, a row at a time: each row is compared away
    // from everywhere the block can have been since it was last seen, which a bounce at an
    // edge would take outside the rectangles seen before and after.
    int gridMismatches = 0, gridCompared = 0;
    for (int y = 4; y < screen.height; y += 24) {
      const DWORD seenAt = timeGetTime();
      const ClockReading now = WaitForClock(3000);
      ASSERT_TRUE(now.found);
      std::vector<std::pair<int, COLORREF>> row;
      for (int x = 4; x < screen.width; x += 24) row.push_back({x, ScreenPixel(x, y)});
      const double frames = (timeGetTime() - seenAt) / kShortestFrameMs + 2;
      RECT avoid = BlockRect(now);
      InflateRect(&avoid, static_cast<int>(block::kStep * frames) + 2,
                  static_cast<int>(block::kStep * frames) + 2);
      for (const auto& [x, seen] : row) {
        if (PtInRect(&avoid, POINT{x, y})) continue;
        ++gridCompared;
        const COLORREF expected = ScaledColour(WallpaperPixel(x, y), target);
        if (seen != expected && ++gridMismatches <= 5) {
          ADD_FAILURE() << "grid pixel (" << x << "," << y << ") is " << std::hex << seen
                        << ", expected " << expected;
        }
      }
    }
    EXPECT_EQ(gridMismatches, 0);
    EXPECT_GT(gridCompared, 500);
    EXPECT_EQ(EndWithKey(saver), 0u) << "a key did not end the saver with exit value 0";
  }
}

TEST(Opening, EachPictureOfTheDimIsTheWholeDesktopAtOneLevel) {
  TimerResolution resolution;
  BrightnessSetting setting(0);
  StandInDesktop desktop;
  ASSERT_TRUE(desktop.Show());
  SaverProcess saver;
  ASSERT_TRUE(saver.Start("/s"));
  // Halfway down the 33 levels of Brightness 0.
  const std::vector<LevelSample> samples = SampleDim(16, 30000);
  ASSERT_LE(samples.back().level, 16);
  const ScreenImage screen = CaptureScreenImage();
  EXPECT_TRUE(SaveBmp(screen, ShotsFolder() + "\\dim_halfway.bmp"));
  // Every pixel of one picture of the screen is the wallpaper at one and the same level.
  const COLORREF probe = screen.At(kLevelProbes[0].x, kLevelProbes[0].y);
  const int level = DimLevelOf(probe, WallpaperPixel(kLevelProbes[0].x, kLevelProbes[0].y));
  ASSERT_GE(level, 0);
  ASSERT_LE(level, 16);
  // Should the dim have ended meanwhile, the clock is left out.
  const ClockReading clock = ReadClock(screen, SaverClockPictures());
  const RECT block = clock.found ? BlockRect(clock) : RECT{0, 0, 0, 0};
  std::string first;
  EXPECT_EQ(BackgroundMismatches(screen, block, level, &first), 0)
      << "the dim picture is not the wallpaper at level " << level << " everywhere, first "
      << first;
  EXPECT_EQ(EndWithKey(saver), 0u) << "a key did not end the saver with exit value 0";
}

}  // namespace
