// The saver window for the full-screen, windowed and preview modes: the single-instance guard,
// the window and its three procedure layers, the message loop and the cleanup.
#pragma once
#include <windows.h>

#include "host/screen_layout.h"

// Runs the saver; host is the preview host window, or null. Returns the exit value.
int RunSaverWindow(HWND host);
bool RegisterHostClass();
// The saver window of the run mode over an area in screen coordinates (the preview's: the host's
// client area), never yet visible; WM_CREATE runs inside.
HWND CreateSaverWindow(HWND host, const RECT& area);
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DismissalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void HandleCloseRequest(HWND window);

// What the system said of its monitors when the full-screen or windowed run began.
extern ScreenMetrics screenMetrics;

// The close protocol's state.
extern POINT cursorOrigin;
extern bool closeGranted;
extern bool verifyingPassword;
extern bool destroying;

// City-block distance of the cursor from where it stood: 10 or more ends the saver.
constexpr int kMovementThreshold = 10;
inline bool MovedFarEnough(POINT origin, POINT now) {
  const int dx = now.x > origin.x ? now.x - origin.x : origin.x - now.x;
  const int dy = now.y > origin.y ? now.y - origin.y : origin.y - now.y;
  return dx + dy >= kMovementThreshold;
}
