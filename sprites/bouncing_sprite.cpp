// The bouncing carrier: straight-line motion at a fixed speed, reflected off the bounds. It
// draws nothing itself, so restoring only ever concerns the rectangle it last recorded.
#include "sprites/bouncing_sprite.h"

#include <cmath>

#include "graphics/random_source.h"

int BouncingSprite::Advance() {
  x += vx;
  y += vy;
  return 0;
}

// Only the direction is random; the length is always speed / 10.
int BouncingSprite::RandomVelocity(int newSpeed) {
  if (newSpeed == 0) {
    vx = 0.0;
    vy = 0.0;
    return 0;
  }
  const int angle = static_cast<int>(Random(360));
  vx = std::cos(angle * kRadiansPerDegree) * newSpeed * 0.1;
  vy = std::sin(angle * kRadiansPerDegree) * newSpeed * 0.1;
  return angle;
}

// Reflects a velocity component that points out through an edge the nominal box, centred on
// the current frame, touches or has crossed. A component already pointing back inside is left
// alone: reversing it too would make a box that a turn points outward right after a reflection
// shiver on the edge until the next turn. The position is never corrected: the next Advance
// carries the box back inside. The centre mirrored at the top or left edge after a reflection
// is used only by the test against the opposite edge.
int BouncingSprite::KeepInBounds() {
  const int w = CurrentWidth();
  const int h = CurrentHeight();
  double cx = x + w / 2;
  double cy = y + h / 2;
  const int hw = nominalWidth / 2;
  const int hh = nominalHeight / 2;
  if (cy - hh < bounds.top && vy < 0.0) {
    vy = -vy;
    cy = 2.0 * bounds.top - cy;
  }
  if (cy + hh >= bounds.bottom && vy > 0.0) vy = -vy;
  if (cx - hw < bounds.left && vx < 0.0) {
    vx = -vx;
    cx = 2.0 * bounds.left - cx;
  }
  if (cx + hw >= bounds.right && vx > 0.0) vx = -vx;
  return 0;
}

int BouncingSprite::Restore(HDC target, HDC source) {
  if (!hasSaved) return 1;
  return BitBlt(target, savedX, savedY, savedWidth, savedHeight, source, savedX, savedY, SRCCOPY)
             ? 1
             : 0;
}

int BouncingSprite::Draw(HDC) {
  return 1;
}

int BouncingSprite::RestoreAndSave(HDC target, HDC source) {
  const int ok = Restore(target, source);
  hasSaved = -1;
  savedX = PixelX();
  savedY = PixelY();
  savedWidth = CurrentWidth();
  savedHeight = CurrentHeight();
  return ok;
}
