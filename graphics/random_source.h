// The program's own pseudo-random generator: a feedback generator over eight 32-bit words,
// seeded from a constant table. One process-wide state.
#pragma once
#include <cstdint>

extern const uint32_t seedTable[32];
extern uint32_t randomState[8];
extern uint16_t randomPosition;

void RandomReset();
void RandomSeed(uint32_t value);
uint32_t RandomNext();
// A draw from 0 to n - 1 using the low 16 bits of n; 0 for n = 0.
uint32_t Random(uint32_t n);
