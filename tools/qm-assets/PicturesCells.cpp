// The special cells: multipliers, score cells, keys and locks, mechanisms, bags, stars,
// magic compartments, the start and end boxes, and the cell-sized interface pictures.
#include <cmath>
#include <string>

#include "Pictures.hpp"
#include "game/rules/Codes.hpp"

namespace qm::assets {

void DrawSpaceObject(cairo_t* cr, int index);   // PicturesSpaceObjects.cpp
void DrawInterfaceCell(cairo_t* cr, int code);  // PicturesCellsUi.cpp

namespace {

constexpr Rgb kSymbolSoil = {66, 74, 92};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kInk = {14, 12, 20};

Rgb MetalOf(int kind) {  // 0 gold, 1 silver, 2 bronze
  switch (kind) {
    case 0:
      return {240, 194, 60};
    case 1:
      return {196, 204, 218};
    default:
      return {196, 120, 56};
  }
}

void SymbolSoil(cairo_t* cr) {
  DrawSoilWith(cr, kSymbolSoil, 3, 11);
}

void Caption(cairo_t* cr, const std::string& text, double cy, Rgb colour) {
  UseFont(cr, FontId::kSansBold, 7);
  TextCentredShadow(cr, text, 26, cy, colour, kInk, 0.6, 0.6);
}

void LetterMultiplier(cairo_t* cr, int factor) {
  SymbolSoil(cr);
  double t = (factor - 2) / 6.0;
  Rgb colour = Mix({96, 178, 236}, {36, 56, 190}, t);
  // A square gem tile: letters are squares, words are round medallions.
  RimmedPlate(cr, 11, 13, 30, 28, 4, 3.5, Scale(colour, 0.45), Mix(colour, kWhite, 0.35),
              Scale(colour, 0.8));
  UseFont(cr, FontId::kSansBold, 15);
  TextCentredShadow(cr, "x" + std::to_string(factor), 26, 26.5, kWhite, Scale(colour, 0.3));
  Caption(cr, "LETTER", 47, {190, 225, 255});
}

void WordMultiplier(cairo_t* cr, int factor) {
  SymbolSoil(cr);
  double t = (factor - 2) / 6.0;
  Rgb colour = Mix({236, 96, 120}, {150, 16, 60}, t);
  // Round medallion with a ring of studs.
  Disc(cr, 26, 27, 16, colour);
  for (int i = 0; i < 12; ++i) {
    double a = i * M_PI / 6;
    cairo_arc(cr, 26 + 13 * std::cos(a), 27 + 13 * std::sin(a), 0.9, 0, 2 * M_PI);
    Fill(cr, Mix(colour, kWhite, 0.6));
  }
  UseFont(cr, FontId::kSansBold, 14);
  TextCentredShadow(cr, "x" + std::to_string(factor), 26, 27, kWhite, Scale(colour, 0.3));
  Caption(cr, "WORD", 49, {255, 205, 215});
}

void ScoreCell(cairo_t* cr, const std::string& text, bool up, int strength) {
  SymbolSoil(cr);
  Rgb colour = up ? Mix({92, 190, 96}, {20, 120, 50}, strength / 5.0)
                  : Mix({232, 110, 60}, {180, 30, 30}, strength / 2.0);
  // An arrow behind the badge says up or down even without colour.
  TrianglePath(cr, 26, up ? 5 : 55, 40, up ? 19 : 41, 12, up ? 19 : 41);
  Fill(cr, Mix(colour, kWhite, 0.25));
  RimmedPlate(cr, 6, 20, 40, 20, 9, 8, Scale(colour, 0.4), Mix(colour, kWhite, 0.3),
              Scale(colour, 0.85));
  UseFont(cr, FontId::kSansBold, text.size() > 3 ? 11.5 : 13);
  TextCentredShadow(cr, text, 26, 30, kWhite, Scale(colour, 0.3));
  if (!up) {
    for (int k = 0; k <= strength; ++k) {  // one to three chevrons: a stronger reduction
      double x = 26 + (k - strength / 2.0) * 7;
      cairo_move_to(cr, x - 3, 44);
      cairo_line_to(cr, x, 47);
      cairo_line_to(cr, x + 3, 44);
      Stroke(cr, {255, 210, 190}, 1.4);
    }
  }
}

void Keyhole(cairo_t* cr, double cx, double cy, double size) {
  cairo_arc(cr, cx, cy - size * 0.3, size * 0.35, 0, 2 * M_PI);
  Fill(cr, kInk);
  cairo_move_to(cr, cx - size * 0.2, cy - size * 0.2);
  cairo_line_to(cr, cx + size * 0.2, cy - size * 0.2);
  cairo_line_to(cr, cx + size * 0.3, cy + size * 0.6);
  cairo_line_to(cr, cx - size * 0.3, cy + size * 0.6);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void LockedWall(cairo_t* cr, int kind) {
  DrawWall(cr, 0);
  Rgb metal = MetalOf(kind);
  // Lock plate: a shield riveted to the block.
  cairo_move_to(cr, 15, 13);
  cairo_line_to(cr, 37, 13);
  cairo_line_to(cr, 37, 31);
  cairo_curve_to(cr, 37, 38, 30, 42, 26, 44);
  cairo_curve_to(cr, 22, 42, 15, 38, 15, 31);
  cairo_close_path(cr);
  FillOutlined(cr, Linear(15, 13, 37, 44, Shine(metal, 0.5, 0.6)), Scale(metal, 0.35), 1.2);
  for (double x : {18.5, 33.5}) {
    cairo_arc(cr, x, 16.5, 1.3, 0, 2 * M_PI);
    Fill(cr, Scale(metal, 0.4));
  }
  Keyhole(cr, 26, 28, 10);
}

void FalseWall(cairo_t* cr, int variant) {
  DrawWall(cr, variant);
  // The hint: a faint shimmer and a broken outline, as if the block were not quite there.
  SaveClipHex(cr, 3);
  for (int k = -3; k < 6; ++k) {
    cairo_move_to(cr, k * 12, 0);
    cairo_line_to(cr, k * 12 + 30, 60);
    Stroke(cr, kWhite, 3, 0.10);
  }
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, 26, 26.5);
  cairo_scale(cr, 0.94, 0.9);
  cairo_translate(cr, -26, -30);
  HexPath(cr, 5);
  cairo_restore(cr);
  const double dash[2] = {2.0, 2.5};
  cairo_set_dash(cr, dash, 2, 0);
  Stroke(cr, {220, 240, 255}, 1, 0.55);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void Mechanism(cairo_t* cr, int kind) {  // 0 bronze, 1 silver, 2 gold
  SymbolSoil(cr);
  Rgb metal = MetalOf(2 - kind);
  auto gear = [&](double cx, double cy, double outer, int teeth, Rgb colour) {
    GearPath(cr, cx, cy, outer, outer - 3.5, teeth);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, outer * 0.35, 2 * M_PI, 0);
    FillOutlined(cr,
                 Linear(cx - outer, cy - outer, cx + outer, cy + outer, Shine(colour, 0.5, 0.55)),
                 Scale(colour, 0.35), 0.9);
  };
  gear(21, 25, 13, 10, metal);
  gear(35, 39, 9, 8, Scale(metal, 0.85));
  // More studs on the stronger mechanisms.
  for (int k = 0; k <= kind; ++k) {
    cairo_arc(cr, 12 + k * 5, 46, 1.5, 0, 2 * M_PI);
    Fill(cr, Mix(metal, kWhite, 0.3));
  }
}

void Bag(cairo_t* cr, int kind) {
  SymbolSoil(cr);
  const Rgb cloth[3] = {{168, 122, 76}, {110, 120, 176}, {150, 90, 170}};
  Rgb c = cloth[kind];
  // Sack body.
  cairo_move_to(cr, 19, 19);
  cairo_curve_to(cr, 8, 26, 8, 46, 16, 49);
  cairo_line_to(cr, 36, 49);
  cairo_curve_to(cr, 44, 46, 44, 26, 33, 19);
  cairo_close_path(cr);
  FillOutlined(cr, Linear(10, 19, 42, 49, {{0, Mix(c, kWhite, 0.35)}, {1, Scale(c, 0.6)}}),
               Scale(c, 0.35), 1);
  // Neck, tie and a Piece peeking out.
  cairo_move_to(cr, 19, 19);
  cairo_line_to(cr, 16, 11);
  cairo_line_to(cr, 36, 11);
  cairo_line_to(cr, 33, 19);
  cairo_close_path(cr);
  Fill(cr, Scale(c, 0.85));
  RoundedRect(cr, 18, 17, 16, 4, 1.5);
  Fill(cr, {230, 200, 90});
  // A Piece on the sack: bronze, silver or gold, as the bag makes richer Pieces likelier.
  cairo_save(cr);
  cairo_translate(cr, 26 - 26 * 0.4, 35 - 30 * 0.4);
  cairo_scale(cr, 0.4, 0.4);
  DrawPiece(cr, 27 + kind * 26);
  cairo_restore(cr);
}

void StartBox(cairo_t* cr) {
  SymbolSoil(cr);
  Disc(cr, 26, 30, 18, {52, 176, 84});
  cairo_arc(cr, 26, 30, 14.5, 0, 2 * M_PI);
  Stroke(cr, kWhite, 1, 0.6);
  UseFont(cr, FontId::kSansBold, 15);
  TextCentredShadow(cr, "GO", 26, 30, kWhite, {10, 60, 20});
}

void EndBox(cairo_t* cr) {
  // A chequered finish plate: the pattern alone says "end".
  HexPath(cr, 0);
  Fill(cr, {30, 30, 36});
  SaveClipHex(cr, 1.5);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 9; ++c) {
      cairo_rectangle(cr, c * 6.5 - 1, r * 6.5 - 2, 6.5, 6.5);
      Fill(cr, (r + c) % 2 ? Rgb{235, 235, 235} : Rgb{34, 34, 40});
    }
  cairo_restore(cr);
  RoundedRect(cr, 9, 21, 34, 18, 5);
  FillOutlined(cr, {170, 24, 36}, {255, 220, 120}, 1.2);
  UseFont(cr, FontId::kSerifBoldItalic, 14);
  TextCentredShadow(cr, "Fin", 26, 30, {255, 240, 200}, {60, 0, 0});
}

void BonusMalus(cairo_t* cr) {
  SymbolSoil(cr);
  cairo_save(cr);
  cairo_arc(cr, 26, 30, 17, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 0, 26, 60);
  Fill(cr, {60, 170, 80});
  cairo_rectangle(cr, 26, 0, 26, 60);
  Fill(cr, {200, 60, 50});
  cairo_restore(cr);
  cairo_arc(cr, 26, 30, 17, 0, 2 * M_PI);
  Stroke(cr, kInk, 1.2);
  UseFont(cr, FontId::kSansBold, 17);
  TextCentredShadow(cr, "+", 18, 29, kWhite, {10, 60, 20});
  TextCentredShadow(cr, "\xE2\x80\x93", 34.5, 29, kWhite, {80, 10, 10});  // en dash: a clear minus
}

void Hundred(cairo_t* cr) {
  SymbolSoil(cr);
  RoundedRect(cr, 4, 19, 44, 22, 6);
  FillOutlined(cr, Linear(0, 19, 0, 41, {{0, {60, 80, 170}}, {1, {24, 30, 90}}}), {250, 210, 90},
               1.2);
  UseFont(cr, FontId::kSansBold, 13);
  TextCentredShadow(cr, "+100", 26, 30, {255, 222, 90}, kInk);
}

void Star(cairo_t* cr, int variant) {
  SymbolSoil(cr);
  const Rgb colours[3] = {{255, 214, 70}, {200, 226, 255}, {255, 160, 200}};
  const int points[3] = {5, 6, 8};
  Rgb c = colours[variant];
  StarPath(cr, 26, 31, 19, points[variant] == 8 ? 10 : 8.5, points[variant]);
  FillOutlined(cr, Radial(22, 26, 1, 26, 31, 19, {{0, kWhite}, {0.5, c}, {1, Scale(c, 0.6)}}),
               Scale(c, 0.35), 1);
}

void MagicCompartment(cairo_t* cr, int variant) {
  HexPath(cr, 0);
  Fill(cr, {40, 16, 60});
  HexPath(cr, 1.5);
  FillWith(cr, Radial(26, 30, 2, 26, 30, 30,
                      {{0, {250, 190, 255}}, {0.45, {150, 60, 200}}, {1, {60, 20, 90}}}));
  cairo_arc(cr, 26, 30, 16, 0, 2 * M_PI);
  Stroke(cr, {255, 230, 255}, 1.2, 0.9);
  // Each group has its own rune: triangle, square or star.
  cairo_new_path(cr);
  if (variant == 0) {
    for (int i = 0; i < 3; ++i) {
      double a = -M_PI / 2 + i * 2 * M_PI / 3;
      cairo_line_to(cr, 26 + 13 * std::cos(a), 30 + 13 * std::sin(a));
    }
    cairo_close_path(cr);
  } else if (variant == 1) {
    cairo_rectangle(cr, 17, 21, 18, 18);
  } else {
    StarPath(cr, 26, 30, 13, 5.5, 5);
  }
  Stroke(cr, {255, 250, 210}, 1.8);
  Dice dice(static_cast<uint64_t>(variant) + 77);
  Speckle(cr, dice, 10, 8, 8, 36, 44, kWhite, 0.9, 0.8);
}

void Key(cairo_t* cr, int kind) {
  SymbolSoil(cr);
  Rgb metal = MetalOf(kind);
  cairo_save(cr);
  cairo_translate(cr, 26, 30);
  cairo_rotate(cr, -M_PI / 4);
  // Bow, shank and bit.
  cairo_new_path(cr);
  cairo_arc(cr, -11, 0, 7, 0, 2 * M_PI);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, -11, 0, 3, 2 * M_PI, 0);
  cairo_rectangle(cr, -4.5, -2, 21, 4);
  cairo_rectangle(cr, 10, 2, 3, 5);
  cairo_rectangle(cr, 14, 2, 2.5, 4);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  FillOutlined(cr, Linear(-18, -7, 17, 7, Shine(metal, 0.55, 0.55)), Scale(metal, 0.3), 0.9);
  cairo_restore(cr);
}

void RubbleSoil(cairo_t* cr, int variant) {
  // Where a wall fell: darker ground strewn with stones of the old block.
  DrawSoilWith(cr, {92, 92, 100}, 4, 300 + variant);
  Dice dice(static_cast<uint64_t>(variant) + 51);
  SaveClipHex(cr, 4);
  for (int k = 0; k < 7; ++k) {
    double x = dice.Range(10, 42), y = dice.Range(12, 50), rad = dice.Range(1.5, 3.5);
    cairo_arc(cr, x + 0.8, y + 0.8, rad, 0, 2 * M_PI);
    Fill(cr, {40, 40, 46}, 0.8);
    cairo_arc(cr, x, y, rad, 0, 2 * M_PI);
    Fill(cr, Mix({130, 130, 138}, {180, 170, 150}, dice.Unit()));
  }
  cairo_restore(cr);
}

}  // namespace

void CellPictureSize(int code, int& width, int& height) {
  struct Size {
    int code, width, height;
  };
  // The Easel frame is two slots wide, from 4 pixels above the slots to the screen bottom;
  // then the two exchange tokens and the exchange dialog.
  constexpr Size kOtherSizes[] = {{228, 104, 66}, {238, 26, 12}, {239, 26, 12}, {240, 400, 100}};
  width = kCellWidth;
  height = kCellHeight;
  for (const Size& size : kOtherSizes) {
    if (size.code == code) {
      width = size.width;
      height = size.height;
    }
  }
}

Pixels RenderCellPicture(int code) {
  int width, height;
  CellPictureSize(code, width, height);
  Canvas canvas(width, height);
  cairo_t* cr = canvas.Cr();
  // A multiplier's picture shows its factor, x2 on the first code.
  constexpr int kFirstFactor = 2;
  if (code >= kFirstPieceCode && code <= kLastPieceCode)
    DrawPiece(cr, code);
  else if (code <= kLastWall)
    DrawWall(cr, code - kFirstWall);
  else if (code <= kLastLockedWall)
    LockedWall(cr, code - kFirstLockedWall);
  else if (code <= kLastPlain)
    DrawSpaceObject(cr, code - kFirstPlain);
  else if (code == kFirstGridPicture)
    DrawSoilWith(cr, {56, 92, 100}, 2, kFirstGridPicture);
  // 158 also backs the objectives panel text, so it stays dark enough for light letters.
  else if (code == kFirstGridPicture + 1)
    DrawSoilWith(cr, {116, 94, 66}, 1, kFirstGridPicture + 1);
  else if (code == kGridSoil)
    DrawSoilWith(cr, {70, 88, 120}, 3, kGridSoil);
  else if (code == kFirstFixedSoil)
    DrawInterfaceCell(cr, code);
  else if (code <= kLastOpenedCell)
    RubbleSoil(cr, code - kOpenedCell);
  else if (code <= kLastSoil)
    DrawSoil(cr, code - (kLastOpenedCell + 1));
  else if (code <= kLastLetterMultiplier)
    LetterMultiplier(cr, code - kFirstLetterMultiplier + kFirstFactor);
  else if (code <= kLastWordMultiplier)
    WordMultiplier(cr, code - kFirstWordMultiplier + kFirstFactor);
  else if (code <= kLastIncrease)  // strength 0..5 over the small and the larger increases
    ScoreCell(cr, "+" + std::to_string(IncreasePercentOf(code)) + "%", true,
              code - kFirstSmallIncrease);
  else if (code <= kLastReduction)
    ScoreCell(cr, "-%", false, code - kFirstReduction);
  else if (code <= kLastFalseWall)
    FalseWall(cr, (code - kFirstFalseWall) * 2);
  else if (code <= kLastMechanism)
    Mechanism(cr, code - kFirstMechanism);
  else if (code <= kLastBag)
    Bag(cr, code - kFirstBag);
  else if (code == kStartBox)
    StartBox(cr);
  else if (code == kEndBox)
    EndBox(cr);
  else if (code == kBonusMalus)
    BonusMalus(cr);
  else if (code == kHundredPoints)
    Hundred(cr);
  else if (code <= kExchangeMark)
    DrawInterfaceCell(cr, code);
  else if (code <= kLastStar)
    Star(cr, code - kFirstStar);
  else if (code <= 229)
    DrawInterfaceCell(cr, code);
  else if (code < kFirstCompartment)  // two soils more, after the 21 of 165..185
    DrawSoil(cr, code - 210);
  else if (code <= kLastCompartment)
    MagicCompartment(cr, code - kFirstCompartment);
  else if (code <= kLastCellCode)
    Key(cr, code - kGoldKey);
  else
    DrawInterfaceCell(cr, code);
  return ToKeyedPixels(canvas);
}

Pixels RenderSoilVariant(int code) {
  Canvas canvas(kCellWidth, kCellHeight);
  DrawSoil(canvas.Cr(), code - 300 + 24);
  return ToKeyedPixels(canvas);
}

}  // namespace qm::assets
