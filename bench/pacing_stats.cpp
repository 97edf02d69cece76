// Frame-pacing arithmetic for the benchmark.
#include "bench/pacing_stats.h"

#include <algorithm>
#include <cmath>

uint64_t PeriodNumber(uint64_t msSinceReset) {
  // floor(1000k/45) = d holds for exactly one k, the smallest with 1000k >= 45d.
  return (msSinceReset * 45 + 999) / 1000;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t rank = size_t(std::ceil(p / 100.0 * double(values.size())));
  rank = std::clamp<size_t>(rank, 1, values.size());
  return values[rank - 1];
}

PacingSummary SummarisePacing(const std::vector<PaintRecord>& paints, double windowStartMs,
                              int seconds) {
  PacingSummary summary;
  summary.periodsPerSecond.assign(size_t(seconds), 0);
  summary.paintsPerSecond.assign(size_t(seconds), 0);
  const double windowEndMs = windowStartMs + 1000.0 * seconds;
  std::vector<double> lateness;
  bool havePrevious = false;
  uint64_t previousPeriod = 0;
  unsigned count = 0;
  const PaintRecord* first = nullptr;
  const PaintRecord* last = nullptr;
  for (const PaintRecord& paint : paints) {
    if (paint.atMs >= windowEndMs) break;
    const uint64_t fresh =
        havePrevious && paint.period > previousPeriod ? paint.period - previousPeriod : 0;
    const bool firstEver = !havePrevious;
    havePrevious = true;
    previousPeriod = std::max(previousPeriod, paint.period);
    if (paint.atMs < windowStartMs || firstEver) continue;
    const size_t second = size_t((paint.atMs - windowStartMs) / 1000.0);
    ++summary.paintsPerSecond[second];
    summary.periodsPerSecond[second] += unsigned(fresh);
    ++count;
    if (first == nullptr) first = &paint;
    last = &paint;
    if (fresh == 0) {
      ++summary.strayPaints;
      continue;
    }
    if (fresh > 1) ++summary.mergedPaints;
    lateness.push_back(paint.latenessMs);
  }
  // Rates over the span from the first paint in the window to the last, so that where the
  // window's edges fall between two paints does not matter.
  if (first != last) {
    const double spanSeconds = (last->atMs - first->atMs) / 1000.0;
    summary.periodsRate = double(last->period - first->period) / spanSeconds;
    summary.paintsRate = double(count - 1) / spanSeconds;
  }
  summary.latenessMedian = Percentile(lateness, 50);
  summary.latenessP99 = Percentile(lateness, 99);
  summary.latenessWorst =
      lateness.empty() ? 0 : *std::max_element(lateness.begin(), lateness.end());
  return summary;
}
