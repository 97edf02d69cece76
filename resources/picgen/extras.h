// The still pictures: settings-dialog preview, about-box picture and the icon.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "image.h"
#include "pose.h"

// The preview's own table: the master palette with entries 0 and 2 swapped, so that
// index 2 is the green transparent key.
constexpr uint8_t kPreviewTransparentIndex = 2;
std::vector<Rgb> PreviewPalette();
// The dialogs' two pictures are drawn at 100 % and again for displays scaled to these
// percentages (the resource ids of each are in resources/resource_ids.h).
struct DialogScale {
  int percent;
  int aboutId;
  int previewId;
};
extern const DialogScale kDialogScales[4];
// A length of a 100 % picture at the percentage, rounded as the program rounds it.
int ScaledLength(int length, int percent);

// 136 x 136 at 100 %: a small monitor showing the clock.
IndexedImage MakePreviewPicture(const std::vector<Rgb>& palette, int percent = 100);

// 340 x 230 at 100 %, 24 bits, on the about box's white.
RgbImage MakeAboutPicture(int percent = 100);

// Masked icon pixels must be black in the colour image, so index 0 is black here.
constexpr uint8_t kIconTransparentIndex = 0;
std::vector<Rgb> IconPalette();
// 32 x 32: the hour robot's head.
IndexedImage MakeIconPicture(const std::vector<Rgb>& palette);

// Draws the whole clock (digits, colons, characters) with vector shapes, for small
// renderings of it. hhmmss: six digit characters; placement maps block coordinates
// into the canvas.
void DrawClockScene(Canvas& canvas, const Affine& placement, const std::string& hhmmss,
                    const Pose& hour, const Pose& minute, const Pose& second);
