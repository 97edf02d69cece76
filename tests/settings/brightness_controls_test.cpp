// The brightness controls of the settings dialog: the scroll bar by its messages, by keys and
// by dragging its thumb, the number beside it, "初期値", and what OK and Cancel store.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "e2e/driver.h"

namespace {

using BrightnessControlsTest = SettingsTest;

struct ScrollSequence {
  const char* label;
  std::vector<int> requests;  // sent in order; SB_THUMBPOSITION carries thumbArgument
  WORD thumbArgument;
  int expected;
};

const ScrollSequence kSequences[] = {
    {"page left at 0 stays at 0", {SB_LEFT, SB_PAGELEFT}, 0, 0},
    {"page right at 8 stays at 8", {SB_RIGHT, SB_PAGERIGHT}, 0, 8},
    {"line left at 0 stays at 0", {SB_LEFT, SB_LINELEFT}, 0, 0},
    {"line right at 8 stays at 8", {SB_RIGHT, SB_LINERIGHT}, 0, 8},
    {"line right from 0", {SB_LEFT, SB_LINERIGHT}, 0, 1},
    {"page left from 8", {SB_RIGHT, SB_PAGELEFT}, 0, 7},
    {"thumb dropped at 6", {SB_LEFT, SB_THUMBPOSITION}, 6, 6},
    {"thumb value beyond the end", {SB_LEFT, SB_THUMBPOSITION}, 300, 8},
    {"negative thumb value", {SB_RIGHT, SB_THUMBPOSITION}, 0xFFFE, 0},
    {"end of scrolling keeps the position", {SB_RIGHT, SB_LINELEFT, SB_ENDSCROLL}, 0, 7},
};

TEST_F(BrightnessControlsTest, ScrollRequestsMoveTheBarAndTheNumberTogether) {
  RunSettingsDialogWith({{"send the scroll requests", [] {
                            HWND dialog = FindSettingsDialog();
                            for (const ScrollSequence& s : kSequences) {
                              for (int request : s.requests)
                                Scroll(dialog, request, s.thumbArgument);
                              EXPECT_EQ(NumberShown(dialog), std::to_string(s.expected)) << s.label;
                              EXPECT_EQ(ScrollPosition(dialog), s.expected) << s.label;
                              EXPECT_EQ(Brightness, s.expected) << s.label;
                            }
                            return true;
                          }}});
  EXPECT_TRUE(ValuesOf(kTimeKeyPath).empty()) << "scrolling must not write to the registry";
}

TEST_F(BrightnessControlsTest, ScrollMessagesFromOtherWindowsAreIgnored) {
  RunSettingsDialogWith({{"send scroll requests from elsewhere", [] {
                            HWND dialog = FindSettingsDialog();
                            SendMessageA(dialog, WM_HSCROLL, SB_RIGHT, 0);
                            SendMessageA(dialog, WM_HSCROLL, SB_RIGHT,
                                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
                            EXPECT_EQ(NumberShown(dialog), "4") << "the number must not move";
                            EXPECT_EQ(Brightness, kDefaultBrightness);
                            return true;
                          }}});
}

// A key, then the number it is expected to leave; a key that must change nothing is followed
// by one that does, so that the check cannot pass before the key has been handled.
struct KeyCase {
  WORD key;
  const char* expected;
};

std::vector<ScriptStep> KeySteps(const std::vector<KeyCase>& keys) {
  std::vector<ScriptStep> steps;
  for (const KeyCase& k : keys) {
    steps.push_back({"press a key", [k] {
                       SendKey(k.key);
                       return true;
                     }});
    steps.push_back({std::string("the number becomes ") + k.expected,
                     [k] { return NumberShown(FindSettingsDialog()) == k.expected; }});
  }
  return steps;
}

TEST_F(BrightnessControlsTest, KeysOnTheFocusedScrollBarStayWithinTheRange) {
  RunSettingsDialogWith(KeySteps({{VK_HOME, "0"},
                                  {VK_PRIOR, "0"},
                                  {VK_RIGHT, "1"},
                                  {VK_LEFT, "0"},
                                  {VK_LEFT, "0"},
                                  {VK_NEXT, "1"},
                                  {VK_END, "8"},
                                  {VK_NEXT, "8"},
                                  {VK_RIGHT, "8"},
                                  {VK_PRIOR, "7"}}));
  EXPECT_EQ(Brightness, 7);
}

// Where the thumb and the ends of the track are, in screen coordinates.
struct ThumbGeometry {
  POINT thumb;
  POINT leftEnd;
  POINT rightEnd;
};

ThumbGeometry MeasureThumb(HWND scroll) {
  SCROLLBARINFO info = {};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(scroll, OBJID_CLIENT, &info);
  const RECT& bar = info.rcScrollBar;
  const int y = (bar.top + bar.bottom) / 2;
  return ThumbGeometry{{bar.left + (info.xyThumbTop + info.xyThumbBottom) / 2, y},
                       {bar.left + info.dxyLineButton + 1, y},
                       {bar.right - info.dxyLineButton - 2, y}};
}

HWND BrightnessScrollBar() {
  return GetDlgItem(FindSettingsDialog(), IDC_BRIGHTNESS_SCROLL);
}

TEST_F(BrightnessControlsTest, DraggingTheThumbUpdatesTheNumberLive) {
  static ThumbGeometry geometry;
  RunSettingsDialogWith({
      {"press on the thumb",
       [] {
         geometry = MeasureThumb(BrightnessScrollBar());
         PressMouse(geometry.thumb);
         return true;
       }},
      {"the drag starts", [] { return GetCapture() == BrightnessScrollBar(); }},
      {"drag to the right end",
       [] {
         MoveMouseTo(geometry.rightEnd);
         return true;
       }},
      {"the number shows 8 during the drag",
       [] {
         if (NumberShown(FindSettingsDialog()) != "8") return false;
         EXPECT_EQ(GetCapture(), BrightnessScrollBar()) << "the drag is expected to go on";
         EXPECT_EQ(ScrollPosition(FindSettingsDialog()), 8) << "the bar follows the shown value";
         MoveMouseTo(geometry.leftEnd);
         return true;
       }},
      {"the number shows 0 during the drag",
       [] {
         if (NumberShown(FindSettingsDialog()) != "0") return false;
         ReleaseMouse(geometry.leftEnd);
         return true;
       }},
      {"the drag ends", [] { return GetCapture() != BrightnessScrollBar(); }},
      {"the dropped thumb stays at 0",
       [] {
         EXPECT_EQ(ScrollPosition(FindSettingsDialog()), 0);
         EXPECT_EQ(NumberShown(FindSettingsDialog()), "0");
         return true;
       }},
  });
  EXPECT_EQ(Brightness, 0);
}

TEST_F(BrightnessControlsTest, DefaultsButtonShows4WithoutStoringIt) {
  RunSettingsDialogWith({{"move to 8",
                          [] {
                            Scroll(FindSettingsDialog(), SB_RIGHT);
                            return NumberShown(FindSettingsDialog()) == "8";
                          }},
                         PressSettingsButton("press 初期値", IDC_DEFAULTS),
                         {"the number shows 4", [] {
                            HWND dialog = FindSettingsDialog();
                            if (NumberShown(dialog) != "4") return false;
                            EXPECT_EQ(ScrollPosition(dialog), 4) << "the bar is expected at 4";
                            EXPECT_TRUE(ValuesOf(kTimeKeyPath).empty()) << "nothing may be saved";
                            return true;
                          }}});
  EXPECT_TRUE(ValuesOf(kTimeKeyPath).empty()) << "Cancel after 初期値 must store nothing";
}

struct ClosingCase {
  const char* label;
  int button;
  size_t valuesStored;
};

class ClosingButtonTest : public SettingsTest, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingButtonTest, OnlyOkStoresTheBrightness) {
  const ClosingCase& c = GetParam();
  const INT_PTR result = RunSettingsDialogWith({{"move to 7",
                                                 [] {
                                                   HWND dialog = FindSettingsDialog();
                                                   Scroll(dialog, SB_RIGHT);
                                                   Scroll(dialog, SB_LINELEFT);
                                                   return true;
                                                 }}},
                                               c.button);
  EXPECT_EQ(result, 1) << c.label;
  const std::vector<StoredValue> values = ValuesOf(kTimeKeyPath);
  ASSERT_EQ(values.size(), c.valuesStored) << c.label << ": values under the Time key";
  if (c.valuesStored == 0) return;
  EXPECT_EQ(values[0].name, "Brightness");
  EXPECT_EQ(values[0].type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(values[0].data, (std::vector<BYTE>{7, 0, 0, 0})) << "7 as 4 bytes";
}

INSTANTIATE_TEST_SUITE_P(Buttons, ClosingButtonTest,
                         ::testing::Values(ClosingCase{"OK", IDOK, 1},
                                           ClosingCase{"Cancel", IDCANCEL, 0}));

TEST_F(BrightnessControlsTest, OpensAtTheStoredBrightness) {
  for (DWORD stored : {2u, 9u}) {
    WriteTimeValue("Brightness", REG_DWORD, &stored, sizeof(stored));
    Brightness = kDefaultBrightness;
    const std::string expected = stored <= 8 ? std::to_string(stored) : "4";
    RunSettingsDialogWith({{"check the opening value", [expected] {
                              HWND dialog = FindSettingsDialog();
                              EXPECT_EQ(NumberShown(dialog), expected);
                              EXPECT_EQ(std::to_string(ScrollPosition(dialog)), expected);
                              return true;
                            }}});
  }
}

}  // namespace
