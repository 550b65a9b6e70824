#include "game/rules/Records.hpp"

#include <algorithm>
#include <filesystem>

#include "engine/Clock.hpp"
#include "engine/SealedFile.hpp"
#include "engine/Text.hpp"
#include "engine/UserFiles.hpp"

namespace qm {
namespace {

const std::string kFormatName = "QMRECORD";
constexpr uint32_t kVersion = 1;
constexpr size_t kMaxText = 255;

// A count within its range; out of it, the whole read fails.
int32_t Count(ByteReader& in, int32_t lowest, int32_t highest) {
  const int32_t v = in.I32();
  if (v < lowest || v > highest) in.Fail();
  return v;
}

bool IsLeapYear(int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int64_t y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

std::string Plural(int64_t n, const std::string& word) {
  return DecimalText(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

bool IsValidDate(int32_t yyyymmdd) {
  const int32_t y = yyyymmdd / 10000, m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
  return y >= 1970 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

int64_t DayNumber(int32_t yyyymmdd) {
  // Days from civil (Howard Hinnant's algorithm), integers only.
  int64_t y = yyyymmdd / 10000;
  const int64_t m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
  y -= m <= 2;
  const int64_t era = y / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::string DateText(int32_t yyyymmdd) {
  auto two = [](int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
  };
  return DecimalText(yyyymmdd / 10000) + "-" + two(yyyymmdd / 100 % 100) + "-" +
         two(yyyymmdd % 100);
}

bool ParseDateText(const std::string& text, int32_t& yyyymmdd) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  int32_t v = 0;
  for (size_t k = 0; k < text.size(); ++k) {
    if (k == 4 || k == 7) continue;
    if (text[k] < '0' || text[k] > '9') return false;
    v = v * 10 + (text[k] - '0');
  }
  if (!IsValidDate(v)) return false;
  yyyymmdd = v;
  return true;
}

StreakState NextStreak(StreakState streak, int32_t day, int32_t startedOn, bool won) {
  if (!IsValidDate(day) || day != startedOn) return streak;  // a day caught up later
  if (streak.lastDay != 0 && IsValidDate(streak.lastDay) &&
      DayNumber(day) <= DayNumber(streak.lastDay))
    return streak;  // that day already counted, or the clock went back
  const bool next = streak.lastDay != 0 && IsValidDate(streak.lastDay) &&
                    DayNumber(day) == DayNumber(streak.lastDay) + 1;
  streak.current = won ? (next ? streak.current + 1 : 1) : 0;
  streak.best = std::max(streak.best, streak.current);
  streak.lastDay = day;
  return streak;
}

std::string EncodeRecords(const PlayerRecords& r) {
  ByteWriter out;
  out.Text(r.playerName, kMaxText);
  out.Text(r.bestWord, kMaxText);
  out.I64(r.bestPoints);
  out.Text(r.bestLevel, kMaxText);
  out.Text(r.longestWord, kMaxText);
  out.I64(r.wordsAccepted);
  out.I64(r.levelsWon);
  out.I64(r.hintsUsed);
  out.I32(r.endlessReached);
  out.I32(r.streak.current);
  out.I32(r.streak.best);
  out.I32(r.streak.lastDay);
  const size_t first =
      r.dailies.size() > kMaxDailyResults ? r.dailies.size() - kMaxDailyResults : 0;
  out.U32(static_cast<uint32_t>(r.dailies.size() - first));
  for (size_t k = first; k < r.dailies.size(); ++k) {
    const DailyResult& d = r.dailies[k];
    out.I32(d.day);
    out.U8(d.won ? 1 : 0);
    out.I64(d.points);
    out.I32(d.moves);
    out.I32(d.hints);
  }
  return Seal(kFormatName, kVersion, out.bytes());
}

bool DecodeRecords(const std::string& bytes, PlayerRecords& records) {
  if (Unseal(bytes, kFormatName, kVersion, kMaxRecordsBytes) != Unsealed::kWhole) return false;
  ByteReader in(bytes, kSealHeaderBytes);
  PlayerRecords r;
  r.playerName = in.Text(kMaxText);
  r.bestWord = in.Text(kMaxText);
  r.bestPoints = in.I64();
  r.bestLevel = in.Text(kMaxText);
  r.longestWord = in.Text(kMaxText);
  r.wordsAccepted = in.I64();
  r.levelsWon = in.I64();
  r.hintsUsed = in.I64();
  constexpr int32_t kMost = 0x7FFFFFFF;
  r.endlessReached = Count(in, 0, kMost);
  r.streak.current = Count(in, 0, kMost);
  r.streak.best = Count(in, r.streak.current, kMost);
  r.streak.lastDay = Count(in, 0, 99991231);
  if (r.streak.lastDay != 0 && !IsValidDate(r.streak.lastDay)) return false;
  const int32_t count = Count(in, 0, kMaxDailyResults);
  if (!in.ok()) return false;
  r.dailies.reserve(static_cast<size_t>(count));
  for (int32_t k = 0; k < count && in.ok(); ++k) {
    DailyResult d;
    d.day = Count(in, 0, 99991231);
    const uint32_t won = in.U8();
    d.won = won == 1;
    d.points = in.I64();
    d.moves = Count(in, 0, kMost);
    d.hints = Count(in, 0, kMost);
    // One result per day, oldest first.
    if (won > 1 || !IsValidDate(d.day) || (!r.dailies.empty() && r.dailies.back().day >= d.day))
      return false;
    r.dailies.push_back(d);
  }
  if (!in.AtEnd()) return false;
  if (r.wordsAccepted < 0 || r.levelsWon < 0 || r.hintsUsed < 0) return false;
  records = std::move(r);
  return true;
}

RecordsLoad LoadRecords(int n, const std::string& name, PlayerRecords& records) {
  records = PlayerRecords{};
  records.playerName = name.substr(0, kMaxText);
  const std::string path = UserFilePath("records", n);
  std::string bytes;
  if (!ReadUserFile(path, bytes, kMaxRecordsBytes)) {
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ignored)))
      return RecordsLoad::kNew;
    // Too large, unreadable or not a plain file: kept aside as any damaged file is.
    SetAsideUserFile(path);
    return RecordsLoad::kSetAside;
  }
  PlayerRecords read;
  // A new player on a freed profile number does not inherit the old player's records.
  if (!DecodeRecords(bytes, read) || read.playerName != records.playerName) {
    SetAsideUserFile(path);
    return RecordsLoad::kSetAside;
  }
  records = std::move(read);
  return RecordsLoad::kRead;
}

bool SaveRecords(int n, const PlayerRecords& records, std::string* error) {
  return WriteUserFile(UserFilePath("records", n), EncodeRecords(records), error);
}

// ---- The running game ----------------------------------------------------------------------

void ChooseRecords(GameState& game, int profile) {
  game.records = RecordsState{};
  game.records.profile = profile;
  LoadRecords(profile, game.players.speakerNames[0], game.records.records);
}

std::string LevelLabel(const MenuState& menu) {
  const LevelIdentity& id = menu.levelIdentity;
  switch (id.kind) {
    case LevelKind::kDaily:
      return "Daily " + DateText(id.day);
    case LevelKind::kEndless:
      return "Endless " + DecimalText(id.endless);
    case LevelKind::kHandMade:
      break;
  }
  return "Level " + DecimalText(menu.currentLevel);
}

void BeginLevelTally(GameState& game) {
  LevelTally& tally = game.records.tally;
  tally = LevelTally{};
  tally.startScore = game.players.scores[0];
  tally.startedOn = UtcDateNumber();
}

void NoteMoveAccepted(GameState& game) {
  PlayerRecords& r = game.records.records;
  const MoveState& move = game.move;
  ++game.records.tally.moves;
  r.wordsAccepted += static_cast<int64_t>(move.found.size());
  if (!move.mainWord.empty() && (r.bestWord.empty() || move.moveTotal > r.bestPoints)) {
    r.bestWord = move.mainWord.substr(0, kMaxText);
    r.bestPoints = move.moveTotal;
    r.bestLevel = LevelLabel(game.menu);
  }
  for (const FoundWord& word : move.found) {
    if (word.text.size() > r.longestWord.size()) r.longestWord = word.text.substr(0, kMaxText);
  }
}

void NoteHintUsed(GameState& game) {
  ++game.records.records.hintsUsed;
}

void NoteLevelEnded(GameState& game, bool won, const std::string& verdict) {
  RecordsState& state = game.records;
  if (state.tally.reported) return;
  state.tally.reported = true;
  PlayerRecords& r = state.records;
  const LevelIdentity& id = game.menu.levelIdentity;
  const int64_t points = game.players.scores[0] - state.tally.startScore;
  if (won) ++r.levelsWon;
  if (id.kind == LevelKind::kDaily) {
    DailyResult result{id.day, won, points, state.tally.moves, game.hint.used};
    auto at = std::lower_bound(r.dailies.begin(), r.dailies.end(), id.day,
                               [](const DailyResult& d, int32_t day) { return d.day < day; });
    // The first result of a day is the day's; a replay later may still improve a loss.
    if (at == r.dailies.end() || at->day != id.day) {
      r.dailies.insert(at, result);
    } else if (won && !at->won) {
      *at = result;
    }
    r.streak = NextStreak(r.streak, id.day, state.tally.startedOn, won);
    state.shareLine = ShareLine(id.day, verdict, points, state.tally.moves, game.hint.used);
  }
  if (id.kind == LevelKind::kEndless && won)
    r.endlessReached = std::max(r.endlessReached, id.endless + 1);
  SaveChosenRecords(game);
}

bool FirstWin(const GameState& game) {
  const PlayerRecords& r = game.records.records;
  const LevelIdentity& id = game.menu.levelIdentity;
  if (id.kind == LevelKind::kEndless) return r.endlessReached <= id.endless;
  for (const DailyResult& d : r.dailies) {
    if (d.day == id.day) return !d.won;
  }
  return true;
}

void SaveChosenRecords(const GameState& game) {
  if (game.records.profile < 1) return;
  SaveRecords(game.records.profile, game.records.records, nullptr);
}

std::string ShareLine(int32_t day, const std::string& verdict, int64_t points, int32_t moves,
                      int32_t hints) {
  return "Quillmosaica daily " + DateText(day) + ": " + verdict + ", " + DecimalText(points) +
         " pts in " + Plural(moves, "move") + ", " + Plural(hints, "hint");
}

}  // namespace qm
