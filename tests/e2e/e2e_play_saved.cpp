// A level left and continued from its save plays on exactly as the uninterrupted level: left
// by the EXIT control, by a desktop close and by a killed process after an accepted move.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/Clock.hpp"
#include "game/play/Board.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Easel.hpp"
#include "tests/e2e/SavedLevelScript.hpp"

extern char** environ;

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;

// The whole level state as a save holds it, taken from the running game.
std::string LevelState(const GameState& g) {
  return EncodeSavedLevel(TakeSavedLevel(g, TickCount()));
}

std::string Dump(const std::string& bytes) {
  SavedLevel s;
  std::string why;
  return DecodeSavedLevel(bytes, s, why) ? SavedLevelJson(s) : "not a save: " + why;
}

// The same state, the ages of the chat lines and of the background tint's last step left
// out: a continued level's clock starts one pass later than the uninterrupted one's.
std::string WithoutAges(const std::string& bytes) {
  SavedLevel s;
  std::string why;
  if (!DecodeSavedLevel(bytes, s, why)) return "not a save: " + why;
  for (auto& line : s.chatLog) line.time = 0;
  s.tint.mark = 0;
  return EncodeSavedLevel(s);
}

enum class Leave { kExitControl, kDesktopClose, kKill };

// Where the EXIT control is pressed: the left button first (it describes what lies under
// the pointer, a ChatLog line), then the right one.
void PressLeftOnExitControl(Script& s) {
  s.Wait(300).Move(1024 - 7, 7).Wait(100).Button('L', true).Wait(100);
}

class SavedLevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FullGameFolder();
    if (folder_.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
  }

  // The uninterrupted session: the state where the other session leaves (the save of
  // move 1, or the pass where the EXIT control is pressed), then after the further moves.
  void PlayUninterrupted(bool pressExitControl, std::string& atLeave, std::string& after) {
    SavedLevelPlay u(folder_);
    Script s;
    u.ToLevelOne(s);
    u.MoveOne(s);
    if (!pressExitControl) {
      s.Check([&](const GameState&) { atLeave = ReadFileBytes(u.SavePath()); });
      u.AlignAfterSave(s);
    } else {
      PressLeftOnExitControl(s);
      int32_t frame = 0;
      // Where the other session presses the right button, this one lets go of the left.
      s.Check([&](const GameState& g) { frame = g.render.frameCount; });
      s.Button('L', false);
      s.Until("the pass of the EXIT", [&](const GameState& g, Screen, uint32_t) {
        return g.render.frameCount == frame + 1;
      });
      s.Check([&](const GameState& g) { atLeave = LevelState(g); });
      s.Until("the second pass after the EXIT", [&](const GameState& g, Screen, uint32_t) {
        return g.render.frameCount == frame + 3;
      });
    }
    u.FurtherMoves(s);
    s.Check([&](const GameState& g) {
      after = LevelState(g);
      WaitForLevelSaves();
      EXPECT_EQ(Dump(ReadFileBytes(u.SavePath())), Dump(after)) << "the exchange was not saved";
    });
    s.Quit();
    RunResult r = u.session->Run(s);
    ASSERT_EQ(r.failure, "");
  }

  // Plays move 1 and leaves; the players and saves folders are copied into `into`.
  void PlayAndLeave(Leave how, const std::string& into) {
    if (how == Leave::kKill) return KillAfterMove(into);
    SavedLevelPlay l(folder_);
    Script s;
    l.ToLevelOne(s);
    l.MoveOne(s);
    if (how == Leave::kExitControl) {
      PressLeftOnExitControl(s);
      s.Button('R', true).Wait(100);
      s.UntilScreen(Screen::kPlayerMenuEntry).Button('L', false).Button('R', false).Wait(200);
      s.Quit();
    } else {
      s.Wait(300).Quit().Ends();
    }
    RunResult r = l.session->Run(s);
    ASSERT_EQ(r.failure, "");
    Copy(l.session->tempFolder(), into);
  }

  static void Copy(const std::string& from, const std::string& into) {
    const auto options = fs::copy_options::overwrite_existing | fs::copy_options::recursive;
    fs::copy(from + "/players", into + "/players", options);
    fs::copy(from + "/saves", into + "/saves", options);
  }

  // Runs the victim program, waits for its save of move 1, kills it with SIGKILL.
  void KillAfterMove(const std::string& into) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = QM_SAVED_LEVEL_PLAYER;
    char* argv[] = {program.data(), folder_.data(), nullptr};
    pid_t pid = -1;
    int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    ASSERT_EQ(failed, 0) << "cannot start " << program;
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the player ended by itself";
    ASSERT_FALSE(line.empty()) << "the player never reported its save";
    Copy(line, into);
    fs::remove_all(line);
  }

  std::string folder_;
};

TEST_F(SavedLevelTest, AContinuedLevelIsTheUninterruptedOneWhenLeftAndAfterMoreMoves) {
  std::string atMove, after, atExit, afterExit;
  PlayUninterrupted(false, atMove, after);
  PlayUninterrupted(true, atExit, afterExit);
  {
    SavedLevel s;
    std::string why;
    ASSERT_TRUE(DecodeSavedLevel(atMove, s, why)) << why;
    EXPECT_GT(s.score, 0);
    EXPECT_EQ(s.playerName, "Ann");
    ASSERT_NE(Dump(after), Dump(atMove)) << "the further moves changed nothing";
  }
  const struct {
    const char* what;
    Leave how;
    const std::string& atLeave;
    const std::string& later;
  } cases[] = {
      {"the EXIT control", Leave::kExitControl, atExit, afterExit},
      {"a desktop close", Leave::kDesktopClose, atMove, after},
      {"a killed process", Leave::kKill, atMove, after},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder left("qm-left");
    PlayAndLeave(c.how, left.path());
    // A new session, in a state of its own: only the files carry the level over.
    SavedLevelPlay continued(folder_, false);
    Copy(left.path(), continued.session->tempFolder());
    const std::string saved = ReadFileBytes(continued.SavePath());
    ASSERT_EQ(Dump(saved), Dump(c.atLeave));
    EXPECT_TRUE(WithoutAges(saved) == WithoutAges(c.atLeave)) << "the save is not the level left";
    const std::string profile = ReadFileBytes(continued.session->playersFolder() + "/1");
    Game() = GameState{};

    std::string resumed, later, row;
    continued.session->OnLevelStart([&](GameState& g) {
      if (resumed.empty()) resumed = LevelState(g);
    });
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    s.Click(512, 1 * 13 + 6).UntilScreen(Screen::kLevelMenu).Wait(200);
    s.Check([&](const GameState& g) {
      row = LevelMenuLine(g.menu, 1, ContinuableLevel(g, {}, nullptr));
    });
    // No wait after the release: the level's first pass must not go by unseen.
    s.Move(512, 1 * 13 + 6).Wait(48).Button('L', true).Wait(64).Button('L', false);
    continued.AlignAfterContinue(s);
    continued.FurtherMoves(s);
    s.Check([&](const GameState& g) { later = LevelState(g); });
    s.Quit();
    RunResult r = continued.session->Run(s, 77);  // another seed: the save carries the stream
    ASSERT_EQ(r.failure, "");
    EXPECT_EQ(row, "Level 1 : First Steps (continue)");
    EXPECT_EQ(Dump(resumed), Dump(saved));
    EXPECT_TRUE(WithoutAges(resumed) == WithoutAges(saved))
        << "the continued level is not the one saved (ages aside)";
    EXPECT_EQ(Dump(later), Dump(c.later));
    EXPECT_TRUE(WithoutAges(later) == WithoutAges(c.later)) << "the further moves went otherwise";
    EXPECT_EQ(continued.starts, 1);
    EXPECT_EQ(ReadFileBytes(continued.session->playersFolder() + "/1").substr(0, 4),
              profile.substr(0, 4));
  }
}

// The laid Cells a save holds (none after a fresh start).
int PiecesOnBoard(const std::string& bytes) {
  SavedLevel s;
  std::string why;
  if (!DecodeSavedLevel(bytes, s, why)) return -1;
  int n = 0;
  for (int16_t code : s.board.cells) n += HoldsPiece(code) ? 1 : 0;
  return n;
}

TEST_F(SavedLevelTest, TheTurnBeingLaidGoesBackToTheEaselInTheSaveButStaysOnTheBoard) {
  SavedLevelPlay p(folder_);
  Script s;
  p.ToLevelOne(s);
  s.Wait(500);
  DragSlotsOntoCells(s, p.cells, 2);
  // Slot 3's Piece is carried to the EXIT square, where the right button leaves.
  s.MoveTo([](const GameState& g) { return SlotMiddle(g, 3); }).Wait(48).Button('L', true).Wait(64);
  s.Move(1024 - 7, 7).Wait(100).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry);
  s.Check([&](const GameState& g) {
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(CellCode(g.board, p.cells[i].column, p.cells[i].row), kSavedLevelEasel[i])
          << "the live Board lost its Piece " << i;
    }
    SavedLevel saved;
    std::string why;
    ASSERT_TRUE(DecodeSavedLevel(ReadFileBytes(p.SavePath()), saved, why)) << why;
    std::vector<int16_t> easel(saved.slots.begin() + 1, saved.slots.begin() + 1 + saved.slots[0]);
    std::vector<int16_t> expected = kSavedLevelEasel;
    std::sort(easel.begin(), easel.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(easel, expected);
    for (CellPos c : p.cells) {
      const int entry = LaidEntryAt(g.easel, c.column, c.row);
      const int16_t under =
          entry > 0 ? g.easel.laid[entry].under : CellCode(g.board, c.column, c.row);
      EXPECT_EQ(CellCode(saved.board, c.column, c.row), under)
          << "a Cell of this turn kept its Piece in the save";
    }
  });
  s.Button('L', false).Button('R', false).Wait(200).Quit();
  RunResult r = p.session->Run(s);
  ASSERT_EQ(r.failure, "");
}

TEST_F(SavedLevelTest, ShiftStartsTheSavedLevelAfreshAndItsFirstSaveReplacesTheOld) {
  SavedLevelPlay p(folder_);
  Script s;
  p.ToLevelOne(s);
  p.MoveOne(s);
  s.Move(1024 - 7, 7).Wait(100).Button('L', true).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry).Button('L', false).Button('R', false).Wait(200);
  s.Check([&](const GameState&) { EXPECT_EQ(PiecesOnBoard(ReadFileBytes(p.SavePath())), 3); });
  s.Click(512, 1 * 13 + 6).UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Check([](const GameState& g) {
    const auto saved = ContinuableLevel(g, {}, nullptr);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->identity.number, 1);
  });
  s.Key(kKeyLeftShift, true).Wait(100);
  s.Click(512, 1 * 13 + 6).Until("level 1 running", Running);
  s.Key(kKeyLeftShift, false).Wait(500);
  s.Check([&](const GameState& g) {
    WaitForLevelSaves();
    EXPECT_EQ(PiecesOnBoard(ReadFileBytes(p.SavePath())), 0) << "the old save is still there";
    for (CellPos c : p.cells) EXPECT_FALSE(HoldsPiece(CellCode(g.board, c.column, c.row)));
  });
  s.Quit();
  RunResult r = p.session->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(p.starts, 2);
}

TEST_F(SavedLevelTest, AFinishedLevelLosesItsSaveAndTheNextLevelGetsOne) {
  SavedLevelPlay p(folder_);
  p.session->OnLevelStart([&p](GameState& g) {
    if (p.starts == 1 && p.cells.size() == 3)
      SetCellCode(g.board, p.cells[2].column, p.cells[2].row, 219);
  });
  Script s;
  p.ToLevelOne(s);
  s.Check([&](const GameState&) {
    WaitForLevelSaves();
    EXPECT_TRUE(fs::exists(p.SavePath())) << "the level start saved nothing";
  });
  p.MoveOne(s);
  s.Check([&](const GameState& g) {
    EXPECT_NE(g.play.endTick, 0u);
    EXPECT_FALSE(fs::exists(p.SavePath())) << "a finished level keeps its save";
  });
  s.Wait(1500).Tap(kKeyEscape).Until("level 2", [](const GameState& g, Screen sc, uint32_t) {
    return sc == Screen::kRunLevel && g.menu.currentLevel == 2;
  });
  s.Wait(200).Check([&](const GameState&) {
    WaitForLevelSaves();
    SavedLevel saved;
    std::string why;
    ASSERT_TRUE(DecodeSavedLevel(ReadFileBytes(p.SavePath()), saved, why)) << why;
    EXPECT_EQ(saved.identity.number, 2);
  });
  s.Quit();
  RunResult r = p.session->Run(s);
  ASSERT_EQ(r.failure, "");
}

TEST_F(SavedLevelTest, ASaveDamagedAfterTheListWasDrawnStartsTheLevelAfreshAndSaysWhy) {
  SavedLevelPlay p(folder_);
  Script s;
  p.ToLevelOne(s);
  p.MoveOne(s);
  s.Wait(200).Quit().Ends();
  ASSERT_EQ(p.session->Run(s).failure, "");
  const std::string profile = ReadFileBytes(p.session->playersFolder() + "/1");

  Script t;
  t.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  t.Click(512, 1 * 13 + 6).UntilScreen(Screen::kLevelMenu).Wait(200);
  t.Check([&](const GameState& g) {
    const auto saved = ContinuableLevel(g, {}, nullptr);
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->identity.number, 1);
    std::string bytes = ReadFileBytes(p.SavePath());
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x40);
    WriteFileBytes(p.SavePath(), bytes);
  });
  t.Click(512, 1 * 13 + 6).Until("level 1 running", Running).Wait(100);
  t.Check([&](const GameState& g) {
    int lines = 0;
    for (const ChatLine& line : g.chat.chatLog) {
      if (line.text == "The saved level could not be continued: it is damaged ") ++lines;
    }
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(g.players.scores[0], 5) << "the score of the profile, from the EXIT before";
    WaitForLevelSaves();
    EXPECT_EQ(PiecesOnBoard(ReadFileBytes(p.SavePath())), 0);
  });
  t.Quit();
  RunResult r = p.session->Run(t);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(ReadFileBytes(p.session->playersFolder() + "/1").size(), profile.size());
}

}  // namespace
}  // namespace qm::e2e
