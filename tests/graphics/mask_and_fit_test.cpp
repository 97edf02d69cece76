// The pure parts of MaskedBitmap: building a mask from stored pixel rows, and fitting a 4:3
// rectangle for stretched drawing.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/masked_bitmap.h"

namespace {

constexpr uint8_t T = 9;  // the transparent index in these cases
constexpr uint8_t o = 1;  // any opaque index

struct MaskCase {
  const char* what;
  int width;
  int height;
  std::vector<uint8_t> pixels;  // stored rows, bottom-up, each padded to 4 bytes
  std::vector<uint8_t> expected;
};

TEST(BuildMask, MarksTransparentPixelsTopRowFirstWithClearPadding) {
  const MaskCase cases[] = {
      {"width 1", 1, 1, {T, o, o, o}, {0x80, 0x00}},
      {"width 8", 8, 1, {T, T, T, T, T, T, T, T}, {0xFF, 0x00}},
      {"width 9", 9, 1, {T, T, T, T, T, T, T, T, T, o, o, o}, {0xFF, 0x80}},
      {"width 16", 16, 1, std::vector<uint8_t>(16, T), {0xFF, 0xFF}},
      {"width 17", 17, 1, std::vector<uint8_t>(20, T), {0xFF, 0xFF, 0x80, 0x00}},
      {"width 21", 21, 1, std::vector<uint8_t>(24, T), {0xFF, 0xFF, 0xF8, 0x00}},
      {"padding bytes are not pixels", 5, 1, {T, o, o, o, T, T, T, T}, {0x88, 0x00}},
      {"no transparent pixel", 3, 1, {o, o, o, T}, {0x00, 0x00}},
      {"bottom-up rows become top-down mask rows",
       2,
       3,
       {T, o, o, o, /**/ o, o, o, o, /**/ o, T, o, o},
       {0x40, 0x00, /**/ 0x00, 0x00, /**/ 0x80, 0x00}},
  };
  for (const MaskCase& c : cases) {
    ASSERT_EQ(c.pixels.size(), size_t(PixelRowBytes(c.width) * c.height)) << c.what;
    ASSERT_EQ(c.expected.size(), size_t(MaskRowBytes(c.width) * c.height)) << c.what;
    std::vector<uint8_t> mask(c.expected.size(), 0xAA);  // every byte must be written
    BuildMask(c.pixels.data(), c.width, c.height, T, mask.data());
    EXPECT_EQ(mask, c.expected) << c.what;
  }
}

TEST(FitFourByThree, CentresTheLargestFourByThreeRectangle) {
  struct Case {
    int x, y, w, h;
    RECT expected;
  };
  const Case cases[] = {
      {0, 0, 640, 400, {53, 0, 586, 400}},     // too wide: narrowed, moved right
      {0, 0, 640, 600, {0, 60, 640, 540}},     // too tall: shortened, moved down
      {0, 0, 640, 480, {0, 0, 640, 480}},      // already 4:3
      {5, 7, 641, 400, {59, 7, 592, 407}},     // offsets kept, odd width
      {10, 20, 100, 200, {10, 82, 110, 157}},  // 3*100/4 = 75 high
      {0, 0, 4, 2, {1, 0, 3, 2}},              // 4*2/3 = 2 wide
  };
  for (const Case& c : cases) {
    const RECT r = FitFourByThree(c.x, c.y, c.w, c.h);
    EXPECT_TRUE(EqualRect(&r, &c.expected))
        << "fitting (" << c.x << ", " << c.y << ", " << c.w << ", " << c.h << "): expected ("
        << c.expected.left << ", " << c.expected.top << ")-(" << c.expected.right << ", "
        << c.expected.bottom << "), got (" << r.left << ", " << r.top << ")-(" << r.right << ", "
        << r.bottom << ")";
  }
}

}  // namespace
