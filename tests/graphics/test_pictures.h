// Pictures only the graphics tests use. The resource script takes the ids from here; the
// generator that writes the files and the tests that check what gets drawn share the patterns,
// so a test can work out every pixel it expects.
#pragma once

#define TEST_PICTURE_SQUARE 20000   // 176x176, top-left index 37, scattered black opaque pixels
#define TEST_PICTURE_NARROW 20001   // 21x9: stored rows carry padding bytes
#define TEST_PICTURE_HALVES 20002   // 40x30: left half one colour, right half another
#define TEST_PICTURE_MISSING 20099  // in no resource script

#ifndef RC_INVOKED
#include <cstdint>

namespace test_pictures {

// The resource script also gives the narrow picture this name.
constexpr char kNarrowName[] = "TEST_PICTURE_NARROW_NAMED";
constexpr uint8_t kBlackIndex = 5;

struct Rgb {
  uint8_t red, green, blue;
};

// One palette for every test picture: no entry is white, only kBlackIndex is black.
inline Rgb PaletteEntry(int index) {
  if (index == kBlackIndex) return Rgb{0, 0, 0};
  return Rgb{uint8_t(index), uint8_t(255 - index), uint8_t(index * 53)};
}

inline uint8_t SquareIndex(int x, int y) {
  if ((x + y) % 7 == 0) return 37;
  if (x * y % 11 == 3) return kBlackIndex;
  return uint8_t(40 + (x + 3 * y) % 200);
}

inline uint8_t NarrowIndex(int x, int y) {
  if ((3 * x + y) % 5 == 0) return 200;
  if ((x + y) % 4 == 1) return kBlackIndex;
  return uint8_t(1 + (7 * x + 3 * y) % 150);
}

inline uint8_t HalvesIndex(int x, int y) {
  if (x == 0 && y == 0) return 0;
  return x < 20 ? 100 : 150;
}

struct Picture {
  int id;
  int width;
  int height;
  uint8_t transparentIndex;          // the top-left pixel's index
  uint8_t (*indexAt)(int x, int y);  // x, y from the top-left corner as seen
};

constexpr Picture kSquare{TEST_PICTURE_SQUARE, 176, 176, 37, SquareIndex};
constexpr Picture kNarrow{TEST_PICTURE_NARROW, 21, 9, 200, NarrowIndex};
constexpr Picture kHalves{TEST_PICTURE_HALVES, 40, 30, 0, HalvesIndex};
constexpr Picture kAll[] = {kSquare, kNarrow, kHalves};

}  // namespace test_pictures
#endif
