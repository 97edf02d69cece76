// The saver's run modes and the rules that end it, on the real executable.
#include <gtest/gtest.h>

#include "e2e/driver.h"

namespace {

constexpr DWORD kQuick = 3000;

// Starts the full-screen saver and waits for its window and first paints.
HWND StartFullScreen(SaverProcess& saver) {
  if (!saver.Start("/s")) return nullptr;
  HWND window = saver.FindSaverWindow();
  PumpFor(500);
  return window;
}

TEST(FullScreen, ShowsATopmostPopupOverTheWholeScreen) {
  SaverProcess saver;
  HWND window = StartFullScreen(saver);
  ASSERT_NE(window, nullptr) << "no saver window appeared";
  RECT rect = {};
  GetWindowRect(window, &rect);
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_TRUE(EqualRect(&rect, &screen))
      << rect.left << ", " << rect.top << " to " << rect.right << ", " << rect.bottom;
  EXPECT_TRUE(IsWindowVisible(window));
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  char title[32] = {};
  GetWindowTextA(window, title, sizeof(title));
  EXPECT_STREQ(title, "Screen Saver");
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST(FullScreen, EndsWithExitValueZeroOnAKeyAndOnAClick) {
  struct {
    const char* name;
    void (*input)();
  } cases[] = {{"key", [] { SendKey('A'); }}, {"click", SendClick}};
  for (const auto& c : cases) {
    SaverProcess saver;
    HWND window = StartFullScreen(saver);
    ASSERT_NE(window, nullptr) << c.name;
    SetForegroundWindow(window);
    PumpFor(100);
    c.input();
    EXPECT_EQ(saver.WaitExit(), 0u) << "after a " << c.name;
  }
}

TEST(FullScreen, EndsOnceTheCursorHasMovedTenPixelsCityBlock) {
  struct {
    int steps[4][2];
    bool ends;
  } cases[] = {
      {{{5, 0}, {0, 4}, {0, 0}, {0, 0}}, false},  // 9 pixels
      {{{5, 0}, {0, 5}, {0, 0}, {0, 0}}, true},   // 10 pixels
      {{{3, 0}, {3, 0}, {3, 0}, {1, 0}}, true},   // small steps add up from the origin
      {{{-2, -2}, {-2, -2}, {-1, 0}, {0, 0}}, false},
  };
  for (const auto& c : cases) {
    SetCursorPos(500, 400);
    SaverProcess saver;
    HWND window = StartFullScreen(saver);
    ASSERT_NE(window, nullptr);
    for (const auto& step : c.steps) {
      if (step[0] == 0 && step[1] == 0) continue;
      MoveCursorBy(step[0], step[1]);
      PumpFor(150);
    }
    if (c.ends) {
      EXPECT_EQ(saver.WaitExit(), 0u) << "first step " << c.steps[0][0] << "," << c.steps[0][1];
    } else {
      EXPECT_EQ(saver.WaitExit(1000), kNoExit) << "ended after a move below 10 pixels";
      PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
      EXPECT_EQ(saver.WaitExit(), 0u);
    }
  }
}

TEST(FullScreen, ASecondInstanceEndsAtOnceWhileTheFirstRuns) {
  SaverProcess first;
  HWND window = StartFullScreen(first);
  ASSERT_NE(window, nullptr);
  SaverProcess second;
  ASSERT_TRUE(second.Start("/s"));
  EXPECT_EQ(second.WaitExit(kQuick), 0u);
  EXPECT_TRUE(first.Running());
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(first.WaitExit(), 0u);
}

TEST(FullScreen, SystemCommandsAndPowerBroadcastsAreRefused) {
  SaverProcess saver;
  HWND window = StartFullScreen(saver);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), 0x424D5144);
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  PumpFor(300);
  EXPECT_TRUE(saver.Running()) << "a system command ended the full-screen saver";
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST(Windowed, OpensAFramedWindowThatItsCloseCommandEnds) {
  SaverProcess saver;
  ASSERT_TRUE(saver.Start("/w"));
  HWND window = saver.FindSaverWindow();
  ASSERT_NE(window, nullptr);
  PumpFor(300);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(saver.WaitExit(800), kNoExit) << "input ended the windowed saver";
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

// A host window of the driver's own, standing in for the display settings' monitor picture.
struct PreviewHost {
  HWND window = nullptr;
  static WPARAM contextMenuWParam;
  static int contextMenus;

  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CONTEXTMENU) {
      contextMenuWParam = wp;
      ++contextMenus;
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }

  explicit PreviewHost(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LumoraPreviewHost";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "LumoraPreviewHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, width,
                             height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~PreviewHost() { DestroyWindow(window); }
};
WPARAM PreviewHost::contextMenuWParam = 0;
int PreviewHost::contextMenus = 0;

TEST(Preview, MakesAChildOfTheHostsClientSizeAndForwardsTheContextMenu) {
  PreviewHost host(152, 112);
  ASSERT_NE(host.window, nullptr);
  SaverProcess saver;
  ASSERT_TRUE(saver.Start("/p " + std::to_string(HandleToULong(host.window))));
  HWND child = saver.FindSaverWindow(10000, host.window);
  ASSERT_NE(child, nullptr) << "no preview window inside the host";
  EXPECT_EQ(GetParent(child), host.window);
  EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
  RECT rect = {};
  GetClientRect(child, &rect);
  EXPECT_EQ(std::make_pair(rect.right, rect.bottom), std::make_pair(152L, 112L));

  // A right click reaches the host as a context menu (made from the release), as does one sent.
  PreviewHost::contextMenus = 0;
  SendMessageA(child, WM_RBUTTONDOWN, 0, 0);
  SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(SendMessageA(child, WM_CONTEXTMENU, 0, MAKELPARAM(5, 5)), 1);
  PumpFor(300);
  EXPECT_EQ(PreviewHost::contextMenus, 2) << "expected one WM_CONTEXTMENU from each";
  EXPECT_EQ(PreviewHost::contextMenuWParam, reinterpret_cast<WPARAM>(host.window));

  // Input does not end a preview; the host destroying its window, and so the child, does.
  PostMessageA(child, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(saver.WaitExit(500), kNoExit);
  DestroyWindow(host.window);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST(CommandLine, UnknownSwitchesAndAPreviewWithoutHostEndAtOnceWithZero) {
  for (const char* arguments : {"/x", "/1", "/\ts", "/p:1234", "/p 4", "/a"}) {
    SaverProcess saver;
    ASSERT_TRUE(saver.Start(arguments)) << arguments;
    EXPECT_EQ(saver.WaitExit(kQuick), 0u) << arguments;
  }
}

}  // namespace
