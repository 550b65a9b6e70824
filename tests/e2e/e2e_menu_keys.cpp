// The player list and the level list from the keyboard alone: Up, Down, Home, End, Page Up,
// Page Down move the highlight, Return chooses; no mouse event at all.
#include <gtest/gtest.h>

#include "engine/Input.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

class MenuKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeMenuFolder(folder_.path(), {"First steps", "Second", "Third", "Fourth", "Fifth"});
    session_ = std::make_unique<Session>(folder_.path());
    WriteFileBytes(session_->playersFolder() + "/1", test::ProfileBytes("one", 1, 0, 10, 0));
    WriteFileBytes(session_->playersFolder() + "/3", test::ProfileBytes("three", 3, 0, 10, 0));
  }
  void TearDown() override { session_.reset(); }

  static constexpr int kRecordsRow = 46;  // the daily's row 45, then the records
  // The highlight's blue on the row's left edge, where no text is drawn.
  static int BlueOfRow(int row) { return static_cast<int>(ReadBackPixel(3, row * 13 + 6) & 0xFF); }
  // Only this row lit among the rows that can be chosen (the pointer, outside, lights row 0).
  static void ExpectLit(Script& s, int lit, std::vector<int> rows) {
    s.Wait(100).Check([lit, rows](const GameState&) {
      for (int row : rows) {
        if (row == lit) {
          EXPECT_GE(BlueOfRow(row), 90) << "row " << row << " should be lit";
        } else {
          EXPECT_LT(BlueOfRow(row), 90) << "row " << row << " should not be lit";
        }
      }
    });
  }

  test::TempFolder folder_{"qm-e2e-menukeys"};
  std::unique_ptr<Session> session_;
};

TEST_F(MenuKeysTest, UpDownAndReturnChooseAPlayerHomeEndAndPagesALevel) {
  session_->StopBefore(Screen::kStartLevel);
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  ExpectLit(s, -1, {1, 3, 24, 30});  // nothing lit before a key
  s.Tap(kKeyDown);
  ExpectLit(s, 1, {1, 3, 24, 30});  // the first key shows the highlight where it is
  s.Tap(kKeyDown);
  ExpectLit(s, 3, {1, 3, 24, 30});  // over the free row 2
  s.Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyDown);
  ExpectLit(s, 30, {1, 3, 24, 30});  // New player, Quit, and no further
  s.Tap(kKeyHome);                   // no paging in the player list
  ExpectLit(s, 30, {1, 3, 24, 30});
  s.Tap(kKeyUp).Tap(kKeyUp);
  ExpectLit(s, 3, {1, 3, 24, 30});
  s.Tap(kKeyReturn).UntilScreen(Screen::kLevelMenu).Wait(300);
  s.Check([](const GameState& g) { EXPECT_EQ(g.players.levelsReached[0], 3); });
  s.Tap(kKeyUp);
  ExpectLit(s, 3, {1, 2, 3, 4});  // starts on the level reached
  s.Tap(kKeyUp);
  ExpectLit(s, 2, {1, 2, 3, 4});
  s.Tap(kKeyHome);
  ExpectLit(s, 1, {1, 2, 3, 4});
  // Below the levels: the daily (not ready in this folder, so skipped) and the records row,
  // the last one; level 4 is not reached.
  s.Tap(kKeyEnd);
  ExpectLit(s, kRecordsRow, {1, 2, 3, 4, kRecordsRow});
  s.Tap(kKeyPageUp);
  ExpectLit(s, 1, {1, 2, 3, 4, kRecordsRow});
  s.Tap(kKeyPageDown).Tap(kKeyUp).Tap(kKeyUp);
  ExpectLit(s, 2, {1, 2, 3, 4, kRecordsRow});
  s.Key(kKeyReturn, true).Wait(48).Key(kKeyReturn, false).Ends(2000);
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(Game().menu.currentLevel, 2);
  EXPECT_EQ(Game().menu.name[3], "three");
}

TEST_F(MenuKeysTest, ReturnOnQuitEndsAndOnNewPlayerOpensTheEntry) {
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  s.Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyReturn).Wait(300);
  // New player (row 24) opened: the name typed, Return makes profile 2; the Return that ends
  // the entry does not choose a row of the list it comes back to.
  s.Type("Kay").Tap(kKeyReturn).Wait(400);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.name[2], "Kay"); });
  s.Tap(kKeyEnd).Wait(100);
  s.Check([](const GameState&) { EXPECT_LT(BlueOfRow(30), 90); });
  s.Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyDown).Tap(kKeyDown);
  ExpectLit(s, 30, {1, 2, 3, 24, 30});
  s.Key(kKeyReturn, true).Wait(48).Key(kKeyReturn, false).Ends(2000);
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(ReadFileBytes(session_->playersFolder() + "/2").substr(0, 4), std::string("\x03Kay"));
}

}  // namespace
}  // namespace qm::e2e
