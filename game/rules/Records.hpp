#pragma once
// Each player's records (best move, longest word, dailies and their streak, endless road),
// in a file of their own beside the profiles: "records/N" for profile N. The profile files
// never change for them.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"

namespace qm {

constexpr size_t kMaxRecordsBytes = 1 << 20;
constexpr int kMaxDailyResults = 4000;  // more than ten years of days; the oldest go first

// ---- Dates (YYYYMMDD numbers) ---------------------------------------------------------------
bool IsValidDate(int32_t yyyymmdd);
int64_t DayNumber(int32_t yyyymmdd);     // days since 1970-01-01 (valid dates only)
std::string DateText(int32_t yyyymmdd);  // "2026-12-11"
bool ParseDateText(const std::string& text, int32_t& yyyymmdd);  // "2026-12-11" only

// The streak after a daily's result. day is the daily's date, startedOn the UTC date when it
// was started: a daily caught up later (another day's) does not count, one finished past
// midnight counts for its day; a second result of a day, or a day before the last one counted
// (a clock set back), changes nothing; a missed day starts the count again.
StreakState NextStreak(StreakState streak, int32_t day, int32_t startedOn, bool won);

// ---- The file -------------------------------------------------------------------------------
std::string EncodeRecords(const PlayerRecords& records);
// False, leaving records untouched, for anything but a whole, checked file of this version.
bool DecodeRecords(const std::string& bytes, PlayerRecords& records);

enum class RecordsLoad { kRead, kNew, kSetAside };
// Records of profile n for the player named name: a missing file gives fresh records, a
// damaged one or another player's is set aside (renamed) and fresh records replace it.
RecordsLoad LoadRecords(int n, const std::string& name, PlayerRecords& records);
bool SaveRecords(int n, const PlayerRecords& records, std::string* error);

// ---- The running game -------------------------------------------------------------------------
// The chosen player's records, read when the player is chosen.
void ChooseRecords(GameState& game, int profile);
// The label of the level being played: "Level 3", "Daily 2026-12-11", "Endless 2".
std::string LevelLabel(const MenuState& menu);
// A level starts: its tally begins.
void BeginLevelTally(GameState& game);
// A move the rules accepted (game.move holds it).
void NoteMoveAccepted(GameState& game);
void NoteHintUsed(GameState& game);
// The level ended (won or not): counted once, however often its panel is composed; the
// records are written. A daily's share line is made here.
void NoteLevelEnded(GameState& game, bool won, const std::string& verdict);
// A generated level won for the first time (its day's daily, or that endless level)?
bool FirstWin(const GameState& game);
// Writes the chosen player's records (leaving a level, closing the window).
void SaveChosenRecords(const GameState& game);

// The daily's share line: no word of the level in it.
std::string ShareLine(int32_t day, const std::string& verdict, int64_t points, int32_t moves,
                      int32_t hints);

}  // namespace qm
