// Builds the master palette from ramp definitions.
#include "palette.h"

#include <array>
#include <cmath>

#include "geometry.h"

namespace {

struct RampStops {
  Rgb shadow, base, light, highlight;
};

// Level positions of the control colours inside a ramp (ink sits at level 0).
constexpr double kShadowLevel = 4.0;
constexpr double kBaseLevel = 9.0;
constexpr double kLightLevel = 13.0;
constexpr double kHighlightLevel = 15.0;

const std::array<RampStops, static_cast<int>(RampId::kCount)> kRamps = {{
    {{62, 60, 74}, {140, 138, 152}, {214, 212, 222}, {255, 255, 255}},    // grey
    {{38, 50, 92}, {112, 140, 196}, {206, 224, 248}, {255, 255, 255}},    // ice
    {{18, 88, 100}, {36, 168, 170}, {118, 220, 206}, {214, 255, 240}},    // teal
    {{124, 62, 12}, {240, 150, 32}, {255, 202, 92}, {255, 246, 204}},     // amber
    {{12, 62, 94}, {40, 170, 232}, {140, 230, 255}, {236, 255, 255}},     // cyan
    {{72, 42, 124}, {142, 92, 212}, {192, 152, 242}, {242, 226, 255}},    // violet
    {{42, 92, 44}, {94, 170, 72}, {162, 214, 112}, {232, 250, 200}},      // leaf
    {{122, 40, 72}, {232, 100, 132}, {255, 162, 182}, {255, 226, 236}},   // rose
    {{142, 60, 22}, {246, 132, 42}, {255, 186, 102}, {255, 240, 212}},    // orange
    {{150, 120, 92}, {246, 226, 190}, {255, 246, 226}, {255, 255, 250}},  // cream
    {{140, 100, 4}, {250, 200, 42}, {255, 236, 122}, {255, 255, 232}},    // gold
    {{52, 60, 82}, {102, 116, 142}, {162, 176, 196}, {232, 236, 246}},    // slate
}};

Rgb MixRgb(Rgb a, Rgb b, double t) {
  auto ch = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(Mix(x, y, t))); };
  return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

int ColourDistance(Rgb a, Rgb b) {
  // Weighted for perceived brightness: green matters most, blue least.
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

Rgb RampColour(RampId ramp, double level) {
  const RampStops& s = kRamps[static_cast<int>(ramp)];
  level = Clamp(level, 0.0, 15.0);
  if (level < kShadowLevel) return MixRgb(kInk, s.shadow, level / kShadowLevel);
  if (level < kBaseLevel) {
    return MixRgb(s.shadow, s.base, (level - kShadowLevel) / (kBaseLevel - kShadowLevel));
  }
  if (level < kLightLevel) {
    return MixRgb(s.base, s.light, (level - kBaseLevel) / (kLightLevel - kBaseLevel));
  }
  return MixRgb(s.light, s.highlight, (level - kLightLevel) / (kHighlightLevel - kLightLevel));
}

int RampIndex(RampId ramp, int level) {
  return kRampBase + static_cast<int>(ramp) * kRampSize + std::max(0, std::min(15, level));
}

static_assert(kCubeBase + 4 * 4 * 3 == 256, "palette must have exactly 256 entries");

const std::vector<Rgb>& MasterPalette() {
  static const std::vector<Rgb> palette = [] {
    std::vector<Rgb> p(256);
    p[0] = kKeyGreen;
    for (int i = 1; i < kRampBase; ++i) {
      p[i] = MixRgb(Rgb{10, 8, 16}, Rgb{255, 255, 255}, (i - 1) / 14.0);
    }
    for (int r = 0; r < static_cast<int>(RampId::kCount); ++r) {
      for (int l = 0; l < kRampSize; ++l) {
        p[RampIndex(static_cast<RampId>(r), l)] = RampColour(static_cast<RampId>(r), l);
      }
    }
    // 4 x 4 x 3 dim colours fill the rest of the table exactly.
    const uint8_t kLevels4[4] = {0, 52, 104, 160};
    const uint8_t kLevels3[3] = {0, 80, 160};
    int i = kCubeBase;
    for (int r = 0; r < 4; ++r) {
      for (int g = 0; g < 4; ++g) {
        for (int b = 0; b < 3; ++b) p[i++] = {kLevels4[r], kLevels4[g], kLevels3[b]};
      }
    }
    return p;
  }();
  return palette;
}

Quantizer::Quantizer(const std::vector<Rgb>& palette, int reservedIndex)
    : palette_(palette), reserved_(reservedIndex) {}

int Quantizer::Nearest(Rgb c) {
  uint32_t key = (static_cast<uint32_t>(c.r) << 16) | (c.g << 8) | c.b;
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  int best = -1;
  int bestDist = 0;
  for (size_t i = 0; i < palette_.size(); ++i) {
    if (static_cast<int>(i) == reserved_) continue;
    int d = ColourDistance(c, palette_[i]);
    if (best < 0 || d < bestDist) {
      best = static_cast<int>(i);
      bestDist = d;
    }
  }
  cache_[key] = static_cast<uint8_t>(best);
  return best;
}
