// The clock: six digits and two colons in a row with three animated characters below, all on
// one invisible 534 x 194 block that drifts over the screen and bounces off its edges. The
// characters' frames follow the milliseconds of the local time; a character switches to a
// special strip for the second at whose end the digits above it roll over.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/frame_strip.h"
#include "scene/scene.h"
#include "sprites/bouncing_sprite.h"

constexpr int kBlockWidth = 534;
constexpr int kBlockHeight = 194;

struct LayoutOffset {
  int x, y;
};
// Picture positions relative to the block: digits 0-5, colons 0-1, characters 0-2.
extern const LayoutOffset kDigitLayout[6];
extern const LayoutOffset kColonLayout[2];
extern const LayoutOffset kCharacterLayout[3];

// Where the scene reads the local time; tests replace it.
using LocalTimeSource = void(WINAPI*)(LPSYSTEMTIME time);
void SetLocalTimeSource(LocalTimeSource source);

// Pure rules, usable without a window.
// The character frame shown at a millisecond of the second.
int ClockFrame(int millisecond);
// The strip (0, 1 or 2 for the +0, +100 and +200 strips) each character takes for the coming
// second, by the time read when the clock frame is 0.
void ChooseStrips(int hour, int minute, int second, int strips[3]);

class ClockScene : public Scene {
 public:
  ClockScene();
  ~ClockScene() override;

  int Setup(RECT logicalRect, int preview) override;
  int OnCreate(HWND window, RECT paintRect) override;
  void Release() override;
  void Start() override;
  void Advance(int frames) override;
  void SortByDepth() override {}
  int Compose(HDC frameSurface, HDC backgroundSurface) override;
  int Present(HWND window, HDC target, HDC frameSurface, HDC backgroundSurface) override;
  void ExportPalette(PALETTEENTRY entries[256]) override;
  RECT FrameArea() const override;

  FrameStrip* digitStrip = nullptr;
  FrameStrip* colonStrip = nullptr;
  FrameStrip** characterStrips = nullptr;  // 3 series, each an array of 3 strips
  Sprite* characterSprites = nullptr;      // 3
  Sprite* digitSprites = nullptr;          // 6
  Sprite* colonSprites = nullptr;          // 2
  BouncingSprite* anchor = nullptr;
  int32_t turnCountdown = 0;
};

// The stage's one scene. The type is not consulted; null when memory runs out.
Scene* CreateScene(int type);
