// The interface pictures of gfx/: pointer sheet, avatars, heads-up display, EXIT square and
// the option panels whose entries the game finds by position (20 x 20 rows).
#include <array>
#include <cmath>
#include <string>

#include "Pictures.hpp"

namespace qm::assets {

void DrawAvatar(cairo_t* cr, int index);  // PicturesAvatars.cpp

namespace {

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kIcon = {226, 232, 244};

void Arrow(cairo_t* cr, Rgb fill) {
  // Tip exactly at the top-left pixel: that is the pointer's hot spot.
  cairo_move_to(cr, 0.5, 0.5);
  cairo_line_to(cr, 0.5, 21);
  cairo_line_to(cr, 6, 16);
  cairo_line_to(cr, 10, 25);
  cairo_line_to(cr, 14, 23.2);
  cairo_line_to(cr, 10, 14.5);
  cairo_line_to(cr, 17, 14.5);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  FillOutlined(cr, Linear(0, 0, 14, 24, {{0, Mix(fill, kWhite, 0.6)}, {1, Scale(fill, 0.75)}}),
               {20, 16, 30}, 1.2);
}

void GrabbingHand(cairo_t* cr, Rgb cuff) {
  // A closed hand seen from the back, knuckles up, with the hot spot at its top-left.
  const Rgb skin = {246, 214, 178};
  for (int k = 0; k < 4; ++k) {
    RoundedRect(cr, 3 + k * 5.2, 3 + (k == 0 || k == 3 ? 1.5 : 0), 5.6, 9, 2.6);
    FillOutlined(cr, skin, {90, 50, 30}, 1);
  }
  RoundedRect(cr, 3, 9, 21, 12, 4);
  FillOutlined(cr, skin, {90, 50, 30}, 1);
  RoundedRect(cr, 1, 12, 6, 6, 2.5);  // thumb
  FillOutlined(cr, Scale(skin, 0.93), {90, 50, 30}, 1);
  RoundedRect(cr, 6, 20, 15, 6, 1.5);
  FillOutlined(cr, cuff, {20, 16, 30}, 1);
  StarPath(cr, 2, 2, 3.4, 1.3, 4, M_PI / 4);  // a spark, one ray on the hot spot
  Fill(cr, {255, 240, 120});
}

Pixels PointerSheet() {
  Canvas canvas(256, 32);
  cairo_t* cr = canvas.Cr();
  const Rgb tones[4] = {{255, 214, 80}, {200, 210, 230}, {110, 200, 255}, {140, 230, 140}};
  for (int frame = 0; frame < 4; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, frame * 32, 0);
    Arrow(cr, tones[frame]);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 128 + frame * 32, 0);
    GrabbingHand(cr, tones[frame]);
    cairo_restore(cr);
  }
  return ToKeyedPixels(canvas);
}

Pixels Emblem(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.Cr();
  double s = size / 60.0;
  cairo_scale(cr, s, s);
  cairo_translate(cr, 4, 0);
  DrawPiece(cr, 79 + ('Q' - 'A'));
  return ToKeyedPixels(canvas);
}

Pixels AvatarStrip() {
  Canvas canvas(1528, 76);
  cairo_t* cr = canvas.Cr();
  for (int a = 0; a < 20; ++a) {
    cairo_save(cr);
    cairo_translate(cr, std::lround(a * 76.4), 0);
    cairo_rectangle(cr, 0, 0, 76, 76);
    cairo_clip(cr);
    DrawAvatar(cr, a);
    cairo_restore(cr);
  }
  return ToOpaquePixels(canvas);
}

void MetalPlate(cairo_t* cr, double x, double y, double w, double h, double r) {
  RoundedRect(cr, x, y, w, h, r);
  FillOutlined(cr, Linear(0, y, 0, y + h, {{0, {52, 60, 86}}, {1, {16, 18, 32}}}), {196, 164, 90},
               1.5);
}

Pixels HudPanel() {
  Canvas canvas(180, 28);
  cairo_t* cr = canvas.Cr();
  MetalPlate(cr, 1, 1, 178, 26, 7);
  // Bag icon before the count (text at x 52), flag before the level (text at x 112).
  cairo_move_to(cr, 36, 9);
  cairo_curve_to(cr, 28, 12, 29, 23, 33, 23);
  cairo_line_to(cr, 43, 23);
  cairo_curve_to(cr, 47, 23, 48, 12, 40, 9);
  cairo_close_path(cr);
  Fill(cr, {196, 150, 96});
  RoundedRect(cr, 34, 6, 8, 4, 1.5);
  Fill(cr, {240, 210, 110});
  cairo_rectangle(cr, 96, 6, 1.4, 17);
  Fill(cr, {220, 220, 230});
  TrianglePath(cr, 97.4, 6, 107, 9.5, 97.4, 13);
  Fill(cr, {230, 90, 80});
  return ToKeyedPixels(canvas);
}

Pixels ExitSquare() {
  Canvas canvas(14, 14);
  cairo_t* cr = canvas.Cr();
  cairo_rectangle(cr, 0, 0, 14, 14);
  Fill(cr, {120, 16, 20});
  cairo_rectangle(cr, 0.5, 0.5, 13, 13);
  Stroke(cr, {255, 150, 140}, 1);
  cairo_move_to(cr, 4, 4);
  cairo_line_to(cr, 10, 10);
  cairo_move_to(cr, 10, 4);
  cairo_line_to(cr, 4, 10);
  Stroke(cr, kWhite, 1.8);
  return ToOpaquePixels(canvas);
}

// One 20 x 20 entry: a small bevelled button; the icon is drawn by the caller at (x, y).
void EntryButton(cairo_t* cr, double x, double y, double size, Rgb tint) {
  cairo_rectangle(cr, x, y, size, size);
  FillWith(cr, Linear(0, y, 0, y + size,
                      {{0, Mix({44, 50, 72}, tint, 0.25)}, {1, Mix({14, 16, 26}, tint, 0.1)}}));
  cairo_rectangle(cr, x + 0.5, y + 0.5, size - 1, size - 1);
  Stroke(cr, Mix({90, 96, 120}, tint, 0.4), 1);
}

// The panel's entries, one under the other from the top.
void EntryColumn(cairo_t* cr, int count, Rgb tint) {
  for (int k = 0; k < count; ++k) EntryButton(cr, 0, k * 20, 20, tint);
}

void SpeechBubble(cairo_t* cr, double x, double y) {
  RoundedRect(cr, x + 2, y + 3, 16, 10, 3);
  cairo_move_to(cr, x + 5, y + 12);
  cairo_line_to(cr, x + 4, y + 17);
  cairo_line_to(cr, x + 9, y + 12.5);
  Fill(cr, kIcon);
}

void PlusMinus(cairo_t* cr, double cx, double cy, bool plus, Rgb colour) {
  SetSource(cr, colour);
  cairo_rectangle(cr, cx - 3.5, cy - 1, 7, 2);
  if (plus) cairo_rectangle(cr, cx - 1, cy - 3.5, 2, 7);
  cairo_fill(cr);
}

Pixels ChatPanel() {
  Canvas canvas(20, 100);
  cairo_t* cr = canvas.Cr();
  EntryColumn(cr, 5, {200, 0, 200});
  // 1 more lines, 2 text size, 3 colours, 4 transparency, 5 fewer lines.
  SpeechBubble(cr, 0, 0);
  PlusMinus(cr, 10, 8, true, {120, 20, 120});
  UseFont(cr, FontId::kSansBold, 12);
  SetSource(cr, kIcon);
  TextCentred(cr, "A", 7, 31);
  UseFont(cr, FontId::kSansBold, 8);
  TextCentred(cr, "a", 14.5, 33);
  const Rgb dots[4] = {{255, 90, 90}, {255, 220, 80}, {90, 220, 120}, {100, 160, 255}};
  for (int i = 0; i < 4; ++i) {
    cairo_arc(cr, 6 + (i % 2) * 8, 46 + (i / 2) * 8, 3, 0, 2 * M_PI);
    Fill(cr, dots[i]);
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      cairo_rectangle(cr, 3 + c * 3.5, 63 + r * 3.5, 3.5, 3.5);
      Fill(cr, (r + c) % 2 ? Rgb{200, 205, 220} : Rgb{70, 76, 96});
    }
  SpeechBubble(cr, 0, 80);
  PlusMinus(cr, 10, 88, false, {120, 20, 120});
  return ToOpaquePixels(canvas);
}

void PlayTriangle(cairo_t* cr, double x, double y, bool right) {
  double d = right ? 1 : -1;
  TrianglePath(cr, x, y - 4.5, x + d * 6, y, x, y + 4.5);
  cairo_fill(cr);
}

void Note(cairo_t* cr, double x, double y) {
  EllipsePath(cr, x + 7, y + 14, 1.3, 1, 2.6);
  cairo_fill(cr);
  cairo_rectangle(cr, x + 9.6, y + 3, 1.4, 11);
  cairo_fill(cr);
  cairo_move_to(cr, x + 11, y + 3);
  cairo_curve_to(cr, x + 14, y + 5, x + 16, y + 6, x + 14, y + 10);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

Pixels MusicPanel() {
  Canvas canvas(20, 140);
  cairo_t* cr = canvas.Cr();
  EntryColumn(cr, 4, {0, 200, 0});
  SetSource(cr, kIcon);
  PlayTriangle(cr, 4, 10, true);  // next track
  PlayTriangle(cr, 10, 10, true);
  cairo_rectangle(cr, 16, 5.5, 1.6, 9);
  cairo_fill(cr);
  Note(cr, 0, 20);  // music off: a crossed note
  cairo_move_to(cr, 3, 23);
  cairo_line_to(cr, 17, 37);
  Stroke(cr, {255, 90, 80}, 2);
  SetSource(cr, {140, 240, 140});  // music on
  Note(cr, 0, 40);
  SetSource(cr, kIcon);  // previous track
  cairo_rectangle(cr, 2.4, 65.5, 1.6, 9);
  cairo_fill(cr);
  PlayTriangle(cr, 10, 70, false);
  PlayTriangle(cr, 16, 70, false);
  // Volume strip: the bottom 60 rows, louder toward the top.
  cairo_rectangle(cr, 0, 80, 20, 60);
  Fill(cr, {12, 14, 22});
  TrianglePath(cr, 3, 138, 17, 82, 17, 138);
  FillWith(cr, Linear(0, 140, 0, 80, {{0, {30, 120, 40}}, {1, {170, 255, 120}}}));
  for (int k = 1; k < 6; ++k) {
    cairo_rectangle(cr, 0, 140 - k * 10, 20, 1);
    Fill(cr, {12, 14, 22}, 0.8);
  }
  cairo_rectangle(cr, 0.5, 80.5, 19, 59);
  Stroke(cr, {90, 96, 120}, 1);
  return ToOpaquePixels(canvas);
}

Pixels PiecesPanel() {
  // Drawn keyed: rows 0..59 are the three entries, the validation button sits at rows 67..90.
  Canvas canvas(24, 91);
  cairo_t* cr = canvas.Cr();
  EntryColumn(cr, 3, {150, 150, 255});
  // 1 shuffle: two crossing arrows.
  SetSource(cr, kIcon);
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 3, 6);
  cairo_curve_to(cr, 9, 6, 10, 14, 15, 14);
  cairo_move_to(cr, 3, 14);
  cairo_curve_to(cr, 9, 14, 10, 6, 15, 6);
  cairo_stroke(cr);
  PlayTriangle(cr, 15, 6, true);
  PlayTriangle(cr, 15, 14, true);
  // 2 arrangement: bars in rising order.
  for (int i = 0; i < 4; ++i) {
    cairo_rectangle(cr, 3 + i * 4, 36 - (3 + i * 3), 3, 3 + i * 3);
  }
  cairo_fill(cr);
  // 3 get back: an arrow curling down into the rack.
  cairo_move_to(cr, 15, 44);
  cairo_curve_to(cr, 15, 51, 6, 50, 6, 55);
  cairo_stroke(cr);
  TrianglePath(cr, 2.5, 53, 6, 58, 9.5, 53);
  cairo_fill(cr);
  cairo_rectangle(cr, 11, 55, 7, 3);
  cairo_fill(cr);
  // Validation button: a green check on a raised square.
  RoundedRect(cr, 0.5, 67.5, 23, 23, 3);
  FillOutlined(cr, Linear(0, 67, 0, 91, {{0, {90, 200, 100}}, {1, {20, 90, 40}}}), {200, 255, 200},
               1);
  cairo_move_to(cr, 5, 79);
  cairo_line_to(cr, 10, 85);
  cairo_line_to(cr, 19, 72);
  StrokeRound(cr, kWhite, 3);
  return ToKeyedPixels(canvas);
}

Pixels ViewPanel() {
  Canvas canvas(20, 60);
  cairo_t* cr = canvas.Cr();
  EntryColumn(cr, 3, {255, 255, 0});
  // 0 objectives: a target.
  for (int ring = 0; ring < 3; ++ring) {
    cairo_arc(cr, 10, 10, 7 - ring * 2.5, 0, 2 * M_PI);
    Fill(cr, ring % 2 ? Rgb{230, 60, 60} : kIcon);
  }
  // 1 grid background: three small hexagons.
  for (int i = 0; i < 3; ++i) {
    cairo_save(cr);
    cairo_translate(cr, (i == 2 ? 10 : 5.5 + i * 9) - 26 * 0.17, (i == 2 ? 34.5 : 27) - 30 * 0.17);
    cairo_scale(cr, 0.17, 0.17);
    HexPath(cr, 0);
    cairo_restore(cr);
    Stroke(cr, kIcon, 1.1);
  }
  // 2 background space: a ringed planet and a star.
  cairo_arc(cr, 10, 50, 4.5, 0, 2 * M_PI);
  Fill(cr, {120, 170, 255});
  EllipsePath(cr, 10, 50, 1, 0.35, 8);
  Stroke(cr, kIcon, 1);
  StarPath(cr, 16, 43, 2.5, 0.7, 4);
  cairo_fill(cr);
  return ToOpaquePixels(canvas);
}

Pixels HudFrame() {
  // Drawn keyed at (sw - 420, 30): the avatar lands at (170, 70), the texts from (265, 78).
  Canvas canvas(410, 168);
  cairo_t* cr = canvas.Cr();
  MetalPlate(cr, 150, 30, 256, 134, 14);
  // Avatar bezel.
  RoundedRect(cr, 165, 65, 86, 86, 6);
  Fill(cr, {200, 170, 96});
  RoundedRect(cr, 168, 68, 80, 80, 4);
  Fill(cr, {20, 20, 28});
  // Lines under the three texts.
  for (int k = 0; k < 3; ++k) {
    cairo_rectangle(cr, 262, 96 + k * 23, 134, 1);
    Fill(cr, {196, 164, 90}, 0.45);
  }
  // Title band with four hex studs.
  UseFont(cr, FontId::kSerifBoldItalic, 13);
  TextCentredShadow(cr, "Quillmosaica", 300, 47, {255, 220, 130}, {0, 0, 0});
  for (int k = 0; k < 4; ++k) {
    cairo_save(cr);
    double x = k < 2 ? 170 + k * 14 : 370 + (k - 2) * 14;
    cairo_translate(cr, x, 41);
    cairo_scale(cr, 0.16, 0.16);
    HexPath(cr, 0);
    cairo_restore(cr);
    Fill(cr, {200, 170, 96});
  }
  return ToKeyedPixels(canvas);
}

}  // namespace

Pixels RenderInterfacePicture(int number) {
  using Make = Pixels (*)();
  constexpr std::array<Make, 11> kPictures = {PointerSheet, [] { return Emblem(128); },
                                              AvatarStrip,  [] { return Emblem(64); },
                                              HudPanel,     ExitSquare,
                                              ChatPanel,    MusicPanel,
                                              PiecesPanel,  ViewPanel,
                                              HudFrame};
  // Any other number is the heads-up frame, the last picture.
  const size_t index = number >= 1 && number <= 10 ? static_cast<size_t>(number - 1) : 10;
  return kPictures[index]();
}

}  // namespace qm::assets
