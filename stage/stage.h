// The stage: everything between the scene and the screen. It owns the off-screen surfaces, the
// one scene, the opening capture and dim, and the palette on 256-colour displays, and paints
// the saver window.
#pragma once
#include <windows.h>

#include "host/screen_layout.h"

namespace Stage {

// Before the saver window exists; 0 on failure. A full-screen or windowed saver gives the place
// of its window and the block's bounds; without them the stage covers the host window's client
// area, at 640 x 480 in the preview.
int Start(HWND hostWindow, const ScreenLayout* layout = nullptr);
int OnCreate(HWND window);                    // WM_CREATE; 0 on failure
void StepFrame();                             // one frame step, from the frame clock
void OnPaint(HWND window, HDC dc);            // WM_PAINT; dc from wParam, usually null
void OnEraseBackground(HWND window, HDC dc);  // WM_ERASEBKGND: the opening capture
void Shutdown(HWND window);                   // safe to repeat, window may be null
bool HasScene();
// Whether the opening's images were made: without them the clock runs over black.
bool HasOpeningImages();
bool HasPalette();
void RefreshPalette(HWND window);

}  // namespace Stage
