// The game from the title to a won level and back to the player list with the keyboard alone:
// no mouse event at all. A new player, the lists, a typed word, the hint laid with F1, the
// result panel, the next level, and F10 saving the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine/Input.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/HintKey.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/rules/Easel.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

constexpr int16_t kEndBox = 219;
// C A T E R S O N I L, plastic.
const std::vector<int16_t> kEasel = {3, 1, 20, 5, 18, 19, 15, 14, 9, 12};

class KeyboardPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FullGameFolder();
    if (folder_.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
    session_ = std::make_unique<Session>(folder_);
    session_->PresetEasel(1, kEasel);
    session_->OnLevelStart([this](GameState& g) {
      ++levelStarts_;
      if (g.menu.currentLevel != 1) return;
      // A line of three Cells from GO for the typed word; every other Cell that takes a
      // Piece becomes an end box, so the hinted move, wherever it goes, ends the level.
      const BoardState& b = g.board;
      const CellPos go{b.startColumn, b.startRow};
      auto usable = [&](CellPos p) {
        const int16_t code = CellCode(b, p.column, p.row);
        int x = 0, y = 0;
        CellToScreen(b, p.column, p.row, x, y);
        return AcceptsPiece(code) && code != kEndBox && x >= 60 && x + 52 < 1000 && y >= 60 &&
               y + 60 < g.easel.top - 30;
      };
      for (int axis : {kRow, kFallingDiagonal, kRisingDiagonal}) {
        const CellPos f1 = StepForward(axis, go), f2 = StepForward(axis, f1);
        if (usable(go) && usable(f1) && usable(f2)) {
          axis_ = axis;
          word_ = {go, f1, f2};
          break;
        }
      }
      for (int c = 0; c <= b.w; ++c) {
        for (int r = 0; r <= b.h; ++r) {
          const CellPos p{c, r};
          if (std::find(word_.begin(), word_.end(), p) != word_.end()) continue;
          if (AcceptsPiece(CellCode(b, c, r)) && CellCode(b, c, r) != 218)
            SetCellCode(g.board, c, r, kEndBox);
        }
      }
    });
  }
  void TearDown() override { session_.reset(); }

  // Taps F3 only while the typing direction is not yet the word's.
  void TurnToTheWord(Script& s) {
    for (int i = 0; i < 3; ++i) {
      s.Change([this](InputState& in, const GameState&) {
        if (Keyboard().axis != axis_) in.keys.insert(kKeyF3);
      });
      s.Wait(48).Change([](InputState& in, const GameState&) { in.keys.erase(kKeyF3); }).Wait(48);
    }
  }

  std::string folder_;
  std::unique_ptr<Session> session_;
  int axis_ = -1;
  std::vector<CellPos> word_;
  int levelStarts_ = 0;
};

TEST_F(KeyboardPlayTest, FromTheTitleToAWonLevelAndBackWithoutTheMouse) {
  const std::string profile = session_->playersFolder() + "/1";
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  // No profile yet: the highlight starts on New player.
  s.Tap(kKeyReturn).Wait(300).Type("Kay").Tap(kKeyReturn).Wait(300);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.name[1], "Kay"); });
  s.Tap(kKeyReturn).UntilScreen(Screen::kLevelMenu).Wait(300);
  s.Tap(kKeyReturn).Until("level 1 running", Running).Wait(500);
  s.Check([this](const GameState& g) {
    ASSERT_EQ(word_.size(), 3u) << "no room for a word from GO";
    EXPECT_EQ(Keyboard().cursor, word_[0]);  // the cursor starts on GO
    EXPECT_EQ(g.chat.chatLog[0].text, "No mouse? F12 lists the keys");
    // Shown as long as the help line above it: a line stamped long ago is never drawn.
    EXPECT_GE(g.chat.chatLog[0].time, g.chat.chatLog[1].time);
  });
  TurnToTheWord(s);
  s.Type("cat").Wait(100);
  s.Check([this](const GameState& g) {
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(CellCode(g.board, word_[i].column, word_[i].row), kEasel[i]) << i;
  });
  s.Tap(kKeySpace).Wait(300);
  int64_t firstScore = 0;
  s.Check([&firstScore](const GameState& g) {
    EXPECT_TRUE(g.move.accepted);
    firstScore = g.players.scores[0];
    EXPECT_GT(firstScore, 0);
    EXPECT_EQ(g.play.endTick, 0u);
  });
  // The hint, then F1 again lays it; Space validates it and it covers an end box.
  s.Tap(59).Until("the hint shown", [](const GameState& g, Screen, uint32_t) {
    return g.hint.shownAt != 0 && !g.hint.pieces.empty();
  });
  s.Tap(59).Wait(100);
  s.Check([](const GameState& g) {
    EXPECT_GT(LaidPieceCount(g.easel), 0);
    EXPECT_TRUE(g.hint.pieces.empty());
  });
  s.Tap(kKeySpace).Wait(1600);
  s.Check([&firstScore](const GameState& g) {
    EXPECT_NE(g.play.endTick, 0u);
    EXPECT_GT(g.players.scores[0], firstScore);
    EXPECT_EQ(g.status.text, " Press ESC to continue ");
    EXPECT_EQ(g.play.lastVerdict, "Lv.+1");
    EXPECT_EQ(g.players.levelsReached[0], 2);
  });
  s.Tap(kKeyEscape).Until("level 2 running", [this](const GameState& g, Screen sc, uint32_t) {
    return sc == Screen::kRunLevel && g.menu.currentLevel == 2 && levelStarts_ == 2;
  });
  s.Wait(300).Check([](const GameState& g) {
    EXPECT_EQ(Keyboard().cursor, (CellPos{g.board.startColumn, g.board.startRow}));
  });
  s.Tap(kKeyF10).UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  s.Check([&profile](const GameState& g) {
    const std::string bytes = ReadFileBytes(profile);
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(bytes.substr(0, 4), "\x03Kay");
    EXPECT_EQ(bytes[4], 2);  // the level reached, saved
    EXPECT_EQ(g.menu.levelReached[1], 2);
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  // The whole run had the pointer outside the window and no button held.
  std::istringstream replay(session_->RecordedReplay());
  int inputLines = 0;
  for (std::string line; std::getline(replay, line);) {
    if (line.find("keys=") == std::string::npos) continue;
    ++inputLines;
    EXPECT_NE(line.find("mouse=-1,-1 buttons=-"), std::string::npos) << line;
  }
  EXPECT_GT(inputLines, 20);
}

}  // namespace
}  // namespace qm::e2e
