// Plain in-memory pictures and the step from a supersampled canvas to them.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"
#include "palette.h"

struct IndexedImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // row-major, top row first
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct RgbImage {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // row-major, top row first
  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One-bit transparency: a pixel at least half covered becomes opaque with the average
// colour of its covered samples; anything less becomes the transparent index.
IndexedImage ToIndexed(const Canvas& canvas, Quantizer& quantizer, uint8_t transparentIndex);

// Blends the canvas over an RGB picture using fractional coverage (for 24-bit output).
void BlendOver(const Canvas& canvas, RgbImage& target, int offsetX, int offsetY);

// Copies an indexed picture into an RGB one; transparent pixels are skipped.
void PasteIndexed(const IndexedImage& image, const std::vector<Rgb>& palette,
                  uint8_t transparentIndex, RgbImage& target, int offsetX, int offsetY,
                  int zoom = 1);
