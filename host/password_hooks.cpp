// The 9x family's password hooks. Not built yet: no verifier is ever loaded, so the saver
// closes on the first input, and the password change shows nothing.
#include "host/password_hooks.h"

HMODULE passwordModule = nullptr;
VerifyPasswordFn verifyPasswordFn = nullptr;

void LoadPasswordVerifier() {}

void UnloadPasswordVerifier() {}

int ChangeSaverPassword(HWND) {
  return 0;
}
