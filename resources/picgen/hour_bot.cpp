// Tock, the hour robot.
#include <cmath>

#include "character_kit.h"
#include "characters.h"

namespace {

constexpr Vec2 kBodyCentre{85, 105};
constexpr Vec2 kShoulderL{58, 109};
constexpr Vec2 kShoulderR{112, 109};
constexpr Vec2 kAntennaBase{85, 60};

// Arms telescope when raised high, so the fists reach the digits; they open into a
// wide V so the fists clear the head.
double ArmLength(double raise) {
  return 22 + 22 * Clamp((raise - 0.5) * 2, 0.0, 1.0);
}
constexpr double kArmTop = 135;

Vec2 Hand(Vec2 shoulder, double raise, bool rightSide) {
  return HandPosition(shoulder, raise, ArmLength(raise), rightSide, kArmTop);
}

Paint Metal(RampId ramp, Vec2 light, double radius) {
  Paint p = Paint::Ramp(ramp, 9);
  p.Light(light, radius, 4).Rim(3.5, 3);
  return p;
}

void DrawArm(Canvas& canvas, Vec2 shoulder, double raise, bool rightSide) {
  Vec2 hand = Hand(shoulder, raise, rightSide);
  canvas.Draw(Capsule(shoulder, hand, 4.2, 3.6), Metal(RampId::kSlate, shoulder, 12), kLine);
  canvas.Draw(Circle(hand, 6.5), Metal(RampId::kTeal, {hand.x - 2, hand.y - 3}, 8), kLine);
}

void DrawScreenMouth(Canvas& canvas, Mouth mouth, Vec2 c) {
  Paint glow = Paint::Ramp(RampId::kCyan, 12);
  switch (mouth) {
    case Mouth::kSmile:
      canvas.Draw(Stroke(ArcPoints({c.x, c.y - 4}, 6, 5, 30, 150, 12), 1.3), glow);
      break;
    case Mouth::kFlat: canvas.Draw(Stroke({{c.x - 4, c.y}, {c.x + 4, c.y}}, 1.3), glow); break;
    case Mouth::kOpen:
      canvas.Draw(Ellipse({c.x, c.y}, 3.2, 3.6), glow);
      canvas.Draw(Ellipse({c.x, c.y}, 1.6, 1.9), Paint::Ramp(RampId::kIce, 2));
      break;
    case Mouth::kGrin:
      canvas.Draw(Polygon(ArcPoints({c.x, c.y - 2}, 7, 6, 0, 180, 12)), glow);
      break;
  }
}

}  // namespace

void DrawHourBot(Canvas& canvas, const Pose& pose) {
  Affine body = BodyTransform(pose, kBodyCentre);
  canvas.SetTransform(body);

  // Jet flames under the feet; they shorten near the ground.
  double flicker = std::fmod(pose.lift * 0.37, 1.0);
  for (double fx : {72.0, 98.0}) {
    double room = 148.0 - body.Apply({fx, 146}).y;
    if (pose.boost > 0 && room > 6) {
      double strength = std::min(pose.boost, (room - 8) / 25.0);
      DrawFlame(canvas, {fx, 145}, std::max(strength, 0.02), flicker);
    }
  }

  // Antenna behind the head, swaying.
  Vec2 tip = RotateAround({85, 44}, kAntennaBase, pose.swing);
  canvas.Draw(Stroke({kAntennaBase, MixVec(kAntennaBase, tip, 0.5), tip}, 1.6),
              Paint::Ramp(RampId::kSlate, 10), kLine);
  canvas.Draw(Circle(tip, 5),
              Paint::Ramp(RampId::kAmber, 10).Light({tip.x - 1.5, tip.y - 2}, 5, 5).Rim(1.5, 2),
              kLine);

  // Legs and feet.
  for (double side : {-1.0, 1.0}) {
    double x = 85 + side * 13;
    canvas.Draw(Capsule({x, 131}, {x, 140}, 4.6, 4.6), Metal(RampId::kSlate, {x - 2, 132}, 8),
                kLine);
    canvas.Draw(RoundBox({x + side * 1.5, 142}, 10, 4, 3.5),
                Metal(RampId::kSlate, {x - 4, 139}, 12), kLine);
  }

  // Torso with a small clock dial on the belly.
  canvas.Draw(RoundBox({85, 118}, 27, 17, 9), Metal(RampId::kTeal, {70, 106}, 34), kLine);
  Vec2 dial{85, 119};
  canvas.Draw(Circle(dial, 8.5), Paint::Ramp(RampId::kCream, 11).Light({82, 116}, 8, 3), kFineInk);
  canvas.Draw(Stroke({dial, Polar(dial, 4.5, -150)}, 1.1), Paint::Solid(kInk));
  canvas.Draw(Stroke({dial, Polar(dial, 6.2, -35)}, 0.9), Paint::Solid(kInk));
  canvas.Draw(Circle({104, 110}, 2.4), Paint::Ramp(RampId::kAmber, 11), 1.2);
  canvas.Draw(Circle({104, 118}, 2.4), Paint::Ramp(RampId::kRose, 9), 1.2);

  // Arms raised high go behind the head, so the fists pop up past it.
  if (pose.armL > 0.5) DrawArm(canvas, kShoulderL, pose.armL, false);
  if (pose.armR > 0.5) DrawArm(canvas, kShoulderR, pose.armR, true);

  // Neck, head, ear bolts.
  canvas.Draw(RoundBox({85, 100}, 10, 4, 2), Paint::Ramp(RampId::kSlate, 7), kLine);
  for (double side : {-1.0, 1.0}) {
    Vec2 bolt{85 + side * 39, 80};
    canvas.Draw(RoundBox(bolt, 4, 6.5, 2.5), Metal(RampId::kAmber, {bolt.x - 1, bolt.y - 3}, 7),
                kLine);
  }
  canvas.Draw(RoundBox({85, 80}, 38, 21, 12), Metal(RampId::kTeal, {66, 64}, 42), kLine);

  // Screen face.
  canvas.Draw(RoundBox({85, 81}, 28.5, 14.5, 8),
              Paint::Ramp(RampId::kIce, 1.2).Gradient(67, 95, -1.6).Light({70, 70}, 18, 0.8),
              kFineInk);
  canvas.Draw(Stroke({{62, 74}, {66, 70}}, 1.2), Paint::Ramp(RampId::kIce, 9));
  EyeStyle eyes{4.6, 6.2, false, RampId::kCyan};
  Pose facePose = pose;
  DrawEyes(canvas, facePose, {74.5 + pose.look * 1.5, 79 - pose.lookUp * 1.5},
           {95.5 + pose.look * 1.5, 79 - pose.lookUp * 1.5}, eyes);
  DrawScreenMouth(canvas, pose.mouth, {85, 90});

  // Lower arms in front.
  if (pose.armL <= 0.5) DrawArm(canvas, kShoulderL, pose.armL, false);
  if (pose.armR <= 0.5) DrawArm(canvas, kShoulderR, pose.armR, true);

  // Bump effects at the raised fist(s).
  if (pose.impact > 0) {
    std::vector<Vec2> fists;
    if (pose.bigImpact) fists.push_back(body.Apply(Hand(kShoulderL, pose.armL, false)));
    fists.push_back(body.Apply(Hand(kShoulderR, pose.armR, true)));
    for (Vec2 f : fists) DrawImpact(canvas, {f.x, f.y - 8}, pose.impact, pose.bigImpact);
  }
}
