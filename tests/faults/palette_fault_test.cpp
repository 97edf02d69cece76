// The palette on a 256-colour display when CreatePalette fails, and its release at shutdown with
// and without a window (the preview's last shutdown has none). The display here has 24 bits, so
// the seam answers 8 for BITSPIXEL; the objects are counted through the same seam.
#include <gtest/gtest.h>

#include "faults/gdi_faults.h"
#include "host/host_state.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

HWND MakeWindow() {
  return CreateWindowExA(0, "STATIC", "palette", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(PaletteFaults, AFailedOrReleasedPaletteLeavesNoObjectBehind) {
  ASSERT_GT(gdi_faults::Install(), 0) << "the import table could not be patched";
  moduleInstance = GetModuleHandleA(nullptr);
  isWindowed = true;
  struct {
    const char* label;
    bool failPalette;
    bool shutdownWithWindow;
  } cases[] = {
      {"palette made, shutdown with the window", false, true},
      {"palette made, shutdown without a window", false, false},
      {"CreatePalette fails, shutdown with the window", true, true},
      {"CreatePalette fails, shutdown without a window", true, false},
  };
  for (const auto& c : cases) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    gdi_faults::Reset();
    gdi_faults::FakeBitsPerPixel(8);
    if (c.failPalette) gdi_faults::FailCall("CreatePalette", 1);
    ASSERT_EQ(Stage::Start(window), 1) << c.label;
    Stage::BuildPalette(window);
    EXPECT_EQ(gdi_faults::Calls("CreatePalette"), 1) << c.label;
    EXPECT_EQ(Stage::HasPalette(), !c.failPalette) << c.label;
    Stage::Shutdown(c.shutdownWithWindow ? window : nullptr);
    Stage::Shutdown(nullptr);  // the host's last call; must be harmless
    EXPECT_FALSE(Stage::HasPalette()) << c.label;
    EXPECT_EQ(Stage::stage.paletteBlock, nullptr) << c.label << ": palette block kept";
    EXPECT_EQ(gdi_faults::LiveObjects(), 0u) << c.label << ": GDI objects left";
    gdi_faults::Reset();
    DestroyWindow(window);
  }
}

}  // namespace
