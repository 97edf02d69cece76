// Shared by the graphics tests: the fixture every test uses, and a 24-bit surface of one colour
// to draw on whose pixels can be read back.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>

#include "graphics/gdi_guards.h"
#include "graphics/masked_bitmap.h"
#include "host/host_state.h"
#include "test_pictures.h"
#include "win32_pieces.h"

// Pictures load from this program's resources. Every test starts and must end with no picture
// alive, which also makes a leaked frame show up in the test that leaked it.
class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandleA(nullptr);
    ASSERT_EQ(liveCount, 0) << "an earlier test left pictures alive";
    DeleteSharedDc();
  }
  void TearDown() override {
    EXPECT_EQ(liveCount, 0) << "expected every picture of this test to be destroyed";
    DeleteSharedDc();
  }
};

constexpr COLORREF kWhite = RGB(255, 255, 255);

inline COLORREF PaletteColour(int index) {
  const test_pictures::Rgb rgb = test_pictures::PaletteEntry(index);
  return RGB(rgb.red, rgb.green, rgb.blue);
}

inline LPCSTR IdReference(int id) {
  return MAKEINTRESOURCEA(id);
}

// The id a picture stores in id form, or -1 if it holds a name.
inline int StoredId(const MaskedBitmap& picture) {
  if (picture.source[0] != 1) return -1;
  uint16_t id;
  std::memcpy(&id, picture.source + 1, sizeof(id));
  return id;
}

// A top-down 24-bit DIB section filled with one colour, selected into its own memory DC.
class Surface {
 public:
  Surface(int width, int height, COLORREF background = kWhite)
      : width(width), height(height), background(background) {
    const BITMAPINFO info = win32_pieces::TopDown(width, height, 24);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint8_t*>(pixels);
    dc = CreateCompatibleDC(nullptr);
    selection.emplace(dc, bitmap);
    for (int y = 0; bits != nullptr && y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint8_t* p = bits + size_t(stride) * y + 3 * x;
        p[0] = GetBValue(background);
        p[1] = GetGValue(background);
        p[2] = GetRValue(background);
      }
    }
  }
  ~Surface() {
    selection.reset();
    if (dc != nullptr) DeleteDC(dc);
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  bool Ready() const { return bits != nullptr && selection->Succeeded(); }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const uint8_t* p = bits + size_t(stride) * y + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  int CountChanged() const {
    int count = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) count += Pixel(x, y) != background;
    return count;
  }

  const int width;
  const int height;
  const COLORREF background;
  const int stride = (3 * width + 3) / 4 * 4;
  HDC dc = nullptr;

 private:
  HBITMAP bitmap = nullptr;
  uint8_t* bits = nullptr;
  std::optional<SelectionGuard> selection;
};
