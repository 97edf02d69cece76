// Every picture the product ships is in the executable's resources and loads through
// MaskedBitmap with its size and transparent index.
#include <string>
#include <vector>

#include "graphics_test_support.h"

namespace {

struct Expected {
  int id, width, height;
  uint8_t transparentIndex;
};

std::vector<Expected> MaskedProductPictures() {
  std::vector<Expected> pictures = {{106, 136, 136, 2}};
  for (int id = 7000; id <= 7010; ++id) pictures.push_back({id, 80, 80, 0});
  for (int series : {8000, 9000, 10000}) {
    for (int strip : {0, 100, 200}) {
      for (int frame = 0; frame < 15; ++frame) {
        pictures.push_back({series + strip + frame, 176, 176, 0});
      }
    }
  }
  return pictures;
}

TEST_F(GraphicsTest, EveryMaskedProductPictureLoadsWithItsSize) {
  for (const Expected& e : MaskedProductPictures()) {
    MaskedBitmap picture;
    ASSERT_EQ(picture.Load(IdReference(e.id)), 1) << "picture " << e.id << " does not load";
    EXPECT_TRUE(picture.width == e.width && picture.height == e.height)
        << "picture " << e.id << ": expected " << e.width << "x" << e.height << ", got "
        << picture.width << "x" << picture.height;
    EXPECT_EQ(picture.transparentIndex, e.transparentIndex) << "picture " << e.id;
    EXPECT_NE(picture.maskBitmap, nullptr) << "picture " << e.id;
  }
}

TEST_F(GraphicsTest, The24BitProductPictureLoadsUnmasked) {
  MaskedBitmap picture;
  picture.makeMask = 0;
  ASSERT_EQ(picture.Load(IdReference(104)), 1);
  EXPECT_EQ(picture.width, 340);
  EXPECT_EQ(picture.height, 230);
  EXPECT_EQ(picture.maskBitmap, nullptr);
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectA(picture.colourBitmap, sizeof(DIBSECTION), &section),
            int(sizeof(DIBSECTION)));
  EXPECT_EQ(section.dsBmih.biBitCount, 24);
}

}  // namespace
