// The positioned, animated sprite: placement from the random source, fractional frame stepping,
// torus wrapping around the bounds, and the background copies that erase it between frames.
#include "sprites/sprite.h"

#include <cmath>
#include <cstdint>

#include "graphics/random_source.h"

int WrapFrame(int frame, int count) {
  if (count <= 0) return 0;
  // Wider arithmetic so that the most negative frame can be negated.
  const int64_t wide = frame;
  if (wide >= 0) return static_cast<int>(wide % count);
  const int64_t rest = -wide % count;
  return rest == 0 ? 0 : static_cast<int>(count - rest);
}

Sprite::Sprite() {
  Init();
}

void Sprite::Init() {
  bounds = {0, 0, 0, 0};
  speed = 0;
  strip = nullptr;
  frame = 0;
  previousFrame = 0;
  frameAccumulator = 0;
  frameRate = 64;
  x = 0.0;
  y = 0.0;
  nominalWidth = 0;
  nominalHeight = 0;
  moveMode = -1;
  vx = 0.0;
  vy = 0.0;
  hasSaved = 0;
}

int Sprite::CurrentWidth() {
  if (strip != nullptr) {
    if (MaskedBitmap* picture = strip->GetFrame(frame)) return picture->width;
  }
  return nominalWidth;
}

int Sprite::CurrentHeight() {
  if (strip != nullptr) {
    if (MaskedBitmap* picture = strip->GetFrame(frame)) return picture->height;
  }
  return nominalHeight;
}

int Sprite::Setup(FrameStrip* newStrip, int newNominalWidth, int newNominalHeight, int newMoveMode,
                  int newSpeed, int left, int top, int right, int bottom) {
  strip = newStrip;
  nominalWidth = newNominalWidth;
  nominalHeight = newNominalHeight;
  moveMode = newMoveMode;
  speed = newSpeed;
  bounds = {left, top, right, bottom};
  return Place();
}

// A random spot inside the bounds for the nominal box, with the current frame centred on it.
int Sprite::Place() {
  frameAccumulator = 0;
  previousFrame = 0;
  frame = 0;
  frameRate = 64;
  const uint32_t spanX = static_cast<uint32_t>(bounds.right - bounds.left - nominalWidth) & 0xFFFF;
  const int drawnX = static_cast<int>(Random(spanX));
  x = drawnX - (CurrentWidth() - nominalWidth) / 2 + bounds.left;
  const uint32_t spanY = static_cast<uint32_t>(bounds.bottom - bounds.top - nominalHeight) & 0xFFFF;
  const int drawnY = static_cast<int>(Random(spanY));
  y = drawnY - (CurrentHeight() - nominalHeight) / 2 + bounds.top;
  RandomVelocity(speed);
  return KeepInBounds();
}

int Sprite::Advance() {
  if (strip == nullptr) return 0;
  if (moveMode != -1) {
    x += vx;
    y += vy;
  }
  previousFrame = frame;
  frameAccumulator += frameRate;
  frame += frameAccumulator / 64;
  frameAccumulator %= 64;
  frame = WrapFrame(frame, strip->count);
  return frame != previousFrame ? 1 : 0;
}

// speed is in tenths of a pixel per Advance; the length is drawn from 0.1 up to speed / 10.
int Sprite::RandomVelocity(int newSpeed) {
  if (newSpeed == 0) {
    vx = 0.0;
    vy = 0.0;
    return 0;
  }
  const int length = static_cast<int>(Random(static_cast<uint32_t>(10 * newSpeed - 10))) + 1;
  const int angle = static_cast<int>(Random(360));
  vx = std::cos(angle * kRadiansPerDegree) * length * 0.1;
  vy = std::sin(angle * kRadiansPerDegree) * length * 0.1;
  return angle;
}

// Wraps like a torus: leaving past one edge re-enters by the width or height of the bounds.
int Sprite::KeepInBounds() {
  const int dx = (CurrentWidth() - nominalWidth) / 2;
  const int dy = (CurrentHeight() - nominalHeight) / 2;
  const int boundsWidth = bounds.right - bounds.left;
  const int boundsHeight = bounds.bottom - bounds.top;
  int wrapped = 0;
  if (x > static_cast<double>(bounds.right - dx)) {
    x -= boundsWidth;
    wrapped = 1;
  }
  if (x < static_cast<double>(bounds.left - dx)) {
    x += boundsWidth;
    wrapped = 1;
  }
  if (y > static_cast<double>(bounds.bottom - dy)) {
    y -= boundsHeight;
    wrapped = 1;
  }
  if (y < static_cast<double>(bounds.top - dy)) {
    y += boundsHeight;
    wrapped = 1;
  }
  return wrapped;
}

// Copies the background over the current rectangle and over the one last saved.
int Sprite::Restore(HDC target, HDC source) {
  int ok = 1;
  if (strip != nullptr) {
    const int left = PixelX();
    const int top = PixelY();
    if (!BitBlt(target, left, top, CurrentWidth(), CurrentHeight(), source, left, top, SRCCOPY)) {
      ok = 0;
    }
  }
  if (hasSaved) {
    if (!BitBlt(target, savedX, savedY, savedWidth, savedHeight, source, savedX, savedY, SRCCOPY)) {
      ok = 0;
    }
  }
  return ok;
}

int Sprite::Draw(HDC target) {
  if (strip == nullptr) return 1;
  return strip->DrawFrame(target, PixelX(), PixelY(), frame);
}

int Sprite::RestoreAndSave(HDC target, HDC source) {
  const int ok = Restore(target, source);
  hasSaved = strip != nullptr ? 1 : 0;
  savedX = PixelX();
  savedY = PixelY();
  savedWidth = CurrentWidth();
  savedHeight = CurrentHeight();
  return ok;
}
