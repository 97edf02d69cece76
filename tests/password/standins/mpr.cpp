// Test stand-in for the 9x family's MPR.DLL: PwdChangePasswordA records the arguments it was
// called with and reports success.
#include <windows.h>

#include <string>

#include "password/standins/standin_log.h"

namespace {
HMODULE self = nullptr;
}

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1,
                                           DWORD reserved2) {
  AppendStandInLog(self, std::string("change ") + (provider != nullptr ? provider : "(null)") +
                             " " + std::to_string(HandleToULong(owner)) + " " +
                             std::to_string(reserved1) + " " + std::to_string(reserved2));
  return ERROR_SUCCESS;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  self = instance;
  LogAttachAndRelease(instance, reason, reserved, "mpr.dll");
  return TRUE;
}
