// MaskedBitmap's sources, what Load accepts and refuses, and the lifetime of the shared DC.
#include <string>

#include "faults/gdi_faults.h"
#include "graphics_test_support.h"

namespace {

void ExpectUnloaded(const MaskedBitmap& picture) {
  EXPECT_EQ(picture.colourBitmap, nullptr) << "expected no picture to remain";
  EXPECT_EQ(picture.maskBitmap, nullptr) << "expected no mask to remain";
  EXPECT_EQ(picture.width, 0);
  EXPECT_EQ(picture.height, 0);
}

TEST_F(GraphicsTest, LoadRefusesWhatItCannotMaskOrFind) {
  for (int id : {104 /* 24-bit */, TEST_PICTURE_MISSING}) {
    SCOPED_TRACE("id " + std::to_string(id));
    MaskedBitmap picture;
    picture.SetSource(IdReference(7000));
    EXPECT_EQ(picture.Load(IdReference(id)), 0);
    ExpectUnloaded(picture);
    EXPECT_EQ(StoredId(picture), 7000) << "a failed Load must keep the stored source";
  }
}

TEST_F(GraphicsTest, LoadStoresAnExplicitReferenceOnlyWhenItLoads) {
  MaskedBitmap picture;
  ASSERT_EQ(picture.Load(IdReference(8000)), 1);
  EXPECT_EQ(StoredId(picture), 8000);
  EXPECT_EQ(picture.Load(IdReference(7000)), 1) << "a loaded picture reports success";
  EXPECT_EQ(picture.width, 176) << "a loaded picture must ignore Load's argument";
  EXPECT_EQ(StoredId(picture), 8000) << "a loaded picture must not store Load's argument";
  picture.Release();
  ASSERT_EQ(picture.Load(nullptr), 1);
  EXPECT_EQ(picture.width, 176) << "expected the stored id 8000 to be loaded again";
}

TEST_F(GraphicsTest, StoredIdZeroLoadsNothingAndDrawsNothing) {
  Surface surface(40, 40);
  MaskedBitmap picture;
  EXPECT_EQ(StoredId(picture), 0);
  EXPECT_EQ(picture.Load(nullptr), 1);
  ExpectUnloaded(picture);
  EXPECT_EQ(picture.Draw(surface.dc, 0, 0), 0);
  EXPECT_EQ(picture.DrawStretched(surface.dc, 0, 0, 40, 30), 0);
  EXPECT_EQ(surface.CountChanged(), 0);
}

TEST_F(GraphicsTest, SetSourceKeepsAtMost255CharactersOfAName) {
  for (size_t length : {1u, 254u, 255u, 256u, 300u}) {
    std::string name;
    for (size_t i = 0; i < length; ++i) name += char('A' + i % 26);
    MaskedBitmap picture;
    picture.SetSource(name.c_str());
    EXPECT_EQ(std::string(picture.source), name.substr(0, 255))
        << "a name of " << length << " characters";
  }
}

TEST_F(GraphicsTest, SourcesSwitchBetweenNamesAndIds) {
  MaskedBitmap picture;
  picture.SetSource(test_pictures::kNarrowName);
  picture.SetSource(nullptr);  // changes nothing
  ASSERT_EQ(picture.Load(nullptr), 1);
  EXPECT_EQ(picture.width, test_pictures::kNarrow.width) << "expected the named picture";
  picture.Release();
  picture.SetSource(IdReference(TEST_PICTURE_SQUARE));
  ASSERT_EQ(picture.Load(nullptr), 1);
  EXPECT_EQ(picture.width, test_pictures::kSquare.width) << "expected the picture by id";
}

TEST_F(GraphicsTest, ReleaseKeepsSourceAndSettingsAndCanBeRepeated) {
  MaskedBitmap picture;
  picture.makeMask = 2;  // set, but not the value a reset would give
  ASSERT_EQ(picture.Load(IdReference(TEST_PICTURE_NARROW)), 1);
  picture.Release();
  picture.Release();
  ExpectUnloaded(picture);
  EXPECT_EQ(picture.transparentIndex, 200);
  EXPECT_EQ(picture.makeMask, 2);
  EXPECT_EQ(StoredId(picture), TEST_PICTURE_NARROW);
}

TEST_F(GraphicsTest, SharedDcLivesWhilePicturesDo) {
  ASSERT_EQ(sharedDc, nullptr);
  {
    MaskedBitmap first;
    EXPECT_NE(sharedDc, nullptr) << "the first picture creates sharedDc";
    const HDC created = sharedDc;
    {
      MaskedBitmap second;
      EXPECT_EQ(liveCount, 2);
      EXPECT_EQ(sharedDc, created) << "later pictures share it";
    }
    EXPECT_EQ(sharedDc, created) << "sharedDc stays while a picture lives";
  }
  EXPECT_EQ(sharedDc, nullptr) << "destroying the last picture deletes sharedDc";
  MaskedBitmap again;
  EXPECT_NE(sharedDc, nullptr) << "a new picture creates sharedDc again";
}

TEST_F(GraphicsTest, WithoutSharedDcPicturesLoadButDoNotDraw) {
  Surface surface(200, 200);
  MaskedBitmap picture;
  DeleteSharedDc();
  EXPECT_EQ(picture.Load(IdReference(TEST_PICTURE_SQUARE)), 1);
  EXPECT_NE(picture.maskBitmap, nullptr);
  EXPECT_EQ(picture.Draw(surface.dc, 0, 0), 0);
  EXPECT_EQ(picture.DrawStretched(surface.dc, 0, 0, 200, 150), 0);
  EXPECT_EQ(sharedDc, nullptr) << "drawing must not create sharedDc";
  EXPECT_EQ(surface.CountChanged(), 0);
}

TEST_F(GraphicsTest, SharedPaletteRemembersTheDcsOwnPaletteUntilDeleted) {
  LOGPALETTE logical = {0x300, 1, {{10, 20, 30, 0}}};
  HPALETTE first = CreatePalette(&logical);
  HPALETTE second = CreatePalette(&logical);
  SelectSharedPalette(first);
  ASSERT_NE(sharedDc, nullptr) << "selecting a palette creates sharedDc";
  const HGDIOBJ initial = GetStockObject(DEFAULT_PALETTE);
  EXPECT_EQ(sharedDcInitialPalette, initial);
  SelectSharedPalette(second);
  EXPECT_EQ(sharedDcInitialPalette, initial) << "only the first selection's replaced palette";
  EXPECT_EQ(GetCurrentObject(sharedDc, OBJ_PAL), second);
  ASSERT_GT(gdi_faults::Install(), 0);
  gdi_faults::Reset();
  RealizeSharedPalette();
  EXPECT_EQ(gdi_faults::Calls("RealizePalette"), 1) << "the selected palette is realized";
  DeleteSharedDc();
  RealizeSharedPalette();
  EXPECT_EQ(gdi_faults::Calls("RealizePalette"), 1) << "nothing to realize without sharedDc";
  EXPECT_EQ(sharedDc, nullptr);
  EXPECT_EQ(sharedDcInitialPalette, nullptr);
  DeleteObject(first);
  DeleteObject(second);
}

}  // namespace
