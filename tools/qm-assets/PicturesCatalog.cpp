// The list of every picture file, and the two review pictures (contact sheet, grid preview).
#include <algorithm>
#include <string>

#include "Pictures.hpp"

namespace qm::assets {

namespace {

constexpr int kBackgroundCount = 24;
constexpr int kTitleQuality = 90;
constexpr int kBackgroundQuality = 82;  // small files that decode fast at every level start

void BlitKeyed(Pixels& dst, const Pixels& src, int x0, int y0, bool keyed = true) {
  for (int y = 0; y < src.height; ++y) {
    int dy = y0 + y;
    if (dy < 0 || dy >= dst.height) continue;
    for (int x = 0; x < src.width; ++x) {
      int dx = x0 + x;
      if (dx < 0 || dx >= dst.width) continue;
      const uint8_t* s = &src.rgb[(static_cast<size_t>(y) * src.width + x) * 3];
      if (keyed && s[0] == 0 && s[1] == 0 && s[2] == 0) continue;
      uint8_t* d = &dst.rgb[(static_cast<size_t>(dy) * dst.width + dx) * 3];
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

Pixels Blank(int width, int height, Rgb colour) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < p.rgb.size(); i += 3) {
    p.rgb[i] = static_cast<uint8_t>(colour.r);
    p.rgb[i + 1] = static_cast<uint8_t>(colour.g);
    p.rgb[i + 2] = static_cast<uint8_t>(colour.b);
  }
  return p;
}

Pixels Label(const std::string& text, int width, int height) {
  Canvas canvas(width, height);
  cairo_set_source_rgb(canvas.Cr(), 34 / 255.0, 38 / 255.0, 54 / 255.0);
  cairo_paint(canvas.Cr());
  UseFont(canvas.Cr(), FontId::kSans, 10);
  SetSource(canvas.Cr(), {220, 224, 236});
  TextCentred(canvas.Cr(), text, width / 2.0, height / 2.0);
  return ToKeyedPixels(canvas);
}

}  // namespace

std::vector<PictureJob> AllPictureJobs() {
  std::vector<PictureJob> jobs;
  // The heaviest first, so the workers finish together.
  for (int n = 0; n < kBackgroundCount; ++n)
    jobs.push_back({"gfx/fond/" + std::to_string(n) + ".jpg", [n](const std::string& path) {
                      return WriteJpeg(RenderSpaceBackground(n), path, kBackgroundQuality);
                    }});
  jobs.push_back({"gfx/titre.jpg", [](const std::string& path) {
                    return WriteJpeg(RenderTitle(), path, kTitleQuality);
                  }});
  for (int n = 1; n <= 11; ++n)
    jobs.push_back({"gfx/" + std::to_string(n) + ".bmp", [n](const std::string& path) {
                      return WriteBmp(RenderInterfacePicture(n), path);
                    }});
  for (int code = 1; code <= 240; ++code)
    jobs.push_back({"gfx/000/" + std::to_string(code) + ".bmp", [code](const std::string& path) {
                      return WriteBmp(RenderCellPicture(code), path);
                    }});
  for (int code = 300; code <= 394; ++code)
    jobs.push_back({"gfx/000/0/" + std::to_string(code) + ".bmp", [code](const std::string& path) {
                      return WriteBmp(RenderSoilVariant(code), path);
                    }});
  return jobs;
}

bool WriteContactSheet(const std::string& pngPath) {
  // 20 pictures a row, each in a 66 x 82 box with its code below; the wide dialog last.
  const int perRow = 20, boxW = 66, boxH = 84;
  std::vector<int> codes;
  for (int code = 1; code <= 239; ++code)
    if (code != 228) codes.push_back(code);  // the two-slot Easel tile goes beside the dialog
  for (int code = 300; code <= 394; ++code) codes.push_back(code);
  const int rows = (static_cast<int>(codes.size()) + perRow - 1) / perRow;
  Pixels sheet = Blank(1544, rows * boxH + 760, {34, 38, 54});
  for (size_t i = 0; i < codes.size(); ++i) {
    int code = codes[i];
    int x = 8 + static_cast<int>(i % perRow) * boxW, y = 8 + static_cast<int>(i / perRow) * boxH;
    Pixels picture = code >= 300 ? RenderSoilVariant(code) : RenderCellPicture(code);
    BlitKeyed(sheet, picture, x + (boxW - picture.width) / 2, y);
    BlitKeyed(sheet, Label(std::to_string(code), boxW, 14), x, y + 67);
  }
  BlitKeyed(sheet, RenderCellPicture(240), 8, rows * boxH + 16, false);
  BlitKeyed(sheet, Label("240", 60, 14), 410, rows * boxH + 60);
  BlitKeyed(sheet, RenderCellPicture(228), 480, rows * boxH + 16, false);
  BlitKeyed(sheet, Label("228", 60, 14), 480 + 22, rows * boxH + 86);
  // The interface pictures of gfx/ below, for review only.
  int x = 8, y = rows * boxH + 130;
  for (int n = 1; n <= 11; ++n) {
    Pixels picture = RenderInterfacePicture(n);
    if (x + picture.width > sheet.width - 8) {
      x = 8;
      y += 180;
    }
    BlitKeyed(sheet, picture, x, y);
    BlitKeyed(sheet, Label("gfx/" + std::to_string(n), 50, 14), x, y + picture.height + 2);
    x += std::max(picture.width, 50) + 12;
  }
  return WritePng(sheet, pngPath);
}

bool WriteGridPreview(const std::string& pngPath) {
  // A small Board on its background, laid out as the game does: 52 across, 45 down,
  // odd rows 26 to the right; and an Easel of 10 slots below it.
  const int width = 900, height = 620;
  Pixels frame = Blank(width, height, {0, 0, 0});
  Pixels space = RenderSpaceBackground(3);
  BlitKeyed(frame, space, -600, -400, false);
  // Cells are listed per row as codes so the preview shows each family next to soil.
  const std::vector<std::vector<int>> board = {
      {131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 131, 132},
      {131, 159, 159, 186, 159, 189, 159, 193, 159, 196, 159, 159, 148, 159, 159, 133},
      {132, 159, 218, 17, 21, 9, 12, 12, 159, 200, 203, 205, 159, 159, 159, 134},
      {133, 159, 145, 146, 147, 159, 212, 213, 214, 159, 215, 216, 217, 159, 219, 135},
      {134, 159, 209, 210, 211, 159, 225, 226, 227, 159, 232, 233, 234, 159, 159, 136},
      {135, 159, 159, 75, 41, 18, 100, 159, 159, 235, 236, 237, 159, 206, 208, 137},
      {136, 157, 157, 158, 158, 159, 220, 221, 159, 161, 162, 163, 164, 159, 159, 138},
      {137, 138, 139, 140, 141, 142, 143, 144, 131, 132, 133, 134, 135, 136, 137, 139},
  };
  const int left = 20, top = 14;
  for (size_t r = 0; r < board.size(); ++r)
    for (size_t c = 0; c < board[r].size(); ++c)
      BlitKeyed(frame, RenderCellPicture(board[r][c]),
                left + static_cast<int>(c) * 52 + static_cast<int>(r % 2) * 26,
                top + static_cast<int>(r) * 45);
  // Markers over the word QUILL (last word) and over two Pieces of WORD (laid this turn).
  for (int c = 3; c <= 7; ++c) BlitKeyed(frame, RenderCellPicture(222), left + c * 52, top + 90);
  for (int c = 3; c <= 4; ++c)
    BlitKeyed(frame, RenderCellPicture(223), left + c * 52 + 26, top + 225);
  BlitKeyed(frame, RenderCellPicture(229), left + 12 * 52, top + 90);
  // The Easel: frame tiles, empty slots, then Pieces, as the game composes it.
  const int n = 10, easelLeft = 450 - n * 26, easelTop = height - 62;
  Pixels scratch = frame;  // the screen the Easel picture is grabbed from
  for (int k = 0; k <= n; ++k)
    BlitKeyed(scratch, RenderCellPicture(228), easelLeft + (k - 1) * 52 - 26, easelTop - 4, false);
  for (int k = 1; k <= n; ++k)
    BlitKeyed(scratch, RenderCellPicture(160), easelLeft + (k - 1) * 52, easelTop);
  Pixels grab = Blank(n * 52 + 26, height - easelTop + 5, {0, 0, 0});
  BlitKeyed(grab, scratch, -(easelLeft - 13), -(easelTop - 5), false);
  BlitKeyed(frame, grab, easelLeft - 13, easelTop - 5, false);
  const int easel[n] = {5, 31, 60, 86, 109, 160, 14, 45, 77, 104};
  for (int k = 1; k <= n; ++k) {
    int x = easelLeft + (k - 1) * 52;
    BlitKeyed(frame, RenderCellPicture(160), x, easelTop);
    BlitKeyed(frame, RenderCellPicture(easel[k - 1]), x, easelTop);
  }
  BlitKeyed(frame, RenderCellPicture(224), easelLeft + 2 * 52, easelTop);
  for (int t = 0; t < 3; ++t)
    BlitKeyed(frame, RenderCellPicture(t == 1 ? 239 : 238), easelLeft + n * 52 - 74 + 28 * t,
              easelTop - 17);
  return WritePng(frame, pngPath);
}

}  // namespace qm::assets
