#pragma once
// Drawing kit shared by every picture of qm-assets: canvases, the key-colour rule, fonts,
// hexagon paths, colours and a seeded random source. Pictures must come out byte-identical
// on every run, so nothing here reads the clock or the environment.
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SplitMix.hpp"

namespace qm::assets {

// Cell pictures are pointy-top hexagons 52 wide and 60 tall; rows overlap by 15 pixels,
// which gives the 45-pixel row pitch of the Board.
constexpr int kCellWidth = 52;
constexpr int kCellHeight = 60;

struct Rgb {
  double r, g, b;  // 0..255
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double f);
void SetSource(cairo_t* cr, Rgb c, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

struct Stop {
  double offset;
  Rgb colour;
  double alpha = 1.0;
};
using Stops = std::vector<Stop>;
// Metal's three stops: lifted toward white, the colour itself halfway, shaded at the end.
Stops Shine(Rgb c, double lift, double shade);
// Gradients in one line: the stops are added in order to the new pattern.
cairo_pattern_t* Linear(double x0, double y0, double x1, double y1, const Stops& stops);
cairo_pattern_t* Radial(double x0, double y0, double r0, double x1, double y1, double r1,
                        const Stops& stops);
// Fills the current path with the pattern, which it then releases.
void FillWith(cairo_t* cr, cairo_pattern_t* pattern);
// Fills or strokes the current path in one colour.
void Fill(cairo_t* cr, Rgb colour, double alpha = 1.0);
void Stroke(cairo_t* cr, Rgb colour, double width, double alpha = 1.0);
// Strokes with round joins and caps, which stay set for what follows.
void StrokeRound(cairo_t* cr, Rgb colour, double width);
// Paints the whole clip with the pattern, which it then releases.
void PaintWith(cairo_t* cr, cairo_pattern_t* pattern);
// Fills the current path with the pattern (released) or a colour, then strokes its outline.
void FillOutlined(cairo_t* cr, cairo_pattern_t* pattern, Rgb line, double width);
void FillOutlined(cairo_t* cr, Rgb fill, Rgb line, double width);

// A drawing surface with alpha. What stays transparent becomes the key colour on output.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_t* Cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// 24-bit pixels, top row first, as the game will see them.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3
};

// Keyed conversion: pixels less than half covered become exact black (transparent in the
// game); the others are composited over a near-black fringe and never come out exact black.
Pixels ToKeyedPixels(const Canvas& canvas);
// Opaque conversion for full pictures (backgrounds, title): composited over near-black.
Pixels ToOpaquePixels(const Canvas& canvas);

bool WriteBmp(const Pixels& pixels, const std::string& path);
bool WriteJpeg(const Pixels& pixels, const std::string& path, int quality);
bool WritePng(const Pixels& pixels, const std::string& path);

enum class FontId { kSansBold, kSans, kSerifBold, kSerifBoldItalic, kMonoBold, kCount };
// Checks that every font file exists and loads; prints what is missing.
bool CheckFonts();
// The cairo face of a font (loaded once per thread from the Liberation files).
cairo_font_face_t* FontFace(FontId id);
void UseFont(cairo_t* cr, FontId id, double size);
// Draws text centred on (cx, cy) by its ink box; returns the ink width.
double TextCentred(cairo_t* cr, const std::string& text, double cx, double cy);
// Text with a dark drop shadow and a fill colour.
void TextCentredShadow(cairo_t* cr, const std::string& text, double cx, double cy, Rgb fill,
                       Rgb shadow, double dx = 1, double dy = 1);
void TextAt(cairo_t* cr, const std::string& text, double x, double baseline);

// Pointy-top hexagon of the cell, shrunk by inset pixels on every side.
void HexPath(cairo_t* cr, double inset, double cx = 26, double cy = 30);
// Saves the state and clips to the cell's hexagon; the caller restores.
void SaveClipHex(cairo_t* cr, double inset);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void TrianglePath(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2);
// A circle of radius rad around (cx, cy), stretched by sx across and sy down.
void EllipsePath(cairo_t* cr, double cx, double cy, double sx, double sy, double rad);
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotation = 0);
void GearPath(cairo_t* cr, double cx, double cy, double outer, double inner, int teeth);

// A badge plate: a rounded rim, then the face one pixel inside it, lit from the top.
void RimmedPlate(cairo_t* cr, double x, double y, double w, double h, double r, double faceR,
                 Rgb rim, Rgb top, Rgb bottom);
// A shaded ball lit from the top left, with a thin dark ring.
void Disc(cairo_t* cr, double cx, double cy, double rad, Rgb colour);
// A rivet or pearl: its shadow shifted down-right, its highlight shifted up-left.
void Stud(cairo_t* cr, double x, double y, Rgb shadow, double shadowShift, double shadowRadius,
          Rgb light, double lightShift, double lightRadius);

// A raised hexagonal tile: dark rim, bevel lit from the top left, face colour.
void BevelledHex(cairo_t* cr, Rgb face, double inset, double bevel, double relief = 1.0);

// Small deterministic generator (splitmix64), seeded per picture.
class Dice : public SplitMix {
 public:
  explicit Dice(uint64_t seed) : SplitMix(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  double Range(double lo, double hi);  // [lo, hi)
  int UpTo(int n);                     // 0..n-1
};

// Soft noise texture: adds speckles of the given colour within the current clip.
void Speckle(cairo_t* cr, Dice& dice, int count, double x0, double y0, double w, double h,
             Rgb colour, double alphaMax, double radiusMax);

}  // namespace qm::assets
