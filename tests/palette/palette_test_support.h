// Shared by the palette tests and by others that compare the screen with a picture: the display
// depth, and 8-bit pictures as stored, such as 10000, whose colours the saver's palette takes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

inline int ScreenBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

// An 8-bit picture as stored: its colour table, and its palette indices top row first, of which
// the top-left pixel's is the transparent colour. Empty if the picture is not an 8-bit bitmap.
struct StoredPicture {
  int width = 0, height = 0;
  std::vector<RGBQUAD> table;
  std::vector<BYTE> indices;

  int TransparentIndex() const { return indices.empty() ? -1 : indices[0]; }
  BYTE IndexAt(int x, int y) const { return indices[size_t(y) * width + x]; }
  // A table entry as the screen reads it, 0xRRGGBB.
  uint32_t Rgb(int index) const {
    const RGBQUAD& c = table[index];
    return uint32_t(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue;
  }
};

inline StoredPicture ReadStoredPicture(HMODULE module, int id) {
  StoredPicture picture;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
  if (found == nullptr) return picture;
  const auto* info = static_cast<const BITMAPINFO*>(LockResource(LoadResource(module, found)));
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biBitCount != 8) return picture;
  const DWORD entries = header.biClrUsed != 0 ? header.biClrUsed : 256;
  picture.table.assign(info->bmiColors, info->bmiColors + entries);
  const auto* pixels = reinterpret_cast<const BYTE*>(info) + header.biSize + entries * 4;
  picture.width = header.biWidth;
  picture.height = header.biHeight;
  const size_t stride = (picture.width + 3) / 4 * 4;
  // Bottom-up rows: the top row is the last one stored.
  for (int y = picture.height - 1; y >= 0; --y) {
    picture.indices.insert(picture.indices.end(), pixels + y * stride,
                           pixels + y * stride + picture.width);
  }
  return picture;
}
