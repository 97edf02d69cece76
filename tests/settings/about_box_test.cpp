// The about box: how it looks, and that a click anywhere or losing activation closes it.
#include "settings/about_box.h"

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "e2e/driver.h"

namespace {

using AboutBoxTest = SettingsTest;

ScriptStep OpenAboutBox() {
  return PressSettingsButton("press the about button", IDC_ABOUT);
}

ScriptStep WaitForAboutBox() {
  return {"the about box opens", [] { return FindAboutBox() != nullptr; }};
}

ScriptStep WaitForAboutBoxToClose() {
  return {"the about box closes", [] {
            if (FindAboutBox() != nullptr) return false;
            EXPECT_EQ(GetCapture(), nullptr) << "the mouse capture is expected to be released";
            EXPECT_TRUE(IsWindowEnabled(FindSettingsDialog())) << "the settings dialog is back";
            return true;
          }};
}

// The box's client area, its picture control and the picture it shows are all of the size.
void CheckFilledBy(HWND box, int width, int height) {
  const RECT expected = {0, 0, width, height};
  RECT client;
  GetClientRect(box, &client);
  EXPECT_TRUE(EqualRect(&client, &expected))
      << "client area " << client.right << " x " << client.bottom << ", expected the picture's "
      << width << " x " << height;
  HWND picture = GetWindow(box, GW_CHILD);
  ASSERT_NE(picture, nullptr) << "the about box has no picture control";
  RECT control;
  GetWindowRect(picture, &control);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&control), 2);
  EXPECT_TRUE(EqualRect(&control, &expected)) << "the picture control does not fill the box";
  BITMAP shown = {};
  GetObjectA(reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)),
             sizeof(shown), &shown);
  EXPECT_EQ(shown.bmWidth, width) << "the picture shown";
  EXPECT_EQ(shown.bmHeight, height) << "the picture shown";
}

void CheckAboutBox(HWND box) {
  EXPECT_EQ(GetWindow(box, GW_OWNER), FindSettingsDialog()) << "owned by the settings dialog";
  EXPECT_FALSE(IsWindowEnabled(FindSettingsDialog())) << "the settings dialog waits for it";
  EXPECT_EQ(GetCapture(), box) << "the about box is expected to hold the mouse";
  const DWORD style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
  EXPECT_NE(style & WS_BORDER, 0u) << "expected a border";
  EXPECT_NE(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION)) << "expected no caption";
  CheckFilledBy(box, 340, 230);
  RECT frame, work;
  GetWindowRect(box, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1) << "centred";
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1) << "centred";

  EXPECT_EQ(GetWindow(GetWindow(box, GW_CHILD), GW_HWNDNEXT), nullptr) << "one control only";
}

void CheckWhiteBackground(HWND box) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, TRANSPARENT);
  for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORDLG}) {
    const LRESULT brush = SendMessageA(box, message, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetWindow(box, GW_CHILD)));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(WHITE_BRUSH)) << message;
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255)) << message;
    EXPECT_EQ(GetBkMode(dc), OPAQUE) << message;
  }
  DeleteDC(dc);
}

// On a monitor of another scale the box takes the picture's size there, centred where the
// system suggests; the dialog manager's own resizing would follow the template instead.
void CheckScaleChange(HWND box) {
  RECT suggested;
  GetWindowRect(box, &suggested);
  OffsetRect(&suggested, 40, 30);
  SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  CheckFilledBy(box, 510, 345);
  RECT frame;
  GetWindowRect(box, &frame);
  EXPECT_NEAR(frame.left + frame.right, suggested.left + suggested.right, 1) << "not centred";
  EXPECT_NEAR(frame.top + frame.bottom, suggested.top + suggested.bottom, 1) << "not centred";
}

TEST_F(AboutBoxTest, ShowsPicture104CentredAndClosesOnAClickOutside) {
  RunSettingsDialogWith({OpenAboutBox(),
                         WaitForAboutBox(),
                         {"inspect the about box",
                          [] {
                            CheckAboutBox(FindAboutBox());
                            CheckWhiteBackground(FindAboutBox());
                            CheckScaleChange(FindAboutBox());
                            ClickMouse(POINT{2, 2}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
                            return true;
                          }},
                         WaitForAboutBoxToClose()});
}

struct ClickCase {
  const char* label;
  DWORD down;
  DWORD up;
};

class AboutBoxClickTest : public SettingsTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(AboutBoxClickTest, ClosesOnAClickInside) {
  static ClickCase c;
  c = GetParam();
  RunSettingsDialogWith({OpenAboutBox(),
                         WaitForAboutBox(),
                         {c.label,
                          [] {
                            RECT frame;
                            GetWindowRect(FindAboutBox(), &frame);
                            ClickMouse(POINT{frame.left + 20, frame.top + 20}, c.down, c.up);
                            return true;
                          }},
                         WaitForAboutBoxToClose()});
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, AboutBoxClickTest,
    ::testing::Values(ClickCase{"left click", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                      ClickCase{"right click", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                      ClickCase{"middle click", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}));

TEST_F(AboutBoxTest, ClosesWhenAnotherWindowIsActivated) {
  static HWND other;
  other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 600, 500, 100, 50, nullptr,
                          nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  RunSettingsDialogWith({OpenAboutBox(),
                         WaitForAboutBox(),
                         {"activate another window",
                          [] {
                            SetForegroundWindow(other);
                            SetActiveWindow(other);
                            return true;
                          }},
                         WaitForAboutBoxToClose()});
  DestroyWindow(other);
}

TEST_F(AboutBoxTest, StaysOpenOnKeysAndReportsOneWhenClosed) {
  static INT_PTR shown;
  static SHORT toggle;  // the key's toggle bit flips once the thread has taken its press
  shown = 0;
  StartModalScript({WaitForAboutBox(),
                    {"press Escape",
                     [] {
                       toggle = GetKeyState(VK_ESCAPE) & 1;
                       SendKey(VK_ESCAPE);
                       return true;
                     }},
                    {"still open after Escape", [] {
                       // Timer ticks come after the key's messages have been dispatched.
                       const SHORT state = GetKeyState(VK_ESCAPE);
                       if ((state & 1) == toggle || state < 0) return false;
                       if (FindAboutBox() == nullptr) return true;  // reported below
                       ClickMouse(POINT{2, 2}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
                       shown = 1;
                       return true;
                     }}});
  EXPECT_EQ(ShowAboutBox(nullptr), 1);
  EXPECT_TRUE(ModalScriptFinished());
  EXPECT_EQ(shown, 1) << "Escape is expected to leave the about box open";
}

}  // namespace
