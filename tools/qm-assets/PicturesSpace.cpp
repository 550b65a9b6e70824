// Space: the 24 backgrounds (nebulae, star fields, planets), the drifting objects that also
// serve as plain cells, and the title picture.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr int kBackgroundWidth = 2800;
constexpr int kBackgroundHeight = 1800;

double Hash2(int x, int y, int seed) {
  uint64_t h = static_cast<uint64_t>(x) * 0x8DA6B343ull ^ static_cast<uint64_t>(y) * 0xD8163841ull ^
               static_cast<uint64_t>(seed) * 0xCB1AB31Full;
  h ^= h >> 13;
  h *= 0x5BD1E995ull;
  h ^= h >> 15;
  return static_cast<double>(h & 0xFFFFFF) / 16777216.0;
}

double ValueNoise(double x, double y, int seed) {
  int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  double fx = x - xi, fy = y - yi;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  double a = Hash2(xi, yi, seed), b = Hash2(xi + 1, yi, seed);
  double c = Hash2(xi, yi + 1, seed), d = Hash2(xi + 1, yi + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double Fbm(double x, double y, int seed, int octaves) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, seed + o * 131);
    norm += amp;
    x *= 2.03;
    y *= 2.03;
    amp *= 0.5;
  }
  return sum / norm;
}

struct SpacePalette {
  Rgb deep, nebulaA, nebulaB;
};

constexpr std::array<SpacePalette, 8> kPalettes = {{
    {{4, 6, 16}, {60, 40, 140}, {200, 60, 120}},   // violet and rose
    {{2, 8, 14}, {20, 100, 130}, {60, 170, 150}},  // teal
    {{10, 4, 8}, {150, 50, 40}, {230, 140, 60}},   // ember
    {{3, 5, 12}, {40, 70, 160}, {120, 170, 240}},  // blue
    {{6, 8, 6}, {50, 110, 60}, {170, 190, 80}},    // green
    {{8, 4, 14}, {110, 40, 150}, {60, 120, 200}},  // purple and blue
    {{8, 6, 4}, {140, 100, 50}, {90, 60, 130}},    // dust
    {{2, 3, 6}, {40, 50, 70}, {90, 100, 120}},     // grey void
}};

void Planet(cairo_t* cr, Dice& dice, double cx, double cy, double rad, Rgb colour, bool ring) {
  // The ring's far half goes behind the body, its near half in front.
  auto ringHalf = [&](double from, double to, double lift, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1, 0.28);
    cairo_arc(cr, 0, 0, rad * 1.9, from, to);
    cairo_restore(cr);
    Stroke(cr, Mix(colour, {255, 255, 255}, lift), rad * 0.12, alpha);
  };
  if (ring) ringHalf(M_PI, 2 * M_PI, 0.3, 0.55);
  cairo_arc(cr, cx, cy, rad, 0, 2 * M_PI);
  FillWith(
      cr,
      Radial(cx - rad * 0.4, cy - rad * 0.4, rad * 0.05, cx, cy, rad,
             {{0, Mix(colour, {255, 255, 255}, 0.35)}, {0.6, colour}, {1, Scale(colour, 0.25)}}));
  // Cloud bands or craters.
  cairo_save(cr);
  cairo_arc(cr, cx, cy, rad, 0, 2 * M_PI);
  cairo_clip(cr);
  int bands = 3 + dice.UpTo(5);
  for (int b = 0; b < bands; ++b) {
    double y = cy - rad + dice.Unit() * 2 * rad;
    SetSource(cr, dice.Unit() < 0.5 ? Scale(colour, 0.7) : Mix(colour, {255, 255, 255}, 0.2), 0.35);
    // Bands follow the sphere: flat ellipses that bow toward the poles.
    double thickness = rad * dice.Range(0.04, 0.15), bow = (y - cy) / rad * rad * 0.25;
    cairo_move_to(cr, cx - rad, y);
    cairo_curve_to(cr, cx - rad * 0.5, y + bow, cx + rad * 0.5, y + bow, cx + rad, y);
    cairo_line_to(cr, cx + rad, y + thickness);
    cairo_curve_to(cr, cx + rad * 0.5, y + thickness + bow, cx - rad * 0.5, y + thickness + bow,
                   cx - rad, y + thickness);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  // Night side.
  PaintWith(cr, Linear(cx - rad * 0.2, cy - rad * 0.2, cx + rad, cy + rad,
                       {{0, {0, 0, 0}, 0}, {1, {0, 0, 4}, 0.85}}));
  cairo_restore(cr);
  // Atmosphere rim.
  cairo_arc(cr, cx, cy, rad, M_PI * 0.9, M_PI * 1.75);
  Stroke(cr, Mix(colour, {255, 255, 255}, 0.6), std::max(1.0, rad * 0.04), 0.5);
  if (ring) ringHalf(0, M_PI, 0.4, 0.75);
}

void Stars(cairo_t* cr, Dice& dice, int width, int height, double density) {
  int count = static_cast<int>(width * height / 1000.0 * density);
  for (int i = 0; i < count; ++i) {
    double x = dice.Unit() * width, y = dice.Unit() * height;
    double m = dice.Unit();
    double rad = 0.35 + m * m * m * 1.3;
    Rgb tone = Mix({255, 255, 255}, dice.Unit() < 0.5 ? Rgb{170, 200, 255} : Rgb{255, 220, 170},
                   dice.Unit());
    cairo_arc(cr, x, y, rad, 0, 2 * M_PI);
    Fill(cr, tone, 0.35 + 0.65 * dice.Unit());
  }
  // A few bright stars with a halo and spikes.
  int bright = static_cast<int>(width * height / 160000.0 * density);
  for (int i = 0; i < bright; ++i) {
    double x = dice.Unit() * width, y = dice.Unit() * height, s = dice.Range(4, 12);
    cairo_arc(cr, x, y, s * 2, 0, 2 * M_PI);
    FillWith(
        cr,
        Radial(x, y, 0, x, y, s * 2,
               {{0, {255, 255, 255}, 0.9}, {0.2, {200, 220, 255}, 0.35}, {1, {200, 220, 255}, 0}}));
    StarPath(cr, x, y, s * 1.6, 0.6, 4);
    Fill(cr, {230, 240, 255}, 0.6);
  }
}

}  // namespace

void PaintSpace(Canvas& canvas, int seed, double scale) {
  const SpacePalette& pal = kPalettes[static_cast<size_t>(seed) % kPalettes.size()];
  const int w = canvas.Width(), h = canvas.Height();
  // Nebula on a coarse grid, then smoothed up to full size.
  const int step = 4, gw = w / step + 2, gh = h / step + 2;
  std::vector<float> fieldA(static_cast<size_t>(gw) * gh), fieldB(fieldA.size());
  const double freq = (0.0011 + 0.0004 * (seed % 3)) / scale;
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx) {
      double x = gx * step * freq, y = gy * step * freq;
      double warp = Fbm(x * 0.7 + 3.1, y * 0.7 - 1.7, seed + 50, 3);
      double a = Fbm(x + warp * 1.8, y + warp * 1.2, seed, 5);
      double b = Fbm(x * 1.6 - warp, y * 1.6 + 5.3, seed + 99, 5);
      a = std::clamp((a - 0.42) * 2.4, 0.0, 1.0);
      b = std::clamp((b - 0.52) * 3.0, 0.0, 1.0);
      fieldA[static_cast<size_t>(gy) * gw + gx] = static_cast<float>(a * a);
      fieldB[static_cast<size_t>(gy) * gw + gx] = static_cast<float>(b * b * b);
    }
  cairo_surface_flush(canvas.Surface());
  unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
  const int stride = cairo_image_surface_get_stride(canvas.Surface());
  const double strength = (seed % 8 == 7) ? 0.45 : 0.8;
  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    int gy = y / step;
    double fy = (y % step) / static_cast<double>(step);
    for (int x = 0; x < w; ++x) {
      int gx = x / step;
      double fx = (x % step) / static_cast<double>(step);
      auto sample = [&](const std::vector<float>& f) {
        size_t i = static_cast<size_t>(gy) * gw + gx;
        double top = f[i] + (f[i + 1] - f[i]) * fx;
        double bottom = f[i + gw] + (f[i + gw + 1] - f[i + gw]) * fx;
        return top + (bottom - top) * fy;
      };
      double a = sample(fieldA) * strength, b = sample(fieldB) * strength;
      double r = pal.deep.r + pal.nebulaA.r * a + pal.nebulaB.r * b;
      double g = pal.deep.g + pal.nebulaA.g * a + pal.nebulaB.g * b;
      double bl = pal.deep.b + pal.nebulaA.b * a + pal.nebulaB.b * b;
      auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 1.0, 255.0)); };
      row[x] = 0xFF000000u | (c(r) << 16) | (c(g) << 8) | c(bl);
    }
  }
  cairo_surface_mark_dirty(canvas.Surface());
  Dice dice(static_cast<uint64_t>(seed) * 7919 + 3);
  Stars(canvas.Cr(), dice, w, h, 0.55 + 0.5 * dice.Unit());
}

Pixels RenderSpaceBackground(int number) {
  Canvas canvas(kBackgroundWidth, kBackgroundHeight);
  PaintSpace(canvas, number, 1.0);
  cairo_t* cr = canvas.Cr();
  Dice dice(static_cast<uint64_t>(number) * 31 + 17);
  // Planets mostly toward the edges, where the Board covers them least.
  int planets = number % 3;
  for (int p = 0; p < planets; ++p) {
    double rad = dice.Range(60, 260);
    double cx = dice.Unit() < 0.5 ? dice.Range(150, 700) : dice.Range(2100, 2650);
    double cy = dice.Range(200, 1600);
    Rgb colour = {dice.Range(60, 220), dice.Range(60, 200), dice.Range(60, 220)};
    Planet(cr, dice, cx, cy, rad, colour, dice.Unit() < 0.4);
  }
  return ToOpaquePixels(canvas);
}

void DrawSpaceObject(cairo_t* cr, int index) {
  Dice dice(static_cast<uint64_t>(index) + 600);
  switch (index) {
    case 2:
      Planet(cr, dice, 26, 30, 12, {210, 170, 100}, true);
      return;
    case 6:
      Planet(cr, dice, 26, 30, 17, {200, 120, 80}, false);
      return;
    case 8:
      Planet(cr, dice, 26, 30, 16, {70, 130, 220}, false);
      return;
    default:
      break;
  }
  if (index == 5) {  // a drifting satellite
    cairo_rectangle(cr, 6, 26, 14, 8);
    cairo_rectangle(cr, 32, 26, 14, 8);
    Fill(cr, {60, 90, 170});
    SetSource(cr, {150, 180, 240}, 0.8);
    for (int k = 0; k < 4; ++k) {
      cairo_rectangle(cr, 7 + k * 3.4, 27, 0.6, 6);
      cairo_rectangle(cr, 33 + k * 3.4, 27, 0.6, 6);
    }
    cairo_fill(cr);
    RoundedRect(cr, 20, 22, 12, 16, 2);
    Fill(cr, {200, 190, 150});
    cairo_arc(cr, 26, 18, 4, M_PI, 2 * M_PI);
    Fill(cr, {230, 230, 230});
    return;
  }
  // Asteroids: lumpy rocks with craters, one or two per picture.
  int rocks = (index == 7) ? 2 : 1;
  for (int r = 0; r < rocks; ++r) {
    double cx = rocks == 2 ? (r ? 34 : 18) : 26, cy = rocks == 2 ? (r ? 36 : 24) : 30;
    double rad = rocks == 2 ? 10 - r * 2 : 13 + (index % 3) * 2;
    Rgb tone = index == 1   ? Rgb{170, 200, 220}
               : index == 4 ? Rgb{150, 110, 190}
                            : Rgb{130, 116, 100};
    cairo_new_path(cr);
    const int n = 11;
    for (int k = 0; k < n; ++k) {
      double a = k * 2 * M_PI / n, rr = rad * dice.Range(0.78, 1.08);
      cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
    FillWith(cr,
             Radial(cx - rad * 0.4, cy - rad * 0.4, 1, cx, cy, rad * 1.1,
                    {{0, Mix(tone, {255, 255, 255}, 0.35)}, {0.7, tone}, {1, Scale(tone, 0.35)}}));
    for (int c = 0; c < 3; ++c) {
      double x = cx + dice.Range(-rad * 0.5, rad * 0.5), y = cy + dice.Range(-rad * 0.5, rad * 0.5);
      double cr2 = dice.Range(1.2, rad * 0.25);
      cairo_arc(cr, x, y, cr2, 0, 2 * M_PI);
      Fill(cr, Scale(tone, 0.5), 0.8);
      SetSource(cr, Mix(tone, {255, 255, 255}, 0.3), 0.6);
      cairo_arc(cr, x + 0.6, y + 0.6, cr2, 0.1, 1.6);
      cairo_set_line_width(cr, 0.7);
      cairo_stroke(cr);
    }
    if (index == 1) {  // icy comet: a short tail
      cairo_move_to(cr, cx - rad * 0.6, cy - rad * 0.6);
      cairo_line_to(cr, 2, 6);
      cairo_line_to(cr, cx - rad * 0.9, cy + rad * 0.1);
      Fill(cr, {200, 230, 255}, 0.6);
    }
  }
}

Pixels RenderTitle() {
  Canvas canvas(1024, 594);
  PaintSpace(canvas, 5, 0.5);
  cairo_t* cr = canvas.Cr();
  Dice dice(42);
  Planet(cr, dice, 880, 470, 150, {90, 120, 210}, true);
  // The name spelled in Pieces of every Material, on a gentle arc.
  const std::string name = "QUILLMOSAICA";
  const double scale = 1.32, pitch = 52 * scale;
  const double x0 = 512 - pitch * name.size() / 2;
  for (size_t i = 0; i < name.size(); ++i) {
    int material = static_cast<int>(i * 5 / name.size());
    int code = material * 26 + (name[i] - 'A') + 1;
    double dx = x0 + i * pitch, dy = 175 + 14 * std::pow((i - 5.5) / 5.5, 2);
    cairo_save(cr);
    cairo_translate(cr, dx + 4, dy + 6);
    cairo_scale(cr, scale, scale);
    HexPath(cr, 0);
    Fill(cr, {0, 0, 0}, 0.5);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, scale, scale);
    DrawPiece(cr, code);
    cairo_restore(cr);
  }
  UseFont(cr, FontId::kSerifBoldItalic, 30);
  TextCentredShadow(cr, "Lay your words among the stars", 512, 320, {255, 226, 150}, {0, 0, 0}, 2,
                    2);
  UseFont(cr, FontId::kSans, 15);
  TextCentredShadow(cr, "Click or press Space", 512, 540, {180, 190, 220}, {0, 0, 0});
  return ToOpaquePixels(canvas);
}

}  // namespace qm::assets
