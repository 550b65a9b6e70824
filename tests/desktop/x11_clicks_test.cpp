// Real clicks on a real X server: xdotool presses the buttons, SDL's X11 driver turns them
// into events (counting double clicks itself), and the engine and the game's tracking read
// them. Skipped where Xvfb or xdotool is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Input.hpp"
#include "game/flow/Mouse.hpp"
#include "tests/desktop/PrivateX.hpp"

namespace qm {
namespace {

// Event codes of the buttons, leaving out moves and other messages.
bool IsButtonCode(int code) {
  return code == kEventLeftDown || code == kEventLeftUp || code == kEventLeftDoubleClick ||
         code == kEventRightDown || code == kEventRightUp;
}

class X11Clicks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready_ = desktop_.Start("clicks", {"xdotool"}); }
  static void TearDownTestSuite() { desktop_.Stop(); }
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "no Xvfb and xdotool to click with";
    program_.windowId = MainWindowId();
  }

  // Runs xdotool with these arguments, then collects the button codes SDL delivered.
  static std::vector<int> Clicks(const std::string& arguments, size_t expected) {
    EXPECT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    std::vector<int> codes;
    for (int waited = 0; codes.size() < expected && waited < 3000; waited += 10) {
      int code = PollWindowEvent(10);
      if (IsButtonCode(code)) codes.push_back(code);
    }
    return codes;
  }

  static inline desktop::PrivateX desktop_;
  static inline bool ready_ = false;
  ProgramState program_;
};

// Two quick clicks at the pointer positions given; each pair starts far from the one before.
TEST_F(X11Clicks, OnlyASecondClickOnTheSameSpotIsADoubleClick) {
  struct Case {
    const char* what;
    int dx, dy;
    std::vector<int> codes;
  };
  const std::vector<int> twoClicks = {513, 13112, 513, 13112};
  const std::vector<int> doubleClick = {513, 13112, 13113, 13112};
  const Case cases[] = {
      {"the same spot", 0, 0, doubleClick},
      {"a hand's tremble away", 2, 1, doubleClick},
      {"the next menu row, 13 px below", 0, 13, twoClicks},
      {"the next option entry, 20 px below", 0, 20, twoClicks},
      {"3 px to the side", 3, 0, twoClicks},
  };
  int x = 40;
  for (const Case& c : cases) {
    std::string first = std::to_string(x) + " 100";
    std::string second = std::to_string(x + c.dx) + " " + std::to_string(100 + c.dy);
    EXPECT_EQ(Clicks("mousemove " + first + " click 1 mousemove " + second + " click 1", 4),
              c.codes)
        << c.what;
    x += 100;
  }
}

TEST_F(X11Clicks, QuickClicksOnNeighbouringRowsEachReachTheGame) {
  // Two taps 13 px apart in quick succession, all before the game looks: both are seen.
  ASSERT_EQ(std::system("xdotool mousemove 300 200 click 1"), 0);
  int seen = 0;
  for (int waited = 0; waited < 1000 && seen == 0; waited += 10) {
    seen += MouseButtonIsDown(program_, Button::kLeft);
    if (seen == 0) usleep(10000);
  }
  EXPECT_EQ(seen, 1) << "the first tap";
  EXPECT_EQ(MouseButtonIsDown(program_, Button::kLeft), 0) << "released after one pass";
  ASSERT_EQ(std::system("xdotool mousemove 300 213 click 1"), 0);
  seen = 0;
  for (int waited = 0; waited < 1000 && seen == 0; waited += 10) {
    seen += MouseButtonIsDown(program_, Button::kLeft);
    if (seen == 0) usleep(10000);
  }
  EXPECT_EQ(seen, 1) << "the second tap, 13 px below, within the double-click time";
  EXPECT_EQ(MouseButtonIsDown(program_, Button::kLeft), 0);
}

}  // namespace
}  // namespace qm
