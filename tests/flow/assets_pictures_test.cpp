// The game folder's pictures, as made by qm-assets: every file loads through the engine with
// the size the screens place it by, transparent areas are exact black and nothing else is,
// and the cells tile the hexagonal grid without gaps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"

namespace {

const std::string kData = QM_DATA_DIR;

struct Expected {
  std::string path;
  int width;
  int height;
};

// Every picture file with the size the game relies on.
std::vector<Expected> ExpectedPictures() {
  std::vector<Expected> all = {
      {"gfx/titre.jpg", 1024, 594}, {"gfx/1.bmp", 256, 32}, {"gfx/2.bmp", 128, 128},
      {"gfx/3.bmp", 1528, 76},      {"gfx/4.bmp", 64, 64},  {"gfx/5.bmp", 180, 28},
      {"gfx/6.bmp", 14, 14},        {"gfx/7.bmp", 20, 100}, {"gfx/8.bmp", 20, 140},
      {"gfx/9.bmp", 24, 91},        {"gfx/10.bmp", 20, 60}, {"gfx/11.bmp", 410, 168},
  };
  for (int code = 1; code <= 240; ++code) {
    int w = 52, h = 60;
    if (code == 228) {  // the Easel frame: from 4 above the slots to the bottom, two slots wide
      w = 104;
      h = 66;
    }
    if (code == 238 || code == 239) {
      w = 26;
      h = 12;
    }
    if (code == 240) {
      w = 400;
      h = 100;
    }
    all.push_back({"gfx/000/" + std::to_string(code) + ".bmp", w, h});
  }
  for (int code = 300; code <= 394; ++code)
    all.push_back({"gfx/000/0/" + std::to_string(code) + ".bmp", 52, 60});
  for (int n = 0; n <= 23; ++n)
    all.push_back({"gfx/fond/" + std::to_string(n) + ".jpg", 2800, 1800});
  return all;
}

// A 24-bit BMP read back by hand, top row first, to look at single pixels.
struct Bmp {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  bool IsKey(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
  }
};

bool ReadBmp(const std::string& path, Bmp& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
  };
  if (le(28, 2) != 24 || le(30, 4) != 0) return false;
  out.width = int(le(18, 4));
  out.height = int(le(22, 4));
  if (out.width <= 0 || out.height <= 0) return false;
  size_t rowBytes = (size_t(out.width) * 3 + 3) / 4 * 4, offset = le(10, 4);
  if (offset + rowBytes * out.height > b.size()) return false;
  out.rgb.assign(size_t(out.width) * out.height * 3, 0);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const uint8_t* s = &b[offset + rowBytes * (out.height - 1 - y) + x * 3];
      uint8_t* d = &out.rgb[(size_t(y) * out.width + x) * 3];
      d[0] = s[2], d[1] = s[1], d[2] = s[0];
    }
  return true;
}

Bmp Cell(int code) {
  Bmp bmp;
  std::string path =
      kData + (code >= 300 ? "/gfx/000/0/" : "/gfx/000/") + std::to_string(code) + ".bmp";
  EXPECT_TRUE(ReadBmp(path, bmp)) << path;
  return bmp;
}

// Inside the cell's hexagon, at least `margin` pixels from its edges.
bool InsideHex(double x, double y, double margin) {
  double dx = std::abs(x - 26), dy = std::abs(y - 30);
  return dx <= 26 - margin && dy + dx * 15.0 / 26.0 <= 30 - margin * 30.0 / 26.0;
}

// Codes whose picture fills the whole hexagon: Pieces, walls, soils and the cells drawn on soil.
std::vector<int> FullHexCodes() {
  std::vector<int> codes;
  for (int c = 1; c <= 147; ++c) codes.push_back(c);
  for (int c = 157; c <= 221; ++c) codes.push_back(c);
  for (int c : {225, 226, 227, 230, 231, 232, 233, 234, 235, 236, 237}) codes.push_back(c);
  for (int c = 300; c <= 394; ++c) codes.push_back(c);
  return codes;
}

TEST(AssetsPictures, EveryPictureLoadsThroughTheEngineWithItsSize) {
  qm::SetHeadlessScreenSize(320, 240);
  ASSERT_NE(qm::InitSprite(), 0);
  if (qm::ScreenWidth() == 0) {
    ASSERT_NE(qm::OpenGameScreen("Quillmosaica2"), 0);
  }
  const int slot = 5000;
  for (const Expected& e : ExpectedPictures()) {
    SCOPED_TRACE(e.path);
    ASSERT_NE(qm::LoadSpriteImage(slot, kData + "/" + e.path), 0);
    EXPECT_EQ(qm::SpriteWidthOf(slot), e.width);
    EXPECT_EQ(qm::SpriteHeightOf(slot), e.height);
  }
  qm::FreeSpriteImage(slot);
}

TEST(AssetsPictures, HexCellsAreOpaqueInsideAndKeyedOutside) {
  for (int code : FullHexCodes()) {
    SCOPED_TRACE(code);
    Bmp bmp = Cell(code);
    ASSERT_EQ(bmp.width, 52);
    int holes = 0, spill = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 52; ++x) {
        if (InsideHex(x + 0.5, y + 0.5, 1.0) && bmp.IsKey(x, y)) ++holes;
        if (!InsideHex(x + 0.5, y + 0.5, -1.0) && !bmp.IsKey(x, y)) ++spill;
      }
    EXPECT_EQ(holes, 0) << "exact black inside the cell would show the Board through it";
    EXPECT_EQ(spill, 0) << "opaque pixels outside the hexagon would cover the neighbours";
  }
}

TEST(AssetsPictures, SoilTilesTheGridWithoutGaps) {
  // Lay a 4 x 4 patch of each grid background as the Board does and look for key pixels
  // between the cells, away from the patch border.
  for (int code : {157, 158, 159}) {
    SCOPED_TRACE(code);
    Bmp cell = Cell(code);
    const int w = 4 * 52 + 26, h = 3 * 45 + 60;
    std::vector<int> covered(size_t(w) * h, 0);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        for (int y = 0; y < 60; ++y)
          for (int x = 0; x < 52; ++x)
            if (!cell.IsKey(x, y)) ++covered[size_t(r * 45 + y) * w + c * 52 + (r % 2) * 26 + x];
    int gaps = 0;
    for (int y = 45; y < 3 * 45; ++y)
      for (int x = 52; x < 3 * 52; ++x) gaps += covered[size_t(y) * w + x] == 0;
    EXPECT_EQ(gaps, 0);
  }
}

TEST(AssetsPictures, PointerSheetHasAHotSpotInEveryFrameOfBothStates) {
  Bmp sheet;
  ASSERT_TRUE(ReadBmp(kData + "/gfx/1.bmp", sheet));
  for (int state = 0; state < 2; ++state)
    for (int frame = 0; frame < 4; ++frame) {
      int x0 = frame * 32 + state * 128;
      EXPECT_FALSE(sheet.IsKey(x0, 0)) << "frame " << frame << " state " << state;
      int opaque = 0;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) opaque += !sheet.IsKey(x0 + x, y);
      EXPECT_GT(opaque, 100) << "frame " << frame << " state " << state;
    }
}

TEST(AssetsPictures, ValidationButtonAndPanelEntriesAreWhereTheGameLooks) {
  Bmp pieces;
  ASSERT_TRUE(ReadBmp(kData + "/gfx/9.bmp", pieces));
  // Drawn keyed at (0, sh - 91): the 24 x 24 button occupies its last 24 rows.
  int opaque = 0;
  for (int y = 67; y < 91; ++y)
    for (int x = 0; x < 24; ++x) opaque += !pieces.IsKey(x, y);
  EXPECT_GT(opaque, 24 * 24 * 9 / 10);
  for (int y = 0; y < 60; ++y) EXPECT_FALSE(pieces.IsKey(10, y)) << y;
}

TEST(AssetsPictures, MarkersLeaveTheCellVisible) {
  // The markers are drawn keyed over Pieces: only a rim may be opaque.
  for (int code : {222, 223, 224}) {
    Bmp bmp = Cell(code);
    int centre = 0;
    for (int y = 22; y < 38; ++y)
      for (int x = 18; x < 34; ++x) centre += !bmp.IsKey(x, y);
    EXPECT_EQ(centre, 0) << code;
  }
}

}  // namespace
