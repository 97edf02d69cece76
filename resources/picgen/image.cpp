// Canvas resolution and picture copying.
#include "image.h"

#include <cmath>

namespace {

uint8_t ToByte(double v) {
  return static_cast<uint8_t>(std::lround(Clamp(v, 0.0, 255.0)));
}

}  // namespace

IndexedImage ToIndexed(const Canvas& canvas, Quantizer& quantizer, uint8_t transparentIndex) {
  IndexedImage img;
  img.width = canvas.Width();
  img.height = canvas.Height();
  img.pixels.assign(static_cast<size_t>(img.width) * img.height, transparentIndex);
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      Canvas::Pixel p = canvas.Resolve(x, y);
      if (p.coverage < 0.5) continue;
      Rgb c{ToByte(p.r), ToByte(p.g), ToByte(p.b)};
      img.pixels[static_cast<size_t>(y) * img.width + x] =
          static_cast<uint8_t>(quantizer.Nearest(c));
    }
  }
  return img;
}

void BlendOver(const Canvas& canvas, RgbImage& target, int offsetX, int offsetY) {
  for (int y = 0; y < canvas.Height(); ++y) {
    int ty = y + offsetY;
    if (ty < 0 || ty >= target.height) continue;
    for (int x = 0; x < canvas.Width(); ++x) {
      int tx = x + offsetX;
      if (tx < 0 || tx >= target.width) continue;
      Canvas::Pixel p = canvas.Resolve(x, y);
      if (p.coverage <= 0) continue;
      Rgb& t = target.At(tx, ty);
      double a = p.coverage;
      t = {ToByte(Mix(t.r, p.r, a)), ToByte(Mix(t.g, p.g, a)), ToByte(Mix(t.b, p.b, a))};
    }
  }
}

void PasteIndexed(const IndexedImage& image, const std::vector<Rgb>& palette,
                  uint8_t transparentIndex, RgbImage& target, int offsetX, int offsetY, int zoom) {
  for (int y = 0; y < image.height * zoom; ++y) {
    int ty = y + offsetY;
    if (ty < 0 || ty >= target.height) continue;
    for (int x = 0; x < image.width * zoom; ++x) {
      int tx = x + offsetX;
      if (tx < 0 || tx >= target.width) continue;
      uint8_t idx = image.At(x / zoom, y / zoom);
      if (idx != transparentIndex) target.At(tx, ty) = palette[idx];
    }
  }
}
