// Supersampled shape rasterisation.
#include "canvas.h"

#include <cmath>

Paint Paint::Solid(Rgb c) {
  Paint p;
  p.solid = c;
  return p;
}

Paint Paint::Ramp(RampId ramp, double level) {
  Paint p;
  p.useRamp = true;
  p.ramp = ramp;
  p.level = level;
  return p;
}

Paint& Paint::Light(Vec2 centre, double radius, double gain) {
  light = centre;
  lightRadius = radius;
  lightGain = gain;
  return *this;
}

Paint& Paint::Rim(double width, double drop) {
  rimWidth = width;
  rimDrop = drop;
  return *this;
}

Paint& Paint::Gradient(double top, double bottom, double drop) {
  gradTop = top;
  gradBottom = bottom;
  gradDrop = drop;
  return *this;
}

Rgb Paint::Colour(Vec2 local, double d) const {
  if (!useRamp) return solid;
  double l = level;
  if (lightRadius > 0) {
    double t = 1.0 - Length(local - light) / lightRadius;
    if (t > 0) l += lightGain * t * t * (3 - 2 * t);
  }
  if (rimWidth > 0) {
    double t = 1.0 + d / rimWidth;  // 1 at the edge, 0 at rimWidth inside
    if (t > 0) l -= rimDrop * t * t;
  }
  if (gradDrop != 0 && gradBottom != gradTop) {
    l -= gradDrop * Clamp((local.y - gradTop) / (gradBottom - gradTop), 0.0, 1.0);
  }
  return RampColour(ramp, l);
}

Canvas::Canvas(int width, int height, int subsamples)
    : width_(width), height_(height), ss_(subsamples) {
  samples_.resize(static_cast<size_t>(width_ * ss_) * height_ * ss_);
  covered_.resize(samples_.size());
}

void Canvas::Clear() {
  std::fill(covered_.begin(), covered_.end(), 0);
  SetTransform(Affine());
}

void Canvas::SetTransform(const Affine& localToPixel) {
  local_ = localToPixel;
  toPixel_ = localToPixel.Then(placement_).Then(scale_);
  toLocal_ = toPixel_.Inverse();
}

void Canvas::SetPlacement(const Affine& placement) {
  placement_ = placement;
  SetTransform(local_);
}

void Canvas::SetScale(double scale) {
  scale_ = Affine::Scale(scale, scale);
  SetTransform(local_);
}

void Canvas::Draw(const Shape& shape, const Paint& paint, double inkWidth, Rgb ink) {
  Draw(std::vector<Shape>{shape}, paint, inkWidth, ink);
}

void Canvas::Draw(const std::vector<Shape>& group, const Paint& paint, double inkWidth, Rgb ink) {
  if (group.empty()) return;
  // Local bounds of each shape (grown by the outline), and the pixel-space box of all.
  std::vector<Vec2> los, his;
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const Shape& s : group) {
    Vec2 lo, hi;
    s.Bounds(lo, hi);
    lo = lo - Vec2{inkWidth + 0.5, inkWidth + 0.5};
    hi = hi + Vec2{inkWidth + 0.5, inkWidth + 0.5};
    los.push_back(lo);
    his.push_back(hi);
    const Vec2 corners[4] = {lo, {hi.x, lo.y}, hi, {lo.x, hi.y}};
    for (const Vec2& c : corners) {
      Vec2 p = toPixel_.Apply(c);
      x0 = std::min(x0, p.x);
      y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x);
      y1 = std::max(y1, p.y);
    }
  }
  auto distance = [&](Vec2 local) {
    double d = 1e9;
    for (size_t k = 0; k < group.size(); ++k) {
      if (local.x < los[k].x || local.y < los[k].y || local.x > his[k].x || local.y > his[k].y) {
        continue;
      }
      d = std::min(d, group[k].Distance(local));
    }
    return d;
  };
  // A pixel whose centre is clearly outside the shape needs no samples: this local
  // distance covers half a pixel diagonal with room to spare.
  double minScale = std::min(std::sqrt(toPixel_.a * toPixel_.a + toPixel_.d * toPixel_.d),
                             std::sqrt(toPixel_.b * toPixel_.b + toPixel_.e * toPixel_.e));
  double skip = inkWidth + 2.0 / std::max(minScale, 1e-6);
  int px0 = std::max(0, static_cast<int>(std::floor(x0)));
  int py0 = std::max(0, static_cast<int>(std::floor(y0)));
  int px1 = std::min(width_ - 1, static_cast<int>(std::ceil(x1)));
  int py1 = std::min(height_ - 1, static_cast<int>(std::ceil(y1)));
  int sw = width_ * ss_;
  double step = 1.0 / ss_;
  for (int py = py0; py <= py1; ++py) {
    for (int px = px0; px <= px1; ++px) {
      if (distance(toLocal_.Apply({px + 0.5, py + 0.5})) > skip) continue;
      for (int j = 0; j < ss_; ++j) {
        int sy = py * ss_ + j;
        for (int i = 0; i < ss_; ++i) {
          int sx = px * ss_ + i;
          Vec2 local = toLocal_.Apply({(sx + 0.5) * step, (sy + 0.5) * step});
          double d = distance(local);
          if (d > inkWidth) continue;
          size_t idx = static_cast<size_t>(sy) * sw + sx;
          samples_[idx] = d <= 0 ? paint.Colour(local, d) : ink;
          covered_[idx] = 1;
        }
      }
    }
  }
}

Canvas::Pixel Canvas::Resolve(int x, int y) const {
  Pixel px;
  int sw = width_ * ss_;
  int count = 0;
  for (int j = 0; j < ss_; ++j) {
    for (int i = 0; i < ss_; ++i) {
      size_t k = static_cast<size_t>(y * ss_ + j) * sw + x * ss_ + i;
      if (!covered_[k]) continue;
      px.r += samples_[k].r;
      px.g += samples_[k].g;
      px.b += samples_[k].b;
      ++count;
    }
  }
  if (count > 0) {
    px.r /= count;
    px.g /= count;
    px.b /= count;
  }
  px.coverage = static_cast<double>(count) / (ss_ * ss_);
  return px;
}
