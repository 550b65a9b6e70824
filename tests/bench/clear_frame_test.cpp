// A frame cleared to a colour, drawn on in any way, then cleared to that colour again is that
// colour everywhere: the second clear is skipped only when nothing was drawn in between.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"

namespace qm::test {
namespace {

TEST(ClearFrame, ASecondClearAfterAnyDrawingClearsAgain) {
  SetHeadlessScreenSize(64, 48);
  ASSERT_EQ(InitSprite(), 1);
  ASSERT_EQ(OpenGameScreen("Quillmosaica2"), 1);
  const uint32_t red = RgbColour(255, 0, 0);
  ClearFrame(RgbColour(0, 0, 255));
  DrawAdditiveBox(0, 0, 64, 48, 0, 200, 0);
  GrabScreenToSprite(5, 0, 0, 16, 16);  // a sprite of green and blue
  struct Drawing {
    const char* what;
    std::function<void()> draw;
  };
  const std::vector<Drawing> drawings = {
      {"sprite", [] { DrawSprite(5, 10, 10); }},
      {"tinted sprite", [] { DrawSpriteTinted(5, 10, 10, 0x808080); }},
      {"additive box", [] { DrawAdditiveBox(10, 10, 8, 8, 0, 0, 100); }},
      {"box",
       [] {
         BeginDrawing();
         DrawBox(10, 10, 8, 8, RgbColour(0, 0, 9));
         EndDrawing();
       }},
      {"text",
       [] {
         LoadFont(1, "Arial", 20);
         BeginDrawing();
         SetDrawingMode(0);
         UseFont(FontHandleOf(1));
         DrawTextAt(10, 10, "WW", RgbColour(255, 255, 255), RgbColour(0, 0, 9));
         EndDrawing();
       }},
  };
  for (const Drawing& d : drawings) {
    ClearFrame(red);
    ClearFrame(red);
    d.draw();
    ClearFrame(red);
    EXPECT_EQ(ReadBackPixel(12, 12), 0xFF0000u) << d.what;
    PresentFrame();
    EXPECT_EQ(ReadBackPixel(12, 12), 0xFF0000u) << d.what << ", after a present";
  }
  FreeSpriteImage(5);
  CloseGameScreen();
}

}  // namespace
}  // namespace qm::test
