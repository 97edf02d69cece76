// PNG container, checksums and a fixed-Huffman deflate encoder.
#include "png.h"

#include <array>

namespace {

// Bits are packed least-significant first, as deflate requires.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      acc_ |= ((value >> i) & 1u) << bits_;
      if (++bits_ == 8) Flush();
    }
  }
  // Huffman codes are defined most-significant bit first.
  void PutCode(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Put((code >> i) & 1u, 1);
  }
  void Finish() {
    if (bits_ > 0) Flush();
  }

 private:
  void Flush() {
    out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    bits_ = 0;
  }
  std::vector<uint8_t>& out_;
  uint32_t acc_ = 0;
  int bits_ = 0;
};

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};

void PutSymbol(BitWriter& w, int sym) {
  if (sym < 144) {
    w.PutCode(0x30 + sym, 8);
  } else if (sym < 256) {
    w.PutCode(0x190 + sym - 144, 9);
  } else if (sym < 280) {
    w.PutCode(sym - 256, 7);
  } else {
    w.PutCode(0xC0 + sym - 280, 8);
  }
}

void PutMatch(BitWriter& w, int length, int distance) {
  int li = 28;
  while (kLengthBase[li] > length) --li;
  PutSymbol(w, 257 + li);
  w.Put(static_cast<uint32_t>(length - kLengthBase[li]), kLengthExtra[li]);
  int di = 29;
  while (kDistBase[di] > distance) --di;
  w.PutCode(static_cast<uint32_t>(di), 5);
  int extra = di < 4 ? 0 : di / 2 - 1;
  w.Put(static_cast<uint32_t>(distance - kDistBase[di]), extra);
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uint32_t crc = Crc32(out.data() + start, out.size() - start);
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
}

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  constexpr int kWindow = 32768;
  constexpr int kHashSize = 1 << 15;
  constexpr int kMaxChain = 24;
  std::vector<uint8_t> out;
  BitWriter w(out);
  w.Put(1, 1);  // final block
  w.Put(1, 2);  // fixed Huffman codes
  std::vector<int> head(kHashSize, -1);
  std::vector<int> prev(data.size(), -1);
  auto hashAt = [&data](size_t i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
  };
  auto insert = [&](size_t i) {
    if (i + 2 >= data.size()) return;
    int h = hashAt(i);
    prev[i] = head[h];
    head[h] = static_cast<int>(i);
  };
  size_t i = 0;
  while (i < data.size()) {
    int bestLen = 0, bestDist = 0;
    if (i + 2 < data.size()) {
      int cand = head[hashAt(i)];
      for (int chain = 0; cand >= 0 && chain < kMaxChain; ++chain, cand = prev[cand]) {
        int dist = static_cast<int>(i) - cand;
        if (dist > kWindow) break;
        int len = 0;
        while (len < 258 && i + len < data.size() && data[cand + len] == data[i + len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestDist = dist;
        }
      }
    }
    if (bestLen >= 3) {
      PutMatch(w, bestLen, bestDist);
      for (int k = 0; k < bestLen; ++k) insert(i + k);
      i += bestLen;
    } else {
      PutSymbol(w, data[i]);
      insert(i);
      ++i;
    }
  }
  PutSymbol(w, 256);
  w.Finish();
  return out;
}

std::vector<uint8_t> EncodePng(const RgbImage& image) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(image.width * 3 + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.At(x, y);
      raw.push_back(c.r);
      raw.push_back(c.g);
      raw.push_back(c.b);
    }
  }
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian32(header, static_cast<uint32_t>(image.width));
  PutBigEndian32(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  PutChunk(out, "IHDR", header);
  std::vector<uint8_t> z = {0x78, 0x01};
  std::vector<uint8_t> body = Deflate(raw);
  z.insert(z.end(), body.begin(), body.end());
  PutBigEndian32(z, Adler32(raw));
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}
