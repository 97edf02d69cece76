// Frame pacing of the real saver loop: RunSaverWindow runs here exactly as in a full-screen
// run, and the benchmark watches it from outside. A thread-local hook subclasses the saver
// window as it is created, so every paint is timed before the product's own procedure sees it;
// the frame clock's public state says which period each paint belongs to. After a warm-up in
// the scene phase and the measured seconds, the observer posts the close a user's key would.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/pacing_stats.h"
#include "bench/parts.h"
#include "bench/report.h"
#include "host/host_state.h"
#include "host/saver_window.h"
#include "stage/frame_clock.h"
#include "stage/stage_state.h"

namespace {

constexpr double kWarmUpMs = 1000;
constexpr DWORD kWatchdogSlackMs = 60000;

struct Observer {
  WNDPROC productProc = nullptr;
  HHOOK hook = nullptr;
  double timeGetTimeOffsetMs = 0;
  bool clockStarted = false;
  uint32_t resetTime = 0;
  double sceneStartMs = -1;
  double closeAtMs = 0;
  bool closePosted = false;
  // This thread's CPU time and the wall time from the first paint of the measured seconds to
  // the close: the loop's own share of a core, sleeps included.
  double cpuStartMs = -1, wallStartMs = 0, cpuEndMs = 0, wallEndMs = 0;
  int seconds = 10;
  std::vector<PaintRecord> paints;
};

Observer observer;

// A paint that arrives while the frame clock runs and the opening is over; its period is the
// one whose start the tick that asked for it has just found.
void OnObservedPaint(HWND window) {
  const double now = WallMs();
  if (!observer.clockStarted || Stage::stage.capture.bitmap != nullptr) return;
  const FrameClock::State& clock = FrameClock::clock;
  const uint32_t periodStart = clock.lastTime - clock.accumulated;
  PaintRecord paint;
  paint.atMs = now;
  paint.latenessMs = now + observer.timeGetTimeOffsetMs - double(periodStart);
  paint.period = PeriodNumber(uint32_t(periodStart - observer.resetTime));
  observer.paints.push_back(paint);
  if (observer.sceneStartMs < 0) {
    observer.sceneStartMs = now;
    observer.closeAtMs = now + kWarmUpMs + 1000.0 * observer.seconds + 100;
  }
  if (observer.cpuStartMs < 0 && now >= observer.sceneStartMs + kWarmUpMs) {
    observer.cpuStartMs = ThreadCpuMs();
    observer.wallStartMs = now;
  }
  if (!observer.closePosted && now >= observer.closeAtMs) {
    observer.closePosted = true;
    observer.cpuEndMs = ThreadCpuMs();
    observer.wallEndMs = now;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
}

LRESULT CALLBACK ObservedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) OnObservedPaint(window);
  const LRESULT result = CallWindowProcA(observer.productProc, window, message, wParam, lParam);
  // The first erase that the stage handles resets the frame clock: period 0 starts then.
  if (message == WM_ERASEBKGND && !observer.clockStarted && FrameClock::clock.enabled) {
    observer.clockStarted = true;
    observer.resetTime = FrameClock::clock.lastTime;
  }
  return result;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && observer.productProc == nullptr) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "WindowsScreenSaverClass") == 0) {
      observer.productProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ObservedProc)));
    }
  }
  return CallNextHookEx(observer.hook, code, wParam, lParam);
}

// Should the saver never reach its scene phase, the run still ends.
DWORD WINAPI Watchdog(LPVOID milliseconds) {
  Sleep(DWORD(reinterpret_cast<uintptr_t>(milliseconds)));
  std::printf("  frame pacing: the saver did not finish in time\n");
  std::fflush(stdout);
  ExitProcess(3);
}

std::string PerSecond(const std::vector<unsigned>& counts) {
  std::string text;
  for (unsigned count : counts) text += Format("%u ", count);
  return text;
}

}  // namespace

int MeasureFramePacing(int seconds) {
  PrintHeading(
      Format("Frame pacing of the real saver loop, %d s in the scene phase", seconds).c_str());
  observer.seconds = seconds;
  observer.paints.reserve(size_t(seconds + 5) * 60);
  timeBeginPeriod(1);
  observer.timeGetTimeOffsetMs = TimeGetTimeOffsetMs();
  const DWORD limit = DWORD(seconds) * 1000 + kWatchdogSlackMs;
  CloseHandle(
      CreateThread(nullptr, 0, Watchdog, reinterpret_cast<LPVOID>(uintptr_t(limit)), 0, nullptr));
  observer.hook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
  const int exitValue = RunSaverWindow(nullptr);
  UnhookWindowsHookEx(observer.hook);
  const double drift = TimeGetTimeOffsetMs() - observer.timeGetTimeOffsetMs;
  timeEndPeriod(1);
  if (observer.productProc == nullptr || observer.sceneStartMs < 0) {
    PrintNote("the saver window was not seen painting its scene");
    return 1;
  }

  const PacingSummary s =
      SummarisePacing(observer.paints, observer.sceneStartMs + kWarmUpMs, seconds);
  PrintFigure("frame periods counted per second", Format("%.1f /s", s.periodsRate), "45.0 /s",
              Judge(s.periodsRate > 44.95 && s.periodsRate < 45.05));
  PrintFigure("  each second", PerSecond(s.periodsPerSecond));
  PrintFigure("paints per second", Format("%.1f /s", s.paintsRate), "45 /s",
              Judge(s.paintsRate > 44.95 && s.paintsRate < 45.05));
  PrintFigure("  each second", PerSecond(s.paintsPerSecond));
  PrintFigure("paints that merged periods", Format("%u", s.mergedPaints), "none",
              Judge(s.mergedPaints == 0));
  PrintFigure("paint lateness after period start, p99", Format("%.3f ms", s.latenessP99), "< 2 ms",
              Judge(s.latenessP99 < 2.0));
  PrintFigure("  median", Format("%.3f ms", s.latenessMedian));
  PrintFigure("  worst", Format("%.3f ms", s.latenessWorst));
  const double loopPercent = 100.0 * (observer.cpuEndMs - observer.cpuStartMs) /
                             (observer.wallEndMs - observer.wallStartMs);
  PrintFigure("saver loop thread CPU, share of a core", Format("%.2f %%", loopPercent),
              "(whole process < 3 %)");
  if (s.strayPaints != 0) PrintNote(Format("%u paints came from no frame step", s.strayPaints));
  PrintNote(Format("saver exit value %d; timeGetTime against the counter drifted %.3f ms",
                   exitValue, drift));
  return 0;
}
