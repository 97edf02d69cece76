// A row of a table whose logic cannot differ between the builds (no floating point, no pointer
// size) is checked on the 64-bit build; the 32-bit one, whose process starts cost many times more
// under emulation, runs the first rows, chosen so that each way out comes once.
#pragma once
#include <vector>

constexpr bool kAllRows = sizeof(void*) == 8;

// The rows of a table (an array or a vector) that this build runs.
template <typename Table>
auto Sample(const Table& rows, size_t sample) {
  const size_t count = kAllRows || sample > std::size(rows) ? std::size(rows) : sample;
  return std::vector(std::begin(rows), std::begin(rows) + count);
}
