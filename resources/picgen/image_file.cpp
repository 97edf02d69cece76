// BMP and ICO encoding. All multi-byte fields are little-endian.
#include "image_file.h"

#include <fstream>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

int RowStride(int width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

// BITMAPINFOHEADER; heightField is doubled for icons (colour + mask).
void PutInfoHeader(std::vector<uint8_t>& out, int width, int heightField, int bits,
                   uint32_t imageSize, uint32_t coloursUsed) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(heightField));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, coloursUsed);
  Put32(out, 0);
}

void PutColourTable(std::vector<uint8_t>& out, const std::vector<Rgb>& palette) {
  for (int i = 0; i < 256; ++i) {
    Rgb c = i < static_cast<int>(palette.size()) ? palette[i] : Rgb{};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
}

void PutIndexedRows(std::vector<uint8_t>& out, const IndexedImage& image) {
  int stride = RowStride(image.width, 8);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) out.push_back(image.At(x, y));
    for (int x = image.width; x < stride; ++x) out.push_back(0);
  }
}

void PutFileHeader(std::vector<uint8_t>& out, uint32_t fileSize, uint32_t pixelOffset) {
  out.push_back('B');
  out.push_back('M');
  Put32(out, fileSize);
  Put32(out, 0);
  Put32(out, pixelOffset);
}

}  // namespace

std::vector<uint8_t> EncodeBmp8(const IndexedImage& image, const std::vector<Rgb>& palette) {
  uint32_t imageSize = static_cast<uint32_t>(RowStride(image.width, 8) * image.height);
  uint32_t offset = 14 + 40 + 256 * 4;
  std::vector<uint8_t> out;
  PutFileHeader(out, offset + imageSize, offset);
  PutInfoHeader(out, image.width, image.height, 8, imageSize, 256);
  PutColourTable(out, palette);
  PutIndexedRows(out, image);
  return out;
}

std::vector<uint8_t> EncodeBmp24(const RgbImage& image) {
  int stride = RowStride(image.width, 24);
  uint32_t imageSize = static_cast<uint32_t>(stride * image.height);
  std::vector<uint8_t> out;
  PutFileHeader(out, 54 + imageSize, 54);
  PutInfoHeader(out, image.width, image.height, 24, imageSize, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.At(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int x = image.width * 3; x < stride; ++x) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco8(const IndexedImage& image, const std::vector<Rgb>& palette,
                                uint8_t transparentIndex) {
  int maskStride = RowStride(image.width, 1);
  uint32_t xorSize = static_cast<uint32_t>(RowStride(image.width, 8) * image.height);
  uint32_t andSize = static_cast<uint32_t>(maskStride * image.height);
  uint32_t dataSize = 40 + 256 * 4 + xorSize + andSize;
  std::vector<uint8_t> out;
  // ICONDIR
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  // ICONDIRENTRY
  out.push_back(static_cast<uint8_t>(image.width));
  out.push_back(static_cast<uint8_t>(image.height));
  out.push_back(0);  // 256 colours
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, dataSize);
  Put32(out, 6 + 16);
  PutInfoHeader(out, image.width, image.height * 2, 8, xorSize + andSize, 256);
  PutColourTable(out, palette);
  PutIndexedRows(out, image);
  for (int y = image.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) == transparentIndex) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}
