// The 9x family's password hooks. The verifier library is held for the whole full-screen run;
// the password-change library only for the one call.
#include "host/password_hooks.h"

#include "host/host_state.h"
#include "host/system_functions.h"

HMODULE passwordModule = nullptr;
VerifyPasswordFn verifyPasswordFn = nullptr;

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kUsePasswordValue[] = "ScreenSaveUsePassword";
constexpr char kVerifierLibrary[] = "PASSWORD.CPL";
constexpr char kVerifierFunction[] = "VerifyScreenSavePwd";
constexpr char kProviderLibrary[] = "MPR.DLL";
constexpr char kChangeFunction[] = "PwdChangePasswordA";
constexpr char kProviderName[] = "SCRSAVE";

}  // namespace

bool UsePasswordSet(HKEY desktopKey) {
  // Zeroed first: a stored value shorter than 4 bytes fills only the low bytes.
  DWORD usePassword = 0;
  DWORD size = sizeof(usePassword);
  const LONG result = RegQueryValueExA(desktopKey, kUsePasswordValue, nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&usePassword), &size);
  return result == ERROR_SUCCESS && usePassword != 0;
}

void LoadPasswordVerifier() {
  if (!isWin9x) return;
  if (passwordModule != nullptr) UnloadPasswordVerifier();
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, kDesktopKey, &key) != ERROR_SUCCESS) return;
  if (UsePasswordSet(key)) {
    passwordModule = LoadLibraryA(kVerifierLibrary);
    if (passwordModule != nullptr) {
      verifyPasswordFn = ProcAs<VerifyPasswordFn>(passwordModule, kVerifierFunction);
      if (verifyPasswordFn == nullptr) UnloadPasswordVerifier();
    }
  }
  RegCloseKey(key);
}

void UnloadPasswordVerifier() {
  if (!isWin9x || passwordModule == nullptr) return;
  FreeLibrary(passwordModule);
  passwordModule = nullptr;
  verifyPasswordFn = nullptr;
}

int ChangeSaverPassword(HWND owner) {
  HMODULE module = LoadLibraryA(kProviderLibrary);
  if (module == nullptr) return 0;
  if (auto change = ProcAs<ChangePasswordFn>(module, kChangeFunction)) {
    change(kProviderName, owner, 0, 0);
  }
  FreeLibrary(module);
  return 0;
}
