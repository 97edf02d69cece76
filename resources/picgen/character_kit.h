// Pieces shared by the three characters: the body transform that applies a pose,
// ink widths, eyes and the effects drawn around a bump.
#pragma once

#include "canvas.h"
#include "pose.h"

constexpr int kCharacterSize = 176;
constexpr Vec2 kGround{85, 146};  // centre of the feet on the ground
constexpr double kLine = 2.2;     // outline width of body parts
constexpr double kFineInk = 1.7;  // outline width of small details

// Maps the character's rest-pose coordinates to the picture: squash about the feet,
// lean, spin about bodyCentre, then lift.
Affine BodyTransform(const Pose& pose, Vec2 bodyCentre);

// Position of a hand: the arm hangs (raise 0) or points up and outwards (raise 1,
// topAngle degrees away from hanging straight down), mirrored for the right arm.
Vec2 HandPosition(Vec2 shoulder, double raise, double length, bool rightSide,
                  double topAngle = 160);

// A pair of eyes in one of the expression states; centres are the two eye middles.
struct EyeStyle {
  double rx, ry;  // open eye size
  bool whites;    // white eyeballs with pupils, or solid dark eyes
  RampId glow;    // colour of solid eyes (kGrey = ink)
};
void DrawEyes(Canvas& canvas, const Pose& pose, Vec2 left, Vec2 right, const EyeStyle& style);

// Smile, flat, open or grinning mouth centred at c with the given half width.
void DrawMouth(Canvas& canvas, Mouth mouth, Vec2 c, double halfWidth, double stroke);

// Bump effect at a point in picture coordinates: a burst on the bump frame, then
// stars spinning away and shrinking.
void DrawImpact(Canvas& canvas, Vec2 at, int age, bool big);

// Four-pointed sparkle.
void DrawSparkle(Canvas& canvas, Vec2 c, double radius, double rotDeg);

// Jet flame pointing down from a nozzle; strength 0..1.
void DrawFlame(Canvas& canvas, Vec2 nozzle, double strength, double flicker);
