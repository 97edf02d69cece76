// Process-wide state of the saver host: written by the entry point and the saver window before
// any drawing starts, read by the stage and the graphics.
#pragma once
#include <windows.h>

extern HINSTANCE moduleInstance;
extern bool isWin9x;
extern bool isWindowed;
extern bool isPreview;
extern HWND saverWindow;
extern HWND parentWindow;
