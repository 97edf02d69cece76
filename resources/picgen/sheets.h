// Review sheets: every picture on a checkerboard with its id, and the clock block
// composed from the real pictures over light and dark desktops.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "image.h"
#include "pose.h"

struct PictureSet {
  std::vector<IndexedImage> digits;  // 0..9, then the colon
  std::map<std::pair<Character, Strip>, std::vector<IndexedImage>> frames;
  IndexedImage preview;
  IndexedImage icon;
  RgbImage about;
};

RgbImage MakeContactSheet(const PictureSet& set);
RgbImage MakeClockPreview(const PictureSet& set);
