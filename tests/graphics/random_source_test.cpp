// The random source against known outputs, the seed's equivalences, and the range of draws.
#include "graphics/random_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

namespace {

// The next n draws of the given kind, RandomNext's outputs unless told otherwise.
std::vector<uint32_t> NextOutputs(int n, const std::function<uint32_t()>& draw = RandomNext) {
  std::vector<uint32_t> out(n);
  std::generate(out.begin(), out.end(), draw);
  return out;
}

TEST(RandomSource, SeedOneBuildsTheKnownState) {
  RandomSeed(1);
  const uint32_t expected[8] = {0x5083CC4F, 0xA8FAE586, 0x80F37C3E, 0xD86B9476,
                                0xB1632C2E, 0x09DA4566, 0xE1D2DC1F, 0x394AF456};
  for (int j = 0; j < 8; ++j) {
    EXPECT_EQ(randomState[j], expected[j]) << "state word " << j << " after RandomSeed(1)";
  }
  EXPECT_EQ(randomPosition, 0);
}

TEST(RandomSource, ProducesTheKnownOutputs) {
  struct {
    const char* name;
    std::function<std::vector<uint32_t>()> run;
    std::vector<uint32_t> expected;
  } cases[] = {
      {"RandomSeed(1), RandomNext",
       [] { return RandomSeed(1), NextOutputs(4); },
       {0x055B34BD, 0x6DDF578A, 0x44216A5A, 0xC43236D9}},
      {"RandomReset, RandomNext",
       [] { return RandomReset(), NextOutputs(4); },
       {0x02AD9A5E, 0xB6EFABC5, 0x2210B52D, 0x62191B6C}},
      {"RandomSeed(1), Random(360)",
       [] { return RandomSeed(1), NextOutputs(4, [] { return Random(360); }); },
       {7, 154, 95, 275}},
      {"RandomSeed(1025) discards one output",
       [] { return RandomSeed(1025), NextOutputs(1); },
       {0x6DDF578A}},
      {"Random(0) consumes an output",
       [] { return RandomSeed(1), Random(0), NextOutputs(1); },
       {0x6DDF578A}},
  };
  for (auto& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

// Two ways of starting must leave the same state and then give the same outputs.
TEST(RandomSource, EquivalentSeedsGiveTheSameSequence) {
  struct {
    const char* name;
    std::function<void()> first, second;
  } cases[] = {
      {"RandomSeed(0x10000) and RandomSeed(0)", [] { RandomSeed(0x10000); }, [] { RandomSeed(0); }},
      {"RandomSeed(0) and RandomReset()", [] { RandomSeed(0); }, [] { RandomReset(); }},
      {"RandomSeed(1025) and RandomSeed(1) + one output", [] { RandomSeed(1025); },
       [] { RandomSeed(1), RandomNext(); }},
      {"RandomSeed(0xFC00) and RandomReset() + 63 outputs", [] { RandomSeed(0xFC00); },
       [] { RandomReset(), NextOutputs(63); }},
      {"RandomSeed(32) and the table from word 1", [] { RandomSeed(32); },
       [] {
         std::memcpy(randomState, seedTable + 1, sizeof randomState);
         randomPosition = 0;
       }},
      // Bit strings of the table worked out apart from the code: 31 bits in, and from the last bit.
      {"RandomSeed(31) and the table from bit 31", [] { RandomSeed(31); },
       [] {
         const uint32_t state[8] = {0xEA3EB961, 0xA03CDF0F, 0xB61AE51D, 0xAC58CB0B,
                                    0x82769159, 0xB874B707, 0xCE52BD15, 0xB707CE52};
         std::memcpy(randomState, state, sizeof randomState), randomPosition = 0;
       }},
      {"RandomSeed(0x3FF) wraps round the table", [] { RandomSeed(0x3FF); },
       [] {
         const uint32_t state[8] = {0x1420F313, 0xEA3EB961, 0xA03CDF0F, 0xB61AE51D,
                                    0xAC58CB0B, 0x82769159, 0xB874B707, 0xCE52BD15};
         std::memcpy(randomState, state, sizeof randomState), randomPosition = 0;
       }},
  };
  for (auto& c : cases) {
    c.first();
    std::vector<uint32_t> firstState(randomState, randomState + 8);
    const uint16_t firstPosition = randomPosition;
    const std::vector<uint32_t> firstOutputs = NextOutputs(20);
    c.second();
    EXPECT_EQ(firstState, std::vector<uint32_t>(randomState, randomState + 8)) << c.name;
    EXPECT_EQ(firstPosition, randomPosition) << c.name;
    EXPECT_EQ(firstOutputs, NextOutputs(20)) << c.name;
  }
}

// Only the low 16 bits of n count, and every draw consumes exactly one output.
TEST(RandomSource, RandomUsesTheLowSixteenBitsOfN) {
  struct {
    uint32_t n, same;
  } cases[] = {{65536, 0}, {65537, 1}, {65536 + 360, 360}, {0xFFFF0007, 7}, {0xFFFFFFFF, 65535}};
  for (const auto& c : cases) {
    for (uint32_t seed : {0u, 1u, 977u, 40000u}) {
      RandomSeed(seed);
      const std::vector<uint32_t> wide = NextOutputs(50, [&c] { return Random(c.n); });
      RandomSeed(seed);
      EXPECT_EQ(wide, NextOutputs(50, [&c] { return Random(c.same); }))
          << "Random(" << c.n << ") should act as Random(" << c.same << "), seed " << seed;
    }
  }
}

TEST(RandomSource, DrawsStayBelowNAndReachItsTop) {
  for (uint32_t n : {0u, 1u}) {
    RandomSeed(12345);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(Random(n), 0u) << "Random(" << n << ")";
  }
  RandomSeed(77);
  for (uint32_t n = 2; n < 65536; n += 97) {
    for (int i = 0; i < 200; ++i) {
      const uint32_t r = Random(n);
      ASSERT_LT(r, n) << "Random(" << n << ") drew " << r;
    }
  }
  for (uint32_t n : {2u, 6u, 65535u}) {
    RandomSeed(5);
    uint32_t top = 0;
    std::set<uint32_t> seen;
    for (int i = 0; i < 5000; ++i) {
      const uint32_t r = Random(n);
      top = std::max(top, r);
      seen.insert(r);
    }
    EXPECT_GE(top, n - n / 100 - 1) << "Random(" << n << ") never drew near its top";
    if (n <= 6) {
      EXPECT_EQ(seen.size(), n) << "Random(" << n << ") missed a value";
    }
  }
}

}  // namespace
