// Sprites on the back buffer, checked through real pixels: clipping, off-screen draws,
// the blending of each draw operation, the grab bounds rule and the kept back buffer.
#include "engine/Clock.hpp"
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kGrey = 0x404040;

// A 4 x 4 picture: a black (key) pixel at (0, 0), a near-black one at (1, 0), colours elsewhere.
Picture Sampler() {
  Picture p(4, 4, MakeRgb(200, 100, 50));
  p.at(0, 0) = 0;
  p.at(1, 0) = MakeRgb(1, 0, 0);
  p.at(2, 0) = MakeRgb(255, 255, 255);
  p.at(3, 0) = MakeRgb(0, 0, 255);
  return p;
}

using SpriteTest = VideoPathTest;

TEST_P(SpriteTest, RgbColourPutsRedInTheLowByteAndClearFrameReadsItSo) {
  EXPECT_EQ(RgbColour(255, 0, 0), 0x0000FFu);
  EXPECT_EQ(RgbColour(1, 2, 3), 0x030201u);
  ClearFrame(RgbColour(255, 0, 0));
  EXPECT_EQ(ReadBackPixel(0, 0), MakeRgb(255, 0, 0));
  EXPECT_EQ(ReadBackPixel(kScreenW - 1, kScreenH - 1), MakeRgb(255, 0, 0));
  ClearFrame(RgbColour(10, 20, 30));
  EXPECT_EQ(ReadBackPixel(5, 5), MakeRgb(10, 20, 30));
}

TEST_P(SpriteTest, OpaqueDrawShowsBlackWhileKeyedDrawLetsOnlyExactBlackThrough) {
  LoadPicture(7, Sampler());
  ClearFrame(RgbColour(0x40, 0x40, 0x40));
  EXPECT_NE(DrawSprite(7, 10, 10), 0);
  EXPECT_EQ(ReadBackPixel(10, 10), 0u);
  EXPECT_EQ(ReadBackPixel(11, 10), MakeRgb(1, 0, 0));
  EXPECT_EQ(ReadBackPixel(12, 10), kWhite);
  EXPECT_EQ(ReadBackPixel(13, 10), MakeRgb(0, 0, 255));
  EXPECT_EQ(ReadBackPixel(10, 11), MakeRgb(200, 100, 50));

  ClearFrame(RgbColour(0x40, 0x40, 0x40));
  EXPECT_NE(DrawSpriteKeyed(7, 10, 10), 0);
  EXPECT_EQ(ReadBackPixel(10, 10), kGrey);             // the key colour is transparent
  EXPECT_EQ(ReadBackPixel(11, 10), MakeRgb(1, 0, 0));  // near black is not
  EXPECT_EQ(ReadBackPixel(12, 10), kWhite);
  EXPECT_EQ(ReadBackPixel(14, 10), kGrey);  // nothing right of the picture
}

TEST_P(SpriteTest, PartlyOffScreenSpritesDrawTheirVisiblePartAndWhollyOffOnesNothing) {
  LoadPicture(3, Picture(32, 32, kWhite));
  ClearFrame(0);
  EXPECT_NE(DrawSprite(3, -20, -20), 0);
  EXPECT_EQ(ReadBackPixel(0, 0), kWhite);
  EXPECT_EQ(ReadBackPixel(11, 11), kWhite);
  EXPECT_EQ(ReadBackPixel(12, 11), 0u);
  EXPECT_EQ(ReadBackPixel(11, 12), 0u);

  struct Case {
    int x, y, drawn;
  } cases[] = {
      {-32, 0, 0},      {0, -32, 0},        {kScreenW, 0, 0},
      {0, kScreenH, 0}, {-31, -31, 1},      {kScreenW - 1, kScreenH - 1, 1},
      {-1000000, 5, 0}, {2000000000, 5, 0},
  };
  for (const Case& c : cases) {
    ClearFrame(0);
    EXPECT_EQ(DrawSpriteKeyed(3, c.x, c.y) != 0, c.drawn != 0) << c.x << "," << c.y;
    if (!c.drawn) {
      EXPECT_EQ(ReadBackBuffer(), std::vector<uint32_t>(size_t(kScreenW) * kScreenH, 0));
    }
  }
}

TEST_P(SpriteTest, ClipIsClampedToThePicture) {
  LoadPicture(5, Picture(64, 32, kWhite));
  struct Case {
    int left, top, width, height, wantW, wantH;
  } cases[] = {
      {40, 0, 100, 20, 24, 20},  // reduced to the picture's right edge
      {-1, -1, -1, -1, 64, 32},  // the whole picture again
      {-1, 4, 10, 10, 10, 10},   // left -1 alone becomes 0
      {-5, -5, 8, 8, 8, 8},      // negative values become 0
      {70, 40, 10, 10, 0, 0},    // origin limited to the picture size: nothing left
      {10, 10, -3, 50, 0, 22},
  };
  for (const Case& c : cases) {
    SetSpriteClip(5, c.left, c.top, c.width, c.height);
    EXPECT_EQ(SpriteWidthOf(5), c.wantW)
        << c.left << "," << c.top << "," << c.width << "," << c.height;
    EXPECT_EQ(SpriteHeightOf(5), c.wantH)
        << c.left << "," << c.top << "," << c.width << "," << c.height;
  }
  SetSpriteClip(5, 70, 0, 10, 10);
  EXPECT_EQ(DrawSprite(5, 10, 10), 0);  // an empty clip draws nothing
}

TEST_P(SpriteTest, ClipPicksThatPartOfThePicture) {
  Picture sheet(8, 2, 0);
  for (int x = 0; x < 8; ++x) {
    sheet.at(x, 0) = MakeRgb(x * 30 + 10, 0, 0);
    sheet.at(x, 1) = MakeRgb(0, x * 30 + 10, 0);
  }
  LoadPicture(9, sheet);
  SetSpriteClip(9, 3, 1, 2, 1);
  ClearFrame(0);
  EXPECT_NE(DrawSprite(9, 50, 60), 0);
  EXPECT_EQ(ReadBackPixel(50, 60), MakeRgb(0, 100, 0));
  EXPECT_EQ(ReadBackPixel(51, 60), MakeRgb(0, 130, 0));
  EXPECT_EQ(ReadBackPixel(52, 60), 0u);
  EXPECT_EQ(ReadBackPixel(50, 61), 0u);
}

TEST_P(SpriteTest, FadedAtZeroChangesNothingAndAtFullEqualsKeyed) {
  LoadPicture(4, Sampler());
  ClearFrame(RgbColour(0x40, 0x40, 0x40));
  std::vector<uint32_t> before = ReadBackBuffer();
  EXPECT_NE(DrawSpriteFaded(4, 100, 100, 0), 0);
  EXPECT_EQ(ReadBackBuffer(), before);

  EXPECT_NE(DrawSpriteKeyed(4, 100, 100), 0);
  std::vector<uint32_t> keyed = ReadBackBuffer();
  ClearFrame(RgbColour(0x40, 0x40, 0x40));
  EXPECT_NE(DrawSpriteFaded(4, 100, 100, 255), 0);
  EXPECT_EQ(ReadBackBuffer(), keyed);

  ClearFrame(0);
  EXPECT_NE(DrawSpriteFaded(4, 100, 100, 128), 0);
  EXPECT_TRUE(Near(ReadBackPixel(102, 100), MakeRgb(128, 128, 128)))
      << Hex(ReadBackPixel(102, 100));
  EXPECT_EQ(ReadBackPixel(100, 100), 0u);
}

TEST_P(SpriteTest, TintReadsItsColourWithBlueInTheLowByte) {
  LoadPicture(6, Sampler());
  struct Case {
    uint32_t tint;
    Rgb white;     // what the white pixel becomes
    Rgb coloured;  // what (200, 100, 50) becomes
  } cases[] = {
      {0x0000FF, MakeRgb(0, 0, 255), MakeRgb(0, 0, 50)},
      {0xFF0000, MakeRgb(255, 0, 0), MakeRgb(200, 0, 0)},
      {0x00FF00, MakeRgb(0, 255, 0), MakeRgb(0, 100, 0)},
      {0xFFFFFF, kWhite, MakeRgb(200, 100, 50)},
      {0x808080, MakeRgb(128, 128, 128), MakeRgb(100, 50, 25)},
  };
  for (const Case& c : cases) {
    ClearFrame(RgbColour(0x40, 0x40, 0x40));
    EXPECT_NE(DrawSpriteTinted(6, 20, 20, c.tint), 0);
    EXPECT_TRUE(Near(ReadBackPixel(22, 20), c.white))
        << std::hex << c.tint << " " << Hex(ReadBackPixel(22, 20));
    EXPECT_TRUE(Near(ReadBackPixel(20, 21), c.coloured))
        << std::hex << c.tint << " " << Hex(ReadBackPixel(20, 21));
    EXPECT_EQ(ReadBackPixel(20, 20), kGrey);  // the key colour stays transparent
  }
}

TEST_P(SpriteTest, ShadowIsTheShapeInHalfTransparentBlack) {
  LoadPicture(8, Sampler());
  ClearFrame(RgbColour(255, 255, 255));
  EXPECT_NE(DrawSpriteShadow(8, 30, 30), 0);
  EXPECT_EQ(ReadBackPixel(30, 30), kWhite);  // transparent where the picture is black
  for (auto [x, y] : {std::pair{31, 30}, {32, 30}, {30, 33}}) {
    EXPECT_TRUE(Near(ReadBackPixel(x, y), MakeRgb(127, 127, 127))) << Hex(ReadBackPixel(x, y));
  }
  EXPECT_EQ(ReadBackPixel(34, 30), kWhite);
}

TEST_P(SpriteTest, AdditiveBoxAddsAndSaturatesWithinTheScreen) {
  ClearFrame(RgbColour(200, 100, 50));
  EXPECT_NE(DrawAdditiveBox(-10, -10, 30, 20, 100, 100, 100), 0);
  EXPECT_EQ(ReadBackPixel(0, 0), MakeRgb(255, 200, 150));
  EXPECT_EQ(ReadBackPixel(19, 9), MakeRgb(255, 200, 150));
  EXPECT_EQ(ReadBackPixel(20, 9), MakeRgb(200, 100, 50));
  EXPECT_EQ(ReadBackPixel(19, 10), MakeRgb(200, 100, 50));
  EXPECT_NE(DrawAdditiveBox(0, 0, 1, 1, 10, 10, 100), 0);
  EXPECT_EQ(ReadBackPixel(0, 0), MakeRgb(255, 210, 250));

  EXPECT_EQ(DrawAdditiveBox(-30, 0, 30, 10, 50, 50, 50), 0);
  EXPECT_EQ(DrawAdditiveBox(kScreenW, 0, 30, 10, 50, 50, 50), 0);
  EXPECT_EQ(DrawAdditiveBox(10, 10, 0, 10, 50, 50, 50), 0);
}

TEST_P(SpriteTest, GrabReachingPastTheScreenKeepsThePreviousSprite) {
  LoadPicture(1111, Picture(6, 5, kWhite));
  ClearFrame(RgbColour(0, 0, 255));
  GrabScreenToSprite(1111, kScreenW - 10, 0, 11, 10);
  GrabScreenToSprite(1111, -1, 0, 10, 10);
  GrabScreenToSprite(1111, 0, kScreenH - 9, 10, 10);
  EXPECT_EQ(SpriteWidthOf(1111), 6);
  EXPECT_EQ(SpriteHeightOf(1111), 5);
  ClearFrame(0);
  DrawSprite(1111, 0, 0);
  EXPECT_EQ(ReadBackPixel(0, 0), kWhite);
}

TEST_P(SpriteTest, GrabCopiesTheFrameSoFarWithBlackMadeTransparent) {
  ClearFrame(0);
  DrawAdditiveBox(10, 10, 4, 4, 0, 200, 0);
  GrabScreenToSprite(999, 8, 8, 10, 10);
  EXPECT_EQ(SpriteWidthOf(999), 10);
  ClearFrame(RgbColour(0x40, 0x40, 0x40));
  EXPECT_NE(DrawSpriteKeyed(999, 100, 100), 0);
  EXPECT_EQ(ReadBackPixel(102, 102), MakeRgb(0, 200, 0));
  EXPECT_EQ(ReadBackPixel(101, 101), kGrey);  // the grabbed black is transparent
  EXPECT_EQ(ReadBackPixel(106, 106), kGrey);

  // Grabbing again at the same size replaces the picture in place.
  ClearFrame(RgbColour(9, 9, 9));
  GrabScreenToSprite(999, 0, 0, 10, 10);
  ClearFrame(0);
  DrawSprite(999, 0, 0);
  EXPECT_EQ(ReadBackPixel(5, 5), MakeRgb(9, 9, 9));
  EXPECT_EQ(ReadBackPixel(10, 10), 0u);
  GrabScreenToSprite(999, 0, 0, kScreenW, kScreenH);
  EXPECT_EQ(SpriteWidthOf(999), kScreenW);
}

TEST_P(SpriteTest, BackBufferKeepsItsPictureAcrossPresents) {
  UseVirtualClock(true, 1000, 16);
  uint64_t presents = PresentCount();
  ClearFrame(RgbColour(0, 0, 0));
  DrawAdditiveBox(3, 4, 1, 1, 7, 8, 9);
  PresentFrame();
  EXPECT_EQ(PresentCount(), presents + 1);
  EXPECT_EQ(TickCount(), 1016u);  // a present moves the virtual clock one frame
  EXPECT_EQ(ReadBackPixel(3, 4), MakeRgb(7, 8, 9));
  DrawAdditiveBox(3, 4, 1, 1, 7, 8, 9);
  PresentFrame();
  EXPECT_EQ(ReadBackPixel(3, 4), MakeRgb(14, 16, 18));
  UseVirtualClock(false);
}

TEST_P(SpriteTest, EmptyAndOutOfRangeSlotsDrawNothing) {
  for (int slot : {0, 12, -1, -7, 1 << 30}) {
    EXPECT_EQ(DrawSprite(slot, 0, 0), 0) << slot;
    EXPECT_EQ(DrawSpriteKeyed(slot, 0, 0), 0) << slot;
    EXPECT_EQ(DrawSpriteFaded(slot, 0, 0, 255), 0) << slot;
    EXPECT_EQ(DrawSpriteTinted(slot, 0, 0, 0xFFFFFF), 0) << slot;
    EXPECT_EQ(DrawSpriteShadow(slot, 0, 0), 0) << slot;
    EXPECT_EQ(SpriteWidthOf(slot), 0) << slot;
    SetSpriteClip(slot, 0, 0, 1, 1);
    FreeSpriteImage(slot);
  }
  LoadPicture(1, Picture(2, 2, kWhite));
  LoadPicture(1001, Picture(2, 2, kWhite));
  FreeSpriteImage(1);
  EXPECT_EQ(SpriteWidthOf(1), 0);
  EXPECT_EQ(SpriteWidthOf(1001), 2);
  FreeSpriteImage(-1);
  EXPECT_EQ(SpriteWidthOf(1001), 0);
}

TEST_P(SpriteTest, PicturesLoadedBeforeTheScreenOpensAreDrawnAfterwards) {
  LoadPicture(20, Picture(3, 3, MakeRgb(1, 2, 3)));
  CloseGameScreen();
  EXPECT_EQ(DrawSprite(20, 0, 0), 0);
  EXPECT_EQ(SpriteWidthOf(20), 3);
  ASSERT_NE(OpenGameScreen("again"), 0);
  ClearFrame(0);
  EXPECT_NE(DrawSprite(20, 0, 0), 0);
  EXPECT_EQ(ReadBackPixel(2, 2), MakeRgb(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, SpriteTest, BothBackBuffers(), BackBufferName);

}  // namespace
}  // namespace qm::test
