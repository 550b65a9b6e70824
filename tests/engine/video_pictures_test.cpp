// Picture files: BMP and JPEG recognised by content, the key colour, and what happens to
// the slot when a file is missing, damaged, absurd or too large.
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using PictureTest = VideoPathTest;

Picture Gradient(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.at(x, y) = MakeRgb(x * 255 / w, y * 255 / h, 128);
  }
  return p;
}

TEST_P(PictureTest, FormatIsRecognisedByContentNotByName) {
  Picture p = Gradient(24, 16);
  EXPECT_NE(LoadSpriteImage(1, scratch_.Write("picture.jpg", BmpBytes(p))), 0);
  EXPECT_EQ(SpriteWidthOf(1), 24);
  EXPECT_EQ(SpriteHeightOf(1), 16);
  EXPECT_NE(LoadSpriteImage(2, scratch_.Write("picture.bmp", JpegBytes(p, 90))), 0);
  EXPECT_EQ(SpriteWidthOf(2), 24);
  EXPECT_EQ(SpriteHeightOf(2), 16);
  ClearFrame(0);
  DrawSprite(2, 0, 0);
  EXPECT_TRUE(Near(ReadBackPixel(12, 8), p.at(12, 8), 12)) << Hex(ReadBackPixel(12, 8));
}

TEST_P(PictureTest, GameStylePathsWithBackslashesAreFound) {
  std::filesystem::create_directories(scratch_.Path("gfx/000"));
  scratch_.Write("gfx/000/12.bmp", BmpBytes(Picture(5, 7, 0xFFFFFF)));
  std::string path = scratch_.Path("gfx") + "\\000\\12.bmp";
  EXPECT_NE(LoadSpriteImage(12, path), 0);
  EXPECT_EQ(SpriteHeightOf(12), 7);
}

TEST_P(PictureTest, JpegDrawnOpaqueAndKeyedDiffersOnlyWhereExactlyBlack) {
  Picture p = Gradient(64, 48);
  for (int y = 16; y < 32; ++y) {
    for (int x = 16; x < 48; ++x) p.at(x, y) = 0;  // a black block on whole coding blocks
  }
  ASSERT_NE(LoadSpriteImage(3, scratch_.Write("t.jpg", JpegBytes(p, 95))), 0);
  ClearFrame(RgbColour(255, 255, 255));
  DrawSprite(3, 0, 0);
  std::vector<uint32_t> opaque = ReadBackBuffer();
  ClearFrame(RgbColour(255, 255, 255));
  DrawSpriteKeyed(3, 0, 0);
  std::vector<uint32_t> keyed = ReadBackBuffer();
  int black = 0;
  for (size_t i = 0; i < opaque.size(); ++i) {
    if (opaque[i] == 0) {
      ++black;
      EXPECT_EQ(keyed[i], 0xFFFFFFu) << i;
    } else {
      EXPECT_EQ(keyed[i], opaque[i]) << i;
    }
  }
  EXPECT_GE(black, 300);  // most of the black block decodes to exact black
}

TEST_P(PictureTest, PrintWorkflowJpegsInCmykAndYcckShowTheirColours) {
  // Left half a colour made of C, M and Y ink; right half black ink at half strength.
  constexpr int kW = 32, kH = 16;
  const Rgb left = MakeRgb(200, 40, 90);
  const Rgb right = MakeRgb(127, 127, 127);
  auto inks = [&](bool stored_inverted) {
    std::vector<uint8_t> b;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        uint8_t ink[4] = {0, 0, 0, 128};
        if (x < kW / 2) {
          ink[0] = uint8_t(255 - Red(left));
          ink[1] = uint8_t(255 - Green(left));
          ink[2] = uint8_t(255 - Blue(left));
          ink[3] = 0;
        }
        for (uint8_t v : ink) b.push_back(stored_inverted ? uint8_t(255 - v) : v);
      }
    }
    return b;
  };
  struct Case {
    const char* what;
    bool ycck, adobe;
  } cases[] = {
      {"CMYK from Adobe (inverted inks)", false, true},
      {"YCCK from Adobe (inverted inks)", true, true},
      {"CMYK without the Adobe marker", false, false},
  };
  int slot = 40;
  for (const Case& c : cases) {
    std::string path =
        scratch_.Write("ink.jpg", InkJpegBytes(inks(c.adobe), kW, kH, c.ycck, c.adobe));
    ASSERT_NE(LoadSpriteImage(slot, path), 0) << c.what;
    EXPECT_EQ(SpriteWidthOf(slot), kW) << c.what;
    ClearFrame(0);
    DrawSprite(slot, 0, 0);
    EXPECT_TRUE(Near(ReadBackPixel(6, 8), left, 12)) << c.what << " " << Hex(ReadBackPixel(6, 8));
    EXPECT_TRUE(Near(ReadBackPixel(26, 8), right, 12))
        << c.what << " " << Hex(ReadBackPixel(26, 8));
    ++slot;
  }
}

TEST_P(PictureTest, MissingFileLeavesTheSlotAndBadFilesEmptyIt) {
  Picture good(10, 10, 0xFFFFFF);
  std::vector<uint8_t> bmp = BmpBytes(Picture(40, 40, 0x808080));
  std::vector<uint8_t> jpeg = JpegBytes(Gradient(64, 64), 90);
  auto absurd = [&](uint32_t width, uint32_t height, uint16_t bits, uint32_t compression) {
    std::vector<uint8_t> b = bmp;
    for (int i = 0; i < 4; ++i) {
      b[18 + i] = uint8_t(width >> (8 * i));
      b[22 + i] = uint8_t(height >> (8 * i));
      b[30 + i] = uint8_t(compression >> (8 * i));
    }
    b[28] = uint8_t(bits);
    b[29] = uint8_t(bits >> 8);
    return b;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', '\n'}},
      {"bmp magic only", {'B', 'M'}},
      {"bmp cut in the middle",
       std::vector<uint8_t>(bmp.begin(), bmp.begin() + long(bmp.size() / 2))},
      {"bmp header only", std::vector<uint8_t>(bmp.begin(), bmp.begin() + 54)},
      {"bmp absurd width", absurd(0x7FFFFFFF, 40, 24, 0)},
      {"bmp absurd height", absurd(40, 0x7FFFFFFF, 24, 0)},
      {"bmp most negative height", absurd(40, 0x80000000, 24, 0)},
      {"bmp zero width", absurd(0, 40, 24, 0)},
      {"bmp odd depth", absurd(40, 40, 13, 0)},
      {"bmp huge run-length", absurd(60000, 60000, 8, 1)},
      {"bmp unknown compression", absurd(40, 40, 24, 77)},
      {"jpeg cut in the middle",
       std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2))},
      {"jpeg magic only", {0xFF, 0xD8, 0xFF}},
      {"jpeg with garbage",
       [&] {
         std::vector<uint8_t> b(jpeg.begin(), jpeg.begin() + 40);
         b.resize(400, 0x5A);
         return b;
       }()},
  };
  for (const Case& c : cases) {
    LoadPicture(30, good);
    EXPECT_EQ(LoadSpriteImage(30, scratch_.Write("bad", c.bytes)), 0) << c.name;
    EXPECT_EQ(SpriteWidthOf(30), 0) << c.name << ": a damaged picture leaves the slot empty";
    EXPECT_EQ(DrawSprite(30, 0, 0), 0) << c.name;
  }
  LoadPicture(30, good);
  EXPECT_EQ(LoadSpriteImage(30, scratch_.Path("no such file.bmp")), 0);
  EXPECT_EQ(SpriteWidthOf(30), 10) << "a missing file leaves the slot as it was";
  EXPECT_EQ(LoadSpriteImage(30, scratch_.Path("")), 0);  // a folder is not a picture
  EXPECT_EQ(SpriteWidthOf(30), 10);
}

TEST_P(PictureTest, PictureWiderThanTheTextureLimitFailsCleanly) {
  int limit = SpriteSizeLimit();
  ASSERT_GT(limit, 0);
  EXPECT_EQ(
      LoadSpriteImage(31, scratch_.Write("wide.bmp", BmpBytes(Picture(limit + 1, 1, 0xFFFFFF)))),
      0);
  EXPECT_EQ(SpriteWidthOf(31), 0);
  EXPECT_EQ(LoadSpriteImage(
                31, scratch_.Write("tall.jpg", JpegBytes(Picture(8, limit + 8, 0xFFFFFF), 50))),
            0);
  EXPECT_EQ(SpriteWidthOf(31), 0);
  EXPECT_NE(LoadSpriteImage(31, scratch_.Write("edge.bmp", BmpBytes(Picture(limit, 1, 0xFFFFFF)))),
            0);
  EXPECT_EQ(SpriteWidthOf(31), limit);
}

TEST_P(PictureTest, OtherBitmapVariantsLoad) {
  // An 8-bit palette bitmap, stored top-down: palette entry 1 is red, entry 0 black.
  std::vector<uint8_t> b = {'B', 'M'};
  PutLe(b, 14 + 40 + 8 + 8, 4);
  PutLe(b, 0, 4);
  PutLe(b, 14 + 40 + 8, 4);
  PutLe(b, 40, 4);
  PutLe(b, 4, 4);
  PutLe(b, uint32_t(-2), 4);
  PutLe(b, 1, 2);
  PutLe(b, 8, 2);
  PutLe(b, 0, 4);
  PutLe(b, 8, 4);
  PutLe(b, 0, 4);
  PutLe(b, 0, 4);
  PutLe(b, 2, 4);
  PutLe(b, 0, 4);
  PutLe(b, 0x00000000, 4);  // entry 0: black
  PutLe(b, 0x00FF0000, 4);  // entry 1: red (B, G, R, 0 in the file)
  for (uint8_t index : {1, 0, 0, 1, 0, 1, 1, 0}) b.push_back(index);
  ASSERT_NE(LoadSpriteImage(40, scratch_.Write("palette.bmp", b)), 0);
  EXPECT_EQ(SpriteWidthOf(40), 4);
  EXPECT_EQ(SpriteHeightOf(40), 2);
  ClearFrame(RgbColour(0, 0, 99));
  DrawSpriteKeyed(40, 0, 0);
  EXPECT_EQ(ReadBackPixel(0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(ReadBackPixel(1, 0), MakeRgb(0, 0, 99));
  EXPECT_EQ(ReadBackPixel(1, 1), MakeRgb(255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, PictureTest, BothBackBuffers(), BackBufferName);

}  // namespace
}  // namespace qm::test
