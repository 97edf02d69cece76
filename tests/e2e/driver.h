// The end-to-end driver: starts the built saver as a real process with an argument text, finds
// its window, reads screen pixels, sends input and collects the exit value.
#pragma once
#include <windows.h>

#include <string>

#include "both_builds.h"

constexpr DWORD kNoExit = 0xDEADBEEF;

// A Unix path of this build as a Windows path on drive Z:; the saver executable as one.
std::string WindowsPath(const std::string& unixPath);
std::string SaverPath();

// How long to wait for something the saver does: the time given, stretched by the factor in
// LUMORA_TIME_FACTOR where programs run slower than here (the 32-bit tests' emulated machine).
// Only waits are stretched, never what a test measures.
DWORD Patience(DWORD milliseconds);

// Handles the driver's own window messages for a while (a preview host lives in the driver).
void PumpFor(DWORD milliseconds);

// Whether the condition came to hold within the stretched timeout, the driver's messages pumped.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= Patience(timeoutMs)) return false;
    PumpFor(20);
  }
  return true;
}

// Lets the window handle what reached its queue before the call and what it posts itself in reply
// (a close, the close protocol's second pass); false once it is gone or stops answering.
bool Settle(HWND window);
// Wine answers GetCursorPos from its own record of the last cursor move for 100 ms after it, and
// from the display's pointer once they are over. The limit is Wine's own, counted by the clock the
// tests read, so this waits for a moment, not for something to be done: it is never stretched.
void WaitPastCursorRecord();
// Brings a window (of the top-level window it is in) to the front and lets it handle that.
bool BringToFront(HWND window);

// Starts a program; again if Wine fails it with ERROR_INTERNAL_ERROR, as it may on a busy machine.
bool StartProcess(const std::string& path, const std::string& arguments, PROCESS_INFORMATION* info);

class SaverProcess {
 public:
  SaverProcess() = default;
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  bool Start(const std::string& arguments);
  // Starts another executable, a copy of the saver in a folder of its own for example.
  bool StartProgram(const std::string& path, const std::string& arguments);
  // The saver's top-level or child window of class WindowsScreenSaverClass, or null. By default
  // only once it is shown: the saver shows it when WM_CREATE is done, which can take seconds
  // where programs run slowly, and takes the cursor's origin for the movement rule only then.
  HWND FindSaverWindow(DWORD timeoutMs = 10000, HWND parent = nullptr, bool shownOnly = true);
  // The exit value, or kNoExit when the process is still running after the timeout.
  DWORD WaitExit(DWORD timeoutMs = 10000);
  bool Running();
  DWORD Id() const { return info_.dwProcessId; }

 private:
  void Close();  // ends a process still running

  PROCESS_INFORMATION info_ = {};
};

// One pixel of the screen, as COLORREF.
COLORREF ScreenPixel(int x, int y);

// Input as a user gives it, through the system's input queue.
void SendKey(WORD virtualKey);
void SendClick();
// Takes the cursor to a screen point: the display's pointer and Wine's record of it (see README).
void SendCursorTo(POINT screen);
// Puts the cursor at a screen point before a saver starts, until the display's pointer is there.
void PlaceCursor(int x, int y);

// A visible top-level dialog (class #32770) of the process other than the one given, or null
// once the timeout has passed.
HWND FindProcessDialog(DWORD processId, DWORD timeoutMs = 10000, HWND other = nullptr);

// The rectangle around every monitor, in screen coordinates; the one monitor's on one.
RECT VirtualScreen();

// A mouse event at a screen point (a move, plus the given button flags), in SendInput's
// absolute coordinates.
INPUT AbsoluteMouseInput(POINT screen, DWORD buttonFlags);

// A left click at a screen point in which the down and up events carry the point themselves.
// A cursor move and a click sent apart travel apart, and under load a late cursor update from
// another process can move the cursor back before the click arrives.
void ClickAtPoint(POINT screen);
