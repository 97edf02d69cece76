// The switch scanning against a seeded corpus of hostile argument texts, compared with the
// model in command_line_corpus.h on both Windows families: the action, its window, the flags
// and the exit value.
#include <gtest/gtest.h>

#include <sstream>

#include "bad_input/command_line_corpus.h"
#include "host/command_line.h"
#include "host/host_state.h"

namespace {

using corpus::Action;

constexpr uint32_t kForeground = 778;
constexpr size_t kCorpusSize = 20000;

// Handles that name windows, as this test's IsWindow sees them.
bool NamesWindow(uint32_t value) {
  return value % 3 == 0;
}

struct Calls {
  int count = 0;
  Action action = Action::None;
  uintptr_t window = 0;
  int result = 0;  // what the action returned, and so what the exit value must be
} calls;
int nextResult = 0;

int Record(Action action, HWND window) {
  ++calls.count;
  calls.action = action;
  calls.window = reinterpret_cast<uintptr_t>(window);
  calls.result = nextResult;
  return nextResult;
}
int RecordSettings(HWND owner) {
  return Record(Action::Settings, owner);
}
int RecordSaver(HWND host) {
  return Record(Action::Saver, host);
}
int RecordPassword(HWND owner) {
  Record(Action::Password, owner);
  return 77;  // the exit value after a password change is 0 whatever this says
}
BOOL WINAPI IsWindowModel(HWND window) {
  return NamesWindow(uint32_t(reinterpret_cast<uintptr_t>(window)));
}
HWND WINAPI Foreground() {
  return HandleFromNumber(kForeground);
}

const HostActions kActions = {RecordSettings, RecordSaver, RecordPassword, IsWindowModel,
                              Foreground};

// Runs one text and describes every difference from the model; empty when it matches.
std::string Check(const std::string& text, bool win9x, int actionResult) {
  const corpus::Expected want = corpus::Model(text, win9x, NamesWindow);
  calls = {};
  nextResult = actionResult;
  isWin9x = win9x;
  isWindowed = isPreview = false;
  const int exitValue = RunCommandLine(text.c_str(), kActions);

  uintptr_t wantWindow = want.window;
  if (want.ownerIsForeground) wantWindow = kForeground;
  int wantExit = 0;
  if (want.action == Action::Settings || want.action == Action::Saver) wantExit = actionResult;

  std::ostringstream problems;
  const int wantCount = want.action == Action::None ? 0 : 1;
  if (calls.count != wantCount) problems << " actions run " << calls.count << ";";
  if (calls.action != want.action) {
    problems << " action " << int(calls.action) << " instead of " << int(want.action) << ";";
  } else if (want.action != Action::None && calls.window != wantWindow) {
    problems << " window " << calls.window << " instead of " << wantWindow << ";";
  }
  if (exitValue != wantExit) problems << " exit " << exitValue << " instead of " << wantExit << ";";
  if (isWindowed != want.windowed) problems << " isWindowed " << isWindowed << ";";
  if (isPreview != want.preview) problems << " isPreview " << isPreview << ";";
  if (problems.str().empty()) return {};
  return corpus::Escaped(text) + (win9x ? " (9x):" : " (NT):") + problems.str();
}

TEST(CommandLineCorpus, EveryTextRunsWhatTheSwitchTableSays) {
  const std::vector<std::string> texts = corpus::Generate(20261207, kCorpusSize);
  int failures = 0;
  int seen[4] = {};
  for (size_t i = 0; i < texts.size(); ++i) {
    for (bool win9x : {false, true}) {
      // Alternate the actions' results so that the exit value is seen to come from them.
      const std::string problem = Check(texts[i], win9x, i % 2 == 0 ? 1 : -1);
      if (!problem.empty() && ++failures <= 20) ADD_FAILURE() << problem;
      ++seen[int(corpus::Model(texts[i], win9x, NamesWindow).action)];
    }
  }
  EXPECT_EQ(failures, 0) << "texts that did not match the switch table";
  // The corpus is only useful if it reaches every row of the table often.
  for (int action = 0; action < 4; ++action) {
    EXPECT_GE(seen[action], 500) << "too few texts for action " << action;
  }
}

// Texts whose meaning is known by heart, to keep the model itself honest.
TEST(CommandLineCorpus, ModelAgreesWithKnownTexts) {
  struct {
    const char* text;
    bool win9x;
    Action action;
    uint32_t window;
  } cases[] = {
      {"", false, Action::Settings, 0},
      {"/c:1234", false, Action::Settings, kForeground},
      {"//--s", false, Action::Saver, 0},
      {"/\ts", false, Action::None, 0},
      {"/p 1236", false, Action::Saver, 1236},
      {"/p\t 1236", false, Action::Saver, 1236},
      {"/p:1236", false, Action::None, 0},
      {"/p:1236", true, Action::Password, 1236},
      {"/p 1238", true, Action::Password, kForeground},  // 238 names no window either
      {"/p 1234", true, Action::Password, 234},
      {"/p", true, Action::Password, kForeground},
      {"/a", false, Action::None, 0},
      {"/p 4294967299", false, Action::Saver, 3},  // wraps modulo 2^32
      {"\x80s", false, Action::None, 0},
  };
  for (const auto& c : cases) {
    const corpus::Expected want = corpus::Model(c.text, c.win9x, NamesWindow);
    EXPECT_EQ(want.action, c.action) << corpus::Escaped(c.text);
    const uint32_t window = want.ownerIsForeground ? kForeground : want.window;
    EXPECT_EQ(window, c.window) << corpus::Escaped(c.text);
    EXPECT_EQ(Check(c.text, c.win9x, 1), "");
  }
}

}  // namespace

namespace {

// The argument text as the entry point takes it from the whole command line.
TEST(ArgumentText, IsWhatFollowsTheProgramNameWithoutTheBlanksAfterIt) {
  struct {
    const char* commandLine;
    const char* arguments;
  } cases[] = {
      {"\"C:\\Windows\\lumora.scr\" /s", "/s"},
      {"\"C:\\My Savers\\lumora.scr\"\t \t/p 123", "/p 123"},
      {"\"C:\\lumora.scr\"/c", "/c"},
      {"lumora.scr /a", "/a"},
      {"lumora.scr\t\ts", "s"},
      {"lumora.scr", ""},
      {"\"unterminated /s", ""},
      {"\"\"", ""},
      {"", ""},
      // Bytes from 0x80 up and control characters are part of the text, not blanks.
      {"lumora.scr \xA0s", "\xA0s"},
      {"lumora.scr \x9F", "\x9F"},
      {"\"lumora.scr\" \r/s", "\r/s"},
      {"lumora.scr \x01w", "\x01w"},
      {"lumora.scr  \x85 /s", "\x85 /s"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(ArgumentText(c.commandLine), c.arguments)
        << "command line " << corpus::Escaped(c.commandLine);
  }
}

}  // namespace
