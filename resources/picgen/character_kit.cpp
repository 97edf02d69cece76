// Shared character parts and effects, and frame rendering.
#include "character_kit.h"

#include <cmath>

#include "characters.h"

Affine BodyTransform(const Pose& pose, Vec2 bodyCentre) {
  double sx = 1.0 + pose.squash * 0.8;
  double sy = 1.0 - pose.squash;
  return Affine::Translate(-kGround.x, -kGround.y)
      .Then(Affine::Scale(sx, sy))
      .Then(Affine::Rotate(pose.lean))
      .Then(Affine::Translate(kGround.x, kGround.y))
      .Then(Affine::Translate(-bodyCentre.x, -bodyCentre.y))
      .Then(Affine::Rotate(pose.spin))
      .Then(Affine::Translate(bodyCentre.x, bodyCentre.y - pose.lift));
}

Vec2 HandPosition(Vec2 shoulder, double raise, double length, bool rightSide, double topAngle) {
  // Angle measured from straight down, swinging outwards and up.
  double fromDown = 18 + (topAngle - 18) * raise;
  double deg = rightSide ? 90 - fromDown : 90 + fromDown;
  return Polar(shoulder, length, deg);
}

void DrawEyes(Canvas& canvas, const Pose& pose, Vec2 left, Vec2 right, const EyeStyle& style) {
  const Vec2 centres[2] = {left, right};
  for (int side = 0; side < 2; ++side) {
    Vec2 c = centres[side];
    double dir = side == 0 ? -1 : 1;
    double half = style.rx;
    double stroke = std::max(1.4, style.rx * 0.28);
    Paint dark = style.glow == RampId::kGrey ? Paint::Solid(kInk) : Paint::Ramp(style.glow, 12.5);
    if (pose.eyes == Eyes::kHappy) {
      // Upturned arcs: ^ ^
      auto arc =
          ArcPoints({c.x, c.y + style.ry * 0.35}, half * 0.95, style.ry * 0.75, 200, 340, 12);
      canvas.Draw(Stroke(arc, stroke), dark, style.glow == RampId::kGrey ? 0 : 1.2);
      continue;
    }
    if (pose.eyes == Eyes::kStrain) {
      // Squeezed shut: > <
      std::vector<Vec2> v = {{c.x - dir * half, c.y - style.ry * 0.6},
                             {c.x + dir * half * 0.8, c.y},
                             {c.x - dir * half, c.y + style.ry * 0.6}};
      canvas.Draw(Stroke(v, stroke), dark, style.glow == RampId::kGrey ? 0 : 1.2);
      continue;
    }
    double open = 1.0 - pose.blink * 0.86;
    double wide = pose.eyes == Eyes::kWide ? 1.18 : 1.0;
    double ry = style.ry * open * wide;
    double rx = style.rx * wide;
    Vec2 ec{c.x, c.y + style.ry * (1 - open) * 0.5};
    if (style.whites) {
      canvas.Draw(Ellipse(ec, rx, ry),
                  Paint::Ramp(RampId::kGrey, 15).Gradient(ec.y - ry, ec.y + ry, 2.5), kFineInk);
      if (open > 0.35) {
        double px = rx * 0.28 * pose.look;
        double py = -ry * 0.28 * pose.lookUp + ry * 0.08;
        double pr = rx * 0.62;
        Vec2 pc{ec.x + px, ec.y + py};
        canvas.Draw(Ellipse(pc, pr, std::min(pr * 1.2, ry * 0.8)), Paint::Solid(kInk));
        canvas.Draw(Circle({pc.x - pr * 0.3, pc.y - pr * 0.4}, pr * 0.34),
                    Paint::Solid(Rgb{255, 255, 255}));
      }
    } else {
      Paint fill =
          style.glow == RampId::kGrey
              ? Paint::Solid(kInk)
              : Paint::Ramp(style.glow, 11).Light({ec.x - rx * 0.3, ec.y - ry * 0.4}, rx * 1.3, 4);
      canvas.Draw(RoundBox(ec, rx, ry, std::min(rx, ry) * 0.9), fill,
                  style.glow == RampId::kGrey ? 0 : 1.2);
      if (style.glow == RampId::kGrey && open > 0.35) {
        double px = rx * 0.25 * pose.look;
        double py = -ry * 0.25 * pose.lookUp;
        canvas.Draw(Circle({ec.x - rx * 0.25 + px, ec.y - ry * 0.38 + py}, rx * 0.42),
                    Paint::Solid(Rgb{255, 255, 255}));
      }
    }
  }
}

void DrawMouth(Canvas& canvas, Mouth mouth, Vec2 c, double halfWidth, double stroke) {
  switch (mouth) {
    case Mouth::kSmile:
      canvas.Draw(
          Stroke(ArcPoints({c.x, c.y - halfWidth * 0.55}, halfWidth, halfWidth * 0.8, 30, 150, 14),
                 stroke),
          Paint::Solid(kInk));
      break;
    case Mouth::kFlat:
      canvas.Draw(Stroke({{c.x - halfWidth * 0.6, c.y}, {c.x + halfWidth * 0.6, c.y}}, stroke),
                  Paint::Solid(kInk));
      break;
    case Mouth::kOpen:
      canvas.Draw(Ellipse({c.x, c.y + 1}, halfWidth * 0.55, halfWidth * 0.65),
                  Paint::Ramp(RampId::kRose, 6).Gradient(c.y - 4, c.y + 6, -4), kFineInk);
      break;
    case Mouth::kGrin: {
      // Wide D-shaped open grin with a tongue.
      std::vector<Vec2> shape = ArcPoints(c, halfWidth, halfWidth * 0.85, 0, 180, 16);
      canvas.Draw(Polygon(shape), Paint::Ramp(RampId::kRose, 5), kFineInk);
      canvas.Draw(Ellipse({c.x, c.y + halfWidth * 0.62}, halfWidth * 0.5, halfWidth * 0.24),
                  Paint::Ramp(RampId::kRose, 11));
      break;
    }
  }
}

void DrawSparkle(Canvas& canvas, Vec2 c, double radius, double rotDeg) {
  std::vector<Vec2> pts;
  for (int i = 0; i < 8; ++i) {
    double r = (i % 2 == 0) ? radius : radius * 0.3;
    pts.push_back(Polar(c, r, rotDeg - 90 + i * 45));
  }
  canvas.Draw(Polygon(pts, 0.3), Paint::Ramp(RampId::kGold, 12).Light(c, radius * 0.6, 3),
              kFineInk);
}

void DrawImpact(Canvas& canvas, Vec2 at, int age, bool big) {
  if (age <= 0) return;
  canvas.SetTransform(Affine());
  // Keep the burst inside the picture's usable area.
  double room = big ? 24 : 20;
  at.x = Clamp(at.x, 7 + room, 162 - room);
  at.y = std::max(at.y, room);
  int rays = big ? 7 : 5;
  if (age == 1) {
    // Burst: rays fanning upwards and sideways from the contact point.
    for (int i = 0; i < rays; ++i) {
      double deg = 180 + 180.0 * (i + 0.5) / rays;
      double inner = big ? 10 : 8;
      double outer = big ? 22 : 17;
      double lenScale = (i % 2 == 0) ? 1.0 : 0.75;
      std::vector<Vec2> ray = {Polar(at, inner, deg),
                               Polar(at, inner + (outer - inner) * lenScale, deg)};
      canvas.Draw(Capsule(ray[0], ray[1], 2.4, 1.2), Paint::Ramp(RampId::kGold, 13), kFineInk);
    }
    DrawSparkle(canvas, {at.x, at.y - 2}, big ? 9 : 7, 0);
    return;
  }
  // Stars circling outwards and shrinking over the following frames.
  int count = big ? 4 : 3;
  double radius = (big ? 14 : 10) + age * (big ? 5 : 4);
  double size = std::max(2.5, (big ? 8.5 : 7.0) - age * 1.4);
  for (int i = 0; i < count; ++i) {
    double deg = 200 + 140.0 * i / (count - 1) + age * 14;
    Vec2 c = Polar(at, radius, deg);
    c.y += age * 1.5;
    canvas.Draw(Polygon(StarPoints(c, size, size * 0.45, 5, age * 20.0), 0.4),
                Paint::Ramp(RampId::kGold, 12).Light(c, size, 3), kFineInk);
  }
}

void DrawFlame(Canvas& canvas, Vec2 nozzle, double strength, double flicker) {
  if (strength <= 0.01) return;
  double len = 8 + 22 * strength + flicker * 3;
  double w = 4 + 3 * strength;
  Vec2 tip{nozzle.x, nozzle.y + len};
  canvas.Draw(Capsule(nozzle, tip, w, 1.2),
              Paint::Ramp(RampId::kAmber, 10).Gradient(nozzle.y, tip.y, -3), kFineInk);
  canvas.Draw(Capsule({nozzle.x, nozzle.y + 1}, {tip.x, nozzle.y + len * 0.55}, w * 0.5, 0.8),
              Paint::Ramp(RampId::kGold, 15));
}

void DrawCharacter(Canvas& canvas, Character who, const Pose& pose) {
  switch (who) {
    case Character::kHour: DrawHourBot(canvas, pose); break;
    case Character::kMinute: DrawMinuteBlob(canvas, pose); break;
    case Character::kSecond: DrawSecondFox(canvas, pose); break;
  }
  canvas.SetTransform(Affine());
}

IndexedImage MakeCharacterFrame(Character who, Strip strip, int frame, Quantizer& quantizer) {
  Canvas canvas(kCharacterSize, kCharacterSize);
  DrawCharacter(canvas, who, StripPose(who, strip, frame));
  return ToIndexed(canvas, quantizer, 0);
}
