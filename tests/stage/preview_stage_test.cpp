// The stage in preview mode on real GDI, in one process: a 152 x 112 host window with a known
// picture, the saver as its child. The surfaces are 640 x 480 and every paint stretches them
// onto the child's client area with HALFTONE, so the preview shows the whole scene shrunk. The
// expected pictures are made from the host's own picture, not from the stage's surfaces.
#include <gtest/gtest.h>

#include <memory>

#include "clock_block.h"
#include "host/host_state.h"
#include "scene/clock_scene.h"
#include "settings/settings_store.h"
#include "sprites/test_surface.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"
#include "stage/stage_state.h"
#include "win32_pieces.h"

namespace {

constexpr int kHostWidth = 152, kHostHeight = 112;
constexpr int kLogicalWidth = 640, kLogicalHeight = 480;

void PaintHostPicture(TestSurface& host) {
  for (int y = 0; y < kHostHeight; ++y) {
    for (int x = 0; x < kHostWidth; ++x) {
      host.bits[y * kHostWidth + x] = uint32_t((x * 5 & 0xFF) << 16 | (y * 7 & 0xFF) << 8 | 0x80);
    }
  }
}

void PaintHost(HDC dc) {
  TestSurface picture(kHostWidth, kHostHeight);
  PaintHostPicture(picture);
  BitBlt(dc, 0, 0, kHostWidth, kHostHeight, picture.dc, 0, 0, SRCCOPY);
}

// The logical picture the preview should hold: the host's picture enlarged to 640 x 480, as
// the capture copies it, each channel scaled to level/32.
std::unique_ptr<TestSurface> LogicalPicture(int level) {
  TestSurface host(kHostWidth, kHostHeight);
  PaintHostPicture(host);
  auto logical = std::make_unique<TestSurface>(kLogicalWidth, kLogicalHeight);
  StretchBlt(logical->dc, 0, 0, kLogicalWidth, kLogicalHeight, host.dc, 0, 0, kHostWidth,
             kHostHeight, SRCCOPY);
  GdiFlush();
  for (int i = 0; i < kLogicalWidth * kLogicalHeight; ++i) {
    uint32_t& pixel = logical->bits[i];
    pixel = (pixel >> 16 & 0xFF) * level / 32 << 16 | (pixel >> 8 & 0xFF) * level / 32 << 8 |
            (pixel & 0xFF) * level / 32;
  }
  return logical;
}

// Paint pixels that differ from the logical picture shrunk with HALFTONE, leaving out those
// whose source area meets the logical rectangle `skip`.
int Differing(const TestSurface& paint, const std::unique_ptr<TestSurface>& logical, RECT skip) {
  TestSurface expected(kHostWidth, kHostHeight);
  SetStretchBltMode(expected.dc, HALFTONE);
  SetBrushOrgEx(expected.dc, 0, 0, nullptr);
  StretchBlt(expected.dc, 0, 0, kHostWidth, kHostHeight, logical->dc, 0, 0, kLogicalWidth,
             kLogicalHeight, SRCCOPY);
  GdiFlush();
  InflateRect(&skip, 2 * kLogicalWidth / kHostWidth, 2 * kLogicalHeight / kHostHeight);
  int differing = 0;
  for (int y = 0; y < kHostHeight; ++y) {
    for (int x = 0; x < kHostWidth; ++x) {
      const POINT source = {x * kLogicalWidth / kHostWidth, y * kLogicalHeight / kHostHeight};
      if (PtInRect(&skip, source)) continue;
      differing += paint.Pixel(x, y) != expected.Pixel(x, y);
    }
  }
  return differing;
}

TEST(PreviewStage, StretchesTheWholeLogicalPictureOntoTheHostsClientArea) {
  moduleInstance = GetModuleHandle(nullptr);
  isPreview = true;
  isWindowed = true;  // as the preview switch sets it
  Brightness = 4;
  HWND host =
      win32_pieces::MakeWindow("LumoraPreviewTestHost", win32_pieces::PaintingProc<PaintHost>,
                               WS_POPUP | WS_VISIBLE, 0, 0, kHostWidth, kHostHeight);
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
  // The capture reads the host while it is hidden, which Wine answers with black; the host's
  // picture, as a screen would give it, takes its place for the dim that follows.
  HDC captureDc = CreateCompatibleDC(nullptr);
  HGDIOBJ kept = SelectObject(captureDc, Stage::stage.capture.bitmap);
  BitBlt(captureDc, 0, 0, kLogicalWidth, kLogicalHeight, LogicalPicture(32)->dc, 0, 0, SRCCOPY);
  SelectObject(captureDc, kept);
  DeleteDC(captureDc);
  FrameClock::clock.pendingFrames = 1;
  Stage::StepFrame();  // the first dim step, at full brightness
  Stage::OnPaint(child, paint.dc);
  EXPECT_EQ(Differing(paint, LogicalPicture(32), {}), 0)
      << "the paint is the host's picture, enlarged to 640 x 480 and shrunk with HALFTONE";

  // The scene phase paints the same way, the desktop now at 16/32 around the block.
  for (int step = 0; step < 20; ++step) {
    FrameClock::clock.pendingFrames = 1;
    Stage::StepFrame();
    Stage::OnPaint(child, paint.dc);
  }
  const BouncingSprite& anchor = *static_cast<ClockScene*>(Stage::stage.scene)->anchor;
  const RECT block = {static_cast<int>(anchor.x), static_cast<int>(anchor.y),
                      static_cast<int>(anchor.x) + block::kWidth,
                      static_cast<int>(anchor.y) + block::kHeight};
  EXPECT_EQ(Differing(paint, LogicalPicture(16), block), 0)
      << "around the block, a scene paint is the host's picture at 16/32, stretched";

  Stage::Shutdown(child);
  Stage::Shutdown(nullptr);
  Stage::stage = Stage::State{};
  Brightness = kDefaultBrightness;
  isPreview = false;
  isWindowed = false;
  DestroyWindow(child);
  DestroyWindow(host);
}

}  // namespace
