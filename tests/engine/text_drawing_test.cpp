// Text and boxes: font sizes from points, filled and transparent text backgrounds, box
// outlines and single pixels, painter's order with sprites, and the text caches.
#include <thread>

#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using TextTest = VideoPathTest;

constexpr Rgb kBackdrop = 0x2060A0;  // RGB(32, 96, 160)
const uint32_t kBackdropBgr = 0xA06020;

// Pixels in the rectangle that equal the colour, and those that differ from all of them.
int CountColour(const std::vector<uint32_t>& frame, int x0, int y0, int x1, int y1, Rgb colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) n += frame[size_t(y) * kScreenW + x] == colour;
  }
  return n;
}

// The font table belongs to the process, not to a back buffer: one run, while slot 3 is free.
using FontTest = VideoTest;

TEST_F(FontTest, FontsLoadByFaceAndMissingFacesAreSubstituted) {
  EXPECT_EQ(FontHandleOf(3), 0);
  EXPECT_EQ(FontHandleOf(-1), 0);
  EXPECT_NE(LoadFont(1, "Arial", 8), 0);
  EXPECT_NE(LoadFont(2, "Times New Roman", 50), 0);
  EXPECT_NE(LoadFont(3, "No Such Face Anywhere", 12), 0);
  EXPECT_NE(LoadFont(4, "", 12), 0);
  EXPECT_EQ(LoadFont(-2, "Arial", 8), 0);
  for (int slot : {1, 2, 3, 4}) EXPECT_NE(FontHandleOf(slot), 0) << slot;
  EXPECT_NE(FontHandleOf(1), FontHandleOf(2));
}

// The bot proving a generated level lays out Easels on worker threads: their font loads and
// text leave the game's fonts and font slots alone (and never race them).
TEST_F(FontTest, OnlyTheDrawingThreadLoadsFontsAndMeasuresText) {
  ASSERT_NE(LoadFont(5, "Arial", 9), 0);
  const int64_t mine = FontHandleOf(5);
  UseFont(mine);
  const int width = TextWidthOf("Daily");
  std::thread worker([mine] {
    EXPECT_EQ(LoadFont(5, "Times New Roman", 40), 0);
    EXPECT_EQ(LoadFont(30, "Arial", 12), 0);
    EXPECT_EQ(FontHandleOf(5), 0);
    EXPECT_EQ(TextWidthOf("Daily"), 0);
    EXPECT_NE(mine, 0);
  });
  worker.join();
  EXPECT_EQ(FontHandleOf(5), mine);
  EXPECT_EQ(TextWidthOf("Daily"), width);
  EXPECT_GT(width, 0);
}

TEST_P(TextTest, PointsBecomeCharacterHeightAtNinetySixDots) {
  // Liberation Mono (for "Courier New") advances 0.6 em per character: at 30 points the em
  // is 40 pixels, so a character is 24 pixels wide; at 15 points, 20 pixels and 12.
  ASSERT_NE(LoadFont(1, "Courier New", 30), 0);
  ASSERT_NE(BeginDrawing(), 0);
  UseFont(FontHandleOf(1));
  EXPECT_EQ(TextWidthOf("W"), 24);
  EXPECT_EQ(TextWidthOf("WW"), 48);
  EXPECT_EQ(TextWidthOf(""), 0);
  ASSERT_NE(LoadFont(1, "Courier New", 15), 0);
  UseFont(FontHandleOf(1));
  EXPECT_EQ(TextWidthOf("iii"), 36);
  EndDrawing();
}

TEST_P(TextTest, DrawTextReturnsTheEndOfTheText) {
  ASSERT_NE(LoadFont(1, "Arial", 10), 0);
  BeginDrawing();
  SetDrawingMode(1);
  UseFont(FontHandleOf(1));
  int width = TextWidthOf("Score: 120");
  EXPECT_GT(width, 20);
  EXPECT_EQ(DrawTextAt(17, 5, "Score: 120", RgbColour(255, 255, 255)), 17 + width);
  EXPECT_EQ(DrawTextAt(17, 5, "", RgbColour(255, 255, 255)), 17);
  // Windows-1252 letters have their own glyphs.
  EXPECT_GT(TextWidthOf("\xE9\xE9\xE9"), 0);
  EXPECT_NE(TextWidthOf("\xE9"), TextWidthOf("\x80\x80"));
  EndDrawing();
}

TEST_P(TextTest, FilledModePaintsTheBackColourBehindTheLetters) {
  ASSERT_NE(LoadFont(1, "Arial", 18), 0);
  ClearFrame(kBackdropBgr);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  int end = DrawTextAt(20, 30, "Menu", RgbColour(255, 255, 255), RgbColour(0, 0, 0));
  EndDrawing();
  std::vector<uint32_t> frame = ReadBackBuffer();
  int cell = (end - 20) * 20;
  EXPECT_GT(CountColour(frame, 20, 30, end, 50, 0), cell / 3);   // the black cell
  EXPECT_GT(CountColour(frame, 20, 30, end, 50, 0xFFFFFF), 10);  // the letters
  EXPECT_EQ(CountColour(frame, 20, 30, end, 50, kBackdrop), 0);  // nothing shows through
  EXPECT_EQ(ReadBackPixel(19, 35), kBackdrop);
  EXPECT_EQ(ReadBackPixel(end + 2, 35), kBackdrop);
}

TEST_P(TextTest, TransparentModeDrawsOnlyTheLetters) {
  ASSERT_NE(LoadFont(1, "Arial", 18), 0);
  ClearFrame(kBackdropBgr);
  BeginDrawing();
  SetDrawingMode(1);
  UseFont(FontHandleOf(1));
  int end = DrawTextAt(20, 30, "Menu", RgbColour(255, 255, 255), RgbColour(0, 0, 0));
  EndDrawing();
  std::vector<uint32_t> frame = ReadBackBuffer();
  EXPECT_EQ(CountColour(frame, 20, 30, end, 50, 0), 0);
  EXPECT_GT(CountColour(frame, 20, 30, end, 50, 0xFFFFFF), 10);
  EXPECT_GT(CountColour(frame, 20, 30, end, 50, kBackdrop), (end - 20) * 20 / 3);
}

TEST_P(TextTest, BackColourIsBlackAgainInEachNewDrawingPass) {
  ASSERT_NE(LoadFont(1, "Arial", 18), 0);
  ClearFrame(kBackdropBgr);
  BeginDrawing();
  UseFont(FontHandleOf(1));
  SetTextBackColour(RgbColour(255, 0, 0));
  int end = DrawTextAt(10, 10, "ab", RgbColour(255, 255, 255));
  EndDrawing();
  EXPECT_GT(CountColour(ReadBackBuffer(), 10, 10, end, 30, 0xFF0000), 10);

  ClearFrame(kBackdropBgr);
  BeginDrawing();
  UseFont(FontHandleOf(1));
  end = DrawTextAt(10, 10, "ab", RgbColour(255, 255, 255));
  EndDrawing();
  std::vector<uint32_t> frame = ReadBackBuffer();
  EXPECT_EQ(CountColour(frame, 10, 10, end, 30, 0xFF0000), 0);
  EXPECT_GT(CountColour(frame, 10, 10, end, 30, 0), 10);
}

TEST_P(TextTest, BoxesAreFilledOrOutlinedAndOneByOneIsAPixel) {
  const uint32_t colour = RgbColour(250, 200, 10);
  const Rgb seen = MakeRgb(250, 200, 10);
  ClearFrame(0);
  BeginDrawing();
  SetDrawingMode(4);
  DrawBox(10, 10, 300, 40, colour);
  EndDrawing();
  for (auto [x, y] : {std::pair{10, 10},
                      {309, 10},
                      {10, 49},
                      {309, 49},
                      {150, 10},
                      {150, 49},
                      {10, 30},
                      {309, 30}}) {
    EXPECT_EQ(ReadBackPixel(x, y), seen) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{11, 11}, {150, 30}, {308, 48}, {310, 10}, {10, 50}, {9, 10}}) {
    EXPECT_EQ(ReadBackPixel(x, y), 0u) << x << "," << y;
  }

  ClearFrame(0);
  BeginDrawing();
  SetDrawingMode(0);
  DrawBox(10, 10, 300, 40, colour);
  DrawBox(5, 100, 1, 1, RgbColour(1, 2, 3));
  EndDrawing();
  std::vector<uint32_t> frame = ReadBackBuffer();
  EXPECT_EQ(CountColour(frame, 0, 0, kScreenW, 60, seen), 300 * 40);
  EXPECT_EQ(ReadBackPixel(5, 100), MakeRgb(1, 2, 3));
  EXPECT_EQ(ReadBackPixel(6, 100), 0u);
  EXPECT_EQ(ReadBackPixel(5, 101), 0u);
}

TEST_P(TextTest, PaintersOrderHoldsBetweenTextAndSprites) {
  LoadPicture(50, Picture(200, 40, MakeRgb(0, 255, 0)));
  ASSERT_NE(LoadFont(1, "Arial", 18), 0);
  ClearFrame(0);
  DrawSprite(50, 0, 0);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  DrawTextAt(5, 5, "Over", RgbColour(255, 255, 255), RgbColour(255, 0, 0));
  EndDrawing();
  EXPECT_GT(CountColour(ReadBackBuffer(), 5, 5, 40, 20, 0xFF0000), 10);  // text covers the sprite
  DrawSprite(50, 0, 0);
  EXPECT_EQ(CountColour(ReadBackBuffer(), 0, 0, 200, 40, MakeRgb(0, 255, 0)), 200 * 40);
}

TEST_P(TextTest, SteadyFrameRendersNoTextTwice) {
  auto frame = [] {
    LoadFont(1, "Arial", 8);
    BeginDrawing();
    SetDrawingMode(1);
    UseFont(FontHandleOf(1));
    DrawTextAt(5, 5, "Level 12", RgbColour(255, 255, 255));
    DrawTextAt(5, 25, "Score", RgbColour(255, 255, 0));
    EndDrawing();
    LoadFont(1, "Arial", 14);
    BeginDrawing();
    SetDrawingMode(0);
    UseFont(FontHandleOf(1));
    DrawTextAt(5, 45, "Level 12", RgbColour(255, 255, 255), RgbColour(7, 6, 5));
    TextWidthOf("a centred title");
    EndDrawing();
    PresentFrame();
  };
  frame();
  uint64_t rendered = GlyphRenderCount();
  frame();
  frame();
  EXPECT_EQ(GlyphRenderCount(), rendered);

  // Another colour, mode or size is another picture.
  LoadFont(1, "Arial", 8);
  BeginDrawing();
  UseFont(FontHandleOf(1));
  DrawTextAt(5, 5, "Level 12", RgbColour(255, 0, 255));
  EndDrawing();
  EXPECT_EQ(GlyphRenderCount(), rendered + 1);
}

TEST_P(TextTest, EmptyFontSlotKeepsThePreviousFont) {
  ASSERT_NE(LoadFont(1, "Courier New", 30), 0);
  BeginDrawing();
  UseFont(FontHandleOf(1));
  UseFont(FontHandleOf(9));  // empty: cannot be selected
  EXPECT_EQ(TextWidthOf("W"), 24);
  UseFont(-1);  // the system font
  EXPECT_GT(TextWidthOf("W"), 0);
  EXPECT_NE(TextWidthOf("W"), 24);
  EndDrawing();
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, TextTest, BothBackBuffers(), BackBufferName);

}  // namespace
}  // namespace qm::test
