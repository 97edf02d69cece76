// The abstract scene the stage drives: owns its pictures and sprites, advances them each frame
// step, composes them off screen and presents what changed. The base keeps the rectangles and
// the draw list and supplies default depth ordering, composing and presenting.
#pragma once
#include <windows.h>

#include <cstdint>

#include "sprites/sprite.h"

class Scene {
 public:
  Scene() = default;
  virtual ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  virtual int Setup(RECT logicalRect, int preview) = 0;
  virtual int OnCreate(HWND window, RECT paintRect) = 0;
  virtual void Release() = 0;
  virtual void Start() = 0;
  virtual void Advance(int frames) = 0;
  virtual void SortByDepth();
  virtual void OnBackgroundReady(HDC target, HDC frameSurface, HDC backgroundSurface);
  virtual int Compose(HDC frameSurface, HDC backgroundSurface);
  virtual int Present(HWND window, HDC target, HDC frameSurface, HDC backgroundSurface);
  virtual void ExportPalette(PALETTEENTRY entries[256]) = 0;
  // The part of the logical area the next Compose draws and Present copies in the frame
  // surface; its size, the frame surface's, stays the same from Setup on. The whole area here.
  virtual RECT FrameArea() const { return logicalRect; }

  int SetupCommon(RECT logicalRect, int preview);
  int OnCreateCommon(HWND window, RECT paintRect);
  void ReleaseList();
  int IsActive() const { return active; }

  RECT logicalRect = {0, 0, 0, 0};
  RECT paintRect = {0, 0, 0, 0};
  int32_t preview = 0;
  HWND window = nullptr;
  int32_t active = 0;
  int32_t spriteCount = 0;
  Sprite** sprites = nullptr;
};
