// Distance functions for the drawing primitives.
#include "shapes.h"

#include <limits>

namespace {

Vec2 ToLocalFrame(Vec2 p, Vec2 c, double cosA, double sinA) {
  Vec2 d = p - c;
  return {d.x * cosA + d.y * sinA, -d.x * sinA + d.y * cosA};
}

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 pa = p - a;
  Vec2 ba = b - a;
  double len2 = Dot(ba, ba);
  double t = len2 > 0 ? Clamp(Dot(pa, ba) / len2, 0.0, 1.0) : 0.0;
  return Length(pa - ba * t);
}

// Approximate ellipse distance: exact on the boundary, good in a band around it.
double EllipseDistance(Vec2 q, double rx, double ry) {
  double k0 = std::sqrt((q.x * q.x) / (rx * rx) + (q.y * q.y) / (ry * ry));
  double k1 = std::sqrt((q.x * q.x) / (rx * rx * rx * rx) + (q.y * q.y) / (ry * ry * ry * ry));
  if (k1 < 1e-9) return -std::min(rx, ry);
  return k0 * (k0 - 1.0) / k1;
}

double BoxDistance(Vec2 q, double hw, double hh, double r) {
  r = std::min(r, std::min(hw, hh));
  double dx = std::fabs(q.x) - hw + r;
  double dy = std::fabs(q.y) - hh + r;
  Vec2 outside{std::max(dx, 0.0), std::max(dy, 0.0)};
  return Length(outside) + std::min(std::max(dx, dy), 0.0) - r;
}

// Tapered capsule: distance to the convex hull of two circles.
double CapsuleDistance(Vec2 p, Vec2 a, Vec2 b, double ra, double rb) {
  p = p - a;
  b = b - a;
  double h = Dot(b, b);
  if (h < 1e-12) return Length(p) - std::max(ra, rb);
  Vec2 q{std::fabs(Dot(p, Vec2{b.y, -b.x})) / h, Dot(p, b) / h};
  double dr = ra - rb;
  if (dr * dr >= h) return std::min(Length(p) - ra, Length(p - b) - rb);
  Vec2 c{std::sqrt(h - dr * dr), dr};
  double k = c.x * q.y - c.y * q.x;
  double m = Dot(c, q);
  double n = Dot(q, q);
  if (k < 0.0) return std::sqrt(h * n) - ra;
  if (k > c.x) return std::sqrt(h * (n + 1.0 - 2.0 * q.y)) - rb;
  return m - ra;
}

double PolygonDistance(Vec2 p, const std::vector<Vec2>& v) {
  double d = std::numeric_limits<double>::max();
  bool inside = false;
  size_t n = v.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    d = std::min(d, SegmentDistance(p, v[j], v[i]));
    bool crosses = (v[i].y > p.y) != (v[j].y > p.y);
    if (crosses && p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x) {
      inside = !inside;
    }
  }
  return inside ? -d : d;
}

}  // namespace

double Shape::Distance(Vec2 p) const {
  switch (kind) {
    case Kind::Ellipse: return EllipseDistance(ToLocalFrame(p, a, cosA, sinA), r1, r2);
    case Kind::Box: return BoxDistance(ToLocalFrame(p, a, cosA, sinA), r1, r2, round);
    case Kind::Capsule: return CapsuleDistance(p, a, b, r1, r2);
    case Kind::Polygon: return PolygonDistance(p, points) - round;
    case Kind::Stroke: {
      double d = std::numeric_limits<double>::max();
      for (size_t i = 0; i + 1 < points.size(); ++i) {
        d = std::min(d, SegmentDistance(p, points[i], points[i + 1]));
      }
      if (points.size() == 1) d = Length(p - points[0]);
      return d - r1;
    }
  }
  return 1e9;
}

void Shape::Bounds(Vec2& lo, Vec2& hi) const {
  switch (kind) {
    case Kind::Ellipse:
    case Kind::Box: {
      double r = std::sqrt(r1 * r1 + r2 * r2);
      lo = {a.x - r, a.y - r};
      hi = {a.x + r, a.y + r};
      return;
    }
    case Kind::Capsule: {
      double r = std::max(r1, r2);
      lo = {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r};
      hi = {std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
      return;
    }
    case Kind::Polygon:
    case Kind::Stroke: {
      double r = kind == Kind::Polygon ? round : r1;
      lo = hi = points.empty() ? a : points[0];
      for (const Vec2& q : points) {
        lo = {std::min(lo.x, q.x), std::min(lo.y, q.y)};
        hi = {std::max(hi.x, q.x), std::max(hi.y, q.y)};
      }
      lo = lo - Vec2{r, r};
      hi = hi + Vec2{r, r};
      return;
    }
  }
}

Shape Circle(Vec2 c, double r) {
  return Ellipse(c, r, r);
}

Shape Ellipse(Vec2 c, double rx, double ry, double angle) {
  Shape s;
  s.kind = Shape::Kind::Ellipse;
  s.a = c;
  s.r1 = std::max(rx, 0.01);
  s.r2 = std::max(ry, 0.01);
  s.angle = angle;
  s.cosA = std::cos(Radians(angle));
  s.sinA = std::sin(Radians(angle));
  return s;
}

Shape RoundBox(Vec2 c, double halfW, double halfH, double radius, double angle) {
  Shape s;
  s.kind = Shape::Kind::Box;
  s.a = c;
  s.r1 = halfW;
  s.r2 = halfH;
  s.round = radius;
  s.angle = angle;
  s.cosA = std::cos(Radians(angle));
  s.sinA = std::sin(Radians(angle));
  return s;
}

Shape Capsule(Vec2 a, Vec2 b, double ra, double rb) {
  Shape s;
  s.kind = Shape::Kind::Capsule;
  s.a = a;
  s.b = b;
  s.r1 = ra;
  s.r2 = rb;
  return s;
}

Shape Polygon(const std::vector<Vec2>& corners, double round) {
  Shape s;
  s.kind = Shape::Kind::Polygon;
  s.points = corners;
  s.round = round;
  return s;
}

Shape Stroke(const std::vector<Vec2>& line, double halfWidth) {
  Shape s;
  s.kind = Shape::Kind::Stroke;
  s.points = line;
  s.r1 = halfWidth;
  return s;
}

std::vector<Vec2> RoundCorners(const std::vector<Vec2>& line, double radius) {
  size_t n = line.size();
  if (n < 3 || radius <= 0) return line;
  bool closed = Length(line.front() - line.back()) < 1e-9;
  std::vector<Vec2> pts(line.begin(), closed ? line.end() - 1 : line.end());
  size_t m = pts.size();
  std::vector<Vec2> out;
  const int kSteps = 10;
  for (size_t i = 0; i < m; ++i) {
    bool isEnd = !closed && (i == 0 || i == m - 1);
    if (isEnd) {
      out.push_back(pts[i]);
      continue;
    }
    Vec2 prev = pts[(i + m - 1) % m];
    Vec2 cur = pts[i];
    Vec2 next = pts[(i + 1) % m];
    double lenIn = Length(cur - prev);
    double lenOut = Length(next - cur);
    // Never use more than half of a side, so neighbouring corners do not overlap.
    double rIn = std::min(radius, lenIn * 0.5);
    double rOut = std::min(radius, lenOut * 0.5);
    Vec2 from = cur - (cur - prev) * (rIn / lenIn);
    Vec2 to = cur + (next - cur) * (rOut / lenOut);
    // Quadratic curve through the corner gives a soft, slightly squarish bend.
    for (int k = 0; k <= kSteps; ++k) {
      double t = static_cast<double>(k) / kSteps;
      Vec2 p1 = MixVec(from, cur, t);
      Vec2 p2 = MixVec(cur, to, t);
      out.push_back(MixVec(p1, p2, t));
    }
  }
  if (closed) out.push_back(out.front());
  return out;
}

std::vector<Vec2> ArcPoints(Vec2 c, double rx, double ry, double fromDeg, double toDeg, int steps) {
  std::vector<Vec2> out;
  for (int i = 0; i <= steps; ++i) {
    double deg = Mix(fromDeg, toDeg, static_cast<double>(i) / steps);
    out.push_back({c.x + rx * std::cos(Radians(deg)), c.y + ry * std::sin(Radians(deg))});
  }
  return out;
}

std::vector<Vec2> StarPoints(Vec2 c, double outer, double inner, int tips, double rotDeg) {
  std::vector<Vec2> out;
  for (int i = 0; i < tips * 2; ++i) {
    double r = (i % 2 == 0) ? outer : inner;
    out.push_back(Polar(c, r, rotDeg - 90.0 + i * 180.0 / tips));
  }
  return out;
}

double UnionDistance(const std::vector<Shape>& group, Vec2 p) {
  double d = std::numeric_limits<double>::max();
  for (const Shape& s : group) d = std::min(d, s.Distance(p));
  return d;
}
