// The settings dialog's preview picture and its palette.
#include "settings/settings_preview.h"

#include <cstdlib>

#include "graphics/masked_bitmap.h"
#include "resources/resource_ids.h"

SettingsPreview preview;

namespace {

RECT AreaClientRect(HWND dialog) {
  RECT rect = {0, 0, 0, 0};
  GetClientRect(GetDlgItem(dialog, IDC_PREVIEW_AREA), &rect);
  return rect;
}

// The preview area's top-left corner in the dialog's client coordinates.
POINT AreaOrigin(HWND dialog) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(GetDlgItem(dialog, IDC_PREVIEW_AREA), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return POINT{rect.left, rect.top};
}

void CreatePreviewStrip() {
  preview.strips = new FrameStrip[1];
  const LPCSTR source[1] = {MAKEINTRESOURCEA(IDB_PREVIEW)};
  preview.strips[0].Create(1, source);
  preview.strips[0].LoadAll();
}

// The LOGPALETTE block and the palette, from the picture's colours. A block left by an earlier
// try whose CreatePalette failed is freed first.
void BuildPreviewPalette() {
  std::free(preview.paletteBlock);
  preview.paletteBlock = NewPaletteBlock();
  if (preview.paletteBlock == nullptr) return;
  preview.strips[0].ExportPalette(preview.paletteBlock->palPalEntry);
  preview.palette = CreatePalette(preview.paletteBlock);
}

// Puts the preview palette into the paint DC, making it first on an 8-bit display. Returns the
// paint DC's previous palette, for the caller to select back before EndPaint.
HPALETTE SelectPaintPalette(HDC paintDc) {
  if (preview.palette == nullptr) {
    if (GetDeviceCaps(paintDc, BITSPIXEL) != 8) return nullptr;
    BuildPreviewPalette();
    if (preview.palette == nullptr) return nullptr;
    HPALETTE previous = SelectPalette(paintDc, preview.palette, FALSE);
    RealizePalette(paintDc);
    preview.previousPaintPalette = previous;
    preview.previousMemoryPalette = SelectPalette(preview.memoryDc, preview.palette, FALSE);
    RealizePalette(preview.memoryDc);
    return previous;
  }
  HPALETTE previous = SelectPalette(paintDc, preview.palette, FALSE);
  RealizePalette(paintDc);
  return previous;
}

void DrawIntoMemory() {
  RECT area = {0, 0, preview.area.cx, preview.area.cy};
  FillRect(preview.memoryDc, &area, GetSysColorBrush(COLOR_BTNFACE));
  MaskedBitmap* picture = preview.strips[0].GetFrame(0);
  if (picture == nullptr) return;
  const POINT at = CentredOrigin(preview.area, SIZE{picture->width, picture->height});
  preview.strips[0].DrawFrame(preview.memoryDc, at.x, at.y, 0);
}

void ReleasePalette(HWND dialog) {
  if (preview.palette == nullptr) return;
  UnrealizeObject(preview.palette);
  HDC dialogDc = GetDC(dialog);
  if (dialogDc != nullptr) {
    if (preview.previousPaintPalette != nullptr) {
      SelectPalette(dialogDc, preview.previousPaintPalette, TRUE);
    }
    SetSystemPaletteUse(dialogDc, SYSPAL_STATIC);
    ReleaseDC(dialog, dialogDc);
  }
  if (preview.memoryDc != nullptr && preview.previousMemoryPalette != nullptr) {
    SelectPalette(preview.memoryDc, preview.previousMemoryPalette, TRUE);
  }
  DeleteObject(preview.palette);
  preview.palette = nullptr;
  preview.previousPaintPalette = nullptr;
  preview.previousMemoryPalette = nullptr;
}

}  // namespace

POINT CentredOrigin(SIZE area, SIZE picture) {
  return POINT{(area.cx - picture.cx) / 2, (area.cy - picture.cy) / 2};
}

bool CreatePreview(HWND dialog) {
  HDC dialogDc = GetDC(dialog);
  if (dialogDc == nullptr) return false;
  const RECT area = AreaClientRect(dialog);
  preview.area = SIZE{area.right - area.left, area.bottom - area.top};
  preview.memoryDc = CreateCompatibleDC(dialogDc);
  if (preview.memoryDc != nullptr) {
    preview.bitmap = CreateCompatibleBitmap(dialogDc, preview.area.cx, preview.area.cy);
    if (preview.bitmap != nullptr) {
      preview.previousBitmap = static_cast<HBITMAP>(SelectObject(preview.memoryDc, preview.bitmap));
    }
  }
  CreatePreviewStrip();
  ReleaseDC(dialog, dialogDc);
  return true;
}

bool PaintPreview(HWND dialog) {
  if (preview.memoryDc == nullptr || preview.strips == nullptr) return false;
  PAINTSTRUCT paint;
  HDC paintDc = BeginPaint(dialog, &paint);
  HPALETTE previousPalette = SelectPaintPalette(paintDc);
  DrawIntoMemory();
  const POINT at = AreaOrigin(dialog);
  BitBlt(paintDc, at.x, at.y, preview.area.cx, preview.area.cy, preview.memoryDc, 0, 0, SRCCOPY);
  if (previousPalette != nullptr) SelectPalette(paintDc, previousPalette, TRUE);
  EndPaint(dialog, &paint);
  return true;
}

bool RealizePreviewPalette(HWND dialog) {
  if (preview.palette == nullptr) return false;
  HDC dialogDc = GetDC(dialog);
  if (dialogDc == nullptr) return true;
  UnrealizeObject(preview.palette);
  HPALETTE previous = SelectPalette(dialogDc, preview.palette, FALSE);
  RealizePalette(dialogDc);
  if (previous != nullptr) SelectPalette(dialogDc, previous, TRUE);
  ReleaseDC(dialog, dialogDc);
  return true;
}

void ReleasePreview(HWND dialog) {
  delete[] preview.strips;  // each strip deletes its frames and their bitmaps
  preview.strips = nullptr;
  ReleasePalette(dialog);
  std::free(preview.paletteBlock);
  preview.paletteBlock = nullptr;
  if (preview.memoryDc != nullptr && preview.previousBitmap != nullptr) {
    SelectObject(preview.memoryDc, preview.previousBitmap);
  }
  if (preview.bitmap != nullptr) DeleteObject(preview.bitmap);
  if (preview.memoryDc != nullptr) DeleteDC(preview.memoryDc);
  preview = SettingsPreview{};
}
