// Reads the 8-bit palettized BMP files the picture generator writes (40-byte header, bottom-up
// rows padded to 4 bytes, 256-entry colour table). Used by the host tool that makes the 24-bit
// variant of a picture and by the tests that predict what the saver draws.
#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct Bmp8 {
  int width = 0;
  int height = 0;
  uint32_t palette[256] = {};    // 0x00RRGGBB
  std::vector<uint8_t> indices;  // top row first, width * height
  uint8_t At(int x, int y) const { return indices[size_t(y) * size_t(width) + size_t(x)]; }
};

inline bool ReadBmp8(const std::string& path, Bmp8& out) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, &data[at], 4);
    return v;
  };
  auto u16 = [&](size_t at) { return uint16_t(data[at] | (data[at + 1] << 8)); };
  if (data.size() < 54 + 1024 || data[0] != 'B' || data[1] != 'M' || u16(28) != 8) return false;
  out.width = int32_t(u32(18));
  out.height = int32_t(u32(22));
  if (out.width <= 0 || out.height <= 0) return false;
  const size_t offset = u32(10), stride = (size_t(out.width) + 3) / 4 * 4;
  if (data.size() < offset + stride * size_t(out.height)) return false;
  const size_t table = 14 + u32(14);
  for (int i = 0; i < 256; ++i) {
    out.palette[i] = uint32_t(data[table + 4 * i + 2]) << 16 |
                     uint32_t(data[table + 4 * i + 1]) << 8 | data[table + 4 * i];
  }
  out.indices.resize(size_t(out.width) * size_t(out.height));
  for (int y = 0; y < out.height; ++y) {
    const uint8_t* row = &data[offset + stride * size_t(out.height - 1 - y)];
    std::memcpy(&out.indices[size_t(y) * size_t(out.width)], row, size_t(out.width));
  }
  return true;
}
