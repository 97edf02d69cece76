// The settings dialog when its preview cannot be made, in this process through the GDI seam:
// whatever becomes of the preview, the brightness scroll bar runs from 0 to 8 and the bar and
// the number open at the stored value, and nothing of the preview is left once it closes.
#include <gtest/gtest.h>

#include "faults/gdi_faults.h"
#include "settings/dialog_test_support.h"
#include "settings/settings_preview.h"

namespace {

using SettingsFaults = SettingsTest;

TEST_F(SettingsFaults, TheBrightnessControlsWorkWithoutThePreview) {
  ASSERT_GT(gdi_faults::Install(), 0) << "the import table could not be patched";
  struct {
    const char* label;
    const char* failing;  // the first call of it fails; null: nothing fails
    DWORD stored;
  } cases[] = {
      {"the preview is made", nullptr, 6},
      {"no DC for the preview", "GetDC", 7},
      {"no memory DC", "CreateCompatibleDC", 0},
      {"no preview bitmap", "CreateCompatibleBitmap", 3},
  };
  for (const auto& c : cases) {
    WriteTimeValue("Brightness", REG_DWORD, &c.stored, sizeof(c.stored));
    gdi_faults::Reset();
    if (c.failing != nullptr) gdi_faults::FailCall(c.failing, 1);
    RunSettingsDialogWith({{"read the brightness controls", [&c] {
                              HWND dialog = FindSettingsDialog();
                              SCROLLINFO info = {};
                              info.cbSize = sizeof(info);
                              info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
                              GetScrollInfo(GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL), SB_CTL,
                                            &info);
                              EXPECT_EQ(info.nMin, 0) << c.label;
                              EXPECT_EQ(info.nMax, 8) << c.label;
                              EXPECT_EQ(info.nPage, 1u) << c.label;
                              EXPECT_EQ(info.nPos, int(c.stored)) << c.label;
                              EXPECT_EQ(NumberShown(dialog), std::to_string(c.stored)) << c.label;
                              Scroll(dialog, SB_RIGHT);
                              EXPECT_EQ(NumberShown(dialog), "8") << c.label << ": rightmost";
                              return true;
                            }}});
    if (c.failing != nullptr) {
      EXPECT_GE(gdi_faults::Calls(c.failing), 1) << c.label << ": the fault was not reached";
    }
    EXPECT_EQ(preview.memoryDc, nullptr) << c.label << ": the preview outlived the dialog";
    EXPECT_EQ(gdi_faults::LiveObjects(), 0u) << c.label << ": GDI objects left";
  }
  gdi_faults::Reset();
}

}  // namespace
