// The about box: dialog template IDD_ABOUT, whose one static control shows picture IDB_ABOUT on
// white. The mouse is captured for the box's lifetime so that a click anywhere closes it.
//
// The capture taken in WM_INITDIALOG does not last: once the box exists, the dialog manager
// cancels any capture (WM_CANCELMODE) as it makes the box modal. So the box posts itself a
// message that takes the capture again from inside its modal loop.
//
// Losing activation closes the box too, but only once the switch to the other window is over.
// Ending the dialog in the middle of it, while the box is still the active window, makes the
// dialog manager hand the foreground back to the settings dialog at the same moment as the
// other program takes it, and the two switches can leave no window active at all: the program
// the user chose loses the keyboard, and so does the settings dialog until it is clicked.
#include "settings/about_box.h"

#include "host/host_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kTakeCapture = WM_APP;
constexpr UINT kDismissAfterDeactivation = WM_APP + 1;

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

// Not after a click has dismissed the box already.
INT_PTR OnDeactivated(HWND box) {
  return IsWindowVisible(box) ? Dismiss(box) : FALSE;
}

// Only deactivation dismisses, once it is over; the activating WM_NCACTIVATE is left to the
// dialog manager.
INT_PTR OnNcActivate(HWND box, WPARAM active) {
  if (active == 0) PostMessageA(box, kDismissAfterDeactivation, 0, 0);
  return FALSE;
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
    case kDismissAfterDeactivation: return OnDeactivated(box);
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
