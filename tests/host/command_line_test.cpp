// The switch scanning, driven through recording actions: which action runs, with which window,
// and what the process would return.
#include "host/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "host/host_state.h"

namespace {

enum class Action { None, Settings, Saver, Password };

struct Recorded {
  Action action = Action::None;
  HWND window = nullptr;
};
Recorded recorded;
HWND foreground = HandleFromNumber(777);
uint32_t validWindow = 1234;

int RecordSettings(HWND owner) {
  recorded = {Action::Settings, owner};
  return 1;
}
int RecordSaver(HWND host) {
  recorded = {Action::Saver, host};
  return 5;
}
int RecordPassword(HWND owner) {
  recorded = {Action::Password, owner};
  return 9;  // the exit value must not depend on it
}
BOOL WINAPI IsValidWindow(HWND window) {
  return window == HandleFromNumber(validWindow);
}
HWND WINAPI Foreground() {
  return foreground;
}

const HostActions kActions = {RecordSettings, RecordSaver, RecordPassword, IsValidWindow,
                              Foreground};

struct Case {
  const char* text;
  bool win9x;
  Action action;
  uintptr_t window;  // expected window argument
  int exitValue;
  bool windowed;
  bool preview;
};

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, RunsTheSelectedModeWithTheRightWindowAndExitValue) {
  const Case& c = GetParam();
  recorded = {};
  isWindowed = isPreview = false;
  isWin9x = c.win9x;
  const int exitValue = RunCommandLine(c.text, kActions);
  const std::string label = std::string("argument text \"") + c.text + "\"";
  EXPECT_EQ(recorded.action, c.action) << label;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(recorded.window), c.window) << label;
  EXPECT_EQ(exitValue, c.exitValue) << label;
  EXPECT_EQ(isWindowed, c.windowed) << label;
  EXPECT_EQ(isPreview, c.preview) << label;
}

constexpr uintptr_t kFg = 777;

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLineTest,
    ::testing::Values(
        // Configure: no switch opens the dialog without owner, C with the foreground window.
        Case{"", false, Action::Settings, 0, 1, false, false},
        Case{"   ", false, Action::Settings, 0, 1, false, false},
        Case{"/c:1234", false, Action::Settings, kFg, 1, false, false},
        Case{"-C", false, Action::Settings, kFg, 1, false, false},
        Case{"c", false, Action::Settings, kFg, 1, false, false},
        // Full screen and windowed.
        Case{"/s", false, Action::Saver, 0, 5, false, false},
        Case{"-S", false, Action::Saver, 0, 5, false, false},
        Case{"s", false, Action::Saver, 0, 5, false, false},
        Case{"//--s", false, Action::Saver, 0, 5, false, false},
        Case{"/ s", false, Action::Saver, 0, 5, false, false},
        Case{"/w", false, Action::Saver, 0, 5, true, false},
        Case{"W 99", false, Action::Saver, 0, 5, true, false},
        // Anything else ends at once with 0; a tab is no separator.
        Case{"/ts", false, Action::None, 0, 0, false, false},
        Case{"/xs", false, Action::None, 0, 0, false, false},
        Case{"/1", false, Action::None, 0, 0, false, false},
        Case{"/\ts", false, Action::None, 0, 0, false, false},
        Case{"\xE3s", false, Action::None, 0, 0, false, false},
        Case{":s", false, Action::None, 0, 0, false, false},
        // Preview: blanks and tabs may stand between the letter and the number.
        Case{"/p 1234", false, Action::Saver, 1234, 5, true, true},
        Case{"/p1234", false, Action::Saver, 1234, 5, true, true},
        Case{"/p\t 1234", false, Action::Saver, 1234, 5, true, true},
        Case{"/P 1234 extra", false, Action::Saver, 1234, 5, true, true},
        // More than ten digits wrap modulo 2^32: 4294968530 = 2^32 + 1234.
        Case{"/p 4294968530", false, Action::Saver, 1234, 5, true, true},
        // A preview without a usable host falls to the change-password handling.
        Case{"/p:1234", false, Action::None, 0, 0, true, true},
        Case{"/p:1234", true, Action::Password, 1234, 0, true, true},
        Case{"/p:99", true, Action::Password, kFg, 0, true, true},
        Case{"/p 1234", true, Action::Saver, 1234, 5, true, true},
        Case{"/p 5234", false, Action::None, 0, 0, true, true},
        Case{"/p 1234234", true, Action::Password, kFg, 0, true, true},
        Case{"/p", false, Action::None, 0, 0, true, true},
        Case{"/p", true, Action::Password, kFg, 0, true, true},
        // Change password: only on the 9x family; always exit value 0.
        Case{"/a", false, Action::None, 0, 0, false, false},
        Case{"/a", true, Action::Password, kFg, 0, false, false},
        Case{"/a 1234", true, Action::Password, 1234, 0, false, false},
        Case{"/a\t1234", true, Action::Password, 1234, 0, false, false},
        Case{"/a1234", true, Action::Password, 1234, 0, false, false},
        Case{"/a 0", true, Action::Password, kFg, 0, false, false},
        Case{"/a 55", true, Action::Password, kFg, 0, false, false}));

// "/p 1234" where 1234 is no window: the change-password handling reads again one character
// further on, 234, and takes that window when it is one.
TEST(CommandLine, PreviewWithoutHostReparsesOneCharacterOnFor9xPassword) {
  recorded = {};
  isWin9x = true;
  validWindow = 234;
  EXPECT_EQ(RunCommandLine("/p 1234", kActions), 0);
  EXPECT_EQ(recorded.action, Action::Password);
  EXPECT_EQ(recorded.window, HandleFromNumber(234));
  validWindow = 1234;
}

TEST(ParseDecimal, ReadsDigitsUntilTheFirstOtherCharacterAndWraps) {
  struct {
    const char* text;
    uint32_t value;
  } cases[] = {{"", 0},
               {"x12", 0},
               {"0", 0},
               {"1234", 1234},
               {"1234:5", 1234},
               {" 12", 0},
               {"-12", 0},
               {"4294967295", 4294967295u},
               {"4294967296", 0},
               {"4294968530", 1234},
               {"99999999999999999999", 1661992959u}};
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

}  // namespace
