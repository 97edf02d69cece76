// A seeded corpus of argument texts for the switch scanning, and a model of the switch table
// written apart from host/command_line.cpp: what each text should run, with which window, and
// the exit value. Shared by the in-process corpus test and the real process starts.
#pragma once
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

// The number a run of digits gives, wrapped to 32 bits by plain modular arithmetic.
inline uint32_t DecimalAt(const std::string& text, size_t position) {
  uint64_t value = 0;
  while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
    value = (value * 10 + uint64_t(text[position] - '0')) % 4294967296ull;
    ++position;
  }
  return uint32_t(value);
}

inline size_t SkipSpacesAndTabs(const std::string& text, size_t position) {
  while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
  return position;
}

// The change-password row, from `position` (the letter, or the first character after a
// preview's blanks). The model's isWindow decides which handles name windows.
template <typename IsWindowFn>
Expected PasswordFrom(const std::string& text, size_t position, bool win9x, IsWindowFn isWindow,
                      Expected expected) {
  if (!win9x) return expected;  // nothing runs, exit value 0
  if (position < text.size()) ++position;
  position = SkipSpacesAndTabs(text, position);
  const uint32_t owner = DecimalAt(text, position);
  expected.action = Action::Password;
  expected.ownerIsForeground = owner == 0 || !isWindow(owner);
  expected.window = expected.ownerIsForeground ? 0 : owner;
  return expected;
}

template <typename IsWindowFn>
Expected Model(const std::string& text, bool win9x, IsWindowFn isWindow) {
  Expected expected;
  for (size_t i = 0;; ++i) {
    const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    if (c == 0) {
      expected.action = Action::Settings;
      return expected;
    }
    if (c == ' ' || c == '-' || c == '/') continue;
    switch (c) {
      case 'c':
      case 'C':
        expected.action = Action::Settings;
        expected.ownerIsForeground = true;
        return expected;
      case 'w':
      case 'W': expected.windowed = true; [[fallthrough]];
      case 's':
      case 'S': expected.action = Action::Saver; return expected;
      case 'p':
      case 'P': {
        expected.windowed = expected.preview = true;
        const size_t number = SkipSpacesAndTabs(text, i + 1);
        const uint32_t host = DecimalAt(text, number);
        if (host != 0 && isWindow(host)) {
          expected.action = Action::Saver;
          expected.window = host;
          return expected;
        }
        return PasswordFrom(text, number, win9x, isWindow, expected);
      }
      case 'a':
      case 'A': return PasswordFrom(text, i, win9x, isWindow, expected);
      default: return expected;
    }
  }
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
