// The stage's shared state: the rectangles, the off-screen surfaces, the scene, the opening
// images and the palette. One instance, used by the stage's painting, opening and palette code.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "scene/scene.h"

namespace Stage {

// A memory DC with a display-compatible bitmap selected, and the DC's own bitmap to put back.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HBITMAP defaultBitmap = nullptr;
};

// A bottom-up 24-bit DIB section and its pixels.
struct Image24 {
  HBITMAP bitmap = nullptr;
  uint8_t* pixels = nullptr;
};

struct State {
  RECT logicalRect = {0, 0, 0, 0};
  RECT paintRect = {0, 0, 0, 0};
  RECT blockBounds = {0, 0, 0, 0};  // where the scene's block roams, in logical coordinates
  // The window's place in screen coordinates, where the opening captures the screen; empty when
  // the stage covers a host window's client area.
  RECT screenArea = {0, 0, 0, 0};
  Surface frame, background, preview;
  Scene* scene = nullptr;
  Image24 capture;
  Image24 dim;  // one band of rows of the logical width, where each dimmed picture is made
  int bandRows = 0;
  bool firstErase = true;
  int dimLevel = 32;
  // The part of the window an erase after the opening reported damaged (empty: none). The next
  // paint copies it from the background surface before it presents the block.
  RECT damage = {0, 0, 0, 0};
  // The palette on 256-colour displays, and what each DC had selected before it.
  LOGPALETTE* paletteBlock = nullptr;
  HPALETTE palette = nullptr;
  HPALETTE windowPreviousPalette = nullptr;
  HPALETTE framePreviousPalette = nullptr;
  HPALETTE backgroundPreviousPalette = nullptr;
  HPALETTE previewPreviousPalette = nullptr;
};

extern State stage;

inline int LogicalWidth() {
  return stage.logicalRect.right;
}
inline int LogicalHeight() {
  return stage.logicalRect.bottom;
}

// 32-bit words in one W x H 24-bit image, row padding included.
inline size_t ImageWords(int width, int height) {
  return size_t((3 * width + 3) / 4) * size_t(height);
}

// Shrinks the whole preview surface onto dc, the saver window's paint rectangle (stage.cpp).
void ShowPreviewSurface(HDC dc);
// Adds the area an erase DC is clipped to, the window's damaged part, to the damage (stage.cpp).
void NoteDamage(HDC eraseDc);

// The opening (opening_dim.cpp).
int TargetLevel();
// A bottom-up 24-bit image of the size, selected nowhere; empty where it cannot be made.
Image24 CreateImage24(HDC dc, int width, int height);
// The capture, of the logical size, and the band the dimmed pictures are made in; false, with
// neither, where they cannot be made.
bool CreateOpeningImages();
// Into the capture made above, from sourceDc; nothing without it.
void CaptureScreen(HDC sourceDc);
// The capture from the parent window's DC: the desktop, or the preview's host.
void CaptureDesktop();
// Draws the capture at brightness level/32 over the logical area of target.
void ShowCapture(HDC target, int level);
// The level the opening shows now: the capture as taken until the first frame step.
int ShownLevel();
// Scales every byte of words 32-bit words: b becomes b * n / 32, n clamped to 0..32.
int ScaleImage(uint32_t* destination, const uint32_t* source, size_t words, int n);
// The plain word loop on its own: all of the 32-bit product's scaling, which has no SSE2, and
// the tail of every other build's.
void ScaleWords(uint32_t* destination, const uint32_t* source, size_t words, int n);
void DimStep();
void DeleteImages();

// The palette (palette.cpp).
void BuildPalette(HWND window);
void ReleasePalette(HWND window);

// Where the opening makes its images; tests make it fail.
using CreateDibSectionFn = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
extern CreateDibSectionFn createDibSection;
// About how many bytes the band of dimmed rows takes (1 MiB); tests make it a few rows.
extern size_t bandBytes;

}  // namespace Stage
