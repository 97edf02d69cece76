// Lumora's benchmark: speed and pacing figures for the saver at the display's resolution,
// printed beside the targets they are held against. Not a test: its figures depend on the
// machine and its load. scripts/bench runs every part on a private 1920x1080 display.
//   lumora_bench frame | scale | pacing [seconds] | process SAVER_PATH [seconds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/parts.h"
#include "bench/report.h"
#include "host/host_state.h"

namespace {

int Seconds(int argc, char** argv, int index) {
  const int seconds = argc > index ? std::atoi(argv[index]) : 10;
  return seconds > 0 ? seconds : 10;
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures are in this program's own resources, as they are in the saver's.
  moduleInstance = GetModuleHandleA(nullptr);
  const char* part = argc > 1 ? argv[1] : "";
  if (std::strcmp(part, "frame") == 0) return MeasureFrameCost();
  if (std::strcmp(part, "scale") == 0) return MeasureScaleSpeed();
  if (std::strcmp(part, "pacing") == 0) return MeasureFramePacing(Seconds(argc, argv, 2));
  if (std::strcmp(part, "process") == 0 && argc > 2) {
    return MeasureSaverProcess(argv[2], Seconds(argc, argv, 3));
  }
  std::fprintf(stderr,
               "usage: lumora_bench frame | scale | pacing [seconds] | process SAVER [seconds]\n");
  return 2;
}
