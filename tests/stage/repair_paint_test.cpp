// The saver window after something has drawn over it, in this process with the host's own
// window procedures: once the system invalidates the damage with erase (as it does when a dialog
// or window over the saver goes away, or a palette change asks for a full redraw), the next
// frame leaves every pixel outside the block equal to the background surface. The frame clock's
// own invalidation, without erase, still presents the block alone. Wine keeps each window's own
// surface, so the damage is drawn into the saver window through its DC. On the way: the cursor is
// hidden for a full-screen run alone and shown after it, and a granted close leaves paints undone.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "e2e/driver.h"
#include "faults/gdi_faults.h"
#include "harness/desktop_pattern.h"
#include "host/host_state.h"
#include "host/saver_window.h"
#include "scene/clock_scene.h"
#include "settings/settings_store.h"
#include "sprites/test_surface.h"
#include "stage/frame_clock.h"
#include "stage/stage.h"
#include "stage/stage_state.h"
#include "win32_pieces.h"

namespace {

constexpr uint32_t kMarker = 0x3C5A7E;
constexpr COLORREF kMarkerColour = RGB(kMarker >> 16, kMarker >> 8 & 0xFF, kMarker & 0xFF);
constexpr RECT kDamage = {40, 30, 700, 520};

void PaintPattern(HDC dc) {
  PaintDesktopPattern(dc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Samples, every 16th pixel from (4, 4) of an area of the given size whose top-left corner the DC
// reads at origin, that differ from the pattern desktop; the first of them in *first, and how
// many are black (the pattern has no black) in *black.
int NotDesktop(HDC dc, POINT origin, SIZE size, std::string* first, int* black = nullptr) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  int wrong = 0;
  for (int y = 4; y < size.cy && origin.y + y < height; y += 16) {
    for (int x = 4; x < size.cx && origin.x + x < width; x += 16) {
      const COLORREF seen = GetPixel(dc, origin.x + x, origin.y + y);
      if (seen == DesktopPixel(x, y, width, height)) continue;
      if (black != nullptr && seen == 0) ++*black;
      if (wrong++ == 0) {
        char text[64];
        std::snprintf(text, sizeof(text), "(%d, %d) is %06lx", x, y, seen);
        *first = text;
      }
    }
  }
  return wrong;
}

// Waits until the screen shows the pattern desktop, for the next opening to capture.
bool DesktopShows() {
  std::string first;
  HDC screen = GetDC(nullptr);
  const SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const bool shows = WaitUntil([&] { return NotDesktop(screen, {0, 0}, size, &first) == 0; });
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(shows) << "the screen does not show the desktop, first " << first;
  return shows;
}

// A desktop with a pattern on it, for the opening to capture.
HWND ShowPatternDesktop() {
  HWND desktop = win32_pieces::MakeWindow(
      "LumoraRepairTestDesktop", win32_pieces::PaintingProc<PaintPattern>, WS_POPUP | WS_VISIBLE, 0,
      0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  UpdateWindow(desktop);
  return desktop;
}

// What the frame clock does once it has counted one period.
void OneFrame() {
  FrameClock::clock.pendingFrames = 1;
  Stage::StepFrame();
  InvalidateRect(saverWindow, nullptr, FALSE);
  UpdateWindow(saverWindow);
}

// The saver window as the host makes and shows it; its first erase has captured the desktop.
bool ShowSaver(bool windowed) {
  if (!DesktopShows()) return false;
  isWindowed = windowed;
  isPreview = false;
  parentWindow = GetDesktopWindow();
  Stage::stage = Stage::State{};
  if (!Stage::Start(parentWindow)) return false;
  RegisterHostClass();
  saverWindow = CreateSaverWindow(
      nullptr, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  if (saverWindow == nullptr) return false;
  ShowWindow(saverWindow, SW_SHOW);
  GetCursorPos(&cursorOrigin);
  return true;
}

// The saver window as the host makes it, through its opening and two scene frames.
bool OpenSaver(bool windowed) {
  if (!ShowSaver(windowed)) return false;
  UpdateWindow(saverWindow);
  if (!WaitUntil([] { return !Stage::stage.firstErase; })) return false;
  for (int frame = 0; frame < 100 && Stage::stage.capture.bitmap != nullptr; ++frame) OneFrame();
  OneFrame();
  OneFrame();
  return !Stage::stage.firstErase && Stage::stage.capture.bitmap == nullptr;
}

void CloseSaver() {
  Stage::Shutdown(saverWindow);
  DestroyWindow(saverWindow);
  saverWindow = nullptr;
  Stage::Shutdown(nullptr);
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

// The cursor's display count, left as it was.
int CursorCount() {
  ShowCursor(TRUE);
  return ShowCursor(FALSE);
}

void PaintMarker(HDC dc) {
  HBRUSH brush = CreateSolidBrush(kMarkerColour);
  FillRect(dc, &kDamage, brush);
  DeleteObject(brush);
}

void DrawDamage() {
  HDC dc = GetDC(saverWindow);
  PaintMarker(dc);
  ReleaseDC(saverWindow, dc);
}

// Empty when the client area outside the block shows the background surface, and the marker
// where it is to stay; else the first pixel that does not.
std::string CheckOutsideBlock(const RECT& block, bool markerStays) {
  RECT client;
  GetClientRect(saverWindow, &client);
  TestSurface shown(client.right, client.bottom), expected(client.right, client.bottom);
  HDC dc = GetDC(saverWindow);
  BitBlt(shown.dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(saverWindow, dc);
  BitBlt(expected.dc, 0, 0, client.right, client.bottom, Stage::stage.background.dc, 0, 0, SRCCOPY);
  if (markerStays) PaintMarker(expected.dc);
  // The block itself is not judged here: whatever it shows is expected.
  BitBlt(expected.dc, block.left, block.top, block.right - block.left, block.bottom - block.top,
         shown.dc, block.left, block.top, SRCCOPY);
  return OnlyRectsCopied(shown, expected, 0, {client});
}

TEST(RepairPaint, DamageIsRepairedFromTheBackgroundAndFramesPresentOnlyTheBlock) {
  ASSERT_GT(gdi_faults::Install(), 0) << "the import table could not be patched";
  moduleInstance = GetModuleHandleA(nullptr);
  Brightness = 4;
  enum class Damage { ErasedBySystem, PaletteRefresh, FrameOnly };
  struct {
    const char* label;
    bool windowed;
    bool eightBit;  // the seam answers 8 bits per pixel, so the stage builds its palette
    Damage damage;
    bool markerStays;
  } cases[] = {
      {"full screen, invalidated with erase", false, false, Damage::ErasedBySystem, false},
      {"windowed, invalidated with erase", true, false, Damage::ErasedBySystem, false},
      {"full screen on 8 bits, palette refreshed", false, true, Damage::PaletteRefresh, false},
      {"windowed on 8 bits, palette refreshed", true, true, Damage::PaletteRefresh, false},
      {"full screen, the frame clock's invalidation", false, false, Damage::FrameOnly, true},
      {"full screen on 8 bits, the frame clock's invalidation", false, true, Damage::FrameOnly,
       true},
  };
  HWND desktop = ShowPatternDesktop();
  for (const auto& c : cases) {
    gdi_faults::Reset();
    if (c.eightBit) gdi_faults::FakeBitsPerPixel(8);
    ASSERT_TRUE(OpenSaver(c.windowed)) << c.label << ": the saver did not reach its scene";
    EXPECT_EQ(CursorCount() < 0, !c.windowed) << c.label << ": only full screen hides the cursor";
    ASSERT_EQ(Stage::HasPalette(), c.eightBit) << c.label;
    DrawDamage();
    if (c.damage == Damage::ErasedBySystem) InvalidateRect(saverWindow, &kDamage, TRUE);
    if (c.damage == Damage::PaletteRefresh) Stage::RefreshPalette(saverWindow);
    // The block this frame presents is the rectangle the last one recorded.
    const BouncingSprite& anchor = *static_cast<ClockScene*>(Stage::stage.scene)->anchor;
    const RECT block = {anchor.savedX, anchor.savedY, anchor.savedX + anchor.savedWidth,
                        anchor.savedY + anchor.savedHeight};
    OneFrame();
    EXPECT_EQ(CheckOutsideBlock(block, c.markerStays), "") << c.label;
    CloseSaver();
    EXPECT_GE(CursorCount(), 0) << c.label << ": the cursor is shown again after the run";
  }
  gdi_faults::Reset();
  DestroyWindow(desktop);
  Brightness = kDefaultBrightness;
}

// Until its first paint the saver window shows the desktop it captured, not black: Wine puts a
// window's own surface, which the window's DC reads, on the screen when it handles the window's
// exposure. Over the shown window the screen is then painted with the marker, so that the desktop
// is seen there again only where the exposure has put the window's surface on it. The emulated
// machine's 32-bit Wine puts a framed window's frame and its still black client area on the
// screen before the first erase, so that the windowed capture holds them (as on Windows, which
// draws the frame before the erase): there only full screen is judged.
TEST(RepairPaint, TheShownWindowShowsTheDesktopBeforeItsFirstPaint) {
  moduleInstance = GetModuleHandleA(nullptr);
  HWND desktop = ShowPatternDesktop();
  HBRUSH marker = CreateSolidBrush(kMarkerColour);
  const bool rows[] = {false, true};  // windowed
  for (bool windowed : Sample(rows, 1)) {
    const char* label = windowed ? "windowed" : "full screen";
    ASSERT_TRUE(ShowSaver(windowed)) << label;
    ASSERT_TRUE(GetUpdateRect(saverWindow, nullptr, FALSE)) << label << ": no first paint due";
    RECT client;
    GetClientRect(saverWindow, &client);
    const SIZE size = {client.right, client.bottom};
    std::string first;
    HDC own = GetDC(saverWindow);
    EXPECT_EQ(NotDesktop(own, {0, 0}, size, &first), 0) << label << ": its surface, " << first;
    POINT origin = {0, 0};
    ClientToScreen(saverWindow, &origin);
    HDC screen = GetDC(nullptr);
    const RECT area = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    FillRect(screen, &area, marker);
    ASSERT_EQ(GetPixel(screen, origin.x + 4, origin.y + 4), kMarkerColour)
        << label << ": the screen did not take the marker";
    // The system's events, the exposure among them, but no paint.
    int wrong = 0, black = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < Patience(10000);) {
      MSG none;
      PeekMessageA(&none, nullptr, WM_APP, WM_APP, PM_NOREMOVE);
      wrong = NotDesktop(screen, origin, size, &first, &black);
      if (wrong == 0 || black > 0) break;
    }
    EXPECT_EQ(wrong, 0) << label << ": the screen did not come to show the window's surface, "
                        << black << " samples black, first " << first;
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(GetUpdateRect(saverWindow, nullptr, FALSE)) << "the first paint is still due";
    UpdateWindow(saverWindow);
    EXPECT_EQ(NotDesktop(own, {0, 0}, size, &first), 0) << label << ": after its paint, " << first;
    ReleaseDC(saverWindow, own);
    CloseSaver();
  }
  DeleteObject(marker);
  DestroyWindow(desktop);
}

// Between the close protocol's two passes the stage still holds its scene, but a paint gets the
// default handling only: nothing is drawn into the DC it carries.
TEST(RepairPaint, OnceTheCloseIsGrantedAPaintDrawsNothing) {
  moduleInstance = GetModuleHandleA(nullptr);
  HWND desktop = ShowPatternDesktop();
  ASSERT_TRUE(OpenSaver(false));
  SendMessageA(saverWindow, WM_CLOSE, 0, 0);  // the first pass, which grants the close
  ASSERT_TRUE(closeGranted);
  TestSurface target(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  target.Fill(kMarker);
  SendMessageA(saverWindow, WM_PAINT, reinterpret_cast<WPARAM>(target.dc), 0);
  EXPECT_EQ(OnlyRectsCopied(target, target, kMarker, {}), "") << "every pixel stays the marker";
  closeGranted = false;
  CloseSaver();
  DestroyWindow(desktop);
}

}  // namespace
