// The product's colour palette: one 256-entry table shared by the clock digits and all
// character frames, built from 16-step ramps so that anti-aliased edges between a
// material and the dark ink outline always find a close entry.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Ink: the outline colour of every drawn shape.
constexpr Rgb kInk{26, 20, 40};
constexpr Rgb kKeyGreen{0, 255, 0};

// Each ramp runs from ink (level 0) through shadow, base and light to a highlight
// (level 15). Levels are continuous when painting and snapped when quantizing.
enum class RampId {
  kGrey,    // neutral greys: eye whites, highlights
  kIce,     // clock digits
  kTeal,    // hour robot body
  kAmber,   // robot lamp, buttons, jet flames
  kCyan,    // robot eyes and screen glow
  kViolet,  // minute blob body
  kLeaf,    // blob sprout
  kRose,    // cheeks, mouths, tongues
  kOrange,  // second fox body
  kCream,   // fox muzzle, belly, dial faces
  kGold,    // stars and sparkles
  kSlate,   // robot limbs, monitor frame
  kCount
};

constexpr int kRampBase = 16;  // first index of the first ramp
constexpr int kRampSize = 16;
constexpr int kCubeBase = kRampBase + kRampSize * static_cast<int>(RampId::kCount);

Rgb RampColour(RampId ramp, double level);
int RampIndex(RampId ramp, int level);

// The 256 colours: 0 key green, 1..15 greys, ramps from 16, then a cube of dim colours
// that serves 256-colour displays showing a dimmed desktop.
const std::vector<Rgb>& MasterPalette();

// Nearest-colour lookup with a cache; index 0 (the transparent key) is never returned.
class Quantizer {
 public:
  explicit Quantizer(const std::vector<Rgb>& palette, int reservedIndex = 0);
  int Nearest(Rgb c);

 private:
  std::vector<Rgb> palette_;
  int reserved_;
  std::unordered_map<uint32_t, uint8_t> cache_;
};
