// The real saver on a 256-colour display: the clock shows the exact colours of the character
// pictures, and the system palette use is static again when it ends.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "e2e/driver.h"
#include "e2e/screen_image.h"
#include "palette/palette_test_support.h"
#include "settings/settings_test_support.h"

namespace {

constexpr DWORD kClockTimeoutMs = 30000;

// What the screen may show with the saver's palette: picture 10000's colours, with black in
// place of the transparent one. The dimmed desktop is black at brightness 0.
std::set<DWORD> PaletteColours() {
  std::set<DWORD> colours = {0};
  HMODULE saver = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const StoredPicture stored = ReadStoredPicture(saver, 10000);
  for (size_t i = 0; i < stored.table.size(); ++i) {
    if (int(i) != stored.TransparentIndex()) colours.insert(stored.Rgb(int(i)));
  }
  if (saver != nullptr) FreeLibrary(saver);
  return colours;
}

struct ColourCount {
  size_t offPalette = 0;      // pixels in no colour of the palette
  size_t paletteColours = 0;  // distinct palette colours other than black on screen
  size_t colouredPixels = 0;  // pixels other than black
  size_t white = 0;
};

ColourCount CountColours(const ScreenImage& shot, const std::set<DWORD>& palette) {
  ColourCount count;
  std::set<DWORD> seen;
  for (DWORD pixel : shot.pixels) {
    if (pixel == 0xFFFFFF) ++count.white;
    if (pixel != 0) ++count.colouredPixels;
    if (palette.count(pixel) == 0) {
      ++count.offPalette;
    } else if (pixel != 0) {
      seen.insert(pixel);
    }
  }
  count.paletteColours = seen.size();
  return count;
}

class PaletteDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ScreenBitsPerPixel() != 8) GTEST_SKIP() << "needs a display of 8 bits per pixel";
    RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
    const DWORD black = 0;
    WriteTimeValue("Brightness", REG_DWORD, &black, sizeof(black));
    palette = PaletteColours();
    ASSERT_GT(palette.size(), 200u) << "picture 10000 of the saver is expected with 256 colours";
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey); }

  // Starts the full-screen saver and waits until the clock is on the dark screen, in any colours.
  HWND StartAndWaitForClock(SaverProcess& saver, ColourCount* last) {
    if (!saver.Start("/s")) return nullptr;
    HWND window = saver.FindSaverWindow();
    if (window == nullptr) return nullptr;
    WaitUntil(
        [&] {
          *last = CountColours(CaptureScreenImage(), palette);
          return last->colouredPixels > 5000;
        },
        kClockTimeoutMs);
    return window;
  }

  std::set<DWORD> palette;
};

// Whether a realized palette reaches the screen exactly here: Wine 8 on an 8-bit Xvfb maps
// every entry to the nearest of its 20 static colours, whatever the flags.
bool DisplayShowsRealizedPalettes() {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16, nullptr,
                                nullptr, nullptr, nullptr);
  struct {
    WORD version = 0x300;
    WORD count = 1;
    PALETTEENTRY entry = {123, 45, 67, PC_NOCOLLAPSE};
  } block;
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&block));
  HDC dc = GetDC(window);
  HPALETTE previous = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(0));
  RECT rect = {0, 0, 16, 16};
  FillRect(dc, &rect, brush);
  const bool exact = GetPixel(dc, 8, 8) == RGB(123, 45, 67);
  DeleteObject(brush);
  SelectPalette(dc, previous, TRUE);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  DeleteObject(palette);
  return exact;
}

TEST_F(PaletteDisplayTest, ClockShowsTheExactColoursOfTheCharacterPictures) {
  if (!DisplayShowsRealizedPalettes()) {
    GTEST_SKIP() << "this display does not show realized palette colours exactly";
  }
  SaverProcess saver;
  ColourCount count;
  HWND window = StartAndWaitForClock(saver, &count);
  ASSERT_NE(window, nullptr) << "no saver window";
  EXPECT_GE(count.paletteColours, 24u) << "distinct colours of picture 10000 on screen";
  EXPECT_EQ(count.offPalette, 0u) << "screen pixels in a colour that picture 10000 does not have ("
                                  << count.colouredPixels << " pixels are not black)";
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(PaletteDisplayTest, SystemPaletteUseIsStaticAgainAfterTheRun) {
  HDC screen = GetDC(nullptr);
  SetSystemPaletteUse(screen, SYSPAL_STATIC);
  SaverProcess saver;
  ColourCount count;
  HWND window = StartAndWaitForClock(saver, &count);
  ASSERT_NE(window, nullptr) << "no saver window";
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
  EXPECT_EQ(GetSystemPaletteUse(screen), UINT(SYSPAL_STATIC)) << "after the run";
  ReleaseDC(nullptr, screen);
}

}  // namespace
