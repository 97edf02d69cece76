// Functions that not every supported Windows exports, looked up at run time rather than
// imported: the loader refuses a file with an import it cannot resolve.
#pragma once
#include <windows.h>

// GetProcAddress typed as the export really is: on 32-bit a mismatched calling convention
// would unbalance the stack. The detour through void(*)() is the sanctioned cast between
// unrelated function pointer types.
template <typename Function>
Function ProcAs(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// user32's WINNLSEnableIME, which switches the input method off and on for the whole thread. It
// is documented for neither Windows 95 nor NT 4.0; where it is missing there is no input method
// to switch. Looked up at its first use; tests may put their own in its place.
using EnableImeFn = BOOL(WINAPI*)(HWND window, BOOL enable);
extern EnableImeFn enableIme;
void EnableInputMethod(bool enable);
