// Zip, the second fox.
#include <cmath>

#include "character_kit.h"
#include "characters.h"

namespace {

constexpr Vec2 kBodyCentre{85, 112};
constexpr Vec2 kTailBase{99, 132};

void DrawTail(Canvas& canvas, double swing) {
  // Centre line of a bushy tail curling up behind the body; the tip sways most.
  const Vec2 rest[5] = {{99, 134}, {115, 130}, {126, 117}, {128, 101}, {121, 89}};
  const double radius[5] = {4.5, 8, 10, 9, 5};
  std::vector<Vec2> key;
  for (int i = 0; i < 5; ++i)
    key.push_back(RotateAround(rest[i], kTailBase, swing * (0.4 + 0.15 * i)));
  // Catmull-Rom through the key points gives a smooth, evenly tapering tail.
  std::vector<Vec2> pts;
  std::vector<double> radii;
  for (int i = 0; i < 4; ++i) {
    Vec2 p0 = key[std::max(0, i - 1)], p1 = key[i], p2 = key[i + 1], p3 = key[std::min(4, i + 2)];
    for (int k = 0; k < 4; ++k) {
      double t = k / 4.0, t2 = t * t, t3 = t2 * t;
      auto blend = [&](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                      (-a + 3 * b - 3 * c + d) * t3);
      };
      pts.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
      radii.push_back(Mix(radius[i], radius[i + 1], t));
    }
  }
  pts.push_back(key[4]);
  radii.push_back(radius[4]);
  std::vector<Shape> tail;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    tail.push_back(Capsule(pts[i], pts[i + 1], radii[i], radii[i + 1]));
  }
  Paint fur = Paint::Ramp(RampId::kOrange, 9);
  fur.Light(key[2] + Vec2{-4, -4}, 16, 3).Rim(3, 2.5);
  canvas.Draw(tail, fur, kLine);
  // Cream tip: the last stretch of the same tail, drawn without an outline.
  std::vector<Shape> tip(tail.end() - 5, tail.end());
  canvas.Draw(tip, Paint::Ramp(RampId::kCream, 10).Light(key[4], 8, 2));
}

void DrawEar(Canvas& canvas, double side, double twitch) {
  Vec2 base{85 + side * 14, 76};
  double tilt = side * twitch * -14;
  auto at = [&](double x, double y) { return RotateAround({85 + side * x, y}, base, tilt); };
  Paint fur = Paint::Ramp(RampId::kOrange, 9);
  fur.Light(at(22, 60), 14, 2.5).Rim(2.5, 2);
  canvas.Draw(Polygon({at(29, 84), at(24, 56), at(4, 74)}, 2.5), fur, kLine);
  canvas.Draw(Polygon({at(25, 78), at(23, 63), at(11, 74)}, 1.5), Paint::Ramp(RampId::kCream, 8));
}

}  // namespace

void DrawSecondFox(Canvas& canvas, const Pose& pose) {
  Affine body = BodyTransform(pose, kBodyCentre);
  canvas.SetTransform(body);

  DrawTail(canvas, pose.swing);
  for (double side : {-1.0, 1.0}) {
    canvas.Draw(Ellipse({85 + side * 10, 142}, 7.5, 4.4),
                Paint::Ramp(RampId::kOrange, 7).Light({85 + side * 10, 139}, 7, 2), kLine);
  }
  Paint fur = Paint::Ramp(RampId::kOrange, 9);
  fur.Light({78, 116}, 20, 3).Rim(3, 2.5);
  canvas.Draw(Ellipse({85, 126}, 18.5, 16), fur, kLine);
  canvas.Draw(Ellipse({85, 130}, 10.5, 10.5), Paint::Ramp(RampId::kCream, 10));
  for (double side : {-1.0, 1.0}) {
    Vec2 shoulder{85 + side * 14, 119};
    Vec2 hand = HandPosition(shoulder, side < 0 ? pose.armL : pose.armR, 11, side > 0);
    canvas.Draw(Capsule(shoulder, hand, 3.8, 4.2), Paint::Ramp(RampId::kOrange, 8).Rim(2, 2),
                kLine);
  }

  DrawEar(canvas, -1, 0);
  DrawEar(canvas, 1, pose.twitch);
  Paint head = Paint::Ramp(RampId::kOrange, 9.5);
  head.Light({72, 80}, 30, 3.5).Rim(4, 3);
  // Head with small cheek tufts.
  canvas.Draw({Ellipse({85, 95}, 31, 24.5), Polygon({{56, 96}, {48, 108}, {62, 108}}, 1.5),
               Polygon({{114, 96}, {122, 108}, {108, 108}}, 1.5)},
              head, kLine);
  canvas.Draw(Ellipse({85, 107}, 15, 10), Paint::Ramp(RampId::kCream, 11).Light({80, 102}, 10, 2));
  canvas.Draw(Ellipse({66, 104}, 4.5, 2.6), Paint::Ramp(RampId::kRose, 11));
  canvas.Draw(Ellipse({104, 104}, 4.5, 2.6), Paint::Ramp(RampId::kRose, 11));

  EyeStyle eyes{4.4, 5.8, false, RampId::kGrey};
  DrawEyes(canvas, pose, {73, 92}, {97, 92}, eyes);
  canvas.Draw(Ellipse({85, 101}, 3.4, 2.4), Paint::Solid(kInk));
  DrawMouth(canvas, pose.mouth, {85, 107}, 4.5, 1.2);

  if (pose.impact > 0) {
    // Upside down in the flip the feet do the kicking.
    double spin = std::fabs(std::fmod(pose.spin, 360.0));
    bool feetUp = spin > 120 && spin < 240;
    Vec2 at = feetUp ? body.Apply({85, 150}) : body.Apply({85 + pose.lean * 0.3, 66});
    DrawImpact(canvas, at, pose.impact, pose.bigImpact);
  }
}
