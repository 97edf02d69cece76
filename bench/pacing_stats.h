// The arithmetic of the frame-pacing figures, kept apart from any window so that it can be
// checked on its own: which 45 Hz period a paint served, and what a run of paints adds up to.
#pragma once
#include <cstdint>
#include <vector>

// One paint of the saver window, as seen from outside the window procedure.
struct PaintRecord {
  double atMs;        // wall time at which the paint message arrived
  double latenessMs;  // how long after the start of its frame period it arrived
  uint64_t period;    // number of the frame period it served, counted from the clock's reset
};

// The number of the frame period that begins msSinceReset after the frame clock's reset:
// period k begins floor(1000k/45) ms after it, as the clock's table of lengths adds up.
uint64_t PeriodNumber(uint64_t msSinceReset);

// Nearest-rank percentile (0 < p <= 100) of values; 0 for no values.
double Percentile(std::vector<double> values, double p);

struct PacingSummary {
  std::vector<unsigned> periodsPerSecond;  // frame periods counted in each second of the window
  std::vector<unsigned> paintsPerSecond;   // paints in each second of the window
  double periodsRate = 0, paintsRate = 0;  // per second, from the window's first paint to its last
  double latenessMedian = 0, latenessP99 = 0, latenessWorst = 0;
  unsigned mergedPaints = 0;  // paints that stood for more than one new period
  unsigned strayPaints = 0;   // paints that stood for no new period (not from a frame step)
};

// Summarises the paints of seconds whole seconds starting at windowStartMs. Paints before the
// window only give the period the first paint in the window follows on from.
PacingSummary SummarisePacing(const std::vector<PaintRecord>& paints, double windowStartMs,
                              int seconds);
