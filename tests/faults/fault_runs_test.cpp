// The saver with GDI object makers failing one call at a time (through the copy of the saver
// that links gdi_faults.cpp): it never crashes, every GDI object it made is deleted by the time
// it exits, and it ends as the saver window rules say: a stage that cannot start means no window
// and exit value 0; a preview surface that cannot be made means the initialisation-failure box
// and exit value -1; any other failure leaves a saver that runs and closes with 0.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "e2e/driver.h"
#include "faults/gdi_faults.h"
#include "win32_pieces.h"

namespace {

constexpr DWORD kExitFailure = 0xFFFFFFFF;

struct Outcome {
  DWORD exitValue = kNoExit;
  bool window = false;  // a saver window was shown
  int messageBoxes = 0;
  std::wstring boxText;   // as the box shows it, whatever the system's code page
  bool reported = false;  // the process ended through its normal exit path
  std::map<std::string, int> calls;
  int live = -1;
  std::map<std::string, int> watched;  // what the saver left to the user, by report line
};

std::string ReportPath() {
  char directory[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, directory);
  return std::string(directory) + "lumora_fault_report.txt";
}

// Runs the saver copy with the given fault; closes whatever it opens, as a user would.
Outcome RunSaverCopy(const std::string& program, bool preview, const std::string& fault) {
  const std::string report = ReportPath();
  DeleteFileA(report.c_str());
  // For /p runs, a preview host in this process.
  HWND host =
      preview ? win32_pieces::MakeWindow("LumoraFaultPreviewHost", DefWindowProcA,
                                         WS_POPUP | WS_VISIBLE, 100, 100, 152, 112, nullptr, "host")
              : nullptr;
  const std::string arguments = preview ? "/p " + std::to_string(HandleToULong(host)) : "/s";
  Outcome outcome;
  {
    SaverProcess saver;
    // The copy inherits this process's environment.
    SetEnvironmentVariableA("LUMORA_FAULT", fault.c_str());
    SetEnvironmentVariableA("LUMORA_FAULT_REPORT", report.c_str());
    const bool started = saver.StartProgram(program, arguments);
    SetEnvironmentVariableA("LUMORA_FAULT", nullptr);
    SetEnvironmentVariableA("LUMORA_FAULT_REPORT", nullptr);
    if (!started) return outcome;
    HWND dialog = nullptr;
    bool closed = false;
    WaitUntil(
        [&] {
          HWND box = FindProcessDialog(saver.Id(), 0, dialog);
          if (box != nullptr) {
            ++outcome.messageBoxes;
            wchar_t text[64] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 64);  // the text control of a message box
            outcome.boxText = text;
            dialog = box;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
          }
          // Any shown window counts; it is closed once its opening is over, and so once
          // WM_CREATE, where the failure box would come up, has passed.
          HWND window = saver.FindSaverWindow(0, host);
          outcome.window |= window != nullptr;
          if (window != nullptr && !closed &&
              GetPropA(window, gdi_faults::kOpeningOverProperty) != nullptr) {
            closed = true;
            PostMessageA(window, preview ? WM_CLOSE : WM_KEYDOWN, preview ? 0 : VK_SPACE, 0);
          }
          return !saver.Running();
        },
        20000);
    outcome.exitValue = saver.WaitExit(5000);
  }
  if (host != nullptr) DestroyWindow(host);
  std::ifstream file(report);
  std::string word, name;
  while (file >> word) {
    if (word == "calls" && file >> name) {
      file >> outcome.calls[name];
    } else if (word == "live") {
      file >> outcome.live;
      outcome.reported = true;
    } else {
      file >> outcome.watched[word];
    }
  }
  return outcome;
}

std::string Describe(const Outcome& o) {
  std::ostringstream text;
  text << "exit 0x" << std::hex << o.exitValue << std::dec << ", window " << o.window
       << ", message boxes " << o.messageBoxes << ", live GDI objects " << o.live;
  for (const auto& [line, value] : o.watched) text << ", " << line << " " << value;
  return text.str();
}

int Watched(const Outcome& o, const char* line) {
  auto it = o.watched.find(line);
  return it == o.watched.end() ? -100 : it->second;
}

// Whatever the run met: the cursor and the input method are back as they were before it, and
// no saver window is shown, erased or painted once the stage has been shut down.
void ExpectLeftAsFound(const Outcome& o, const std::string& label) {
  EXPECT_EQ(Watched(o, "cursor-at-exit"), 0) << label << ": the cursor's display count";
  EXPECT_EQ(Watched(o, "ime-at-exit"), 1) << label << ": the input method";
  for (const char* line : {"stageless-shows", "stageless-erases", "stageless-paints"}) {
    EXPECT_EQ(Watched(o, line), 0) << label << ": " << line;
  }
}

const char* const kMakers[] = {"CreateCompatibleDC", "CreateCompatibleBitmap", "CreateDIBSection"};

// Which failing calls end the run before or at window creation, by mode. The stage sets up its
// scene first, which makes the pictures' shared DC, then its frame and background surfaces (DC
// and bitmap each), then in preview the preview surface.
enum class Expect { Runs, NoWindow, InitFailure };
Expect Expected(bool preview, const std::string& maker, int n) {
  if (maker == "CreateCompatibleDC") {
    if (n == 2 || n == 3) return Expect::NoWindow;
    if (preview && n == 4) return Expect::InitFailure;
  } else if (maker == "CreateCompatibleBitmap") {
    if (n <= 2) return Expect::NoWindow;
    if (preview && n == 3) return Expect::InitFailure;
  }
  return Expect::Runs;
}

TEST(GdiFaults, EveryFailingObjectMakerEndsCleanlyWithoutLeaks) {
  const std::string program = WindowsPath(LUMORA_FAULTS_SCR_PATH);
  for (bool preview : {false, true}) {
    const char* mode = preview ? "preview" : "full screen";
    const Outcome normal = RunSaverCopy(program, preview, "");
    ASSERT_TRUE(normal.reported) << mode << ": the saver copy wrote no report";
    ASSERT_EQ(normal.exitValue, 0u) << mode << ": " << Describe(normal);
    ASSERT_TRUE(normal.window) << mode;
    ASSERT_EQ(Watched(normal, "windows-made"), 1) << mode << ": " << Describe(normal);
    ASSERT_EQ(Watched(normal, "opening-over"), 1) << mode << ": " << Describe(normal);
    EXPECT_EQ(normal.live, 0) << mode << ": GDI objects left after a normal run";
    ExpectLeftAsFound(normal, mode);
    for (const char* maker : kMakers) {
      const int total = normal.calls.count(maker) ? normal.calls.at(maker) : 0;
      EXPECT_GE(total, 2) << mode << ": " << maker << " was expected to be used";
      for (int n = 1; n <= total; ++n) {
        // The 32-bit build's sample: each maker's first call, and the one that ends in the box.
        if (!kAllRows && n != 1 && Expected(preview, maker, n) != Expect::InitFailure) continue;
        const std::string fault = std::string(maker) + ":" + std::to_string(n);
        const Outcome o = RunSaverCopy(program, preview, fault);
        const std::string label = std::string(mode) + ", " + fault + ": " + Describe(o);
        EXPECT_TRUE(o.reported) << label << " (crashed or killed)";
        EXPECT_EQ(o.live, 0) << label;
        ExpectLeftAsFound(o, label);
        switch (Expected(preview, maker, n)) {
          case Expect::Runs:
            EXPECT_TRUE(o.window && o.messageBoxes == 0 && o.exitValue == 0) << label;
            EXPECT_EQ(Watched(o, "opening-over"), 1) << label << ": the opening never ended";
            break;
          case Expect::NoWindow:  // the run ends before the window is made
            EXPECT_TRUE(!o.window && o.messageBoxes == 0 && o.exitValue == 0) << label;
            EXPECT_EQ(Watched(o, "windows-made"), 0) << label << ": a saver window was made";
            break;
          case Expect::InitFailure:
            EXPECT_TRUE(o.messageBoxes == 1 && o.exitValue == kExitFailure) << label;
            break;
        }
      }
    }
  }
}

// A stage that cannot be made for the saver window: the box comes up with the cursor showing,
// the window is never shown over the screen, and the run ends with -1. In full screen the
// window's DC is what fails: the run's GetDC calls are the screen's, for its depth, then the
// stage's: the pictures' shared DC's, the host's and then the saver window's.
TEST(GdiFaults, AFailedStartUpShowsItsBoxWithTheCursorAndLeavesNothingBehind) {
  const std::string program = WindowsPath(LUMORA_FAULTS_SCR_PATH);
  struct {
    const char* label;
    bool preview;
    const char* fault;
  } cases[] = {
      {"full screen, no DC for the saver window", false, "GetDC:4"},
      {"preview, no preview surface", true, "CreateCompatibleDC:4"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunSaverCopy(program, c.preview, c.fault);
    const std::string label = std::string(c.label) + ": " + Describe(o);
    ASSERT_TRUE(o.reported) << label << " (crashed or killed)";
    EXPECT_EQ(o.messageBoxes, 1) << label;
    EXPECT_EQ(o.boxText, L"初期化に失敗しました") << label << ": the box's text";
    EXPECT_EQ(o.exitValue, kExitFailure) << label;
    EXPECT_GE(Watched(o, "cursor-at-box"), 0) << label << ": the box came up without a cursor";
    ExpectLeftAsFound(o, label);
    EXPECT_EQ(o.live, 0) << label;
  }
}

}  // namespace
