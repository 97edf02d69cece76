// Minimal PNG encoder for the contact sheets: 8-bit RGB, one IDAT chunk, deflate with
// fixed Huffman codes and a small LZ77 matcher (keeps the sheets a sensible size).
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const std::vector<uint8_t>& data);

// Raw deflate stream (RFC 1951) of the data.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data);

std::vector<uint8_t> EncodePng(const RgbImage& image);
