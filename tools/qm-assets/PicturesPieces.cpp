// The 130 Pieces: a hexagonal tile per letter and Material. The five Materials differ by
// their edge and surface as well as their colour, so that they are told apart without colour:
// plastic is soft and plain with a gloss, bronze is brushed with a grooved rim, silver has a
// sheen band and rivets, gold a beaded rim and a shine, diamond is cut into facets.
#include <array>
#include <cmath>
#include <string>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr std::array<int, 26> kPlasticValues = {1, 3, 3, 2,  1, 4, 2, 4, 1, 8, 5, 1, 3,
                                                1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10};

struct MaterialLook {
  Rgb face;
  Rgb letter;
  Rgb letterLight;  // the engraving's lit lower edge
  Rgb value;
};

constexpr std::array<MaterialLook, 5> kLooks = {{
    {{238, 232, 214}, {28, 36, 64}, {255, 255, 255}, {120, 60, 40}},  // plastic
    {{190, 112, 52}, {48, 20, 4}, {250, 196, 140}, {255, 226, 190}},  // bronze
    {{168, 176, 190}, {22, 28, 44}, {248, 250, 255}, {30, 40, 70}},   // silver
    {{246, 200, 64}, {84, 36, 2}, {255, 246, 190}, {110, 50, 0}},     // gold
    {{200, 236, 248}, {8, 34, 96}, {255, 255, 255}, {0, 70, 140}},    // diamond
}};

void HexVertex(int i, double inset, double& x, double& y) {
  const double apothem = 26.0 - inset, radius = apothem * 30.0 / 26.0;
  const double xs[6] = {0, apothem, apothem, 0, -apothem, -apothem};
  const double ys[6] = {-radius, -radius / 2, radius / 2, radius, radius / 2, -radius / 2};
  x = 26 + xs[i];
  y = 30 + ys[i];
}

void PlasticFace(cairo_t* cr, const MaterialLook& look) {
  // Thick soft bevel and a glossy highlight: a moulded toy tile.
  BevelledHex(cr, look.face, 0, 4.5, 0.8);
  SaveClipHex(cr, 6);
  EllipsePath(cr, 24, 14, 22, 10, 1);
  FillWith(cr, Linear(0, 6, 0, 26, {{0, {255, 255, 255}, 0.55}, {1, {255, 255, 255}, 0.0}}));
  cairo_restore(cr);
}

void BronzeFace(cairo_t* cr, const MaterialLook& look) {
  BevelledHex(cr, look.face, 0, 2.5, 1.0);
  SaveClipHex(cr, 3.5);
  // Brushed metal: fine horizontal streaks.
  Dice dice(777);
  for (int y = 3; y < 58; ++y) {
    double a = 0.05 + 0.12 * dice.Unit();
    cairo_rectangle(cr, 0, y, 52, 0.6);
    Fill(cr, (y % 2) ? Rgb{255, 210, 160} : Rgb{70, 30, 5}, a);
  }
  cairo_restore(cr);
  // Grooved rim: a dark line with a light line inside it.
  HexPath(cr, 5.5);
  Stroke(cr, {60, 26, 6}, 1.2, 0.9);
  HexPath(cr, 6.7);
  Stroke(cr, {255, 200, 140}, 0.8, 0.55);
}

void SilverFace(cairo_t* cr, const MaterialLook& look) {
  BevelledHex(cr, look.face, 0, 3, 1.2);
  SaveClipHex(cr, 4);
  // Sheen: a bright diagonal band across the plate.
  const Rgb white = {255, 255, 255};
  PaintWith(cr, Linear(8, 6, 44, 54,
                       {{0.0, white, 0.0},
                        {0.30, white, 0.0},
                        {0.38, white, 0.65},
                        {0.46, white, 0.0},
                        {0.58, white, 0.0},
                        {0.62, white, 0.35},
                        {0.66, white, 0.0}}));
  cairo_restore(cr);
  // Rivets in the six corners.
  for (int i = 0; i < 6; ++i) {
    double x, y;
    HexVertex(i, 6.5, x, y);
    Stud(cr, x, y, {40, 46, 60}, 0.5, 1.7, {250, 252, 255}, 0.3, 1.1);
  }
}

void GoldFace(cairo_t* cr, const MaterialLook& look) {
  BevelledHex(cr, look.face, 0, 3, 1.0);
  SaveClipHex(cr, 4);
  PaintWith(
      cr,
      Radial(19, 19, 1, 26, 30, 30,
             {{0, {255, 255, 230}, 0.85}, {0.45, {255, 230, 120}, 0.15}, {1, {150, 90, 0}, 0.35}}));
  cairo_restore(cr);
  // Beaded rim: a string of small gold pearls along the edge.
  for (int side = 0; side < 6; ++side) {
    double x0, y0, x1, y1;
    HexVertex(side, 5.2, x0, y0);
    HexVertex((side + 1) % 6, 5.2, x1, y1);
    for (int k = 0; k < 6; ++k) {
      double t = k / 6.0;
      double x = x0 + (x1 - x0) * t, y = y0 + (y1 - y0) * t;
      Stud(cr, x, y, {120, 70, 0}, 0.4, 1.35, {255, 244, 170}, 0.2, 0.85);
    }
  }
}

void DiamondFace(cairo_t* cr, const MaterialLook& look) {
  HexPath(cr, 0);
  Fill(cr, {40, 90, 130});
  // Facets: six crown triangles around a table, each lit differently.
  const double lights[6] = {1.0, 0.78, 0.55, 0.62, 0.74, 0.92};
  for (int i = 0; i < 6; ++i) {
    double ax, ay, bx, by, cx, cy, dx, dy;
    HexVertex(i, 1.2, ax, ay);
    HexVertex((i + 1) % 6, 1.2, bx, by);
    HexVertex((i + 1) % 6, 10, cx, cy);
    HexVertex(i, 10, dx, dy);
    cairo_move_to(cr, ax, ay);
    cairo_line_to(cr, bx, by);
    cairo_line_to(cr, cx, cy);
    cairo_line_to(cr, dx, dy);
    cairo_close_path(cr);
    Fill(cr, Mix(Scale(look.face, lights[i]), {255, 255, 255}, lights[i] > 0.9 ? 0.4 : 0));
  }
  // The table facet, with a cold inner gradient.
  HexPath(cr, 10);
  FillWith(cr,
           Linear(14, 14, 40, 48, {{0, {246, 253, 255}}, {0.5, look.face}, {1, {150, 205, 230}}}));
  // Facet edges.
  cairo_set_line_width(cr, 0.7);
  SetSource(cr, {255, 255, 255}, 0.8);
  for (int i = 0; i < 6; ++i) {
    double ax, ay, dx, dy;
    HexVertex(i, 1.2, ax, ay);
    HexVertex(i, 10, dx, dy);
    cairo_move_to(cr, ax, ay);
    cairo_line_to(cr, dx, dy);
  }
  cairo_stroke(cr);
  HexPath(cr, 10);
  cairo_stroke(cr);
  // A glint in the top-left facet.
  StarPath(cr, 13, 17, 5, 1.1, 4);
  Fill(cr, {255, 255, 255});
}

void DrawLetter(cairo_t* cr, int material, char letter) {
  const MaterialLook& look = kLooks[material];
  std::string text(1, letter);
  UseFont(cr, FontId::kSansBold, 29);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  double size = 29;
  if (e.width > 27) size = 29 * 27 / e.width;
  UseFont(cr, FontId::kSansBold, size);
  const double cx = 24.5, cy = 27.5;
  if (material == 4) {
    // Diamond: a white halo keeps the dark letter readable over bright facets.
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_text_path(cr, text.c_str());
    SetSource(cr, {255, 255, 255}, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
  // Engraved look: a lit edge below-right, then the letter.
  SetSource(cr, look.letterLight, material == 0 ? 0.9 : 0.8);
  TextCentred(cr, text, cx + 0.9, cy + 0.9);
  SetSource(cr, look.letter);
  TextCentred(cr, text, cx, cy);
}

void DrawValue(cairo_t* cr, int material, int value) {
  const MaterialLook& look = kLooks[material];
  std::string text = std::to_string(value);
  UseFont(cr, FontId::kSansBold, 9.5);
  const double cx = value >= 10 ? 39 : 40, cy = 42.5;
  if (material == 1) {
    // Bronze is darker than its digits: give them a dark seat so they stay crisp.
    SetSource(cr, {60, 26, 6}, 0.6);
    TextCentred(cr, text, cx + 0.7, cy + 0.7);
  }
  SetSource(cr, look.value);
  TextCentred(cr, text, cx, cy);
}

}  // namespace

int PieceValue(int code) {
  if (code < 1 || code > 130) return 0;
  int letter = (code - 1) % 26, material = (code - 1) / 26;
  if (material == 4) return 90;
  return kPlasticValues[letter] << material;
}

void DrawPiece(cairo_t* cr, int code) {
  const int letter = (code - 1) % 26, material = (code - 1) / 26;
  using Face = void (*)(cairo_t*, const MaterialLook&);
  constexpr std::array<Face, 5> kFaces = {PlasticFace, BronzeFace, SilverFace, GoldFace,
                                          DiamondFace};
  kFaces[static_cast<size_t>(material)](cr, kLooks[material]);
  DrawLetter(cr, material, static_cast<char>('A' + letter));
  DrawValue(cr, material, PieceValue(code));
}

}  // namespace qm::assets
