// The benchmark's pacing arithmetic: which frame period a paint served, and what a run of
// paints adds up to. A mistake here would make the pacing figures lie.
#include "bench/pacing_stats.h"

#include <gtest/gtest.h>

namespace {

TEST(PeriodNumber, CountsThePeriodsOfTheFrameTable) {
  // Period k of the 45 Hz clock begins floor(1000k/45) ms after its reset.
  const struct {
    uint64_t ms, period;
  } cases[] = {{0, 0},    {22, 1},    {44, 2},    {66, 3},    {88, 4},          {111, 5},
               {977, 44}, {1000, 45}, {1022, 46}, {2000, 90}, {3600000, 162000}};
  for (const auto& c : cases) EXPECT_EQ(PeriodNumber(c.ms), c.period) << "at " << c.ms << " ms";
  for (uint64_t k = 0; k < 450; ++k) {
    EXPECT_EQ(PeriodNumber(1000 * k / 45), k) << "start of period " << k;
  }
}

TEST(Percentile, TakesTheNearestRank) {
  const std::vector<double> hundred = [] {
    std::vector<double> v;
    for (int i = 100; i >= 1; --i) v.push_back(i);
    return v;
  }();
  const struct {
    std::vector<double> values;
    double p, expected;
  } cases[] = {{{}, 50, 0},       {{7}, 99, 7},        {{3, 1, 2}, 50, 2}, {{1, 2, 3, 4}, 50, 2},
               {hundred, 99, 99}, {hundred, 100, 100}, {hundred, 1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(Percentile(c.values, c.p), c.expected)
        << c.values.size() << " values, percentile " << c.p;
  }
}

// Paints in time with the clock: paint k served period k and came lateness ms after it began.
std::vector<PaintRecord> SteadyPaints(uint64_t firstPeriod, uint64_t count, double lateness) {
  std::vector<PaintRecord> paints;
  for (uint64_t k = firstPeriod; k < firstPeriod + count; ++k) {
    paints.push_back({double(1000 * k / 45) + lateness, lateness, k});
  }
  return paints;
}

TEST(SummarisePacing, SteadyPaintsGiveFortyFivePerSecond) {
  const PacingSummary s = SummarisePacing(SteadyPaints(1, 45 * 12, 0.25), 1000.0, 10);
  EXPECT_NEAR(s.periodsRate, 45.0, 0.01);
  EXPECT_NEAR(s.paintsRate, 45.0, 0.01);
  for (int second = 0; second < 10; ++second) {
    EXPECT_EQ(s.periodsPerSecond[second], 45u) << "second " << second;
    EXPECT_EQ(s.paintsPerSecond[second], 45u) << "second " << second;
  }
  EXPECT_EQ(s.mergedPaints, 0u);
  EXPECT_EQ(s.strayPaints, 0u);
  EXPECT_DOUBLE_EQ(s.latenessMedian, 0.25);
  EXPECT_DOUBLE_EQ(s.latenessWorst, 0.25);
}

TEST(SummarisePacing, ASlowFrameMergesPeriodsAndIsCountedOnce) {
  std::vector<PaintRecord> paints = SteadyPaints(1, 45 * 12, 0.5);
  // The paint of period 100 comes so late that period 101 has begun: one paint serves both.
  paints[99] = {double(1000 * 101 / 45) + 3, 25.0, 101};
  paints.erase(paints.begin() + 100);
  const PacingSummary s = SummarisePacing(paints, 1000.0, 10);
  EXPECT_EQ(s.mergedPaints, 1u);
  EXPECT_NEAR(s.periodsRate, 45.0, 0.01) << "merged periods are still counted";
  EXPECT_LT(s.paintsRate, 45.0);
  EXPECT_DOUBLE_EQ(s.latenessWorst, 25.0);
  EXPECT_DOUBLE_EQ(s.latenessMedian, 0.5);
}

TEST(SummarisePacing, APaintWithoutANewPeriodIsStrayAndHasNoLateness) {
  std::vector<PaintRecord> paints = SteadyPaints(1, 45 * 12, 0.5);
  // An exposure repaints between two frame steps: still period 200, 9 ms into it.
  paints.insert(paints.begin() + 200, {double(1000 * 200 / 45) + 9, 9.0, 200});
  const PacingSummary s = SummarisePacing(paints, 1000.0, 10);
  EXPECT_EQ(s.strayPaints, 1u);
  EXPECT_EQ(s.mergedPaints, 0u);
  EXPECT_DOUBLE_EQ(s.latenessWorst, 0.5);
}

TEST(SummarisePacing, OnlyPaintsInsideTheWindowCount) {
  const PacingSummary s = SummarisePacing(SteadyPaints(1, 45 * 30, 0.5), 2000.0, 3);
  unsigned paints = 0;
  for (unsigned count : s.paintsPerSecond) paints += count;
  EXPECT_EQ(s.paintsPerSecond.size(), 3u);
  EXPECT_EQ(paints, 135u);
}

}  // namespace
