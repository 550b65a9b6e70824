// Levels played headless in the full game folder: a word laid on GO and validated, a refused
// move, the end box and the result panel, the EXIT control, Left Alt + F4, an option entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/Input.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/Board.hpp"
#include "game/play/EndOfLevel.hpp"
#include "game/play/HexGrid.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kRowY = 6;
// C A T E R S O N I L, plastic: slots 1, 2, 3 spell "cat"; Q Z X below spell nothing.
const std::vector<int16_t> kEasel = {3, 1, 20, 5, 18, 19, 15, 14, 9, 12};
const std::vector<int16_t> kNonsense = {17, 26, 24, 5, 18, 19, 15, 14, 9, 12};

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FullGameFolder();
    if (folder_.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
    session_ = std::make_unique<Session>(folder_);
    WriteFileBytes(ProfilePath(), test::ProfileBytes("Ann", 1, 2, 10, 0));
    session_->OnLevelStart([this](GameState& g) {
      cells_ = WordCellsThroughGo(g);
      if (makeEndBox_ && !cells_.empty()) {
        CellPos last = cells_.back();
        SetCellCode(g.board, last.column, last.row, 219);
      }
    });
  }
  void TearDown() override {
    if (!session_) return;
    if (const char* dir = std::getenv("QM_RECORD_DIR")) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      std::ofstream(std::string(dir) + "/" + info->name() + ".replay")
          << session_->RecordedReplay();
    }
    session_.reset();
  }
  std::string ProfilePath() const { return session_->playersFolder() + "/1"; }

  // From the start to the first frames of level 1 for profile 1.
  Script ToLevelOne() {
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu).Wait(200);
    s.Click(512, 1 * 13 + kRowY).Until("level 1 running", Running).Wait(500);
    s.Check(
        [this](const GameState&) { ASSERT_EQ(cells_.size(), 3u) << "no room for a word on GO"; });
    return s;
  }
  // Drags Easel slots 1, 2, 3 onto the three word Cells.
  void LayWord(Script& s) { DragSlotsOntoCells(s, cells_, 3); }

  std::string folder_;
  std::unique_ptr<Session> session_;
  std::vector<CellPos> cells_;
  bool makeEndBox_ = false;
};

TEST_F(PlayTest, AWordOnGoIsAcceptedAndTheExitControlSavesIt) {
  const int64_t bigScore = (int64_t{1} << 40) + 3;  // the save must keep all 64 bits
  WriteFileBytes(ProfilePath(), test::ProfileBytes("Ann", 1, 2, 10, bigScore));
  session_->PresetEasel(1, kEasel);
  Script s = ToLevelOne();
  LayWord(s);
  s.Check([this](const GameState& g) {
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(CellCode(g.board, cells_[i].column, cells_[i].row), kEasel[i]);
    EXPECT_EQ(g.easel.slots[1], 160);
  });
  s.Tap(kKeySpace).Wait(300);
  int64_t score = 0;
  s.Check([&](const GameState& g) {
    score = g.players.scores[0];
    EXPECT_GT(score, bigScore);
    for (int k = 1; k <= g.easel.slots[0]; ++k) EXPECT_NE(g.easel.slots[k], 160) << "slot " << k;
    for (int k = 1; k <= 20; ++k) EXPECT_EQ(g.easel.laid[k].column, -1);  // the Pieces stay
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(CellCode(g.board, cells_[i].column, cells_[i].row), kEasel[i]);
  });
  // EXIT: left and right buttons held on the square at the top right corner.
  s.Move(1024 - 7, 7).Wait(100).Button('L', true).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry).Button('L', false).Button('R', false).Wait(300);
  s.Check([](const GameState&) { EXPECT_TRUE(MusicSlotPlaying(1)); });  // the menu music again
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  // Every byte: name, level reached, avatar, Easel slot count, the reserved bytes, the score.
  EXPECT_EQ(ReadFileBytes(ProfilePath()), test::ProfileBytes("Ann", 1, 2, 10, score));
}

TEST_F(PlayTest, ARefusedMoveReturnsThePiecesAndAltF4SavesNothing) {
  session_->PresetEasel(1, kNonsense);
  const std::string before = ReadFileBytes(ProfilePath());
  Script s = ToLevelOne();
  LayWord(s);
  s.Tap(kKeySpace).Wait(300);
  s.Check([this](const GameState& g) {
    EXPECT_EQ(g.players.scores[0], 0);
    EXPECT_FALSE(g.status.text.empty());  // the refusal is shown on the StatusLine
    std::vector<int16_t> easel(g.easel.slots.begin() + 1, g.easel.slots.begin() + 11);
    std::vector<int16_t> expected = kNonsense;
    std::sort(easel.begin(), easel.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(easel, expected);
    for (int i = 0; i < 3; ++i) {
      EXPECT_GT(CellCode(g.board, cells_[i].column, cells_[i].row), 130) << "cell " << i;
    }
  });
  s.Key(kKeyLeftAlt, true).Key(kKeyF4, true).Ends(500);  // ended by the keys, not by a close
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(r.lastScreen, Screen::kRunLevel);
  EXPECT_EQ(ReadFileBytes(ProfilePath()), before);
}

TEST_F(PlayTest, TheEndBoxShowsTheResultPanelAndEscapeStartsTheNextLevel) {
  makeEndBox_ = true;
  session_->PresetEasel(1, kEasel);
  Script s = ToLevelOne();
  LayWord(s);
  s.Tap(kKeySpace).Wait(200);
  s.Check([](const GameState& g) { EXPECT_NE(g.play.endTick, 0u); });
  s.Wait(1500);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.easel.referenceSlotCount, -1);  // the result panel is composed
    EXPECT_EQ(g.status.text, " Press ESC to continue ");
    // Level 1 asks only for the box Fin: covering it wins.
    EXPECT_EQ(g.board.objectives[0], 1);
    EXPECT_EQ(g.objectives.progress[0], 1);
    EXPECT_EQ(g.players.levelsReached[0], 2);
  });
  s.Tap(kKeyEscape).Until("the next level", Running).Wait(300).Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(std::count(r.screens.begin(), r.screens.end(), Screen::kStartLevel), 2);
  EXPECT_EQ(Game().menu.currentLevel, 2);
  EXPECT_EQ(Game().players.levelsReached[0], 2);
  EXPECT_EQ(Game().play.endTick, 0u);
}

TEST_F(PlayTest, AnOptionEntryActsOnceWhileTheButtonIsHeld) {
  Script s = ToLevelOne();
  int8_t before = 0;
  s.Check([&before](const GameState& g) { before = g.program.chatLastLine; });
  // " Chat more ": the first entry of the chat panel at the lower left edge.
  const int y = 768 - 224 + 20 + 10;
  s.Move(10, y).Wait(100).Button('L', true).Wait(1500);
  s.Check([&before](const GameState& g) { EXPECT_EQ(g.program.chatLastLine, before + 2); });
  s.Button('L', false).Wait(200).Button('L', true).Wait(200).Button('L', false).Wait(200);
  s.Check([&before](const GameState& g) { EXPECT_EQ(g.program.chatLastLine, before + 4); });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(PlayTest, AnInactiveWindowWaitsWithoutDrawingUntilItIsActiveAgain) {
  uint64_t presents = 0;
  int quietVolume = 0;
  Script s = ToLevelOne();
  s.Change([](InputState& in, const GameState&) { in.focus = false; }).Wait(200);
  s.Check([&presents](const GameState&) { presents = PresentCount(); });
  s.Wait(3000).Check([&](const GameState&) {
    EXPECT_EQ(PresentCount(), presents);  // no frame while the window is in the background
    quietVolume = MusicSlotMasterVolume(1);
  });
  s.Change([](InputState& in, const GameState&) { in.focus = true; }).Wait(500);
  s.Check([&](const GameState&) {
    EXPECT_GT(PresentCount(), presents + 10);
    EXPECT_LT(quietVolume, MusicSlotMasterVolume(1));  // the music is turned down meanwhile
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(PlayTest, LevelAfterLevelTheStackDoesNotGrow) {
  // Every level start runs from the same depth of the screen loop, however many came before.
  std::vector<uintptr_t> depths;
  std::vector<int> levels;
  session_->OnLevelStart([&](GameState& g) {
    int local = 0;
    depths.push_back(reinterpret_cast<uintptr_t>(&local));
    // The skips go on from level 38, so that 44 wraps to 1 after a few of them.
    if (levels.empty()) g.menu.currentLevel = 38;
    levels.push_back(g.menu.currentLevel);
  });
  Script s = ToLevelOne();
  const int kSkips = 12;
  for (int i = 0; i < kSkips; ++i) {
    // The hidden level skip typed into the chat line: Return, "~~~", Return.
    s.Tap(kKeyReturn).Wait(100);
    for (int t = 0; t < 3; ++t) s.Tap(41, "~");
    s.Tap(kKeyReturn).Wait(100);
    const size_t started = static_cast<size_t>(i) + 2;
    s.Until("the next level", [&levels, started](const GameState&, Screen sc, uint32_t) {
       return levels.size() >= started && sc == Screen::kRunLevel;
     }).Wait(100);
  }
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  ASSERT_EQ(levels.size(), static_cast<size_t>(kSkips + 1));
  EXPECT_EQ(levels.back(), 6);
  for (size_t i = 1; i < levels.size(); ++i) {
    EXPECT_EQ(levels[i], levels[i - 1] % 44 + 1) << i;
    EXPECT_EQ(depths[i], depths[0]) << "level start " << i;
  }
}

}  // namespace
}  // namespace qm::e2e
