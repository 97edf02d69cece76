// The program's feedback generator. Every draw of placement, velocity and timing goes through
// here, so the output sequence is fixed bit for bit by the seed table and the seed.
#include "graphics/random_source.h"

const uint32_t seedTable[32] = {
    0x2841E627, 0xD47D72C3, 0x4079BE1F, 0x6C35CA3B, 0x58B19617, 0x04ED22B3, 0x70E96E0F, 0x9CA57A2B,
    0x6E0F9CA5, 0x7A2B8821, 0x4607345D, 0xD2A3A059, 0x1EFFCC15, 0x2A1BB891, 0xF6F764CD, 0x8293D0C9,
    0x12E3E099, 0x5E3F0C55, 0x6A5BF8D1, 0x3637A40D, 0xC2D31B09, 0x0E2F3CC5, 0x1A4B2841, 0xE627D47D,
    0x0380B9FE, 0x5FAC750A, 0x7B98F1D6, 0x57442D62, 0xF3B029AE, 0x4FDCE5BA, 0x6BC86186, 0x47749D12,
};

uint32_t randomState[8];
uint16_t randomPosition = 0;

void RandomReset() {
  for (int j = 0; j < 8; ++j) randomState[j] = seedTable[j];
  randomPosition = 0;
}

// The seed picks a 256-bit window of the table read as a circular bit string: bits 0-4 are the
// bit offset, bits 5-9 the word offset, bits 10-15 how many outputs to discard.
void RandomSeed(uint32_t value) {
  const uint32_t shift = value & 31;
  const uint32_t word = (value >> 5) & 31;
  for (uint32_t j = 0; j < 8; ++j) {
    const uint32_t high = seedTable[(word + j) % 32];
    const uint32_t low = seedTable[(word + j + 1) % 32];
    // A shift by 32 is undefined in C++, hence the separate unshifted case.
    randomState[j] = shift == 0 ? high : (high << shift) | (low >> (32 - shift));
  }
  randomPosition = 0;
  const uint32_t discard = (value >> 10) & 63;
  for (uint32_t d = 0; d < discard; ++d) RandomNext();
}

uint32_t RandomNext() {
  const uint32_t i = randomPosition % 8;
  const uint32_t a = (randomState[(i + 6) % 8] << 26) | (randomState[(i + 7) % 8] >> 6);
  const uint32_t b = (randomState[(i + 2) % 8] << 7) | (randomState[(i + 3) % 8] >> 25);
  const uint32_t r = a ^ b;
  randomState[i] = r;
  randomPosition = static_cast<uint16_t>(i + 1);
  return r;
}

uint32_t Random(uint32_t n) {
  const uint32_t m = n & 0xFFFF;
  const uint32_t r = RandomNext();
  return ((r >> 16) * m) >> 16;
}
