// Frame step plus paint, timed on this thread: the saver window is made the way the host makes
// it for a full-screen run, and each frame does what a frame clock tick does once it has found
// one elapsed period, back to back and without the sleeps between frames. Also what the stage
// holds for the screen at its peak, per pixel of the desk.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include "bench/bench_clock.h"
#include "bench/parts.h"
#include "bench/report.h"
#include "host/host_state.h"
#include "host/saver_window.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

constexpr double kMinimumWallMs = 3000;  // long enough for a 10 ms CPU grain to average out
constexpr int kMinimumFrames = 100;
constexpr double kSceneFrameTargetMs = 1.0;

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The full-screen saver window up to its first erase, which captures the desktop and starts the
// opening dim.
bool OpenSaverWindow() {
  parentWindow = GetDesktopWindow();
  const ScreenLayout layout = FullScreenLayout(ReadScreenMetrics());
  if (!Stage::Start(parentWindow, &layout) || !RegisterHostClass()) return false;
  saverWindow = CreateSaverWindow(nullptr, layout.window);
  if (saverWindow == nullptr) return false;
  ShowWindow(saverWindow, SW_SHOW);
  GetCursorPos(&cursorOrigin);
  const double deadline = WallMs() + 10000;
  while (Stage::stage.firstErase && WallMs() < deadline) {
    PumpMessages();
    Sleep(1);
  }
  return !Stage::stage.firstErase;
}

void CloseSaverWindow() {
  Stage::Shutdown(saverWindow);
  DestroyWindow(saverWindow);
  saverWindow = nullptr;
  PumpMessages();
}

// What FrameClock::Tick does after counting one period.
void OneFrame() {
  FrameClock::clock.pendingFrames = 1;
  Stage::StepFrame();
  InvalidateRect(saverWindow, nullptr, FALSE);
  UpdateWindow(saverWindow);
}

// The opening dims once, in a few steps; to average over many, the level is put back up
// whenever the next step would end the dim.
void OneDimFrame() {
  if (Stage::stage.dimLevel < Stage::TargetLevel()) Stage::stage.dimLevel = 32;
  OneFrame();
}

struct FrameCost {
  int frames = 0;
  CostMeter meter;  // runs from the moment the cost is made until Measure stops it
};

template <typename Frame>
FrameCost Measure(Frame frame) {
  FrameCost cost;
  const double start = WallMs();
  do {
    frame();
    ++cost.frames;
  } while (cost.frames < kMinimumFrames || WallMs() - start < kMinimumWallMs);
  cost.meter.Stop();
  return cost;
}

void PrintCost(const char* phase, const FrameCost& cost, bool judged) {
  const double cpu = cost.meter.cpuMs / cost.frames;
  const double wall = cost.meter.wallMs / cost.frames;
  const std::string what = Format("%s frame step + paint, CPU", phase);
  if (judged) {
    PrintFigure(what.c_str(), Format("%.3f ms/frame", cpu), "< 1 ms",
                Judge(cpu < kSceneFrameTargetMs));
  } else {
    PrintFigure(what.c_str(), Format("%.3f ms/frame", cpu), "(no target)");
  }
  PrintFigure("  wall time beside it", Format("%.3f ms/frame", wall));
  if (cost.meter.cycles != 0) {
    PrintFigure("  thread cycles",
                Format("%.0f k/frame", double(cost.meter.cycles) / cost.frames / 1e3));
  }
  PrintNote(Format("%d frames, %.0f ms CPU over %.0f ms wall", cost.frames, cost.meter.cpuMs,
                   cost.meter.wallMs));
}

// The bytes a bitmap's pixels take, rows padded as the system pads them; 0 for none.
double BitmapBytes(HBITMAP bitmap) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) != int(sizeof info)) return 0;
  return double(info.bmWidthBytes) * info.bmHeight;
}

// What the stage holds for the screen at once, early in the opening: its surfaces and the
// opening's images, all of them alive until the dim is over.
double StageBytes() {
  const Stage::State& s = Stage::stage;
  return BitmapBytes(s.frame.bitmap) + BitmapBytes(s.background.bitmap) +
         BitmapBytes(s.preview.bitmap) + BitmapBytes(s.capture.bitmap) + BitmapBytes(s.dim.bitmap);
}

double PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? double(counters.PeakWorkingSetSize)
             : 0;
}

void PrintMemory(double stageBytes, double peakGrowth) {
  const double pixels =
      double(GetSystemMetrics(SM_CXVIRTUALSCREEN)) * GetSystemMetrics(SM_CYVIRTUALSCREEN);
  constexpr double kMiB = 1024.0 * 1024.0;
  PrintFigure("stage surfaces and opening images, at their peak",
              Format("%.1f MiB, %.2f B/pixel", stageBytes / kMiB, stageBytes / pixels),
              "<= 10 B/pixel", Judge(stageBytes / pixels <= 10.0));
  PrintFigure("  peak working set, growth over the opening",
              Format("%.1f MiB, %.2f B/pixel", peakGrowth / kMiB, peakGrowth / pixels));
  PrintNote("the growth takes in the window system's own surface for the window as well");
}

}  // namespace

int MeasureFrameCost() {
  PrintHeading(Format("Frame step + paint (Stage::StepFrame, then the synchronous repaint), %dx%d",
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN))
                   .c_str());
  timeBeginPeriod(1);
  const double grain = ThreadCpuGrainMs();
  const double peakBefore = PeakWorkingSet();
  if (!OpenSaverWindow()) {
    PrintNote("the saver window could not be opened");
    timeEndPeriod(1);
    return 1;
  }
  const double stageBytes = StageBytes();
  for (int i = 0; i < 5; ++i) OneDimFrame();
  const FrameCost dim = Measure(OneDimFrame);
  PumpMessages();
  const double peakGrowth = PeakWorkingSet() - peakBefore;

  // End the dim: the next step deletes the opening images and moves the scene on.
  Stage::stage.dimLevel = Stage::TargetLevel() - 1;
  for (int i = 0; i < 50; ++i) OneFrame();
  PumpMessages();
  const FrameCost scene = Measure(OneFrame);
  PumpMessages();
  CloseSaverWindow();
  timeEndPeriod(1);

  PrintCost("scene-phase", scene, true);
  PrintCost("dim-phase", dim, false);
  PrintMemory(stageBytes, peakGrowth);
  PrintNote(Format("thread CPU time moves in steps of %.3f ms here; cycles %s", grain,
                   ThreadCycles() != 0 ? "counted" : "not kept by this system"));
  return 0;
}
