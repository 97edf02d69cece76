// The stage's surfaces and painting: makes the frame, background and preview surfaces, owns the
// one scene, runs its frame steps and paints the saver window, scaled in the preview.
#include "stage/stage.h"

#include "graphics/random_source.h"
#include "host/host_state.h"
#include "scene/clock_scene.h"
#include "settings/settings_store.h"
#include "stage/frame_clock.h"
#include "stage/stage_state.h"

namespace Stage {

State stage;

namespace {

constexpr int kPreviewWidth = 640;
constexpr int kPreviewHeight = 480;

void CreateSurface(Surface& surface, HDC compatibleWith, int width, int height) {
  surface.dc = CreateCompatibleDC(compatibleWith);
  surface.bitmap = CreateCompatibleBitmap(compatibleWith, width, height);
  if (surface.dc != nullptr && surface.bitmap != nullptr) {
    surface.defaultBitmap = static_cast<HBITMAP>(SelectObject(surface.dc, surface.bitmap));
  }
}

bool HasBitmap(const Surface& surface) {
  return surface.dc != nullptr && surface.defaultBitmap != nullptr;
}

void DeleteSurface(Surface& surface) {
  if (HasBitmap(surface)) {
    SelectObject(surface.dc, surface.defaultBitmap);
    surface.defaultBitmap = nullptr;
  }
  if (surface.bitmap != nullptr) DeleteObject(surface.bitmap);
  surface.bitmap = nullptr;
  if (surface.dc != nullptr) DeleteDC(surface.dc);
  surface.dc = nullptr;
}

// The opening's picture: the capture at the level the opening has reached. Without opening
// images (no memory for them) the background surface is shown instead, so that the screen is
// what the scene repairs from rather than the undimmed desktop.
void PaintOpening(HDC dc) {
  HDC target = isPreview ? stage.preview.dc : dc;
  if (HasOpeningImages()) {
    ShowCapture(target, ShownLevel());
  } else {
    BitBlt(target, 0, 0, LogicalWidth(), LogicalHeight(), stage.background.dc, 0, 0, SRCCOPY);
  }
  if (isPreview) ShowPreviewSurface(dc);
}

// From the first erase until the first frame step after the dim. The opening images mark it;
// without them the dim level does.
bool InOpening() {
  return stage.capture.bitmap != nullptr || (!stage.firstErase && stage.dimLevel >= TargetLevel());
}

// The scene presents only its block, so the rest of the window has to show the background
// already. Where something drew over the window (a dialog over the full-screen saver, another
// window over the windowed one, colours garbled by a palette change), the system invalidates
// with erase, the erase notes the area, and this paint copies it from the background surface
// first. The frame clock invalidates without erase: its paints copy the block alone.
void RepairDamage(HDC dc) {
  const RECT& d = stage.damage;
  if (!IsRectEmpty(&d)) {
    BitBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, stage.background.dc, d.left,
           d.top, SRCCOPY);
  }
  SetRectEmpty(&stage.damage);
}

void PaintScene(HWND window, HDC dc) {
  Scene& scene = *stage.scene;
  // The frame surface holds only the area the scene composes in; its corner is put where that
  // area lies this frame, so that the scene draws and copies in the window's coordinates.
  const RECT area = scene.FrameArea();
  POINT origin;
  SetWindowOrgEx(stage.frame.dc, area.left, area.top, &origin);
  scene.Compose(stage.frame.dc, stage.background.dc);
  if (isPreview) {
    scene.Present(GetDesktopWindow(), stage.preview.dc, stage.frame.dc, stage.background.dc);
    ShowPreviewSurface(dc);
  } else {
    RepairDamage(dc);
    // The block may stand a step past its bounds before it turns. Where they are the whole
    // window that step is off the screen; beside the primary it would show on another monitor.
    const RECT& b = stage.blockBounds;
    const bool clip = !EqualRect(&b, &stage.logicalRect);
    const int saved = clip ? SaveDC(dc) : 0;
    if (clip) IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    scene.Present(window, dc, stage.frame.dc, stage.background.dc);
    if (clip) RestoreDC(dc, saved);
  }
  SetWindowOrgEx(stage.frame.dc, origin.x, origin.y, nullptr);
}

}  // namespace

// The preview needs no repair: each of its paints shows the whole preview surface.
void NoteDamage(HDC eraseDc) {
  RECT box;
  if (isPreview || GetClipBox(eraseDc, &box) <= NULLREGION) return;
  UnionRect(&stage.damage, &stage.damage, &box);
}

void ShowPreviewSurface(HDC dc) {
  StretchBlt(dc, 0, 0, stage.paintRect.right, stage.paintRect.bottom, stage.preview.dc, 0, 0,
             LogicalWidth(), LogicalHeight(), SRCCOPY);
}

int Start(HWND hostWindow, const ScreenLayout* layout) {
  LoadSettings();
  RandomReset();
  RandomSeed(GetTickCount());
  SetRectEmpty(&stage.screenArea);
  GetClientRect(hostWindow, &stage.logicalRect);
  if (isPreview) {
    stage.logicalRect.right = kPreviewWidth;
    stage.logicalRect.bottom = kPreviewHeight;
  } else if (layout != nullptr) {
    stage.screenArea = layout->window;
    SetRect(&stage.logicalRect, 0, 0, layout->window.right - layout->window.left,
            layout->window.bottom - layout->window.top);
  }
  stage.blockBounds = layout != nullptr && !isPreview ? layout->block : stage.logicalRect;
  stage.scene = CreateScene(0);
  if (stage.scene == nullptr) return 0;
  stage.scene->Setup(stage.blockBounds, isPreview ? 1 : 0);
  const RECT area = stage.scene->FrameArea();
  HDC dc = GetDC(hostWindow);
  if (dc == nullptr) return 0;
  CreateSurface(stage.frame, dc, area.right - area.left, area.bottom - area.top);
  CreateSurface(stage.background, dc, LogicalWidth(), LogicalHeight());
  if (!ReleaseDC(hostWindow, dc)) return 0;
  // A surface whose bitmap could not be made would draw into the DC's 1 x 1 default bitmap.
  if (!HasBitmap(stage.background) || !HasBitmap(stage.frame)) return 0;
  // The preview makes its images at its first erase, where it captures its host.
  if (!isPreview) CreateOpeningImages();
  FrameClock::Stop();
  return 1;
}

int OnCreate(HWND window) {
  HDC dc = GetDC(window);
  if (isPreview && stage.preview.dc == nullptr) {
    GetClientRect(window, &stage.paintRect);
    CreateSurface(stage.preview, dc, LogicalWidth(), LogicalHeight());
    if (!HasBitmap(stage.preview)) {
      ReleaseDC(window, dc);
      return 0;
    }
  } else {
    stage.paintRect = stage.logicalRect;
  }
  if (!ReleaseDC(window, dc)) return 0;
  if (stage.scene != nullptr) {
    stage.scene->OnCreate(window, stage.paintRect);
    stage.scene->Advance(1);
    stage.scene->SortByDepth();
    // Captured while the window is not yet shown: a system that composes a new window before
    // its first paint (Wine 10; composited desktops) shows the window's own empty surface to a
    // capture taken at the first erase, and the opening would dim black.
    if (!isPreview && stage.scene->IsActive()) CaptureDesktop();
  }
  return 1;
}

void StepFrame() {
  if (stage.scene == nullptr) return;
  if (stage.dimLevel >= TargetLevel()) {
    DimStep();
  } else {
    // The first step after the dim ends the dim phase for painting.
    if (stage.capture.bitmap != nullptr) DeleteImages();
    stage.scene->Advance(FrameClock::clock.pendingFrames);
  }
  FrameClock::clock.pendingFrames = 0;
  stage.scene->SortByDepth();
}

void OnPaint(HWND window, HDC dc) {
  PAINTSTRUCT paint = {};
  const bool ownPaint = dc == nullptr;
  if (ownPaint) dc = BeginPaint(window, &paint);
  if (dc != nullptr && stage.scene != nullptr && stage.scene->IsActive()) {
    HPALETTE previousPalette = nullptr;
    if (stage.palette != nullptr) {
      previousPalette = SelectPalette(dc, stage.palette, FALSE);
      RealizePalette(dc);
    }
    if (isPreview) {
      SetBrushOrgEx(dc, 0, 0, nullptr);
      SetStretchBltMode(dc, stage.palette != nullptr ? COLORONCOLOR : HALFTONE);
    }
    if (InOpening()) {
      PaintOpening(dc);  // the whole window, damage included
      SetRectEmpty(&stage.damage);
    } else {
      PaintScene(window, dc);
    }
    if (previousPalette != nullptr) SelectPalette(dc, previousPalette, FALSE);
  }
  if (ownPaint) EndPaint(window, &paint);
  GdiFlush();
}

void Shutdown(HWND window) {
  delete stage.scene;
  stage.scene = nullptr;
  ReleasePalette(window != nullptr && IsWindow(window) ? window : nullptr);
  DeleteImages();
  DeleteSurface(stage.preview);
  DeleteSurface(stage.background);
  DeleteSurface(stage.frame);
}

bool HasScene() {
  return stage.scene != nullptr;
}

}  // namespace Stage
