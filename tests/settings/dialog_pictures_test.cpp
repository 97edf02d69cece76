// Which drawing of a dialog picture each display scale gets, and at what size.
#include <gtest/gtest.h>

#include "settings/dialog_pictures.h"

namespace {

struct ScaleCase {
  int dpi;
  SIZE area;           // the room the preview has
  SIZE aboutSize;      // the about picture at the DPI
  int aboutDrawing;    // the index of the drawing it is made from
  SIZE previewSize;    // the preview picture at the DPI, within the area
  int previewDrawing;  // the index of the drawing it is made from
};

TEST(DialogPictures, EachScaleGetsItsSizeFromTheNearestDrawingAtOrAboveIt) {
  const ScaleCase cases[] = {
      {96, {184, 200}, {340, 230}, 0, {136, 136}, 0},    // 100 %, as drawn
      {120, {230, 250}, {425, 288}, 1, {170, 170}, 1},   // 125 %, as drawn, halves rounded up
      {144, {276, 300}, {510, 345}, 2, {204, 204}, 2},   // 150 %
      {192, {368, 400}, {680, 460}, 3, {272, 272}, 3},   // 200 %
      {168, {322, 350}, {595, 403}, 3, {238, 238}, 3},   // 175 %: the 200 % drawing, smaller
      {100, {190, 210}, {354, 240}, 1, {142, 142}, 1},   // just above 100 %: the 125 % one
      {288, {552, 600}, {1020, 690}, 3, {408, 408}, 3},  // 300 %: the largest, enlarged
      {144, {150, 120}, {510, 345}, 2, {120, 120}, 0},   // an area too small: fitted, 100 %
      {144, {0, 300}, {510, 345}, 2, {0, 0}, 0},         // no area
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " DPI, area " + std::to_string(c.area.cx) + " x " +
                 std::to_string(c.area.cy));
    const SIZE about = PictureSizeAt(kAboutPicture, c.dpi);
    EXPECT_EQ(about.cx, c.aboutSize.cx);
    EXPECT_EQ(about.cy, c.aboutSize.cy);
    EXPECT_EQ(ChooseVariant(kAboutPicture, about), c.aboutDrawing);
    const SIZE preview = PictureSizeIn(kPreviewPicture, c.dpi, c.area);
    EXPECT_EQ(preview.cx, c.previewSize.cx);
    EXPECT_EQ(preview.cy, c.previewSize.cy);
    EXPECT_EQ(ChooseVariant(kPreviewPicture, preview), c.previewDrawing);
  }
}

}  // namespace
