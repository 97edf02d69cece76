// Pip, the minute blob.
#include <cmath>

#include "character_kit.h"
#include "characters.h"

namespace {

constexpr Vec2 kBodyCentre{85, 108};
constexpr Vec2 kStemBase{85, 69};

void DrawSprout(Canvas& canvas, double swing) {
  Vec2 tip = RotateAround({85, 55}, kStemBase, swing);
  Vec2 mid = RotateAround({85, 62}, kStemBase, swing * 0.5);
  Paint leaf = Paint::Ramp(RampId::kLeaf, 9);
  canvas.Draw(Stroke({kStemBase, mid, tip}, 1.7), leaf, kLine);
  // Two leaves opening from the stem tip, trailing the sway a little.
  const double angles[2] = {-150 + swing * 1.3, -30 + swing * 1.3};
  for (double a : angles) {
    Vec2 c = Polar(tip, 8.5, a);
    Paint p = Paint::Ramp(RampId::kLeaf, 9);
    p.Light(Polar(tip, 6, a - 20), 9, 4).Rim(2, 2);
    canvas.Draw(Ellipse(c, 9, 4.6, a), p, kLine);
    canvas.Draw(Stroke({Polar(tip, 2.5, a), Polar(tip, 13, a)}, 0.5),
                Paint::Ramp(RampId::kLeaf, 5));
  }
}

void DrawNub(Canvas& canvas, Vec2 shoulder, double raise, bool rightSide) {
  Vec2 hand = HandPosition(shoulder, raise, 10, rightSide);
  Paint p = Paint::Ramp(RampId::kViolet, 9);
  p.Light({hand.x, hand.y - 3}, 8, 2.5).Rim(2.5, 2.5);
  canvas.Draw(Capsule(shoulder, hand, 6, 6.5), p, kLine);
}

void DrawFace(Canvas& canvas, const Pose& pose) {
  canvas.Draw(Ellipse({60, 114}, 6, 3.4), Paint::Ramp(RampId::kRose, 11));
  canvas.Draw(Ellipse({110, 114}, 6, 3.4), Paint::Ramp(RampId::kRose, 11));
  EyeStyle eyes{8, 9.5, true, RampId::kGrey};
  DrawEyes(canvas, pose, {71, 99}, {99, 99}, eyes);
  DrawMouth(canvas, pose.mouth, {85, 113}, 5.5, 1.3);
}

}  // namespace

void DrawMinuteBlob(Canvas& canvas, const Pose& pose) {
  Affine body = BodyTransform(pose, kBodyCentre);
  canvas.SetTransform(body);
  // Turning about the vertical axis: the round body keeps its outline while the
  // face slides across it and disappears round the side.
  double yawCos = std::cos(Radians(pose.yaw));
  double yawSin = std::sin(Radians(pose.yaw));
  bool front = yawCos > 0.15;

  // Feet peeking out under the body.
  for (double side : {-1.0, 1.0}) {
    canvas.Draw(Ellipse({85 + side * 15, 142}, 10.5, 4.5),
                Paint::Ramp(RampId::kViolet, 6).Light({85 + side * 15, 139}, 8, 2), kLine);
  }
  DrawSprout(canvas, pose.swing);
  DrawNub(canvas, {49, 116}, pose.armL, false);
  DrawNub(canvas, {121, 116}, pose.armR, true);

  // Gumdrop body: round top, soft flat bottom.
  Paint skin = Paint::Ramp(RampId::kViolet, 9.5);
  skin.Light({70, 86}, 42, 4).Rim(5, 3.5).Gradient(96, 142, 1.5);
  canvas.Draw({Ellipse({85, 104}, 39, 36), RoundBox({85, 127}, 40, 15, 15)}, skin, kLine);
  if (front) {
    Affine face = Affine::Translate(-85, 0)
                      .Then(Affine::Scale(yawCos, 1))
                      .Then(Affine::Translate(85 + 36 * yawSin, 0))
                      .Then(body);
    canvas.SetTransform(face);
    DrawFace(canvas, pose);
  }
  canvas.SetTransform(body);
  if (pose.impact > 0) {
    Vec2 top = body.Apply({85 + pose.lean * 0.2, 62});
    DrawImpact(canvas, top, pose.impact, pose.bigImpact);
  }
}
