// A memory DC over a top-down 32-bit DIB section whose pixels the tests read directly, with
// pixel-by-pixel comparisons that name the first pixel that differs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "win32_pieces.h"

class TestSurface {
 public:
  TestSurface(int w, int h) : width(w), height(h) {
    const BITMAPINFO info = win32_pieces::TopDown(w, h);
    void* data = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &data, nullptr, 0);
    bits = static_cast<uint32_t*>(data);
    previous = SelectObject(dc, bitmap);
  }
  ~TestSurface() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  TestSurface(const TestSurface&) = delete;
  TestSurface& operator=(const TestSurface&) = delete;

  bool Valid() const { return dc != nullptr && bits != nullptr; }
  // Callers flush GDI before reading, as a DIB section's bits may lag behind queued calls.
  uint32_t Pixel(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
  void Fill(uint32_t colour) {
    GdiFlush();
    for (int i = 0; i < width * height; ++i) bits[i] = colour;
  }
  // A pattern in which no two nearby pixels are alike, so a copy from a wrong place shows.
  void FillPattern() {
    GdiFlush();
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) bits[y * width + x] = (x * 7 + y * 131) * 2654435761u >> 8;
    }
  }
  void CopyFrom(const TestSurface& other) {
    BitBlt(dc, 0, 0, width, height, other.dc, 0, 0, SRCCOPY);
  }

  int width, height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* bits = nullptr;
};

inline bool Inside(const std::vector<RECT>& rects, int x, int y) {
  for (const RECT& r : rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

// Empty when target shows source inside the rectangles and still the colour kept elsewhere.
inline std::string OnlyRectsCopied(const TestSurface& target, const TestSurface& source,
                                   uint32_t kept, const std::vector<RECT>& rects) {
  GdiFlush();
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      const bool copied = Inside(rects, x, y);
      const uint32_t expected = copied ? source.Pixel(x, y) : kept;
      if (target.Pixel(x, y) != expected) {
        std::ostringstream out;
        out << "pixel (" << x << ", " << y << ") is " << std::hex << target.Pixel(x, y)
            << ", expected " << expected << (copied ? " (copied)" : " (untouched)");
        return out.str();
      }
    }
  }
  return "";
}

// Empty when both surfaces, of one size, hold the same pixels, else where they first differ.
inline std::string FirstDifference(const TestSurface& actual, const TestSurface& expected) {
  return OnlyRectsCopied(actual, expected, 0, {{0, 0, expected.width, expected.height}});
}
