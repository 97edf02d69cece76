// FrameStrip: ownership of its frames, numbering, loading in bulk, and indices out of range.
#include <string>

#include "graphics/frame_strip.h"
#include "graphics_test_support.h"

namespace {

TEST_F(GraphicsTest, CreateNumberedGivesConsecutiveSixteenBitIds) {
  struct Case {
    int n, firstId, expectedFirst;
  };
  for (const Case& c : {Case{15, 8000, 8000}, Case{2, 0x10000 + 8000, 8000}}) {
    FrameStrip strip;
    strip.CreateNumbered(c.n, c.firstId);
    ASSERT_EQ(strip.count, c.n);
    EXPECT_EQ(liveCount, c.n) << "expected one picture per frame";
    for (int i = 0; i < c.n; ++i) {
      EXPECT_EQ(StoredId(*strip.frames[i]), c.expectedFirst + i) << "frame " << i;
      EXPECT_EQ(strip.loaded[i], 0) << "frame " << i;
      EXPECT_EQ(strip.frames[i]->colourBitmap, nullptr) << "frames load lazily";
    }
  }
}

TEST_F(GraphicsTest, LoadAllTriesEveryFrameAndReportsAMissingOne) {
  const LPCSTR references[] = {IdReference(7000), IdReference(7001),
                               IdReference(TEST_PICTURE_MISSING), IdReference(7003),
                               IdReference(7004)};
  FrameStrip strip;
  ASSERT_EQ(strip.Create(5, references), 1);
  ASSERT_NE(strip.GetFrame(1), nullptr);
  EXPECT_EQ(strip.frames[1]->width, 80) << "GetFrame loads the frame it returns";
  EXPECT_EQ(strip.LoadAll(), 0);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(strip.frames[i]->colourBitmap != nullptr, i != 2) << "frame " << i;
  }
  MaskedBitmap* missing = strip.GetFrame(2);
  ASSERT_NE(missing, nullptr) << "GetFrame returns a frame that cannot load";
  EXPECT_EQ(missing->width, 0);
  strip.SetFrameSource(2, IdReference(7002));
  EXPECT_EQ(strip.LoadAll(), 1);
}

TEST_F(GraphicsTest, DrawFrameDrawsLoadableFramesAndRecordsLoading) {
  const LPCSTR references[] = {test_pictures::kNarrowName, IdReference(TEST_PICTURE_MISSING)};
  FrameStrip strip;
  ASSERT_EQ(strip.Create(2, references), 1);
  Surface surface(40, 40);
  EXPECT_EQ(strip.DrawFrame(surface.dc, 0, 0, 1), 1) << "a frame that cannot load is no error";
  EXPECT_EQ(strip.loaded[1], 0);
  EXPECT_EQ(surface.CountChanged(), 0);
  EXPECT_EQ(strip.DrawFrame(surface.dc, 2, 3, 0), 1);
  EXPECT_EQ(strip.loaded[0], 1);
  EXPECT_EQ(surface.Pixel(6, 3), PaletteColour(test_pictures::NarrowIndex(4, 0)))
      << "expected frame 0 drawn at (2, 3)";
}

TEST_F(GraphicsTest, IndicesOutOfRangeAreHarmless) {
  FrameStrip strip;
  strip.CreateNumbered(3, 7000);
  Surface surface(100, 100);
  for (int i : {-1, 3}) {
    SCOPED_TRACE("index " + std::to_string(i));
    EXPECT_EQ(strip.DrawFrame(surface.dc, 0, 0, i), 1);
    EXPECT_EQ(strip.GetFrame(i), nullptr);
    EXPECT_EQ(strip.LoadFrame(i), 1);
    strip.SetFrameSource(i, IdReference(8000));
  }
  EXPECT_EQ(surface.CountChanged(), 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(StoredId(*strip.frames[i]), 7000 + i) << "frame " << i << " must be unchanged";
    EXPECT_EQ(strip.frames[i]->colourBitmap, nullptr) << "frame " << i << " must stay unloaded";
  }
}

TEST_F(GraphicsTest, ExportPaletteComesFromTheFirstFrameOrNowhere) {
  PALETTEENTRY out[256];
  std::memset(out, 0xCD, sizeof(out));
  FrameStrip empty;
  empty.ExportPalette(out);
  for (const PALETTEENTRY& e : out) ASSERT_EQ(e.peFlags, 0xCD) << "expected output untouched";

  FrameStrip strip;
  strip.CreateNumbered(2, TEST_PICTURE_SQUARE);
  strip.ExportPalette(out);
  EXPECT_EQ(RGB(out[40].peRed, out[40].peGreen, out[40].peBlue), PaletteColour(40));
  EXPECT_EQ(out[37].peFlags, 0) << "expected frame 0's transparent entry";
  EXPECT_EQ(out[36].peFlags, PC_NOCOLLAPSE);
}

TEST_F(GraphicsTest, DestroyAndCreateAgainReleaseEveryFrame) {
  FrameStrip strip;
  strip.CreateNumbered(4, 7000);
  ASSERT_EQ(strip.LoadAll(), 1);
  ASSERT_EQ(strip.Create(2, nullptr), 1);
  EXPECT_EQ(liveCount, 2) << "creating again must destroy the previous frames";
  strip.Destroy();
  strip.Destroy();
  EXPECT_EQ(strip.count, 0);
  EXPECT_EQ(strip.frames, nullptr);
  EXPECT_EQ(strip.loaded, nullptr);
  EXPECT_EQ(strip.LoadAll(), 1);
  EXPECT_EQ(strip.GetFrame(0), nullptr);
}

}  // namespace
