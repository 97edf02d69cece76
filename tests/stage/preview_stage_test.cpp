// The stage in preview mode on real GDI, in one process: a 152 x 112 host window with a known
// picture, the saver as its child. The surfaces are 640 x 480 and every paint stretches them
// onto the child's client area with HALFTONE, so the preview shows the whole scene shrunk.
#include <gtest/gtest.h>

#include "host/host_state.h"
#include "settings/settings_store.h"
#include "sprites/test_surface.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

constexpr int kHostWidth = 152, kHostHeight = 112;
constexpr int kLogicalWidth = 640, kLogicalHeight = 480;

uint32_t HostColour(int x, int y) {
  return uint32_t((x * 5 & 0xFF) << 16 | (y * 7 & 0xFF) << 8 | 0x80);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    TestSurface picture(kHostWidth, kHostHeight);
    for (int y = 0; y < kHostHeight; ++y) {
      for (int x = 0; x < kHostWidth; ++x) picture.bits[y * kHostWidth + x] = HostColour(x, y);
    }
    BitBlt(dc, 0, 0, kHostWidth, kHostHeight, picture.dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(PreviewStage, StretchesTheWholeLogicalPictureOntoTheHostsClientArea) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandle(nullptr);
  windowClass.lpszClassName = "LumoraPreviewTestHost";
  RegisterClassA(&windowClass);
  moduleInstance = GetModuleHandle(nullptr);
  isPreview = true;
  isWindowed = false;
  Brightness = 4;
  HWND host = CreateWindowExA(0, "LumoraPreviewTestHost", "", WS_POPUP | WS_VISIBLE, 0, 0,
                              kHostWidth, kHostHeight, nullptr, nullptr, moduleInstance, nullptr);
  ASSERT_NE(host, nullptr);
  UpdateWindow(host);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, kHostWidth,
                               kHostHeight, host, nullptr, moduleInstance, nullptr);
  ASSERT_NE(child, nullptr);
  parentWindow = host;
  saverWindow = child;
  Stage::stage = Stage::State{};

  ASSERT_EQ(Stage::Start(host), 1);
  ASSERT_EQ(Stage::OnCreate(child), 1);
  EXPECT_EQ(Stage::stage.logicalRect.right, kLogicalWidth);
  EXPECT_EQ(Stage::stage.logicalRect.bottom, kLogicalHeight);
  EXPECT_EQ(Stage::stage.paintRect.right, kHostWidth);
  EXPECT_EQ(Stage::stage.paintRect.bottom, kHostHeight);
  ASSERT_NE(Stage::stage.preview.dc, nullptr);

  TestSurface paint(kHostWidth, kHostHeight);
  Stage::OnEraseBackground(child, paint.dc);
  EXPECT_TRUE(IsWindowVisible(host)) << "the host is shown again after the capture";
  FrameClock::clock.pendingFrames = 1;
  Stage::StepFrame();  // the first dim step, at full brightness
  Stage::OnPaint(child, paint.dc);

  // What the paint should be: the 640 x 480 preview surface, shrunk with HALFTONE.
  TestSurface logical(kLogicalWidth, kLogicalHeight), expected(kHostWidth, kHostHeight);
  BitBlt(logical.dc, 0, 0, kLogicalWidth, kLogicalHeight, Stage::stage.preview.dc, 0, 0, SRCCOPY);
  SetStretchBltMode(expected.dc, HALFTONE);
  SetBrushOrgEx(expected.dc, 0, 0, nullptr);
  StretchBlt(expected.dc, 0, 0, kHostWidth, kHostHeight, logical.dc, 0, 0, kLogicalWidth,
             kLogicalHeight, SRCCOPY);
  GdiFlush();
  int differing = 0;
  for (int y = 0; y < kHostHeight; ++y) {
    for (int x = 0; x < kHostWidth; ++x) differing += paint.Pixel(x, y) != expected.Pixel(x, y);
  }
  EXPECT_EQ(differing, 0) << "the paint is the logical picture stretched with HALFTONE";

  // The scene phase paints the same way: the scene is presented into the preview surface, and
  // the whole surface is shrunk onto the window.
  for (int step = 0; step < 20; ++step) {
    FrameClock::clock.pendingFrames = 1;
    Stage::StepFrame();
    Stage::OnPaint(child, paint.dc);
  }
  BitBlt(logical.dc, 0, 0, kLogicalWidth, kLogicalHeight, Stage::stage.preview.dc, 0, 0, SRCCOPY);
  StretchBlt(expected.dc, 0, 0, kHostWidth, kHostHeight, logical.dc, 0, 0, kLogicalWidth,
             kLogicalHeight, SRCCOPY);
  GdiFlush();
  differing = 0;
  for (int y = 0; y < kHostHeight; ++y) {
    for (int x = 0; x < kHostWidth; ++x) differing += paint.Pixel(x, y) != expected.Pixel(x, y);
  }
  EXPECT_EQ(differing, 0) << "a scene paint is the preview surface stretched with HALFTONE";

  Stage::Shutdown(child);
  Stage::Shutdown(nullptr);
  Stage::stage = Stage::State{};
  Brightness = kDefaultBrightness;
  isPreview = false;
  DestroyWindow(child);
  DestroyWindow(host);
}

}  // namespace
