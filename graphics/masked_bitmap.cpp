// Single pictures: loading from the executable's resources, making the transparency mask,
// drawing through the shared memory DC, and that DC's own lifetime and palette.
#include "graphics/masked_bitmap.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "graphics/gdi_guards.h"
#include "host/host_state.h"

HDC sharedDc = nullptr;
HPALETTE sharedDcInitialPalette = nullptr;
uint16_t liveCount = 0;

namespace {

constexpr char kIdFormMarker = 1;
constexpr size_t kMaxNameLength = sizeof(MaskedBitmap::source) - 1;
constexpr int kPaletteSize = 256;

void CreateSharedDcIfMissing() {
  if (sharedDc != nullptr) return;
  HDC screen = GetDC(nullptr);
  sharedDc = CreateCompatibleDC(screen);
  if (screen != nullptr) ReleaseDC(nullptr, screen);
}

void StoreId(char* source, uint16_t id) {
  source[0] = kIdFormMarker;
  source[1] = static_cast<char>(id & 0xFF);
  source[2] = static_cast<char>(id >> 8);
  source[3] = '\0';
}

// What LoadImageA gets for the stored source; null when the stored id is 0 (nothing to load).
LPCSTR StoredReference(const char* source) {
  if (source[0] != kIdFormMarker) return source;
  const uint16_t id =
      static_cast<uint16_t>(static_cast<uint8_t>(source[1]) | static_cast<uint8_t>(source[2]) << 8);
  return id == 0 ? nullptr : MAKEINTRESOURCEA(id);
}

// The picture's colour table, all 256 entries; entries the picture does not have stay zero.
// False when the picture could not be selected into sharedDc to be read.
bool ReadColourTable(HBITMAP picture, RGBQUAD table[kPaletteSize]) {
  std::memset(table, 0, sizeof(RGBQUAD) * kPaletteSize);
  SelectionGuard selection(sharedDc, picture);
  if (!selection.Succeeded()) return false;
  GetDIBColorTable(sharedDc, 0, kPaletteSize, table);
  return true;
}

// Turns the transparent colour black, so that the OR blit of the picture leaves the target's
// pixels under the mask's set bits as they are.
void BlackenTransparentEntry(const MaskedBitmap& picture) {
  SelectionGuard selection(sharedDc, picture.colourBitmap);
  if (!selection.Succeeded()) return;
  RGBQUAD table[kPaletteSize] = {};
  const UINT entries = GetDIBColorTable(sharedDc, 0, kPaletteSize, table);
  if (entries == 0) return;
  RGBQUAD& transparent = table[picture.transparentIndex];
  transparent.rgbRed = transparent.rgbGreen = transparent.rgbBlue = 0;
  SetDIBColorTable(sharedDc, 0, kPaletteSize, table);
}

// Makes picture.maskBitmap from its 8-bit pixels. False only when the buffer cannot be had; a
// failed CreateBitmap leaves the picture without a mask, to be drawn opaquely.
bool MakeMask(MaskedBitmap& picture, const uint8_t* pixels) {
  const size_t size = static_cast<size_t>(MaskRowBytes(picture.width)) * picture.height;
  std::unique_ptr<uint8_t[]> mask(new (std::nothrow) uint8_t[size]);
  if (!mask) return false;
  BuildMask(pixels, picture.width, picture.height, picture.transparentIndex, mask.get());
  picture.maskBitmap = CreateBitmap(picture.width, picture.height, 1, 1, mask.get());
  return true;
}

// Everything Load does once LoadImageA has given a picture; false when the picture is unusable.
bool PrepareLoadedPicture(MaskedBitmap& picture) {
  DIBSECTION section = {};
  if (GetObjectA(picture.colourBitmap, sizeof(DIBSECTION), &section) == 0) return false;
  picture.width = section.dsBm.bmWidth;
  picture.height = section.dsBm.bmHeight;
  const bool eightBit = section.dsBmih.biBitCount == 8;
  if (picture.makeMask && !eightBit) return false;
  // Only an 8-bit picture has one byte per pixel to take the transparent index from.
  if (!eightBit) return true;
  const auto* pixels = static_cast<const uint8_t*>(section.dsBm.bmBits);
  if (pixels == nullptr || picture.width <= 0 || picture.height <= 0) return false;
  // Rows are stored bottom-up, so the last stored row is the top one as seen.
  picture.transparentIndex =
      pixels[static_cast<size_t>(PixelRowBytes(picture.width)) * (picture.height - 1)];
  if (!picture.makeMask) return true;
  if (!MakeMask(picture, pixels)) return false;
  if (sharedDc != nullptr) BlackenTransparentEntry(picture);
  return true;
}

// Blits the picture's layers with blit(rop): the mask ANDed and the picture ORed on top, or the
// picture copied when there is no mask.
template <typename Blit>
void BlitLayers(const MaskedBitmap& picture, Blit blit) {
  if (picture.maskBitmap != nullptr) {
    SelectionGuard selection(sharedDc, picture.maskBitmap);
    if (!selection.Succeeded()) return;
    blit(SRCAND);
    if (selection.Select(picture.colourBitmap)) blit(SRCPAINT);
  } else {
    SelectionGuard selection(sharedDc, picture.colourBitmap);
    if (selection.Succeeded()) blit(SRCCOPY);
  }
}

}  // namespace

void BuildMask(const uint8_t* pixels, int width, int height, uint8_t transparentIndex,
               uint8_t* mask) {
  const size_t maskRowBytes = static_cast<size_t>(MaskRowBytes(width));
  const size_t pixelRowBytes = static_cast<size_t>(PixelRowBytes(width));
  for (int j = 0; j < height; ++j) {
    const uint8_t* in = pixels + pixelRowBytes * j;
    uint8_t* out = mask + maskRowBytes * (height - 1 - j);
    std::memset(out, 0, maskRowBytes);
    for (int i = 0; i < width; ++i) {
      if (in[i] == transparentIndex) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    }
  }
}

RECT FitFourByThree(int x, int y, int w, int h) {
  const int heightForWidth = 3 * w / 4;
  const int widthForHeight = 4 * h / 3;
  if (heightForWidth > h) {
    x += (w - widthForHeight) / 2;
    w = widthForHeight;
  } else if (widthForHeight > w) {
    y += (h - heightForWidth) / 2;
    h = heightForWidth;
  }
  return RECT{x, y, x + w, y + h};
}

MaskedBitmap::MaskedBitmap() {
  StoreId(source, 0);
  CreateSharedDcIfMissing();
  ++liveCount;
}

MaskedBitmap::~MaskedBitmap() {
  Release();
  if (liveCount != 0 && --liveCount == 0) DeleteSharedDc();
}

void MaskedBitmap::SetSource(LPCSTR reference) {
  if (reference == nullptr) return;
  if (IS_INTRESOURCE(reference)) {
    StoreId(source, static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(reference)));
    return;
  }
  // memmove: the reference may be this picture's own source.
  const size_t length = strnlen(reference, kMaxNameLength);
  std::memmove(source, reference, length);
  source[length] = '\0';
}

int MaskedBitmap::Load(LPCSTR reference) {
  if (colourBitmap != nullptr) return 1;
  if (maskBitmap != nullptr) Release();
  LPCSTR toLoad = reference;
  if (toLoad == nullptr) {
    toLoad = StoredReference(source);
    if (toLoad == nullptr) return 1;
  }
  colourBitmap = static_cast<HBITMAP>(
      LoadImageA(moduleInstance, toLoad, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (colourBitmap == nullptr || !PrepareLoadedPicture(*this)) {
    Release();
    return 0;
  }
  if (reference != nullptr) SetSource(reference);
  return 1;
}

int MaskedBitmap::Draw(HDC target, int x, int y) {
  if (colourBitmap == nullptr) Load(nullptr);
  if (colourBitmap == nullptr || sharedDc == nullptr) return 0;
  BlitLayers(*this, [&](DWORD rop) { BitBlt(target, x, y, width, height, sharedDc, 0, 0, rop); });
  return 1;
}

int MaskedBitmap::DrawStretched(HDC target, int x, int y, int w, int h) {
  if (colourBitmap == nullptr) Load(nullptr);
  if (colourBitmap == nullptr || sharedDc == nullptr) return 0;
  const RECT fitted = FitFourByThree(x, y, w, h);
  SetStretchBltMode(target, HALFTONE);
  BlitLayers(*this, [&](DWORD rop) {
    StretchBlt(target, fitted.left, fitted.top, fitted.right - fitted.left,
               fitted.bottom - fitted.top, sharedDc, 0, 0, width, height, rop);
  });
  return 1;
}

void MaskedBitmap::Release() {
  if (colourBitmap != nullptr) {
    DeleteObject(colourBitmap);
    colourBitmap = nullptr;
  }
  if (maskBitmap != nullptr) {
    DeleteObject(maskBitmap);
    maskBitmap = nullptr;
  }
  width = 0;
  height = 0;
}

void MaskedBitmap::ExportPalette(PALETTEENTRY out[256]) {
  if (colourBitmap == nullptr) Load(nullptr);
  if (colourBitmap == nullptr) return;
  RGBQUAD table[kPaletteSize];
  if (!ReadColourTable(colourBitmap, table)) return;
  for (int i = 0; i < kPaletteSize; ++i) {
    out[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, PC_NOCOLLAPSE};
  }
  out[transparentIndex] = PALETTEENTRY{0, 0, 0, 0};
}

void SelectSharedPalette(HPALETTE palette) {
  CreateSharedDcIfMissing();
  if (sharedDc == nullptr) return;
  HPALETTE replaced = SelectPalette(sharedDc, palette, FALSE);
  if (sharedDcInitialPalette == nullptr) sharedDcInitialPalette = replaced;
}

void RealizeSharedPalette() {
  if (sharedDcInitialPalette != nullptr && sharedDc != nullptr) RealizePalette(sharedDc);
}

LOGPALETTE* NewPaletteBlock() {
  const size_t size = sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY);
  auto* block = static_cast<LOGPALETTE*>(std::calloc(1, size));
  if (block == nullptr) return nullptr;
  block->palVersion = 0x300;
  block->palNumEntries = 256;
  return block;
}

void DeleteSharedDc() {
  if (sharedDc == nullptr) return;
  if (sharedDcInitialPalette != nullptr) {
    SelectPalette(sharedDc, sharedDcInitialPalette, FALSE);
    sharedDcInitialPalette = nullptr;
  }
  DeleteDC(sharedDc);
  sharedDc = nullptr;
}
