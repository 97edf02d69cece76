// Shared by the palette tests: the display depth, and the colours of the first character
// picture, from which the saver makes its palette on 256-colour displays.
#pragma once
#include <windows.h>

#include <vector>

inline int ScreenBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

// Picture 10000 of the given module as stored: its colour table and the index of its
// top-left pixel (the transparent colour). Empty if the picture is not an 8-bit bitmap.
struct StoredColours {
  std::vector<RGBQUAD> table;
  int transparentIndex = -1;
};

inline StoredColours ReadCharacterColours(HMODULE module) {
  StoredColours colours;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(10000), MAKEINTRESOURCEA(2));
  if (found == nullptr) return colours;
  const auto* info = static_cast<const BITMAPINFO*>(LockResource(LoadResource(module, found)));
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biBitCount != 8) return colours;
  const DWORD entries = header.biClrUsed != 0 ? header.biClrUsed : 256;
  colours.table.assign(info->bmiColors, info->bmiColors + entries);
  const auto* pixels = reinterpret_cast<const BYTE*>(info) + header.biSize + entries * 4;
  const int stride = (header.biWidth + 3) / 4 * 4;
  // Bottom-up rows: the top row is the last one stored.
  colours.transparentIndex = pixels[size_t(header.biHeight - 1) * size_t(stride)];
  return colours;
}
