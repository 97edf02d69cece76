// The settings dialog as the user gets it: its controls, texts and layout, the preview picture,
// and nothing of the preview left behind once it closes.
#include <gtest/gtest.h>

#include <algorithm>

#include "faults/gdi_faults.h"
#include "dialog_test_support.h"
#include "graphics/masked_bitmap.h"
#include "palette/palette_test_support.h"
#include "settings/settings_preview.h"
#include "sprites/test_surface.h"

namespace {

struct ControlCase {
  int id;
  const char* className;
  const char* text;  // code page 932
  DWORD requiredStyle;
  DWORD forbiddenStyle;
  RECT units;  // left, top, width, height in dialog units
};

// In template order, which is also the tab order.
const ControlCase kControls[] = {
    {IDC_PREVIEW_AREA, "Static", "", SS_BLACKRECT, WS_VISIBLE, {4, 2, 105, 116}},
    {IDC_BRIGHTNESS_LABEL,
     "Static",
     "画面の明るさ(&B)",
     WS_VISIBLE | WS_GROUP,
     SS_TYPEMASK,
     {120, 27, 65, 9}},
    {IDC_BRIGHTNESS_NUMBER, "Static", "4", WS_VISIBLE | SS_RIGHT | SS_SUNKEN, 0, {194, 26, 19, 10}},
    {IDC_BRIGHTNESS_SCROLL,
     "ScrollBar",
     "",
     WS_VISIBLE | WS_GROUP | WS_TABSTOP,
     SBS_VERT,
     {160, 37, 53, 11}},
    {IDC_ABOUT,
     "Button",
     "ｽｸﾘｰﾝｾｰﾊﾞｰについて",
     WS_VISIBLE | WS_TABSTOP,
     BS_DEFPUSHBUTTON,
     {120, 101, 93, 14}},
    {-1, "Static", "Lumora ScreenSaver Version 1.0", WS_VISIBLE | SS_CENTER, 0, {7, 123, 206, 8}},
    {-1,
     "Static",
     "Copyright (C) 2026 QUENDRA. All rights reserved.",
     WS_VISIBLE | SS_CENTER,
     0,
     {7, 134, 206, 8}},
    {IDC_DEFAULTS, "Button", "初期値", WS_VISIBLE | WS_TABSTOP, BS_DEFPUSHBUTTON, {4, 148, 39, 13}},
    {IDCANCEL, "Button", "ｷｬﾝｾﾙ", WS_VISIBLE | WS_TABSTOP, BS_DEFPUSHBUTTON, {124, 148, 42, 13}},
    {IDOK, "Button", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {171, 148, 42, 13}},
};

// As the dialog manager places a control: position and size converted separately.
RECT InPixels(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
         << expected.bottom << "), got (" << actual.left << "," << actual.top << ")-("
         << actual.right << "," << actual.bottom << ")";
}

void CheckControls(HWND dialog) {
  HWND control = GetWindow(dialog, GW_CHILD);
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(std::string("control ") + std::to_string(c.id) + " \"" + c.text + "\"");
    ASSERT_NE(control, nullptr) << "the dialog has fewer controls than expected";
    char className[32] = {};
    GetClassNameA(control, className, sizeof(className));
    EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(control)), static_cast<WORD>(c.id)) << "id";
    EXPECT_STRCASEEQ(className, c.className);
    EXPECT_EQ(TextOf(control), AsShownNarrow(c.text));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    EXPECT_EQ(style & c.requiredStyle, c.requiredStyle) << "style " << std::hex << style;
    EXPECT_EQ(style & c.forbiddenStyle, 0u) << "style " << std::hex << style;
    EXPECT_TRUE(SameRect(RectInDialog(dialog, control), InPixels(dialog, c.units)));
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "the dialog has more controls than expected";
}

void CheckFrame(HWND dialog) {
  EXPECT_EQ(TextOf(dialog), AsShownNarrow("ScreenSaverの設定")) << "caption";
  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  const DWORD expected = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(style & expected, expected) << "dialog style " << std::hex << style;
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_TRUE(SameRect(client, InPixels(dialog, RECT{0, 0, 219, 167}))) << "client area";
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), FromCp932("ＭＳ Ｐゴシック")) << "dialog font";
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72)) << "9 points";
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL)) << "first focus";
}

using SettingsDialogTest = SettingsTest;

TEST_F(SettingsDialogTest, ShowsTheControlsTextsAndLayoutOfItsTemplate) {
  const INT_PTR result = RunSettingsDialogWith({{"inspect the dialog", [] {
                                                   HWND dialog = FindSettingsDialog();
                                                   CheckFrame(dialog);
                                                   CheckControls(dialog);
                                                   return true;
                                                 }}});
  EXPECT_EQ(result, 1) << "Cancel ends the dialog with 1";
}

// The preview area should show picture 106 centred on the button face colour.
void CheckPreview(HWND dialog) {
  const StoredPicture picture = ReadStoredPicture(nullptr, IDB_PREVIEW);
  ASSERT_GT(picture.width, 0) << "picture 106 is expected to be an 8-bit bitmap";
  const RECT at = RectInDialog(dialog, GetDlgItem(dialog, IDC_PREVIEW_AREA));
  const int width = at.right - at.left, height = at.bottom - at.top;
  ASSERT_GT(width, 0) << "the preview area has no size";
  TestSurface shown(width, height), expected(width, height);
  HDC dialogDc = GetDC(dialog);
  BitBlt(shown.dc, 0, 0, width, height, dialogDc, at.left, at.top, SRCCOPY);
  ReleaseDC(dialog, dialogDc);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceWord = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
  const int left = (width - picture.width) / 2, top = (height - picture.height) / 2;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int px = x - left, py = y - top;
      const bool inside = px >= 0 && py >= 0 && px < picture.width && py < picture.height;
      const int index = inside ? picture.IndexAt(px, py) : picture.TransparentIndex();
      expected.bits[y * width + x] =
          index == picture.TransparentIndex() ? faceWord : picture.Rgb(index);
    }
  }
  EXPECT_EQ(FirstDifference(shown, expected), "")
      << "the preview area differs from picture 106 centred on the button face colour (picture at "
      << left << "," << top << ")";
  EXPECT_EQ(shown.Pixel(0, 0), faceWord)
      << "the area's corner is expected in the button face colour";
}

// After a change of the area from where it was before: what is not the button face lies within
// the square of the side centred in the area as it is now, spanning most of it as the monitor of
// picture 106 does, and nothing is painted outside the area.
void CheckPreviewWithin(HWND dialog, const RECT& before, int side) {
  const RECT now = RectInDialog(dialog, GetDlgItem(dialog, IDC_PREVIEW_AREA));
  RECT all;
  UnionRect(&all, &before, &now);
  TestSurface shown(all.right - all.left, all.bottom - all.top);
  HDC dialogDc = GetDC(dialog);
  BitBlt(shown.dc, 0, 0, shown.width, shown.height, dialogDc, all.left, all.top, SRCCOPY);
  ReleaseDC(dialog, dialogDc);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceWord = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
  RECT drawn = {all.right, all.bottom, all.left, all.top};
  int outside = 0;
  for (int y = all.top; y < all.bottom; ++y) {
    for (int x = all.left; x < all.right; ++x) {
      if (shown.Pixel(x - all.left, y - all.top) == faceWord) continue;
      outside += !PtInRect(&now, POINT{x, y});
      drawn = RECT{std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y),
                   std::max<LONG>(drawn.right, x + 1), std::max<LONG>(drawn.bottom, y + 1)};
    }
  }
  EXPECT_EQ(outside, 0) << "pixels painted outside the preview area";
  const int left = (now.left + now.right - side) / 2, top = (now.top + now.bottom - side) / 2;
  EXPECT_TRUE(drawn.left >= left && drawn.top >= top && drawn.right <= left + side &&
              drawn.bottom <= top + side)
      << "the picture is drawn at (" << drawn.left << "," << drawn.top << ")-(" << drawn.right
      << "," << drawn.bottom << "), expected within the " << side << "-pixel square at " << left
      << "," << top;
  EXPECT_GE((drawn.right - drawn.left) * 4, side * 3) << "the picture is drawn too narrow";
  EXPECT_GE((drawn.bottom - drawn.top) * 4, side * 3) << "the picture is drawn too low";
}

TEST_F(SettingsDialogTest, PreviewShowsPicture106CentredOnTheButtonFace) {
  RunSettingsDialogWith({{"check the preview", [] {
                            HWND dialog = FindSettingsDialog();
                            RedrawWindow(dialog, nullptr, nullptr,
                                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                            CheckPreview(dialog);
                            return true;
                          }}});
}

struct AreaChange {
  const char* label;
  SIZE area;        // the preview area's new size, as the dialog manager sets it; 0: grown a
                    // little, to where the controls beside and below begin
  int pictureSide;  // the picture's size then: 136 wherever it fits, else the area's smaller side
};

// Moved onto a monitor of another scale, a dialog gets its controls sized afresh by the dialog
// manager and WM_DPICHANGED. The preview then fills its area as it now is, its picture centred
// and within it, and paints nothing outside it.
TEST_F(SettingsDialogTest, PreviewFollowsItsAreaWhenTheScaleChanges) {
  const AreaChange cases[] = {
      {"grown", {0, 0}, 136},
      {"shrunk", {100, 90}, 90},
  };
  for (const AreaChange& c : cases) {
    SCOPED_TRACE(c.label);
    RunSettingsDialogWith({{"resize the preview area and change the scale", [&c] {
                              HWND dialog = FindSettingsDialog();
                              HWND area = GetDlgItem(dialog, IDC_PREVIEW_AREA);
                              const RECT before = RectInDialog(dialog, area);
                              const SIZE size = c.area.cx > 0
                                                    ? c.area
                                                    : SIZE{before.right - before.left + 16,
                                                           before.bottom - before.top + 8};
                              SetWindowPos(area, nullptr, 0, 0, size.cx, size.cy,
                                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                              RECT suggested;
                              GetWindowRect(dialog, &suggested);
                              SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96),
                                           reinterpret_cast<LPARAM>(&suggested));
                              UpdateWindow(dialog);
                              CheckPreviewWithin(dialog, before, c.pictureSide);
                              return true;
                            }}});
  }
}

struct EndingCase {
  const char* label;
  int button;  // 0: the close box (WM_CLOSE)
};

class DialogEndingTest : public SettingsTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(DialogEndingTest, ReturnsOneAndLeavesNoPreviewBehind) {
  const EndingCase& c = GetParam();
  EXPECT_EQ(RunSettingsDialogWith({}, c.button), 1) << c.label;
  EXPECT_EQ(preview.memoryDc, nullptr) << c.label << ": preview DC left";
  EXPECT_EQ(preview.bitmap, nullptr) << c.label << ": preview bitmap left";
  EXPECT_EQ(preview.strips, nullptr) << c.label << ": preview picture left";
  EXPECT_EQ(liveCount, 0) << c.label << ": pictures not destroyed";
}

INSTANTIATE_TEST_SUITE_P(Endings, DialogEndingTest,
                         ::testing::Values(EndingCase{"OK", IDOK}, EndingCase{"Cancel", IDCANCEL},
                                           EndingCase{"close box", 0}));

TEST_F(SettingsDialogTest, ReleasingThePreviewTwiceIsHarmless) {
  ASSERT_GT(gdi_faults::Install(), 0);
  static int secondDeletes;
  RunSettingsDialogWith({{"release twice, then paint", [] {
                            HWND dialog = FindSettingsDialog();
                            ReleasePreview(dialog);
                            const int deletes = gdi_faults::Calls("DeleteObject") +
                                                gdi_faults::Calls("DeleteDC") + liveCount;
                            ReleasePreview(dialog);
                            secondDeletes = gdi_faults::Calls("DeleteObject") +
                                            gdi_faults::Calls("DeleteDC") + liveCount - deletes;
                            RedrawWindow(dialog, nullptr, nullptr,
                                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                            return IsWindow(dialog) != FALSE;
                          }}});
  EXPECT_EQ(secondDeletes, 0) << "the second release deleted objects or pictures again";
  EXPECT_EQ(liveCount, 0) << "pictures not destroyed";
}

}  // namespace
