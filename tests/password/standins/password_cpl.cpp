// Test stand-in for the 9x family's PASSWORD.CPL: VerifyScreenSavePwd logs the window it was
// asked for and answers as the test says, either at once or through a dialog-like window that
// runs its own message loop on the caller's thread, as the system's password dialog does.
#include <windows.h>

#include <string>

#include "password/standins/standin_log.h"

namespace {

HMODULE self = nullptr;
int dialogAnswer = -1;

bool ReadNumber(const char* name, DWORD* number) {
  DWORD size = sizeof(*number);
  return RegGetValueA(HKEY_CURRENT_USER, kAnswerKey, name, RRF_RT_REG_DWORD, nullptr, number,
                      &size) == ERROR_SUCCESS;
}

// Moving the cursor from inside the saver's process also works where the saver holds the pointer
// for its full-screen window and a move from the test would only half happen.
void MoveCursorIfAsked() {
  DWORD position = 0;
  if (ReadNumber(kCursorValue, &position)) SetCursorPos(LOWORD(position), HIWORD(position));
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    dialogAnswer = LOWORD(wParam) == IDOK ? 1 : 0;
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

BOOL AskThroughDialog(HWND owner) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DialogProc;
  windowClass.hInstance = self;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kDialogClass;
  RegisterClassA(&windowClass);
  HWND dialog = CreateWindowExA(WS_EX_TOPMOST, kDialogClass, "Password", WS_POPUP | WS_CAPTION, 300,
                                250, 300, 120, owner, nullptr, self, nullptr);
  if (dialog == nullptr) return FALSE;
  ShowWindow(dialog, SW_SHOW);
  dialogAnswer = -1;
  MSG message;
  while (dialogAnswer < 0) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      // Someone is quitting: hand the quit back to the caller's loop and refuse.
      PostQuitMessage(static_cast<int>(message.wParam));
      if (IsWindow(dialog)) DestroyWindow(dialog);
      return FALSE;
    }
    if (got < 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  UnregisterClassA(kDialogClass, self);
  return dialogAnswer == 1;
}

// The system's check is a dialog whose loop handles what was queued for the saver before the
// answer. An answer given at once does the same; else a close that a second queued move posted
// would ask again right after a refusal, which no user of the system sees.
BOOL AnswerAtOnce(DWORD answer) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return FALSE;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return answer == kAnswerAccept;
}

}  // namespace

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  AppendStandInLog(self, "verify " + std::to_string(HandleToULong(window)));
  DWORD answer = kAnswerRefuse;
  ReadNumber(kAnswerValue, &answer);
  const BOOL granted = answer == kAnswerAskDialog ? AskThroughDialog(window) : AnswerAtOnce(answer);
  MoveCursorIfAsked();
  return granted;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  self = instance;
  LogAttachAndRelease(instance, reason, reserved, "password.cpl");
  return TRUE;
}
