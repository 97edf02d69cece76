// Glyph table, text layout and the clock figures.
#include "glyphs.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// Stroke lists: points "x,y" separated by spaces, strokes separated by '|'.
const std::map<char, const char*> kGlyphSource = {
    {'0', "0,0 4,0 4,6 0,6 0,0"},
    {'1', "1.1,1.3 2.5,0 2.5,6"},
    {'2', "0,1.2 0,0 4,0 4,3 0,3 0,6 4,6"},
    {'3', "0,1.2 0,0 4,0 4,6 0,6 0,4.8|1.2,3 4,3"},
    {'4', "0,0 0,3 4,3|4,0 4,6"},
    {'5', "4,0 0,0 0,3 4,3 4,6 0,6 0,4.8"},
    {'6', "4,1.2 4,0 0,0 0,6 4,6 4,3 0,3"},
    {'7', "0,1.2 0,0 4,0 4,6"},
    {'8', "0,0 4,0 4,6 0,6 0,0|0,3 4,3"},
    {'9', "0,4.8 0,6 4,6 4,0 0,0 0,3 4,3"},
    {'A', "0,6 0,0 4,0 4,6|0,3.2 4,3.2"},
    {'B', "0,3 3.4,3 3.4,0 0,0 0,6 4,6 4,3 3,3"},
    {'C', "4,0 0,0 0,6 4,6"},
    {'D', "0,0 2.8,0 4,1.4 4,4.6 2.8,6 0,6 0,0"},
    {'E', "4,0 0,0 0,6 4,6|0,3 3,3"},
    {'F', "4,0 0,0 0,6|0,3 3,3"},
    {'G', "4,0 0,0 0,6 4,6 4,3 2.2,3"},
    {'H', "0,0 0,6|4,0 4,6|0,3 4,3"},
    {'I', "0,0 0,6"},
    {'J', "4,0 4,6 0,6 0,4.6"},
    {'K', "0,0 0,6|4,0 0.6,3 4,6"},
    {'L', "0,0 0,6 4,6"},
    {'M', "0,6 0,0 5,0 5,6|2.5,0 2.5,4"},
    {'N', "0,6 0,0 4,6 4,0"},
    {'O', "0,0 4,0 4,6 0,6 0,0"},
    {'P', "0,6 0,0 4,0 4,3.2 0,3.2"},
    {'Q', "0,0 4,0 4,6 0,6 0,0|2.6,4.6 4.4,6.4"},
    {'R', "0,6 0,0 4,0 4,3.2 0,3.2|2,3.2 4,6"},
    {'S', "4,0 0,0 0,3 4,3 4,6 0,6"},
    {'T', "0,0 4,0|2,0 2,6"},
    {'U', "0,0 0,6 4,6 4,0"},
    {'V', "0,0 2,6 4,0"},
    {'W', "0,0 0,6 5,6 5,0|2.5,6 2.5,2"},
    {'X', "0,0 4,6|4,0 0,6"},
    {'Y', "0,0 2,3 4,0|2,3 2,6"},
    {'Z', "0,0 4,0 0,6 4,6"},
    {'a', "0,2 4,2 4,6 0,6 0,4 4,4"},
    {'c', "4,2 0,2 0,6 4,6"},
    {'e', "4,6 0,6 0,2 4,2 4,4 0,4"},
    {'m', "0,6 0,2 5,2 5,6|2.5,2 2.5,6"},
    {'n', "0,6 0,2 4,2 4,6"},
    {'o', "0,2 4,2 4,6 0,6 0,2"},
    {'r', "0,6 0,2 3.4,2"},
    {'u', "0,2 0,6 4,6|4,2 4,6"},
    {'v', "0,2 2,6 4,2"},
    {'(', "1.4,-0.4 0,1 0,5 1.4,6.4"},
    {')', "0,-0.4 1.4,1 1.4,5 0,6.4"},
    {':', "0,1.8 0,1.8|0,5.2 0,5.2"},
    {'.', "0,6 0,6"},
    {'-', "0,3.5 2.6,3.5"},
    {'+', "0,3.4 3.6,3.4|1.8,1.6 1.8,5.2"},
    {'/', "0,6 3,0"},
    {' ', ""},
};

Glyph Parse(const char* source) {
  Glyph g;
  g.width = 0;
  std::stringstream all(source);
  std::string stroke;
  while (std::getline(all, stroke, '|')) {
    std::stringstream pts(stroke);
    std::string pair;
    Polyline line;
    while (pts >> pair) {
      size_t comma = pair.find(',');
      double x = std::strtod(pair.substr(0, comma).c_str(), nullptr);
      double y = std::strtod(pair.substr(comma + 1).c_str(), nullptr);
      line.push_back({x, y});
      g.width = std::max(g.width, x);
    }
    if (!line.empty()) g.strokes.push_back(line);
  }
  if (g.strokes.empty()) g.width = 1.6;  // space
  return g;
}

}  // namespace

const Glyph* FindGlyph(char c) {
  static const std::map<char, Glyph> glyphs = [] {
    std::map<char, Glyph> m;
    for (const auto& entry : kGlyphSource) m[entry.first] = Parse(entry.second);
    return m;
  }();
  auto it = glyphs.find(c);
  return it == glyphs.end() ? nullptr : &it->second;
}

std::vector<Shape> TextShapes(const std::string& text, Vec2 origin, const TextStyle& style) {
  double unit = style.capHeight / 6.0;
  std::vector<Shape> shapes;
  double x = origin.x;
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    if (g == nullptr) continue;
    for (const Polyline& line : g->strokes) {
      Polyline px;
      for (const Vec2& p : line) px.push_back({x + p.x * unit, origin.y + p.y * unit});
      shapes.push_back(Stroke(RoundCorners(px, style.corner * unit), style.halfStroke));
    }
    x += (g->width + style.spacing) * unit;
  }
  return shapes;
}

double TextWidth(const std::string& text, const TextStyle& style) {
  double unit = style.capHeight / 6.0;
  double w = 0;
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    if (g != nullptr) w += (g->width + style.spacing) * unit;
  }
  return text.empty() ? 0 : w - style.spacing * unit;
}

namespace {

std::vector<Shape> FigureShapes(int glyph, const FigureBox& box, Vec2 offset) {
  std::vector<Shape> shapes;
  if (glyph == kColonGlyph) {
    // Two rounded squares, as heavy as the digit strokes, centred in the box.
    double cx = (box.left + box.right) * 0.5 + offset.x;
    double mid = (box.top + box.bottom) * 0.5 + offset.y;
    double gap = (box.bottom - box.top) * 0.25;
    double half = box.halfStroke + 0.6;
    shapes.push_back(RoundBox({cx, mid - gap}, half, half, half * 0.55));
    shapes.push_back(RoundBox({cx, mid + gap}, half, half, half * 0.55));
    return shapes;
  }
  const Glyph* g = FindGlyph(static_cast<char>('0' + glyph));
  double sx = (box.right - box.left) / 4.0;
  double sy = (box.bottom - box.top) / 6.0;
  for (const Polyline& line : g->strokes) {
    Polyline px;
    for (const Vec2& p : line) {
      px.push_back({box.left + p.x * sx + offset.x, box.top + p.y * sy + offset.y});
    }
    shapes.push_back(Stroke(RoundCorners(px, box.corner), box.halfStroke));
  }
  return shapes;
}

}  // namespace

FigureBox DigitPictureBox() {
  // Centred on column 39.5 so digits and colons line up in the clock block.
  return FigureBox{18.5, 10.5, 60.5, 67.5, 5.1, 13.5, 2.4, {1.3, 2.0}};
}

void DrawFigure(Canvas& canvas, int glyph, const FigureBox& box) {
  std::vector<Shape> shadow = FigureShapes(glyph, box, box.shadow);
  canvas.Draw(shadow, Paint::Solid(kInk), box.ink);
  std::vector<Shape> figure = FigureShapes(glyph, box, {0, 0});
  double height = box.bottom - box.top;
  // Bright at the top, cooling towards the bottom, with a slightly darker rim
  // that gives the strokes a rounded feel.
  Paint fill = Paint::Ramp(RampId::kIce, 15.4);
  fill.Gradient(box.top, box.bottom + box.halfStroke, 3.6);
  fill.Rim(box.halfStroke * 0.5, 2.2);
  fill.Light({box.left, box.top - height * 0.2}, height * 0.6, 0.6);
  canvas.Draw(figure, fill, box.ink);
}

IndexedImage MakeDigitPicture(int glyph, Quantizer& quantizer) {
  Canvas canvas(80, 80);
  DrawFigure(canvas, glyph, DigitPictureBox());
  return ToIndexed(canvas, quantizer, 0);
}
