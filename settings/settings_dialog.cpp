// The settings dialog (template IDD_SETTINGS): the brightness scroll bar with its number, a
// preview picture, the about box button, "初期値" to show the default, and OK, which alone
// stores the setting.
#include "settings/settings_dialog.h"

#include "host/host_state.h"
#include "resources/resource_ids.h"
#include "settings/about_box.h"
#include "settings/brightness_scroll.h"
#include "settings/settings_preview.h"
#include "settings/settings_store.h"

namespace {

constexpr int kScrollMin = 0;
constexpr int kScrollPage = 1;

HWND BrightnessScroll(HWND dialog) {
  return GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL);
}

// Shows Brightness on the scroll bar and as the number beside it.
void ShowBrightness(HWND dialog) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  info.nPos = Brightness;
  SetScrollInfo(BrightnessScroll(dialog), SB_CTL, &info, TRUE);
  SetDlgItemInt(dialog, IDC_BRIGHTNESS_NUMBER, static_cast<UINT>(Brightness), FALSE);
}

void SetUpScrollBar(HWND dialog) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  info.nMin = kScrollMin;
  info.nMax = kMaxBrightness;
  info.nPage = kScrollPage;
  SetScrollInfo(BrightnessScroll(dialog), SB_CTL, &info, TRUE);
}

// The brightness controls do not depend on the preview: without a DC or memory DC for it the
// preview area stays unpainted, but the scroll bar still gets its range and the stored value.
INT_PTR OnInitDialog(HWND dialog) {
  LoadSettings();
  CreatePreview(dialog);
  SetUpScrollBar(dialog);
  ShowBrightness(dialog);
  return TRUE;
}

INT_PTR OnHorizontalScroll(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control == nullptr || GetDlgCtrlID(control) != IDC_BRIGHTNESS_SCROLL) return FALSE;
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(control, SB_CTL, &info);
  const ScrollOutcome outcome = ApplyScrollRequest(LOWORD(wParam), HIWORD(wParam), info);
  info.fMask = SIF_POS;
  info.nPos = outcome.position;
  SetScrollInfo(control, SB_CTL, &info, TRUE);
  Brightness = outcome.brightness;
  ShowBrightness(dialog);
  return FALSE;
}

void EndSettingsDialog(HWND dialog) {
  ReleasePreview(dialog);
  EndDialog(dialog, 1);
}

void OnOk(HWND dialog) {
  SaveSettings();
  EndSettingsDialog(dialog);
}

void OnDefaults(HWND dialog) {
  Brightness = kDefaultBrightness;
  ShowBrightness(dialog);
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
  if (HIWORD(wParam) != 0) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: OnOk(dialog); break;
    case IDCANCEL: EndSettingsDialog(dialog); break;
    case IDC_DEFAULTS: OnDefaults(dialog); break;
    case IDC_ABOUT: ShowAboutBox(dialog); break;
  }
  return FALSE;
}

// The default painting runs afterwards and finds nothing left to paint.
INT_PTR OnPaint(HWND dialog) {
  PaintPreview(dialog);
  return FALSE;
}

// On a monitor of another scale the dialog manager sizes the dialog and its controls afresh
// once this returns (Windows 10 1703 and later); the preview follows at its next paint, and the
// whole dialog is painted again, since a dialog that grows repaints only what is new.
INT_PTR OnDpiChanged(HWND dialog) {
  InvalidateRect(dialog, nullptr, TRUE);
  return FALSE;
}

INT_PTR OnPaletteChange(HWND dialog, WPARAM changer) {
  if (reinterpret_cast<HWND>(changer) != dialog) RealizePreviewPalette(dialog);
  return FALSE;
}

// The dialog manager turns the close into a Cancel.
INT_PTR OnClose(HWND dialog) {
  ReleasePreview(dialog);
  return FALSE;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL: return OnHorizontalScroll(dialog, wParam, lParam);
    case WM_COMMAND: return OnCommand(dialog, wParam);
    case WM_PAINT: return OnPaint(dialog);
    case WM_DPICHANGED: return OnDpiChanged(dialog);
    case WM_QUERYNEWPALETTE: return RealizePreviewPalette(dialog) ? TRUE : FALSE;
    case WM_PALETTEISCHANGING:
    case WM_PALETTECHANGED: return OnPaletteChange(dialog, wParam);
    case WM_CLOSE: return OnClose(dialog);
    default: return FALSE;
  }
}

}  // namespace

int RunSettingsDialog(HWND owner) {
  return static_cast<int>(DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                          SettingsDialogProc, 0));
}
