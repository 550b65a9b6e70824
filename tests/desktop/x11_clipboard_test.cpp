// The share line on a real X server's clipboard: the engine sets it through SDL's X11 driver
// (the CLIPBOARD selection, owned by the game's window) and reads it back through the server.
// Skipped where Xvfb is not installed.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "engine/Screen.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

class X11Clipboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
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
    ready_ = InitSprite() != 0 && OpenGameScreen("clipboard") != 0;
  }
  static void TearDownTestSuite() {
    CloseGameScreen();
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "no Xvfb to hold a clipboard";
  }
  static inline pid_t server_ = -1;
  static inline bool ready_ = false;
};

TEST_F(X11Clipboard, TheShareLineIsOnTheClipboard) {
  const std::string line = ShareLine(20261211, "Lv.+1", 412, 9, 0);
  ASSERT_TRUE(CopyTextToClipboard(line));
  EXPECT_EQ(ClipboardText(), "Quillmosaica daily 2026-12-11: Lv.+1, 412 pts in 9 moves, 0 hints");
  ASSERT_TRUE(CopyTextToClipboard("second"));  // a later copy replaces it
  EXPECT_EQ(ClipboardText(), "second");
}

}  // namespace
}  // namespace qm
