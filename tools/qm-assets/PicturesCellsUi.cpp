// Cell-numbered pictures that serve the interface: the empty Easel slot, the three markers,
// the Easel frame tile, the sparkle, the exchange tokens and the exchange dialog.
#include <cmath>
#include <string>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr Rgb kWhite = {255, 255, 255};

void EmptySlot(cairo_t* cr) {
  // A socket sunk into the rack: dark, lit from below where the rim catches the light.
  HexPath(cr, 0.5);
  FillWith(cr, Linear(0, 0, 0, 60, {{0, {20, 14, 10}}, {1, {150, 110, 70}}}));
  HexPath(cr, 2.5);
  FillWith(cr, Linear(0, 3, 0, 57, {{0, {14, 12, 16}}, {1, {42, 36, 40}}}));
  HexPath(cr, 9);
  Stroke(cr, {90, 76, 66}, 1, 0.35);
}

void HexOutline(cairo_t* cr, double inset, double width, Rgb colour, double alpha = 1.0) {
  HexPath(cr, inset);
  SetSource(cr, colour, alpha);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void LastWordMarker(cairo_t* cr) {
  HexOutline(cr, 2.2, 4.2, {120, 70, 0});
  HexOutline(cr, 2.2, 2.6, {255, 208, 60});
  HexOutline(cr, 2.2, 0.9, {255, 250, 210});
}

void LaidPieceMarker(cairo_t* cr) {
  // Corner brackets: the Piece stays fully visible between them.
  const double apothem = 23.5, radius = apothem * 30.0 / 26.0;
  const double xs[6] = {0, apothem, apothem, 0, -apothem, -apothem};
  const double ys[6] = {-radius, -radius / 2, radius / 2, radius, radius / 2, -radius / 2};
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 6; ++i) {
      double x = 26 + xs[i], y = 30 + ys[i];
      double px = 26 + xs[(i + 5) % 6], py = 30 + ys[(i + 5) % 6];
      double nx = 26 + xs[(i + 1) % 6], ny = 30 + ys[(i + 1) % 6];
      cairo_move_to(cr, x + (px - x) * 0.3, y + (py - y) * 0.3);
      cairo_line_to(cr, x, y);
      cairo_line_to(cr, x + (nx - x) * 0.3, y + (ny - y) * 0.3);
    }
    StrokeRound(cr, pass == 0 ? Rgb{0, 60, 80} : Rgb{90, 240, 255}, pass == 0 ? 4.5 : 2.5);
  }
}

void ExchangeMark(cairo_t* cr) {
  HexOutline(cr, 2, 3.4, {110, 20, 0});
  HexOutline(cr, 2, 1.8, {255, 130, 40});
  // A round badge with two turning arrows in the top right corner.
  cairo_arc(cr, 39, 14, 8, 0, 2 * M_PI);
  FillOutlined(cr, {200, 70, 20}, {255, 230, 200}, 1);
  cairo_set_line_width(cr, 1.6);
  for (int k = 0; k < 2; ++k) {
    double a0 = k * M_PI + 0.3, a1 = a0 + 2.3;
    cairo_new_path(cr);
    cairo_arc(cr, 39, 14, 4.5, a0, a1);
    cairo_stroke(cr);
    double tx = 39 + 4.5 * std::cos(a1), ty = 14 + 4.5 * std::sin(a1);
    double dx = -std::sin(a1), dy = std::cos(a1);
    TrianglePath(cr, tx + dx * 2.5, ty + dy * 2.5, tx - dy * 2 - dx * 0.5, ty + dx * 2 - dy * 0.5,
                 tx + dy * 2 - dx * 0.5, ty - dx * 2 - dy * 0.5);
    cairo_fill(cr);
  }
}

constexpr int kRackWidth = 104;

void EaselFrameTile(cairo_t* cr) {
  // The rack repeats every 52 pixels, so every grain line has a period dividing 52. The tile
  // is two slots wide: drawn every 52 pixels, the copies overlap seamlessly and the last one
  // still covers the Easel's right end, half a slot past its last slot.
  cairo_rectangle(cr, 0, 0, kRackWidth, 66);
  FillWith(cr, Linear(0, 0, 0, 66, {{0, {96, 58, 30}}, {0.5, {124, 76, 40}}, {1, {70, 40, 20}}}));
  for (int line = 0; line < 14; ++line) {
    double y0 = 5 + line * 4.2, amp = 0.8 + (line % 3) * 0.5;
    int waves = 1 + line % 2;
    cairo_move_to(cr, 0, y0);
    for (int x = 0; x <= kRackWidth; ++x)
      cairo_line_to(cr, x, y0 + amp * std::sin(2 * M_PI * waves * x / 52.0 + line));
    Stroke(cr, (line % 2) ? Rgb{60, 32, 14} : Rgb{160, 104, 58}, 0.8, 0.45);
  }
  // Brass rail on top and a lit front ledge at the bottom.
  cairo_rectangle(cr, 0, 0, kRackWidth, 4);
  FillWith(cr, Linear(0, 0, 0, 4, {{0, {255, 230, 150}}, {1, {150, 100, 30}}}));
  cairo_rectangle(cr, 0, 58, kRackWidth, 8);
  FillWith(cr,
           Linear(0, 58, 0, 66, {{0, {176, 120, 70}}, {0.3, {140, 90, 48}}, {1, {60, 34, 16}}}));
  SetSource(cr, {40, 22, 10});
  cairo_rectangle(cr, 0, 4, kRackWidth, 0.8);
  cairo_rectangle(cr, 0, 57.5, kRackWidth, 0.8);
  cairo_fill(cr);
}

void Sparkle(cairo_t* cr) {
  for (int pass = 0; pass < 2; ++pass) {
    double s = pass == 0 ? 1.0 : 0.55;
    StarPath(cr, 26, 30, 20 * s, 2.6 * s, 4, pass == 0 ? 0 : M_PI / 4);
    FillWith(cr, Radial(26, 30, 0, 26, 30, 20 * s,
                        {{0, kWhite}, {0.5, {255, 244, 190}}, {1, {255, 200, 90}}}));
  }
  cairo_arc(cr, 26, 30, 3.2, 0, 2 * M_PI);
  Fill(cr, kWhite);
}

void ExchangeToken(cairo_t* cr, bool lit) {
  // The hover area of a token is 13 x 10 pixels from (7, 1); the coin sits on it.
  Rgb face = lit ? Rgb{255, 236, 120} : Rgb{70, 170, 190};
  if (lit) {
    RoundedRect(cr, 3, 0, 20, 12, 5.5);
    Fill(cr, {255, 160, 40});
  }
  RoundedRect(cr, 5, 1, 16, 10, 4.5);
  FillOutlined(cr, Linear(0, 1, 0, 11, {{0, Mix(face, kWhite, 0.5)}, {1, Scale(face, 0.7)}}),
               Scale(face, 0.3), 0.9);
  // Two small opposite arrows: swap.
  SetSource(cr, {20, 30, 40});
  cairo_move_to(cr, 8, 4.5);
  cairo_line_to(cr, 17, 4.5);
  cairo_move_to(cr, 9, 7.5);
  cairo_line_to(cr, 18, 7.5);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  TrianglePath(cr, 18.5, 4.5, 16, 2.8, 16, 6.2);
  TrianglePath(cr, 7.5, 7.5, 10, 5.8, 10, 9.2);
  cairo_fill(cr);
}

void DialogButton(cairo_t* cr, double x, double y, const std::string& label, Rgb colour) {
  RoundedRect(cr, x, y, 91, 18, 4);
  FillOutlined(cr,
               Linear(0, y, 0, y + 18, {{0, Mix(colour, kWhite, 0.3)}, {1, Scale(colour, 0.7)}}),
               Mix(colour, kWhite, 0.6), 1);
  UseFont(cr, FontId::kSansBold, 11);
  TextCentredShadow(cr, label, x + 45.5, y + 9, kWhite, {10, 10, 14});
}

void ExchangeDialog(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 400, 100);
  Fill(cr, {8, 10, 18});
  RoundedRect(cr, 1.5, 1.5, 397, 97, 8);
  FillOutlined(cr, Linear(0, 0, 0, 100, {{0, {44, 54, 86}}, {1, {18, 22, 40}}}), {200, 170, 90}, 2);
  UseFont(cr, FontId::kSansBold, 14);
  TextCentredShadow(cr, "Exchange Pieces", 200, 17, {255, 226, 140}, {0, 0, 0});
  UseFont(cr, FontId::kSans, 10.5);
  TextCentredShadow(cr, "Click the Pieces of your Easel to mark them, then choose:", 200, 34,
                    {210, 215, 230}, {0, 0, 0});
  // Where the game looks for the buttons: cancel on the left, exchange on the right.
  DialogButton(cr, 72, 47, "Cancel", {150, 50, 50});
  DialogButton(cr, 236, 47, "Exchange", {50, 130, 70});
  UseFont(cr, FontId::kSans, 9.5);
  TextCentredShadow(cr, "The marked Pieces go back into the bag; new ones take their place.", 200,
                    82, {160, 168, 190}, {0, 0, 0});
}

}  // namespace

void DrawInterfaceCell(cairo_t* cr, int code) {
  switch (code) {
    case 160:
      EmptySlot(cr);
      break;
    case 222:
      LastWordMarker(cr);
      break;
    case 223:
      LaidPieceMarker(cr);
      break;
    case 224:
      ExchangeMark(cr);
      break;
    case 228:
      EaselFrameTile(cr);
      break;
    case 229:
      Sparkle(cr);
      break;
    case 238:
      ExchangeToken(cr, false);
      break;
    case 239:
      ExchangeToken(cr, true);
      break;
    case 240:
      ExchangeDialog(cr);
      break;
    default:
      break;
  }
}

}  // namespace qm::assets
