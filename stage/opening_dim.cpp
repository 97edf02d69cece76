// The opening: the desktop is captured once, before the saver window is shown (the preview's
// host at the first erase); at the first background erase the background surface gets it at the
// final brightness, the window shows it as captured, and each following frame step shows the
// capture one level darker, from 32/32 down to the chosen brightness.
//
// A dimmed picture is never held whole: each one is scaled from the capture a band of rows at a
// time into one small image and copied out band by band. A second full image would cost three
// more bytes a pixel of desk, on a virtual screen of several large monitors 50 MB or more.
#include <algorithm>
#include <cstring>

#include "host/host_state.h"
#include "settings/settings_store.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace Stage {

CreateDibSectionFn createDibSection = CreateDIBSection;
size_t bandBytes = size_t(1) << 20;

namespace {

constexpr int kFullLevel = 32;

uint32_t* Words(const Image24& image) {
  return reinterpret_cast<uint32_t*>(image.pixels);
}

void DeleteImage(Image24& image) {
  if (image.bitmap != nullptr) DeleteObject(image.bitmap);
  image = Image24{};
}

// Rows of the logical width in one band: about bandBytes, at least one, at most the height.
int BandRows() {
  const size_t rowBytes = std::max<size_t>(ImageWords(LogicalWidth(), 1) * 4, 1);
  return int(std::clamp(bandBytes / rowBytes, size_t(1), size_t(std::max(LogicalHeight(), 1))));
}

// The background surface at the final brightness. Without the opening images (no memory for
// them) the clock runs over black instead.
void FillBackground() {
  if (HasOpeningImages()) {
    ShowCapture(stage.background.dc, TargetLevel());
  } else {
    PatBlt(stage.background.dc, 0, 0, LogicalWidth(), LogicalHeight(), BLACKNESS);
  }
}

}  // namespace

bool HasOpeningImages() {
  return stage.capture.pixels != nullptr && stage.dim.pixels != nullptr;
}

int TargetLevel() {
  return Brightness * kFullLevel / 8;
}

Image24 CreateImage24(HDC dc, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  Image24 image;
  void* pixels = nullptr;
  image.bitmap = createDibSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (image.bitmap == nullptr || pixels == nullptr) {
    DeleteImage(image);
    return image;
  }
  image.pixels = static_cast<uint8_t*>(pixels);
  return image;
}

namespace {

// Where the window's top-left corner is in the source's own coordinates. A screen DC has the
// primary monitor's corner at its origin, so that monitors left of or above it lie at negative
// coordinates; the DC's origin says where its coordinates start, on systems that put it elsewhere.
POINT CaptureOrigin(HDC sourceDc) {
  POINT origin = {0, 0};
  if (IsRectEmpty(&stage.screenArea) || !GetDCOrgEx(sourceDc, &origin)) return {0, 0};
  return {stage.screenArea.left - origin.x, stage.screenArea.top - origin.y};
}

}  // namespace

void CaptureDesktop() {
  HDC source = GetDC(parentWindow);
  CaptureScreen(source);
  ReleaseDC(parentWindow, source);
}

bool CreateOpeningImages() {
  HDC dc = stage.background.dc;
  if (dc == nullptr) return false;
  stage.capture = CreateImage24(dc, LogicalWidth(), LogicalHeight());
  if (stage.capture.bitmap != nullptr) {
    stage.bandRows = BandRows();
    stage.dim = CreateImage24(dc, LogicalWidth(), stage.bandRows);
  }
  if (stage.dim.bitmap == nullptr) DeleteImages();  // the images exist together or not at all
  return HasOpeningImages();
}

void CaptureScreen(HDC sourceDc) {
  HDC dc = stage.background.dc;
  if (dc == nullptr || !HasOpeningImages()) return;
  HGDIOBJ previous = SelectObject(dc, stage.capture.bitmap);
  const POINT from = CaptureOrigin(sourceDc);
  StretchBlt(dc, 0, 0, LogicalWidth(), LogicalHeight(), sourceDc, from.x, from.y,
             stage.paintRect.right, stage.paintRect.bottom, SRCCOPY);
  SelectObject(dc, previous);
}

// Both images are bottom-up: the n rows from top down start h - top - n rows into the capture's
// pixels, and copied to the start of the band they are its last n rows.
void ShowCapture(HDC target, int level) {
  const int w = LogicalWidth(), h = LogicalHeight(), bandRows = stage.bandRows;
  const size_t rowWords = ImageWords(w, 1);
  HGDIOBJ own = SelectObject(stage.frame.dc, stage.dim.bitmap);
  for (int top = 0; top < h; top += bandRows) {
    const int n = std::min(bandRows, h - top);
    ScaleImage(Words(stage.dim), Words(stage.capture) + size_t(h - top - n) * rowWords,
               size_t(n) * rowWords, level);
    BitBlt(target, 0, top, w, n, stage.frame.dc, 0, bandRows - n, SRCCOPY);
  }
  SelectObject(stage.frame.dc, own);
}

int ShownLevel() {
  return std::min(kFullLevel, stage.dimLevel + 1);
}

namespace {

// One word: two bytes at a time in 16-bit lanes. 255 * 32 fits in 13 bits, so no lane carries
// into the next, and the mask after the shift drops what slid down from the lane above.
uint32_t ScaleWord(uint32_t word, uint32_t factor) {
  const uint32_t even = (((word & 0x00FF00FFu) * factor) >> 5) & 0x00FF00FFu;
  const uint32_t odd = ((((word >> 8) & 0x00FF00FFu) * factor) >> 5) & 0x00FF00FFu;
  return even | (odd << 8);
}

// Four words at once with the same masks. Seen as 16-bit lanes the word arithmetic above is a
// 16-bit multiply per lane, which the compiler can do eight at a time; a 32-bit multiply it
// cannot, so the plain word loop ran at a fifth of memcpy's speed on 1920 x 1080.
using Lanes = uint16_t __attribute__((vector_size(16)));

int ClampLevel(int n) {
  return n < 0 ? 0 : n > kFullLevel ? kFullLevel : n;
}

}  // namespace

void ScaleWords(uint32_t* destination, const uint32_t* source, size_t words, int n) {
  const uint32_t factor = uint32_t(ClampLevel(n));
  for (size_t i = 0; i < words; ++i) destination[i] = ScaleWord(source[i], factor);
}

int ScaleImage(uint32_t* destination, const uint32_t* source, size_t words, int n) {
  n = ClampLevel(n);
  size_t i = 0;
  // Without SSE2 (the 32-bit product targets processors before it) the compiler would split the
  // lanes into one multiply each, twice the word loop's count: there the word loop does it all.
#if defined(__SSE2__)
  const uint16_t laneFactor = uint16_t(n);
#pragma GCC unroll 4  // independent blocks keep more multiplies in flight
  for (; i + 4 <= words; i += 4) {
    Lanes lanes;
    std::memcpy(&lanes, source + i, sizeof(lanes));
    // Within a lane nothing slides in from a neighbour, so the masks after the shift fold away:
    // b * n is at most 8160, so b * n >> 5 fits the low byte and (b * n) << 3 masked to the
    // high byte is b * n >> 5 moved up by 8.
    const Lanes even = (lanes & 0xFF) * laneFactor >> 5;
    const Lanes odd = ((lanes >> 8) * laneFactor << 3) & 0xFF00;
    const Lanes scaled = even | odd;
    std::memcpy(destination + i, &scaled, sizeof(scaled));
  }
#endif
  ScaleWords(destination + i, source + i, words - i, n);
  return 0;
}

// The paint that follows shows the level counted down from (ShownLevel); the step after the one
// that counts below the target ends the opening.
void DimStep() {
  --stage.dimLevel;
}

void DeleteImages() {
  DeleteImage(stage.capture);
  DeleteImage(stage.dim);
}

// Only the first erase opens; a later one draws nothing but tells the painting what to repair.
void OnEraseBackground(HWND window, HDC dc) {
  if (stage.scene == nullptr || !stage.scene->IsActive() || dc == nullptr) return;
  if (!stage.firstErase) {
    NoteDamage(dc);
    return;
  }
  stage.firstErase = false;
  if (isPreview) {
    ShowWindow(parentWindow, SW_HIDE);
    if (CreateOpeningImages()) CaptureDesktop();
  }
  BuildPalette(window);
  FillBackground();
  if (isPreview) {
    stage.scene->OnBackgroundReady(stage.preview.dc, stage.frame.dc, stage.background.dc);
    ShowPreviewSurface(dc);
  } else {
    stage.scene->OnBackgroundReady(dc, stage.frame.dc, stage.background.dc);
  }
  // The window shows the desktop it covers from now on, not only from its first paint: a
  // system that keeps a surface per window (Wine) puts that surface on the screen as soon as it
  // exposes the new window, and unpainted it is black.
  if (!isPreview) OnPaint(window, dc);
  FrameClock::Reset();
  if (isPreview) ShowWindow(parentWindow, SW_SHOW);
}

}  // namespace Stage
