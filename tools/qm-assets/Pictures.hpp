#pragma once
// Every picture of the game folder, each made by one function from its number alone.
#include <functional>
#include <string>
#include <vector>

#include "ArtKit.hpp"

namespace qm::assets {

// Piece codes 1..130: 26 letters in five Materials.
void DrawPiece(cairo_t* cr, int code);
int PieceValue(int code);

// Cell codes 131..240 (and the interface pieces that live among them: 160, 228, 229, 238..240).
Pixels RenderCellPicture(int code);
// Soil variants of gfx/000/0/, codes 300..394.
Pixels RenderSoilVariant(int code);
// The soil used under markers, keys and other cell symbols.
void DrawSoil(cairo_t* cr, int variant);
void DrawSoilWith(cairo_t* cr, Rgb base, int pattern, int seed);
void DrawWall(cairo_t* cr, int variant);
// Size of the picture of a cell code (52 x 60 for ordinary cells).
void CellPictureSize(int code, int& width, int& height);

// gfx/1.bmp .. gfx/11.bmp.
Pixels RenderInterfacePicture(int number);
// gfx/titre.jpg.
Pixels RenderTitle();
// gfx/fond/N.jpg.
Pixels RenderSpaceBackground(int number);
// Paints a space backdrop (nebula and stars) on a canvas already made.
void PaintSpace(Canvas& canvas, int seed, double scale);

struct PictureJob {
  std::string path;  // relative to the game folder
  std::function<bool(const std::string& fullPath)> make;
};
std::vector<PictureJob> AllPictureJobs();

// The desktop icon, size x size pixels with alpha, as PNG.
bool WriteIcon(int size, const std::string& pngPath);

// Review pictures: the contact sheet of every cell and Piece, and cells tiled on the grid.
bool WriteContactSheet(const std::string& pngPath);
bool WriteGridPreview(const std::string& pngPath);

}  // namespace qm::assets
