// Reads the saver's clock off the screen: finds the roaming block by its two colons and reads
// the six digits by matching each digit cell against the saver's own digit pictures, loaded
// from the executable's resources. Only pixels that no later-drawn picture (a digit over a
// colon, a character over a digit) can ever cover are compared, so the reading does not depend
// on which character frame is showing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "e2e/screen_image.h"

// One 8-bit resource picture as colours; transparent pixels (the top-left pixel's palette index)
// are -1, the others 0x00RRGGBB.
struct PicturePixels {
  int width = 0, height = 0;
  std::vector<int32_t> colours;

  bool Opaque(int x, int y) const { return colours[size_t(y) * width + x] >= 0; }
  int32_t Colour(int x, int y) const { return colours[size_t(y) * width + x]; }
};

struct ClockPictures {
  PicturePixels digits[10];
  PicturePixels colon;
  // Per block pixel, the last draw-list entry that can paint it (0-1 colons, 2-7 digits,
  // 8-10 characters), or -1 where nothing ever paints.
  std::vector<int8_t> lastDrawer;
  bool loaded = false;
};

// Loads the digit, colon and character pictures from the saver executable at saverPath (a
// Windows path) without running it.
bool LoadClockPictures(const std::string& saverPath, ClockPictures& pictures);

struct ClockReading {
  bool found = false;  // the block and all six digits were recognised
  int blockX = 0, blockY = 0;
  int digits[6] = {};

  int Hour() const { return digits[0] * 10 + digits[1]; }
  int Minute() const { return digits[2] * 10 + digits[3]; }
  int Second() const { return digits[4] * 10 + digits[5]; }
  int SecondOfDay() const { return (Hour() * 60 + Minute()) * 60 + Second(); }
};

// Finds the block's top-left corner (whole pixels, screen coordinates); false when no block is
// on the picture.
bool FindClockBlock(const ScreenImage& image, const ClockPictures& pictures, int* x, int* y);
// Finds the block and reads its digits.
ClockReading ReadClock(const ScreenImage& image, const ClockPictures& pictures);

// Checks that every digit can be told from every other on the pixels the reader compares in
// each digit cell; on failure says which pair cannot.
bool DigitsDistinguishable(const ClockPictures& pictures, std::string* problem);
