// Screen pictures through a 32-bit DIB section, and their BMP files.
#include "e2e/screen_image.h"

#include <cstdio>

#include "win32_pieces.h"

COLORREF ScreenImage::At(int x, int y) const {
  x -= left;
  y -= top;
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const uint32_t p = pixels[size_t(y) * width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

ScreenImage CaptureScreenImage() {
  return CaptureScreenImage(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

ScreenImage CaptureScreenImage(int left, int top, int width, int height) {
  ScreenImage image;
  if (width <= 0 || height <= 0) return image;
  const BITMAPINFO info = win32_pieces::TopDown(width, height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory != nullptr && bitmap != nullptr && bits != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY)) {
      GdiFlush();
      const auto* words = static_cast<const uint32_t*>(bits);
      image.pixels.assign(words, words + size_t(width) * height);
      for (uint32_t& p : image.pixels) p &= 0x00FFFFFFu;
      image.left = left;
      image.top = top;
      image.width = width;
      image.height = height;
    }
    SelectObject(memory, old);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

bool SaveBmp(const ScreenImage& image, const std::string& path) {
  if (image.Empty()) return false;
  const BITMAPINFOHEADER header = win32_pieces::TopDown(image.width, image.height).bmiHeader;
  const DWORD dataSize = DWORD(image.pixels.size() * 4);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + dataSize;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
            std::fwrite(&header, sizeof(header), 1, out) == 1 &&
            std::fwrite(image.pixels.data(), dataSize, 1, out) == 1;
  ok = std::fclose(out) == 0 && ok;
  return ok;
}
