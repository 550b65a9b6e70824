// The 20 avatars, 76 x 76 each: travellers of five kinds (people, robots, aliens, cats and
// owls), four of each, told apart by colours, eyes and headgear.
#include <array>
#include <cmath>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr Rgb kInk = {24, 18, 30};
constexpr Rgb kWhite = {255, 255, 255};

void Backdrop(cairo_t* cr, Rgb colour) {
  cairo_rectangle(cr, 0, 0, 76, 76);
  FillWith(
      cr, Radial(38, 30, 4, 38, 38, 56, {{0, Mix(colour, kWhite, 0.3)}, {1, Scale(colour, 0.35)}}));
}

void Shaded(cairo_t* cr, Rgb colour) {
  FillOutlined(cr, Linear(20, 10, 60, 70, {{0, Mix(colour, kWhite, 0.3)}, {1, Scale(colour, 0.7)}}),
               kInk, 1.5);
}

void Eye(cairo_t* cr, double x, double y, double rad, Rgb iris) {
  cairo_arc(cr, x, y, rad, 0, 2 * M_PI);
  Fill(cr, kWhite);
  cairo_arc(cr, x + rad * 0.15, y + rad * 0.1, rad * 0.6, 0, 2 * M_PI);
  Fill(cr, iris);
  cairo_arc(cr, x + rad * 0.15, y + rad * 0.1, rad * 0.3, 0, 2 * M_PI);
  Fill(cr, kInk);
  cairo_arc(cr, x - rad * 0.2, y - rad * 0.25, rad * 0.18, 0, 2 * M_PI);
  Fill(cr, kWhite);
}

void Smile(cairo_t* cr, double cx, double cy, double w) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy - w * 0.6, w, M_PI * 0.25, M_PI * 0.75);
  SetSource(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

void Shoulders(cairo_t* cr, Rgb colour) {
  cairo_move_to(cr, 8, 76);
  cairo_curve_to(cr, 10, 60, 24, 56, 38, 56);
  cairo_curve_to(cr, 52, 56, 66, 60, 68, 76);
  cairo_close_path(cr);
  Shaded(cr, colour);
}

void Person(cairo_t* cr, int v) {
  const Rgb skins[4] = {{246, 206, 170}, {198, 140, 100}, {240, 190, 150}, {140, 92, 64}};
  const Rgb hair[4] = {{90, 50, 20}, {20, 18, 24}, {230, 180, 80}, {170, 60, 40}};
  const Rgb suits[4] = {{60, 90, 170}, {170, 60, 70}, {60, 140, 90}, {120, 80, 160}};
  Shoulders(cr, suits[v]);
  cairo_arc(cr, 38, 36, 17, 0, 2 * M_PI);
  Shaded(cr, skins[v]);
  // Hair: a cap of different cut per traveller.
  cairo_new_path(cr);
  if (v == 2) {
    cairo_arc(cr, 38, 33, 19, M_PI * 0.95, M_PI * 2.05);
    cairo_line_to(cr, 58, 50);
    cairo_line_to(cr, 52, 40);
    cairo_line_to(cr, 24, 40);
    cairo_line_to(cr, 18, 50);
  } else {
    cairo_arc(cr, 38, 34, 18, M_PI * 1.02, M_PI * 1.98);
    cairo_line_to(cr, 50, 28);
    cairo_line_to(cr, 26, 28);
  }
  cairo_close_path(cr);
  Shaded(cr, hair[v]);
  Eye(cr, 32, 38, 3.6, {60, 110, 170});
  Eye(cr, 44, 38, 3.6, {60, 110, 170});
  Smile(cr, 38, 48, 5);
  if (v == 3) {  // space helmet visor ring
    cairo_arc(cr, 38, 36, 23, 0, 2 * M_PI);
    Stroke(cr, {200, 230, 255}, 2.5, 0.5);
  }
}

void Robot(cairo_t* cr, int v) {
  const Rgb metal[4] = {{170, 180, 196}, {220, 160, 60}, {110, 170, 160}, {190, 100, 90}};
  Shoulders(cr, Scale(metal[v], 0.7));
  RoundedRect(cr, 19, 18, 38, 34, 6 + v * 2);
  Shaded(cr, metal[v]);
  cairo_rectangle(cr, 37, 8, 2, 10);
  Fill(cr, kInk);
  cairo_arc(cr, 38, 8, 3, 0, 2 * M_PI);
  Fill(cr, v % 2 ? Rgb{255, 80, 80} : Rgb{120, 255, 140});
  RoundedRect(cr, 24, 26, 28, 11, 5);
  Fill(cr, {20, 30, 40});
  for (int e = 0; e < 2; ++e) {
    cairo_arc(cr, 31 + e * 14, 31.5, 3, 0, 2 * M_PI);
    Fill(cr, v == 2 ? Rgb{255, 200, 60} : Rgb{90, 220, 255});
  }
  for (int g = 0; g < 5; ++g) {
    cairo_rectangle(cr, 28 + g * 4, 42, 2.4, 5);
    Fill(cr, kInk);
  }
}

void Alien(cairo_t* cr, int v) {
  const Rgb skins[4] = {{130, 210, 120}, {150, 120, 220}, {90, 190, 210}, {230, 140, 190}};
  Shoulders(cr, {70, 70, 90});
  EllipsePath(cr, 38, 36, 1, 1.2, 17);
  Shaded(cr, skins[v]);
  int eyes = 1 + v % 3;
  for (int e = 0; e < eyes; ++e) {
    double x = 38 + (e - (eyes - 1) / 2.0) * 10;
    Eye(cr, x, 33, eyes == 1 ? 7 : 4.5, {200, 40, 60});
  }
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, 38 + side * 8, 17);
    cairo_line_to(cr, 38 + side * 14, 6);
    Stroke(cr, kInk, 1.5);
    cairo_arc(cr, 38 + side * 14, 6, 2.5, 0, 2 * M_PI);
    Fill(cr, skins[(v + 1) % 4]);
  }
  Smile(cr, 38, 52, 4);
}

void Cat(cairo_t* cr, int v) {
  const Rgb furs[4] = {{236, 150, 70}, {110, 110, 120}, {240, 236, 226}, {60, 50, 50}};
  const Rgb irises[4] = {{90, 190, 90}, {240, 200, 60}, {80, 150, 230}, {250, 220, 80}};
  Shoulders(cr, Scale(furs[v], 0.8));
  for (int side = -1; side <= 1; side += 2) {
    TrianglePath(cr, 38 + side * 6, 22, 38 + side * 17, 10, 38 + side * 18, 30);
    Shaded(cr, furs[v]);
  }
  cairo_arc(cr, 38, 38, 17, 0, 2 * M_PI);
  Shaded(cr, furs[v]);
  Eye(cr, 31, 36, 4, irises[v]);
  Eye(cr, 45, 36, 4, irises[v]);
  TrianglePath(cr, 36, 44, 40, 44, 38, 46.5);
  Fill(cr, {240, 120, 140});
  SetSource(cr, kInk);
  cairo_set_line_width(cr, 0.8);
  for (int w = -1; w <= 1; ++w) {
    cairo_move_to(cr, 30, 46 + w * 2);
    cairo_line_to(cr, 18, 45 + w * 4);
    cairo_move_to(cr, 46, 46 + w * 2);
    cairo_line_to(cr, 58, 45 + w * 4);
  }
  cairo_stroke(cr);
}

void Owl(cairo_t* cr, int v) {
  const Rgb feathers[4] = {{150, 110, 70}, {200, 200, 210}, {110, 80, 120}, {190, 140, 60}};
  EllipsePath(cr, 38, 44, 1, 1.25, 22);
  Shaded(cr, feathers[v]);
  for (int side = -1; side <= 1; side += 2) {
    TrianglePath(cr, 38 + side * 8, 20, 38 + side * 18, 12, 38 + side * 17, 26);
    Shaded(cr, Scale(feathers[v], 0.85));
    cairo_arc(cr, 38 + side * 9, 34, 8, 0, 2 * M_PI);
    Fill(cr, Mix(feathers[v], kWhite, 0.6));
    Eye(cr, 38 + side * 9, 34, 5.5, {255, 170, 30});
  }
  TrianglePath(cr, 35, 41, 41, 41, 38, 47);
  Fill(cr, {240, 180, 60});
}

}  // namespace

void DrawAvatar(cairo_t* cr, int index) {
  const std::array<Rgb, 20> backdrops = {{
      {60, 90, 160},  {150, 70, 90},   {60, 130, 120}, {110, 80, 150}, {70, 110, 170},
      {160, 110, 60}, {80, 140, 90},   {140, 70, 140}, {50, 120, 150}, {120, 100, 70},
      {90, 90, 160},  {160, 80, 70},   {70, 140, 150}, {130, 130, 80}, {100, 70, 120},
      {60, 100, 90},  {150, 100, 130}, {90, 120, 170}, {110, 80, 60},  {70, 70, 110},
  }};
  Backdrop(cr, backdrops[static_cast<size_t>(index)]);
  using Kind = void (*)(cairo_t*, int);
  constexpr std::array<Kind, 5> kKinds = {Person, Robot, Alien, Cat, Owl};
  kKinds[static_cast<size_t>(index % 5)](cr, index / 5);
  cairo_rectangle(cr, 0.5, 0.5, 75, 75);
  Stroke(cr, {14, 12, 20}, 1);
}

}  // namespace qm::assets
