// The two dialogs' pictures at the size a display's scale asks for. The picture generator draws
// each for 100, 125, 150 and 200 %, so they show crisp at those scales; at any other the nearest
// larger drawing is scaled down smoothly (or the largest up), which keeps them sharp enough.
#pragma once
#include <windows.h>

struct PictureVariant {
  int dpi;  // the display's pixels per inch it is drawn for: 96 is 100 %
  int resourceId;
};

struct DialogPicture {
  SIZE size;                   // at 96 DPI
  PictureVariant variants[4];  // smallest first
};

extern const DialogPicture kAboutPicture;    // 104 and its larger drawings, 24 bits
extern const DialogPicture kPreviewPicture;  // 106 and its larger drawings, 8 bits with a mask

// The picture's size at the DPI, each side rounded as MulDiv rounds it.
SIZE PictureSizeAt(const DialogPicture& picture, int dpi);
// The largest size of the picture's proportions at the DPI's size or below that fits the area.
SIZE PictureSizeIn(const DialogPicture& picture, int dpi, SIZE area);
// The drawing to show at the size: the one of exactly that width, else the narrowest wider one,
// else the widest. Returns its index in variants.
int ChooseVariant(const DialogPicture& picture, SIZE size);

// The window's pixels per inch: the monitor's where the system scales per monitor
// (GetDpiForWindow, Windows 10 1607 and later), else the screen's.
int WindowDpi(HWND window);

// Copies the source's area of the size onto the target's rectangle, scaled smoothly (HALFTONE).
void StretchSmoothly(HDC target, const RECT& to, HDC source, SIZE from);

// A bitmap of the 24-bit picture at the size, or null; the caller deletes it.
HBITMAP LoadPictureAtSize(const DialogPicture& picture, SIZE size);
