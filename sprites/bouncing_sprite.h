// A sprite that moves in a straight line at a fixed speed and reflects off its bounds, like a
// ball on a table. Draws nothing: the clock scene uses one as the carrier of the clock block.
#pragma once
#include "sprites/sprite.h"

class BouncingSprite : public Sprite {
 public:
  BouncingSprite() = default;
  ~BouncingSprite() override = default;

  int Advance() override;
  int RandomVelocity(int speed) override;
  int KeepInBounds() override;
  int Restore(HDC target, HDC source) override;
  int Draw(HDC target) override;
  int RestoreAndSave(HDC target, HDC source) override;
};
