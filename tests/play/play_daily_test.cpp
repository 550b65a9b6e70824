// The daily level: made off the game thread, the same level and the same Pieces for every
// player on the same day (two homes), whatever the drawing's random numbers did; its share
// line on the desktop clipboard.
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/EndOfLevel.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/Render.hpp"
#include "game/play/SavedLevel.hpp"
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
  // Player 3, "Ana", with records kept, starts the daily of 2026-12-11 on that day.
  void StartTodaysDaily() {
    SetUtcDateForTests(20261211);
    game.players.speakerNames[0] = "Ana";
    MapGameFolder("players", folder_.Path("players"));
    ChooseRecords(game, 3);
    game.menu.levelIdentity = DailyIdentity(20261211);
    WaitUntilReady(game.menu.levelIdentity);
    StartLevel(game);
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
  StartTodaysDaily();
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
  StartTodaysDaily();
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

// ---- Continuing a generated level -----------------------------------------------------------

// The maker's knobs for the tests below: a gate the level waits behind (the list shows before
// it is made), bytes that came out otherwise, a maker that fails.
std::atomic<bool> gMakerOpen{true};
std::atomic<bool> gMakerOtherwise{false};

bool GatedLevel(const LevelIdentity& identity, std::string& bytes) {
  for (int k = 0; k < 4000 && !gMakerOpen; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!SeededLevel(identity, bytes)) return false;
  if (gMakerOtherwise) bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
  return true;
}

struct Played {
  std::array<int16_t, 21> slots{};
  int64_t score = 0;
  int32_t moves = 0;
  int bag = 0;
};

class ContinueGenerated : public PlayDaily {
 protected:
  void SetUp() override {
    PlayDaily::SetUp();
    gMakerOpen = true;
    gMakerOtherwise = false;
    SetLevelMaker(GatedLevel, 77);
    SetUtcDateForTests(20261211);
  }
  void TearDown() override {
    gMakerOpen = true;
    SetUtcDateForTests(0);
    PlayDaily::TearDown();
  }

  // A new session of player "Ana" (profile 1): its own game state, drawing numbers of its own,
  // the generated levels made again.
  void NewSession(int drawingNumbers) {
    WaitForLevelSaves();
    ForgetPreparedLevels();
    game = GameState{};
    game.program.screenWidth = ScreenWidth();
    game.program.screenHeight = ScreenHeight();
    game.program.windowId = MainWindowId();
    MapGameFolder("players", folder_.Path("home/players"));
    std::filesystem::create_directories(folder_.Path("home/players"));
    game.menu.selectedProfile = 1;
    game.menu.name[1] = "Ana";
    game.players.speakerNames[0] = "Ana";
    game.players.levelsReached[0] = 45;
    ChooseRecords(game, 1);
    BuildPieceTables(game.easel);
    game.easel.carriedSlotCount = 8;
    game.program.musicTrack = -1;
    SeedRandom(static_cast<uint32_t>(drawingNumbers));
    for (int k = 0; k < drawingNumbers; ++k) RandomUpTo(1000);
  }
  std::string SavePath() const { return folder_.Path("home/saves/1"); }

  void Choose(const LevelIdentity& id, bool continueSaved) {
    game.menu.levelIdentity = id;
    game.menu.currentLevel = PlaysAsLevel(id);
    game.menu.continueSaved = continueSaved;
  }

  // Move k: the Pieces of slots 1 and 2 on the two Cells k * 2 + 6 and k * 2 + 7 of the start
  // box's row, worth 10 * k points; accepted and saved as a validation does.
  Played PlayMove(int k) {
    EXPECT_TRUE(LayPiece(game, 1, 6 + 2 * k, 5));
    EXPECT_TRUE(LayPiece(game, 2, 7 + 2 * k, 5));
    game.move.moveTotal = 10 * k;
    AcceptMove(game);
    NoteMoveAccepted(game);
    SaveAfterValidation(game);
    for (int i = 0; i < 40; ++i) RandomUpTo(1000);  // the drawing between moves
    return Now();
  }
  Played Now() const {
    return Played{game.easel.slots, game.players.scores[0], game.records.tally.moves,
                  game.easel.bag[0]};
  }
};

bool operator==(const Played& a, const Played& b) {
  return a.slots == b.slots && a.score == b.score && a.moves == b.moves && a.bag == b.bag;
}

TEST_F(ContinueGenerated, ALevelLeftAndContinuedDealsAsIfNeverLeft) {
  for (const bool daily : {true, false}) {
    SCOPED_TRACE(daily ? "the daily" : "an endless level");
    auto level = [daily] { return daily ? DailyIdentity(20261211) : EndlessIdentity("Ana", 2); };
    // The uninterrupted session: three moves.
    NewSession(3);
    WaitUntilReady(level());
    Choose(level(), false);
    ASSERT_EQ(StartLevel(game), Screen::kRunLevel);
    std::vector<Played> uninterrupted;
    for (int k = 1; k <= 3; ++k) {
      uninterrupted.push_back(PlayMove(k));
      WaitForLevelSaves();
      if (k == 2) WriteFile(folder_.Path("after-two"), ReadFileBytes(SavePath()));
    }
    EXPECT_NE(uninterrupted[1].slots, uninterrupted[2].slots);

    // Left after move 2; a new session finds the row, but offers continue only once the
    // generator has made the level again.
    NewSession(250);
    WriteFile(SavePath(), ReadFileBytes(folder_.Path("after-two")));
    gMakerOpen = false;
    std::string why = "?";
    std::optional<ContinuableSave> saved = ContinuableLevel(game, {level()}, &why);
    ASSERT_TRUE(saved.has_value()) << why;
    EXPECT_EQ(why, "");
    RequestLevel(level());
    EXPECT_FALSE(OffersContinue(saved, level(), &why)) << "offered before the level is made";
    EXPECT_TRUE(saved.has_value());
    gMakerOpen = true;
    WaitUntilReady(level());
    EXPECT_TRUE(OffersContinue(saved, level(), &why));
    EXPECT_FALSE(OffersContinue(saved, DailyIdentity(20261212), &why));
    Choose(level(), true);
    ASSERT_EQ(StartLevel(game), Screen::kRunLevel);
    EXPECT_TRUE(game.menu.levelIdentity == level());
    EXPECT_TRUE(Now() == uninterrupted[1]) << "not where the player left";
    EXPECT_TRUE(PlayMove(3) == uninterrupted[2]) << "the Pieces dealt after continuing differ";
  }
}

TEST_F(ContinueGenerated, AContinuedDailyCountsOnceForTheDayItWasStarted) {
  NewSession(3);
  WaitUntilReady(DailyIdentity(20261211));
  Choose(DailyIdentity(20261211), false);
  StartLevel(game);
  PlayMove(1);
  WaitForLevelSaves();
  // Continued past midnight UTC (the day played with --daily), then won.
  SetUtcDateForTests(20261212);
  NewSession(9);
  WaitUntilReady(DailyIdentity(20261211));
  Choose(DailyIdentity(20261211), true);
  StartLevel(game);
  EXPECT_EQ(game.records.tally.startedOn, 20261211);
  PlayMove(2);
  game.play.endTick = TickCount();  // the move reached the box Fin
  SaveAfterValidation(game);
  ComposeResultPanel(game, true);
  ComposeResultPanel(game, false);
  const PlayerRecords& r = game.records.records;
  ASSERT_EQ(r.dailies.size(), 1u);
  EXPECT_EQ(r.dailies[0].day, 20261211);
  EXPECT_EQ(r.dailies[0].moves, 2);
  EXPECT_EQ(r.dailies[0].points, 30);
  EXPECT_EQ(r.levelsWon, 1);
  EXPECT_EQ(r.streak.current, 1) << "not counted for the day it was started";
  EXPECT_EQ(r.streak.lastDay, 20261211);
  EXPECT_EQ(game.records.shareLine,
            "Quillmosaica daily 2026-12-11: Lv.+1, 30 pts in 2 moves, 0 hints");
  // The level's end took its save away: nothing to continue, nothing to count again.
  WaitForLevelSaves();
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
}

TEST_F(ContinueGenerated, ASaveOfAnotherDayVersionOrLevelIsNotContinued) {
  // The saves: today's daily and endless level 2, each after one move.
  std::string dailySave, endlessSave;
  for (std::string* save : {&dailySave, &endlessSave}) {
    NewSession(3);
    const LevelIdentity id =
        save == &dailySave ? DailyIdentity(20261211) : EndlessIdentity("Ana", 2);
    WaitUntilReady(id);
    Choose(id, false);
    StartLevel(game);
    PlayMove(1);
    WaitForLevelSaves();
    *save = ReadFileBytes(SavePath());
  }
  enum class Maker { kSame, kVersion78, kOtherwise, kFails, kNone };
  struct Case {
    const char* what;
    const std::string& bytes;
    Maker maker;
    std::function<LevelIdentity()> offered;
    const char* listWhy;  // said when the list is shown
    const char* rowWhy;   // said once the level is made; both empty: continued
  };
  const Case cases[] = {
      {"today's daily", dailySave, Maker::kSame, [] { return DailyIdentity(20261211); }, "", ""},
      {"yesterday's daily", dailySave, Maker::kSame, [] { return DailyIdentity(20261212); },
       "it is the daily of another day", ""},
      {"a daily of an older generator", dailySave, Maker::kVersion78,
       [] { return DailyIdentity(20261211); },
       "it was made by another version of the level generator", ""},
      {"a daily made otherwise now", dailySave, Maker::kOtherwise,
       [] { return DailyIdentity(20261211); }, "", "its level has changed"},
      {"a daily the generator cannot make", dailySave, Maker::kFails,
       [] { return DailyIdentity(20261211); }, "", "its level could not be made"},
      {"the same endless level", endlessSave, Maker::kSame,
       [] { return EndlessIdentity("Ana", 2); }, "", ""},
      {"another endless level", endlessSave, Maker::kSame, [] { return EndlessIdentity("Ana", 3); },
       "it is for another endless level", ""},
      {"an endless level with no endless row", endlessSave, Maker::kSame,
       [] { return DailyIdentity(20261211); }, "it is for another endless level", ""},
      {"a daily where no generator is", dailySave, Maker::kNone,
       [] { return DailyIdentity(20261211); }, "this build has no level generator", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NewSession(5);
    switch (c.maker) {
      case Maker::kSame:
        SetLevelMaker(GatedLevel, 77);
        break;
      case Maker::kVersion78:
        SetLevelMaker(GatedLevel, 78);
        break;
      case Maker::kOtherwise:
        SetLevelMaker(GatedLevel, 77);
        gMakerOtherwise = true;
        break;
      case Maker::kFails:
        SetLevelMaker([](const LevelIdentity&, std::string&) { return false; }, 77);
        break;
      case Maker::kNone:
        SetLevelMaker(nullptr, 0);
        break;
    }
    std::filesystem::remove(SavePath() + ".bad");
    WriteFile(SavePath(), c.bytes);
    const LevelIdentity offered = c.offered();
    std::string why = "?";
    std::optional<ContinuableSave> saved = ContinuableLevel(game, {offered}, &why);
    EXPECT_EQ(why, c.listWhy);
    EXPECT_EQ(saved.has_value(), std::string(c.listWhy).empty());
    if (saved) {
      RequestLevel(offered);
      for (int k = 0; k < 500 && LevelPreparation(offered) == Preparation::kPreparing; ++k)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      why.clear();
      EXPECT_EQ(OffersContinue(saved, offered, &why), std::string(c.rowWhy).empty());
      EXPECT_EQ(why, c.rowWhy);
    }
    const bool refused = !std::string(c.listWhy).empty() || !std::string(c.rowWhy).empty();
    EXPECT_EQ(std::filesystem::exists(SavePath() + ".bad"), refused)
        << "a refused save is set aside";
    gMakerOtherwise = false;
  }
  SetLevelMaker(GatedLevel, 77);
}

TEST_F(ContinueGenerated, ShiftOnTheRowStartsTheLevelAfresh) {
  NewSession(3);
  WaitUntilReady(DailyIdentity(20261211));
  Choose(DailyIdentity(20261211), false);
  StartLevel(game);
  const Played fresh = Now();
  PlayMove(1);
  WaitForLevelSaves();
  NewSession(4);
  WaitUntilReady(DailyIdentity(20261211));
  std::optional<ContinuableSave> saved = ContinuableLevel(game, {DailyIdentity(20261211)}, nullptr);
  ASSERT_TRUE(OffersContinue(saved, DailyIdentity(20261211), nullptr));
  Key(kKeyLeftShift, true);
  ReadKeyboard();
  EXPECT_FALSE(ChoosesContinue(true));
  Key(kKeyLeftShift, false);
  ReadKeyboard();
  EXPECT_TRUE(ChoosesContinue(true));
  EXPECT_FALSE(ChoosesContinue(false));
  Choose(DailyIdentity(20261211), false);  // what Shift chose
  StartLevel(game);
  EXPECT_TRUE(Now() == fresh) << "a fresh start deals the level's first Easel again";
}

TEST(ShareLine, CountsSayOneMoveAndOneHint) {
  const struct {
    int32_t moves, hints;
    const char* tail;
  } cases[] = {
      {0, 0, "0 moves, 0 hints"}, {1, 1, "1 move, 1 hint"},  {2, 2, "2 moves, 2 hints"},
      {1, 0, "1 move, 0 hints"},  {0, 1, "0 moves, 1 hint"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShareLine(20261211, "Lv.+1", 412, c.moves, c.hints),
              std::string("Quillmosaica daily 2026-12-11: Lv.+1, 412 pts in ") + c.tail);
  }
}

}  // namespace
}  // namespace qm::test
