// The screen itself: its size under the offscreen driver, the active flag, the free video
// memory estimate, the message box, and every operation being harmless while it is closed.
#include <thread>

#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using ScreenTest = VideoPathTest;

TEST_P(ScreenTest, OpensAtTheHeadlessSizeAndIsActive) {
  EXPECT_EQ(ScreenWidth(), kScreenW);
  EXPECT_EQ(ScreenHeight(), kScreenH);
  EXPECT_NE(MainWindowId(), 0);
  EXPECT_EQ(ScreenIsActive(), 1);
  EXPECT_EQ(OpenGameScreen("twice"), 1) << "opening an open screen keeps it";
  EXPECT_EQ(ScreenWidth(), kScreenW);
}

TEST_P(ScreenTest, ActiveFollowsTheFocusAloneNotTheLastPresent) {
  // A present that failed once (a lost device, a driver hiccup) clears the engine's flag;
  // the window still has the focus, so play must go on.
  MarkPresentFailed();
  EXPECT_EQ(ScreenIsActive(), 1);
  InjectFocus(false);
  PollWindowEvent(0);
  EXPECT_EQ(ScreenIsActive(), 0);
  InjectFocus(true);
  PollWindowEvent(0);
  EXPECT_EQ(ScreenIsActive(), 1);
  PresentFrame();
  EXPECT_EQ(ScreenIsActive(), 1);
}

TEST_P(ScreenTest, FreeVideoMemoryShrinksAsPicturesAreUploaded) {
  int64_t before = FreeVideoMemory();
  EXPECT_GT(before, 0);
  LoadPicture(1, Picture(256, 256, 0xFFFFFF));
  DrawSprite(1, 0, 0);  // pictures are uploaded when first drawn
  EXPECT_LE(FreeVideoMemory(), before - 256 * 256 * 4);
  FreeSpriteImage(1);
  EXPECT_EQ(FreeVideoMemory(), before);
}

// Nobody could close a box on a headless screen: the message goes to the error output (in
// UTF-8) and the call returns at once.
TEST_P(ScreenTest, MessageBoxGoesToTheErrorOutputOnAHeadlessScreen) {
  ::testing::internal::CaptureStderr();
  ShowMessageBox("Erreur", "LoadFont(1, ''Arial'', 8) : impossible \xE9t\xE9");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Erreur: LoadFont(1, ''Arial'', 8) : impossible \u00e9t\u00e9\n");
}

TEST_P(ScreenTest, TheSystemPointerCanBeHidden) {
  EXPECT_TRUE(SystemPointerShown());
  HideSystemPointer();
  EXPECT_FALSE(SystemPointerShown());
}

TEST_P(ScreenTest, EveryOperationIsHarmlessWhileTheScreenIsClosed) {
  LoadPicture(1, Picture(4, 4, 0xFFFFFF));
  CloseGameScreen();
  EXPECT_EQ(ScreenWidth(), 0);
  EXPECT_EQ(ScreenIsActive(), 0);
  EXPECT_EQ(FreeVideoMemory(), 0);
  ClearFrame(0);
  PresentFrame();
  EXPECT_EQ(DrawSprite(1, 0, 0), 0);
  EXPECT_EQ(DrawAdditiveBox(0, 0, 4, 4, 1, 1, 1), 0);
  GrabScreenToSprite(2, 0, 0, 4, 4);
  EXPECT_EQ(SpriteWidthOf(2), 0);
  EXPECT_EQ(BeginDrawing(), 0);
  DrawBox(0, 0, 4, 4, 0);
  EXPECT_EQ(DrawTextAt(3, 0, "text", 0), 3);
  EndDrawing();
  EXPECT_EQ(ReadKeyboard(), 0);
  EXPECT_EQ(KeyIsDown(-1), 0);
  EXPECT_EQ(TypedCharacter(), "");
  EXPECT_EQ(MousePosX(0), -1);
  EXPECT_EQ(PollWindowEvent(0), 0);
  EXPECT_EQ(PollWindowEvent(5), 0);
  InjectKey(kKeySpace, true);
  EXPECT_EQ(ReadBackPixel(0, 0), 0u);
  EXPECT_TRUE(ReadBackBuffer().empty());
  EXPECT_FALSE(SaveBackBufferPng(scratch_.Path("none.png")));
  EXPECT_EQ(SpriteWidthOf(1), 4) << "sprites outlive the screen";
}

TEST_P(ScreenTest, SavedPictureIsAPng) {
  ClearFrame(RgbColour(255, 0, 0));
  std::string path = scratch_.Path("frame.png");
  ASSERT_TRUE(SaveBackBufferPng(path));
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), size_t(kScreenW) * kScreenH * 3);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(bytes.substr(12, 4), "IHDR");
  // The first row's filter byte then red, green, blue of the top-left pixel, in the
  // stored (uncompressed) deflate block after the zlib and block headers.
  size_t data = bytes.find("IDAT") + 4 + 2 + 5;
  EXPECT_EQ(bytes.substr(data, 4), std::string("\0\xff\0\0", 4));
}

// Rules played on another thread (a level being proven while the frame loop draws) leave the
// screen alone: only the thread that opened it draws.
TEST_P(ScreenTest, OnlyTheScreensOwnThreadDraws) {
  DrawBox(0, 0, 8, 8, RgbColour(0, 0, 0));
  std::thread worker([] {
    DrawBox(0, 0, 8, 8, RgbColour(250, 10, 10));
    EXPECT_EQ(BeginDrawing(), 0);
  });
  worker.join();
  EXPECT_EQ(ReadBackPixel(2, 2), MakeRgb(0, 0, 0));
  DrawBox(0, 0, 8, 8, RgbColour(250, 10, 10));
  EXPECT_TRUE(Near(ReadBackPixel(2, 2), MakeRgb(250, 10, 10)));
  EndDrawing();
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, ScreenTest, BothBackBuffers(), BackBufferName);

}  // namespace
}  // namespace qm::test
