// Argument texts from the seeded corpus given to the real saver process: the texts that end by
// themselves (unknown switches, /a and /p with handles that name no window on this NT-family
// system, bytes from 0x80 up, tabs) must end at once with the switch table's exit value, and a
// few that open the settings dialog or the saver are ended by the test. No crash, no hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bad_input/command_line_corpus.h"
#include "e2e/driver.h"
#include "host/command_line.h"

namespace {

using corpus::Action;

constexpr size_t kSelfEnding = 210;
constexpr size_t kBatch = 6;  // processes started together, to keep the run short
constexpr DWORD kExitTimeout = 20000;

bool NamesWindowHere(uint32_t value) {
  return value != 0 && IsWindow(HandleFromNumber(value));
}

// What the process itself sees: the runtime hands the entry point the text after the program
// name with the blanks that follow the name removed.
std::string AfterLeadingBlanks(const std::string& text) {
  return text.substr(corpus::BlanksEnd(text, 0));
}

corpus::Expected ModelHere(const std::string& text) {
  return corpus::Model(AfterLeadingBlanks(text), false, NamesWindowHere);
}

// Bytes that a runtime might take for blanks or mangle: tabs, control characters, 0x80 and up.
bool Interesting(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x80 || c == '\t' || c < 0x20) return true;
  }
  return false;
}

// The character the scan stops at, lower-cased for letters; 0 at the end of the text.
char SwitchLetter(const std::string& text) {
  const size_t at = text.find_first_not_of(" -/");
  return at == std::string::npos ? 0 : char(text[at] | 0x20);
}

std::vector<std::string> Corpus() {
  return corpus::Generate(20261207, 20000);
}

TEST(CommandLineProcesses, SelfEndingTextsEndAtOnceWithExitValueZero) {
  std::vector<std::string> chosen;
  size_t withOddBytes = 0, password = 0, preview = 0;
  for (const std::string& text : Corpus()) {
    if (chosen.size() == kSelfEnding) break;
    const corpus::Expected want = ModelHere(text);
    if (want.action != Action::None) continue;
    withOddBytes += Interesting(text);
    password += SwitchLetter(AfterLeadingBlanks(text)) == 'a';
    preview += want.preview;
    chosen.push_back(text);
  }
  ASSERT_EQ(chosen.size(), kSelfEnding);
  EXPECT_GE(withOddBytes, 50u);
  EXPECT_GE(password, 20u);
  EXPECT_GE(preview, 20u);
  std::vector<std::string> run;  // all of them, or the 32-bit build's sample: every fifteenth
  for (size_t i = 0; i < chosen.size(); i += kAllRows ? 1 : 15) run.push_back(chosen[i]);
  chosen.swap(run);

  int failures = 0;
  for (size_t first = 0; first < chosen.size(); first += kBatch) {
    SaverProcess processes[kBatch];
    const size_t count = std::min(kBatch, chosen.size() - first);
    for (size_t i = 0; i < count; ++i) {
      ASSERT_TRUE(processes[i].Start(chosen[first + i]))
          << corpus::Escaped(chosen[first + i]) << ", error " << GetLastError();
    }
    for (size_t i = 0; i < count; ++i) {
      const DWORD exitValue = processes[i].WaitExit(kExitTimeout);
      // A hang is ended by the destructor; a crash shows as an exception code.
      if (exitValue != 0 && ++failures <= 20) {
        ADD_FAILURE() << corpus::Escaped(chosen[first + i]) << " ended with 0x" << std::hex
                      << exitValue << " (0xDEADBEEF: still running)";
      }
    }
  }
  EXPECT_EQ(failures, 0) << "of " << chosen.size() << " process starts";
}

// Texts from the corpus that open something: the settings dialog is cancelled (exit value 1),
// the full-screen saver gets a key and the windowed one a close (exit value 0).
TEST(CommandLineProcesses, TextsThatOpenAWindowEndWhenTheTestClosesIt) {
  struct Wanted {
    bool windowed;
    Action action;
    int left;
  } wanted[] = {{false, Action::Settings, 4}, {false, Action::Saver, 4}, {true, Action::Saver, 3}};
  for (Wanted& w : wanted) w.left = kAllRows ? w.left : 1;  // the 32-bit build: one of each
  int started = 0;
  for (const std::string& text : Corpus()) {
    const corpus::Expected want = ModelHere(text);
    Wanted* slot = nullptr;
    for (Wanted& w : wanted) {
      if (w.action == want.action && w.windowed == want.windowed && !want.preview && w.left > 0) {
        slot = &w;
      }
    }
    if (slot == nullptr) continue;
    --slot->left;
    ++started;
    SaverProcess process;
    ASSERT_TRUE(process.Start(text));
    if (want.action == Action::Settings) {
      HWND dialog = FindProcessDialog(process.Id(), 15000);
      ASSERT_NE(dialog, nullptr) << corpus::Escaped(text) << ": no settings dialog";
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      EXPECT_EQ(process.WaitExit(kExitTimeout), 1u) << corpus::Escaped(text);
    } else {
      HWND window = process.FindSaverWindow(15000);
      ASSERT_NE(window, nullptr) << corpus::Escaped(text) << ": no saver window";
      EXPECT_EQ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != 0, want.windowed)
          << corpus::Escaped(text);
      Settle(window);
      PostMessageA(window, want.windowed ? WM_CLOSE : WM_KEYDOWN, want.windowed ? 0 : VK_SPACE, 0);
      EXPECT_EQ(process.WaitExit(kExitTimeout), 0u) << corpus::Escaped(text);
    }
  }
  EXPECT_EQ(started, kAllRows ? 11 : 3) << "the corpus lacks texts for some mode";
}

}  // namespace
