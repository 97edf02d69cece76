// The settings dialog's preview picture and its palette.
#include "settings/settings_preview.h"

#include <cstdlib>

#include "graphics/masked_bitmap.h"
#include "resources/resource_ids.h"
#include "settings/dialog_pictures.h"

SettingsPreview preview;

namespace {

SIZE AreaSize(HWND dialog) {
  RECT rect = {0, 0, 0, 0};
  GetClientRect(GetDlgItem(dialog, IDC_PREVIEW_AREA), &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// The preview area's top-left corner in the dialog's client coordinates.
POINT AreaOrigin(HWND dialog) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(GetDlgItem(dialog, IDC_PREVIEW_AREA), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return POINT{rect.left, rect.top};
}

void CreatePreviewStrip(int variant) {
  delete[] preview.strips;
  preview.strips = new FrameStrip[1];
  preview.variant = variant;
  const LPCSTR source[1] = {MAKEINTRESOURCEA(kPreviewPicture.variants[variant].resourceId)};
  preview.strips[0].Create(1, source);
  preview.strips[0].LoadAll();
}

// A memory bitmap of the area's size, in place of any earlier one.
void CreateAreaBitmap(HDC dialogDc, SIZE area) {
  if (preview.previousBitmap != nullptr) SelectObject(preview.memoryDc, preview.previousBitmap);
  if (preview.bitmap != nullptr) DeleteObject(preview.bitmap);
  preview.previousBitmap = nullptr;
  preview.area = area;
  preview.bitmap = CreateCompatibleBitmap(dialogDc, area.cx, area.cy);
  if (preview.bitmap != nullptr) {
    preview.previousBitmap = static_cast<HBITMAP>(SelectObject(preview.memoryDc, preview.bitmap));
  }
}

// Brings the memory bitmap to the area's present size, and the picture to the present scale.
void FitPreview(HWND dialog, HDC dialogDc) {
  const SIZE area = AreaSize(dialog);
  if (preview.bitmap == nullptr || area.cx != preview.area.cx || area.cy != preview.area.cy) {
    CreateAreaBitmap(dialogDc, area);
  }
  preview.picture = PictureSizeIn(kPreviewPicture, WindowDpi(dialog), area);
  const int variant = ChooseVariant(kPreviewPicture, preview.picture);
  if (preview.strips == nullptr || variant != preview.variant) CreatePreviewStrip(variant);
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

// The drawing over the button face in a bitmap of its own size, scaled smoothly into the
// memory bitmap at the place and size given. The preview palette, where there is one, goes
// into the drawing's DC too, so that its colours survive on an 8-bit display.
void DrawScaled(SIZE drawing, const RECT& to) {
  HDC dc = CreateCompatibleDC(preview.memoryDc);
  HBITMAP bitmap = CreateCompatibleBitmap(preview.memoryDc, drawing.cx, drawing.cy);
  if (dc != nullptr && bitmap != nullptr) {
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HPALETTE previousPalette =
        preview.palette != nullptr ? SelectPalette(dc, preview.palette, FALSE) : nullptr;
    if (previousPalette != nullptr) RealizePalette(dc);
    RECT all = {0, 0, drawing.cx, drawing.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    preview.strips[0].DrawFrame(dc, 0, 0, 0);
    StretchSmoothly(preview.memoryDc, to, dc, drawing);
    if (previousPalette != nullptr) SelectPalette(dc, previousPalette, TRUE);
    SelectObject(dc, previousBitmap);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (dc != nullptr) DeleteDC(dc);
}

void DrawIntoMemory() {
  RECT area = {0, 0, preview.area.cx, preview.area.cy};
  FillRect(preview.memoryDc, &area, GetSysColorBrush(COLOR_BTNFACE));
  MaskedBitmap* drawing = preview.strips[0].GetFrame(0);
  if (drawing == nullptr) return;
  const POINT at = CentredOrigin(preview.area, preview.picture);
  if (drawing->width == preview.picture.cx && drawing->height == preview.picture.cy) {
    preview.strips[0].DrawFrame(preview.memoryDc, at.x, at.y, 0);
    return;
  }
  DrawScaled(SIZE{drawing->width, drawing->height},
             RECT{at.x, at.y, at.x + preview.picture.cx, at.y + preview.picture.cy});
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
  preview.memoryDc = CreateCompatibleDC(dialogDc);
  if (preview.memoryDc != nullptr) {
    FitPreview(dialog, dialogDc);
  } else {
    CreatePreviewStrip(0);
  }
  ReleaseDC(dialog, dialogDc);
  return true;
}

bool PaintPreview(HWND dialog) {
  if (preview.memoryDc == nullptr || preview.strips == nullptr) return false;
  PAINTSTRUCT paint;
  HDC paintDc = BeginPaint(dialog, &paint);
  FitPreview(dialog, paintDc);
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
