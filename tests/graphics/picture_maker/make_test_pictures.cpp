// Writes the graphics tests' pictures as 8-bit bottom-up BMP files into the folder given, for
// tests/graphics/test_pictures.rc. Runs on the build machine. It lives outside tests/graphics
// itself because every .cpp there is compiled into the Windows test program.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../test_pictures.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::vector<uint8_t> EncodeBmp(const test_pictures::Picture& picture) {
  const uint32_t rowBytes = (picture.width + 3) / 4 * 4;
  const uint32_t pixelOffset = 14 + 40 + 256 * 4;
  const uint32_t pixelBytes = rowBytes * picture.height;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, pixelOffset + pixelBytes);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, 40);
  Put32(out, picture.width);
  Put32(out, picture.height);  // positive: bottom-up rows
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, 0);  // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 256);
  Put32(out, 0);
  for (int i = 0; i < 256; ++i) {
    const test_pictures::Rgb rgb = test_pictures::PaletteEntry(i);
    out.push_back(rgb.blue);
    out.push_back(rgb.green);
    out.push_back(rgb.red);
    out.push_back(0);
  }
  for (int row = picture.height - 1; row >= 0; --row) {
    for (uint32_t x = 0; x < rowBytes; ++x) {
      // Padding holds the transparent index, so reading it as pixels shows up in the mask.
      const bool padding = x >= uint32_t(picture.width);
      out.push_back(padding ? picture.transparentIndex : picture.indexAt(int(x), row));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_test_pictures OUTPUT_DIR\n");
    return 2;
  }
  for (const test_pictures::Picture& picture : test_pictures::kAll) {
    const std::string path = std::string(argv[1]) + "/" + std::to_string(picture.id) + ".bmp";
    const std::vector<uint8_t> bytes = EncodeBmp(picture);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      std::fprintf(stderr, "make_test_pictures: cannot write %s\n", path.c_str());
      if (file != nullptr) std::fclose(file);
      return 1;
    }
    std::fclose(file);
  }
  return 0;
}
