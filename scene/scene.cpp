// The scene base: the draw list and the default depth ordering, composing and presenting that
// every scene with free-moving sprites shares.
#include "scene/scene.h"

#include <new>

Scene::~Scene() {
  ReleaseList();
}

// The derived scene sets spriteCount first; the list starts with every slot empty.
int Scene::SetupCommon(RECT newLogicalRect, int newPreview) {
  logicalRect = newLogicalRect;
  preview = newPreview;
  active = 0;
  delete[] sprites;
  sprites = nullptr;
  if (spriteCount < 0) return 0;
  sprites = new (std::nothrow) Sprite*[spriteCount]();
  if (sprites == nullptr) return 0;
  active = 1;
  return 1;
}

int Scene::OnCreateCommon(HWND newWindow, RECT newPaintRect) {
  window = newWindow;
  paintRect = newPaintRect;
  return active ? 1 : 0;
}

void Scene::ReleaseList() {
  delete[] sprites;
  sprites = nullptr;
  spriteCount = 0;
  active = 0;
}

// Moves the occupied slots to the front, keeping their order, then sorts them by y so that the
// sprites lower on the screen are drawn last. Equal y keep their order.
void Scene::SortByDepth() {
  if (sprites == nullptr) return;
  for (int i = 1; i < spriteCount; ++i) {
    for (int j = 0; j < spriteCount - i; ++j) {
      if (sprites[j] == nullptr) {
        sprites[j] = sprites[j + 1];
        sprites[j + 1] = nullptr;
      }
    }
  }
  int occupied = 0;
  while (occupied < spriteCount && sprites[occupied] != nullptr) ++occupied;
  if (occupied <= 1) return;
  for (int pass = occupied - 1; pass >= 1; --pass) {
    for (int j = 0; j < pass; ++j) {
      if (sprites[j]->y > sprites[j + 1]->y) {
        Sprite* swapped = sprites[j];
        sprites[j] = sprites[j + 1];
        sprites[j + 1] = swapped;
      }
    }
  }
}

void Scene::OnBackgroundReady(HDC, HDC, HDC) {}

// Every sprite is erased before any is drawn, so that erasing one never cuts into another.
int Scene::Compose(HDC frameSurface, HDC backgroundSurface) {
  if (sprites == nullptr) return 0;
  for (int i = 0; i < spriteCount; ++i) {
    if (sprites[i] != nullptr) sprites[i]->Restore(frameSurface, backgroundSurface);
  }
  for (int i = 0; i < spriteCount; ++i) {
    if (sprites[i] != nullptr) sprites[i]->Draw(frameSurface);
  }
  return spriteCount;
}

// Copies only the sprites' old and new rectangles from the composed frame to the target.
int Scene::Present(HWND, HDC target, HDC frameSurface, HDC) {
  if (sprites == nullptr) return 0;
  for (int i = 0; i < spriteCount; ++i) {
    if (sprites[i] != nullptr) sprites[i]->RestoreAndSave(target, frameSurface);
  }
  return spriteCount;
}
