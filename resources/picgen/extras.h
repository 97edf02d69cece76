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
// 136 x 136: a small monitor showing the clock.
IndexedImage MakePreviewPicture(const std::vector<Rgb>& palette);

// 340 x 230, 24 bits, on the about box's white.
RgbImage MakeAboutPicture();

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
