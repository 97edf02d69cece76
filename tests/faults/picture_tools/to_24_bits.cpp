// Host tool: writes an 8-bit BMP again as a 24-bit BMP with the same pixels, for the saver copy
// whose resources hold one picture in a form the saver must refuse.
//   to_24_bits IN.bmp OUT.bmp
#include <cstdio>

#include "faults/bmp8.h"

int main(int argc, char** argv) {
  Bmp8 picture;
  if (argc != 3 || !ReadBmp8(argv[1], picture)) {
    std::fprintf(stderr, "to_24_bits: cannot read an 8-bit BMP from %s\n",
                 argc > 1 ? argv[1] : "?");
    return 1;
  }
  const size_t stride = (size_t(picture.width) * 3 + 3) / 4 * 4;
  const uint32_t imageSize = uint32_t(stride * size_t(picture.height));
  std::vector<uint8_t> out(54 + imageSize, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, uint32_t(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(picture.width));
  put32(22, uint32_t(picture.height));
  out[26] = 1;
  out[28] = 24;
  put32(34, imageSize);
  for (int y = 0; y < picture.height; ++y) {
    uint8_t* row = &out[54 + stride * size_t(picture.height - 1 - y)];
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t colour = picture.palette[picture.At(x, y)];
      row[3 * x] = uint8_t(colour);
      row[3 * x + 1] = uint8_t(colour >> 8);
      row[3 * x + 2] = uint8_t(colour >> 16);
    }
  }
  FILE* file = std::fopen(argv[2], "wb");
  if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size()) return 1;
  return std::fclose(file) == 0 ? 0 : 1;
}
