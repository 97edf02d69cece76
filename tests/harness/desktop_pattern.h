// The known wallpaper of the stand-in desktop: tests compare captured pixels against it.
#pragma once
#include <windows.h>

// The wallpaper's colour at (x, y) of a width x height screen.
COLORREF DesktopPixel(int x, int y, int width, int height);
// Paints the whole wallpaper into dc.
void PaintDesktopPattern(HDC dc, int width, int height);
