// Small 2-D vector and affine-transform helpers shared by all drawing code.
#pragma once

#include <algorithm>
#include <cmath>

constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
  double x = 0;
  double y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, double s) {
  return {a.x * s, a.y * s};
}
inline double Dot(Vec2 a, Vec2 b) {
  return a.x * b.x + a.y * b.y;
}
inline double Cross(Vec2 a, Vec2 b) {
  return a.x * b.y - a.y * b.x;
}
inline double Length(Vec2 a) {
  return std::sqrt(Dot(a, a));
}
inline double Clamp(double v, double lo, double hi) {
  return std::min(hi, std::max(lo, v));
}
inline double Mix(double a, double b, double t) {
  return a + (b - a) * t;
}
inline Vec2 MixVec(Vec2 a, Vec2 b, double t) {
  return {Mix(a.x, b.x, t), Mix(a.y, b.y, t)};
}
inline double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

// Point on a circle of radius r around c; angle in degrees, 0 = right, 90 = down.
inline Vec2 Polar(Vec2 c, double r, double degrees) {
  return {c.x + r * std::cos(Radians(degrees)), c.y + r * std::sin(Radians(degrees))};
}

// Rotates p around pivot by the given angle in degrees (positive = clockwise on screen).
inline Vec2 RotateAround(Vec2 p, Vec2 pivot, double degrees) {
  double c = std::cos(Radians(degrees));
  double s = std::sin(Radians(degrees));
  Vec2 d = p - pivot;
  return {pivot.x + d.x * c - d.y * s, pivot.y + d.x * s + d.y * c};
}

// Affine map (x, y) -> (a*x + b*y + c, d*x + e*y + f).
struct Affine {
  double a = 1, b = 0, c = 0;
  double d = 0, e = 1, f = 0;

  Vec2 Apply(Vec2 p) const { return {a * p.x + b * p.y + c, d * p.x + e * p.y + f}; }

  // Composition: first this, then next.
  Affine Then(const Affine& n) const {
    Affine r;
    r.a = n.a * a + n.b * d;
    r.b = n.a * b + n.b * e;
    r.c = n.a * c + n.b * f + n.c;
    r.d = n.d * a + n.e * d;
    r.e = n.d * b + n.e * e;
    r.f = n.d * c + n.e * f + n.f;
    return r;
  }

  Affine Inverse() const {
    double det = a * e - b * d;
    Affine r;
    r.a = e / det;
    r.b = -b / det;
    r.d = -d / det;
    r.e = a / det;
    r.c = -(r.a * c + r.b * f);
    r.f = -(r.d * c + r.e * f);
    return r;
  }

  // Largest stretch factor; converts local lengths to picture pixels.
  double MaxScale() const { return std::max(std::sqrt(a * a + d * d), std::sqrt(b * b + e * e)); }

  static Affine Translate(double x, double y) {
    Affine r;
    r.c = x;
    r.f = y;
    return r;
  }
  static Affine Scale(double sx, double sy) {
    Affine r;
    r.a = sx;
    r.e = sy;
    return r;
  }
  static Affine Rotate(double degrees) {
    Affine r;
    double cs = std::cos(Radians(degrees));
    double sn = std::sin(Radians(degrees));
    r.a = cs;
    r.b = -sn;
    r.d = sn;
    r.e = cs;
    return r;
  }
};
