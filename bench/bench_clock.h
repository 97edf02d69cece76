// Clocks for the benchmark: wall time from the performance counter, and CPU time as Windows
// reports it for this thread or for another process (kept in 100 ns units, but only as fine
// as the system's own accounting, which is why every figure averages over many frames).
#pragma once
#include <windows.h>

#include <cstdint>

double WallMs();                      // performance counter, in milliseconds
double ThreadCpuMs();                 // user plus kernel time of the calling thread
uint64_t ThreadCycles();              // QueryThreadCycleTime; 0 when the system keeps none
double ProcessCpuMs(HANDLE process);  // user plus kernel time of every thread of a process
// The smallest step by which ThreadCpuMs moves, found by spinning until it moves twice.
double ThreadCpuGrainMs();
// The offset that turns WallMs into a continuous reading of timeGetTime: timeGetTime() is
// the whole part of WallMs() + offset.
double TimeGetTimeOffsetMs();

// CPU time, cycles and wall time spent between construction and Stop.
class CostMeter {
 public:
  CostMeter();
  void Stop();
  double cpuMs = 0, wallMs = 0;
  uint64_t cycles = 0;

 private:
  double cpuStart_, wallStart_;
  uint64_t cyclesStart_;
};
