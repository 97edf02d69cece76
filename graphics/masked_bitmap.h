// One picture from the executable's bitmap resources, as a DIB section with a one-bit
// transparency mask generated at load time from the colour of its top-left pixel. Pictures are
// drawn with an AND blit of the mask and an OR blit of the picture (whose transparent colour
// is turned black at load), both from one memory DC shared by every picture.
#pragma once
#include <windows.h>

#include <cstdint>

// The memory DC every picture is selected into to be drawn; exists while a picture exists.
extern HDC sharedDc;
// The palette sharedDc had before the stage first selected its own; null until then.
extern HPALETTE sharedDcInitialPalette;
// Pictures constructed and not yet destroyed.
extern uint16_t liveCount;

class MaskedBitmap {
 public:
  MaskedBitmap();
  virtual ~MaskedBitmap();
  MaskedBitmap(const MaskedBitmap&) = delete;
  MaskedBitmap& operator=(const MaskedBitmap&) = delete;

  // reference: a resource name, or a numeric id carried in the pointer (MAKEINTRESOURCE).
  virtual void SetSource(LPCSTR reference);
  virtual int Draw(HDC target, int x, int y);
  virtual int DrawStretched(HDC target, int x, int y, int w, int h);
  virtual int Load(LPCSTR reference);
  virtual void Release();
  virtual void ExportPalette(PALETTEENTRY out[256]);

  // Id form: first byte 1, the 16-bit id in the next two bytes. Name form: NUL-terminated.
  char source[256];
  int32_t makeMask = 1;
  uint8_t transparentIndex = 0;
  HBITMAP colourBitmap = nullptr;
  HBITMAP maskBitmap = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// A 256-entry LOGPALETTE, version 0x300, every entry zero, for ExportPalette to fill and
// CreatePalette to read; free it with std::free. Null when there is no memory for it.
LOGPALETTE* NewPaletteBlock();

void SelectSharedPalette(HPALETTE palette);
void RealizeSharedPalette();
void DeleteSharedDc();

// Pure helpers, usable without a device context.

// Bytes in one mask row: whole 16-bit words.
inline int MaskRowBytes(int width) {
  return (width + 15) / 16 * 2;
}
// Bytes in one stored row of an 8-bit DIB.
inline int PixelRowBytes(int width) {
  return (width + 3) / 4 * 4;
}
// Fills mask (MaskRowBytes(width) * height bytes, top row first) from bottom-up 8-bit pixels:
// a set bit marks a pixel of the transparent index.
void BuildMask(const uint8_t* pixels, int width, int height, uint8_t transparentIndex,
               uint8_t* mask);
// Fits a 4:3 rectangle into (x, y, w, h), centred; integer divisions truncate toward zero.
RECT FitFourByThree(int x, int y, int w, int h);
