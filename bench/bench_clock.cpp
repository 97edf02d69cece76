// The benchmark's clocks.
#include "bench/bench_clock.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

double FileTimeMs(const FILETIME& time) {
  const uint64_t units = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return double(units) / 10000.0;
}

double CounterMs(const LARGE_INTEGER& counter) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart);
  }();
  return double(counter.QuadPart) * 1000.0 / frequency;
}

}  // namespace

double WallMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return CounterMs(now);
}

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

uint64_t ThreadCycles() {
  ULONG64 cycles = 0;
  if (!QueryThreadCycleTime(GetCurrentThread(), &cycles)) return 0;
  return cycles;
}

double ProcessCpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

double ThreadCpuGrainMs() {
  // The first change may be a partial step; the second is a whole one.
  const double deadline = WallMs() + 1000;
  double last = ThreadCpuMs();
  int changes = 0;
  double step = 0;
  while (changes < 2 && WallMs() < deadline) {
    const double now = ThreadCpuMs();
    if (now != last) {
      step = now - last;
      last = now;
      ++changes;
    }
  }
  return changes == 2 ? step : 0;
}

double TimeGetTimeOffsetMs() {
  // Catch the moment timeGetTime moves on: the counter read right after the new value is at
  // most one loop pass past the change, so the largest of a few estimates is the closest.
  double best = -1e300;
  for (int i = 0; i < 5; ++i) {
    const DWORD start = timeGetTime();
    DWORD reading;
    double wall;
    do {
      reading = timeGetTime();
      wall = WallMs();
    } while (reading == start);
    best = std::max(best, double(reading) - wall);
  }
  return best;
}

CostMeter::CostMeter()
    : cpuStart_(ThreadCpuMs()), wallStart_(WallMs()), cyclesStart_(ThreadCycles()) {}

void CostMeter::Stop() {
  cpuMs = ThreadCpuMs() - cpuStart_;
  wallMs = WallMs() - wallStart_;
  cycles = ThreadCycles() - cyclesStart_;
}
