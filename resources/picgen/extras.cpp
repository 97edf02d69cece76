// Preview, about picture and icon, and the vector clock scene the preview shows.
#include "extras.h"

#include "character_kit.h"
#include "characters.h"
#include "glyphs.h"
#include "layout.h"
#include "../resource_ids.h"

namespace {

// Draws text with the digits' look: dark outline, drop shadow, shaded fill.
void DrawTitleText(Canvas& canvas, const std::string& text, Vec2 origin, const TextStyle& style,
                   const Paint& fill) {
  std::vector<Shape> shadow = TextShapes(text, origin + Vec2{1.6, 2.6}, style);
  canvas.Draw(shadow, Paint::Solid(kInk), 2.4);
  canvas.Draw(TextShapes(text, origin, style), fill, 2.4);
}

}  // namespace

const DialogScale kDialogScales[4] = {{100, IDB_ABOUT, IDB_PREVIEW},
                                      {125, IDB_ABOUT_125, IDB_PREVIEW_125},
                                      {150, IDB_ABOUT_150, IDB_PREVIEW_150},
                                      {200, IDB_ABOUT_200, IDB_PREVIEW_200}};

// Halves round up, as Windows' MulDiv does for the program's own sizes.
int ScaledLength(int length, int percent) {
  return (length * percent + 50) / 100;
}

void DrawClockScene(Canvas& canvas, const Affine& placement, const std::string& hhmmss,
                    const Pose& hour, const Pose& minute, const Pose& second) {
  canvas.SetPlacement(placement);
  for (int i = 0; i < 6 && i < static_cast<int>(hhmmss.size()); ++i) {
    canvas.SetTransform(Affine::Translate(kDigitX[i], kDigitY));
    DrawFigure(canvas, hhmmss[i] - '0', DigitPictureBox());
  }
  for (int x : kColonX) {
    canvas.SetTransform(Affine::Translate(x, kDigitY));
    DrawFigure(canvas, kColonGlyph, DigitPictureBox());
  }
  const Character who[3] = {Character::kHour, Character::kMinute, Character::kSecond};
  const Pose* poses[3] = {&hour, &minute, &second};
  for (int i = 0; i < 3; ++i) {
    canvas.SetPlacement(Affine::Translate(CharacterX(who[i]), kCharacterY).Then(placement));
    DrawCharacter(canvas, who[i], *poses[i]);
  }
  canvas.SetPlacement(Affine());
  canvas.SetTransform(Affine());
}

std::vector<Rgb> PreviewPalette() {
  std::vector<Rgb> p = MasterPalette();
  std::swap(p[0], p[kPreviewTransparentIndex]);
  return p;
}

IndexedImage MakePreviewPicture(const std::vector<Rgb>& palette, int percent) {
  Canvas canvas(ScaledLength(136, percent), ScaledLength(136, percent));
  canvas.SetScale(percent / 100.0);
  // Stand.
  canvas.Draw(Polygon({{58, 98}, {78, 98}, {84, 118}, {52, 118}}),
              Paint::Ramp(RampId::kSlate, 8).Gradient(98, 118, -2), 1.5);
  canvas.Draw(RoundBox({68, 121}, 30, 5, 4),
              Paint::Ramp(RampId::kSlate, 10).Light({56, 118}, 20, 3), 1.5);
  // Monitor frame and screen showing a dimmed desktop.
  canvas.Draw(RoundBox({68, 58}, 63, 44, 7),
              Paint::Ramp(RampId::kSlate, 10).Light({30, 20}, 80, 3).Rim(2, 2), 1.5);
  canvas.Draw(RoundBox({68, 55}, 56, 36, 2.5),
              Paint::Ramp(RampId::kIce, 3).Gradient(19, 91, 2).Light({40, 25}, 50, 1.5), 1.2);
  canvas.Draw(Circle({68, 96.5}, 1.6), Paint::Ramp(RampId::kLeaf, 12));

  Pose hour;
  Pose minute;
  minute.armL = minute.armR = 0.1;
  Pose second;
  second.swing = 10;
  double scale = 104.0 / 534.0;
  Affine place = Affine::Scale(scale, scale).Then(Affine::Translate(16, 55 - 97 * scale));
  DrawClockScene(canvas, place, "123456", hour, minute, second);

  Quantizer quantizer(palette, kPreviewTransparentIndex);
  return ToIndexed(canvas, quantizer, kPreviewTransparentIndex);
}

RgbImage MakeAboutPicture(int percent) {
  const int pictureWidth = ScaledLength(340, percent);
  const int pictureHeight = ScaledLength(230, percent);
  RgbImage image(pictureWidth, pictureHeight, Rgb{255, 255, 255});
  Canvas canvas(pictureWidth, pictureHeight);
  canvas.SetScale(percent / 100.0);

  // Title: one letter pair in each character's colour.
  TextStyle title;
  title.capHeight = 46;
  title.halfStroke = 4.8;
  title.corner = 1.1;
  title.spacing = 1.7;
  double width = TextWidth("Lumora", title);
  double x = 170 - width / 2;
  const char* pairs[3] = {"Lu", "mo", "ra"};
  const RampId ramps[3] = {RampId::kTeal, RampId::kViolet, RampId::kOrange};
  for (int i = 0; i < 3; ++i) {
    Paint fill = Paint::Ramp(ramps[i], 12.5);
    fill.Gradient(16, 62, 4.5).Rim(2, 1.5);
    DrawTitleText(canvas, pairs[i], {x, 14}, title, fill);
    x += TextWidth(pairs[i], title) + title.spacing * title.capHeight / 6;
  }

  TextStyle small;
  small.capHeight = 11;
  small.halfStroke = 1.1;
  small.corner = 0.8;
  small.spacing = 1.6;
  canvas.Draw(TextShapes("ScreenSaver", {170 - TextWidth("ScreenSaver", small) / 2, 72}, small),
              Paint::Ramp(RampId::kSlate, 6));

  // The three characters standing together, each in a cheerful pose.
  Pose hour;
  hour.armR = 0.85;
  hour.mouth = Mouth::kGrin;
  Pose minute;
  minute.eyes = Eyes::kHappy;
  minute.mouth = Mouth::kGrin;
  minute.swing = -8;
  Pose second;
  second.armL = 0.7;
  second.swing = 12;
  const Character who[3] = {Character::kHour, Character::kMinute, Character::kSecond};
  const Pose* poses[3] = {&hour, &minute, &second};
  const double scale = 0.8;
  for (int i = 0; i < 3; ++i) {
    double cx = 66 + 104 * i;
    canvas.SetPlacement(Affine());
    canvas.SetTransform(Affine());
    canvas.Draw(Ellipse({cx, 199}, 32, 4.5), Paint::Solid(Rgb{232, 234, 242}));
    canvas.SetPlacement(
        Affine::Scale(scale, scale).Then(Affine::Translate(cx - 85 * scale, 200 - 146 * scale)));
    DrawCharacter(canvas, who[i], *poses[i]);
  }
  canvas.SetPlacement(Affine());
  canvas.SetTransform(Affine());

  TextStyle tiny;
  tiny.capHeight = 7;
  tiny.halfStroke = 0.75;
  tiny.corner = 0.7;
  tiny.spacing = 1.7;
  const std::string notice = "(c) 2026 QUENDRA";
  canvas.Draw(TextShapes(notice, {170 - TextWidth(notice, tiny) / 2, 214}, tiny),
              Paint::Ramp(RampId::kGrey, 8));
  BlendOver(canvas, image, 0, 0);
  return image;
}

std::vector<Rgb> IconPalette() {
  std::vector<Rgb> p = MasterPalette();
  p[kIconTransparentIndex] = Rgb{0, 0, 0};
  return p;
}

IndexedImage MakeIconPicture(const std::vector<Rgb>& palette) {
  Canvas canvas(32, 32, 6);
  const double line = 1.3;
  canvas.Draw(Stroke({{16, 9}, {16, 4.5}}, 0.8), Paint::Ramp(RampId::kSlate, 10), line);
  canvas.Draw(Circle({16, 4.2}, 2.4), Paint::Ramp(RampId::kAmber, 10).Light({15, 3}, 2.5, 5), line);
  for (double x : {3.2, 28.8}) {
    canvas.Draw(RoundBox({x, 18}, 1.8, 3.4, 1.2), Paint::Ramp(RampId::kAmber, 9), line);
  }
  canvas.Draw(RoundBox({16, 18}, 12.5, 10, 4.5),
              Paint::Ramp(RampId::kTeal, 9).Light({10, 11}, 14, 4).Rim(1.6, 2.5), line);
  canvas.Draw(RoundBox({16, 18.5}, 9, 6.3, 2.8),
              Paint::Ramp(RampId::kIce, 1.2).Gradient(12, 25, -1.5), 0.9);
  for (double x : {12.2, 19.8}) {
    canvas.Draw(RoundBox({x, 16.4}, 1.7, 2.2, 1.4), Paint::Ramp(RampId::kCyan, 12));
  }
  canvas.Draw(Stroke(ArcPoints({16, 19.6}, 2.6, 2.4, 35, 145, 8), 0.6),
              Paint::Ramp(RampId::kCyan, 11));
  Quantizer quantizer(palette, kIconTransparentIndex);
  return ToIndexed(canvas, quantizer, kIconTransparentIndex);
}
