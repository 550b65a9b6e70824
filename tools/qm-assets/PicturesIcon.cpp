// The game's icon for the desktop menus: a gold Q Piece, drawn as a vector at the icon's own
// size so small icons stay sharp, on a transparent square.
#include <cairo.h>

#include "Pictures.hpp"

namespace qm::assets {

namespace {
constexpr int kIconPiece = 3 * 26 + ('Q' - 'A') + 1;  // gold Q
}

bool WriteIcon(int size, const std::string& pngPath) {
  if (size < 16 || size > 1024) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  // The Piece is 52 x 60; a thin margin keeps its bevel off the icon's edge.
  const double scale = size * 0.96 / kCellHeight;
  cairo_translate(cr, (size - kCellWidth * scale) / 2, (size - kCellHeight * scale) / 2);
  cairo_scale(cr, scale, scale);
  DrawPiece(cr, kIconPiece);
  cairo_surface_flush(surface);
  const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS &&
                  cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace qm::assets
