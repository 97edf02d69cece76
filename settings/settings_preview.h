// The settings dialog's preview: picture 106 drawn centred over the button-face colour into a
// memory bitmap the size of the (hidden) preview-area control, then copied onto the dialog.
// Alive from the dialog's WM_INITDIALOG until it closes; on 8-bit displays it brings a palette
// made from the picture's colours.
//
// The picture takes the display's scale (dialog_pictures.h), within the area. The area's size
// and the scale are read again at every paint, since the system scales a dialog afresh when it
// moves onto a monitor of another scale; the memory bitmap and the drawing follow them.
#pragma once
#include <windows.h>

#include "graphics/frame_strip.h"

struct SettingsPreview {
  HDC memoryDc = nullptr;
  HBITMAP bitmap = nullptr;
  HBITMAP previousBitmap = nullptr;  // what memoryDc had selected before bitmap
  SIZE area = {0, 0};                // client size of the preview-area control
  SIZE picture = {0, 0};             // the size the picture is shown at, within the area
  FrameStrip* strips = nullptr;      // an array of one strip holding one frame
  int variant = -1;                  // which drawing of the picture the strip holds
  LOGPALETTE* paletteBlock = nullptr;
  HPALETTE palette = nullptr;
  HPALETTE previousPaintPalette = nullptr;   // the dialog DC's palette before the first paint
  HPALETTE previousMemoryPalette = nullptr;  // memoryDc's palette before the first paint
};

extern SettingsPreview preview;

// False if no dialog DC could be had; the preview may still be partly made (see memoryDc).
bool CreatePreview(HWND dialog);
// Paints the preview in answer to WM_PAINT; false (nothing painted) if there is no preview.
bool PaintPreview(HWND dialog);
// Realizes the preview palette in the dialog's DC; false if there is no palette.
bool RealizePreviewPalette(HWND dialog);
// Frees everything CreatePreview and PaintPreview made. Safe to call again.
void ReleasePreview(HWND dialog);

// Where a picture of the given size goes to be centred in the area (may be negative).
POINT CentredOrigin(SIZE area, SIZE picture);
