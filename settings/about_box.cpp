// The about box: dialog template IDD_ABOUT, whose one static control shows picture IDB_ABOUT on
// white. The mouse is captured for the box's lifetime so that a click anywhere closes it.
//
// The capture taken in WM_INITDIALOG does not last: once the box exists, the dialog manager
// cancels any capture (WM_CANCELMODE) as it makes the box modal. So the box posts itself a
// message that takes the capture again from inside its modal loop.
#include "settings/about_box.h"

#include "host/host_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kTakeCapture = WM_APP;

INT_PTR OnInitDialog(HWND box) {
  SetCapture(box);
  PostMessageA(box, kTakeCapture, 0, 0);
  return TRUE;
}

// Not after the box has been dismissed (EndDialog hides it).
INT_PTR OnTakeCapture(HWND box) {
  if (IsWindowVisible(box)) SetCapture(box);
  return FALSE;
}

INT_PTR Dismiss(HWND box) {
  ReleaseCapture();
  EndDialog(box, 1);
  return FALSE;
}

// Only deactivation dismisses; the activating WM_NCACTIVATE is left to the dialog manager.
INT_PTR OnNcActivate(HWND box, WPARAM active) {
  return active == 0 ? Dismiss(box) : FALSE;
}

INT_PTR OnControlColour(HDC dc) {
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(box);
    case kTakeCapture: return OnTakeCapture(box);
    case WM_NCACTIVATE: return OnNcActivate(box, wParam);
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return Dismiss(box);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return OnControlColour(reinterpret_cast<HDC>(wParam));
    default: return FALSE;
  }
}

}  // namespace

int ShowAboutBox(HWND owner) {
  DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
  return 1;
}
