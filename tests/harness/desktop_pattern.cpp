// The stand-in desktop's wallpaper: a diagonal colour field, light and dark bands, and discs,
// painted through a 24-bit DIB so that every pixel is exactly the computed colour.
#include "harness/desktop_pattern.h"

#include <vector>

#include "win32_pieces.h"

COLORREF DesktopPixel(int x, int y, int width, int height) {
  const int w = width > 1 ? width - 1 : 1;
  const int h = height > 1 ? height - 1 : 1;
  int r = 40 + 200 * x / w;
  int g = 60 + 150 * y / h;
  int b = 220 - 160 * (x + y) / (w + h);
  // Bands every 96 pixels: alternating light and dark, to see the dim on both.
  if ((y / 96) % 4 == 1) r = g = b = 235;
  if ((y / 96) % 4 == 3) r = g = b = 25;
  // A disc grid, one per 160 pixels.
  const int cx = x % 160 - 80, cy = y % 160 - 80;
  if (cx * cx + cy * cy < 30 * 30) {
    r = 250;
    g = 200 - (x / 160 % 3) * 60;
    b = 40 + (y / 160 % 3) * 90;
  }
  return RGB(r, g, b);
}

void PaintDesktopPattern(HDC dc, int width, int height) {
  const BITMAPINFO info = win32_pieces::TopDown(width, height);
  std::vector<DWORD> pixels(size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = DesktopPixel(x, y, width, height);
      pixels[size_t(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
}
