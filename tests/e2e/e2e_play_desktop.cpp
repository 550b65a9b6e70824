// What a real desktop does that a careful script does not: a click still held when the next
// screen starts, taps whose press and release arrive together, and a close asked by the
// window manager in the middle of a level.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kRowY = 6;  // a row's middle, 13 pixels per row
constexpr int kPlayerOneY = 1 * 13 + kRowY;
constexpr int kNewPlayerY = 24 * 13 + kRowY;
constexpr int kQuitY = 30 * 13 + kRowY;
// C A T E R S O N I L, plastic: slots 1, 2, 3 spell "cat".
const std::vector<int16_t> kEasel = {3, 1, 20, 5, 18, 19, 15, 14, 9, 12};

int64_t ScoreOf(const std::string& profile) {
  if (profile.size() < 8) return 0;
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i)
    v |= uint64_t{static_cast<uint8_t>(profile[profile.size() - 8 + i])} << (8 * i);
  return static_cast<int64_t>(v);
}

// The screen the Session runs is the one whose loop is on: a quick look with no wait.
Script& StillOn(Script& s, Screen screen) {
  return s.Until(
      "still " + ScreenName(screen),
      [screen](const GameState&, Screen on, uint32_t) { return on == screen; }, 0);
}

// A left click whose press and release reach the window together (a touchpad tap).
Script& LeftTap(Script& s, int x, int y) {
  return s.Move(x, y).Wait(48).Button('L', true).Button('L', false).Wait(200);
}

// ---- Menus, on a small game folder ----------------------------------------------------------

class DesktopMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("qm-e2e-desktop-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    MakeMenuFolder(folder_.string(), {"First steps", "Second", "Third"});
    session_ = std::make_unique<Session>(folder_.string());
    WriteFileBytes(ProfilePath(1), test::ProfileBytes("Ann", 2, 2, 10, 0));
  }
  void TearDown() override {
    session_.reset();
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::string ProfilePath(int n) const {
    return session_->playersFolder() + "/" + std::to_string(n);
  }

  fs::path folder_;
  std::unique_ptr<Session> session_;
};

// The click that ends the title hold is held through the fade out and the menu's first frames.
TEST_F(DesktopMenuTest, ALongClickOnTheTitleDoesNotActOnTheMenuRowBelowIt) {
  struct Case {
    const char* what;
    int y;
    Screen afterFreshClick;  // what a new click on the same row then does
  };
  const Case cases[] = {
      {"Quit (ESC)", kQuitY, Screen::kEndProgram},
      {"New player", kNewPlayerY, Screen::kPlayerMenuEntry},
      {"a player", kPlayerOneY, Screen::kLevelMenu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool outlived = false;
    Script s;
    s.UntilScreen(Screen::kTitle).Wait(52 * 17 + 500);  // the hold, after the fade in
    s.Move(512, c.y).Wait(48).Button('L', true).Wait(800);
    StillOn(s, Screen::kPlayerMenuEntry).Wait(300);
    s.Check([&outlived](const GameState&) { outlived = true; });
    s.Check([](const GameState& g) {
      EXPECT_EQ(g.menu.blinkCounter, 0) << "the new player screen was opened";
      EXPECT_EQ(g.menu.selectedProfile, 0) << "a player was chosen";
    });
    s.Button('L', false).Wait(300);
    StillOn(s, Screen::kPlayerMenuEntry);
    if (c.afterFreshClick == Screen::kEndProgram) {
      s.Press(512, c.y).Ends();  // a fresh click on Quit (ESC) does end the game
    } else {
      s.Click(512, c.y).Wait(300);
      if (c.afterFreshClick == Screen::kLevelMenu) s.UntilScreen(Screen::kLevelMenu, 1000);
      if (c.afterFreshClick == Screen::kPlayerMenuEntry) {
        s.Check([](const GameState& g) { EXPECT_GT(g.menu.blinkCounter, 0); });
      }
      s.Quit();
    }
    RunResult r = session_->Run(s);
    EXPECT_EQ(r.failure, "");
    EXPECT_TRUE(r.ended);
    EXPECT_TRUE(r.scriptDone);
    EXPECT_TRUE(outlived) << "the held click acted on the menu";
  }
}

TEST_F(DesktopMenuTest, EscapeFromTheLevelListWithTheButtonHeldChoosesNoPlayer) {
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu).Wait(200);
  // Row 0 of the level list does nothing; the press goes on over the player list.
  s.Move(512, kRowY).Wait(48).Button('L', true).Wait(100);
  s.Tap(kKeyEscape).UntilScreen(Screen::kPlayerMenuReturn).Wait(100);
  s.Move(512, kPlayerOneY).Wait(400);
  StillOn(s, Screen::kPlayerMenuReturn);
  s.Button('L', false).Wait(100);
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu, 1000).Quit();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(DesktopMenuTest, BackFromTheNewPlayerScreenWithTheButtonHeldOpensItNoMore) {
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  // The press that opened the screen is held while the name is typed and confirmed.
  s.Move(512, kNewPlayerY).Wait(48).Button('L', true).Wait(200);
  s.Type("Bo").Tap(kKeyReturn).Wait(300);
  s.Type("Cy").Tap(kKeyReturn).Wait(300);  // would name a third player
  s.Button('L', false).Wait(100).Quit();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(ReadFileBytes(ProfilePath(2)).substr(0, 3), std::string("\x02"
                                                                    "Bo"));
  EXPECT_FALSE(fs::exists(ProfilePath(3)));
}

TEST_F(DesktopMenuTest, TapsChooseMenuRows) {
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  LeftTap(s, 512, kPlayerOneY).UntilScreen(Screen::kLevelMenu, 1000).Wait(200);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.selectedProfile, 1); });
  s.Move(512, 2 * 13 + kRowY).Wait(48).Button('L', true).Button('L', false).Ends();
  // The small folder's levels hold only a title: stop before one would be loaded.
  session_->StopBefore(Screen::kStartLevel);
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.stopped) << "the tap on level 2 was lost";
  EXPECT_EQ(Game().menu.currentLevel, 2);
}

// ---- Play, in the full game folder ------------------------------------------------------------

class DesktopPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FullGameFolder();
    if (folder_.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
    session_ = std::make_unique<Session>(folder_);
    WriteFileBytes(ProfilePath(), test::ProfileBytes("Ann", 1, 2, 10, 0));
    session_->PresetEasel(1, kEasel);
    session_->PresetEasel(2, kEasel);
    session_->OnLevelStart([this](GameState& g) {
      cells_ = WordCellsThroughGo(g);
      if (makeEndBox_ && !cells_.empty()) {
        CellPos last = cells_.back();
        SetCellCode(g.board, last.column, last.row, 219);
      }
    });
  }
  std::string ProfilePath() const { return session_->playersFolder() + "/1"; }

  Script ToLevelOne() {
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu).Wait(200);
    s.Click(512, kPlayerOneY).Until("level 1 running", Running).Wait(500);
    s.Check(
        [this](const GameState&) { ASSERT_EQ(cells_.size(), 3u) << "no room for a word on GO"; });
    return s;
  }
  // Drags Easel slots 1, 2, 3 onto the three word Cells and validates with Space.
  void LayWordAndValidate(Script& s) {
    DragSlotsOntoCells(s, cells_, 3);
    s.Tap(kKeySpace).Wait(300);
  }

  std::string folder_;
  std::unique_ptr<Session> session_;
  std::vector<CellPos> cells_;
  bool makeEndBox_ = false;
};

TEST_F(DesktopPlayTest, TheExitControlsHeldButtonsDoNotChooseAPlayer) {
  Script s = ToLevelOne();
  s.Move(1024 - 7, 7).Wait(100).Button('L', true).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(100);
  s.Move(512, kPlayerOneY).Wait(400);  // both buttons still held over the player's row
  StillOn(s, Screen::kPlayerMenuEntry);
  s.Button('L', false).Button('R', false).Wait(100);
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu, 1000).Quit();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(DesktopPlayTest, APressHeldThroughEscapeOnTheResultPanelPicksUpNothing) {
  makeEndBox_ = true;
  Script s = ToLevelOne();
  LayWordAndValidate(s);
  s.Wait(1500).Check([](const GameState& g) { ASSERT_EQ(g.easel.referenceSlotCount, -1); });
  // Left held over Easel slot 1 while Escape starts the next level.
  s.MoveTo([](const GameState& g) { return SlotMiddle(g, 1); }).Wait(48);
  s.Button('L', true).Wait(100).Tap(kKeyEscape);
  s.Until("the next level", Running).Wait(300);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.play.dragState, 0);
    EXPECT_NE(g.easel.slots[1], 160) << "slot 1 was emptied by a pick-up";
  });
  s.Button('L', false).Wait(100);
  // A new press picks up as ever.
  s.Button('L', true).Wait(100).Check([](const GameState& g) { EXPECT_EQ(g.play.dragState, 1); });
  s.Button('L', false).Wait(100);
  s.Change([](InputState& in, const GameState&) { in.keys = {kKeyLeftAlt, kKeyF4}; });
  s.Ends();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
}

TEST_F(DesktopPlayTest, TapsReachTheEaselAndTheOptionEntries) {
  Script s = ToLevelOne();
  int8_t before = 0;
  s.Check([&before](const GameState& g) { before = g.program.chatLastLine; });
  LeftTap(s, 10, 768 - 224 + 20 + 10);  // " Chat more "
  s.Check([&before](const GameState& g) { EXPECT_EQ(g.program.chatLastLine, before + 2); });
  // A tap on a Cell describes it on the StatusLine.
  std::string status;
  s.Check([&status](const GameState& g) { status = g.status.text; });
  s.MoveTo([this](const GameState& g) { return CellMiddle(g, cells_[0]); }).Wait(48);
  s.Button('L', true).Button('L', false).Wait(200);
  s.Check([&status](const GameState& g) {
    EXPECT_EQ(g.play.dragState, 0);
    EXPECT_NE(g.status.text, status);
    EXPECT_FALSE(g.status.text.empty());
  });
  // A tap on an Easel Piece picks it up for one pass and drops it back into its slot.
  s.MoveTo([](const GameState& g) { return SlotMiddle(g, 2); }).Wait(48);
  s.Button('L', true).Button('L', false).Wait(200);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.play.dragState, 0);
    EXPECT_EQ(g.easel.slots[2], kEasel[1]);
  });
  s.Change([](InputState& in, const GameState&) { in.keys = {kKeyLeftAlt, kKeyF4}; });
  s.Ends();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
}

// The desktop's resolution changes under the full-screen game: the next frames are drawn for
// the new size (the scale chosen again), the Easel sits at the new bottom edge and the Board
// shows as many Cells as fit; the game plays on.
TEST_F(DesktopPlayTest, ANewDesktopResolutionIsFollowedDuringPlay) {
  struct Step {
    int desktopWidth, desktopHeight, screenWidth, screenHeight;
  } steps[] = {{1600, 900, 1600, 900}, {3840, 2160, 1920, 1080}, {1024, 768, 1024, 768}};
  Script s = ToLevelOne();
  for (const Step& step : steps) {
    s.Check(
        [step](const GameState&) { SetHeadlessScreenSize(step.desktopWidth, step.desktopHeight); },
        "the desktop changes");
    s.Wait(200);
    s.Check([step](const GameState& g) {
      SCOPED_TRACE(std::to_string(step.desktopWidth) + "x" + std::to_string(step.desktopHeight));
      EXPECT_EQ(ScreenWidth(), step.screenWidth);
      EXPECT_EQ(g.program.screenWidth, step.screenWidth);
      EXPECT_EQ(g.program.screenHeight, step.screenHeight);
      EXPECT_EQ(g.program.visibleColumnSpan, step.screenWidth / 52 + 2);
      EXPECT_EQ(g.program.visibleRowSpan, step.screenHeight / 45 + 2);
      EXPECT_EQ(g.easel.top, step.screenHeight - 62);
      EXPECT_EQ(g.easel.bottom, step.screenHeight);
    });
  }
  LayWordAndValidate(s);
  s.Check([](const GameState& g) {
    EXPECT_GT(g.players.scores[0], 0) << "a word laid after the changes";
  });
  s.Quit().Ends();
  RunResult r = session_->Run(s);
  EXPECT_EQ(r.failure, "");
}

// A close from the window manager saves as the EXIT control does; Left Alt + F4 does not.
// A hang-up (SIGHUP: the session ends) is such a close.
TEST_F(DesktopPlayTest, ADesktopCloseDuringPlaySavesThePlayer) {
  struct Case {
    const char* what;
    bool endBox;    // win the level and wait for the result panel
    bool inactive;  // the window is in the background when the close comes
    bool hangUp;    // SIGHUP instead of the window manager's close
  };
  const Case cases[] = {
      {"during the level", false, false, false},
      {"on the result panel after Lv.+1", true, false, false},
      {"while the window waits in the background", false, true, false},
      {"a hang-up during the level", false, false, true},
      {"a hang-up in the background", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(ProfilePath(), test::ProfileBytes("Ann", 1, 2, 10, 0));
    // The close saved the level of the case before: each case starts level 1 afresh.
    std::filesystem::remove_all(session_->tempFolder() + "/saves");
    makeEndBox_ = c.endBox;
    int64_t score = 0;
    int reached = 0;
    Script s = ToLevelOne();
    LayWordAndValidate(s);
    if (c.endBox) s.Wait(1500);
    if (c.inactive) s.Change([](InputState& in, const GameState&) { in.focus = false; }).Wait(300);
    s.Check([&](const GameState& g) {
      score = g.players.scores[0];
      reached = g.players.levelsReached[0];
    });
    if (c.hangUp) {
      s.Check([](const GameState&) { ASSERT_EQ(raise(SIGHUP), 0); }, "SIGHUP").Ends();
    } else {
      s.Quit().Ends();
    }
    RunResult r = session_->Run(s);
    EXPECT_EQ(r.failure, "");
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lastScreen, Screen::kRunLevel);
    EXPECT_GT(score, 0);
    std::string saved = ReadFileBytes(ProfilePath());
    ASSERT_EQ(saved.size(), 19u) << "the whole profile";
    EXPECT_EQ(saved.substr(0, 4), std::string("\x03"
                                              "Ann"));
    EXPECT_EQ(static_cast<int>(saved[4]), reached);
    EXPECT_EQ(static_cast<int>(saved[6]), 10);  // the Easel slot count
    EXPECT_EQ(ScoreOf(saved), score);
  }
}

}  // namespace
}  // namespace qm::e2e
