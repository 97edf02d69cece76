// Frame strips: ownership of the frames, their sources, and loading and drawing by index.
#include "graphics/frame_strip.h"

#include <cstdint>
#include <new>

namespace {

// Frame i of the strip, or null for an index out of range or a strip without frames.
MaskedBitmap* FrameAt(const FrameStrip& strip, int i) {
  if (strip.frames == nullptr || i < 0 || i >= strip.count) return nullptr;
  return strip.frames[i];
}

}  // namespace

FrameStrip::~FrameStrip() {
  Destroy();
}

int FrameStrip::Create(int n, const LPCSTR* references) {
  // A strip made again must not keep the frames of its previous life.
  Destroy();
  // Checked here because a new[] of an impossible size would throw despite std::nothrow.
  if (n < 0 || static_cast<size_t>(n) > SIZE_MAX / sizeof(MaskedBitmap*)) return 0;
  frames = new (std::nothrow) MaskedBitmap*[n]();
  loaded = new (std::nothrow) int32_t[n]();
  if (frames == nullptr || loaded == nullptr) {
    Destroy();
    return 0;
  }
  count = n;
  for (int i = 0; i < n; ++i) {
    frames[i] = new (std::nothrow) MaskedBitmap();
    if (frames[i] == nullptr) {
      Destroy();
      return 0;
    }
  }
  SetSources(references);
  return 1;
}

void FrameStrip::CreateNumbered(int n, int firstId) {
  Create(n, nullptr);
  for (int i = 0; i < count; ++i) {
    SetFrameSource(i, MAKEINTRESOURCEA(static_cast<uint16_t>(firstId + i)));
  }
}

void FrameStrip::Destroy() {
  if (frames != nullptr) {
    for (int i = 0; i < count; ++i) delete frames[i];
    delete[] frames;
    frames = nullptr;
  }
  delete[] loaded;
  loaded = nullptr;
  count = 0;
}

void FrameStrip::SetFrameSource(int i, LPCSTR reference) {
  if (MaskedBitmap* frame = FrameAt(*this, i)) frame->SetSource(reference);
}

void FrameStrip::SetSources(const LPCSTR* references) {
  if (references == nullptr) return;
  for (int i = 0; i < count; ++i) SetFrameSource(i, references[i]);
}

MaskedBitmap* FrameStrip::GetFrame(int i) {
  MaskedBitmap* frame = FrameAt(*this, i);
  if (frame != nullptr && frame->colourBitmap == nullptr) frame->Load(nullptr);
  return frame;
}

int FrameStrip::LoadFrame(int i) {
  MaskedBitmap* frame = FrameAt(*this, i);
  if (frame == nullptr) return 1;
  return frame->Load(nullptr) != 0 ? 1 : 0;
}

int FrameStrip::LoadAll() {
  int result = 1;
  if (frames == nullptr) return result;
  // Every frame is tried, also after one has failed.
  for (int i = 0; i < count; ++i) result = LoadFrame(i) && result;
  return result;
}

int FrameStrip::DrawFrame(HDC target, int x, int y, int i) {
  MaskedBitmap* frame = FrameAt(*this, i);
  if (frame == nullptr || loaded == nullptr) return 1;
  loaded[i] = frame->Load(nullptr);
  return loaded[i] != 0 ? frame->Draw(target, x, y) : 1;
}

void FrameStrip::ExportPalette(PALETTEENTRY out[256]) {
  if (count == 0) return;
  MaskedBitmap* first = GetFrame(0);
  if (first != nullptr) first->ExportPalette(out);
}
