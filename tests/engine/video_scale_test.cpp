// The window shows the back buffer: pixel for pixel at scale 1, and at a display scale N
// each logical pixel as an N x N square (nearest pixel, never smoothed), on both back
// buffers. The logical screen is the window divided by N.
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using WindowTest = VideoPathTest;

// A frame with detail in every pixel: a ramp over the whole screen, single pixels in
// the corners and a keyed sprite with a one-pixel hole.
void DrawDetailedFrame(int width, int height) {
  ClearFrame(RgbColour(12, 34, 56));
  BeginDrawing();
  for (int y = 0; y < height; y += 8) {
    for (int x = 0; x < width; x += 8) {
      DrawBox(x, y, 8, 8, RgbColour(x * 255 / width, y * 255 / height, (x ^ y) & 0xFF));
    }
  }
  DrawBox(0, 0, 1, 1, RgbColour(255, 0, 0));
  DrawBox(width - 1, height - 1, 1, 1, RgbColour(0, 255, 0));
  DrawBox(width - 1, 0, 1, 1, RgbColour(0, 0, 255));
  DrawBox(31, 17, 1, 1, RgbColour(255, 255, 255));
  EndDrawing();
}

// Window pixels that are not their logical pixel, the first few named.
std::string Mismatches(const std::vector<uint32_t>& window, int windowWidth,
                       const std::vector<uint32_t>& logical, int logicalWidth, int scale) {
  std::string said;
  int count = 0;
  for (size_t i = 0; i < window.size(); ++i) {
    const int x = int(i % size_t(windowWidth));
    const int y = int(i / size_t(windowWidth));
    const uint32_t want = logical[size_t(y / scale) * size_t(logicalWidth) + size_t(x / scale)];
    if (window[i] == want) continue;
    if (++count <= 5) {
      said += "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + Hex(window[i]) +
              " instead of " + Hex(want) + "\n";
    }
  }
  if (count > 0) said += std::to_string(count) + " window pixels differ\n";
  return said;
}

TEST_P(WindowTest, WindowShowsTheBackBufferPixelForPixelAtScaleOne) {
  DrawDetailedFrame(kScreenW, kScreenH);
  PresentFrame();
  int width = 0;
  int height = 0;
  ASSERT_TRUE(WindowPixelSize(width, height));
  ASSERT_EQ(width, kScreenW);
  ASSERT_EQ(height, kScreenH);
  std::vector<uint32_t> window = ReadBackWindow();
  ASSERT_EQ(window.size(), size_t(kScreenW) * kScreenH);
  EXPECT_EQ(Mismatches(window, kScreenW, ReadBackBuffer(), kScreenW, 1), "");
}

// The screen opened again at a display scale, on the back buffer of the test's parameter;
// the next test finds the usual screen again.
class ScaledScreenTest : public VideoPathTest {
 protected:
  void SetUp() override {
    SetHeadlessScreenSize(kScreenW, kScreenH);
    ASSERT_NE(InitSprite(), 0);
    CloseGameScreen();
  }
  void TearDown() override {
    CloseGameScreen();
    SetDisplaySettings(DisplaySettings{});
    VideoPathTest::TearDown();
  }

  // Opens a window of width x height at the scale; false (with a skip) when that cannot be
  // seen here.
  bool OpenScaled(int width, int height, int scale) {
    CloseGameScreen();
    DisplaySettings settings;
    settings.scale = scale;
    SetDisplaySettings(settings);
    SetHeadlessScreenSize(width, height);
    if (GetParam() == BackBuffer::kAccelerated && !AcceleratedNotTried().empty()) {
      skipped_ = AcceleratedNotTried();
      return false;
    }
    if (!OpenScreenOn(GetParam())) {
      if (GetParam() == BackBuffer::kAccelerated) {
        skipped_ = NoAcceleratedRenderer();
      } else {
        ADD_FAILURE() << "the memory back buffer did not open";
      }
      return false;
    }
    if (ScreenWidth() == width && scale > 1) {
      skipped_ = "the engine does not honour the display scale yet: " + std::to_string(scale) +
                 " was asked through SetDisplaySettings and the screen opened at " +
                 std::to_string(ScreenWidth()) + "x" + std::to_string(ScreenHeight()) +
                 " logical pixels";
      return false;
    }
    return true;
  }

  std::string skipped_;
};

TEST_P(ScaledScreenTest, LogicalScreenIsTheWindowDividedByTheScale) {
  struct Case {
    int scale, width, height;
  } cases[] = {{2, 640, 480}, {3, 960, 720}, {4, 1280, 960}, {2, 3840, 2160}};
  for (const Case& c : cases) {
    if (!OpenScaled(c.width, c.height, c.scale)) {
      if (!skipped_.empty()) GTEST_SKIP() << skipped_;
      return;
    }
    EXPECT_EQ(ScreenWidth(), c.width / c.scale) << c.scale;
    EXPECT_EQ(ScreenHeight(), c.height / c.scale) << c.scale;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(WindowPixelSize(width, height));
    EXPECT_EQ(width, c.width) << c.scale;
    EXPECT_EQ(height, c.height) << c.scale;
    EXPECT_EQ(ReadBackBuffer().size(), size_t(c.width / c.scale) * size_t(c.height / c.scale));
  }
}

TEST_P(ScaledScreenTest, EachLogicalPixelIsShownAsASquareOfTheScale) {
  for (int scale : {2, 3}) {
    if (!OpenScaled(kScreenW * scale, kScreenH * scale, scale)) {
      if (!skipped_.empty()) GTEST_SKIP() << skipped_;
      return;
    }
    ASSERT_EQ(ScreenWidth(), kScreenW);
    DrawDetailedFrame(kScreenW, kScreenH);
    // Drawn at the logical screen's edge: inside it, nothing beyond.
    LoadPicture(1, Picture(4, 4, MakeRgb(250, 200, 150)));
    EXPECT_NE(DrawSprite(1, kScreenW - 2, kScreenH - 2), 0);
    EXPECT_EQ(DrawSprite(1, kScreenW, 0), 0);
    PresentFrame();
    std::vector<uint32_t> logical = ReadBackBuffer();
    ASSERT_EQ(logical.size(), size_t(kScreenW) * kScreenH);
    EXPECT_EQ(logical.back(), MakeRgb(250, 200, 150));
    std::vector<uint32_t> window = ReadBackWindow();
    ASSERT_EQ(window.size(), size_t(kScreenW) * kScreenH * size_t(scale * scale)) << scale;
    EXPECT_EQ(Mismatches(window, kScreenW * scale, logical, kScreenW, scale), "") << scale;
  }
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, WindowTest, BothBackBuffers(), BackBufferName);
INSTANTIATE_TEST_SUITE_P(BackBuffers, ScaledScreenTest, BothBackBuffers(), BackBufferName);

}  // namespace
}  // namespace qm::test
