// The 9x family's password on the real saver, with the family emulated by Wine and the system's
// PASSWORD.CPL and MPR.DLL replaced by test stand-ins that log what they are asked.
#include <gtest/gtest.h>

#include "password/password_e2e_support.h"

namespace {

constexpr DWORD kQuick = 3000;

// Wine's per-program settings for the 9x copy of the saver, for the whole test program: report
// Windows 98, and take MPR.DLL native only, so that LoadLibraryA finds the stand-in beside the
// saver rather than Wine's builtin, and finds nothing where there is none. (WINEDLLOVERRIDES
// would not do: Wine hands it to a child from its own Unix environment, not from the block the
// driver passes to CreateProcessA.)
class Win9xEmulation : public ::testing::Environment {
 public:
  void SetUp() override {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Version", REG_SZ, "win98", 6);
    RegSetKeyValueA(HKEY_CURRENT_USER, kOverridesKey, "mpr", REG_SZ, "native", 7);
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\lumora_9x.scr";
  static constexpr char kOverridesKey[] =
      "Software\\Wine\\AppDefaults\\lumora_9x.scr\\DllOverrides";
};
const auto* const emulation = ::testing::AddGlobalTestEnvironment(new Win9xEmulation);

HWND StartFullScreen(SaverProcess& saver, const char* folder, const char* program = kWin9xSaver) {
  ClearLog(folder);
  PlaceCursor(500, 400);
  if (!StartCopy(saver, folder, program, "/s")) return nullptr;
  HWND window = saver.FindSaverWindow();
  if (window != nullptr) Settle(window);  // in its message loop, with the cursor's origin taken
  return window;
}

// A window of the driver's own, to be named as the owner of the password change.
struct OwnerWindow {
  HWND window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ~OwnerWindow() { DestroyWindow(window); }
};

// Puts the cursor at a screen point and lets the saver handle the move, which it must read at once:
// Wine keeps its own record of a held pointer for 100 ms only (see README), so a test may repeat.
void MoveCursorTo(HWND saverWindow, int x, int y) {
  SetCursorPos(x, y);
  PostMessageA(saverWindow, WM_MOUSEMOVE, 0, 0);
  Settle(saverWindow);
}

// The stand-in's password window, once it is open.
HWND WaitForPasswordWindow() {
  HWND dialog = nullptr;
  WaitUntil([&] { return (dialog = FindWindowA(kDialogClass, nullptr)) != nullptr; });
  return dialog;
}

std::string Number(HWND window) {
  return std::to_string(HandleToULong(window));
}

TEST(Win9xPassword, AnAcceptedCheckClosesTheSaverWithExitValueZero) {
  PasswordSettings settings(1, kAnswerAccept);
  struct {
    const char* name;
    void (*input)(HWND);
  } cases[] = {
      {"key", [](HWND w) { PostMessageA(w, WM_KEYDOWN, VK_SPACE, 0); }},
      {"click", [](HWND w) { PostMessageA(w, WM_LBUTTONDOWN, 0, 0); }},
      // Far past the threshold (the mode tests judge its count), repeated until the saver reads
      // it in time, between two points 200 pixels apart: one of them is far from its origin.
      {"move",
       [](HWND w) {
         bool left = false;
         WaitUntil([&] {
           left = !left;
           MoveCursorTo(w, left ? 440 : 560, left ? 360 : 440);
           return !IsWindow(w);
         });
       }},
  };
  for (const auto& c : cases) {
    SaverProcess saver;
    HWND window = StartFullScreen(saver, kWithLibraries);
    ASSERT_NE(window, nullptr) << c.name;
    EXPECT_EQ(CountLines(kWithLibraries, VerifyLine(window)), 0u) << "asked before any input";
    c.input(window);
    EXPECT_EQ(saver.WaitExit(), 0u) << "after a " << c.name;
    // Loaded once, asked once about the saver window, released by the saver itself.
    const std::vector<std::string> expected = {"load password.cpl", VerifyLine(window),
                                               "unload password.cpl"};
    EXPECT_EQ(LogLines(kWithLibraries), expected) << c.name;
  }
}

TEST(Win9xPassword, ARefusedCheckKeepsTheSaverAndMeasuresMovesFromWhereTheCheckEnded) {
  PasswordSettings settings(1, kAnswerRefuse);
  // The user leaves the cursor 200 pixels away from where the saver started while answering.
  settings.cursorAtAnswer.SetNumber(MAKELONG(700, 500));
  SaverProcess saver;
  HWND window = StartFullScreen(saver, kWithLibraries);
  ASSERT_NE(window, nullptr);
  const std::string verify = VerifyLine(window);

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForLine(kWithLibraries, verify, 1)) << "a key started no check";
  EXPECT_TRUE(Settle(window)) << "a refused check closed the saver";
  EXPECT_TRUE(saver.Running()) << "a refused check closed the saver";
  EXPECT_TRUE(IsWindowVisible(window)) << "a refused check hid the saver";

  // 5 pixels from where the check ended, over 200 from where the saver started.
  MoveCursorTo(window, 705, 500);
  EXPECT_EQ(CountLines(kWithLibraries, verify), 1u) << "the cursor origin was not taken again";
  EXPECT_TRUE(saver.Running());

  // 10 pixels from where the check ended: a new check, once the saver has read it in time.
  settings.cursorAtAnswer.Remove();
  EXPECT_TRUE(WaitUntil([&] {
    MoveCursorTo(window, 710, 500);
    return CountLines(kWithLibraries, verify) >= 2;
  })) << "no new check 10 pixels from the new origin";
  EXPECT_EQ(CountLines(kWithLibraries, verify), 2u) << "10 pixels from the new origin";
  EXPECT_TRUE(Settle(window) && saver.Running()) << "a refused check closed the saver";

  settings.answer.SetNumber(kAnswerAccept);
  PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
  EXPECT_EQ(CountLines(kWithLibraries, verify), 3u);
}

TEST(Win9xPassword, InputWhileTheCheckIsOpenPostsNothing) {
  PasswordSettings settings(1, kAnswerAskDialog);
  SaverProcess saver;
  HWND window = StartFullScreen(saver, kWithLibraries);
  ASSERT_NE(window, nullptr);
  const std::string verify = VerifyLine(window);

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  HWND dialog = WaitForPasswordWindow();
  ASSERT_NE(dialog, nullptr) << "the stand-in's password window did not open";

  // Everything that would end the saver, delivered while the verifier's loop runs.
  for (UINT message :
       {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_CLOSE}) {
    PostMessageA(window, message, 0, 0);
  }
  MoveCursorTo(window, 540, 440);
  // The check ends once Wine reports the held pointer where the display has it (see MoveCursorTo),
  // as for a user, so that the origin it takes is where the cursor stays.
  WaitPastCursorRecord();
  // Input right before the refusal: a close it posted would still be queued after the check.
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  // Whatever was queued behind the refusal is handled: a second check would be open by now.
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the refusal did not close it";
  EXPECT_TRUE(Settle(window)) << "input during the check closed the saver";
  EXPECT_TRUE(saver.Running()) << "input during the check closed the saver";
  EXPECT_EQ(CountLines(kWithLibraries, verify), 1u) << "input during the check queued a check";
  EXPECT_EQ(FindWindowA(kDialogClass, nullptr), nullptr) << "a second check opened";

  // The next key after the refusal starts a new check; accepting it ends the saver.
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_TRUE(WaitForLine(kWithLibraries, verify, 2));
  dialog = WaitForPasswordWindow();
  ASSERT_NE(dialog, nullptr) << "the second check's password window did not open";
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST(Win9xPassword, NoVerifierIsLoadedWhereNoneIsWanted) {
  PasswordSettings settings(1, kAnswerRefuse);
  struct Case {
    const char* name;
    const char* folder;
    const char* program;
    const char* arguments;
    DWORD use;
    std::vector<std::string> log;
  };
  const std::vector<std::string> dropped = {"load mpr.dll", "unload mpr.dll"};
  const Case cases[] = {
      {"NT family", kWithLibraries, kNtSaver, "/s", 1, {}},
      {"no PASSWORD.CPL", kNoLibraries, kWin9xSaver, "/s", 1, {}},
      {"PASSWORD.CPL without the verifier", kWrongLibrary, kWin9xSaver, "/s", 1, dropped},
      {"windowed", kWithLibraries, kWin9xSaver, "/w", 1, {}},
      {"password switched off", kWithLibraries, kWin9xSaver, "/s", 0, {}},
  };
  for (const auto& c : Sample(cases, 3)) {
    settings.usePassword.SetNumber(c.use);
    ClearLog(c.folder);
    SaverProcess saver;
    ASSERT_TRUE(StartCopy(saver, c.folder, c.program, c.arguments)) << c.name;
    HWND window = saver.FindSaverWindow();
    ASSERT_NE(window, nullptr) << c.name;
    Settle(window);
    // A library without the verifier is dropped at once, not at the end of the run.
    EXPECT_EQ(LogLines(c.folder), c.log) << c.name << ", while running";
    // The key ends the full-screen saver at once; the windowed one needs its close command.
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(saver.WaitExit(), 0u) << c.name;
    EXPECT_EQ(LogLines(c.folder), c.log) << c.name;
  }
}

TEST(Win9xPassword, ChangePasswordCallsTheProviderWithScrsaveAndTheOwner) {
  OwnerWindow owner;
  ASSERT_NE(owner.window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !GetUpdateRect(owner.window, nullptr, FALSE); }))
      << "the owner window was never painted";
  const std::string handle = Number(owner.window);
  struct {
    std::string arguments;
    bool ownerIsForeground;
  } cases[] = {
      {"/a " + handle, false}, {"/a", true}, {"-A\t" + handle, false},
      {"/p:" + handle, false},  // not a preview host: falls to the password change
      {"/a 0", true},
  };
  for (const auto& c : Sample(cases, 2)) {
    ClearLog(kWithLibraries);
    const std::string expectedOwner = c.ownerIsForeground ? Number(GetForegroundWindow()) : handle;
    SaverProcess saver;
    ASSERT_TRUE(StartCopy(saver, kWithLibraries, kWin9xSaver, c.arguments)) << c.arguments;
    EXPECT_EQ(saver.WaitExit(), 0u) << c.arguments;
    const std::vector<std::string> expected = {
        "load mpr.dll", "change SCRSAVE " + expectedOwner + " 0 0", "unload mpr.dll"};
    EXPECT_EQ(LogLines(kWithLibraries), expected) << c.arguments;
  }
}

TEST(Win9xPassword, ChangePasswordWithoutTheProviderOrOnNtEndsSilentlyWithZero) {
  OwnerWindow owner;
  const std::string arguments = "/a " + Number(owner.window);
  struct {
    const char* folder;
    const char* program;
  } cases[] = {{kNoLibraries, kWin9xSaver}, {kWithLibraries, kNtSaver}};
  for (const auto& c : cases) {
    ClearLog(c.folder);
    SaverProcess saver;
    ASSERT_TRUE(StartCopy(saver, c.folder, c.program, arguments)) << c.folder;
    EXPECT_EQ(saver.WaitExit(kQuick), 0u) << c.folder << " " << c.program;
    EXPECT_EQ(saver.FindSaverWindow(0, nullptr, false), nullptr);
    EXPECT_TRUE(LogLines(c.folder).empty()) << c.folder << " " << c.program;
  }
}

// The stored setting, whatever its type and length, on the real saver: never a crash, and a
// check exactly when the 4-byte read of it gives a non-zero number.
TEST(Win9xPassword, UsePasswordOfAnyTypeAndLengthDecidesAsItsFirstFourBytes) {
  PasswordSettings settings(0, kAnswerAccept);
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    bool asks;
  };
  std::vector<Case> cases = {
      {"dword 0", REG_DWORD, {0, 0, 0, 0}, false},
      {"dword 1", REG_DWORD, {1, 0, 0, 0}, true},
      {"binary 00 00 01", REG_BINARY, {0, 0, 1}, true},
      {"huge binary", REG_BINARY, std::vector<BYTE>(1 << 20, 1), false},
      {"dword 0x80000000", REG_DWORD, {0, 0, 0, 0x80}, true},
      {"empty binary", REG_BINARY, {}, false},
      {"binary 00", REG_BINARY, {0}, false},
      {"binary 01", REG_BINARY, {1}, true},
      {"binary of 5 bytes", REG_BINARY, {1, 1, 1, 1, 1}, false},
      {"binary of 7 bytes", REG_BINARY, {1, 2, 3, 4, 5, 6, 7}, false},
      {"qword 1", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
      {"big-endian dword 1", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, true},
      {"none of 2 bytes", REG_NONE, {1, 0}, true},
      {"string 1", REG_SZ, {'1', 0}, true},
      {"string 0", REG_SZ, {'0', 0}, true},
      {"empty string", REG_SZ, {0}, false},
      {"string of 4 characters", REG_SZ, {'1', '2', '3', '4', 0}, false},
      {"multi-string 1", REG_MULTI_SZ, {'1', 0, 0}, true},
  };
  for (const Case& c : Sample(cases, 4)) {
    ASSERT_TRUE(settings.usePassword.Set(c.type, c.data.data(), c.data.size())) << c.name;
    SaverProcess saver;
    HWND window = StartFullScreen(saver, kWithLibraries);
    ASSERT_NE(window, nullptr) << c.name << ": no saver window";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(saver.WaitExit(), 0u) << c.name;
    EXPECT_EQ(CountLines(kWithLibraries, VerifyLine(window)), c.asks ? 1u : 0u) << c.name;
  }
}

}  // namespace
