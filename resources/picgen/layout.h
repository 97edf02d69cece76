// Where the pictures sit inside the clock block, and the part of the block that
// drawn pixels may use. Both the sheets and the generator's own margin check use it.
#pragma once

#include <string>

#include "image.h"
#include "pose.h"

constexpr int kBlockWidth = 534;
constexpr int kBlockHeight = 194;
constexpr int kDigitX[6] = {6, 85, 185, 264, 364, 443};
constexpr int kDigitY = 0;
constexpr int kColonX[2] = {134, 313};
constexpr int kCharacterX[3] = {0, 179, 358};  // hour, minute, second
constexpr int kCharacterY = 38;

// Inclusive block area for opaque pixels.
constexpr int kSafeLeft = 7;
constexpr int kSafeTop = 2;
constexpr int kSafeRight = kBlockWidth - 1 - 13;
constexpr int kSafeBottom = kBlockHeight - 1 - 4;

inline int CharacterX(Character who) {
  return kCharacterX[who == Character::kHour ? 0 : who == Character::kMinute ? 1 : 2];
}

// Empty when every opaque pixel of the picture, placed at (x, y), lies in the safe
// area; otherwise a description of the first offending pixel.
inline std::string SafeAreaProblem(const IndexedImage& image, int x, int y, uint8_t transparent) {
  for (int py = 0; py < image.height; ++py) {
    for (int px = 0; px < image.width; ++px) {
      if (image.At(px, py) == transparent) continue;
      int bx = x + px, by = y + py;
      if (bx < kSafeLeft || bx > kSafeRight || by < kSafeTop || by > kSafeBottom) {
        return "pixel (" + std::to_string(px) + "," + std::to_string(py) + ") lands at block (" +
               std::to_string(bx) + "," + std::to_string(by) + ")";
      }
    }
  }
  return "";
}
