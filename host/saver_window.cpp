// The saver run: single-instance guard, system flag, timer resolution, the window and its
// message loop, and the cleanup that undoes them on every way out.
#include "host/saver_window.h"

#include <mmsystem.h>

#include "host/host_state.h"
#include "host/password_hooks.h"
#include "host/screen_layout.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"

namespace {

constexpr char kClassName[] = "WindowsScreenSaverClass";
constexpr char kWindowTitle[] = "Screen Saver";
constexpr char kMutexName[] = "SCRNSAVE";

// The cleanup of one run, once the single-instance check has passed: RunSaverWindow has no
// other way out after that point. Nothing in a run throws (every allocation is nothrow, and
// only system calls are made), so there is no exception for a scope guard to catch; by now the
// window is gone or, after a failed start-up, was never shown and goes with the process.
void EndSaverRun(HWND host, HANDLE mutex, BOOL* previousState) {
  Stage::Shutdown(saverWindow);
  timeEndPeriod(1);
  if (isWin9x && host == nullptr) {
    if (!isWindowed) UnloadPasswordVerifier();
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, previousState, 0);
  }
  // The mutex was made unowned, so this releases nothing: the handle, and with it the name,
  // stays until the process ends.
  if (mutex != nullptr) ReleaseMutex(mutex);
}

// Runs the loop until WM_QUIT; the frame clock ticks before every look at the queue, and all
// waiting happens in its idle sleep, never inside GetMessage.
WPARAM RunMessageLoop() {
  MSG message = {};
  for (;;) {
    FrameClock::Tick();
    if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (GetMessageA(&message, nullptr, 0, 0) == 0) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      FrameClock::IdleSleep(false);
    } else {
      FrameClock::IdleSleep(true);
    }
  }
  return message.wParam;
}

}  // namespace

bool RegisterHostClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_PARENTDC;
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = moduleInstance;
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateSaverWindow(HWND host, const RECT& area) {
  const DWORD style = host != nullptr ? WS_CHILD
                      : isWindowed    ? WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
                                      : WS_POPUP;
  const DWORD exStyle = host == nullptr && !isWindowed ? WS_EX_TOPMOST : 0;
  return CreateWindowExA(exStyle, kClassName, kWindowTitle, style, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, host, nullptr,
                         moduleInstance, nullptr);
}

int RunSaverWindow(HWND host) {
  HANDLE mutex = nullptr;
  BOOL previousState = FALSE;
  ScreenLayout layout = {};

  if (host != nullptr) {
    parentWindow = host;
    GetClientRect(host, &layout.window);
  } else {
    parentWindow = GetDesktopWindow();
    screenMetrics = readScreenMetrics();
    layout = isWindowed ? PrimaryLayout(screenMetrics) : FullScreenLayout(screenMetrics);
    mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    if (isWin9x) {
      if (!isWindowed) LoadPasswordVerifier();
      SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previousState, 0);
    }
  }

  WPARAM exitValue = 0;
  timeBeginPeriod(1);
  bool started = Stage::Start(parentWindow, host == nullptr ? &layout : nullptr);
  // A virtual screen too large for the stage's surfaces, or for the opening's images without
  // which the clock would run over black: the saver runs on the primary alone, as on a desk of
  // one monitor.
  const bool whole = started && Stage::HasOpeningImages();
  if (!whole && host == nullptr && !(layout == PrimaryLayout(screenMetrics))) {
    Stage::Shutdown(nullptr);
    layout = PrimaryLayout(screenMetrics);
    started = Stage::Start(parentWindow, &layout);
  }
  if (started && RegisterHostClass()) {
    saverWindow = CreateSaverWindow(host, layout.window);
    if (saverWindow != nullptr) {
      // A stage that failed in WM_CREATE is shut down already: nothing would paint the window,
      // so it stays hidden, and the loop only collects the quit code of the failure.
      if (Stage::HasScene()) {
        ShowWindow(saverWindow, SW_SHOW);
        GetCursorPos(&cursorOrigin);
      }
      exitValue = RunMessageLoop();
    }
  }
  saverWindow = nullptr;
  EndSaverRun(host, mutex, &previousState);
  return static_cast<int>(exitValue);
}
