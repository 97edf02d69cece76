// The end-to-end driver: starts the built saver as a real process with an argument text, finds
// its window, reads screen pixels, sends input and collects the exit value.
#pragma once
#include <windows.h>

#include <string>

constexpr DWORD kNoExit = 0xDEADBEEF;

// The saver executable of this build, as a Windows path.
std::string SaverPath();

// Handles the driver's own window messages for a while (a preview host lives in the driver).
void PumpFor(DWORD milliseconds);

class SaverProcess {
 public:
  SaverProcess() = default;
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  bool Start(const std::string& arguments);
  // The saver's top-level or child window of class WindowsScreenSaverClass, or null.
  HWND FindSaverWindow(DWORD timeoutMs = 10000, HWND parent = nullptr);
  // The exit value, or kNoExit when the process is still running after the timeout.
  DWORD WaitExit(DWORD timeoutMs = 10000);
  bool Running();
  DWORD Id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_ = {};
};

// One pixel of the screen, as COLORREF.
COLORREF ScreenPixel(int x, int y);

// Input as a user gives it, through the system's input queue.
void SendKey(WORD virtualKey);
void SendClick();
void MoveCursorBy(int dx, int dy);
