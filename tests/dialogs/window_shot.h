// Pictures for the dialog tests: windows read off the screen once their painting has settled,
// the program's own bitmaps, and PNG files for a person to look at.
#pragma once
#include <windows.h>

#include <string>

#include "e2e/screen_image.h"

// The window's area once two captures a little apart agree, so that painting has finished;
// the last capture if they never do within the timeout.
ScreenImage CaptureSettled(HWND window, DWORD timeoutMs = 10000);

// Writes the area to a PNG file; the folder is made if it is missing. False on any failure.
bool SavePng(const ScreenImage& area, const std::string& windowsPath);

// A bitmap resource of this program as 0x00RRGGBB values, top row first; empty if missing.
ScreenImage PictureResource(int id);

// The build folder's "shots" folder, as a Windows path ending in a backslash.
std::string ShotsFolder();
