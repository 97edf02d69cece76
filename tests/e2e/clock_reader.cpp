// The on-screen clock reader: picture loading, the block search and the digit matching.
#include "e2e/clock_reader.h"

#include "clock_block.h"
#include "palette/palette_test_support.h"

namespace {

constexpr int kDigitBase = 7000;
constexpr int kColonId = 7010;
constexpr int kCharacterBase[3] = {10000, 9000, 8000};  // hour, minute, second character
constexpr int kFirstDigitEntry = 2;
constexpr int kFirstCharacterEntry = 8;

bool LoadPicture(HMODULE module, int id, PicturePixels& picture) {
  const StoredPicture stored = ReadStoredPicture(module, id);
  picture.width = stored.width;
  picture.height = stored.height;
  picture.colours.clear();
  const int transparent = stored.TransparentIndex();
  for (BYTE index : stored.indices) {
    picture.colours.push_back(index == transparent ? -1 : int32_t(stored.Rgb(index)));
  }
  return stored.width > 0;
}

// Marks where a picture placed at offset can be opaque as painted by draw-list entry.
void MarkDrawer(std::vector<int8_t>& lastDrawer, const PicturePixels& picture, block::Offset offset,
                int entry) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int bx = offset.x + x, by = offset.y + y;
      if (!picture.Opaque(x, y) || bx >= block::kWidth || by >= block::kHeight) continue;
      int8_t& cell = lastDrawer[size_t(by) * block::kWidth + bx];
      if (cell < entry) cell = int8_t(entry);
    }
  }
}

bool OwnedBy(const ClockPictures& pictures, int bx, int by, int entry) {
  return pictures.lastDrawer[size_t(by) * block::kWidth + bx] == entry;
}

// Calls visit(x, y) for each opaque pixel of a picture placed at offset by draw-list entry that
// no later entry can cover: the pixels the reader compares.
template <typename Visit>
void ForOwnPixels(const ClockPictures& pictures, const PicturePixels& picture, block::Offset offset,
                  int entry, Visit visit) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.Opaque(x, y) && OwnedBy(pictures, offset.x + x, offset.y + y, entry)) visit(x, y);
    }
  }
}

int32_t ScreenWord(const ScreenImage& image, int x, int y) {
  const COLORREF c = image.At(x, y);
  if (c == CLR_INVALID) return -2;
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Counts the colon's own pixels that differ from the picture; -1 when none could be compared.
int ColonMismatches(const ScreenImage& image, const ClockPictures& pictures, int blockX, int blockY,
                    int colonIndex) {
  const block::Offset offset = block::kColons[colonIndex];
  int compared = 0, mismatches = 0;
  ForOwnPixels(pictures, pictures.colon, offset, colonIndex, [&](int x, int y) {
    const int32_t seen = ScreenWord(image, blockX + offset.x + x, blockY + offset.y + y);
    compared += seen != -2;
    mismatches += seen != -2 && seen != pictures.colon.Colour(x, y);
  });
  return compared == 0 ? -1 : mismatches;
}

// The digit a cell shows: among the digits whose own pixels all match, the one with the most of
// them (an "8" also explains every pixel of a "0" that it shares). -1 when none matches.
int ReadDigit(const ScreenImage& image, const ClockPictures& pictures, int blockX, int blockY,
              int cell) {
  const block::Offset offset = block::kDigits[cell];
  int best = -1, bestOpaque = 0;
  for (int d = 0; d < 10; ++d) {
    const PicturePixels& digit = pictures.digits[d];
    int opaque = 0;
    bool matches = true;
    ForOwnPixels(pictures, digit, offset, kFirstDigitEntry + cell, [&](int x, int y) {
      if (!matches) return;  // one pixel that differs rules the digit out
      const int32_t seen = ScreenWord(image, blockX + offset.x + x, blockY + offset.y + y);
      if (seen == -2) return;
      matches = seen == digit.Colour(x, y);
      ++opaque;
    });
    if (matches && opaque > bestOpaque) best = d, bestOpaque = opaque;
  }
  return best;
}

}  // namespace

bool LoadClockPictures(const std::string& saverPath, ClockPictures& pictures) {
  pictures = ClockPictures{};
  HMODULE module = LoadLibraryExA(saverPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return false;
  bool ok = LoadPicture(module, kColonId, pictures.colon);
  for (int d = 0; d < 10; ++d) ok = ok && LoadPicture(module, kDigitBase + d, pictures.digits[d]);
  pictures.lastDrawer.assign(size_t(block::kWidth) * block::kHeight, -1);
  if (ok) {
    for (int c : {0, 1}) MarkDrawer(pictures.lastDrawer, pictures.colon, block::kColons[c], c);
    for (int cell = 0; cell < 6; ++cell) {
      for (const PicturePixels& digit : pictures.digits) {
        MarkDrawer(pictures.lastDrawer, digit, block::kDigits[cell], kFirstDigitEntry + cell);
      }
    }
  }
  // Every frame of every strip of each character: the digits must be read where none of them
  // can ever stand.
  for (int s = 0; s < 3 && ok; ++s) {
    for (int k = 0; k < 3 && ok; ++k) {
      for (int i = 0; i < 15 && ok; ++i) {
        PicturePixels frame;
        ok = LoadPicture(module, kCharacterBase[s] + 100 * k + i, frame);
        if (ok)
          MarkDrawer(pictures.lastDrawer, frame, block::kCharacters[s], kFirstCharacterEntry + s);
      }
    }
  }
  FreeLibrary(module);
  pictures.loaded = ok;
  return ok;
}

bool FindClockBlock(const ScreenImage& image, const ClockPictures& pictures, int* x, int* y) {
  if (!pictures.loaded || image.Empty()) return false;
  // A few of colon 0's own pixels, spread over it, reject almost every position at once.
  struct Probe {
    int x, y;
    int32_t colour;
  };
  std::vector<Probe> own;
  const block::Offset colon0 = block::kColons[0];
  ForOwnPixels(pictures, pictures.colon, colon0, 0, [&](int x, int y) {
    own.push_back({colon0.x + x, colon0.y + y, pictures.colon.Colour(x, y)});
  });
  if (own.size() < 3) return false;
  const Probe probes[3] = {own.front(), own[own.size() / 2], own.back()};
  // The block may stand up to one step past an edge before it turns back.
  constexpr int kSlack = 4;
  const int lastY = image.top + image.height - block::kHeight + kSlack;
  for (int by = image.top - kSlack; by <= lastY; ++by) {
    for (int bx = image.left - kSlack; bx <= image.left + image.width - block::kWidth + kSlack;
         ++bx) {
      bool hit = true;
      for (const Probe& p : probes) {
        if (ScreenWord(image, bx + p.x, by + p.y) != p.colour) {
          hit = false;
          break;
        }
      }
      if (!hit) continue;
      if (ColonMismatches(image, pictures, bx, by, 0) == 0 &&
          ColonMismatches(image, pictures, bx, by, 1) == 0) {
        *x = bx;
        *y = by;
        return true;
      }
    }
  }
  return false;
}

ClockReading ReadClock(const ScreenImage& image, const ClockPictures& pictures) {
  ClockReading reading;
  if (!FindClockBlock(image, pictures, &reading.blockX, &reading.blockY)) return reading;
  reading.found = true;
  for (int cell = 0; cell < 6; ++cell) {
    reading.digits[cell] = ReadDigit(image, pictures, reading.blockX, reading.blockY, cell);
    if (reading.digits[cell] < 0) reading.found = false;
  }
  return reading;
}

bool DigitsDistinguishable(const ClockPictures& pictures, std::string* problem) {
  for (int cell = 0; cell < 6; ++cell) {
    const block::Offset offset = block::kDigits[cell];
    const int entry = kFirstDigitEntry + cell;
    int opaque[10] = {};
    for (int d = 0; d < 10; ++d) {
      ForOwnPixels(pictures, pictures.digits[d], offset, entry, [&](int, int) { ++opaque[d]; });
    }
    for (int shown = 0; shown < 10; ++shown) {
      for (int other = 0; other < 10; ++other) {
        if (shown == other) continue;
        // "other" is rejected if one of its own pixels is not the same on "shown"; otherwise it
        // is passed over only for having fewer pixels.
        const PicturePixels& a = pictures.digits[shown];
        const PicturePixels& b = pictures.digits[other];
        int conflicts = 0;
        ForOwnPixels(pictures, b, offset, entry,
                     [&](int x, int y) { conflicts += a.Colour(x, y) != b.Colour(x, y); });
        if (conflicts == 0 && opaque[other] >= opaque[shown]) {
          *problem = "cell " + std::to_string(cell) + ": a " + std::to_string(shown) +
                     " would read as " + std::to_string(other);
          return false;
        }
      }
    }
  }
  return true;
}
