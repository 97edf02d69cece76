// A minimal stage: paints the saver window black and runs the frame clock, with no scene yet.
#include "stage/stage.h"

#include "stage/frame_clock.h"

namespace Stage {

namespace {
bool started = false;
bool firstErase = true;
}  // namespace

int Start(HWND) {
  started = true;
  FrameClock::Stop();
  return 1;
}

int OnCreate(HWND) {
  return 1;
}

void StepFrame() {
  FrameClock::clock.pendingFrames = 0;
}

void OnPaint(HWND window, HDC dc) {
  PAINTSTRUCT paint = {};
  const bool ownPaint = dc == nullptr;
  if (ownPaint) dc = BeginPaint(window, &paint);
  if (dc != nullptr && started) {
    RECT client = {};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  if (ownPaint) EndPaint(window, &paint);
  GdiFlush();
}

void OnEraseBackground(HWND, HDC dc) {
  if (!started || dc == nullptr || !firstErase) return;
  firstErase = false;
  FrameClock::Reset();
}

void Shutdown(HWND) {
  started = false;
}

bool HasScene() {
  return started;
}
bool HasPalette() {
  return false;
}
void RefreshPalette(HWND) {}

}  // namespace Stage
