// Contact sheet and clock preview.
#include "sheets.h"

#include <string>

#include "extras.h"
#include "glyphs.h"
#include "layout.h"

namespace {

constexpr Rgb kSheetBack{38, 42, 52};
constexpr Rgb kLabel{214, 218, 230};

void FillRect(RgbImage& image, int x0, int y0, int w, int h, Rgb c) {
  for (int y = std::max(0, y0); y < std::min(image.height, y0 + h); ++y) {
    for (int x = std::max(0, x0); x < std::min(image.width, x0 + w); ++x) image.At(x, y) = c;
  }
}

// Mid-grey checkerboard so transparent pixels are plainly visible.
void Checker(RgbImage& image, int x0, int y0, int w, int h) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool odd = ((x / 8) + (y / 8)) % 2 != 0;
      if (x0 + x < image.width && y0 + y < image.height) {
        image.At(x0 + x, y0 + y) = odd ? Rgb{118, 122, 132} : Rgb{146, 150, 160};
      }
    }
  }
}

void Label(RgbImage& image, const std::string& text, int x, int y, double cap = 9) {
  TextStyle style;
  style.capHeight = cap;
  style.halfStroke = cap * 0.095;
  style.corner = 0.7;
  int w = static_cast<int>(TextWidth(text, style)) + 6;
  int h = static_cast<int>(cap * 1.5) + 4;
  Canvas canvas(w, h);
  canvas.Draw(TextShapes(text, {2, 2}, style), Paint::Solid(kLabel));
  BlendOver(canvas, image, x, y);
}

void Cell(RgbImage& sheet, const IndexedImage& image, const std::vector<Rgb>& palette,
          uint8_t transparent, int x, int y, const std::string& label, int zoom = 1) {
  Checker(sheet, x, y, image.width * zoom, image.height * zoom);
  PasteIndexed(image, palette, transparent, sheet, x, y, zoom);
  Label(sheet, label, x, y + image.height * zoom + 3);
}

std::string StripName(Strip strip) {
  return strip == Strip::kRoll ? "+0" : strip == Strip::kBigRoll ? "+100" : "+200";
}

std::string CharacterName(Character who) {
  return who == Character::kHour ? "HOUR" : who == Character::kMinute ? "MINUTE" : "SECOND";
}

// A made-up desktop, dimmed the way the saver dims it.
void Desktop(RgbImage& image, int x0, int y0, bool light) {
  for (int y = 0; y < kBlockHeight; ++y) {
    for (int x = 0; x < kBlockWidth; ++x) {
      double t = static_cast<double>(y) / kBlockHeight;
      Rgb c = light ? Rgb{static_cast<uint8_t>(206 - 30 * t), static_cast<uint8_t>(214 - 24 * t),
                          static_cast<uint8_t>(228 - 12 * t)}
                    : Rgb{static_cast<uint8_t>(16 + 10 * t), static_cast<uint8_t>(22 + 12 * t),
                          static_cast<uint8_t>(40 + 18 * t)};
      image.At(x0 + x, y0 + y) = c;
    }
  }
  // A window and a few icons, so the clock is seen over some detail.
  Rgb window = light ? Rgb{244, 244, 246} : Rgb{44, 50, 66};
  Rgb bar = light ? Rgb{120, 150, 200} : Rgb{70, 90, 140};
  FillRect(image, x0 + 250, y0 + 30, 230, 130, window);
  FillRect(image, x0 + 250, y0 + 30, 230, 14, bar);
  for (int i = 0; i < 4; ++i) {
    FillRect(image, x0 + 20, y0 + 20 + i * 44, 26, 26,
             light ? Rgb{230, 180, 90} : Rgb{120, 90, 50});
  }
}

}  // namespace

RgbImage MakeContactSheet(const PictureSet& set) {
  const int margin = 20;
  const int frameCell = 182;
  const int stripRow = 176 + 44;
  int width = margin * 2 + frameCell * kFramesPerStrip;
  int height = margin + 30 + 120 + 9 * stripRow + 280;
  RgbImage sheet(width, height, kSheetBack);
  const std::vector<Rgb>& palette = MasterPalette();
  Label(sheet, "LUMORA PICTURES", margin, margin - 6, 14);

  int y = margin + 30;
  for (size_t i = 0; i < set.digits.size(); ++i) {
    Cell(sheet, set.digits[i], palette, 0, margin + static_cast<int>(i) * 96, y,
         std::to_string(7000 + i));
  }
  y += 120;

  for (Character who : {Character::kHour, Character::kMinute, Character::kSecond}) {
    for (Strip strip : {Strip::kRoll, Strip::kBigRoll, Strip::kIdle}) {
      Label(sheet, CharacterName(who) + " " + StripName(strip), margin, y);
      const std::vector<IndexedImage>& frames = set.frames.at({who, strip});
      for (int f = 0; f < kFramesPerStrip; ++f) {
        Cell(sheet, frames[f], palette, 0, margin + f * frameCell, y + 18,
             std::to_string(FrameResourceId(who, strip, f)));
      }
      y += stripRow;
    }
  }

  Cell(sheet, set.preview, PreviewPalette(), kPreviewTransparentIndex, margin, y, "106");
  for (int py = 0; py < set.about.height; ++py) {
    for (int px = 0; px < set.about.width; ++px)
      sheet.At(margin + 160 + px, y + py) = set.about.At(px, py);
  }
  Label(sheet, "104", margin + 160, y + set.about.height + 3);
  std::vector<Rgb> iconPalette = IconPalette();
  Cell(sheet, set.icon, iconPalette, kIconTransparentIndex, margin + 530, y, "108");
  Cell(sheet, set.icon, iconPalette, kIconTransparentIndex, margin + 580, y, "108 X4", 4);
  return sheet;
}

RgbImage MakeClockPreview(const PictureSet& set) {
  struct State {
    std::string label, digits;
    Strip hour, minute, second;
    int hourFrame, minuteFrame, secondFrame;
  };
  // The digits shown are those after the change whenever frame 4 or later is shown.
  const State states[] = {
      {"12:34:56  ALL IDLE", "123456", Strip::kIdle, Strip::kIdle, Strip::kIdle, 0, 0, 0},
      {"12:34:57  SECOND +0 FRAME 4", "123457", Strip::kIdle, Strip::kIdle, Strip::kRoll, 6, 3, 4},
      {"12:35:00  MINUTE +0 / SECOND +100 FRAME 4", "123500", Strip::kIdle, Strip::kRoll,
       Strip::kBigRoll, 9, 4, 4},
      {"20:00:00  ALL +100 FRAME 4", "200000", Strip::kBigRoll, Strip::kBigRoll, Strip::kBigRoll, 4,
       4, 4},
      {"20:00:00  ALL +100 FRAME 7", "200000", Strip::kBigRoll, Strip::kBigRoll, Strip::kBigRoll, 7,
       7, 7},
      {"12:34:56  +0 FRAME 2 (WIND-UP)", "123456", Strip::kRoll, Strip::kRoll, Strip::kRoll, 2, 2,
       2},
  };
  const int margin = 20;
  const int rowHeight = kBlockHeight + 26;
  int count = static_cast<int>(sizeof(states) / sizeof(states[0]));
  RgbImage sheet(margin * 3 + kBlockWidth * 2, margin + count * rowHeight, kSheetBack);
  const std::vector<Rgb>& palette = MasterPalette();
  for (int r = 0; r < count; ++r) {
    const State& s = states[r];
    int y = margin + r * rowHeight;
    Label(sheet, s.label, margin, y);
    for (int column = 0; column < 2; ++column) {
      int x = margin + column * (kBlockWidth + margin);
      Desktop(sheet, x, y + 18, column == 0);
      for (int i = 0; i < 6; ++i) {
        PasteIndexed(set.digits[s.digits[i] - '0'], palette, 0, sheet, x + kDigitX[i], y + 18);
      }
      for (int cx : kColonX) PasteIndexed(set.digits[10], palette, 0, sheet, x + cx, y + 18);
      const std::pair<Character, Strip> keys[3] = {{Character::kHour, s.hour},
                                                   {Character::kMinute, s.minute},
                                                   {Character::kSecond, s.second}};
      const int frames[3] = {s.hourFrame, s.minuteFrame, s.secondFrame};
      for (int c = 0; c < 3; ++c) {
        PasteIndexed(set.frames.at(keys[c])[frames[c]], palette, 0, sheet, x + kCharacterX[c],
                     y + 18 + kCharacterY);
      }
    }
  }
  return sheet;
}
