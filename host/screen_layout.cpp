// The saver window's place and the clock block's bounds, from what the system says of its
// monitors.
#include "host/screen_layout.h"

ScreenMetrics ReadScreenMetrics() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {
      {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
      {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
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
