// The opening dim's pixel scaling against a plain copy of the same full-screen image: the dim
// scales the whole capture once per frame step, so it should run near memory speed.
#include <algorithm>
#include <cstring>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/parts.h"
#include "bench/report.h"
#include "stage/stage_state.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRounds = 9;
constexpr int kPassesPerRound = 10;
constexpr double kTargetRatio = 0.5;

// Keeps the compiler from dropping work whose result is never read.
volatile uint32_t sink;

}  // namespace

int MeasureScaleSpeed() {
  PrintHeading("Stage::ScaleImage against memcpy, one 1920x1080x3 image");
  const size_t words = Stage::ImageWords(kWidth, kHeight);
  const double bytes = double(words) * 4;
  std::vector<uint32_t> source(words), destination(words);
  uint32_t seed = 12345;
  for (uint32_t& word : source) {
    seed = seed * 1664525u + 1013904223u;
    word = seed;
  }
  Stage::ScaleImage(destination.data(), source.data(), words, 16);
  std::memcpy(destination.data(), source.data(), words * 4);

  // Alternate the two in rounds, so that both see the same load; on a busy machine the
  // quickest round of each is the least disturbed.
  std::vector<double> scaleMs, copyMs;
  for (int round = 0; round < kRounds; ++round) {
    double start = WallMs();
    for (int pass = 0; pass < kPassesPerRound; ++pass) {
      Stage::ScaleImage(destination.data(), source.data(), words, 1 + (round + pass) % 31);
    }
    scaleMs.push_back((WallMs() - start) / kPassesPerRound);
    sink = destination[words / 2];
    start = WallMs();
    for (int pass = 0; pass < kPassesPerRound; ++pass) {
      source[pass] ^= 1u;  // a different buffer content each pass, so no copy can be skipped
      std::memcpy(destination.data(), source.data(), words * 4);
    }
    copyMs.push_back((WallMs() - start) / kPassesPerRound);
    sink = destination[words / 2];
  }
  const double scale = *std::min_element(scaleMs.begin(), scaleMs.end());
  const double copy = *std::min_element(copyMs.begin(), copyMs.end());
  const double ratio = copy / scale;
  PrintFigure("ScaleImage speed as a share of memcpy", Format("%.2f x memcpy", ratio), ">= 0.5 x",
              Judge(ratio >= kTargetRatio));
  PrintFigure("  ScaleImage, one image", Format("%.2f ms (%.2f GB/s)", scale, bytes / scale / 1e6));
  PrintFigure("  memcpy, one image", Format("%.2f ms (%.2f GB/s)", copy, bytes / copy / 1e6));
  PrintNote(Format("%.0f bytes per image; quickest of %d rounds of %d passes each", bytes, kRounds,
                   kPassesPerRound));
  return 0;
}
