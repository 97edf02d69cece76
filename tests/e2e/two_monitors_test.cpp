// The full-screen saver on a desk of two monitors, as the harness split its screen (given in
// LUMORA_MONITORS as WxH+X+Y,WxH+X+Y, the primary first): every monitor is dimmed alike, the
// clock roams the primary alone, input on the other monitor ends the saver, and surfaces that
// cannot cover both leave it to the primary.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clock_block.h"
#include "e2e/e2e_support.h"
#include "win32_pieces.h"

namespace {

// The desktop: one colour over the virtual screen and another in a corner of each monitor, so
// that a capture taken from the wrong place shows the corners where they are not. Both are
// colours of the system's own, which an 8-bit screen shows without dithering.
constexpr COLORREF kDesktop = RGB(255, 255, 255), kCorner = RGB(0, 128, 128);
constexpr int kCornerSize = 64;

ScreenImage Everything() {
  const RECT v = VirtualScreen();
  return CaptureScreenImage(v.left, v.top, v.right - v.left, v.bottom - v.top);
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
  reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
  return TRUE;
}

std::vector<RECT> SystemMonitors() {
  std::vector<RECT> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// The monitors given, in screen coordinates: the X screen's, moved so that the primary's corner
// is the origin.
std::vector<RECT> GivenMonitors() {
  std::vector<RECT> monitors;
  const char* text = std::getenv("LUMORA_MONITORS");
  for (int w, h, x, y, n; text && std::sscanf(text, "%dx%d+%d+%d%n", &w, &h, &x, &y, &n) == 4;) {
    monitors.push_back({x, y, x + w, y + h});
    text = text[n] == ',' ? text + n + 1 : nullptr;
  }
  const POINT primary = monitors.empty() ? POINT{0, 0} : POINT{monitors[0].left, monitors[0].top};
  for (RECT& m : monitors) OffsetRect(&m, -primary.x, -primary.y);
  return monitors;
}

// In the desktop window's client coordinates, which start at the virtual screen's corner.
void PaintDesktop(HDC dc) {
  RECT all = VirtualScreen();
  const POINT corner0 = {all.left, all.top};
  OffsetRect(&all, -corner0.x, -corner0.y);
  HBRUSH desktop = CreateSolidBrush(kDesktop), corner = CreateSolidBrush(kCorner);
  FillRect(dc, &all, desktop);
  for (const RECT& m : SystemMonitors()) {
    const RECT square = {m.left - corner0.x, m.top - corner0.y, m.left - corner0.x + kCornerSize,
                         m.top - corner0.y + kCornerSize};
    FillRect(dc, &square, corner);
  }
  DeleteObject(corner);
  DeleteObject(desktop);
}

bool InCorner(const RECT& monitor, int x, int y) {
  return x < monitor.left + kCornerSize && y < monitor.top + kCornerSize;
}

// Where a monitor differs from the dimmed desktop: how many pixels (every second one of every
// second row), the box around them and the first. At 8 bits a colour is expected as the screen
// shows it, at the first pixel seen of its kind (desktop or corner), the same on every monitor.
struct Difference {
  int count = 0;
  RECT box = {0, 0, 0, 0};
  std::string first;
};
Difference Compare(const ScreenImage& shot, const RECT& monitor, COLORREF expected[2]) {
  Difference d;
  for (int y = monitor.top; y < monitor.bottom; y += 2) {
    for (int x = monitor.left; x < monitor.right; x += 2) {
      COLORREF& want = expected[InCorner(monitor, x, y)];
      const COLORREF seen = shot.At(x, y);
      if (want == CLR_INVALID) want = seen;
      if (seen == want) continue;
      const RECT pixel = {x, y, x + 1, y + 1};
      UnionRect(&d.box, &d.box, &pixel);
      if (d.count++ == 0) {
        char text[80];
        std::snprintf(text, sizeof(text), "(%d, %d) is %06lx, not %06lx", x, y, seen, want);
        d.first = text;
      }
    }
  }
  return d;
}

// Whether a box lies within the block's size, up to the one step the block may stand past an
// edge before turning, and within the primary.
bool FitsTheBlockOnThePrimary(const RECT& box, const RECT& primary) {
  RECT inside;
  return box.right - box.left <= block::kWidth + 2 && box.bottom - box.top <= block::kHeight + 2 &&
         IntersectRect(&inside, &box, &primary) && EqualRect(&inside, &box);
}

class TwoMonitors : public testing::Test {
 protected:
  void SetUp() override {
    given_ = GivenMonitors();
    if (given_.empty()) GTEST_SKIP() << "a one-monitor display (LUMORA_MONITORS is not set)";
    const std::vector<RECT> reported = SystemMonitors();
    ASSERT_EQ(reported.size(), given_.size()) << "Wine does not report the monitors it was given";
    for (size_t i = 0; i < given_.size(); ++i) {
      EXPECT_TRUE(EqualRect(&reported[i], &given_[i]))
          << "monitor " << i << " is reported at " << reported[i].left << "," << reported[i].top
          << "-" << reported[i].right << "," << reported[i].bottom;
    }
    ASSERT_FALSE(HasFailure());
    HDC screen = GetDC(nullptr);
    eightBit_ = GetDeviceCaps(screen, BITSPIXEL) == 8;
    ReleaseDC(nullptr, screen);
    // The depth the desk was given (LUMORA_DEPTH), as 8 bits or more: an 8-bit desk that came
    // up at 24 would otherwise pass as one of 24 and leave the palette unjudged.
    const char* given = std::getenv("LUMORA_DEPTH");
    ASSERT_TRUE(given != nullptr) << "LUMORA_DEPTH is not set";
    ASSERT_EQ(eightBit_, std::atoi(given) == 8)
        << "the desk was given " << given << " bits per pixel, the system reports "
        << (eightBit_ ? "8" : "more");
    const RECT v = VirtualScreen();
    desktop_ = win32_pieces::MakeWindow(
        "LumoraTwoMonitorDesktop", win32_pieces::PaintingProc<PaintDesktop>, WS_POPUP | WS_VISIBLE,
        v.left, v.top, v.right - v.left, v.bottom - v.top);
    ASSERT_NO_FATAL_FAILURE(WaitForTheDesktop());
    PlaceCursor(given_[0].left + 300, given_[0].top + 300);
    // Brightness 4: every byte halved, truncated; at 8 bits as the screen shows it.
    expected_[0] = eightBit_ ? CLR_INVALID : ScaledColour(kDesktop, 16);
    expected_[1] = eightBit_ ? CLR_INVALID : ScaledColour(kCorner, 16);
  }

  void WaitForTheDesktop() {
    ASSERT_TRUE(WaitUntil([&] {
      const ScreenImage shot = Everything();
      for (const RECT& monitor : given_) {
        COLORREF undimmed[2] = {kDesktop, kCorner};
        if (Compare(shot, monitor, undimmed).count > 0) return false;
      }
      return true;
    })) << "the desktop did not show on both monitors";
  }

  // Starts a saver with the given environment fault (none: the saver itself) and waits for its
  // window and then for the block on the dimmed primary, once the dim is over, with the other
  // monitor dimmed, or left as it was.
  void StartAndWaitForTheBlock(const char* fault = nullptr, bool otherDimmed = true) {
    // The copy takes faults only where it is asked for a report too.
    char report[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, report);
    SetEnvironmentVariableA("LUMORA_FAULT", fault);
    SetEnvironmentVariableA("LUMORA_FAULT_REPORT",
                            (std::string(report) + "lumora_two.txt").c_str());
    const bool started =
        fault ? saver_.StartProgram(WindowsPath(LUMORA_FAULTS_SCR_PATH), "/s") : saver_.Start("/s");
    SetEnvironmentVariableA("LUMORA_FAULT", nullptr);
    SetEnvironmentVariableA("LUMORA_FAULT_REPORT", nullptr);
    ASSERT_TRUE(started);
    ASSERT_NE(window_ = saver_.FindSaverWindow(), nullptr);
    Difference onOther, onPrimary;
    ASSERT_TRUE(WaitUntil([&] {
      COLORREF dimmed[2] = {expected_[0], expected_[1]};
      COLORREF undimmed[2] = {kDesktop, kCorner};
      const ScreenImage shot = Everything();
      onOther = Compare(shot, given_[1], otherDimmed ? dimmed : undimmed);
      onPrimary = Compare(shot, given_[0], dimmed);
      return onOther.count == 0 && onPrimary.count > 0 &&
             FitsTheBlockOnThePrimary(onPrimary.box, given_[0]);
    })) << "no block on the dimmed primary beside the other monitor; last seen there: "
        << onPrimary.first << "; " << onOther.first;
  }
  void TearDown() override {
    if (desktop_ != nullptr) DestroyWindow(desktop_);
  }

  BrightnessSetting setting_{4};
  std::vector<RECT> given_;
  bool eightBit_ = false;
  HWND desktop_ = nullptr, window_ = nullptr;
  COLORREF expected_[2] = {};
  SaverProcess saver_;
};

TEST_F(TwoMonitors, BothAreDimmedAlikeTheClockRoamsThePrimaryAloneAndInputOnTheOtherEndsIt) {
  StartAndWaitForTheBlock();
  RECT window = {};
  const RECT screen = VirtualScreen();
  GetWindowRect(window_, &window);
  EXPECT_TRUE(EqualRect(&window, &screen)) << "the saver window does not cover both monitors";
  const RECT &primary = given_[0], &other = given_[1];
  int shots = 0, clocks = 0;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 4000; ++shots) {
    const ScreenImage shot = Everything();
    const Difference onOther = Compare(shot, other, expected_);
    ASSERT_EQ(onOther.count, 0) << "the other monitor is not the dimmed desktop, first "
                                << onOther.first;
    const Difference onPrimary = Compare(shot, primary, expected_);
    ASSERT_TRUE(FitsTheBlockOnThePrimary(onPrimary.box, primary))
        << "the primary is not the dimmed desktop around a block, first " << onPrimary.first;
    const ClockReading clock = ReadClock(shot, SaverClockPictures());
    clocks += clock.found;
    // Up to the one step it may stand past an edge before turning: the other monitor shows none.
    const RECT read = {clock.blockX + 2, clock.blockY + 2, clock.blockX + block::kWidth - 2,
                       clock.blockY + block::kHeight - 2};
    EXPECT_TRUE(!clock.found || FitsTheBlockOnThePrimary(read, primary))
        << "the block stands at " << clock.blockX << "," << clock.blockY << ", off the primary";
  }
  EXPECT_NE(expected_[0], kDesktop) << "the desktop was not dimmed";
  EXPECT_NE(expected_[0], expected_[1]) << "the corners and the rest look alike";
  // At 8 bits the screen shows too few colours for the clock reader.
  EXPECT_GE(clocks, eightBit_ ? 0 : shots / 2)
      << "the clock was read in " << clocks << " of " << shots;
  std::printf("[ figures ] %d pictures of both monitors, the clock read in %d\n", shots, clocks);
  SaveBmp(Everything(),
          ShotsFolder() + (eightBit_ ? "\\two_monitors_8.bmp" : "\\two_monitors.bmp"));
  // A display change that leaves the monitors as they were ends nothing; a move onto the other
  // monitor ends the saver, wherever its coordinates lie.
  PostMessageA(window_, WM_DISPLAYCHANGE, eightBit_ ? 8 : 24,
               MAKELPARAM(primary.right, primary.bottom));
  EXPECT_TRUE(Settle(window_) && saver_.Running()) << "the display change ended the saver";
  DWORD exit = kNoExit;
  // The display may keep its pointer (see SendCursorTo): the move goes again until it is seen.
  WaitUntil([&] {
    SendCursorTo({other.left + 100, other.top + 100});
    return (exit = saver_.WaitExit(500)) != kNoExit;
  });
  EXPECT_EQ(exit, 0u) << "a move onto the other monitor did not end the saver with 0";
}

// Surfaces or opening images too large to be made for both: the saver runs over the primary
// alone, as on a desk of one monitor, dims it rather than showing the clock over black, and
// leaves the other as it was.
TEST_F(TwoMonitors, WhereTheSurfacesCannotCoverBothTheSaverRunsOnThePrimaryAlone) {
  for (const char* fault :
       {"CreateCompatibleBitmap:2", "CreateDIBSection:1", "CreateDIBSection:2"}) {
    SCOPED_TRACE(fault);
    ASSERT_NO_FATAL_FAILURE(WaitForTheDesktop());
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForTheBlock(fault, false));
    RECT window = {};
    GetWindowRect(window_, &window);
    EXPECT_TRUE(EqualRect(&window, &given_[0])) << "the saver window is not the primary's";
    ClickAtPoint({given_[0].left + 200, given_[0].top + 200});
    EXPECT_EQ(saver_.WaitExit(), 0u) << "a click did not end the saver";
  }
}

}  // namespace
