// The about box: dialog template IDD_ABOUT, whose one static control shows picture IDB_ABOUT on
// white. The mouse is captured for the box's lifetime so that a click anywhere closes it.
//
// The box takes the picture's size at the display's scale rather than its template's: dialog
// units follow the font, whose size steps unevenly with the scale, so a box made from them
// would crop the picture or leave white bands. The picture comes at that size too (see
// dialog_pictures.h), and again, with the box's size, when the box's monitor changes scale.
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
#include "settings/dialog_pictures.h"

namespace {

constexpr UINT kTakeCapture = WM_APP;
constexpr UINT kDismissAfterDeactivation = WM_APP + 1;

POINT CentreOf(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Gives the picture control the bitmap, or none, and deletes the one it had: a static control
// never deletes its pictures, not even the one its template loaded.
void ShowPicture(HWND box, HBITMAP picture) {
  HWND control = GetWindow(box, GW_CHILD);
  HANDLE previous = reinterpret_cast<HANDLE>(
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
  if (previous != nullptr && previous != picture) DeleteObject(previous);
}

// The picture for the DPI, with the box and its control sized to it around the centre. Where
// the picture cannot be made the box stays as it is.
void FitToPicture(HWND box, int dpi, POINT centre) {
  const SIZE size = PictureSizeAt(kAboutPicture, dpi);
  HBITMAP picture = LoadPictureAtSize(kAboutPicture, size);
  if (picture == nullptr) return;
  ShowPicture(box, picture);
  SetWindowPos(GetWindow(box, GW_CHILD), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame = {0, 0, 0, 0}, client = {0, 0, 0, 0};
  GetWindowRect(box, &frame);
  GetClientRect(box, &client);
  const int width = size.cx + (frame.right - frame.left) - client.right;
  const int height = size.cy + (frame.bottom - frame.top) - client.bottom;
  SetWindowPos(box, nullptr, centre.x - width / 2, centre.y - height / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR OnInitDialog(HWND box) {
  RECT frame = {0, 0, 0, 0};
  GetWindowRect(box, &frame);
  FitToPicture(box, WindowDpi(box), CentreOf(frame));
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

// Handled here, not by the dialog manager, which would size the box from its template.
INT_PTR OnDpiChanged(HWND box, WPARAM dpi, const RECT* suggested) {
  FitToPicture(box, LOWORD(dpi), CentreOf(*suggested));
  return TRUE;
}

INT_PTR OnDestroy(HWND box) {
  ShowPicture(box, nullptr);
  return FALSE;
}

INT_PTR OnControlColour(HDC dc) {
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(box);
    case WM_DPICHANGED: return OnDpiChanged(box, wParam, reinterpret_cast<const RECT*>(lParam));
    case WM_DESTROY: return OnDestroy(box);
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
