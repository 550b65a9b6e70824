// The share line on a real X server's clipboard: the engine sets it through SDL's X11 driver
// (the CLIPBOARD selection, owned by the game's window) and reads it back through the server.
// Skipped where Xvfb is not installed.
#include <gtest/gtest.h>

#include <string>

#include "engine/Screen.hpp"
#include "game/rules/Records.hpp"
#include "tests/desktop/PrivateX.hpp"

namespace qm {
namespace {

class X11Clipboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready_ = desktop_.Start("clipboard", {}); }
  static void TearDownTestSuite() { desktop_.Stop(); }
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "no Xvfb to hold a clipboard";
  }
  static inline desktop::PrivateX desktop_;
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
