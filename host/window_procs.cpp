// The saver window's three procedure layers. HostWindowProc settles what depends on the run
// mode and on the close protocol's progress; StageWindowProc hands drawing to the stage;
// DismissalProc ends a full-screen saver on input and runs the close protocol.
#include <windowsx.h>

#include "host/host_state.h"
#include "host/password_hooks.h"
#include "host/saver_window.h"
#include "host/system_functions.h"
#include "stage/stage.h"

ScreenMetrics screenMetrics = {};
POINT cursorOrigin = {0, 0};
bool closeGranted = false;
bool verifyingPassword = false;
bool destroying = false;

namespace {

// The display changed while the password box was open (OnDisplayChange, HandleCloseRequest).
bool displayChangedInCheck = false;

constexpr LRESULT kBroadcastQueryDeny = 0x424D5144;
// In UTF-16, so that it reads right whatever the system's code page.
constexpr wchar_t kInitFailedText[] = L"初期化に失敗しました";

// Once the close is granted or the window is on its way out, input and painting get the
// default handling only.
LRESULT Gate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (destroying || closeGranted) return DefWindowProcA(window, message, wParam, lParam);
  return StageWindowProc(window, message, wParam, lParam);
}

// Whether the full-screen saver has the cursor hidden and the input method off.
bool inputHidden = false;

void HideCursorAndInputMethod() {
  if (isWindowed) return;
  while (ShowCursor(FALSE) >= 0) {
  }
  EnableInputMethod(false);
  inputHidden = true;
}

// Once only: a failed start-up restores both before its box, and the window that goes with the
// process then never sees WM_DESTROY; a normal run restores them there.
void RestoreCursorAndInputMethod() {
  if (!inputHidden) return;
  inputHidden = false;
  while (ShowCursor(TRUE) < 0) {
  }
  EnableInputMethod(true);
}

LRESULT OnSystemCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!isWindowed) {
    switch (wParam) {
      case SC_CLOSE:
      case SC_NEXTWINDOW:
      case SC_PREVWINDOW:
      case SC_SCREENSAVE: return 0;
    }
  }
  return StageWindowProc(window, WM_SYSCOMMAND, wParam, lParam);
}

// In preview the display settings own help and the context menu: hand them to the host.
LRESULT ForwardToParent(HWND window, UINT message, LPARAM lParam) {
  HWND parent = GetParent(window);
  if (parent != nullptr && IsWindow(parent)) {
    PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
  }
  return 1;
}

// The window of a failed start-up is never shown (RunSaverWindow) and goes with the process.
// Marked as on its way out, nothing it receives (the loss of activation when the box closes)
// can start the close protocol, whose WM_DESTROY would replace the quit code -1 with 0. So
// WM_DESTROY never comes, and the host's WM_CREATE work is undone here, before the box, which
// needs the cursor.
LRESULT OnStageCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!Stage::OnCreate(window)) {
    destroying = true;
    RestoreCursorAndInputMethod();
    MessageBoxW(nullptr, kInitFailedText, nullptr, MB_OK);
    Stage::Shutdown(window);
    PostQuitMessage(-1);
  }
  return DismissalProc(window, WM_CREATE, wParam, lParam);
}

LRESULT OnQueryNewPalette(HWND window) {
  if (!Stage::HasPalette()) return 0;
  Stage::RefreshPalette(window);
  return 1;
}

LRESULT OnPaletteChange(HWND window, WPARAM wParam) {
  if (reinterpret_cast<HWND>(wParam) != window) Stage::RefreshPalette(window);
  return 0;
}

// Posts the close unless a password check is open, then lets the default handling follow.
LRESULT PostClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!verifyingPassword) PostMessageA(window, WM_CLOSE, 0, 0);
  return DefWindowProcA(window, message, wParam, lParam);
}

// The cursor position, not lParam, so that small moves add up from the origin.
LRESULT MovementTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT now = {};
  GetCursorPos(&now);
  if (MovedFarEnough(cursorOrigin, now)) return PostClose(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// The saver shows the desktop as it was: on a display that changed since (a monitor plugged in or
// out, or dropped off in its sleep, moved, another resolution or colour depth), part of the
// screen would be left live or show a desktop that is gone, or the colours would be chosen for
// another depth. It ends as on input; a change that leaves the monitors as they were ends nothing.
// A change while the password box is open is kept for when the box is gone (HandleCloseRequest).
LRESULT OnDisplayChange(HWND window, WPARAM wParam, LPARAM lParam) {
  if (readScreenMetrics() == screenMetrics)
    return DefWindowProcA(window, WM_DISPLAYCHANGE, wParam, lParam);
  if (verifyingPassword) displayChangedInCheck = true;
  return PostClose(window, WM_DISPLAYCHANGE, wParam, lParam);
}

LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  if (verifyingPassword) return DefWindowProcA(window, WM_SETCURSOR, wParam, lParam);
  SetCursor(nullptr);
  return 1;
}

LRESULT OnVerifyPassword(HWND window) {
  return verifyPasswordFn != nullptr ? verifyPasswordFn(window) : 1;
}

}  // namespace

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      HideCursorAndInputMethod();
      return StageWindowProc(window, message, wParam, lParam);
    case WM_DESTROY:
      RestoreCursorAndInputMethod();
      PostQuitMessage(0);
      return StageWindowProc(window, message, wParam, lParam);
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
      if (isWindowed) return DefWindowProcA(window, message, wParam, lParam);
      return Gate(window, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_DISPLAYCHANGE:
    case WM_PAINT: return Gate(window, message, wParam, lParam);
    case WM_TIMER:
      if (destroying || closeGranted) return 0;
      return StageWindowProc(window, message, wParam, lParam);
    case WM_SYSCOMMAND: return OnSystemCommand(window, wParam, lParam);
    case WM_POWERBROADCAST:
      if (!isWindowed) return kBroadcastQueryDeny;
      return StageWindowProc(window, message, wParam, lParam);
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (isPreview) return ForwardToParent(window, message, lParam);
      return StageWindowProc(window, message, wParam, lParam);
    default: return StageWindowProc(window, message, wParam, lParam);
  }
}

LRESULT StageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnStageCreate(window, wParam, lParam);
    case WM_PAINT: Stage::OnPaint(window, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_CLOSE:
      if (closeGranted || isWindowed) Stage::Shutdown(window);
      return DismissalProc(window, message, wParam, lParam);
    case WM_ERASEBKGND: Stage::OnEraseBackground(window, reinterpret_cast<HDC>(wParam)); return -1;
    case WM_QUERYNEWPALETTE: return OnQueryNewPalette(window);
    case WM_PALETTEISCHANGING:
    case WM_PALETTECHANGED: return OnPaletteChange(window, wParam);
    default: return DismissalProc(window, message, wParam, lParam);
  }
}

LRESULT DismissalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isPreview || isWindowed || destroying) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
      if (wParam != 0) return DefWindowProcA(window, message, wParam, lParam);
      return MovementTest(window, message, wParam, lParam);
    case WM_MOUSEMOVE: return MovementTest(window, message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return PostClose(window, message, wParam, lParam);
    case WM_DISPLAYCHANGE: return OnDisplayChange(window, wParam, lParam);
    case WM_CLOSE: HandleCloseRequest(window); return 0;
    case WM_SETCURSOR: return OnSetCursor(window, wParam, lParam);
    case WM_APP: return OnVerifyPassword(window);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

void HandleCloseRequest(HWND window) {
  if (verifyingPassword || destroying) return;
  if (closeGranted) {
    // Second pass: the window was hidden by the first, so it is destroyed now. Should it have
    // been shown again meanwhile, hide it and let the desktop repaint before trying again. The
    // look is IsWindowVisible: a ShowWindow probe would show the hidden window once more, and
    // send an erase to the shut-down stage, just before destroying it.
    if (!IsWindowVisible(window)) {
      destroying = true;
      DestroyWindow(window);
      return;
    }
    ShowWindow(window, SW_HIDE);
    InvalidateRect(GetDesktopWindow(), nullptr, FALSE);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  if (verifyPasswordFn != nullptr) {
    verifyingPassword = true;
    // The verifier may dispatch messages on this thread before it returns.
    closeGranted = SendMessageA(window, WM_APP, 0, 0) != 0;
    GetCursorPos(&cursorOrigin);
    verifyingPassword = false;
    const bool displayChanged = displayChangedInCheck;
    displayChangedInCheck = false;
    if (!closeGranted) {
      GetCursorPos(&cursorOrigin);
      // The display changed behind the box: that change now asks to close as it would have
      // outside the box, with the password asked again.
      if (displayChanged) PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    }
  } else {
    closeGranted = true;
  }
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}
