// Where the full-screen saver goes on a desk of one or more monitors. Its window covers the
// virtual screen, the rectangle around every monitor, so that no monitor stays live beside it;
// the clock block roams the primary monitor alone, which no monitor edge cuts and which shows
// every pixel of it.
#pragma once
#include <windows.h>

// What the system says of its monitors. The primary monitor's top-left corner is the origin of
// screen coordinates; a virtual screen that reads empty (Windows 95, NT 4) is unknown, and so are
// the monitors where the system cannot list them (monitorCount 0).
constexpr int kMaxMonitors = 16;
struct ScreenMetrics {
  RECT virtualScreen;
  SIZE primary;
  int bitsPerPixel = 0;
  int monitorCount = 0;
  RECT monitors[kMaxMonitors] = {};  // in the order of their corners, left to right, top down
};

struct ScreenLayout {
  RECT window;  // the saver window, in screen coordinates
  RECT block;   // where the clock block roams, in the window's client coordinates
};

// The same desk in full: every monitor in the same place at the same size, and the same depth.
inline bool operator==(const ScreenMetrics& a, const ScreenMetrics& b) {
  if (!EqualRect(&a.virtualScreen, &b.virtualScreen) || a.primary.cx != b.primary.cx ||
      a.primary.cy != b.primary.cy || a.bitsPerPixel != b.bitsPerPixel ||
      a.monitorCount != b.monitorCount)
    return false;
  for (int i = 0; i < a.monitorCount; ++i) {
    if (!EqualRect(&a.monitors[i], &b.monitors[i])) return false;
  }
  return true;
}
inline bool operator==(const ScreenLayout& a, const ScreenLayout& b) {
  return EqualRect(&a.window, &b.window) && EqualRect(&a.block, &b.block);
}

ScreenMetrics ReadScreenMetrics();
// Where the host reads them; tests replace it.
using ReadScreenMetricsFn = ScreenMetrics (*)();
extern ReadScreenMetricsFn readScreenMetrics;
// The full-screen saver's place: over the virtual screen, or the primary where none is known.
ScreenLayout FullScreenLayout(const ScreenMetrics& metrics);
// Over the primary monitor alone: the windowed saver's place, and the full-screen one's when the
// virtual screen is too large for the stage's surfaces.
ScreenLayout PrimaryLayout(const ScreenMetrics& metrics);
