// The stage's opening on real GDI: a visible window with a known picture stands in for the
// desktop, the saver window is painted into memory DCs, and the frame steps are driven by hand.
// Covers the dim levels shown, the background it leaves, the hand-over to the scene, failing
// image creation and repeated shutdowns.
#include "stage/stage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "scene/clock_scene.h"
#include "settings/settings_store.h"
#include "sprites/test_surface.h"
#include "stage/frame_clock.h"
#include "stage/stage_state.h"
#include "win32_pieces.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr uint32_t kMarker = 0x3C5A7E;

uint32_t DesktopColour(int x, int y) {
  return uint32_t(((x * 3) & 0xFF) << 16 | (y & 0xFF) << 8 | ((x + y) * 5 & 0xFF));
}

void DrawDesktopPicture(HDC dc) {
  TestSurface picture(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture.bits[y * kWidth + x] = DesktopColour(x, y);
  }
  BitBlt(dc, 0, 0, kWidth, kHeight, picture.dc, 0, 0, SRCCOPY);
}

uint32_t Dimmed(uint32_t colour, int level) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= ((colour >> shift & 0xFF) * level / 32) << shift;
  return out;
}

// Empty when every pixel of the surface is the desktop at the level, or else the first that is
// not. Filled is the same for one colour everywhere.
std::string Shows(const TestSurface& surface, int level) {
  TestSurface expected(surface.width, surface.height);
  for (int y = 0; y < surface.height; ++y) {
    for (int x = 0; x < surface.width; ++x)
      expected.bits[y * surface.width + x] = Dimmed(DesktopColour(x, y), level);
  }
  return FirstDifference(surface, expected);
}
std::string Filled(const TestSurface& surface, uint32_t colour) {
  return OnlyRectsCopied(surface, surface, colour, {});
}

// Image creation that fails in the ways a system short of memory can.
int dibCalls = 0;
int failFromCall = 0;
bool withoutPixels = false;
HBITMAP WINAPI FailingDibSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                 HANDLE section, DWORD offset) {
  ++dibCalls;
  HBITMAP made = CreateDIBSection(dc, info, usage, bits, section, offset);
  if (dibCalls < failFromCall) return made;
  if (withoutPixels) {
    *bits = nullptr;
    return made;
  }
  if (made != nullptr) DeleteObject(made);
  *bits = nullptr;
  return nullptr;
}

class StageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandle(nullptr);
    isPreview = false;
    isWindowed = true;
    desktop = win32_pieces::MakeWindow("LumoraStageTestDesktop",
                                       win32_pieces::PaintingProc<DrawDesktopPicture>,
                                       WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight);
    ASSERT_NE(desktop, nullptr);
    UpdateWindow(desktop);
    saver = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                            moduleInstance, nullptr);
    ASSERT_NE(saver, nullptr);
    parentWindow = desktop;
    saverWindow = saver;
    Stage::stage = Stage::State{};
    ASSERT_EQ(Stage::Start(desktop), 1);
    ASSERT_EQ(Stage::OnCreate(saver), 1);
    ASSERT_TRUE(paint.Valid() && background.Valid());
  }
  void TearDown() override {
    Stage::Shutdown(saver);
    Stage::Shutdown(nullptr);
    Stage::createDibSection = CreateDIBSection;
    Stage::stage = Stage::State{};
    Brightness = kDefaultBrightness;
    DestroyWindow(saver);
    DestroyWindow(desktop);
  }

  ClockScene& Scene() { return *static_cast<ClockScene*>(Stage::stage.scene); }
  void Erase() {
    paint.Fill(kMarker);
    Stage::OnEraseBackground(saver, paint.dc);
  }
  void StepAndPaint() {
    FrameClock::clock.pendingFrames = 1;
    Stage::StepFrame();
    Stage::OnPaint(saver, paint.dc);
  }
  // A copy of the stage's background surface as it is now.
  const TestSurface& Background() {
    BitBlt(background.dc, 0, 0, kWidth, kHeight, Stage::stage.background.dc, 0, 0, SRCCOPY);
    return background;
  }

  HWND desktop = nullptr, saver = nullptr;
  TestSurface paint{kWidth, kHeight}, background{kWidth, kHeight};
};

TEST_F(StageTest, SurfacesHaveTheHostsSizeAndTheSceneIsRunning) {
  EXPECT_EQ(Stage::stage.logicalRect.right, kWidth);
  EXPECT_EQ(Stage::stage.logicalRect.bottom, kHeight);
  EXPECT_EQ(Stage::stage.paintRect.right, kWidth);
  EXPECT_EQ(Stage::stage.paintRect.bottom, kHeight);
  // The frame surface holds what is composed in it, the clock block, and no more.
  const struct {
    Stage::Surface* surface;
    SIZE size;
  } surfaces[] = {{&Stage::stage.frame, {kBlockWidth, kBlockHeight}},
                  {&Stage::stage.background, {kWidth, kHeight}}};
  for (const auto& s : surfaces) {
    BITMAP info = {};
    ASSERT_NE(s.surface->dc, nullptr);
    ASSERT_EQ(GetObjectA(GetCurrentObject(s.surface->dc, OBJ_BITMAP), sizeof info, &info),
              int(sizeof info));
    EXPECT_EQ(info.bmWidth, s.size.cx);
    EXPECT_EQ(info.bmHeight, s.size.cy);
  }
  EXPECT_EQ(Stage::stage.preview.dc, nullptr) << "only the preview has a preview surface";
  ASSERT_TRUE(Stage::HasScene());
  EXPECT_EQ(Scene().IsActive(), 1);
}

// The opening shows the desktop at 32/32, 31/32, ... down to the target, one level per frame
// step, and leaves the background at the target; the next step hands over to the scene. Each
// dimmed picture is made in bands: the whole height in one, bands of 7 rows that leave 4 for the
// last, and single rows.
TEST_F(StageTest, OpeningDimsOneLevelPerStepToTheChosenBrightness) {
  const size_t row = Stage::ImageWords(kWidth, 1) * 4;
  const struct {
    int brightness;
    size_t bandBytes;
  } cases[] = {{8, size_t(1) << 20}, {4, 7 * row + 5}, {0, 1}};
  const size_t kept = Stage::bandBytes;
  for (const auto& c : cases) {
    TearDown();  // each case needs a fresh stage, its band made at the start
    Stage::bandBytes = c.bandBytes;
    SetUp();
    Stage::bandBytes = kept;
    const int brightness = c.brightness;
    Brightness = brightness;
    const int target = 4 * brightness;
    Erase();
    EXPECT_EQ(Shows(Background(), target), "") << "brightness " << brightness;
    EXPECT_EQ(Shows(paint, 32), "") << "the erase shows the desktop as captured";
    int shown = 0;
    for (int level = 32; level >= target; --level, ++shown) {
      StepAndPaint();
      ASSERT_EQ(Shows(paint, level), "") << "brightness " << brightness << ", level " << level;
    }
    EXPECT_EQ(shown, 33 - target);
    ASSERT_NE(Stage::stage.capture.bitmap, nullptr) << "the opening ends at the next step";

    const double x = Scene().anchor->x, y = Scene().anchor->y;
    paint.Fill(kMarker);
    StepAndPaint();
    EXPECT_EQ(Stage::stage.capture.bitmap, nullptr) << "brightness " << brightness;
    EXPECT_EQ(Stage::stage.dim.bitmap, nullptr);
    EXPECT_TRUE(Scene().anchor->x != x || Scene().anchor->y != y) << "the scene did not advance";
    EXPECT_EQ(Filled(paint, kMarker), "") << "the first scene paint presents nothing";
    EXPECT_EQ(Shows(Background(), target), "") << "the background stays for the whole run";
  }
}

// An erase during the opening neither draws nor captures again, though the desktop has changed.
TEST_F(StageTest, LaterErasesCaptureAndDrawNothing) {
  Brightness = 4;
  Erase();
  StepAndPaint();  // level 32
  HDC screen = GetDC(desktop);
  PatBlt(screen, 0, 0, kWidth, kHeight, BLACKNESS);
  ReleaseDC(desktop, screen);
  Erase();
  EXPECT_EQ(Filled(paint, kMarker), "") << "a later erase draws nothing";
  StepAndPaint();
  EXPECT_EQ(Shows(paint, 31), "") << "the opening goes on from where it was";
}

// Without memory for the opening images the saver still runs: no dim, a black background, and
// a black screen under the clock rather than the undimmed desktop with black trails.
TEST_F(StageTest, FailedImageCreationGivesABlackOpeningAndTheClockKeepsRunning) {
  struct {
    const char* what;
    int failFrom;
    bool noPixels;
  } cases[] = {
      {"both images fail", 1, false},
      {"the dim image fails", 2, false},
      {"no pixel pointers", 1, true},
  };
  for (const auto& c : cases) {
    TearDown();  // the desktop is captured as the window is made: the stage is made again
    dibCalls = 0;
    failFromCall = c.failFrom;
    withoutPixels = c.noPixels;
    Stage::createDibSection = FailingDibSection;
    SetUp();
    Brightness = 4;
    Erase();
    EXPECT_GE(dibCalls, c.failFrom) << c.what;
    EXPECT_EQ(Filled(Background(), 0), "") << c.what;

    StepAndPaint();
    EXPECT_EQ(Filled(paint, 0), "") << c.what << ": the opening paint should be black";
    const double x = Scene().anchor->x, y = Scene().anchor->y;
    for (int step = 0; step < 60; ++step) StepAndPaint();
    EXPECT_EQ(Stage::stage.capture.bitmap, nullptr) << c.what;
    EXPECT_EQ(Stage::stage.dim.bitmap, nullptr) << c.what;
    EXPECT_TRUE(Scene().anchor->x != x || Scene().anchor->y != y) << c.what << ": no advance";

    // Only the clock's pictures are allowed on the black screen, inside the recorded block.
    const BouncingSprite& block = *Scene().anchor;
    const RECT recorded = {block.savedX, block.savedY, block.savedX + block.savedWidth,
                           block.savedY + block.savedHeight};
    ASSERT_EQ(OnlyRectsCopied(paint, paint, 0, {recorded}), "")
        << c.what << ": lit outside the block";
    const auto lit = std::count_if(paint.bits, paint.bits + kWidth * kHeight,
                                   [](uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; });
    EXPECT_GT(lit, 1000) << c.what << ": the clock is not on the screen";
  }
}

TEST_F(StageTest, ShutdownFreesEverythingAndIsSafeToRepeat) {
  Brightness = 4;
  Erase();
  StepAndPaint();
  ASSERT_NE(Stage::stage.capture.bitmap, nullptr);
  for (HWND window : {saver, saver, static_cast<HWND>(nullptr)}) {
    Stage::Shutdown(window);
    EXPECT_FALSE(Stage::HasScene());
    EXPECT_EQ(Stage::stage.capture.bitmap, nullptr);
    EXPECT_EQ(Stage::stage.dim.bitmap, nullptr);
    for (Stage::Surface* surface :
         {&Stage::stage.frame, &Stage::stage.background, &Stage::stage.preview}) {
      EXPECT_EQ(surface->dc, nullptr);
      EXPECT_EQ(surface->bitmap, nullptr);
      EXPECT_EQ(surface->defaultBitmap, nullptr);
    }
  }
  // A stage without a scene ignores frame steps, paints and erases.
  paint.Fill(kMarker);
  StepAndPaint();
  Stage::OnEraseBackground(saver, paint.dc);
  EXPECT_EQ(Filled(paint, kMarker), "") << "drawn without a scene";
}

// timeGetTime wraps to 0 after 49.7 days. Here the wrap falls exactly on a frame boundary, 44 ms
// after the clock starts: the steps still come at the table's period ends, 22, 22, 22, 22, 23,
// 22, 22, 22, 23 ms apart.
DWORD wrapNow = 0;
DWORD WINAPI WrapTime() {
  return wrapNow;
}

TEST_F(StageTest, FrameStepsKeepTheirPeriodsAcrossTheTimerWrap) {
  Brightness = 0;  // a long dim: every frame step lowers the level by one
  FrameClock::SetTimeSource(WrapTime);
  wrapNow = 0u - 44u;
  Erase();
  std::vector<int> stepsAt;
  int level = Stage::stage.dimLevel;
  for (int ms = 1; ms <= 200; ++ms) {
    ++wrapNow;
    FrameClock::Tick();
    if (Stage::stage.dimLevel != level) {
      stepsAt.push_back(ms);
      level = Stage::stage.dimLevel;
    }
  }
  FrameClock::SetTimeSource(timeGetTime);
  EXPECT_EQ(stepsAt, (std::vector<int>{22, 44, 66, 88, 111, 133, 155, 177, 200}));
}

}  // namespace
