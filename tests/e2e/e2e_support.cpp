// The stand-in desktop process and the dim arithmetic.
#include "e2e/e2e_support.h"

#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "harness/desktop_pattern.h"

namespace {

BOOL CALLBACK CloseDesktopWindow(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == DWORD(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

bool WallpaperShowing() {
  const int points[][2] = {{5, 5}, {500, 120}, {1000, 700}, {80, 80}, {700, 300}};
  for (const auto& p : points) {
    if (ScreenPixel(p[0], p[1]) != WallpaperPixel(p[0], p[1])) return false;
  }
  return true;
}

}  // namespace

std::string ShotsFolder() {
  std::string folder = SaverPath();
  folder.erase(folder.find_last_of('\\') + 1);
  folder += "shots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

StandInDesktop::~StandInDesktop() {
  if (info_.hProcess == nullptr) return;
  EnumWindows(CloseDesktopWindow, LPARAM(info_.dwProcessId));
  if (WaitForSingleObject(info_.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool StandInDesktop::Show(DWORD timeoutMs) {
  if (!StartProcess(WindowsPath(LUMORA_DESKTOP_PATH), "show", &info_)) return false;
  return WaitUntil(WallpaperShowing, timeoutMs);
}

COLORREF WallpaperPixel(int x, int y) {
  // Asked once: under Wine every system-metrics query is a trip to the display driver, and
  // whole-screen comparisons ask for every pixel.
  static const int width = GetSystemMetrics(SM_CXSCREEN);
  static const int height = GetSystemMetrics(SM_CYSCREEN);
  return DesktopPixel(x, y, width, height);
}

COLORREF ScaledColour(COLORREF colour, int n) {
  return RGB(GetRValue(colour) * n / 32, GetGValue(colour) * n / 32, GetBValue(colour) * n / 32);
}

int DimLevelOf(COLORREF seen, COLORREF full) {
  for (int n = 32; n >= 0; --n) {
    if (ScaledColour(full, n) == seen) return n;
  }
  return -1;
}

const ClockPictures& SaverClockPictures() {
  static ClockPictures pictures;
  if (!pictures.loaded) LoadClockPictures(SaverPath(), pictures);
  return pictures;
}

ClockReading WaitForClock(DWORD timeoutMs, ScreenImage* screen) {
  ClockReading reading;
  ScreenImage image;
  WaitUntil(
      [&] {
        return (reading = ReadClock(image = CaptureScreenImage(), SaverClockPictures())).found;
      },
      timeoutMs);
  if (screen != nullptr) *screen = std::move(image);
  return reading;
}

int SecondOfDay(const SYSTEMTIME& time) {
  return (time.wHour * 60 + time.wMinute) * 60 + time.wSecond;
}

DWORD EndWithKey(SaverProcess& saver) {
  HWND window = saver.FindSaverWindow(3000);
  EXPECT_TRUE(window == nullptr || BringToFront(window))
      << "the foreground window is " << GetForegroundWindow();
  SendKey(VK_SPACE);
  return saver.WaitExit();
}
