// Pictures of the screen for the dialog tests: a rectangle of the screen read back as pixels,
// and saved as a PNG file for a person to look at.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A rectangle of the screen as 0x00RRGGBB values, top row first.
struct ScreenArea {
  RECT rect = {};
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  bool operator==(const ScreenArea& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
};

ScreenArea CaptureArea(const RECT& screenRect);

// The window's area once two captures a little apart agree, so that painting has finished;
// the last capture if they never do within the timeout.
ScreenArea CaptureSettled(HWND window, DWORD timeoutMs = 10000);

// Writes the area to a PNG file; the folder is made if it is missing. False on any failure.
bool SavePng(const ScreenArea& area, const std::string& windowsPath);

// A bitmap resource of this program as 0x00RRGGBB values, top row first; empty if missing.
ScreenArea PictureResource(int id);

// The build folder's "shots" folder, as a Windows path ending in a backslash.
std::string ShotsFolder();
