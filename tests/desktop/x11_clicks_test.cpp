// Real clicks on a real X server: xdotool presses the buttons, SDL's X11 driver turns them
// into events (counting double clicks itself), and the engine and the game's tracking read
// them. Skipped where Xvfb or xdotool is not installed.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "game/flow/Mouse.hpp"

namespace qm {
namespace {

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t at = 0;
  while (at <= dirs.size()) {
    size_t end = dirs.find(':', at);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(at, end - at) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    at = end + 1;
  }
  return false;
}

// Event codes of the buttons, leaving out moves and other messages.
bool IsButtonCode(int code) {
  return code == kEventLeftDown || code == kEventLeftUp || code == kEventLeftDoubleClick ||
         code == kEventRightDown || code == kEventRightUp;
}

class X11Clicks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) return;
    int fds[2];
    if (pipe(fds) != 0) return;
    server_ = fork();
    if (server_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string display;
    pollfd reader{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&reader, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') display += c;
    close(fds[0]);
    if (display.empty()) return;
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ready_ = InitSprite() != 0 && OpenGameScreen("clicks") != 0;
  }
  static void TearDownTestSuite() {
    CloseGameScreen();
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }
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

  static inline pid_t server_ = -1;
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
