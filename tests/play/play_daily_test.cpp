// The daily level: made off the game thread, the same level and the same Pieces for every
// player on the same day (two homes), whatever the drawing's random numbers did; its share
// line on the desktop clipboard.
#include <chrono>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/EndOfLevel.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/Render.hpp"
#include "game/play/StartLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Effects.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/Records.hpp"
#include "tests/play/play_support.hpp"
#include "tests/support/LevelBytes.hpp"

namespace qm::test {
namespace {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A level that depends on the identity's seed alone: soil, walls where the seed says.
bool SeededLevel(const LevelIdentity& identity, std::string& bytes) {
  LevelBytes level = FilledLevel(15, 11, kSoil);
  uint64_t s = identity.seed;
  for (int r = 0; r <= 11; ++r) {
    for (int c = 0; c <= 15; ++c) {
      s = s * 6364136223846793005ull + 1442695040888963407ull;
      if ((s >> 60) == 0 && r != 5) level.cells[static_cast<size_t>(r) * 16 + c] = kWall;
    }
  }
  level.cells[5 * 16 + 7] = kStartBox;
  level.startColumn = 7;
  level.startRow = 5;
  level.title = "Seeded";
  bytes = level.Encode();
  return true;
}

class PlayDaily : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    SetLevelMaker(SeededLevel, 77);
    oldFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(oldFolder_);
    SetLevelMaker(nullptr, 0);
    MapGameFolder("players", "");
    PlayTest::TearDown();
  }
  // Waits for the worker as the level list would, presenting frames meanwhile.
  void WaitUntilReady(const LevelIdentity& id) {
    RequestLevel(id);
    for (int k = 0; k < 500 && LevelPreparation(id) == Preparation::kPreparing; ++k)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(LevelPreparation(id), Preparation::kReady);
  }

  struct Seen {
    std::vector<int16_t> cells;
    std::string title;
    std::array<int16_t, 21> first{}, second{};
  };

  // Starts the daily of `day` for a player of home `home`, then plays the same first move:
  // the Pieces of slots 1 and 2 on the two Cells right of the start box.
  Seen PlayFirstMove(const std::string& home, int32_t day, int drawingNumbers) {
    game = GameState{};
    game.program.screenWidth = ScreenWidth();
    game.program.screenHeight = ScreenHeight();
    game.program.windowId = MainWindowId();
    MapGameFolder("players", folder_.Path(home + "/players"));
    game.players.speakerNames[0] = home;
    ChooseRecords(game, 1);
    BuildPieceTables(game.easel);
    game.easel.carriedSlotCount = 8;
    game.program.musicTrack = -1;
    // The drawing's numbers (sparkles, drifting objects, frames) differ from player to player.
    for (int k = 0; k < drawingNumbers; ++k) RandomUpTo(1000);
    game.menu.levelIdentity = DailyIdentity(day);
    game.menu.currentLevel = PlaysAsLevel(game.menu.levelIdentity);
    WaitUntilReady(game.menu.levelIdentity);
    EXPECT_EQ(StartLevel(game), Screen::kRunLevel);
    Seen seen;
    seen.cells = game.board.cells;
    seen.title = game.board.title;
    seen.first = game.easel.slots;
    for (int k = 0; k < drawingNumbers; ++k) RandomUpTo(1000);
    EXPECT_TRUE(LayPiece(game, 1, 8, 5));
    EXPECT_TRUE(LayPiece(game, 2, 9, 5));
    AcceptMove(game);
    seen.second = game.easel.slots;
    return seen;
  }

  TempFolder folder_{"qm-play-daily"};
  std::filesystem::path oldFolder_;
};

TEST_F(PlayDaily, SameDayTwoHomesSameLevelSameEasels) {
  const Seen a = PlayFirstMove("home-a", 20261211, 3);
  const Seen b = PlayFirstMove("home-b", 20261211, 250);
  EXPECT_EQ(a.title, "Seeded");
  EXPECT_EQ(a.cells, b.cells);
  EXPECT_EQ(a.first, b.first);
  EXPECT_EQ(a.second, b.second);
  EXPECT_NE(a.first, a.second);

  const Seen other = PlayFirstMove("home-a", 20261212, 3);
  EXPECT_NE(other.cells, a.cells);
  EXPECT_NE(other.first, a.first);
}

TEST_F(PlayDaily, AHandMadeLevelStillDealsFromTheGamesRandomSource) {
  game.menu.levelIdentity = DailyIdentity(20261211);
  WaitUntilReady(game.menu.levelIdentity);
  StartLevel(game);
  EXPECT_TRUE(game.easel.dealStream.has_value());
  game.menu.levelIdentity = LevelIdentity{};
  game.menu.currentLevel = 2;
  SeedRandom(99);
  StartLevel(game);
  EXPECT_FALSE(game.easel.dealStream.has_value());
  const auto seeded = game.easel.slots;
  SeedRandom(99);
  StartLevel(game);
  EXPECT_EQ(game.easel.slots, seeded);
  SeedRandom(100);
  StartLevel(game);
  EXPECT_NE(game.easel.slots, seeded);
}

TEST_F(PlayDaily, TheLevelIdentityNamesTheGeneratorVersion) {
  const LevelIdentity id = DailyIdentity(20261211);
  EXPECT_EQ(id.kind, LevelKind::kDaily);
  EXPECT_EQ(id.generatorVersion, 77u);
  EXPECT_EQ(id.day, 20261211);
  EXPECT_EQ(id.grade, kDailyGrade);
  EXPECT_EQ(DailyIdentity(20261211).seed, id.seed);
  EXPECT_NE(DailyIdentity(20261212).seed, id.seed);
  // A new generator version is another level, never the old day's silently changed.
  SetLevelMaker(SeededLevel, 78);
  EXPECT_FALSE(DailyIdentity(20261211) == id);
  // Endless: each player's own road, the grade rising with N.
  EXPECT_NE(EndlessIdentity("Ana", 3).seed, EndlessIdentity("Bob", 3).seed);
  EXPECT_NE(EndlessIdentity("Ana", 3).seed, EndlessIdentity("Ana", 4).seed);
  EXPECT_LE(EndlessGrade(1), EndlessGrade(6));
  EXPECT_LT(EndlessGrade(1), EndlessGrade(8));
  EXPECT_EQ(EndlessGrade(100), 5);
}

TEST_F(PlayDaily, ALevelTheMakerCannotMakeSaysSo) {
  SetLevelMaker([](const LevelIdentity&, std::string&) { return false; }, 77);
  const LevelIdentity id = DailyIdentity(20261211);
  RequestLevel(id);
  for (int k = 0; k < 500 && LevelPreparation(id) == Preparation::kPreparing; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(LevelPreparation(id), Preparation::kFailed);
  std::string bytes;
  EXPECT_FALSE(PreparedLevel(id, bytes));
}

TEST_F(PlayDaily, TheEndOfTheDailyPutsItsShareLineOnTheClipboardAndTheChat) {
  SetUtcDateForTests(20261211);
  game.players.speakerNames[0] = "Ana";
  MapGameFolder("players", folder_.Path("players"));
  ChooseRecords(game, 3);
  game.menu.levelIdentity = DailyIdentity(20261211);
  WaitUntilReady(game.menu.levelIdentity);
  StartLevel(game);
  game.players.scores[0] += 412;
  game.records.tally.moves = 9;
  game.play.endTick = TickCount();  // the box Fin reached: won
  const uint8_t reached = game.players.levelsReached[0];
  ComposeResultPanel(game, true);
  ComposeResultPanel(game, false);  // composed again: reported once
  const std::string line = "Quillmosaica daily 2026-12-11: Lv.+1, 412 pts in 9 moves, 0 hints";
  EXPECT_EQ(game.play.lastVerdict, "Lv.+1");
  EXPECT_EQ(ClipboardText(), line);
  EXPECT_TRUE(game.records.shareCopied);
  int lines = 0;
  for (const ChatLine& chat : game.chat.chatLog) lines += chat.text == line;
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(game.players.levelsReached[0], reached);  // a daily opens no hand-made level
  EXPECT_EQ(game.records.records.dailies.size(), 1u);
  EXPECT_EQ(game.records.records.levelsWon, 1);
  SetUtcDateForTests(0);
}

// The daily's name in the HUD's level box: inside it, or under it, never past its right side.
TEST_F(PlayDaily, TheDailysNameKeepsInsideTheHudBox) {
  game.players.speakerNames[0] = "Ana";
  game.menu.levelIdentity = DailyIdentity(20261211);
  constexpr int kBoxWidth = 180;  // the box picture's width
  ClearFrame(0);
  GrabScreenToSprite(kScorePanelSprite, 0, 0, kBoxWidth, 28);
  const int width = game.program.screenWidth;
  const int boxLeft = width - 240;
  ClearFrame(0);
  DrawHud(game);
  int inside = 0;
  int outside = 0;
  for (int y = 190; y < 260; ++y) {
    for (int x = boxLeft; x < width; ++x) {
      if (ReadBackPixel(x, y) != 0xDEDE64) continue;  // the level name's colour
      ++(x < boxLeft + kBoxWidth ? inside : outside);
    }
  }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

// The result panel's "copied" note shares no pixel row with an objective line's text.
TEST_F(PlayDaily, TheCopiedNoteKeepsClearOfTheObjectivesOnTheResultPanel) {
  SetUtcDateForTests(20261211);
  game.players.speakerNames[0] = "Ana";
  MapGameFolder("players", folder_.Path("players"));
  ChooseRecords(game, 3);
  game.menu.levelIdentity = DailyIdentity(20261211);
  WaitUntilReady(game.menu.levelIdentity);
  StartLevel(game);
  ASSERT_FALSE(ObjectiveLineTexts(game).empty());
  game.play.endTick = TickCount();
  const int width = SpriteWidthOf(kResultPanelSprite);
  const int height = SpriteHeightOf(kResultPanelSprite);
  auto panelRows = [&](uint32_t colour) {  // the rows of the drawn panel holding the colour
    ClearFrame(0);
    DrawSprite(kResultPanelSprite, 0, 0);
    std::vector<bool> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (ReadBackPixel(x, y) == colour) rows[static_cast<size_t>(y)] = true;
    return rows;
  };
  ComposeResultPanel(game, true);
  ASSERT_TRUE(game.records.shareCopied);
  const std::vector<bool> note = panelRows(0xDCDCDC);        // the note's colour
  const std::vector<bool> objectives = panelRows(0xBEB48C);  // the objective lines' colour
  int noteRows = 0;
  for (int y = 0; y < height; ++y) {
    noteRows += note[static_cast<size_t>(y)];
    EXPECT_FALSE(note[static_cast<size_t>(y)] && objectives[static_cast<size_t>(y)]) << y;
  }
  EXPECT_GT(noteRows, 4);
  SetUtcDateForTests(0);
}

TEST_F(PlayDaily, EscapeAfterTheDailyGoesBackToTheListSavingTheScoreAndTheRecords) {
  SetUtcDateForTests(20261211);
  game.players.speakerNames[0] = "Ana";
  game.menu.selectedProfile = 2;
  MapGameFolder("players", folder_.Path("players"));
  std::filesystem::create_directories(folder_.Path("players"));
  ChooseRecords(game, 2);
  game.menu.levelIdentity = DailyIdentity(20261211);
  WaitUntilReady(game.menu.levelIdentity);
  StartLevel(game);
  game.players.scores[0] = 5000;
  game.play.endTick = TickCount();  // the box Fin reached
  AdvanceVirtualClock(1100);
  ASSERT_FALSE(Pass().has_value());  // the panel is composed
  Key(kKeyEscape, true);
  std::optional<Screen> next = Pass();
  Key(kKeyEscape, false);
  ASSERT_TRUE(next.has_value());
  ASSERT_EQ(*next, Screen::kBackToLevelList);
  EXPECT_EQ(BackToLevelList(game), Screen::kLevelMenu);
  EXPECT_EQ(game.menu.levelIdentity.kind, LevelKind::kHandMade);
  const std::string profile = ReadFileBytes(folder_.Path("players/2"));
  ASSERT_EQ(profile.size(), 3u + 16u);
  EXPECT_EQ(static_cast<uint8_t>(profile[11]) | static_cast<uint8_t>(profile[12]) << 8, 5000);
  PlayerRecords saved;
  EXPECT_EQ(LoadRecords(2, "Ana", saved), RecordsLoad::kRead);
  ASSERT_EQ(saved.dailies.size(), 1u);
  EXPECT_TRUE(saved.dailies[0].won);
  SetUtcDateForTests(0);
}

TEST_F(PlayDaily, ClipboardTextGoesThroughSdl) {
  EXPECT_TRUE(CopyTextToClipboard("caf\xe9 au lait"));
  EXPECT_EQ(ClipboardText(), "caf\xe9 au lait");
}

}  // namespace
}  // namespace qm::test
