// Supersampled drawing surface. Shapes are sampled several times per pixel in each
// direction; resolving a pixel averages only the covered samples, so edge pixels
// take the colour of the shape's own outline rather than of any background.
#pragma once

#include <vector>

#include "geometry.h"
#include "palette.h"
#include "shapes.h"

// How a filled shape is coloured. Ramp paints are shaded in ramp levels: a soft light
// spot, a darker rim just inside the edge and an optional vertical gradient.
struct Paint {
  bool useRamp = false;
  RampId ramp = RampId::kGrey;
  double level = 9;
  Rgb solid;
  Vec2 light;
  double lightRadius = 0, lightGain = 0;
  double rimWidth = 0, rimDrop = 0;
  double gradTop = 0, gradBottom = 0, gradDrop = 0;

  static Paint Solid(Rgb c);
  static Paint Ramp(RampId ramp, double level);
  Paint& Light(Vec2 centre, double radius, double gain);
  Paint& Rim(double width, double drop);
  Paint& Gradient(double top, double bottom, double drop);

  // local: point in shape coordinates; d: signed distance (negative inside).
  Rgb Colour(Vec2 local, double d) const;
};

class Canvas {
 public:
  Canvas(int width, int height, int subsamples = 4);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void Clear();

  // Maps shape (local) coordinates to pixel coordinates for the following draws.
  void SetTransform(const Affine& localToPixel);
  const Affine& Transform() const { return toPixel_; }
  // Applied after every transform; lets a whole drawing (e.g. a character) be placed
  // and scaled inside a larger picture.
  void SetPlacement(const Affine& placement);
  // Applied after the placement, for good: a picture drawn for one size fills a canvas this
  // many times as large, drawn afresh at that size rather than stretched.
  void SetScale(double scale);

  // Fills the union of the group; a positive inkWidth adds an outline around it.
  void Draw(const std::vector<Shape>& group, const Paint& paint, double inkWidth = 0,
            Rgb ink = kInk);
  void Draw(const Shape& shape, const Paint& paint, double inkWidth = 0, Rgb ink = kInk);

  struct Pixel {
    double r = 0, g = 0, b = 0;
    double coverage = 0;  // 0..1
  };
  Pixel Resolve(int x, int y) const;

 private:
  int width_, height_, ss_;
  Affine scale_;
  Affine placement_;
  Affine local_;
  Affine toPixel_;
  Affine toLocal_;
  std::vector<Rgb> samples_;
  std::vector<uint8_t> covered_;
};
