// The clock block as drawn: its size and each picture's top-left corner from the block's, y down.
// Written out here rather than read from the scene, so that a picture out of place is seen.
#pragma once

namespace block {
struct Offset {
  int x, y;
};
constexpr int kWidth = 534, kHeight = 194;
constexpr double kStep = 1.6;  // pixels per frame step
constexpr Offset kDigits[6] = {{6, 0}, {85, 0}, {185, 0}, {264, 0}, {364, 0}, {443, 0}};
constexpr Offset kColons[2] = {{134, 0}, {313, 0}};
constexpr Offset kCharacters[3] = {{0, 38}, {179, 38}, {358, 38}};
}  // namespace block
