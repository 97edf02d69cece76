// Shared by the dialog tests: reading the settings dialog's state, driving it with the
// messages its controls send, and texts compared the way the running code page shows them.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modal_script.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog.h"
#include "settings_test_support.h"

// A product text written here in code page 932, as UTF-16.
inline std::wstring FromCp932(const char* text) {
  wchar_t wide[256] = {};
  MultiByteToWideChar(932, 0, text, -1, wide, 256);
  return wide;
}

// What GetWindowTextA is expected to give for a text the template holds as UTF-16: the code
// page 932 bytes on a Japanese system, the running code page's rendering elsewhere.
inline std::string AsShownNarrow(const char* cp932Text) {
  char narrow[512] = {};
  WideCharToMultiByte(CP_ACP, 0, FromCp932(cp932Text).c_str(), -1, narrow, sizeof(narrow), nullptr,
                      nullptr);
  return narrow;
}

inline std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

inline std::string NumberShown(HWND dialog) {
  return TextOf(GetDlgItem(dialog, IDC_BRIGHTNESS_NUMBER));
}

inline int ScrollPosition(HWND dialog) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  GetScrollInfo(GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL), SB_CTL, &info);
  return info.nPos;
}

// A WM_HSCROLL as the brightness scroll bar sends it.
inline void Scroll(HWND dialog, int request, WORD thumb = 0) {
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(request, thumb),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL)));
}

// Posted, as a click does, so that a modal loop it opens does not block the script.
inline void PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline ScriptStep WaitForSettingsDialog() {
  return {"the settings dialog opens", [] {
            HWND dialog = FindSettingsDialog();
            if (dialog != nullptr) UpdateWindow(dialog);
            return dialog != nullptr;
          }};
}

inline ScriptStep PressSettingsButton(const char* label, int id) {
  return {label, [id] {
            PressButton(FindSettingsDialog(), id);
            return true;
          }};
}

// Runs the settings dialog with the steps between its opening and its closing by the button
// (Cancel unless told otherwise; 0 for the close box, WM_CLOSE); its result.
inline INT_PTR RunSettingsDialogWith(std::vector<ScriptStep> steps, int closingButton = IDCANCEL) {
  steps.insert(steps.begin(), WaitForSettingsDialog());
  steps.push_back({"the dialog is closed", [closingButton] {
                     HWND dialog = FindSettingsDialog();
                     if (closingButton == 0) return PostMessageA(dialog, WM_CLOSE, 0, 0) != FALSE;
                     PressButton(dialog, closingButton);
                     return true;
                   }});
  StartModalScript(std::move(steps));
  const INT_PTR result = RunSettingsDialog(nullptr);
  EXPECT_TRUE(ModalScriptFinished()) << "the dialog closed before its script had run";
  return result;
}
