// The full-screen window procedures, called directly on a window of the test's own: what they
// keep from the default handling, and what input posts once the close has been granted.
#include <gtest/gtest.h>

#include "host/host_state.h"
#include "host/password_hooks.h"
#include "host/saver_window.h"
#include "win32_pieces.h"

namespace {

int systemCommandsCarriedOut = 0;

// The default handling announces each system command it is about to carry out; refused here,
// none of them changes the test's window.
LRESULT CALLBACK CountSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HCBT_SYSCOMMAND) return CallNextHookEx(nullptr, code, wParam, lParam);
  ++systemCommandsCarriedOut;
  return 1;
}

struct TestWindow {
  HWND handle =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ~TestWindow() { DestroyWindow(handle); }
  // Takes the waiting WM_CLOSE messages off the queue and counts them.
  int TakeCloses() {
    MSG message;
    int closes = 0;
    while (PeekMessageA(&message, handle, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++closes;
    return closes;
  }
};

TEST(WindowProcedures, FullScreenKeepsFourSystemCommandsFromTheDefaultHandling) {
  const struct {
    bool windowed;
    WPARAM command;
    bool carriedOut;
  } cases[] = {{false, SC_SCREENSAVE, false}, {false, SC_CLOSE, false},
               {false, SC_NEXTWINDOW, false}, {false, SC_PREVWINDOW, false},
               {false, SC_MINIMIZE, true},    {true, SC_SCREENSAVE, true},
               {true, SC_CLOSE, true}};
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountSystemCommands, nullptr, GetCurrentThreadId());
  TestWindow window;
  for (const auto& c : cases) {
    isWindowed = c.windowed;
    systemCommandsCarriedOut = 0;
    HostWindowProc(window.handle, WM_SYSCOMMAND, c.command, 0);
    EXPECT_EQ(systemCommandsCarriedOut, c.carriedOut ? 1 : 0)
        << std::hex << c.command << (c.windowed ? " windowed" : " full screen");
  }
  isWindowed = false;
  UnhookWindowsHookEx(hook);
}

TEST(WindowProcedures, OnceTheCloseIsGrantedInputPostsNoOtherClose) {
  TestWindow window;
  cursorOrigin = {-10000, -10000};  // any cursor position is a move far enough
  HostWindowProc(window.handle, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(window.TakeCloses(), 1) << "a key before the close";
  HostWindowProc(window.handle, WM_CLOSE, 0, 0);
  ASSERT_TRUE(closeGranted);
  EXPECT_EQ(window.TakeCloses(), 1) << "the close protocol's own second pass";
  for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                       WM_MOUSEMOVE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_NCACTIVATE}) {
    HostWindowProc(window.handle, message, 0, 0);
    EXPECT_EQ(window.TakeCloses(), 0) << "message " << std::hex << message;
  }
  closeGranted = false;
  cursorOrigin = {};
}

ScreenMetrics reportedMetrics = {};
ScreenMetrics ReportedMetrics() {
  return reportedMetrics;
}

// A desk of a 1280 x 720 primary and a monitor right of it, as the system lists them.
ScreenMetrics Desk(RECT secondary, int bitsPerPixel = 32, RECT virtualScreen = {0, 0, 2560, 720}) {
  ScreenMetrics desk = {virtualScreen, {1280, 720}, bitsPerPixel, 2};
  desk.monitors[0] = {0, 0, 1280, 720};
  desk.monitors[1] = secondary;
  return desk;
}

// The picture shown is the desktop as it was: a change of the monitors (count, places, sizes) or
// of the colour depth ends a full-screen saver as input does, and a display change that leaves
// them as they were ends nothing.
TEST(WindowProcedures, AChangeOfTheMonitorsEndsTheFullScreenSaverOnly) {
  const ScreenMetrics two = Desk({1280, 0, 2560, 600});
  ScreenMetrics one = Desk({}, 32, {0, 0, 1280, 720});
  one.monitorCount = 1;
  const struct {
    const char* change;
    ScreenMetrics now;
    bool windowed;
    int closes;
  } cases[] = {
      {"none", two, false, 0},
      {"a monitor unplugged", one, false, 1},
      {"a resolution changed", Desk({1024, 0, 2304, 600}, 32, {0, 0, 2304, 720}), false, 1},
      {"the other monitor moved, inside the same rectangle", Desk({1280, 120, 2560, 720}), false,
       1},
      {"the other monitor's resolution, inside the same rectangle", Desk({1280, 0, 2560, 480}),
       false, 1},
      {"the colour depth", Desk({1280, 0, 2560, 600}, 8), false, 1},
      {"a monitor unplugged, windowed", one, true, 0},
  };
  readScreenMetrics = ReportedMetrics;
  TestWindow window;
  for (const auto& c : cases) {
    isWindowed = c.windowed;
    screenMetrics = two;
    reportedMetrics = c.now;
    HostWindowProc(window.handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 720));
    EXPECT_EQ(window.TakeCloses(), c.closes) << c.change;
  }
  isWindowed = false;
  readScreenMetrics = ReadScreenMetrics;
}

// The password box's answer, and whether the display changes while it is open.
bool boxAnswersOk = false, displayChangesInBox = false;
LRESULT CALLBACK PasswordBoxWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
  if (displayChangesInBox) HostWindowProc(window, WM_DISPLAYCHANGE, 8, MAKELPARAM(1280, 720));
  return boxAnswersOk;
}
BOOL WINAPI NeverCalled(HWND) {
  return FALSE;
}

// A change of the display while the 9x password box is open asks to close once the box is gone,
// as a change outside the box does (with the password asked again); an answer of OK closes once.
TEST(WindowProcedures, AChangeWhileThePasswordBoxIsOpenIsNotForgotten) {
  const struct {
    const char* what;
    bool ok, change;
    int closes;
  } cases[] = {
      {"Cancel, no change", false, false, 0},
      {"Cancel after a change", false, true, 1},
      {"OK after a change", true, true, 1},
  };
  HWND window =
      win32_pieces::MakeWindow("LumoraPasswordBoxTest", PasswordBoxWindow, WS_POPUP, 0, 0, 10, 10);
  readScreenMetrics = ReportedMetrics;
  verifyPasswordFn = NeverCalled;  // a verifier is loaded; the window answers for it
  for (const auto& c : cases) {
    screenMetrics = Desk({1280, 0, 2560, 600});
    reportedMetrics = Desk({1280, 0, 2560, 600}, 8);
    boxAnswersOk = c.ok, displayChangesInBox = c.change, closeGranted = false;
    HostWindowProc(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closeGranted, c.ok) << c.what;
    MSG message;
    int closes = 0;
    while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++closes;
    EXPECT_EQ(closes, c.closes) << c.what;
  }
  verifyPasswordFn = nullptr;
  readScreenMetrics = ReadScreenMetrics;
  closeGranted = false;
  DestroyWindow(window);
}

}  // namespace
