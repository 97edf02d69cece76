// The frame clock's arithmetic: the period table, counting elapsed periods, timer wrap-around
// and the idle sleep lengths, on a state driven by hand-made timer readings.
#include "stage/frame_clock.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "stage/stage.h"

namespace {

using FrameClock::State;

State ClockResetAt(uint32_t now) {
  State state = {};
  FrameClock::ResetState(state, now);
  return state;
}

TEST(FrameClockTable, OnePassLastsExactlyOneSecondWithTenLongPeriods) {
  uint16_t table[FrameClock::kFramesPerSecond];
  FrameClock::BuildFrameTable(table);
  EXPECT_EQ(std::accumulate(table, table + 45, 0), 1000);
  std::vector<int> longPeriods;
  for (int i = 0; i < 45; ++i) {
    ASSERT_TRUE(table[i] == 22 || table[i] == 23) << "entry " << i << " is " << table[i];
    if (table[i] == 23) longPeriods.push_back(i);
  }
  EXPECT_EQ(longPeriods, (std::vector<int>{4, 8, 13, 17, 22, 26, 31, 35, 40, 44}));
}

TEST(FrameClockCount, CountsWholePeriodsAndKeepsTheRemainder) {
  struct {
    uint32_t start, now;
    unsigned frames;
    uint32_t accumulated;
    uint16_t index;
  } cases[] = {
      {1000, 1000, 0, 0, 0},       // no time
      {1000, 1021, 0, 21, 0},      // just short of the first period
      {1000, 1022, 1, 0, 1},       // exactly one period
      {1000, 1100, 4, 12, 4},      // 4 x 22 ms, then into the first 23 ms period
      {1000, 2000, 45, 0, 0},      // one whole pass
      {1000, 3000, 90, 0, 0},      // two passes
      {0xFFFFFFF0, 6, 1, 0, 1},    // the timer wraps: 22 ms really passed
      {0xFFFFFFFF, 20, 0, 21, 0},  // wraps, 21 ms: no frame yet
  };
  for (const auto& c : cases) {
    State state = ClockResetAt(c.start);
    EXPECT_EQ(FrameClock::CountElapsed(state, c.now), c.frames) << c.start << " -> " << c.now;
    EXPECT_EQ(state.pendingFrames, c.frames);
    EXPECT_EQ(state.accumulated, c.accumulated) << c.start << " -> " << c.now;
    EXPECT_EQ(state.frameIndex, c.index) << c.start << " -> " << c.now;
    EXPECT_EQ(state.lastTime, c.now);
  }
}

TEST(FrameClockCount, ThePeriodAtIndex44ContinuesAtIndex0) {
  State state = ClockResetAt(0);
  FrameClock::CountElapsed(state, 977);  // 44 periods: 1000 - 23
  ASSERT_EQ(state.frameIndex, 44);
  ASSERT_EQ(state.accumulated, 0u);
  EXPECT_EQ(FrameClock::CountElapsed(state, 999), 0u);
  EXPECT_EQ(FrameClock::CountElapsed(state, 1000), 1u);
  EXPECT_EQ(state.frameIndex, 0);
  EXPECT_EQ(state.pendingFrames, 45);
}

TEST(FrameClockCount, TicksAtEveryMillisecondStepOnceAtEachBoundary) {
  State state = ClockResetAt(5000);
  unsigned frames = 0;
  for (uint32_t t = 5001; t <= 7000; ++t) {
    const unsigned counted = FrameClock::CountElapsed(state, t);
    ASSERT_LE(counted, 1u) << "at " << t;
    frames += counted;
  }
  EXPECT_EQ(frames, 90u);
}

TEST(FrameClockIdle, SleepsUntilAboutOneMillisecondBeforeTheNextFrame) {
  struct {
    uint32_t accumulated;
    uint16_t index;
    bool idle, preview;
    int sleep;
  } cases[] = {
      {0, 0, true, false, 21},  // 22 ms period just begun
      {0, 4, true, false, 22},  // 23 ms period
      {20, 0, true, false, 1},
      {21, 0, true, false, 0},  // accumulated = length - 1: Sleep(0)
      {21, 0, true, true, 0},
      {0, 0, false, false, -1},  // a dispatched message in full screen: no sleep
      {0, 0, false, true, 0},    // in preview: Sleep(0)
  };
  for (const auto& c : cases) {
    State state = ClockResetAt(0);
    state.accumulated = c.accumulated;
    state.frameIndex = c.index;
    EXPECT_EQ(FrameClock::IdleSleepLength(state, c.idle, c.preview), c.sleep)
        << "accumulated " << c.accumulated << " index " << c.index << " idle " << c.idle;
  }
}

// The clock's own entry points do nothing before the opening capture and without a scene.
DWORD fakeNow = 0;
int sleeps = 0;
DWORD WINAPI FakeTime() {
  return fakeNow;
}
void WINAPI CountSleep(DWORD) {
  ++sleeps;
}

TEST(FrameClockEntryPoints, NeitherStepNorSleepWithoutAScene) {
  FrameClock::SetTimeSource(FakeTime);
  FrameClock::SetSleeper(CountSleep);
  ASSERT_FALSE(Stage::HasScene());
  fakeNow = 1000;
  FrameClock::Reset();
  fakeNow = 1100;
  FrameClock::Tick();
  FrameClock::IdleSleep(true);
  EXPECT_EQ(FrameClock::clock.pendingFrames, 0);
  EXPECT_EQ(sleeps, 0);
  FrameClock::SetTimeSource(timeGetTime);
  FrameClock::SetSleeper(Sleep);
}

}  // namespace
