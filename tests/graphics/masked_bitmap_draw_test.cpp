// What loading does to a picture's mask and colours, and what drawing it puts on a white
// surface, checked pixel by pixel against the patterns the test pictures were made from.
#include <string>
#include <vector>

#include "graphics_test_support.h"

namespace {

using test_pictures::Picture;

struct DrawCase {
  const Picture& picture;
  int makeMask;
  int x, y;
  COLORREF background;
};

TEST_F(GraphicsTest, DrawLeavesTransparentPixelsAndCopiesOpaqueOnes) {
  const COLORREF dark = RGB(0x20, 0x40, 0x60);  // shows a transparent colour left unblackened
  const DrawCase cases[] = {
      {test_pictures::kSquare, 1, 10, 12, kWhite},   {test_pictures::kSquare, 1, 10, 12, dark},
      {test_pictures::kSquare, 1, -20, -30, kWhite},  // partly off the target
      {test_pictures::kNarrow, 1, 3, 5, dark},        // rows with padding
      {test_pictures::kNarrow, 0, 3, 5, kWhite},      // no mask: copied whole
  };
  for (const DrawCase& c : cases) {
    const Picture& p = c.picture;
    SCOPED_TRACE("picture " + std::to_string(p.id) + " makeMask " + std::to_string(c.makeMask) +
                 " at " + std::to_string(c.x) + ", " + std::to_string(c.y) + " on 0x" +
                 std::to_string(c.background));
    Surface surface(200, 200, c.background);
    ASSERT_TRUE(surface.Ready());
    MaskedBitmap picture;
    picture.makeMask = c.makeMask;
    picture.SetSource(IdReference(p.id));
    ASSERT_EQ(picture.Draw(surface.dc, c.x, c.y), 1) << "expected Draw to load and draw";
    int mismatches = 0, blackOpaque = 0;
    for (int y = 0; y < surface.height; ++y) {
      for (int x = 0; x < surface.width; ++x) {
        const int px = x - c.x, py = y - c.y;
        COLORREF expected = c.background;
        if (px >= 0 && px < p.width && py >= 0 && py < p.height) {
          const uint8_t index = p.indexAt(px, py);
          if (!c.makeMask || index != p.transparentIndex) expected = PaletteColour(index);
          blackOpaque += expected == RGB(0, 0, 0);
        }
        const COLORREF got = surface.Pixel(x, y);
        if (got != expected && ++mismatches <= 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): expected 0x" << std::hex << expected
                        << ", got 0x" << got;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "pixels differing from the picture's pattern";
    EXPECT_GT(blackOpaque, 0) << "the case should cover black opaque pixels";
  }
}

TEST_F(GraphicsTest, MaskHasWordAlignedRowsWithTheTransparentPixelsSet) {
  struct Case {
    const Picture& picture;
    int rowBytes;
  };
  for (const Case& c : {Case{test_pictures::kSquare, 22}, Case{test_pictures::kNarrow, 4}}) {
    const Picture& p = c.picture;
    SCOPED_TRACE("picture " + std::to_string(p.id));
    MaskedBitmap picture;
    ASSERT_EQ(picture.Load(IdReference(p.id)), 1);
    EXPECT_EQ(picture.transparentIndex, p.transparentIndex) << "expected the top-left index";
    ASSERT_NE(picture.maskBitmap, nullptr);
    BITMAP mask = {};
    ASSERT_NE(GetObjectA(picture.maskBitmap, sizeof(mask), &mask), 0);
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(mask.bmWidth, p.width);
    EXPECT_EQ(mask.bmHeight, p.height);
    ASSERT_EQ(mask.bmWidthBytes, c.rowBytes);
    std::vector<uint8_t> bits(size_t(c.rowBytes) * p.height);
    ASSERT_EQ(GetBitmapBits(picture.maskBitmap, LONG(bits.size()), bits.data()), LONG(bits.size()));
    int mismatches = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        const bool set = bits[size_t(y) * c.rowBytes + x / 8] & (0x80 >> (x % 8));
        mismatches += set != (p.indexAt(x, y) == p.transparentIndex);
      }
    }
    EXPECT_EQ(mismatches, 0) << "expected set bits exactly where the transparent index is";
  }
}

TEST_F(GraphicsTest, LoadTurnsOnlyTheTransparentColourBlack) {
  for (int makeMask : {1, 0}) {
    SCOPED_TRACE("makeMask " + std::to_string(makeMask));
    MaskedBitmap picture;
    picture.makeMask = makeMask;
    ASSERT_EQ(picture.Load(IdReference(TEST_PICTURE_SQUARE)), 1);
    RGBQUAD table[256] = {};
    HDC dc = CreateCompatibleDC(nullptr);
    {
      SelectionGuard selection(dc, picture.colourBitmap);
      ASSERT_TRUE(selection.Succeeded()) << "expected the picture not to be left in sharedDc";
      ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 256u);
    }
    DeleteDC(dc);
    for (int i = 0; i < 256; ++i) {
      const COLORREF expected = makeMask && i == 37 ? RGB(0, 0, 0) : PaletteColour(i);
      EXPECT_EQ(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue), expected)
          << "colour table entry " << i;
    }
  }
}

TEST_F(GraphicsTest, ExportPaletteMarksEntriesNoCollapseAndZeroesTheTransparentOne) {
  MaskedBitmap picture;
  picture.SetSource(IdReference(TEST_PICTURE_SQUARE));
  PALETTEENTRY out[256];
  picture.ExportPalette(out);  // loads the picture first
  ASSERT_NE(picture.colourBitmap, nullptr);
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& e = out[i];
    if (i == 37) {
      EXPECT_TRUE(e.peRed == 0 && e.peGreen == 0 && e.peBlue == 0 && e.peFlags == 0)
          << "expected the transparent entry all zero";
      continue;
    }
    EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), PaletteColour(i)) << "entry " << i;
    EXPECT_EQ(e.peFlags, PC_NOCOLLAPSE) << "entry " << i;
  }
}

TEST_F(GraphicsTest, ExportPaletteWithNothingToLoadWritesNothing) {
  MaskedBitmap picture;
  PALETTEENTRY out[256];
  std::memset(out, 0xCD, sizeof(out));
  picture.ExportPalette(out);
  for (const PALETTEENTRY& e : out) ASSERT_EQ(e.peFlags, 0xCD) << "expected output untouched";
}

// The halves picture stretched: where its two colours and its edges land.
TEST_F(GraphicsTest, DrawStretchedFillsTheCentredFourByThreeRectangle) {
  struct Case {
    int w, h;
    RECT fitted;  // for a draw at (10, 10)
  };
  const Case cases[] = {
      {640, 400, {63, 10, 596, 410}},
      {640, 600, {10, 70, 650, 550}},
      {640, 480, {10, 10, 650, 490}},
  };
  const COLORREF left = PaletteColour(100), right = PaletteColour(150);
  for (const Case& c : cases) {
    SCOPED_TRACE("into " + std::to_string(c.w) + "x" + std::to_string(c.h));
    Surface surface(660, 620);
    ASSERT_TRUE(surface.Ready());
    MaskedBitmap picture;
    picture.SetSource(IdReference(TEST_PICTURE_HALVES));
    ASSERT_EQ(picture.DrawStretched(surface.dc, 10, 10, c.w, c.h), 1);
    const RECT& f = c.fitted;
    const int width = f.right - f.left, midY = (f.top + f.bottom) / 2;
    const int leftX = f.left + width / 4;
    struct Probe {
      int x, y;
      COLORREF expected;
      const char* where;
    };
    const Probe probes[] = {
        {f.left - 3, midY, kWhite, "left of the rectangle"},
        {f.left + 3, midY, left, "inside its left edge"},
        {f.left + 3 * width / 4, midY, right, "right half"},
        {f.right - 4, midY, right, "inside its right edge"},
        {f.right + 2, midY, kWhite, "right of the rectangle"},
        {leftX, f.top - 3, kWhite, "above the rectangle"},
        {leftX, f.top + 3, left, "inside its top edge"},
        {leftX, f.bottom - 4, left, "inside its bottom edge"},
        {leftX, f.bottom + 2, kWhite, "below the rectangle"},
        // HALFTONE blends neighbouring pixels; only the very corner is the top-left pixel alone,
        // and where the halves meet neither colour is shown pure.
        {f.left, f.top, kWhite, "the transparent top-left corner"},
        {f.left + width / 2 - 2, midY, CLR_INVALID, "a blend of the halves where they meet"},
    };
    for (const Probe& p : probes) {
      const COLORREF seen = surface.Pixel(p.x, p.y);
      const bool blend = GetRValue(seen) > GetRValue(left) && GetRValue(seen) < GetRValue(right);
      EXPECT_TRUE(p.expected == CLR_INVALID ? blend : seen == p.expected)
          << p.where << " (" << p.x << ", " << p.y << "): " << std::hex << seen;
    }
  }
}

}  // namespace
