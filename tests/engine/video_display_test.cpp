// The desktop around the game's screen: the scale chosen for a size, full screen and window
// geometry, the picture scaled up in the window, the mouse read in game pixels, frame pacing
// under the virtual clock, and scale 1 drawing exactly what the engine always drew.
#include "engine/Clock.hpp"
#include "tests/engine/display_scene.hpp"
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

TEST(DisplayScale, ChosenFromTheSizeOrAsked) {
  struct Case {
    int width, height, requested, scale;
  } cases[] = {
      {1920, 1080, 0, 1}, {2560, 1440, 0, 1}, {3839, 2160, 0, 1}, {3840, 2159, 0, 1},
      {3840, 2160, 0, 2}, {5120, 2880, 0, 2}, {5760, 3240, 0, 3}, {7680, 4320, 0, 4},
      {1280, 800, 0, 1},  {1024, 768, 0, 1},  {3840, 2160, 1, 1}, {1920, 1080, 3, 3},
      {1920, 1080, 4, 4}, {1280, 800, 4, 4},  // 320 x 200: still playable
      {1280, 799, 4, 3},  {640, 400, 4, 2},   {320, 200, 2, 1},   {100, 50, 0, 1},
      {0, 0, 2, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseDisplayScale(c.width, c.height, c.requested), c.scale)
        << c.width << "x" << c.height << " asked " << c.requested;
  }
}

// Opens the screen as the settings say on a headless desktop of the given size; the next
// test's fixture opens its own small screen again.
class DisplayTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    CloseGameScreen();
  }
  void TearDown() override {
    SetPresentPacingForTest(false, 0);
    UseVirtualClock(false);
    CloseGameScreen();
    SetDisplaySettings(DisplaySettings{});
    SetHeadlessScreenSize(kScreenW, kScreenH);
    VideoTest::TearDown();
  }
  void Open(int desktopWidth, int desktopHeight, const DisplaySettings& settings) {
    SetHeadlessScreenSize(desktopWidth, desktopHeight);
    SetDisplaySettings(settings);
    ASSERT_NE(InitSprite(), 0);
    ASSERT_NE(OpenGameScreen("Quillmosaica2"), 0);
    InjectFocus(true);
    while (PollWindowEvent(0) != 0) {
    }
  }
  static DisplaySettings Windowed(int width, int height, int scale = 0) {
    DisplaySettings settings;
    settings.windowed = true;
    settings.windowWidth = width;
    settings.windowHeight = height;
    settings.scale = scale;
    return settings;
  }
  static DisplaySettings FullScreen(int scale = 0) {
    DisplaySettings settings;
    settings.scale = scale;
    return settings;
  }
  void LoadPixels(int slot, int width, int height, const std::vector<uint32_t>& pixels) {
    Picture p(width, height);
    p.pixels = pixels;
    LoadPicture(slot, p);
  }
};

TEST_F(DisplayTest, WindowAndScreenSizes) {
  struct Case {
    const char* what;
    int desktopWidth, desktopHeight;
    DisplaySettings settings;
    int windowWidth, windowHeight, scale, screenWidth, screenHeight;
    bool bordered;
  } cases[] = {
      {"full screen 1080", 1920, 1080, FullScreen(), 1920, 1080, 1, 1920, 1080, false},
      {"full screen 1440", 2560, 1440, FullScreen(), 2560, 1440, 1, 2560, 1440, false},
      {"full screen 2160", 3840, 2160, FullScreen(), 3840, 2160, 2, 1920, 1080, false},
      {"2160 at scale 1", 3840, 2160, FullScreen(1), 3840, 2160, 1, 3840, 2160, false},
      {"2160 at scale 3", 3840, 2160, FullScreen(3), 3840, 2160, 3, 1280, 720, false},
      {"default window", 1920, 1080, Windowed(1280, 800), 1280, 800, 1, 1280, 800, true},
      {"window at scale 2", 1920, 1080, Windowed(1285, 803, 2), 1285, 803, 2, 642, 401, true},
      {"window larger than the desktop", 1920, 1080, Windowed(3000, 2000), 1920, 1080, 1, 1920,
       1080, true},
      {"2160 window on a 2160 desktop", 3840, 2160, Windowed(3840, 2160), 3840, 2160, 2, 1920, 1080,
       true},
      {"scale too large for the window", 1920, 1080, Windowed(640, 400, 4), 640, 400, 2, 320, 200,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.desktopWidth, c.desktopHeight, c.settings);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(WindowPixelSize(width, height));
    EXPECT_EQ(width, c.windowWidth);
    EXPECT_EQ(height, c.windowHeight);
    EXPECT_EQ(DisplayScale(), c.scale);
    EXPECT_EQ(ScreenWidth(), c.screenWidth);
    EXPECT_EQ(ScreenHeight(), c.screenHeight);
    EXPECT_EQ(WindowIsBordered(), c.bordered);
    EXPECT_FALSE(WindowIsResizable());
    CloseGameScreen();
  }
}

TEST_F(DisplayTest, MouseIsReadInGamePixels) {
  // 1283 x 803 at scale 4: a 320 x 200 screen shown as 1280 x 800, one pixel in from the
  // window's top-left corner, with a black strip of one or two pixels around it.
  Open(1920, 1080, Windowed(1283, 803, 4));
  ASSERT_EQ(ScreenWidth(), 320);
  ASSERT_EQ(ScreenHeight(), 200);
  const int window = MainWindowId();
  struct Case {
    int windowX, windowY, x, y;
  } cases[] = {
      {1, 1, 0, 0},          {4, 4, 0, 0},        {5, 8, 1, 1},     {642, 402, 160, 100},
      {1280, 800, 319, 199}, {0, 400, -1, -1},    {400, 0, -1, -1}, {1281, 400, -1, -1},
      {400, 801, -1, -1},    {1282, 802, -1, -1}, {-1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    InjectMouseMove(c.windowX, c.windowY);
    EXPECT_EQ(MousePosX(window), c.x) << c.windowX << "," << c.windowY;
    EXPECT_EQ(MousePosY(window), c.y) << c.windowX << "," << c.windowY;
  }
  CloseGameScreen();
  Open(3840, 2160, FullScreen());
  ASSERT_EQ(DisplayScale(), 2);
  InjectMouseMove(3839, 2159);
  EXPECT_EQ(MousePosX(MainWindowId()), 1919);
  EXPECT_EQ(MousePosY(MainWindowId()), 1079);
  InjectMouseMove(1001, 600);
  EXPECT_EQ(MousePosX(MainWindowId()), 500);
  EXPECT_EQ(MousePosY(MainWindowId()), 300);
}

// Every window pixel shows the game pixel it covers, and the strips around are black.
void ExpectScaledUp(const std::vector<uint32_t>& game, int gameWidth, int gameHeight,
                    const std::vector<uint32_t>& shown, int windowWidth, int windowHeight,
                    int scale) {
  ASSERT_EQ(shown.size(), size_t(windowWidth) * windowHeight);
  const int left = (windowWidth - gameWidth * scale) / 2;
  const int top = (windowHeight - gameHeight * scale) / 2;
  int wrong = 0;
  for (int y = 0; y < windowHeight; ++y) {
    for (int x = 0; x < windowWidth; ++x) {
      const int gx = x - left;
      const int gy = y - top;
      const bool inside = gx >= 0 && gy >= 0 && gx < gameWidth * scale && gy < gameHeight * scale;
      const uint32_t want = inside ? game[size_t(gy / scale) * gameWidth + gx / scale] : 0;
      const uint32_t got = shown[size_t(y) * windowWidth + x];
      if (got != want && ++wrong <= 5) {
        ADD_FAILURE() << "window pixel " << x << "," << y << " is " << Hex(got) << ", not "
                      << Hex(want);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(DisplayTest, PresentScalesTheScreenUpByWholePixels) {
  struct Case {
    int windowWidth, windowHeight, scale;
  } cases[] = {{642, 484, 2}, {963, 725, 3}, {1286, 966, 4}, {646, 482, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight));
    Open(1920, 1080, Windowed(c.windowWidth, c.windowHeight, c.scale));
    ASSERT_EQ(DisplayScale(), c.scale);
    DrawEveryKindOfDrawing([this](int slot, int w, int h, const std::vector<uint32_t>& pixels) {
      LoadPixels(slot, w, h, pixels);
    });
    // A screen width that is not a multiple of four leaves a few pixels after the last
    // group of four: the right edge must be scaled too.
    DrawAdditiveBox(ScreenWidth() - 3, 0, 3, ScreenHeight(), 0, 255, 0);
    PresentFrame();
    const std::vector<uint32_t> game = ReadBackBuffer();
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> shown = ReadShownWindow(width, height);
    EXPECT_EQ(width, c.windowWidth);
    EXPECT_EQ(height, c.windowHeight);
    ExpectScaledUp(game, ScreenWidth(), ScreenHeight(), shown, width, height, c.scale);
    CloseGameScreen();
  }
}

// The desktop's resolution changes under a full-screen game: the window covers the new size,
// the scale is chosen again and the game's screen takes the size that gives, on both back
// buffers; drawing and the picture shown work at the new size. A window keeps its size.
TEST_F(DisplayTest, AFullScreenGameFollowsANewDesktopSize) {
  struct Step {
    int desktopWidth, desktopHeight, scale, screenWidth, screenHeight;
  } steps[] = {{3840, 2160, 2, 1920, 1080},
               {1280, 720, 1, 1280, 720},
               {2560, 1440, 1, 2560, 1440},
               {1920, 1080, 1, 1920, 1080}};
  for (BackBuffer path : {BackBuffer::kMemory, BackBuffer::kAccelerated}) {
    SCOPED_TRACE(path == BackBuffer::kMemory ? "memory" : "accelerated");
    if (path == BackBuffer::kAccelerated && !AcceleratedNotTried().empty()) continue;
    PreferAcceleratedRenderer(path == BackBuffer::kAccelerated);
    Open(1920, 1080, FullScreen());
    if (IsAccelerated(BackBufferKind()) != (path == BackBuffer::kAccelerated)) {
      CloseGameScreen();
      continue;  // no accelerated renderer here (see the back buffer tests)
    }
    for (const Step& step : steps) {
      SCOPED_TRACE(std::to_string(step.desktopWidth) + "x" + std::to_string(step.desktopHeight));
      SetHeadlessScreenSize(step.desktopWidth, step.desktopHeight);
      PresentFrame();
      int width = 0;
      int height = 0;
      ASSERT_TRUE(WindowPixelSize(width, height));
      EXPECT_EQ(width, step.desktopWidth);
      EXPECT_EQ(height, step.desktopHeight);
      EXPECT_EQ(DisplayScale(), step.scale);
      ASSERT_EQ(ScreenWidth(), step.screenWidth);
      ASSERT_EQ(ScreenHeight(), step.screenHeight);
      // The new back buffer is drawn on to its last pixel and shown whole, scaled up.
      ClearFrame(0);
      DrawAdditiveBox(ScreenWidth() - 2, ScreenHeight() - 2, 2, 2, 0, 255, 0);
      EXPECT_EQ(ReadBackPixel(ScreenWidth() - 1, ScreenHeight() - 1), 0x00FF00u);
      EXPECT_EQ(ReadBackPixel(0, 0), 0u);
      PresentFrame();
      // The offscreen driver's OpenGL surface keeps the size the window opened at, so only
      // the memory back buffer's window can be read back larger.
      if (path == BackBuffer::kAccelerated) continue;
      const std::vector<uint32_t> game = ReadBackBuffer();
      const std::vector<uint32_t> shown = ReadShownWindow(width, height);
      ASSERT_EQ(width, step.desktopWidth);
      ExpectScaledUp(game, ScreenWidth(), ScreenHeight(), shown, width, height, step.scale);
    }
    CloseGameScreen();
  }
  PreferAcceleratedRenderer(false);

  Open(1920, 1080, Windowed(1280, 800));
  SetHeadlessScreenSize(2560, 1440);
  PresentFrame();
  EXPECT_EQ(ScreenWidth(), 1280);
  EXPECT_EQ(ScreenHeight(), 800);
}

TEST_F(DisplayTest, ScaleOneDrawsWhatTheEngineAlwaysDrew) {
  // The hash of the scene as the engine drew it before the display could scale.
  constexpr uint64_t kSceneBeforeScaling = 0xb86a92fff832f9f1ull;
  struct Case {
    const char* what;
    DisplaySettings settings;
  } cases[] = {{"full screen", FullScreen()}, {"full screen at scale 1", FullScreen(1)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(kScreenW, kScreenH, c.settings);
    ASSERT_EQ(DisplayScale(), 1);
    DrawEveryKindOfDrawing([this](int slot, int w, int h, const std::vector<uint32_t>& pixels) {
      LoadPixels(slot, w, h, pixels);
    });
    EXPECT_EQ(HashPixels(ReadBackBuffer()), kSceneBeforeScaling);
    PresentFrame();
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> shown = ReadShownWindow(width, height);
    EXPECT_EQ(width, kScreenW);
    EXPECT_EQ(height, kScreenH);
    EXPECT_EQ(HashPixels(shown), kSceneBeforeScaling);
    // The back buffer keeps its picture across presents.
    EXPECT_EQ(HashPixels(ReadBackBuffer()), kSceneBeforeScaling);
    CloseGameScreen();
  }
}

TEST_F(DisplayTest, PacingKeepsPresentsToTheRefreshRate) {
  Open(kScreenW, kScreenH, FullScreen());
  // The clock moves only by the frames' own work and by the pacing's waits.
  UseVirtualClock(true, 1000, 0);
  SetPresentPacingForTest(true, 60);
  PresentFrame();  // the schedule starts here
  EXPECT_EQ(TickCount(), 1000u);
  std::vector<uint32_t> ticks;
  for (int frame = 0; frame < 6; ++frame) {
    AdvanceVirtualClock(5);  // a quick frame
    PresentFrame();
    ticks.push_back(TickCount());
  }
  // 60 Hz is 16 2/3 ms: the waits round up to whole milliseconds, the schedule does not drift.
  EXPECT_EQ(ticks, (std::vector<uint32_t>{1017, 1034, 1050, 1067, 1084, 1100}));

  // A slow frame is shown at once, and the next ones do not hurry to catch up.
  AdvanceVirtualClock(40);
  PresentFrame();
  EXPECT_EQ(TickCount(), 1140u);
  AdvanceVirtualClock(5);
  PresentFrame();
  EXPECT_EQ(TickCount(), 1157u);

  // Frames that take longer than the interval are never held back.
  for (int frame = 0; frame < 3; ++frame) {
    const uint32_t before = TickCount();
    AdvanceVirtualClock(20);
    PresentFrame();
    EXPECT_LE(TickCount(), before + 20 + 1);
  }
}

TEST_F(DisplayTest, FrameCapSlowsPresentsBelowTheRefreshRate) {
  DisplaySettings capped = FullScreen();
  capped.maxFps = 30;
  Open(kScreenW, kScreenH, capped);
  UseVirtualClock(true, 0, 0);
  SetPresentPacingForTest(true, 144);
  PresentFrame();
  const uint32_t start = TickCount();
  for (int frame = 0; frame < 30; ++frame) {
    AdvanceVirtualClock(2);
    PresentFrame();
  }
  // Thirty frames at 30 per second: one second, to the rounding of each wait.
  EXPECT_GE(TickCount() - start, 1000u);
  EXPECT_LE(TickCount() - start, 1010u);

  // Without the test's pacing, the virtual clock runs as fast as the frames (replays).
  SetPresentPacingForTest(false, 0);
  const uint32_t unpaced = TickCount();
  for (int frame = 0; frame < 10; ++frame) PresentFrame();
  EXPECT_EQ(TickCount(), unpaced);
}

}  // namespace
}  // namespace qm::test
