// Reading what Linux's /proc says about a Wine process: the saver's CPU figure rests on it
// wherever Wine keeps no account of other processes.
#include "bench/host_kernel_times.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(StatCpuTicks, AddsUserAndSystemTicks) {
  const std::string tail = " S 1 2 3 4 5 6 7 8 9 10 120 35 0 0 20 0 4 0 99 1000 50"s;
  const struct {
    std::string stat;
    double ticks;
  } cases[] = {
      {"4242 (lumora.scr)" + tail, 155},
      // The command name may hold spaces and parentheses of its own.
      {"4242 (a b) c)" + tail, 155},
      {"4242 ((x))" + tail, 155},
      {"4242 (lumora.scr) S 1 2 3 4 5 6 7 8 9 10 0 0 0", 0},
      // Malformed or cut short: no figure rather than a wrong one.
      {"", -1},
      {"4242 lumora.scr S 1 2", -1},
      {"4242 (lumora.scr) S 1 2 3 4 5 6 7 8 9 10 120", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(StatCpuTicks(c.stat), c.ticks) << "stat: " << c.stat;
}

TEST(EnvironmentValue, FindsOneVariableOfABlock) {
  const std::string block = "HOME=/root\0WINEPREFIX=/work/p\0WINEPREFIXES=no\0EMPTY=\0"s;
  const struct {
    const char* name;
    const char* value;
  } cases[] = {{"WINEPREFIX", "/work/p"},
               {"HOME", "/root"},
               {"EMPTY", ""},
               {"WINE", ""},
               {"PREFIX", ""},
               {"MISSING", ""}};
  for (const auto& c : cases) EXPECT_EQ(EnvironmentValue(block, c.name), c.value) << c.name;
}

TEST(ProgramOf, TakesTheFirstArgumentOnly) {
  EXPECT_EQ(ProgramOf("Z:\\b\\lumora.scr\0/s\0"s), "Z:\\b\\lumora.scr");
  EXPECT_EQ(ProgramOf("Z:\\b\\lumora.scr"s), "Z:\\b\\lumora.scr");
  EXPECT_EQ(ProgramOf(""), "");
}

}  // namespace
