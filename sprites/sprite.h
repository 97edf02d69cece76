// A positioned drawable: shows the current frame of a strip at a double-precision position,
// steps its frame at a fractional rate, moves, wraps around its bounds like a torus, and copies
// the background back over where it was drawn. Owns nothing; the strip is borrowed.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/frame_strip.h"

// Directions are drawn in whole degrees.
constexpr double kRadiansPerDegree = 0.017453292519943295;

class Sprite {
 public:
  Sprite();
  virtual ~Sprite() = default;

  virtual void Init();
  virtual int Setup(FrameStrip* strip, int nominalWidth, int nominalHeight, int moveMode, int speed,
                    int left, int top, int right, int bottom);
  virtual int Place();
  virtual int Advance();
  virtual int RandomVelocity(int speed);
  virtual int KeepInBounds();
  virtual int Restore(HDC target, HDC source);
  virtual int Draw(HDC target);
  virtual int RestoreAndSave(HDC target, HDC source);

  // The size of the current frame, or the nominal size without one; loads the frame.
  int CurrentWidth();
  int CurrentHeight();
  // The pixel position: truncation toward zero.
  int PixelX() const { return static_cast<int>(x); }
  int PixelY() const { return static_cast<int>(y); }

  RECT bounds;
  int32_t speed;
  FrameStrip* strip;
  int32_t frame;
  int32_t previousFrame;
  int32_t frameAccumulator;  // in 1/64 frame
  int32_t frameRate;         // frames per Advance, in 1/64 frame
  double x, y;
  int32_t nominalWidth, nominalHeight;
  int32_t moveMode;  // -1: Advance leaves the position alone
  double vx, vy;
  int32_t savedX = 0, savedY = 0, savedWidth = 0, savedHeight = 0;
  int32_t hasSaved;
};

// Pure frame arithmetic: wraps a frame index into 0 .. count - 1 (0 for an empty strip).
int WrapFrame(int frame, int count);
