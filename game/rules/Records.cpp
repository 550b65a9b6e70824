#include "game/rules/Records.hpp"

#include <algorithm>
#include <filesystem>

#include "engine/Clock.hpp"
#include "engine/Text.hpp"
#include "engine/UserFiles.hpp"

namespace qm {
namespace {

const std::string kMagic = "QMRECORDS";
constexpr uint16_t kVersion = 1;
constexpr size_t kMaxText = 255;

uint32_t Checksum(const std::string& bytes, size_t n) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (size_t k = 0; k < n; ++k) {
    h ^= static_cast<uint8_t>(bytes[k]);
    h *= 16777619u;
  }
  return h;
}

void PutUnsigned(std::string& out, uint64_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

void PutText(std::string& out, const std::string& text) {
  const std::string cut = text.substr(0, kMaxText);
  PutUnsigned(out, cut.size(), 1);
  out += cut;
}

// Reads what the writer wrote; any read past the end or out of its range fails the whole.
struct Reader {
  const std::string& bytes;
  size_t pos = 0;
  size_t end = 0;
  bool ok = true;

  uint64_t Unsigned(int n) {
    if (!ok || end - pos < static_cast<size_t>(n)) {
      ok = false;
      return 0;
    }
    uint64_t v = 0;
    for (int k = 0; k < n; ++k) v |= uint64_t{static_cast<uint8_t>(bytes[pos + k])} << (8 * k);
    pos += static_cast<size_t>(n);
    return v;
  }
  int64_t Signed64() { return static_cast<int64_t>(Unsigned(8)); }
  int32_t Count(int32_t lowest, int32_t highest) {
    int32_t v = static_cast<int32_t>(static_cast<uint32_t>(Unsigned(4)));
    if (v < lowest || v > highest) ok = false;
    return v;
  }
  std::string Text() {
    size_t n = static_cast<size_t>(Unsigned(1));
    if (!ok || end - pos < n) {
      ok = false;
      return "";
    }
    std::string text = bytes.substr(pos, n);
    pos += n;
    return text;
  }
};

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
  std::string payload;
  PutText(payload, r.playerName);
  PutText(payload, r.bestWord);
  PutUnsigned(payload, static_cast<uint64_t>(r.bestPoints), 8);
  PutText(payload, r.bestLevel);
  PutText(payload, r.longestWord);
  PutUnsigned(payload, static_cast<uint64_t>(r.wordsAccepted), 8);
  PutUnsigned(payload, static_cast<uint64_t>(r.levelsWon), 8);
  PutUnsigned(payload, static_cast<uint64_t>(r.hintsUsed), 8);
  PutUnsigned(payload, static_cast<uint32_t>(r.endlessReached), 4);
  PutUnsigned(payload, static_cast<uint32_t>(r.streak.current), 4);
  PutUnsigned(payload, static_cast<uint32_t>(r.streak.best), 4);
  PutUnsigned(payload, static_cast<uint32_t>(r.streak.lastDay), 4);
  const size_t first =
      r.dailies.size() > kMaxDailyResults ? r.dailies.size() - kMaxDailyResults : 0;
  PutUnsigned(payload, r.dailies.size() - first, 4);
  for (size_t k = first; k < r.dailies.size(); ++k) {
    const DailyResult& d = r.dailies[k];
    PutUnsigned(payload, static_cast<uint32_t>(d.day), 4);
    PutUnsigned(payload, d.won ? 1 : 0, 1);
    PutUnsigned(payload, static_cast<uint64_t>(d.points), 8);
    PutUnsigned(payload, static_cast<uint32_t>(d.moves), 4);
    PutUnsigned(payload, static_cast<uint32_t>(d.hints), 4);
  }
  std::string out = kMagic;
  PutUnsigned(out, kVersion, 2);
  PutUnsigned(out, payload.size(), 4);
  out += payload;
  PutUnsigned(out, Checksum(out, out.size()), 4);
  return out;
}

bool DecodeRecords(const std::string& bytes, PlayerRecords& records) {
  const size_t head = kMagic.size() + 2 + 4;
  if (bytes.size() < head + 4 || bytes.size() > kMaxRecordsBytes) return false;
  if (bytes.compare(0, kMagic.size(), kMagic) != 0) return false;
  Reader in{bytes, kMagic.size(), bytes.size()};
  if (in.Unsigned(2) != kVersion) return false;
  const uint64_t length = in.Unsigned(4);
  if (length != bytes.size() - head - 4) return false;
  Reader sum{bytes, bytes.size() - 4, bytes.size()};
  if (sum.Unsigned(4) != Checksum(bytes, bytes.size() - 4)) return false;

  in.end = bytes.size() - 4;
  PlayerRecords r;
  r.playerName = in.Text();
  r.bestWord = in.Text();
  r.bestPoints = in.Signed64();
  r.bestLevel = in.Text();
  r.longestWord = in.Text();
  r.wordsAccepted = in.Signed64();
  r.levelsWon = in.Signed64();
  r.hintsUsed = in.Signed64();
  constexpr int32_t kMost = 0x7FFFFFFF;
  r.endlessReached = in.Count(0, kMost);
  r.streak.current = in.Count(0, kMost);
  r.streak.best = in.Count(r.streak.current, kMost);
  r.streak.lastDay = in.Count(0, 99991231);
  if (r.streak.lastDay != 0 && !IsValidDate(r.streak.lastDay)) return false;
  const int32_t count = in.Count(0, kMaxDailyResults);
  if (!in.ok) return false;
  r.dailies.reserve(static_cast<size_t>(count));
  for (int32_t k = 0; k < count && in.ok; ++k) {
    DailyResult d;
    d.day = in.Count(0, 99991231);
    const uint64_t won = in.Unsigned(1);
    d.won = won == 1;
    d.points = in.Signed64();
    d.moves = in.Count(0, kMost);
    d.hints = in.Count(0, kMost);
    // One result per day, oldest first.
    if (won > 1 || !IsValidDate(d.day) || (!r.dailies.empty() && r.dailies.back().day >= d.day))
      return false;
    r.dailies.push_back(d);
  }
  if (!in.ok || in.pos != in.end) return false;
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
