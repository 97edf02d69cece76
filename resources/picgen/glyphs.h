// Stroke letters and figures in the product's rounded, squarish style, and the
// clock's digit and colon pictures: light rounded figures with a dark outline and a
// soft drop shadow, so they read over light and dark desktops alike. Glyphs are
// centre lines on a grid 4 units wide and 6 units tall (lower case from y = 2); the
// clock digits use the same figure shapes, stretched to their own box.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "image.h"
#include "shapes.h"

using Polyline = std::vector<Vec2>;

struct Glyph {
  std::vector<Polyline> strokes;  // grid units
  double width = 4;               // grid units
};

// Returns nullptr for characters without a glyph (space is a glyph with no strokes).
const Glyph* FindGlyph(char c);

struct TextStyle {
  double capHeight = 12;    // pixels
  double halfStroke = 1.2;  // pixels
  double corner = 0.9;      // corner radius in grid units
  double spacing = 1.8;     // gap between glyphs in grid units
};

// Shapes of a line of text whose cap top-left is at origin.
std::vector<Shape> TextShapes(const std::string& text, Vec2 origin, const TextStyle& style);
double TextWidth(const std::string& text, const TextStyle& style);

constexpr int kColonGlyph = 10;  // glyph number of the colon

// Where and how large a figure is drawn; coordinates in pixels of the target canvas.
struct FigureBox {
  double left, top, right, bottom;  // centre-line box of the strokes
  double halfStroke;
  double corner;  // corner radius of the centre line
  double ink;     // outline width
  Vec2 shadow;    // drop-shadow offset
};

// Box used by the 80 x 80 digit pictures.
FigureBox DigitPictureBox();

// Draws digit 0..9 or the colon (kColonGlyph) into the canvas.
void DrawFigure(Canvas& canvas, int glyph, const FigureBox& box);

// 80 x 80 indexed picture of a digit or the colon.
IndexedImage MakeDigitPicture(int glyph, Quantizer& quantizer);
