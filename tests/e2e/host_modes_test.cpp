// The saver's run modes and the rules that end it, on the real executable.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "win32_pieces.h"

namespace {

constexpr DWORD kQuick = 3000;
constexpr POINT kOrigin = {500, 400};  // where each case puts the cursor before the saver starts

// A host window of the driver's own, standing in for the display settings' monitor picture.
struct PreviewHost {
  HWND window = nullptr;
  inline static WPARAM contextMenuWParam = 0;
  inline static int contextMenus = 0;

  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CONTEXTMENU) {
      contextMenuWParam = wp;
      ++contextMenus;
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }

  explicit PreviewHost(int width, int height)
      : window(win32_pieces::MakeWindow("LumoraPreviewHost", Proc, WS_POPUP | WS_VISIBLE, 100, 100,
                                        width, height, nullptr, "host")) {}
  ~PreviewHost() { DestroyWindow(window); }
  std::string Switch() const { return "/p " + std::to_string(HandleToULong(window)); }
};

// Starts the saver with the given switch and waits for its window (a child of the preview host
// for "/p") and its message loop, which runs once the cursor's origin is taken.
HWND StartSaver(SaverProcess& saver, const std::string& arguments, HWND host = nullptr) {
  if (!saver.Start(arguments)) return nullptr;
  HWND window = saver.FindSaverWindow(10000, arguments.rfind("/p", 0) == 0 ? host : nullptr);
  if (window != nullptr) Settle(window);
  return window;
}

// Whether the saver, once it has handled all it was given, still runs and shows its window.
bool StillRuns(SaverProcess& saver, HWND window) {
  return Settle(window) && WaitUntil([&] { return IsWindowVisible(window); }) && saver.Running();
}
// WM_CLOSE ends every mode with exit value 0: through the close protocol in full screen.
void ExpectACloseEnds(SaverProcess& saver, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

// Whether the cursor shows, as the system reports it while the given window has the foreground.
bool CursorShowsOver(HWND window) {
  EXPECT_TRUE(BringToFront(window)) << "the foreground window is " << GetForegroundWindow();
  CURSORINFO info = {};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

TEST(Modes, MakeTheirOwnWindowAndOnlyFullScreenHidesTheCursorAndEndsOnInput) {
  PreviewHost host(152, 112);
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const struct {
    std::string arguments;
    DWORD style, absentStyle, exStyle;
    RECT client;
    bool fullScreen;
  } cases[] = {
      {"/s", WS_POPUP, WS_CAPTION, WS_EX_TOPMOST, screen, true},
      {"/w", WS_CAPTION | WS_THICKFRAME, 0, 0, {}, false},
      {host.Switch(), WS_CHILD, WS_CAPTION, 0, {0, 0, 152, 112}, false},
  };
  for (const auto& c : cases) {
    PlaceCursor(kOrigin.x, kOrigin.y);
    SaverProcess saver;
    HWND window = StartSaver(saver, c.arguments, host.window);
    ASSERT_NE(window, nullptr) << c.arguments;
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (c.style | c.absentStyle), c.style);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, c.exStyle) << c.arguments;
    RECT rect = {};
    GetClientRect(window, &rect);
    EXPECT_TRUE(IsRectEmpty(&c.client) || EqualRect(&rect, &c.client)) << c.arguments;
    EXPECT_TRUE(StillRuns(saver, window)) << c.arguments;
    char title[32] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Screen Saver") << c.arguments;
    EXPECT_NE(CursorShowsOver(window), c.fullScreen) << c.arguments << ", just started";
    SendCursorTo({kOrigin.x + 3, kOrigin.y + 3});  // below the movement threshold
    Settle(window);
    EXPECT_NE(CursorShowsOver(window), c.fullScreen) << c.arguments << ", later";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
    if (c.fullScreen) {
      EXPECT_EQ(saver.WaitExit(), 0u) << c.arguments << ", after input";
      continue;
    }
    EXPECT_TRUE(StillRuns(saver, window)) << c.arguments << ", after input";
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the caption's close command
    EXPECT_EQ(saver.WaitExit(), 0u) << c.arguments;
  }
}

POINT cursorAt = kOrigin;  // where the moves have taken the cursor

// A move from where the last one left the cursor, handled by the saver before the next.
void Move(HWND saver, int dx, int dy) {
  cursorAt = {cursorAt.x + dx, cursorAt.y + dy};
  SendCursorTo(cursorAt);
  Settle(saver);
}

// A window of the driver's own over the whole screen takes the activation and the mouse, so that
// the saver sees no mouse move when the cursor is then taken far from where it stood; the saver
// gets the given message after that. The display may keep its pointer while that window holds
// it (see SendCursorTo): the move and the message go again until the saver has read it in time.
HWND cover = nullptr;
void TakeActivation(HWND saver, UINT message, WPARAM wParam, bool thenMoveFar) {
  cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                          nullptr, nullptr, nullptr);
  SetForegroundWindow(cover);
  SetCapture(cover);
  EXPECT_TRUE(WaitUntil([] { return GetForegroundWindow() == cover && GetCapture() == cover; }))
      << "the foreground window is " << GetForegroundWindow() << ", the capture " << GetCapture();
  Settle(saver);  // its loss of activation, with the cursor still in place
  WaitUntil([&] {
    if (thenMoveFar) SendCursorTo({kOrigin.x + 150, kOrigin.y + 50});
    PostMessageA(saver, message, wParam, 0);
    return !thenMoveFar || !Settle(saver);  // once, or until the close has destroyed the window
  });
}

// Keys, clicks, moves of 10 pixels city-block from where the cursor stood (in any number of
// steps) and loss of activation after such a move end the saver; nothing else does.
TEST(FullScreen, EndsWithExitValueZeroOnItsRulesOnly) {
  const struct {
    const char* name;
    void (*input)(HWND saver);
    bool ends;
  } cases[] = {
      {"key", [](HWND) { SendKey('A'); }, true},
      {"click", [](HWND) { SendClick(); }, true},
      {"move of 9", [](HWND w) { Move(w, 5, 0), Move(w, 0, 4); }, false},
      {"move of 10", [](HWND w) { Move(w, 5, 0), Move(w, 0, 5); }, true},
      {"deactivated", [](HWND w) { TakeActivation(w, WM_ACTIVATE, WA_INACTIVE, false); }, false},
      {"deactivated, far", [](HWND w) { TakeActivation(w, WM_ACTIVATE, WA_INACTIVE, true); }, true},
      {"key up", [](HWND w) { PostMessageA(w, WM_KEYUP, VK_SPACE, 0); }, false},
      {"small steps", [](HWND w) { Move(w, 3, 0), Move(w, 3, 0), Move(w, 3, 0), Move(w, 1, 0); },
       true},
      {"steps back", [](HWND w) { Move(w, -2, -2), Move(w, -2, -2), Move(w, -1, 0); }, false},
      {"app deactivated", [](HWND w) { TakeActivation(w, WM_ACTIVATEAPP, FALSE, false); }, false},
      {"app deactivated, far", [](HWND w) { TakeActivation(w, WM_ACTIVATEAPP, FALSE, true); },
       true},
      {"frame deactivated", [](HWND w) { TakeActivation(w, WM_NCACTIVATE, FALSE, false); }, false},
      {"frame deactivated, far", [](HWND w) { TakeActivation(w, WM_NCACTIVATE, FALSE, true); },
       true},
      {"activated", [](HWND w) { PostMessageA(w, WM_ACTIVATE, WA_ACTIVE, 0); }, false},
      {"frame activated", [](HWND w) { PostMessageA(w, WM_NCACTIVATE, TRUE, 0); }, false},
      {"system key up", [](HWND w) { PostMessageA(w, WM_SYSKEYUP, VK_MENU, 0); }, false},
      {"character", [](HWND w) { PostMessageA(w, WM_CHAR, 'a', 0); }, false},
      {"left up", [](HWND w) { PostMessageA(w, WM_LBUTTONUP, 0, 0); }, false},
      {"right up", [](HWND w) { PostMessageA(w, WM_RBUTTONUP, 0, 0); }, false},
      {"middle up", [](HWND w) { PostMessageA(w, WM_MBUTTONUP, 0, 0); }, false},
      {"wheel", [](HWND w) { PostMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); },
       false},
  };
  for (const auto& c : Sample(cases, 7)) {
    PlaceCursor(kOrigin.x, kOrigin.y);
    cursorAt = kOrigin;
    SaverProcess saver;
    HWND window = StartSaver(saver, "/s");
    ASSERT_NE(window, nullptr) << c.name << (saver.Running() ? ": no window shown" : ": ended");
    ASSERT_TRUE(BringToFront(window))
        << c.name << ": the foreground window is " << GetForegroundWindow() << ", not the saver's";
    c.input(window);
    if (c.ends) {
      EXPECT_EQ(saver.WaitExit(), 0u) << c.name;
    } else {
      EXPECT_TRUE(StillRuns(saver, window)) << c.name << " ended the saver";
    }
    if (cover != nullptr) DestroyWindow(cover);  // with it goes the capture
    cover = nullptr;
    if (saver.Running()) ExpectACloseEnds(saver, window);
  }
}

// One full-screen or windowed saver at a time; a preview neither is refused nor refuses one.
TEST(Modes, ASecondFullScreenOrWindowedSaverEndsAtOnceWhileTheFirstRuns) {
  PreviewHost host(80, 60);
  const struct {
    std::string first, second;
    bool refused;
  } cases[] = {{"/s", "/s", true}, {"/s", host.Switch(), false}, {"/s", "/w", true},
               {"/w", "/s", true}, {"/w", "/w", true},           {host.Switch(), "/s", false}};
  for (const auto& c : Sample(cases, 2)) {
    const std::string label = c.first + " then " + c.second;
    SaverProcess first, second;
    HWND window = StartSaver(first, c.first, host.window);
    ASSERT_NE(window, nullptr) << label;
    if (c.refused) {
      ASSERT_TRUE(second.Start(c.second)) << label;
      EXPECT_EQ(second.WaitExit(kQuick), 0u) << label;
    } else {
      HWND other = StartSaver(second, c.second, host.window);
      EXPECT_NE(other, nullptr) << label;
      if (other != nullptr) ExpectACloseEnds(second, other);
    }
    EXPECT_TRUE(first.Running()) << label;
    ExpectACloseEnds(first, window);
  }
}

// The default handling of SC_SCREENSAVE shows nothing here; that it never gets the command is
// checked in the window procedures' own tests.
TEST(FullScreen, SystemCommandsAndPowerBroadcastsAreRefused) {
  SaverProcess saver;
  HWND window = StartSaver(saver, "/s");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), 0x424D5144);
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  EXPECT_TRUE(StillRuns(saver, window)) << "a system command ended the full-screen saver";
  ExpectACloseEnds(saver, window);
}

TEST(Preview, IsAChildOfTheHostAndForwardsTheContextMenu) {
  PreviewHost host(152, 112);
  ASSERT_NE(host.window, nullptr);
  SaverProcess saver;
  HWND child = StartSaver(saver, host.Switch(), host.window);
  ASSERT_NE(child, nullptr) << "no preview window inside the host";
  EXPECT_EQ(GetParent(child), host.window);

  // A right click reaches the host as a context menu (made from the release), as does one sent.
  PreviewHost::contextMenus = 0;
  SendMessageA(child, WM_RBUTTONDOWN, 0, 0);
  SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(SendMessageA(child, WM_CONTEXTMENU, 0, MAKELPARAM(5, 5)), 1);
  PumpFor(0);  // both were posted here before the last send returned
  EXPECT_EQ(PreviewHost::contextMenus, 2) << "expected one WM_CONTEXTMENU from each";
  EXPECT_EQ(PreviewHost::contextMenuWParam, reinterpret_cast<WPARAM>(host.window));

  // The host destroying its window, and so the child, ends a preview.
  DestroyWindow(host.window);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST(CommandLine, UnknownSwitchesAndAPreviewWithoutHostEndAtOnceWithZero) {
  const char* const cases[] = {"/x", "/p 4", "/a", "/1", "/\ts", "/p:1234"};
  for (const char* arguments : Sample(cases, 3)) {
    SaverProcess saver;
    ASSERT_TRUE(saver.Start(arguments)) << arguments;
    EXPECT_EQ(saver.WaitExit(kQuick), 0u) << arguments;
  }
}

}  // namespace
