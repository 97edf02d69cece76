// The saver window's place and the clock block's bounds, from what the system says of its
// monitors.
#include "host/screen_layout.h"

#include <algorithm>

#include "host/system_functions.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  auto* metrics = reinterpret_cast<ScreenMetrics*>(data);
  if (metrics->monitorCount == kMaxMonitors) return FALSE;
  metrics->monitors[metrics->monitorCount++] = *rect;
  return TRUE;
}

// EnumDisplayMonitors came with Windows 98 and 2000; before them there is one monitor.
void ListMonitors(ScreenMetrics& metrics) {
  using EnumFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
  const auto enumerate = ProcAs<EnumFn>(GetModuleHandleA("user32.dll"), "EnumDisplayMonitors");
  if (enumerate == nullptr ||
      !enumerate(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&metrics))) {
    metrics.monitorCount = 0;
    return;
  }
  // The system's order is its own; a desk is the same whatever order it lists the monitors in.
  std::sort(metrics.monitors, metrics.monitors + metrics.monitorCount,
            [](const RECT& a, const RECT& b) {
              return a.left != b.left ? a.left < b.left : a.top < b.top;
            });
}

}  // namespace

ScreenMetrics ReadScreenMetrics() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  ScreenMetrics metrics = {
      {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
      {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
  HDC screen = GetDC(nullptr);
  if (screen != nullptr) {
    metrics.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
  }
  ListMonitors(metrics);
  return metrics;
}

ReadScreenMetricsFn readScreenMetrics = ReadScreenMetrics;

ScreenLayout FullScreenLayout(const ScreenMetrics& metrics) {
  const RECT& screen = metrics.virtualScreen;
  if (screen.right <= screen.left || screen.bottom <= screen.top) return PrimaryLayout(metrics);
  // The primary, as the window's client area sees it; read in a moment of change, the metrics
  // may disagree, and the block still never leaves the window.
  const RECT client = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
  const RECT primary = {-screen.left, -screen.top, metrics.primary.cx - screen.left,
                        metrics.primary.cy - screen.top};
  ScreenLayout layout = {screen, {0, 0, 0, 0}};
  IntersectRect(&layout.block, &primary, &client);
  return layout;
}

ScreenLayout PrimaryLayout(const ScreenMetrics& metrics) {
  const RECT primary = {0, 0, metrics.primary.cx, metrics.primary.cy};
  return {primary, primary};
}
