#include "ArtKit.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qm::assets {

namespace {

// Tests point QM_ASSETS_FONT_DIR elsewhere to check that a missing font stops the tool.
std::string FontDir() {
  const char* dir = std::getenv("QM_ASSETS_FONT_DIR");
  return dir ? std::string(dir) + "/" : std::string("/usr/share/fonts/truetype/liberation2/");
}
constexpr std::array<const char*, static_cast<int>(FontId::kCount)> kFontFiles = {
    "LiberationSans-Bold.ttf", "LiberationSans-Regular.ttf", "LiberationSerif-Bold.ttf",
    "LiberationSerif-BoldItalic.ttf", "LiberationMono-Bold.ttf"};

// The fringe colour that half-covered edge pixels blend into: the near-black of space.
constexpr double kFringe = 6.0;

struct ThreadFonts {
  FT_Library library = nullptr;
  std::array<FT_Face, static_cast<int>(FontId::kCount)> faces{};
  std::array<cairo_font_face_t*, static_cast<int>(FontId::kCount)> cairoFaces{};
  ~ThreadFonts() {
    for (auto* f : cairoFaces)
      if (f) cairo_font_face_destroy(f);
    // The FT faces stay with the library; cairo may still hold them in caches until exit.
  }
};

ThreadFonts& Fonts() {
  thread_local ThreadFonts fonts;
  if (!fonts.library) FT_Init_FreeType(&fonts.library);
  return fonts;
}

uint8_t ClampByte(double v) {
  if (v <= 0) return 0;
  if (v >= 255) return 255;
  return static_cast<uint8_t>(std::lround(v));
}

Pixels Convert(const Canvas& canvas, bool keyed) {
  cairo_surface_flush(canvas.Surface());
  Pixels out;
  out.width = canvas.Width();
  out.height = canvas.Height();
  out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
  const unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
  int stride = cairo_image_surface_get_stride(canvas.Surface());
  for (int y = 0; y < out.height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < out.width; ++x) {
      uint32_t p = row[x];
      double a = ((p >> 24) & 255) / 255.0;
      double r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;  // premultiplied
      uint8_t* o = &out.rgb[(static_cast<size_t>(y) * out.width + x) * 3];
      if (keyed && a < 0.5) {
        o[0] = o[1] = o[2] = 0;
        continue;
      }
      o[0] = ClampByte(r + (1 - a) * kFringe);
      o[1] = ClampByte(g + (1 - a) * kFringe);
      o[2] = ClampByte(b + (1 - a) * kFringe * 1.2);
      if (o[0] == 0 && o[1] == 0 && o[2] == 0) o[0] = o[1] = o[2] = 1;  // never the key colour
    }
  }
  return out;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, double f) {
  return {c.r * f, c.g * f, c.b * f};
}
void SetSource(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}
void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

namespace {
cairo_pattern_t* WithStops(cairo_pattern_t* p, const Stops& stops) {
  for (const Stop& stop : stops) AddStop(p, stop.offset, stop.colour, stop.alpha);
  return p;
}
}  // namespace

Stops Shine(Rgb c, double lift, double shade) {
  return {{0, Mix(c, {255, 255, 255}, lift)}, {0.5, c}, {1, Scale(c, shade)}};
}

cairo_pattern_t* Linear(double x0, double y0, double x1, double y1, const Stops& stops) {
  return WithStops(cairo_pattern_create_linear(x0, y0, x1, y1), stops);
}
cairo_pattern_t* Radial(double x0, double y0, double r0, double x1, double y1, double r1,
                        const Stops& stops) {
  return WithStops(cairo_pattern_create_radial(x0, y0, r0, x1, y1, r1), stops);
}
void FillWith(cairo_t* cr, cairo_pattern_t* pattern) {
  cairo_set_source(cr, pattern);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}
void Fill(cairo_t* cr, Rgb colour, double alpha) {
  SetSource(cr, colour, alpha);
  cairo_fill(cr);
}
void Stroke(cairo_t* cr, Rgb colour, double width, double alpha) {
  SetSource(cr, colour, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}
void StrokeRound(cairo_t* cr, Rgb colour, double width) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Stroke(cr, colour, width);
}
void PaintWith(cairo_t* cr, cairo_pattern_t* pattern) {
  cairo_set_source(cr, pattern);
  cairo_paint(cr);
  cairo_pattern_destroy(pattern);
}
void FillOutlined(cairo_t* cr, cairo_pattern_t* pattern, Rgb line, double width) {
  cairo_set_source(cr, pattern);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(pattern);
  SetSource(cr, line);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}
void FillOutlined(cairo_t* cr, Rgb fill, Rgb line, double width) {
  SetSource(cr, fill);
  cairo_fill_preserve(cr);
  SetSource(cr, line);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void RimmedPlate(cairo_t* cr, double x, double y, double w, double h, double r, double faceR,
                 Rgb rim, Rgb top, Rgb bottom) {
  RoundedRect(cr, x, y, w, h, r);
  SetSource(cr, rim);
  cairo_fill(cr);
  RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, faceR);
  FillWith(cr, Linear(0, y + 1, 0, y + h - 1, {{0, top}, {1, bottom}}));
}

void Disc(cairo_t* cr, double cx, double cy, double rad, Rgb colour) {
  cairo_arc(cr, cx, cy, rad, 0, 2 * M_PI);
  FillWith(
      cr,
      Radial(cx - rad * 0.35, cy - rad * 0.4, rad * 0.1, cx, cy, rad,
             {{0, Mix(colour, {255, 255, 255}, 0.45)}, {0.7, colour}, {1, Scale(colour, 0.6)}}));
  cairo_arc(cr, cx, cy, rad - 0.5, 0, 2 * M_PI);
  SetSource(cr, Scale(colour, 0.4));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void Stud(cairo_t* cr, double x, double y, Rgb shadow, double shadowShift, double shadowRadius,
          Rgb light, double lightShift, double lightRadius) {
  SetSource(cr, shadow);
  cairo_arc(cr, x + shadowShift, y + shadowShift, shadowRadius, 0, 2 * M_PI);
  cairo_fill(cr);
  SetSource(cr, light);
  cairo_arc(cr, x - lightShift, y - lightShift, lightRadius, 0, 2 * M_PI);
  cairo_fill(cr);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

Pixels ToKeyedPixels(const Canvas& canvas) {
  return Convert(canvas, true);
}
Pixels ToOpaquePixels(const Canvas& canvas) {
  return Convert(canvas, false);
}

bool WriteBmp(const Pixels& pixels, const std::string& path) {
  const int rowBytes = (pixels.width * 3 + 3) & ~3;
  const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * pixels.height;
  std::vector<uint8_t> file(54 + imageBytes, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    file[at] = v & 255;
    file[at + 1] = (v >> 8) & 255;
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(pixels.width));
  put32(22, static_cast<uint32_t>(pixels.height));  // positive: bottom-up rows
  put16(26, 1);
  put16(28, 24);
  put32(34, imageBytes);
  put32(38, 2835);  // 72 dpi
  put32(42, 2835);
  for (int y = 0; y < pixels.height; ++y) {
    uint8_t* dst = &file[54 + static_cast<size_t>(pixels.height - 1 - y) * rowBytes];
    const uint8_t* src = &pixels.rgb[static_cast<size_t>(y) * pixels.width * 3];
    for (int x = 0; x < pixels.width; ++x) {
      dst[x * 3] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3];
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool WriteJpeg(const Pixels& pixels, const std::string& path, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = static_cast<JDIMENSION>(pixels.width);
  info.image_height = static_cast<JDIMENSION>(pixels.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        &pixels.rgb[static_cast<size_t>(info.next_scanline) * pixels.width * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  bool ok = !std::ferror(f);
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool WritePng(const Pixels& pixels, const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < pixels.height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < pixels.width; ++x) {
      const uint8_t* p = &pixels.rgb[(static_cast<size_t>(y) * pixels.width + x) * 3];
      row[x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  cairo_surface_mark_dirty(s);
  bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

bool CheckFonts() {
  bool ok = true;
  for (int i = 0; i < static_cast<int>(FontId::kCount); ++i) {
    std::string path = FontDir() + kFontFiles[i];
    if (!std::filesystem::exists(path)) {
      std::fprintf(stderr, "qm-assets: font missing: %s (install fonts-liberation2)\n",
                   path.c_str());
      ok = false;
    } else if (!FontFace(static_cast<FontId>(i))) {
      std::fprintf(stderr, "qm-assets: font unreadable: %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

cairo_font_face_t* FontFace(FontId id) {
  ThreadFonts& fonts = Fonts();
  int i = static_cast<int>(id);
  if (!fonts.cairoFaces[i]) {
    std::string path = FontDir() + kFontFiles[i];
    if (!fonts.library || FT_New_Face(fonts.library, path.c_str(), 0, &fonts.faces[i]) != 0)
      return nullptr;
    fonts.cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(fonts.faces[i], 0);
  }
  return fonts.cairoFaces[i];
}

void UseFont(cairo_t* cr, FontId id, double size) {
  cairo_set_font_face(cr, FontFace(id));
  cairo_set_font_size(cr, size);
}

double TextCentred(cairo_t* cr, const std::string& text, double cx, double cy) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
  cairo_show_text(cr, text.c_str());
  return e.width;
}

void TextCentredShadow(cairo_t* cr, const std::string& text, double cx, double cy, Rgb fill,
                       Rgb shadow, double dx, double dy) {
  SetSource(cr, shadow, 0.85);
  TextCentred(cr, text, cx + dx, cy + dy);
  SetSource(cr, fill);
  TextCentred(cr, text, cx, cy);
}

void TextAt(cairo_t* cr, const std::string& text, double x, double baseline) {
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, text.c_str());
}

void HexPath(cairo_t* cr, double inset, double cx, double cy) {
  const double apothem = 26.0 - inset;
  const double radius = apothem * 30.0 / 26.0;
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - radius);
  cairo_line_to(cr, cx + apothem, cy - radius / 2);
  cairo_line_to(cr, cx + apothem, cy + radius / 2);
  cairo_line_to(cr, cx, cy + radius);
  cairo_line_to(cr, cx - apothem, cy + radius / 2);
  cairo_line_to(cr, cx - apothem, cy - radius / 2);
  cairo_close_path(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void SaveClipHex(cairo_t* cr, double inset) {
  cairo_save(cr);
  HexPath(cr, inset);
  cairo_clip(cr);
}

void TrianglePath(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double sx, double sy, double rad) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, sx, sy);
  cairo_arc(cr, 0, 0, rad, 0, 2 * M_PI);
  cairo_restore(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double rotation) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double a = rotation - M_PI / 2 + i * M_PI / points;
    double rad = (i % 2 == 0) ? outer : inner;
    cairo_line_to(cr, cx + rad * std::cos(a), cy + rad * std::sin(a));
  }
  cairo_close_path(cr);
}

void GearPath(cairo_t* cr, double cx, double cy, double outer, double inner, int teeth) {
  cairo_new_sub_path(cr);
  const double step = 2 * M_PI / teeth;
  for (int i = 0; i < teeth; ++i) {
    double a = i * step;
    cairo_line_to(cr, cx + inner * std::cos(a), cy + inner * std::sin(a));
    cairo_line_to(cr, cx + outer * std::cos(a + step * 0.18),
                  cy + outer * std::sin(a + step * 0.18));
    cairo_line_to(cr, cx + outer * std::cos(a + step * 0.48),
                  cy + outer * std::sin(a + step * 0.48));
    cairo_line_to(cr, cx + inner * std::cos(a + step * 0.66),
                  cy + inner * std::sin(a + step * 0.66));
  }
  cairo_close_path(cr);
}

void BevelledHex(cairo_t* cr, Rgb face, double inset, double bevel, double relief) {
  // Rim: the darkest outline that separates neighbours on the Board.
  HexPath(cr, inset);
  Fill(cr, Scale(face, 0.35));
  // Bevel: light from the top left, shade toward the bottom right.
  HexPath(cr, inset + 1);
  FillWith(cr, Linear(6, 2, 46, 58, Shine(face, 0.45 * relief, 1 - 0.5 * relief)));
  // Face: a gentle gradient so flat tiles do not look dead.
  HexPath(cr, inset + 1 + bevel);
  FillWith(cr, Linear(0, 8, 0, 52,
                      {{0, Mix(face, {255, 255, 255}, 0.12 * relief)},
                       {1, Scale(face, 1 - 0.12 * relief)}}));
}

double Dice::Range(double lo, double hi) {
  return lo + (hi - lo) * Unit();
}
int Dice::UpTo(int n) {
  return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n));
}

void Speckle(cairo_t* cr, Dice& dice, int count, double x0, double y0, double w, double h,
             Rgb colour, double alphaMax, double radiusMax) {
  for (int i = 0; i < count; ++i) {
    double x = x0 + dice.Unit() * w, y = y0 + dice.Unit() * h;
    double rad = 0.3 + dice.Unit() * radiusMax;
    SetSource(cr, colour, dice.Unit() * alphaMax);
    cairo_arc(cr, x, y, rad, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

}  // namespace qm::assets
