// The 9x family's screen-saver password: the verifier asked before the full-screen saver may
// close, and the system's password change for the change-password switch. Both libraries are
// loaded by name at run time; on the NT family none of this is used.
#pragma once
#include <windows.h>

// PASSWORD.CPL's VerifyScreenSavePwd: non-zero lets the saver close.
using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);
// MPR.DLL's PwdChangePasswordA: provider name, owner window and two reserved numbers.
using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD reserved1,
                                        DWORD reserved2);

extern HMODULE passwordModule;
extern VerifyPasswordFn verifyPasswordFn;

void LoadPasswordVerifier();
void UnloadPasswordVerifier();
int ChangeSaverPassword(HWND owner);  // 0 always

// Whether the open "Control Panel\Desktop" key asks for a password: its
// "ScreenSaveUsePassword" read as a 32-bit number into a zeroed buffer of 4 bytes. Any type is
// accepted; a longer value fails the read and counts as no password.
bool UsePasswordSet(HKEY desktopKey);
