// Shared pieces of the end-to-end tests of the opening, the clock and the preview: the
// stand-in desktop, the brightness setting, dim-level arithmetic and the clock pictures.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "e2e/clock_reader.h"
#include "e2e/driver.h"
#include "e2e/scoped_registry_value.h"
#include "e2e/screen_image.h"

// Where the tests leave their screenshots: a "shots" folder beside the saver executable.
std::string ShotsFolder();

// The stand-in desktop program, showing its known wallpaper over the whole screen.
class StandInDesktop {
 public:
  StandInDesktop() = default;
  ~StandInDesktop();
  StandInDesktop(const StandInDesktop&) = delete;
  StandInDesktop& operator=(const StandInDesktop&) = delete;

  // Starts the program and waits until the wallpaper is on the screen.
  bool Show(DWORD timeoutMs = 15000);

 private:
  PROCESS_INFORMATION info_ = {};
};

// The wallpaper's colour at a screen position.
COLORREF WallpaperPixel(int x, int y);

// The saver's "Brightness" value, set for the lifetime of the object.
struct BrightnessSetting : ScopedRegistryValue {
  explicit BrightnessSetting(DWORD brightness)
      : ScopedRegistryValue("Software\\QUENDRA\\Lumora ScreenSaver\\Time", "Brightness") {
    SetNumber(brightness);
  }
};

// A colour dimmed to n thirty-seconds, every byte b becoming b * n / 32 truncated.
COLORREF ScaledColour(COLORREF colour, int n);
// The level n (0 to 32) at which full dims to seen, or -1 when no level gives it.
int DimLevelOf(COLORREF seen, COLORREF full);

// The saver's clock pictures, loaded once from the executable under test.
const ClockPictures& SaverClockPictures();
// Waits until the clock can be read off the screen (a picture taken while a frame is reaching the
// screen may hold none); an unfound reading after the timeout, and the picture read if asked.
ClockReading WaitForClock(DWORD timeoutMs = 20000, ScreenImage* screen = nullptr);

// The seconds since midnight of a local time.
int SecondOfDay(const SYSTEMTIME& time);

// Holds the 1 ms timer resolution, so that the tests' timestamps have that grain.
class TimerResolution {
 public:
  TimerResolution() { timeBeginPeriod(1); }
  ~TimerResolution() { timeEndPeriod(1); }
  TimerResolution(const TimerResolution&) = delete;
  TimerResolution& operator=(const TimerResolution&) = delete;
};

// Brings the saver's window to the front, presses a key through the input queue and returns
// the exit value (kNoExit if it keeps running).
DWORD EndWithKey(SaverProcess& saver);
