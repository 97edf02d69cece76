// The palette on 256-colour displays: one logical palette from the scene's colours, selected
// into the saver window, the shared picture DC and every surface, realized again whenever the
// system palette changes, and taken out of everything at shutdown.
#include <cstdlib>

#include "graphics/masked_bitmap.h"
#include "host/host_state.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace Stage {

namespace {

void SelectIntoSurface(Surface& surface, HPALETTE& previous) {
  if (surface.dc == nullptr) return;
  previous = SelectPalette(surface.dc, stage.palette, FALSE);
  RealizePalette(surface.dc);
}

void RestoreSurface(Surface& surface, HPALETTE& previous) {
  if (surface.dc == nullptr || previous == nullptr) return;
  SelectPalette(surface.dc, previous, FALSE);
  previous = nullptr;
}

}  // namespace

void BuildPalette(HWND window) {
  HDC dc = GetDC(window);
  if (GetDeviceCaps(dc, BITSPIXEL) == 8 && stage.scene != nullptr) {
    stage.paletteBlock = NewPaletteBlock();
    if (stage.paletteBlock != nullptr) {
      stage.scene->ExportPalette(stage.paletteBlock->palPalEntry);
      stage.palette = CreatePalette(stage.paletteBlock);
    }
    // Without a palette block or palette nothing more is selected: the display keeps its own.
    if (stage.palette != nullptr) {
      if (!isPreview && !isWindowed) SetSystemPaletteUse(dc, SYSPAL_NOSTATIC);
      stage.windowPreviousPalette = SelectPalette(dc, stage.palette, FALSE);
      RealizePalette(dc);
      SelectSharedPalette(stage.palette);
      RealizeSharedPalette();
      SelectIntoSurface(stage.frame, stage.framePreviousPalette);
      SelectIntoSurface(stage.background, stage.backgroundPreviousPalette);
      SelectIntoSurface(stage.preview, stage.previewPreviousPalette);
    }
  }
  ReleaseDC(window, dc);
}

bool HasPalette() {
  return stage.palette != nullptr;
}

void RefreshPalette(HWND window) {
  if (stage.palette == nullptr) return;
  HDC dc = GetDC(window);
  UnrealizeObject(stage.palette);
  SelectPalette(dc, stage.palette, FALSE);
  RealizePalette(dc);
  ReleaseDC(window, dc);
  InvalidateRect(window, nullptr, TRUE);
}

void ReleasePalette(HWND window) {
  RestoreSurface(stage.preview, stage.previewPreviousPalette);
  RestoreSurface(stage.background, stage.backgroundPreviousPalette);
  RestoreSurface(stage.frame, stage.framePreviousPalette);
  DeleteSharedDc();
  // Without a window (the preview's last shutdown) only the window's DC is left alone: the
  // palette and its block are still freed.
  HDC dc = window != nullptr ? GetDC(window) : nullptr;
  if (stage.windowPreviousPalette != nullptr) {
    if (dc != nullptr) SelectPalette(dc, stage.windowPreviousPalette, FALSE);
    stage.windowPreviousPalette = nullptr;
  }
  if (stage.paletteBlock != nullptr) {
    if (dc != nullptr) SetSystemPaletteUse(dc, SYSPAL_STATIC);
    std::free(stage.paletteBlock);
    stage.paletteBlock = nullptr;
  }
  if (stage.palette != nullptr) {
    DeleteObject(stage.palette);
    stage.palette = nullptr;
  }
  if (dc != nullptr) ReleaseDC(window, dc);
}

}  // namespace Stage
