// Signed-distance shapes: negative inside, positive outside, in local units.
// Everything the pictures contain is built from these few primitives.
#pragma once

#include <vector>

#include "geometry.h"

struct Shape {
  enum class Kind { Ellipse, Box, Capsule, Polygon, Stroke };
  Kind kind = Kind::Ellipse;
  Vec2 a;                     // centre, or first capsule end
  Vec2 b;                     // second capsule end
  double r1 = 0, r2 = 0;      // radii or half sizes
  double round = 0;           // corner radius (box, polygon)
  double angle = 0;           // rotation in degrees (ellipse, box)
  std::vector<Vec2> points;   // polygon corners or stroke centre line
  double cosA = 1, sinA = 0;  // cached rotation of ellipse and box

  double Distance(Vec2 p) const;
  // Conservative local bounding box.
  void Bounds(Vec2& lo, Vec2& hi) const;
};

Shape Circle(Vec2 c, double r);
Shape Ellipse(Vec2 c, double rx, double ry, double angle = 0);
Shape RoundBox(Vec2 c, double halfW, double halfH, double radius, double angle = 0);
// Capsule from a (radius ra) to b (radius rb); tapered when the radii differ.
Shape Capsule(Vec2 a, Vec2 b, double ra, double rb);
Shape Polygon(const std::vector<Vec2>& corners, double round = 0);
Shape Stroke(const std::vector<Vec2>& line, double halfWidth);

// Replaces each inner corner of a polyline with a smooth curve of about the given
// radius; a closed line (last point equal to the first) is rounded at the seam too.
std::vector<Vec2> RoundCorners(const std::vector<Vec2>& line, double radius);

// Points of a circular arc, degrees measured clockwise from the positive x axis.
std::vector<Vec2> ArcPoints(Vec2 c, double rx, double ry, double fromDeg, double toDeg, int steps);

// Five-pointed (or n-pointed) star outline.
std::vector<Vec2> StarPoints(Vec2 c, double outer, double inner, int tips, double rotDeg);

// Smallest distance from any shape in the group (union).
double UnionDistance(const std::vector<Shape>& group, Vec2 p);
