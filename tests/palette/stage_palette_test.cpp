// The stage's palette in this process, on the display the harness gives (8 or 24 bits per
// pixel): made from picture 10000 only on 8-bit displays, the system palette use it sets in each
// mode while it runs and after shutdown, and the preview's stretch mode.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/masked_bitmap.h"
#include "host/host_state.h"
#include "palette/palette_test_support.h"
#include "stage/stage.h"
#include "stage/stage_state.h"
#include "win32_pieces.h"

namespace {

struct ModeCase {
  const char* name;
  bool preview;
  bool windowed;
  UINT useBefore;      // set before the saver starts
  UINT useWhileOn8;    // expected while it runs, on an 8-bit display
  int previewStretch;  // 0 where the mode does not stretch
};

// SYSPAL_NOSTATIC256 before the windowed modes shows that they leave the use alone.
const ModeCase kModes[] = {
    {"full screen", false, false, SYSPAL_STATIC, SYSPAL_NOSTATIC, 0},
    {"windowed", false, true, SYSPAL_NOSTATIC256, SYSPAL_NOSTATIC256, 0},
    {"preview", true, true, SYSPAL_NOSTATIC256, SYSPAL_NOSTATIC256, COLORONCOLOR},
};

HWND MakeWindow(HWND parent, DWORD style, int width, int height) {
  return win32_pieces::MakeWindow("LumoraPaletteTestWindow", DefWindowProcA, style | WS_VISIBLE, 0,
                                  0, width, height, parent);
}

UINT SystemPaletteUse() {
  HDC screen = GetDC(nullptr);
  const UINT use = GetSystemPaletteUse(screen);
  ReleaseDC(nullptr, screen);
  return use;
}

void SetUse(UINT use) {
  HDC screen = GetDC(nullptr);
  SetSystemPaletteUse(screen, use);
  ReleaseDC(nullptr, screen);
}

// The palette's entries are picture 10000's colours, the transparent one black, all others
// marked PC_NOCOLLAPSE.
void CheckPaletteColours(HPALETTE palette) {
  const StoredPicture stored = ReadStoredPicture(GetModuleHandleA(nullptr), 10000);
  ASSERT_EQ(stored.table.size(), 256u) << "picture 10000 is expected with 256 colours";
  PALETTEENTRY entries[256] = {};
  ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u) << "a palette of 256 entries";
  int wrong = 0;
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& c = stored.table[i];
    const PALETTEENTRY expected =
        i == stored.TransparentIndex()
            ? PALETTEENTRY{0, 0, 0, 0}
            : PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, PC_NOCOLLAPSE};
    const PALETTEENTRY& e = entries[i];
    if (std::memcmp(&e, &expected, sizeof e) != 0 && wrong++ < 3) {
      ADD_FAILURE() << "palette entry " << i << " is (" << int(e.peRed) << "," << int(e.peGreen)
                    << "," << int(e.peBlue) << " flags " << int(e.peFlags) << "), expected ("
                    << int(expected.peRed) << "," << int(expected.peGreen) << ","
                    << int(expected.peBlue) << " flags " << int(expected.peFlags) << ")";
    }
  }
  EXPECT_EQ(wrong, 0) << "palette entries that differ from picture 10000's colours";
}

TEST(StagePalette, MadeOnlyOn8BitDisplaysAndUndoneAtShutdown) {
  const bool eightBit = ScreenBitsPerPixel() == 8;
  moduleInstance = GetModuleHandleA(nullptr);
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(std::string(c.name) + (eightBit ? " on 8 bits" : " on more than 8 bits"));
    Stage::stage = Stage::State{};
    isPreview = c.preview;
    isWindowed = c.windowed;
    SetUse(c.useBefore);
    const UINT before = SystemPaletteUse();
    HWND host = c.preview ? MakeWindow(nullptr, WS_POPUP, 152, 112) : nullptr;
    parentWindow = c.preview ? host : GetDesktopWindow();
    ASSERT_TRUE(Stage::Start(parentWindow)) << "the stage did not start";
    HWND window =
        c.preview ? MakeWindow(host, WS_CHILD, 152, 112) : MakeWindow(nullptr, WS_POPUP, 640, 480);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Stage::OnCreate(window));

    HDC dc = GetDC(window);
    Stage::OnEraseBackground(window, dc);  // the opening: captures, dims, builds the palette
    EXPECT_EQ(Stage::HasPalette(), eightBit) << "a palette exactly on 8-bit displays";
    EXPECT_EQ(Stage::stage.paletteBlock != nullptr, eightBit) << "palette block";
    if (eightBit && Stage::stage.palette != nullptr) CheckPaletteColours(Stage::stage.palette);
    EXPECT_EQ(SystemPaletteUse(), eightBit ? c.useWhileOn8 : before) << "while running";
    Stage::OnPaint(window, dc);
    if (c.previewStretch != 0) {
      EXPECT_EQ(GetStretchBltMode(dc), eightBit ? c.previewStretch : HALFTONE)
          << "the preview's stretch mode";
    }
    ReleaseDC(window, dc);

    // Another window's palette change: with a palette the whole window is invalidated (with
    // erase), without one nothing happens.
    ValidateRect(window, nullptr);
    Stage::RefreshPalette(window);
    EXPECT_EQ(GetUpdateRect(window, nullptr, FALSE) != FALSE, eightBit) << "refresh invalidates";

    Stage::Shutdown(window);
    EXPECT_FALSE(Stage::HasPalette());
    EXPECT_EQ(sharedDc, nullptr) << "the shared picture DC is released";
    EXPECT_EQ(SystemPaletteUse(), eightBit ? UINT(SYSPAL_STATIC) : before) << "after shutdown";
    Stage::Shutdown(nullptr);
    DestroyWindow(window);
    if (host != nullptr) DestroyWindow(host);
  }
  SetUse(SYSPAL_STATIC);
}

}  // namespace
