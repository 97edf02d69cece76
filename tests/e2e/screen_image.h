// Pictures of the screen for the end-to-end tests: one BitBlt of the screen DC into memory, so
// that every pixel of a picture belongs to the same moment, and a BMP writer for screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ScreenImage {
  int left = 0, top = 0;  // screen position of pixel (0, 0)
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

  bool Empty() const { return pixels.empty(); }
  // The pixel at screen position (x, y) as COLORREF; CLR_INVALID outside the picture.
  COLORREF At(int x, int y) const;
  // The pixel at picture position (x, y) as 0x00RRGGBB, unchecked.
  uint32_t Rgb(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // The same pixels, wherever on the screen they were taken.
  bool operator==(const ScreenImage& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
};

// Copies a rectangle of the screen (the whole screen by default) in one blit.
ScreenImage CaptureScreenImage();
ScreenImage CaptureScreenImage(int left, int top, int width, int height);

// Writes a 32-bit top-down BMP; false when the file cannot be written.
bool SaveBmp(const ScreenImage& image, const std::string& path);
