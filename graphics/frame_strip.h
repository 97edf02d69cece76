// An owned, ordered set of pictures: the frames of one animation or one set of glyphs. Frames
// load lazily on first use, or all at once; an index out of range is never an error.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/masked_bitmap.h"

class FrameStrip {
 public:
  FrameStrip() = default;
  virtual ~FrameStrip();
  FrameStrip(const FrameStrip&) = delete;
  FrameStrip& operator=(const FrameStrip&) = delete;

  int Create(int n, const LPCSTR* references);
  void CreateNumbered(int n, int firstId);
  void Destroy();
  void SetFrameSource(int i, LPCSTR reference);
  void SetSources(const LPCSTR* references);
  MaskedBitmap* GetFrame(int i);
  int LoadFrame(int i);
  int LoadAll();
  int DrawFrame(HDC target, int x, int y, int i);
  void ExportPalette(PALETTEENTRY out[256]);

  MaskedBitmap** frames = nullptr;
  int32_t* loaded = nullptr;
  int32_t count = 0;
};
