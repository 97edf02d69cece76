// The configure mode of the real saver, driven from this separate process as the display
// settings and the user would: who owns the dialog for each command line, what OK and Cancel
// leave in the registry after real key presses and clicks, how the about box goes away and
// what the dialog does afterwards, that the dialog font exists in Japanese and fits every text,
// and what both dialogs look like on screen at 100, 125, 150 and 200 %. The program runs under a
// Japanese locale (see tests/CMakeLists.txt), without which Wine turns the ANSI dialogs' Japanese
// into "?".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/window_shot.h"
#include "e2e/driver.h"
#include "resources/resource_ids.h"
#include "settings/settings_test_support.h"
#include "win32_pieces.h"

namespace {

constexpr DWORD kWaitMs = 10000;

// A visible top-level window of the driver's own, standing in for another program.
struct DriverWindow {
  HWND window = nullptr;
  explicit DriverWindow(int x) {
    window = win32_pieces::MakeWindow("LumoraDriverWindow", DefWindowProcA, WS_POPUP | WS_VISIBLE,
                                      x, 0, 60, 40, nullptr, "driver",
                                      static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); });
  }
  ~DriverWindow() { DestroyWindow(window); }
};

POINT CentreOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickControl(HWND dialog, int id) {
  ClickAtPoint(CentreOf(GetDlgItem(dialog, id)));
}

std::wstring WideTextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The text in UTF-8, or in the code page given.
std::string Narrow(const std::wstring& text, UINT codePage = CP_UTF8) {
  char narrow[512] = {};
  WideCharToMultiByte(codePage, 0, text.c_str(), -1, narrow, sizeof(narrow), nullptr, nullptr);
  return narrow;
}

// The dialog is an ANSI window: its texts pass through the running code page, which keeps the
// Japanese only where that page is 932.
std::wstring AsShownByAnsiWindow(const std::wstring& text) {
  wchar_t wide[512] = {};
  MultiByteToWideChar(CP_ACP, 0, Narrow(text, CP_ACP).c_str(), -1, wide, 512);
  return wide;
}

std::wstring NumberShown(HWND dialog) {
  return WideTextOf(GetDlgItem(dialog, IDC_BRIGHTNESS_NUMBER));
}

class SettingsProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey); }

  // Starts the saver with the arguments and waits for its settings dialog in the foreground.
  HWND Open(SaverProcess& saver, const std::string& arguments) {
    if (!saver.Start(arguments)) return nullptr;
    HWND dialog = FindProcessDialog(saver.Id(), kWaitMs);
    if (dialog != nullptr) WaitUntil([&] { return GetForegroundWindow() == dialog; });
    return dialog;
  }
};

struct OwnerCase {
  const char* label;
  const char* arguments;  // "#" stands for the handle of a window that is not in the foreground
  bool ownedByForeground;
};

TEST_F(SettingsProcessTest, IsOwnedByTheForegroundWindowOnlyWithTheCSwitch) {
  const OwnerCase cases[] = {
      {"/c", "/c", true},
      {"no switch", "", false},
      {"/c with a window number, which is not used", "/c:#", true},
  };
  DriverWindow other(100);
  DriverWindow foreground(200);
  for (const OwnerCase& c : Sample(cases, 2)) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(BringToFront(foreground.window))
        << "the driver's window could not be made foreground";
    std::string arguments = c.arguments;
    if (arguments == "/c:#") arguments = "/c:" + std::to_string(HandleToULong(other.window));
    SaverProcess saver;
    HWND dialog = Open(saver, arguments);
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    EXPECT_EQ(WideTextOf(dialog), AsShownByAnsiWindow(L"ScreenSaverの設定")) << "caption";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), c.ownedByForeground ? foreground.window : nullptr);
    EXPECT_EQ(IsWindowEnabled(foreground.window) != FALSE, !c.ownedByForeground)
        << "an owner is disabled while its modal dialog is open";
    EXPECT_TRUE(IsWindowEnabled(other.window)) << "the window named by number is not the owner";
    ClickControl(dialog, IDCANCEL);
    EXPECT_EQ(saver.WaitExit(), 1u) << "the configure mode ends with the dialog's 1";
    EXPECT_TRUE(IsWindowEnabled(foreground.window)) << "the owner is enabled again";
  }
}

struct ClosingCase {
  const char* label;
  DWORD stored;                                       // kNoValue: no value before the dialog opens
  std::vector<std::pair<WORD, const wchar_t*>> keys;  // a key, then the number it shows
  bool pressDefaults;                                 // then "初期値", which shows 4
  int button;
  DWORD expected;  // the value stored afterwards; kNoValue: none
};
constexpr DWORD kNoValue = 0xFFFFFFFF;

TEST_F(SettingsProcessTest, OnlyOkWritesAndItWritesExactlyOneDword) {
  const ClosingCase cases[] = {
      {"OK after two steps left", kNoValue, {{VK_LEFT, L"3"}, {VK_LEFT, L"2"}}, false, IDOK, 2},
      {"Cancel after a step and 初期値", 7, {{VK_LEFT, L"6"}}, true, IDCANCEL, 7},
      // A key that must change nothing, then one that does: the second shows that the first
      // has been handled.
      {"Page Down at 8, then a step left", 8, {{VK_NEXT, L"8"}, {VK_LEFT, L"7"}}, false, IDOK, 7},
      {"Page Up at 0, then a step right", 0, {{VK_PRIOR, L"0"}, {VK_RIGHT, L"1"}}, false, IDOK, 1},
      {"Cancel on a fresh profile", kNoValue, {{VK_RIGHT, L"5"}}, false, IDCANCEL, kNoValue},
  };
  for (const ClosingCase& c : Sample(cases, 2)) {
    SCOPED_TRACE(c.label);
    RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
    if (c.stored != kNoValue) WriteTimeValue("Brightness", REG_DWORD, &c.stored, sizeof(c.stored));
    SaverProcess saver;
    HWND dialog = Open(saver, "/c");
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const std::wstring opened = c.stored == kNoValue ? L"4" : std::to_wstring(c.stored);
    EXPECT_TRUE(WaitUntil([&] { return NumberShown(dialog) == opened; }))
        << "opens at the stored value";
    for (const auto& [key, shown] : c.keys) {
      SendKey(key);
      EXPECT_TRUE(WaitUntil([&] { return NumberShown(dialog) == shown; }, 3000))
          << "after key " << key << " the number is expected to show " << Narrow(shown);
    }
    if (c.pressDefaults) {
      ClickControl(dialog, IDC_DEFAULTS);
      EXPECT_TRUE(WaitUntil([&] { return NumberShown(dialog) == L"4"; })) << "初期値 shows 4";
      const std::vector<StoredValue> values = ValuesOf(kTimeKeyPath);
      ASSERT_EQ(values.size(), 1u);
      EXPECT_EQ(values[0].data, std::vector<BYTE>({BYTE(c.stored), 0, 0, 0}))
          << "初期値 stores nothing";
    }
    ClickControl(dialog, c.button);
    EXPECT_EQ(saver.WaitExit(), 1u);
    const std::vector<StoredValue> values = ValuesOf(kTimeKeyPath);
    EXPECT_TRUE(KeyExists(kTimeKeyPath)) << "opening the dialog creates the keys";
    EXPECT_TRUE(ValuesOf(kRootKeyPath).empty()) << "nothing is stored beside the Time key";
    EXPECT_EQ(SubkeysOf(kRootKeyPath), std::vector<std::string>({"Time"}));
    if (c.expected == kNoValue) {
      EXPECT_TRUE(values.empty()) << "a value was written";
      continue;
    }
    ASSERT_EQ(values.size(), 1u) << "exactly one value";
    EXPECT_EQ(values[0].name, "Brightness");
    EXPECT_EQ(values[0].type, DWORD(REG_DWORD));
    EXPECT_EQ(values[0].data, std::vector<BYTE>({BYTE(c.expected), 0, 0, 0}));
  }
}

struct AboutCase {
  const char* label;
  void (*dismiss)(HWND box, DriverWindow& other);
  bool otherKeepsActivation;  // else the settings dialog is active again
  WORD cancelKey;             // 0: a click on ｷｬﾝｾﾙ
};

// After the box has gone, the settings dialog takes the user's input as before: a click brings
// it to the front, its scroll bar moves the brightness, and Cancel ends the saver with 1.
TEST_F(SettingsProcessTest, AboutBoxClosesOnAClickAndWhenAnotherProgramIsActivated) {
  const AboutCase cases[] = {
      {"a click on the picture", [](HWND box, DriverWindow&) { ClickAtPoint(CentreOf(box)); },
       false, 0},
      {"another program activated, then Escape",
       [](HWND, DriverWindow& other) { SetForegroundWindow(other.window); }, true, VK_ESCAPE},
      {"a click outside it",
       [](HWND box, DriverWindow&) {
         RECT rect;
         GetWindowRect(box, &rect);
         ClickAtPoint(POINT{rect.right + 20, rect.bottom + 20});
       },
       false, VK_ESCAPE},
      {"another program activated, then a click on ｷｬﾝｾﾙ",
       [](HWND, DriverWindow& other) { SetForegroundWindow(other.window); }, true, 0},
  };
  DriverWindow other(300);
  for (const AboutCase& c : Sample(cases, 2)) {
    SCOPED_TRACE(c.label);
    SaverProcess saver;
    HWND dialog = Open(saver, "/c");
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    ClickControl(dialog, IDC_ABOUT);
    HWND box = FindProcessDialog(saver.Id(), kWaitMs, dialog);
    ASSERT_NE(box, nullptr) << "no about box";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "owned by the settings dialog";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }))
        << "the box comes to the front";
    GUITHREADINFO input = {};
    input.cbSize = sizeof(input);
    EXPECT_TRUE(WaitUntil([&] {
      return GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &input) &&
             input.hwndCapture == box;
    })) << "the box does not hold the mouse: the capture is "
        << input.hwndCapture;
    Settle(box);  // and has handled its activation
    c.dismiss(box, other);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        << "the about box stayed open";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; })) << "dialog usable";
    HWND expectedActive = c.otherKeepsActivation ? other.window : dialog;
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == expectedActive; }, 3000))
        << "the foreground window is " << GetForegroundWindow() << ", expected " << expectedActive
        << (c.otherKeepsActivation ? " (the other program)" : " (the dialog)");
    EXPECT_TRUE(saver.Running()) << "closing the about box ended the saver";

    ClickControl(dialog, IDC_BRIGHTNESS_NUMBER);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }))
        << "a click does not bring the settings dialog back to the front";
    RECT scroll = {};
    GetWindowRect(GetDlgItem(dialog, IDC_BRIGHTNESS_SCROLL), &scroll);
    ClickAtPoint(POINT{scroll.right - 3, (scroll.top + scroll.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return NumberShown(dialog) == L"5"; }, 3000))
        << "a click on the scroll bar's right arrow does not raise the brightness";
    if (c.cancelKey != 0) {
      SendKey(c.cancelKey);
    } else {
      ClickControl(dialog, IDCANCEL);
    }
    EXPECT_EQ(saver.WaitExit(), 1u) << "Cancel does not end the saver";
    EXPECT_TRUE(ValuesOf(kTimeKeyPath).empty()) << "Cancel stored a value";
  }
}

// The dialog font at 9 points, as the dialog manager makes it on this display.
HFONT DialogFont() {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                     L"ＭＳ Ｐゴシック");
}

struct TextCase {
  int id;               // 0: the caption
  const wchar_t* text;  // as the dialog holds it; drawn without the mnemonic's ampersand
  int margin;           // pixels of the control's width that the drawn text may not use
};

// Under the Japanese locale this program runs in, the ANSI dialog's texts arrive whole (under any
// other the Japanese characters turn into question marks), have glyphs in the dialog font, and
// fit their controls.
TEST_F(SettingsProcessTest, JapaneseTextsArriveWholeHaveGlyphsAndFitTheirControls) {
  ASSERT_EQ(GetACP(), 932u) << "dialog_tests is expected to run with LANG=ja_JP.UTF-8";
  const TextCase cases[] = {
      {0, L"ScreenSaverの設定", 0},
      {IDC_BRIGHTNESS_LABEL, L"画面の明るさ(&B)", 0},
      {IDC_ABOUT, L"ｽｸﾘｰﾝｾｰﾊﾞｰについて", 6},
      {IDC_DEFAULTS, L"初期値", 6},
      {IDCANCEL, L"ｷｬﾝｾﾙ", 6},
      {IDOK, L"OK", 6},
  };
  HFONT font = DialogFont();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SaverProcess saver;
  HWND dialog = Open(saver, "/c");
  ASSERT_NE(dialog, nullptr) << "no settings dialog";
  for (const TextCase& c : cases) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    HWND control = c.id == 0 ? dialog : GetDlgItem(dialog, c.id);
    EXPECT_EQ(Narrow(WideTextOf(control)), Narrow(c.text));
    std::wstring text = c.text;
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), int(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), 0xFFFF), 0)
        << "characters without a glyph in the dialog font, which is " << Narrow(face);
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
    RECT client = {};
    GetClientRect(control, &client);
    EXPECT_LE(extent.cx, client.right - c.margin) << "the text is clipped";
    EXPECT_TRUE(c.id == 0 || extent.cy <= client.bottom) << "clipped: " << extent.cy << " rows";
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(font);
  ClickControl(dialog, IDCANCEL);
  EXPECT_EQ(saver.WaitExit(), 1u);
}

// How many pixels of the picture, placed at (left, top) in the area, differ from the screen.
// Where the picture has its transparent colour (that of its top-left pixel), the background
// colour is expected instead; where another palette entry shares that colour, either will do.
// Such pixels may also fall outside the area: nothing visible is lost with them.
int Mismatches(const ScreenImage& area, const ScreenImage& picture, int left, int top,
               DWORD background) {
  const DWORD transparent = picture.Rgb(0, 0);
  int mismatches = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int ax = left + x;
      const int ay = top + y;
      const DWORD drawn = picture.Rgb(x, y);
      if (ax < 0 || ay < 0 || ax >= area.width || ay >= area.height) {
        mismatches += drawn != transparent;
        continue;
      }
      const DWORD shown = area.Rgb(ax, ay);
      const bool ok =
          drawn == transparent ? (shown == background || shown == drawn) : shown == drawn;
      mismatches += !ok;
    }
  }
  return mismatches;
}

DWORD AsScreenValue(COLORREF colour) {
  return DWORD(GetRValue(colour)) << 16 | DWORD(GetGValue(colour)) << 8 | GetBValue(colour);
}

// A copy of this program started with LUMORA_REPORT_DPI set only reports the screen's pixels
// per inch, as its exit value: Wine reads the DPI once, as each program starts.
[[maybe_unused]] const UINT kReportedDpi = [] {
  if (GetEnvironmentVariableA("LUMORA_REPORT_DPI", nullptr, 0) == 0) return 0u;
  HDC screen = GetDC(nullptr);
  ExitProcess(UINT(GetDeviceCaps(screen, LOGPIXELSX)));
}();

// The DPI that programs started from now on get (LogPixels, as the display settings write it),
// taken away again at the end.
struct SystemDpi {
  explicit SystemDpi(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                    sizeof(dpi));
  }
  ~SystemDpi() { RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels"); }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;
};

// What a program started now reads as the screen's DPI; 0 if the copy did not report.
DWORD DpiOfANewProgram() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA("LUMORA_REPORT_DPI", "1");
  SaverProcess copy;
  const bool started = copy.StartProgram(self, "");
  SetEnvironmentVariableA("LUMORA_REPORT_DPI", nullptr);
  return started ? copy.WaitExit(kWaitMs) : 0;
}

struct ScaleCase {
  DWORD dpi;
  int previewId;  // the drawing the preview shows 1:1 at that scale
  int aboutId;    // the drawing that fills the about box at that scale
  const char* name;
};

// Saves build/.../shots/settings_dialog_DPI.png and about_box_DPI.png for a person to look at,
// and checks in them that the preview shows the drawing made for the scale centred in its area
// and that the about box is as large as the drawing for the scale, which fills it.
TEST_F(SettingsProcessTest, ShowsThePicturesDrawnForTheScaleThePreviewCentredTheAboutBoxFilled) {
  const ScaleCase cases[] = {
      {96, IDB_PREVIEW, IDB_ABOUT, "96"},
      {144, IDB_PREVIEW_150, IDB_ABOUT_150, "144"},
      {120, IDB_PREVIEW_125, IDB_ABOUT_125, "120"},
      {192, IDB_PREVIEW_200, IDB_ABOUT_200, "192"},
  };
  for (const ScaleCase& c : Sample(cases, 2)) {
    SCOPED_TRACE(std::string("at ") + c.name + " DPI");
    const ScreenImage preview = PictureResource(c.previewId);
    const ScreenImage about = PictureResource(c.aboutId);
    ASSERT_EQ(preview.width, MulDiv(136, int(c.dpi), 96)) << "preview drawing missing";
    ASSERT_EQ(about.width, MulDiv(340, int(c.dpi), 96)) << "about drawing missing";
    SystemDpi scale(c.dpi);
    ASSERT_EQ(DpiOfANewProgram(), c.dpi) << "the system does not report the DPI it was given";
    SaverProcess saver;
    HWND dialog = Open(saver, "/c");
    ASSERT_NE(dialog, nullptr) << "no settings dialog";

    const ScreenImage dialogShot = CaptureSettled(dialog);
    EXPECT_TRUE(SavePng(dialogShot, ShotsFolder() + "settings_dialog_" + c.name + ".png"));
    RECT area = {};
    GetWindowRect(GetDlgItem(dialog, IDC_PREVIEW_AREA), &area);
    const int left = area.left - dialogShot.left + (area.right - area.left - preview.width) / 2;
    const int top = area.top - dialogShot.top + (area.bottom - area.top - preview.height) / 2;
    EXPECT_EQ(Mismatches(dialogShot, preview, left, top, AsScreenValue(GetSysColor(COLOR_BTNFACE))),
              0)
        << "the " << preview.width << "-pixel preview drawing is expected centred in the "
        << area.right - area.left << " x " << area.bottom - area.top << " preview area, at " << left
        << ", " << top << " of the dialog window";

    ClickControl(dialog, IDC_ABOUT);
    HWND box = FindProcessDialog(saver.Id(), kWaitMs, dialog);
    ASSERT_NE(box, nullptr) << "no about box";
    const ScreenImage boxShot = CaptureSettled(box);
    EXPECT_TRUE(SavePng(boxShot, ShotsFolder() + "about_box_" + c.name + ".png"));
    // The client area alone: what the picture control shows, without the box's border.
    RECT client = {};
    GetClientRect(box, &client);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const ScreenImage inside = CaptureScreenImage(
        client.left, client.top, client.right - client.left, client.bottom - client.top);
    EXPECT_EQ(inside.width, about.width) << "the about box's client area is not the picture's";
    EXPECT_EQ(inside.height, about.height) << "the about box's client area is not the picture's";
    EXPECT_EQ(Mismatches(inside, about, 0, 0, 0xFFFFFF), 0)
        << "the " << about.width << " x " << about.height << " about drawing is expected to fill"
        << " the " << inside.width << " x " << inside.height << " client area of the about box";

    ClickAtPoint(CentreOf(box));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; })) << "about box stays";
    ClickControl(dialog, IDCANCEL);
    EXPECT_EQ(saver.WaitExit(), 1u);
  }
}

}  // namespace
