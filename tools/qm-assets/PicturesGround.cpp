// Soils and walls: the ground of every Board. Soils are calm, low plates so that Pieces
// and special cells stand out; walls are raised blocks with a visible side.
#include <array>
#include <cmath>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr std::array<Rgb, 12> kSoilColours = {{
    {74, 96, 128},    // slate blue
    {62, 112, 112},   // teal
    {150, 130, 96},   // sandstone
    {88, 112, 74},    // moss
    {128, 88, 64},    // rust earth
    {98, 84, 128},    // violet
    {112, 112, 118},  // stone grey
    {118, 148, 170},  // ice
    {140, 104, 76},   // clay
    {70, 120, 92},    // jade
    {132, 120, 140},  // lavender grey
    {96, 104, 80},    // olive
}};

struct WallLook {
  Rgb face;
  int texture;  // 0 bricks, 1 cracks, 2 layers, 3 facets, 4 rivets, 5 moss, 6 veins, 7 embers
};

constexpr std::array<WallLook, 14> kWalls = {{
    {{128, 128, 136}, 0},
    {{84, 86, 98}, 1},
    {{164, 84, 62}, 0},
    {{192, 162, 112}, 2},
    {{92, 112, 144}, 1},
    {{112, 126, 96}, 5},
    {{172, 212, 236}, 3},
    {{70, 58, 96}, 3},
    {{142, 152, 164}, 4},
    {{152, 92, 58}, 4},
    {{92, 164, 132}, 2},
    {{222, 216, 204}, 6},
    {{96, 64, 54}, 7},
    {{146, 104, 186}, 3},
}};

// A crack from (x, y): each step goes up to sideways across and from rise to fall down.
void CrackPath(cairo_t* cr, Dice& dice, double x, double y, int steps, double sideways, double rise,
               double fall) {
  cairo_move_to(cr, x, y);
  for (int s = 0; s < steps; ++s) {
    x += dice.Range(-sideways, sideways);
    y += dice.Range(rise, fall);
    cairo_line_to(cr, x, y);
  }
}

void SoilPattern(cairo_t* cr, Rgb base, int pattern, Dice& dice) {
  SaveClipHex(cr, 2);
  cairo_set_line_width(cr, 1);
  switch (pattern) {
    case 0:  // plain plate with a fine inner line
      HexPath(cr, 6);
      SetSource(cr, Scale(base, 0.7), 0.6);
      cairo_stroke(cr);
      break;
    case 1:  // sand grains
      Speckle(cr, dice, 70, 0, 0, 52, 60, Scale(base, 0.55), 0.6, 0.9);
      Speckle(cr, dice, 40, 0, 0, 52, 60, Mix(base, {255, 255, 255}, 0.4), 0.5, 0.7);
      break;
    case 2:  // riveted metal
      for (int i = 0; i < 6; ++i) {
        double a = -M_PI / 2 + i * M_PI / 3, rad = 19;
        double x = 26 + rad * std::cos(a) * 0.92, y = 30 + rad * std::sin(a);
        Stud(cr, x, y, Scale(base, 0.5), 0.5, 1.5, Mix(base, {255, 255, 255}, 0.5), 0.2, 0.9);
      }
      break;
    case 3:  // engraved ring
      HexPath(cr, 8);
      SetSource(cr, Scale(base, 0.6), 0.8);
      cairo_stroke(cr);
      HexPath(cr, 9);
      SetSource(cr, Mix(base, {255, 255, 255}, 0.35), 0.5);
      cairo_stroke(cr);
      break;
    case 4:  // cracked stone
      for (int k = 0; k < 3; ++k) {
        double x = dice.Range(10, 42), y = dice.Range(10, 50);
        CrackPath(cr, dice, x, y, 4, 7, -7, 7);
        Stroke(cr, Scale(base, 0.5), 0.8, 0.7);
      }
      break;
    case 5: {  // three rhombi, the cube seen from above
      const double shades[3] = {1.12, 0.95, 0.82};
      for (int i = 0; i < 3; ++i) {
        double a0 = -M_PI / 2 + i * 2 * M_PI / 3;
        cairo_move_to(cr, 26, 30);
        for (int j = 0; j <= 2; ++j) {
          double a = a0 + j * M_PI / 3;
          cairo_line_to(cr, 26 + 27 * std::cos(a), 30 + 31 * std::sin(a));
        }
        cairo_close_path(cr);
        Fill(cr, Scale(base, shades[i]), 0.45);
      }
      break;
    }
    case 6:  // concentric rings
      for (double rad = 6; rad < 24; rad += 6) {
        cairo_arc(cr, 26, 30, rad, 0, 2 * M_PI);
        SetSource(cr, Scale(base, 0.7), 0.45);
        cairo_stroke(cr);
      }
      break;
    default:  // small hex mosaic
      for (int r = -1; r < 8; ++r)
        for (int c = -1; c < 8; ++c) {
          double x = c * 9 + (r % 2) * 4.5, y = r * 8;
          cairo_save(cr);
          cairo_translate(cr, x, y);
          cairo_scale(cr, 0.15, 0.15);
          HexPath(cr, 2, 0, 0);
          cairo_restore(cr);
          SetSource(cr, dice.Unit() < 0.5 ? Scale(base, 0.85) : Mix(base, {255, 255, 255}, 0.12),
                    0.7);
          cairo_fill(cr);
        }
      break;
  }
  cairo_restore(cr);
}

void WallTexture(cairo_t* cr, const WallLook& look, Dice& dice) {
  Rgb dark = Scale(look.face, 0.55), light = Mix(look.face, {255, 255, 255}, 0.45);
  cairo_set_line_width(cr, 1);
  switch (look.texture) {
    case 0:  // bricks
      for (int row = 0; row < 8; ++row) {
        double y = 4 + row * 7;
        cairo_rectangle(cr, 0, y, 52, 0.9);
        Fill(cr, dark, 0.8);
        for (double x = (row % 2) ? 4 : 12; x < 52; x += 16) {
          cairo_rectangle(cr, x, y, 0.9, 7);
          cairo_fill(cr);
        }
        cairo_rectangle(cr, 0, y + 1, 52, 0.7);
        Fill(cr, light, 0.35);
      }
      break;
    case 1:  // cracks and pits
      Speckle(cr, dice, 40, 0, 0, 52, 60, dark, 0.6, 1.0);
      for (int k = 0; k < 2; ++k) {
        double x = dice.Range(12, 40), y = dice.Range(10, 44);
        CrackPath(cr, dice, x, y, 5, 6, -3, 7);
        SetSource(cr, Scale(look.face, 0.35));
        cairo_stroke(cr);
      }
      break;
    case 2:  // sediment layers
      for (double y = 6; y < 56; y += 5) {
        cairo_move_to(cr, 0, y);
        for (double x = 0; x <= 52; x += 4) cairo_line_to(cr, x, y + std::sin(x * 0.3 + y) * 1.2);
        SetSource(cr, (static_cast<int>(y) % 2) ? dark : light, 0.45);
        cairo_stroke(cr);
      }
      break;
    case 3: {  // crystal facets
      for (int i = 0; i < 6; ++i) {
        double a = -M_PI / 2 + i * M_PI / 3, b = a + M_PI / 3;
        cairo_move_to(cr, 26 + dice.Range(-3, 3), 27 + dice.Range(-3, 3));
        cairo_line_to(cr, 26 + 26 * std::cos(a), 27 + 30 * std::sin(a));
        cairo_line_to(cr, 26 + 26 * std::cos(b), 27 + 30 * std::sin(b));
        cairo_close_path(cr);
        Fill(cr, i % 2 ? light : dark, 0.3 + 0.1 * (i % 3));
      }
      StarPath(cr, 17, 15, 4, 0.9, 4);
      Fill(cr, {255, 255, 255}, 0.8);
      break;
    }
    case 4:  // riveted plate with a cross seam
      SetSource(cr, dark, 0.8);
      cairo_rectangle(cr, 25.5, 0, 1, 60);
      cairo_rectangle(cr, 0, 26.5, 52, 1);
      cairo_fill(cr);
      for (int i = 0; i < 4; ++i) {
        double x = (i % 2) ? 36 : 16, y = (i / 2) ? 38 : 16;
        Stud(cr, x, y, dark, 0.5, 2, light, 0.3, 1.2);
      }
      break;
    case 5:  // moss on stone
      Speckle(cr, dice, 25, 0, 0, 52, 60, dark, 0.5, 1.0);
      for (int k = 0; k < 9; ++k) {
        double x = dice.Range(6, 46), y = dice.Range(6, 30);
        // The dice give the colour first, then the radius.
        SetSource(cr, {70 + dice.Range(0, 40), 140 + dice.Range(0, 40), 60}, 0.75);
        cairo_arc(cr, x, y, dice.Range(2, 5), 0, 2 * M_PI);
        cairo_fill(cr);
      }
      break;
    case 6:  // marble veins
      for (int k = 0; k < 3; ++k) {
        double x = dice.Range(0, 20), y = dice.Range(5, 50);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 15, y + dice.Range(-12, 12), x + 25, y + dice.Range(-12, 12), 52,
                       y + dice.Range(-10, 10));
        Stroke(cr, {120, 110, 120}, 0.7 + k * 0.3, 0.5);
      }
      break;
    default:  // embers in volcanic rock
      for (int k = 0; k < 3; ++k) {
        double x = dice.Range(10, 42), y = dice.Range(8, 44);
        CrackPath(cr, dice, x, y, 4, 7, -2, 8);
        Stroke(cr, {255, 140, 30}, 1.3, 0.9);
      }
      break;
  }
}

}  // namespace

void DrawSoil(cairo_t* cr, int variant) {
  Rgb base = kSoilColours[static_cast<size_t>(variant) % kSoilColours.size()];
  int pattern = (variant / static_cast<int>(kSoilColours.size()) + variant * 5) % 8;
  BevelledHex(cr, base, 0, 1.5, 0.45);
  Dice dice(static_cast<uint64_t>(variant) + 4000);
  SoilPattern(cr, base, pattern, dice);
}

void DrawSoilWith(cairo_t* cr, Rgb base, int pattern, int seed) {
  BevelledHex(cr, base, 0, 1.5, 0.45);
  Dice dice(static_cast<uint64_t>(seed));
  SoilPattern(cr, base, pattern, dice);
}

void DrawWall(cairo_t* cr, int variant) {
  const WallLook& look = kWalls[static_cast<size_t>(variant) % kWalls.size()];
  // The block's side, seen below its top face.
  HexPath(cr, 0);
  Fill(cr, Scale(look.face, 0.3));
  HexPath(cr, 1);
  FillWith(cr, Linear(0, 30, 0, 60, {{0, Scale(look.face, 0.55)}, {1, Scale(look.face, 0.32)}}));
  cairo_save(cr);
  cairo_translate(cr, 26, 26.5);
  cairo_scale(cr, 0.94, 0.9);
  cairo_translate(cr, -26, -30);
  BevelledHex(cr, look.face, 1, 3, 1.3);
  HexPath(cr, 4);
  cairo_clip(cr);
  Dice dice(static_cast<uint64_t>(variant) + 900);
  WallTexture(cr, look, dice);
  cairo_restore(cr);
}

}  // namespace qm::assets
