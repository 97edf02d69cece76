// The 9x family's screen-saver password: the verifier asked before the full-screen saver may
// close, and the system's password change for the change-password switch. Both libraries are
// loaded by name at run time; on the NT family none of this is used.
#pragma once
#include <windows.h>

using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);

extern HMODULE passwordModule;
extern VerifyPasswordFn verifyPasswordFn;

void LoadPasswordVerifier();
void UnloadPasswordVerifier();
int ChangeSaverPassword(HWND owner);  // 0 always
