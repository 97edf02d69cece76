// Formatting of the benchmark's figures.
#include "bench/report.h"

#include <cstdarg>
#include <cstdio>

std::string Format(const char* format, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);
  return text;
}

void PrintHeading(const char* title) {
  std::printf("\n%s\n", title);
  std::fflush(stdout);
}

void PrintFigure(const char* what, const std::string& value, const char* target, Verdict verdict) {
  const char* judged = verdict == Verdict::Meets    ? "meets"
                       : verdict == Verdict::Misses ? "MISSES"
                                                    : "";
  std::printf("  %-40s %-22s %-18s %s\n", what, value.c_str(), target, judged);
  std::fflush(stdout);
}

void PrintNote(const std::string& text) {
  std::printf("    (%s)\n", text.c_str());
  std::fflush(stdout);
}
