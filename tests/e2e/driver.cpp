// The end-to-end driver's process, window, pixel and input helpers.
#include "e2e/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string SaverPath() {
  return WindowsPath(LUMORA_SCR_PATH);
}

DWORD Patience(DWORD milliseconds) {
  static const DWORD factor = [] {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("LUMORA_TIME_FACTOR", value, sizeof(value));
    const unsigned long f =
        length > 0 && length < sizeof(value) ? std::strtoul(value, nullptr, 10) : 1;
    return f > 0 ? static_cast<DWORD>(f) : 1;
  }();
  return milliseconds * factor;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

bool Settle(HWND window) {
  // A sent message is handled at the loop's next look at its queue, and each pass of the loop
  // takes one posted or input message: the first round ends the pass under way, each other one
  // proves the next message handled. Nothing else tells from outside that a queue is empty; the
  // longest chain a test waits through is three messages: the input, the close it posts and the
  // close protocol's second pass, which destroys the window.
  DWORD_PTR answer = 0;
  for (int round = 0; round < 4; ++round) {
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, Patience(10000), &answer))
      return false;
  }
  return true;
}

bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == GetAncestor(window, GA_ROOT); }) &&
         Settle(window);
}

SaverProcess::~SaverProcess() {
  Close();
}

void SaverProcess::Close() {
  if (info_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

bool SaverProcess::Start(const std::string& arguments) {
  return StartProgram(SaverPath(), arguments);
}

namespace {
// A window of one process and one class, optionally visible and other than a given one.
struct WindowSearch {
  DWORD processId;
  const char* className;
  bool visibleOnly;
  HWND other;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof(className));
  if (owner == search->processId && window != search->other &&
      (!search->visibleOnly || IsWindowVisible(window)) &&
      lstrcmpA(className, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND SaverProcess::FindSaverWindow(DWORD timeoutMs, HWND parent, bool shownOnly) {
  WindowSearch search = {info_.dwProcessId, "WindowsScreenSaverClass", shownOnly, nullptr, nullptr};
  WaitUntil(
      [&] {
        const LPARAM data = reinterpret_cast<LPARAM>(&search);
        parent != nullptr ? EnumChildWindows(parent, MatchWindow, data)
                          : EnumWindows(MatchWindow, data);
        return search.found != nullptr || !Running();
      },
      timeoutMs);
  return search.found;
}

DWORD SaverProcess::WaitExit(DWORD timeoutMs) {
  if (!WaitUntil([&] { return !Running(); }, timeoutMs)) return kNoExit;
  DWORD code = kNoExit;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

bool SaverProcess::Running() {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void SendKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void SendClick() {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void SendCursorTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT input = AbsoluteMouseInput(screen, 0);
  SendInput(1, &input, sizeof(INPUT));
}

void WaitPastCursorRecord() {
  PumpFor(150);
}

void PlaceCursor(int x, int y) {
  POINT at = {};
  const bool placed = WaitUntil(
      [&] {
        // From a point beside it: Wine asks the display to move the pointer only when its own
        // record changes, and that may already say (x, y) when the display refused a move.
        SetCursorPos(x + 1, y);
        SendCursorTo({x, y});
        WaitPastCursorRecord();
        return GetCursorPos(&at) && at.x == x && at.y == y;
      },
      10000);
  EXPECT_TRUE(placed) << "the cursor was to go to " << x << "," << y << " but stays at " << at.x
                      << "," << at.y;
}

bool StartProcess(const std::string& path, const std::string& arguments,
                  PROCESS_INFORMATION* info) {
  std::string commandLine = "\"" + path + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  DWORD error = ERROR_INTERNAL_ERROR;
  for (int attempt = 0; attempt < 3 && error == ERROR_INTERNAL_ERROR; ++attempt) {
    if (CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, info))
      return true;
    error = GetLastError();
  }
  ADD_FAILURE() << "could not start " << commandLine << ": error " << error;
  return false;
}

bool SaverProcess::StartProgram(const std::string& path, const std::string& arguments) {
  Close();
  return StartProcess(path, arguments, &info_);
}

HWND FindProcessDialog(DWORD processId, DWORD timeoutMs, HWND other) {
  WindowSearch search = {processId, "#32770", true, other, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

RECT VirtualScreen() {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

INPUT AbsoluteMouseInput(POINT screen, DWORD buttonFlags) {
  // Absolute positions are in 65536ths of the virtual screen, counted from its top-left corner;
  // rounding up keeps the pixel.
  const RECT desk = VirtualScreen();
  const LONG width = desk.right - desk.left, height = desk.bottom - desk.top;
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = LONG((LONGLONG(screen.x - desk.left) * 65536 + width - 1) / width);
  input.mi.dy = LONG((LONGLONG(screen.y - desk.top) * 65536 + height - 1) / height);
  input.mi.dwFlags =
      buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  return input;
}

void ClickAtPoint(POINT screen) {
  INPUT inputs[2] = {AbsoluteMouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                     AbsoluteMouseInput(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(2, inputs, sizeof(INPUT));
}
