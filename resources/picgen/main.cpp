// Picture generator: draws every picture of the screen saver and writes them as the
// BMP/ICO files compiled into the executable, plus PNG sheets for review.
// Usage: picgen OUTDIR
#include <cstdio>
#include <filesystem>
#include <string>

#include "characters.h"
#include "extras.h"
#include "glyphs.h"
#include "image_file.h"
#include "layout.h"
#include "png.h"
#include "sheets.h"

namespace {

bool Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  if (WriteFile(dir + "/" + name, bytes)) return true;
  std::fprintf(stderr, "picgen: cannot write %s/%s\n", dir.c_str(), name.c_str());
  return false;
}

bool Fail(const std::string& message) {
  std::fprintf(stderr, "picgen: %s\n", message.c_str());
  return false;
}

bool Run(const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return Fail("cannot create " + dir + ": " + error.message());

  const std::vector<Rgb>& palette = MasterPalette();
  Quantizer quantizer(palette, 0);
  PictureSet set;

  for (int glyph = 0; glyph <= kColonGlyph; ++glyph) {
    IndexedImage image = MakeDigitPicture(glyph, quantizer);
    std::string id = std::to_string(7000 + glyph);
    if (glyph == kColonGlyph) {
      for (int x : kColonX) {
        std::string problem = SafeAreaProblem(image, x, kDigitY, 0);
        if (!problem.empty()) return Fail(id + ": " + problem);
      }
    } else {
      for (int x : kDigitX) {
        std::string problem = SafeAreaProblem(image, x, kDigitY, 0);
        if (!problem.empty()) return Fail(id + ": " + problem);
      }
    }
    if (!Save(dir, id + ".bmp", EncodeBmp8(image, palette))) return false;
    set.digits.push_back(image);
  }

  for (Character who : {Character::kHour, Character::kMinute, Character::kSecond}) {
    for (Strip strip : {Strip::kRoll, Strip::kBigRoll, Strip::kIdle}) {
      for (int frame = 0; frame < kFramesPerStrip; ++frame) {
        IndexedImage image = MakeCharacterFrame(who, strip, frame, quantizer);
        std::string id = std::to_string(FrameResourceId(who, strip, frame));
        std::string problem = SafeAreaProblem(image, CharacterX(who), kCharacterY, 0);
        if (!problem.empty()) return Fail(id + ": " + problem);
        if (!Save(dir, id + ".bmp", EncodeBmp8(image, palette))) return false;
        set.frames[{who, strip}].push_back(image);
      }
    }
  }

  std::vector<Rgb> previewPalette = PreviewPalette();
  set.preview = MakePreviewPicture(previewPalette);
  set.about = MakeAboutPicture();
  for (const DialogScale& scale : kDialogScales) {
    IndexedImage preview =
        scale.percent == 100 ? set.preview : MakePreviewPicture(previewPalette, scale.percent);
    if (!Save(dir, std::to_string(scale.previewId) + ".bmp", EncodeBmp8(preview, previewPalette))) {
      return false;
    }
    RgbImage about = scale.percent == 100 ? set.about : MakeAboutPicture(scale.percent);
    if (!Save(dir, std::to_string(scale.aboutId) + ".bmp", EncodeBmp24(about))) return false;
  }
  std::vector<Rgb> iconPalette = IconPalette();
  set.icon = MakeIconPicture(iconPalette);
  if (!Save(dir, "108.ico", EncodeIco8(set.icon, iconPalette, kIconTransparentIndex))) {
    return false;
  }

  if (!Save(dir, "contact_sheet.png", EncodePng(MakeContactSheet(set)))) return false;
  if (!Save(dir, "clock_preview.png", EncodePng(MakeClockPreview(set)))) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: picgen OUTDIR\n");
    return 2;
  }
  return Run(argv[1]) ? 0 : 1;
}
