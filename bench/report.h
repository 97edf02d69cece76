// The benchmark's output: one line per figure, with the target it is held against and whether
// it meets it, so that a run can be read at a glance.
#pragma once
#include <string>

enum class Verdict { None, Meets, Misses };

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
void PrintHeading(const char* title);
void PrintFigure(const char* what, const std::string& value, const char* target = "",
                 Verdict verdict = Verdict::None);
void PrintNote(const std::string& text);
inline Verdict Judge(bool met) {
  return met ? Verdict::Meets : Verdict::Misses;
}
