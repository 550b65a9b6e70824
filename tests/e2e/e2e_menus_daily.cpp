// The level list's rows below the levels: today's daily for every player (prepared on the
// worker, chosen once ready), the endless road for a Master, and the records screen.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Input.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Records.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/support/LevelBytes.hpp"

namespace qm::e2e {
namespace {

constexpr int kRowY = 6;
constexpr int kDailyY = 45 * 13 + kRowY;
constexpr int kEndlessY = 46 * 13 + kRowY;

// A small level of soil around the start box, named after its kind; the maker waits for the
// test's word so the "being prepared" row can be seen.
std::atomic<bool> gRelease{false};

bool TestLevel(const LevelIdentity& identity, std::string& bytes) {
  for (int k = 0; k < 4000 && !gRelease; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  test::LevelBytes level = test::FilledLevel(15, 11, kFirstSoil);
  level.cells[5 * 16 + 7] = kStartBox;
  level.startColumn = 7;
  level.startRow = 5;
  level.title = identity.kind == LevelKind::kDaily ? "Of the day" : "On the road";
  bytes = level.Encode();
  return true;
}

class DailyMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gRelease = false;
    SetUtcDateForTests(20261211);
    SetLevelMaker(TestLevel, 9);
    MakeMenuFolder(folder_.path(), {"First steps", "Second", "Third"});
    session_ = std::make_unique<Session>(folder_.path());
  }
  void TearDown() override {
    gRelease = true;
    session_.reset();
    SetLevelMaker(nullptr, 0);
    SetUtcDateForTests(0);
  }
  test::TempFolder folder_{"qm-e2e-daily"};
  std::unique_ptr<Session> session_;
};

TEST_F(DailyMenuTest, TheDailyRowIsPreparedThenPlayedAndAMasterHasTheEndlessRow) {
  WriteFileBytes(session_->playersFolder() + "/1", test::ProfileBytes("Ann", 45, 0, 10, 0));
  session_->StopBefore(Screen::kRunLevel);
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu).Wait(100);
  // Not ready yet: a click on the row does nothing, and the list goes on drawing.
  s.Click(512, kDailyY).Wait(300);
  s.Check([](const GameState& g) {
    EXPECT_EQ(LevelPreparation(DailyIdentity(20261211)), Preparation::kPreparing);
    EXPECT_EQ(g.menu.levelIdentity.kind, LevelKind::kHandMade);
  });
  s.Change([](InputState&, const GameState&) { gRelease = true; });
  s.Until("the daily is ready", [](const GameState&, Screen, uint32_t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return LevelPreparation(DailyIdentity(20261211)) == Preparation::kReady &&
           LevelPreparation(EndlessIdentity("Ann", 1)) == Preparation::kReady;
  });
  s.Press(512, kDailyY).Wait(64).Button('L', false).Ends();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.stopped);
  const GameState& g = Game();
  EXPECT_EQ(g.menu.levelIdentity.kind, LevelKind::kDaily);
  EXPECT_EQ(g.menu.levelIdentity.day, 20261211);
  EXPECT_EQ(g.menu.levelIdentity.generatorVersion, 9u);
  EXPECT_EQ(g.board.title, "Of the day");
  EXPECT_EQ(LevelLabel(g.menu), "Daily 2026-12-11");
  EXPECT_TRUE(g.easel.dealStream.has_value());
}

TEST_F(DailyMenuTest, AMasterChoosesTheEndlessRow) {
  gRelease = true;
  WriteFileBytes(session_->playersFolder() + "/1", test::ProfileBytes("Ann", 45, 0, 10, 0));
  session_->StopBefore(Screen::kRunLevel);
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu);
  s.Until("the endless level is ready", [](const GameState&, Screen, uint32_t) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return LevelPreparation(EndlessIdentity("Ann", 1)) == Preparation::kReady;
  });
  s.Press(512, kEndlessY).Wait(64).Button('L', false).Ends();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(Game().menu.levelIdentity.kind, LevelKind::kEndless);
  EXPECT_EQ(Game().menu.levelIdentity.endless, 1);
  EXPECT_EQ(Game().board.title, "On the road");
}

TEST_F(DailyMenuTest, APlayerBelowMasterHasNoEndlessRowAndRLeadsToTheRecords) {
  gRelease = true;
  WriteFileBytes(session_->playersFolder() + "/1", test::ProfileBytes("Ann", 2, 0, 10, 0));
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu).Wait(300);
  // Row 46 is the records row for this player: no endless level is asked for.
  s.Check([](const GameState&) {
    EXPECT_EQ(LevelPreparation(EndlessIdentity("Ann", 1)), Preparation::kNotAsked);
  });
  s.Tap(19).UntilScreen(Screen::kRecords).Wait(200);
  s.Key(kKeyEscape, true).Wait(300).Key(kKeyEscape, false);
  s.UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Click(512, 46 * 13 + kRowY).UntilScreen(Screen::kRecords).Wait(200);
  s.Click(512, 300).UntilScreen(Screen::kLevelMenu).Wait(100).Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(DailyMenuTest, ADailyLeftIsContinuedFromItsRowAndShiftStartsItAfresh) {
  gRelease = true;
  WriteFileBytes(session_->playersFolder() + "/1", test::ProfileBytes("Ann", 2, 0, 10, 0));
  session_->StopBefore(Screen::kRunLevel);
  auto toList = [](Script& s) {
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu);
    s.Until("the daily is ready", [](const GameState&, Screen, uint32_t) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return LevelPreparation(DailyIdentity(20261211)) == Preparation::kReady;
    });
  };
  Script first;
  toList(first);
  first.Press(512, kDailyY).Wait(64).Button('L', false).Ends();
  ASSERT_EQ(session_->Run(first).failure, "");
  ASSERT_EQ(Game().menu.levelIdentity.kind, LevelKind::kDaily);
  const auto dealt = Game().easel.slots;
  WaitForLevelSaves();

  // The level as it was left: a score of its own, so a continue is told from a fresh start.
  const std::string path = session_->tempFolder() + "/saves/1";
  SavedLevel saved;
  std::string why;
  ASSERT_TRUE(DecodeSavedLevel(ReadFileBytes(path), saved, why)) << why;
  EXPECT_TRUE(saved.hasDealStream);
  saved.score = 4321;
  saved.tally.moves = 3;
  WriteFileBytes(path, EncodeSavedLevel(saved));

  for (const bool shift : {false, true}) {
    SCOPED_TRACE(shift ? "Shift held" : "continued");
    Game() = GameState{};
    Script s;
    toList(s);
    if (shift) s.Key(kKeyLeftShift, true).Wait(100);
    s.Press(512, kDailyY).Wait(64).Button('L', false).Ends();
    ASSERT_EQ(session_->Run(s).failure, "");
    const GameState& g = Game();
    EXPECT_EQ(g.menu.levelIdentity.kind, LevelKind::kDaily);
    EXPECT_EQ(g.players.scores[0], shift ? 0 : 4321);
    EXPECT_EQ(g.records.tally.moves, shift ? 0 : 3);
    EXPECT_EQ(g.easel.slots, dealt);
    if (shift) InjectKey(kKeyLeftShift, false);
  }
}

}  // namespace
}  // namespace qm::e2e
