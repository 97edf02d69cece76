// Checks the generated picture files: formats, shared colour tables, transparency
// keys, the clock block margins, colours and animation sanity.
// Usage: check_pictures OUTDIR   (prints failures, then "N passed, M failed")
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "clock_block.h"

namespace {

struct Colour {
  int r = 0, g = 0, b = 0;
};

struct Picture {
  bool loaded = false;
  std::string error;
  int width = 0, height = 0, bits = 0, clrUsed = 0;
  std::vector<Colour> table;
  std::vector<uint8_t> tableBytes;
  std::vector<int> index;      // 8-bit pictures, top row first
  std::vector<Colour> colour;  // every picture, top row first
  int At(int x, int y) const { return index[y * width + x]; }
};

int passed = 0, failed = 0;

void Check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

uint32_t Le(const std::vector<uint8_t>& d, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | (at + i < d.size() ? d[at + i] : 0);
  return v;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

// Decodes a BITMAPINFOHEADER-based bitmap starting at `info`; `rows` overrides the
// height (icons store twice the height).
bool DecodeDib(const std::vector<uint8_t>& d, size_t info, size_t pixels, int rows, Picture& p) {
  if (Le(d, info, 4) != 40) return p.error = "header size is not 40", false;
  p.width = static_cast<int32_t>(Le(d, info + 4, 4));
  int heightField = static_cast<int32_t>(Le(d, info + 8, 4));
  p.height = rows > 0 ? rows : heightField;
  p.bits = static_cast<int>(Le(d, info + 14, 2));
  p.clrUsed = static_cast<int>(Le(d, info + 32, 4));
  if (heightField <= 0) return p.error = "height not positive (not bottom-up)", false;
  if (Le(d, info + 12, 2) != 1) return p.error = "planes != 1", false;
  if (Le(d, info + 16, 4) != 0) return p.error = "compression is not BI_RGB", false;
  if (p.bits != 8 && p.bits != 24) return p.error = "unsupported bit depth", false;
  if (p.bits == 8) {
    size_t t = info + 40;
    if (t + 1024 > d.size()) return p.error = "truncated colour table", false;
    for (int i = 0; i < 256; ++i)
      p.table.push_back({d[t + 4 * i + 2], d[t + 4 * i + 1], d[t + 4 * i]});
    p.tableBytes.assign(d.begin() + t, d.begin() + t + 1024);
  }
  size_t stride = ((static_cast<size_t>(p.width) * p.bits + 31) / 32) * 4;
  if (pixels + stride * p.height > d.size()) return p.error = "truncated pixel data", false;
  for (int y = 0; y < p.height; ++y) {
    size_t row = pixels + stride * (p.height - 1 - y);
    for (int x = 0; x < p.width; ++x) {
      if (p.bits == 8) {
        p.index.push_back(d[row + x]);
        p.colour.push_back(p.table[d[row + x]]);
      } else {
        p.colour.push_back({d[row + 3 * x + 2], d[row + 3 * x + 1], d[row + 3 * x]});
      }
    }
  }
  p.loaded = true;
  return true;
}

Picture LoadBmp(const std::string& path) {
  Picture p;
  std::vector<uint8_t> d = ReadAll(path);
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') {
    p.error = "missing or not a BMP";
  } else if (Le(d, 2, 4) != d.size()) {
    p.error = "file size field " + std::to_string(Le(d, 2, 4)) + " != " + std::to_string(d.size());
  } else {
    DecodeDib(d, 14, Le(d, 10, 4), 0, p);
  }
  return p;
}

bool PureGreen(const Colour& c) {
  return c.r == 0 && c.g == 255 && c.b == 0;
}
bool Greenish(const Colour& c) {
  return c.g > 200 && c.r < 80 && c.b < 80;
}

// The block's safe area, which every picture keeps to wherever the block places it.
constexpr int kSafeLeft = 7, kSafeTop = 2, kSafeRight = 520, kSafeBottom = 189;

// Returns the number of opaque pixels outside the safe area over all spots.
template <size_t N>
int MarginViolations(const Picture& p, int key, const block::Offset (&spots)[N]) {
  int bad = 0;
  for (const block::Offset& spot : spots) {
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        if (p.At(x, y) == key) continue;
        int bx = spot.x + x, by = spot.y + y;
        if (bx < kSafeLeft || bx > kSafeRight || by < kSafeTop || by > kSafeBottom) ++bad;
      }
    }
  }
  return bad;
}

int TopOpaqueRow(const Picture& p, int key) {
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (p.At(x, y) != key) return y;
    }
  }
  return p.height;
}

// Pixels whose opacity differs between two same-sized indexed pictures.
int OpacityDifference(const Picture& a, const Picture& b, int key) {
  int n = 0;
  for (size_t i = 0; i < a.index.size() && i < b.index.size(); ++i) {
    n += (a.index[i] == key) != (b.index[i] == key);
  }
  return n;
}

int OpaqueCount(const Picture& p, int key) {
  int n = 0;
  for (int v : p.index) n += v != key;
  return n;
}

// The common checks for an 8-bit picture with a transparent key.
void CheckIndexed(const std::string& name, const Picture& p, int w, int h, int key) {
  Check(p.loaded, name + ": readable 8-bit BMP (" + p.error + ")");
  if (!p.loaded) return;
  Check(p.width == w && p.height == h,
        name + ": size " + std::to_string(w) + "x" + std::to_string(h) + " expected, got " +
            std::to_string(p.width) + "x" + std::to_string(p.height));
  Check(p.bits == 8 && p.clrUsed == 256, name + ": 8 bits with biClrUsed 256 expected");
  if (p.bits != 8 || p.width != w || p.height != h) return;
  Check(p.At(0, 0) == key, name + ": top-left pixel should be index " + std::to_string(key));
  Check(PureGreen(p.table[key]),
        name + ": colour table entry " + std::to_string(key) + " must be pure green");
  int green = 0;
  for (size_t i = 0; i < p.index.size(); ++i) green += p.index[i] != key && Greenish(p.colour[i]);
  Check(green == 0, name + ": " + std::to_string(green) + " opaque green-ish pixels");
}

struct StripExpectation {
  const char* name;
  int base;       // resource id of frame 0
  int character;  // 0 to 2: hour, minute, second
};

const StripExpectation kStrips[] = {
    {"hour +0", 10000, 0},  {"hour +100", 10100, 0},  {"hour +200", 10200, 0},
    {"minute +0", 9000, 1}, {"minute +100", 9100, 1}, {"minute +200", 9200, 1},
    {"second +0", 8000, 2}, {"second +100", 8100, 2}, {"second +200", 8200, 2},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: check_pictures OUTDIR\n");
    return 2;
  }
  std::string dir = argv[1];
  auto path = [&dir](int id, const char* ext) { return dir + "/" + std::to_string(id) + ext; };

  // Digits and colon.
  std::vector<Picture> digits;
  for (int id = 7000; id <= 7010; ++id) {
    digits.push_back(LoadBmp(path(id, ".bmp")));
    const Picture& p = digits.back();
    CheckIndexed(std::to_string(id), p, 80, 80, 0);
    if (p.index.size() != 6400) continue;
    Check(p.tableBytes == digits[0].tableBytes,
          std::to_string(id) + ": colour table differs from 7000's");
    int bad = id == 7010 ? MarginViolations(p, 0, block::kColons)
                         : MarginViolations(p, 0, block::kDigits);
    Check(bad == 0, std::to_string(id) + ": " + std::to_string(bad) +
                        " opaque pixels outside block columns 7..520, rows 2..189");
    Check(OpaqueCount(p, 0) > 300, std::to_string(id) + ": picture is (nearly) empty");
  }
  for (size_t i = 0; i < digits.size(); ++i) {
    for (size_t j = i + 1; j < digits.size(); ++j) {
      if (!digits[i].loaded || !digits[j].loaded) continue;
      Check(digits[i].index != digits[j].index,
            std::to_string(7000 + i) + " and " + std::to_string(7000 + j) + " are identical");
    }
  }

  // Character frames.
  std::map<int, Picture> frames;
  for (const StripExpectation& s : kStrips) {
    for (int f = 0; f < 15; ++f) {
      int id = s.base + f;
      Picture& p = frames[id] = LoadBmp(path(id, ".bmp"));
      CheckIndexed(std::to_string(id), p, 176, 176, 0);
      if (p.index.size() != 176 * 176) continue;
      Check(p.tableBytes == frames[10000].tableBytes,
            std::to_string(id) + ": colour table differs from 10000's");
      int bad = MarginViolations(p, 0, {block::kCharacters[s.character]});
      Check(bad == 0, std::to_string(id) + ": " + std::to_string(bad) +
                          " opaque pixels outside block columns 7..520, rows 2..189");
    }
  }
  auto ready = [&frames](int id) { return frames[id].index.size() == 176u * 176u; };
  for (const StripExpectation& s : kStrips) {
    bool allSame = true;
    for (int f = 1; f < 15; ++f) {
      if (ready(s.base) && ready(s.base + f))
        allSame &= frames[s.base].index == frames[s.base + f].index;
    }
    Check(!allSame, std::string(s.name) + ": all 15 frames are identical");
    int idle = s.base - s.base % 1000 + 200;
    if (!ready(s.base + 14) || !ready(idle)) continue;
    // Strips end where the idle loop begins, so the hand-over does not jump.
    int diff = OpacityDifference(frames[s.base + 14], frames[idle], 0);
    Check(diff * 12 < OpaqueCount(frames[idle], 0),
          std::string(s.name) + ": frame 14 silhouette differs from idle frame 0 by " +
              std::to_string(diff) + " pixels");
    if (s.base % 1000 == 200) continue;
    // Actions peak on frame 4: the picture reaches highest there (within 3 rows),
    // clearly above the resting pose.
    int top4 = TopOpaqueRow(frames[s.base + 4], 0);
    int highest = 176;
    for (int f = 0; f < 15; ++f) highest = std::min(highest, TopOpaqueRow(frames[s.base + f], 0));
    Check(top4 <= highest + 3, std::string(s.name) + ": frame 4 is not the peak (top row " +
                                   std::to_string(top4) + ", highest " + std::to_string(highest) +
                                   ")");
    Check(top4 + 12 <= TopOpaqueRow(frames[s.base], 0),
          std::string(s.name) + ": frame 4 barely rises above frame 0");
  }
  for (int f = 0; f < 15; ++f) {
    for (int strip : {0, 100, 200}) {
      int ids[3] = {10000 + strip + f, 9000 + strip + f, 8000 + strip + f};
      for (int a = 0; a < 3; ++a) {
        for (int b = a + 1; b < 3; ++b) {
          if (!ready(ids[a]) || !ready(ids[b])) continue;
          Check(OpacityDifference(frames[ids[a]], frames[ids[b]], 0) > 500,
                std::to_string(ids[a]) + " and " + std::to_string(ids[b]) + " look alike");
        }
      }
    }
  }
  // On 256-colour displays the clock is shown through 10000's table: digit colours
  // need close matches there.
  if (ready(10000) && digits[0].loaded) {
    int worst = 0;
    for (const Picture& d : digits) {
      for (size_t i = 0; i < d.index.size(); ++i) {
        if (d.index[i] == 0) continue;
        int best = 1 << 30;
        for (const Colour& c : frames[10000].table) {
          int dr = c.r - d.colour[i].r, dg = c.g - d.colour[i].g, db = c.b - d.colour[i].b;
          best = std::min(best, dr * dr + dg * dg + db * db);
        }
        worst = std::max(worst, best);
      }
    }
    Check(worst <= 3 * 12 * 12, "digit colours lack close matches in 10000's colour table");
  }

  // Preview: index 2 is its transparent key.
  Picture preview = LoadBmp(dir + "/106.bmp");
  CheckIndexed("106", preview, 136, 136, 2);

  // About picture.
  Picture about = LoadBmp(dir + "/104.bmp");
  Check(about.loaded && about.width == 340 && about.height == 230 && about.bits == 24,
        "104: 340x230 24-bit BMP expected (" + about.error + ")");
  int aboutGreen = 0;
  for (const Colour& c : about.colour) aboutGreen += Greenish(c);
  Check(about.loaded && aboutGreen == 0, "104: green-ish pixels present");

  // Icon: one 32x32 256-colour image with an AND mask.
  std::vector<uint8_t> ico = ReadAll(dir + "/108.ico");
  bool header = ico.size() >= 22 && Le(ico, 0, 2) == 0 && Le(ico, 2, 2) == 1 && Le(ico, 4, 2) == 1;
  Check(header, "108: ICONDIR must be reserved 0, type 1, count 1");
  if (header) {
    Check(ico[6] == 32 && ico[7] == 32 && ico[8] == 0 && Le(ico, 10, 2) == 1 && Le(ico, 12, 2) == 8,
          "108: entry must be 32x32, colour count 0, planes 1, bitcount 8");
    size_t offset = Le(ico, 18, 4), size = Le(ico, 14, 4);
    const size_t expected = 40 + 1024 + 32 * 32 + 32 * 4;
    Check(size == expected && offset + size == ico.size(),
          "108: image data must be " + std::to_string(expected) + " bytes ending the file");
    Picture icon;
    bool ok = offset + expected <= ico.size() && Le(ico, offset + 8, 4) == 64 &&
              DecodeDib(ico, offset, offset + 40 + 1024, 32, icon);
    Check(ok && icon.bits == 8 && icon.width == 32,
          "108: BITMAPINFOHEADER 32x64, 8 bits expected " + icon.error);
    if (ok) {
      size_t mask = offset + 40 + 1024 + 1024;
      int transparent = 0, leaks = 0;
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          bool masked = (ico[mask + (31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1;
          const Colour& c = icon.table[icon.At(x, y)];
          transparent += masked;
          // Masked pixels are XORed onto the screen: anything but black shows.
          leaks += masked && (c.r | c.g | c.b) != 0;
        }
      }
      Check(transparent > 0 && transparent < 900, "108: mask should be partly transparent");
      Check(leaks == 0, "108: " + std::to_string(leaks) + " masked pixels are not black");
      Check((ico[mask + 31 * 4] >> 7) & 1, "108: top-left pixel should be masked (transparent)");
    }
  }

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
