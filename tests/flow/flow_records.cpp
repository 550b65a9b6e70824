// A player's records: the file round trip, the daily streak, dates, the share line, and the
// results of a level reaching the records once.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/flow/RecordsScreen.hpp"
#include "game/rules/Records.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm {
namespace {

PlayerRecords SampleRecords() {
  PlayerRecords r;
  r.playerName = "Ana\xe9";
  r.bestWord = "QUARTZ";
  r.bestPoints = int64_t{1} << 40;
  r.bestLevel = "Daily 2026-12-11";
  r.longestWord = "HEXAGONAL";
  r.wordsAccepted = 321;
  r.levelsWon = 12;
  r.hintsUsed = 4;
  r.endlessReached = 3;
  r.streak = StreakState{2, 5, 20261211};
  r.dailies = {
      {20261209, false, -20, 4, 1}, {20261210, true, 300, 8, 0}, {20261211, true, 412, 9, 0}};
  return r;
}

void ExpectSame(const PlayerRecords& a, const PlayerRecords& b) {
  EXPECT_EQ(EncodeRecords(a), EncodeRecords(b));
  EXPECT_EQ(a.playerName, b.playerName);
  EXPECT_EQ(a.bestPoints, b.bestPoints);
  ASSERT_EQ(a.dailies.size(), b.dailies.size());
  for (size_t k = 0; k < a.dailies.size(); ++k) {
    EXPECT_EQ(a.dailies[k].day, b.dailies[k].day);
    EXPECT_EQ(a.dailies[k].won, b.dailies[k].won);
    EXPECT_EQ(a.dailies[k].points, b.dailies[k].points);
  }
}

TEST(RecordsFile, ReadsBackWhatWasWritten) {
  const PlayerRecords written = SampleRecords();
  PlayerRecords read;
  ASSERT_TRUE(DecodeRecords(EncodeRecords(written), read));
  ExpectSame(written, read);
  EXPECT_EQ(read.streak.best, 5);
  EXPECT_EQ(read.endlessReached, 3);
}

TEST(RecordsFile, EveryCutAndEveryFlippedByteIsRefused) {
  const std::string bytes = EncodeRecords(SampleRecords());
  PlayerRecords read;
  for (size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(DecodeRecords(bytes.substr(0, n), read)) << "cut at " << n;
    std::string flipped = bytes;
    flipped[n] = static_cast<char>(flipped[n] ^ 0x10);
    EXPECT_FALSE(DecodeRecords(flipped, read)) << "byte " << n << " flipped";
  }
  EXPECT_FALSE(DecodeRecords(bytes + "x", read));
  EXPECT_EQ(read.playerName, "");  // a refused file leaves the records as they were
}

TEST(RecordsFile, OnlyTheNewestDailiesAreKept) {
  PlayerRecords many;
  many.playerName = "P";
  int32_t day = 20000101;
  for (int k = 0; k < kMaxDailyResults + 5; ++k) {
    // The next calendar day (the records keep their days strictly increasing).
    do {
      ++day;
      if (day % 100 > 31) day = day - day % 100 + 100 + 1;
      if (day / 100 % 100 > 12) day = (day / 10000 + 1) * 10000 + 101;
    } while (!IsValidDate(day));
    many.dailies.push_back(DailyResult{day, true, k, 1, 0});
  }
  EXPECT_EQ(DayNumber(many.dailies.back().day) - DayNumber(many.dailies.front().day),
            kMaxDailyResults + 4);
  PlayerRecords read;
  ASSERT_TRUE(DecodeRecords(EncodeRecords(many), read));
  ASSERT_EQ(read.dailies.size(), static_cast<size_t>(kMaxDailyResults));
  EXPECT_EQ(read.dailies.front().points, 5);
  EXPECT_EQ(read.dailies.back().day, many.dailies.back().day);
}

TEST(Dates, TextDayNumbersAndParsing) {
  EXPECT_EQ(DateText(20261211), "2026-12-11");
  EXPECT_EQ(DateText(20260101), "2026-01-01");
  EXPECT_EQ(DayNumber(19700101), 0);
  EXPECT_EQ(DayNumber(20000301) - DayNumber(20000228), 2);  // 2000 is a leap year
  EXPECT_EQ(DayNumber(21000301) - DayNumber(21000228), 1);  // 2100 is not
  EXPECT_EQ(DayNumber(20270101) - DayNumber(20261231), 1);
  struct Case {
    const char* text;
    int32_t day;  // 0: refused
  };
  const Case cases[] = {
      {"2026-12-11", 20261211}, {"2024-02-29", 20240229}, {"2023-02-29", 0}, {"2026-13-01", 0},
      {"2026-00-10", 0},        {"2026-1-11", 0},         {"2026/12/11", 0}, {"20261211", 0},
      {"1969-12-31", 0},        {"2026-12-1x", 0},        {"", 0},           {"2026-12-11 ", 0}};
  for (const Case& c : cases) {
    int32_t day = 0;
    EXPECT_EQ(ParseDateText(c.text, day), c.day != 0) << c.text;
    if (c.day != 0) {
      EXPECT_EQ(day, c.day) << c.text;
    }
  }
}

TEST(DailyStreak, Table) {
  struct Step {
    int32_t day, startedOn;
    bool won;
    int32_t current, best;  // after the step
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"three days in a row",
       {{20261209, 20261209, true, 1, 1},
        {20261210, 20261210, true, 2, 2},
        {20261211, 20261211, true, 3, 3}}},
      {"across a month and a year",
       {{20261231, 20261231, true, 1, 1},
        {20270101, 20270101, true, 2, 2},
        {20270131, 20270131, true, 1, 2},
        {20270201, 20270201, true, 2, 2}}},
      {"a day missed starts again",
       {{20261208, 20261208, true, 1, 1},
        {20261209, 20261209, true, 2, 2},
        {20261211, 20261211, true, 1, 2}}},
      {"a day lost breaks it",
       {{20261209, 20261209, true, 1, 1},
        {20261210, 20261210, false, 0, 1},
        {20261211, 20261211, true, 1, 1}}},
      {"two results on one day count once",
       {{20261210, 20261210, true, 1, 1},
        {20261210, 20261210, true, 1, 1},
        {20261210, 20261210, false, 1, 1},
        {20261211, 20261211, true, 2, 2}}},
      {"a clock set back changes nothing",
       {{20261210, 20261210, true, 1, 1},
        {20261211, 20261211, true, 2, 2},
        {20261205, 20261205, true, 2, 2},
        {20261212, 20261212, true, 3, 3}}},
      {"a day caught up later does not count",
       {{20261209, 20261209, true, 1, 1},
        {20261210, 20261212, true, 1, 1},
        {20261211, 20261211, false, 0, 1}}},
      {"an invalid day does not count", {{20261310, 20261310, true, 0, 0}, {0, 0, true, 0, 0}}},
  };
  for (const Case& c : cases) {
    StreakState s;
    int k = 0;
    for (const Step& step : c.steps) {
      s = NextStreak(s, step.day, step.startedOn, step.won);
      EXPECT_EQ(s.current, step.current) << c.name << ", step " << k;
      EXPECT_EQ(s.best, step.best) << c.name << ", step " << k;
      ++k;
    }
  }
}

TEST(ShareLine, ExactTextWithoutTheLevelsWords) {
  EXPECT_EQ(ShareLine(20261211, "Lv.+1", 412, 9, 0),
            "Quillmosaica daily 2026-12-11: Lv.+1, 412 pts in 9 moves, 0 hints");
  EXPECT_EQ(ShareLine(20260105, "Echec", 0, 1, 1),
            "Quillmosaica daily 2026-01-05: Echec, 0 pts in 1 move, 1 hint");
}

class RecordsInGame : public ::testing::Test {
 protected:
  void SetUp() override {
    MapGameFolder("players", temp_.Path("players"));
    game_ = std::make_unique<GameState>();
    game_->players.speakerNames[0] = "Ana";
    ChooseRecords(*game_, 4);
    SetUtcDateForTests(20261211);
  }
  void TearDown() override {
    SetUtcDateForTests(0);
    MapGameFolder("players", "");
  }
  void PlayDaily(int32_t day, int64_t points, int moves, bool won, const std::string& verdict) {
    game_->menu.levelIdentity = LevelIdentity{};
    game_->menu.levelIdentity.kind = LevelKind::kDaily;
    game_->menu.levelIdentity.day = day;
    BeginLevelTally(*game_);
    for (int k = 0; k < moves; ++k) {
      game_->move.found = {FoundWord{"TEA", 0, 0}};
      game_->move.mainWord = "TEA";
      game_->move.moveTotal = points / moves;
      NoteMoveAccepted(*game_);
      game_->players.scores[0] += points / moves;
    }
    // The panel composed twice (the window came back): counted once.
    NoteLevelEnded(*game_, won, verdict);
    NoteLevelEnded(*game_, won, verdict);
  }
  test::TempFolder temp_;
  std::unique_ptr<GameState> game_;
};

TEST_F(RecordsInGame, ALevelsResultReachesTheRecordsOnceAndIsWritten) {
  PlayDaily(20261211, 412, 4, true, "Lv.+1");
  const PlayerRecords& r = game_->records.records;
  EXPECT_EQ(r.levelsWon, 1);
  EXPECT_EQ(r.wordsAccepted, 4);
  ASSERT_EQ(r.dailies.size(), 1u);
  EXPECT_EQ(r.dailies[0].points, 412);
  EXPECT_EQ(r.dailies[0].moves, 4);
  EXPECT_EQ(r.streak.current, 1);
  EXPECT_EQ(game_->records.shareLine,
            "Quillmosaica daily 2026-12-11: Lv.+1, 412 pts in 4 moves, 0 hints");
  EXPECT_EQ(r.bestLevel, "Daily 2026-12-11");

  PlayerRecords onDisk;
  EXPECT_EQ(LoadRecords(4, "Ana", onDisk), RecordsLoad::kRead);
  ExpectSame(onDisk, r);
  EXPECT_FALSE(FirstWin(*game_));  // the same day again is "Good"
}

TEST_F(RecordsInGame, ADailyFinishedPastMidnightCountsForTheDayItWasStarted) {
  SetUtcDateForTests(20261210);
  PlayDaily(20261210, 100, 2, true, "Lv.+1");
  game_->menu.levelIdentity.day = 20261211;
  SetUtcDateForTests(20261211);
  BeginLevelTally(*game_);  // started on the 11th ...
  SetUtcDateForTests(20261212);
  NoteLevelEnded(*game_, true, "Lv.+1");  // ... ended on the 12th
  EXPECT_EQ(game_->records.records.streak.current, 2);
  EXPECT_EQ(game_->records.records.streak.lastDay, 20261211);
  EXPECT_EQ(game_->records.records.dailies.back().day, 20261211);
}

TEST_F(RecordsInGame, ACaughtUpDayIsRecordedButLeavesTheStreak) {
  PlayDaily(20261205, 100, 2, true, "Lv.+1");
  const PlayerRecords& r = game_->records.records;
  ASSERT_EQ(r.dailies.size(), 1u);
  EXPECT_EQ(r.dailies[0].day, 20261205);
  EXPECT_EQ(r.streak.current, 0);
  // A lost day played again and won keeps the win; a win is never replaced by a loss.
  PlayDaily(20261211, 50, 1, false, "Echec");
  PlayDaily(20261211, 80, 2, true, "Lv.+1");
  PlayDaily(20261211, 10, 1, false, "Echec");
  ASSERT_EQ(r.dailies.size(), 2u);
  EXPECT_TRUE(r.dailies[1].won);
  EXPECT_EQ(r.dailies[1].points, 80);
  EXPECT_EQ(r.streak.current, 0);  // the first result of the day was the loss
}

TEST_F(RecordsInGame, AnotherPlayersRecordsAreSetAsideNotInherited) {
  PlayDaily(20261211, 412, 4, true, "Lv.+1");
  PlayerRecords read;
  EXPECT_EQ(LoadRecords(4, "Bob", read), RecordsLoad::kSetAside);
  EXPECT_EQ(read.playerName, "Bob");
  EXPECT_TRUE(read.dailies.empty());
  EXPECT_TRUE(std::filesystem::exists(temp_.Path("records/4.bad")));
}

TEST(RecordsScreenLines, ShowEveryRecordNewestDailyFirst) {
  const std::vector<std::string> lines = RecordsLines(SampleRecords());
  auto has = [&lines](const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
  };
  EXPECT_TRUE(has("Best move : QUARTZ, 1099511627776 pts (Daily 2026-12-11)"));
  EXPECT_TRUE(has("Longest word : HEXAGONAL"));
  EXPECT_TRUE(has("Words accepted : 321"));
  EXPECT_TRUE(has("Levels won : 12"));
  EXPECT_TRUE(has("Hints used : 4"));
  EXPECT_TRUE(has("Daily streak : 2 (best 5)"));
  EXPECT_TRUE(has("Endless level reached : 3"));
  auto at = [&lines](const std::string& prefix) {
    for (size_t k = 0; k < lines.size(); ++k)
      if (lines[k].rfind(prefix, 0) == 0) return k;
    return lines.size();
  };
  EXPECT_EQ(lines[at("2026-12-11")], "2026-12-11 : won, 412 pts in 9 moves, 0 hints");
  EXPECT_LT(at("2026-12-11"), at("2026-12-09"));
}

}  // namespace
}  // namespace qm
