// The entry point's work: probe the Windows family, read the switch from the argument text and
// run the mode it selects. The actions are passed in, so that the scanning can be driven by
// tests without opening windows.
#pragma once
#include <windows.h>

#include <cstdint>

struct HostActions {
  int (*runSettingsDialog)(HWND owner);
  int (*runSaverWindow)(HWND host);
  int (*changeSaverPassword)(HWND owner);
  BOOL(WINAPI* isWindow)(HWND window);
  HWND(WINAPI* getForegroundWindow)();
};

// The real actions: the settings dialog, the saver window and the password change.
HostActions SystemHostActions();

// Reads decimal digits from text until the first other character; wraps modulo 2^32.
uint32_t ParseDecimal(const char* text);

// The argument text within a full command line: what follows the program's own name (a quoted
// name ends at its closing quote, a bare one at the first space or tab), without the spaces and
// tabs after the name. The runtime's own version of this also drops control characters and bytes
// from 0x80 up, which would turn texts such as "\xA0s" into a switch.
const char* ArgumentText(const char* commandLine);

// Scans the argument text for the switch, sets isWindowed and isPreview, runs the action and
// returns the exit value.
int RunCommandLine(const char* arguments, const HostActions& actions);

// True when the system reports the 9x family.
bool ProbeWin9x();

// Converts a number read from the command line to a window handle on either word size.
inline HWND HandleFromNumber(uint32_t value) {
  return static_cast<HWND>(ULongToHandle(value));
}
