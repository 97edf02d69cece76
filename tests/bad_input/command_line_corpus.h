// A seeded corpus of argument texts for the switch scanning, and a model of the switch table
// built as a lookup of character rows rather than a scan: what each text should run, with which
// window, and the exit value. Shared by the in-process corpus test and the real process starts.
#pragma once
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace corpus {

enum class Action { None, Settings, Saver, Password };

// What the model expects of one argument text.
struct Expected {
  Action action = Action::None;
  bool ownerIsForeground = false;  // Settings and Password: owner is the foreground window
  uint32_t window = 0;             // Saver: host (0 = none); Password: owner when not foreground
  bool windowed = false;
  bool preview = false;
};

// The rows of the switch table; the separators (space, '-', '/') are skipped before it is read.
enum class Row { End, Configure, FullScreen, Windowed, Preview, Password, Other };

inline Row RowOf(const std::string& text, size_t position) {
  static const struct {
    const char* letters;
    Row row;
  } kTable[] = {{"Cc", Row::Configure},
                {"Ss", Row::FullScreen},
                {"Ww", Row::Windowed},
                {"Pp", Row::Preview},
                {"Aa", Row::Password}};
  if (position >= text.size()) return Row::End;
  for (const auto& entry : kTable) {
    if (std::string(entry.letters).find(text[position]) != std::string::npos) return entry.row;
  }
  return Row::Other;
}

// Where a run of spaces and tabs starting at `position` ends.
inline size_t BlanksEnd(const std::string& text, size_t position) {
  return std::min(text.find_first_not_of(" \t", position), text.size());
}

// The digits at `position` as a number modulo 2^32, summed from the last digit up.
inline uint32_t NumberAt(const std::string& text, size_t position) {
  const size_t end = std::min(text.find_first_not_of("0123456789", position), text.size());
  uint32_t value = 0, power = 1;
  for (size_t i = end; i > position; --i, power *= 10u)
    value += uint32_t(text[i - 1] - '0') * power;
  return value;
}

template <typename IsWindowFn>
Expected Model(const std::string& text, bool win9x, IsWindowFn isWindow) {
  Expected expected;
  // The change-password row, from `position`: the letter, or the first character after a
  // preview's blanks; the owner is read one character further on.
  auto password = [&](size_t position) {
    if (!win9x) return expected;  // nothing runs, exit value 0
    const uint32_t owner = NumberAt(text, BlanksEnd(text, std::min(position + 1, text.size())));
    expected.action = Action::Password;
    expected.ownerIsForeground = owner == 0 || !isWindow(owner);
    expected.window = expected.ownerIsForeground ? 0 : owner;
    return expected;
  };
  const size_t letter = std::min(text.find_first_not_of(" -/"), text.size());
  switch (RowOf(text, letter)) {
    case Row::End: expected.action = Action::Settings; return expected;
    case Row::Configure:
      expected.action = Action::Settings;
      expected.ownerIsForeground = true;
      return expected;
    case Row::Windowed: expected.windowed = true; [[fallthrough]];
    case Row::FullScreen: expected.action = Action::Saver; return expected;
    case Row::Preview: {
      expected.windowed = expected.preview = true;
      const size_t number = BlanksEnd(text, letter + 1);
      const uint32_t host = NumberAt(text, number);
      if (host == 0 || !isWindow(host)) return password(number);
      expected.action = Action::Saver;
      expected.window = host;
      return expected;
    }
    case Row::Password: return password(letter);
    case Row::Other: break;
  }
  return expected;
}

// Argument texts built from the pieces the scanning cares about: separators, tabs, every
// switch letter in both cases, other letters and punctuation, bytes from 0x80 up, control
// bytes, and host numbers of 0 to 30 digits. No text contains a NUL byte.
inline std::vector<std::string> Generate(uint32_t seed, size_t count) {
  std::mt19937 random(seed);
  auto below = [&random](int n) { return int(random() % uint32_t(n)); };
  const std::string switchLetters = "CSWPAcswpa";
  const std::string separators = " -/";
  auto digits = [&](int n) {
    std::string run;
    for (int i = 0; i < n; ++i) run += char('0' + below(10));
    return run;
  };
  auto anyByte = [&]() { return char(1 + below(255)); };
  auto piece = [&]() -> std::string {
    switch (below(9)) {
      case 0: return std::string(1, separators[below(3)]);
      case 1: return "\t";
      case 2: return std::string(1, switchLetters[below(10)]);
      case 3: return digits(below(31));
      case 4: return std::string(1, char(0x80 + below(128)));
      case 5: return std::string(1, ":,.;=\"'\\"[below(8)]);
      case 6: return std::string(1, char('a' + below(26)));
      case 7: return std::string(1, char(1 + below(31)));
      default: return std::string(1, anyByte());
    }
  };
  std::vector<std::string> texts;
  texts.reserve(count);
  while (texts.size() < count) {
    std::string text;
    // Most texts look like a switch with a handle, so that the handle rules get exercised;
    // the rest are free-form.
    if (below(3) != 0) {
      for (int n = below(5); n > 0; --n) text += below(6) == 0 ? '\t' : separators[below(3)];
      text += below(8) == 0 ? piece() : std::string(1, switchLetters[below(10)]);
      for (int n = below(4); n > 0; --n) text += below(3) == 0 ? '\t' : ' ';
      if (below(6) == 0) text += ":-/"[below(3)];
      text += digits(below(31));
      for (int n = below(4); n > 0; --n) text += piece();
    } else {
      for (int n = below(12); n > 0; --n) text += piece();
    }
    texts.push_back(text);
  }
  return texts;
}

// Printable form of a text for failure messages.
inline std::string Escaped(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += char(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out + "\"";
}

}  // namespace corpus
