// A level in progress on disk: one versioned, checksummed file per profile slot, written
// on a thread of its own so a save never costs the play loop a frame.
#include "game/play/SavedLevel.hpp"

#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/SealedFile.hpp"
#include "engine/UserFiles.hpp"
#include "game/flow/GraphicsSets.hpp"
#include "game/play/Board.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/play/StartLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

const std::string kFormatName = "QMLEVELS";
constexpr size_t kMaxTextBytes = 4096;
constexpr int kMaxSpeaker = 8;

template <typename T, size_t N>
void PutI16s(ByteWriter& w, const std::array<T, N>& values) {
  for (auto v : values) w.I16(v);
}
template <typename T, size_t N>
void PutI32s(ByteWriter& w, const std::array<T, N>& values) {
  for (auto v : values) w.I32(static_cast<int32_t>(v));
}
template <typename T, size_t N>
void GetI16s(ByteReader& r, std::array<T, N>& values) {
  for (auto& v : values) v = static_cast<T>(r.I16());
}
template <typename T, size_t N>
void GetI32s(ByteReader& r, std::array<T, N>& values) {
  for (auto& v : values) v = static_cast<T>(r.I32());
}

void PutChat(ByteWriter& w, const std::array<ChatLine, 20>& lines) {
  for (const auto& line : lines) {
    w.Text(line.text, kMaxTextBytes);
    w.U8(line.speaker);
    w.I32(line.time);
  }
}

bool GetChat(ByteReader& r, std::array<ChatLine, 20>& lines) {
  for (auto& line : lines) {
    line.text = r.Text(kMaxTextBytes);
    line.speaker = static_cast<uint8_t>(r.U8());
    line.time = r.I32();
    if (line.speaker > kMaxSpeaker) return false;
  }
  return r.ok();
}

bool ValidSlotCode(int code) {
  return code == kEmptySlot || IsPieceCode(code);
}

// ---- The save thread ------------------------------------------------------------------------

struct SaveJob {
  std::string path;
  std::string bytes;
  bool remove = false;
};

// One pending job at most: a newer save replaces one not yet started, as only the latest
// state matters.
class SaveThread {
 public:
  ~SaveThread() {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  void Queue(SaveJob job) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
      pending_ = std::move(job);
    }
    wake_.notify_all();
  }

  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return !pending_ && !busy_; });
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
      if (!pending_) return;  // stopping with nothing left to write
      SaveJob job = std::move(*pending_);
      pending_.reset();
      busy_ = true;
      lock.unlock();
      if (job.remove) {
        ::unlink(job.path.c_str());
      } else {
        WriteUserFile(job.path, job.bytes, nullptr);  // a failed save keeps the last one
      }
      lock.lock();
      busy_ = false;
      done_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::optional<SaveJob> pending_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;
};

// The level's hash taken when the level started (a save after each move reads no file).
struct StartHash {
  bool taken = false;
  LevelIdentity identity;
  uint64_t hash = 0;
} gStartHash;

// The hash of a level's bytes: maps/N, or what the generator made; false when there are none.
bool HashLevel(const LevelIdentity& identity, uint64_t& hash) {
  if (identity.kind == LevelKind::kHandMade) return HashLevelFile(identity.number, hash);
  std::string bytes;
  if (!PreparedLevel(identity, bytes)) return false;
  hash = HashBytes(bytes);
  return true;
}

// The last save queued, to tell whether leaving has anything new to save.
std::optional<SavedLevel> gLastSaved;

SaveThread& Saver() {
  static SaveThread saver;
  return saver;
}

std::string SavePath(const GameState& game) {
  return UserFilePath("saves", game.menu.selectedProfile);
}

const std::string& PlayerName(const GameState& game) {
  return game.menu.name[static_cast<size_t>(game.menu.selectedProfile)];
}

bool HasProfile(const GameState& game) {
  return game.menu.selectedProfile >= 1 && game.menu.selectedProfile <= MenuState::kProfiles;
}

// A generated level's Board against the one the save was played on: why not, or empty;
// `later` when the generator has not made the level yet (nothing can be said then).
std::string CheckGeneratedBoard(const LevelIdentity& identity, uint64_t hash, int w, int h,
                                bool& later) {
  later = false;
  std::string bytes;
  if (!PreparedLevel(identity, bytes)) {
    if (LevelPreparation(identity) == Preparation::kFailed) return "its level could not be made";
    later = true;
    return {};
  }
  if (HashBytes(bytes) != hash) return "its level has changed";
  BoardState fresh;
  ReadLevelBytes(fresh, bytes, 1, 1024, 768);
  if (fresh.w != w || fresh.h != h) return "its Board size does not match";
  return {};
}

// A generated level continues only as one the game offers now: the daily of the same day
// and the same generator, the Master's endless level of the same N.
std::string CheckOffered(const LevelIdentity& saved, const std::vector<LevelIdentity>& offered) {
  if (!LevelMakerAvailable()) return "this build has no level generator";
  const LevelIdentity* same = nullptr;
  for (const LevelIdentity& id : offered) {
    if (id.kind == saved.kind) same = &id;
  }
  const bool daily = saved.kind == LevelKind::kDaily;
  if (same == nullptr || (daily ? same->day != saved.day : same->endless != saved.endless)) {
    return daily ? "it is the daily of another day" : "it is for another endless level";
  }
  if (same->generatorVersion != saved.generatorVersion) {
    return "it was made by another version of the level generator";
  }
  if (!(*same == saved)) return daily ? "it is not that day's daily" : "it is for another road";
  return {};
}

// The checks a save must pass against the game folder and the player: why not, or empty;
// `later` when a generated level's Board is still to be checked.
std::string CheckAgainstGame(const GameState& game, const SavedLevel& saved,
                             const std::vector<LevelIdentity>& offered, bool& later) {
  later = false;
  if (saved.playerName != PlayerName(game)) return "it belongs to another player";
  if (saved.identity.kind != LevelKind::kHandMade) {
    std::string why = CheckOffered(saved.identity, offered);
    if (!why.empty()) return why;
    return CheckGeneratedBoard(saved.identity, saved.levelFileHash, saved.board.w, saved.board.h,
                               later);
  }
  const int level = saved.identity.number;
  if (level < 1 || level > kLevelCount) return "its level number is wrong";
  uint64_t hash = 0;
  if (!HashLevelFile(level, hash)) return "its level file is gone";
  if (hash != saved.levelFileHash) return "its level file has changed";
  BoardState fresh;
  ReadLevelFile(fresh, LevelMapPath(level), 1, 1024, 768);
  if (fresh.w != saved.board.w || fresh.h != saved.board.h) return "its Board size does not match";
  return {};
}

bool ReadSave(const GameState& game, const std::vector<LevelIdentity>& offered, SavedLevel& saved,
              std::string& why, bool& later) {
  std::string bytes;
  const std::string path = SavePath(game);
  later = false;
  if (::access(path.c_str(), F_OK) != 0) return false;  // no save: nothing to say
  if (!ReadUserFile(path, bytes, kMaxSavedLevelBytes)) {
    why = "it cannot be read or is too large";
    return false;
  }
  if (DecodeSavedLevel(bytes, saved, why)) why = CheckAgainstGame(game, saved, offered, later);
  return why.empty();
}

// A save that cannot be continued is never read again, but kept for a bug report.
bool ReadSaveOrSetAside(const GameState& game, const std::vector<LevelIdentity>& offered,
                        SavedLevel& saved, std::string& why, bool& later) {
  if (ReadSave(game, offered, saved, why, later)) return true;
  if (!why.empty()) SetAsideUserFile(SavePath(game));
  return false;
}

}  // namespace

// ---- Snapshot ---------------------------------------------------------------------------------

SavedLevel TakeSavedLevel(const GameState& game, uint32_t now) {
  SavedLevel s;
  s.playerName = HasProfile(game) ? PlayerName(game) : std::string();
  s.identity = game.menu.levelIdentity;
  if (s.identity.kind == LevelKind::kHandMade) {
    s.identity = LevelIdentity{};
    s.identity.number = game.menu.currentLevel;
  }
  if (!gStartHash.taken || !(gStartHash.identity == s.identity)) {
    gStartHash = {true, s.identity, 0};
    HashLevel(s.identity, gStartHash.hash);
  }
  s.levelFileHash = gStartHash.hash;
  s.board = game.board;
  s.slots = game.easel.slots;
  // This turn's Pieces go back to the Easel in the copy, their Cells get back what lay
  // under them, and so does a Piece being carried.
  auto toFreeSlot = [&s](int16_t code) {
    for (int k = 1; k <= s.slots[0] && k <= kMaxEaselSlots; ++k) {
      if (s.slots[k] == kEmptySlot) {
        s.slots[k] = code;
        return;
      }
    }
  };
  for (int k = 1; k <= kMaxLaidPieces; ++k) {
    const LaidPiece& laid = game.easel.laid[k];
    if (laid.column < 0) continue;
    const int16_t code = CellCode(s.board, laid.column, laid.row);
    SetCellCode(s.board, laid.column, laid.row, laid.under);
    if (HoldsPiece(code)) toFreeSlot(code);
  }
  if (game.play.dragState == 1 && HoldsPiece(game.play.carriedCode)) {
    toFreeSlot(game.play.carriedCode);
  }
  const auto& bag = game.easel.bag;
  const int count = bag.empty() ? 0 : std::clamp<int>(bag[0], 0, static_cast<int>(bag.size()) - 1);
  s.bag.assign(bag.begin() + 1, bag.begin() + 1 + count);
  s.valuableChance = game.easel.valuableChance;
  s.score = game.players.scores[0];
  s.effectBonus = game.players.effectBonus[0];
  s.objectives = game.objectives;
  s.tokensSpent = game.play.exchange.spent;
  // A token whose dialog is open is not spent until the exchange is made.
  const int active = game.play.exchange.activeToken;
  if (active >= 1 && active <= 3) s.tokensSpent[static_cast<size_t>(active - 1)] = 0;
  s.chatLog = game.chat.chatLog;
  for (auto& line : s.chatLog)
    line.time = static_cast<int32_t>(now - static_cast<uint32_t>(line.time));
  s.moveHistory = game.chat.moveHistory;
  s.hintsUsed = game.hint.used;
  s.backgroundPicture = game.graphics.backgroundPicture;
  s.tint = game.render.tint;
  s.tint.mark = now - game.render.tint.mark;
  s.layerA = game.render.layerA;
  s.layerB = game.render.layerB;
  s.sparklePhase = game.render.sparklePhase;
  s.sparkleStep = game.render.sparkleStep;
  s.sparkleColumn = game.render.sparkleColumn;
  s.sparkleRow = game.render.sparkleRow;
  s.lastWordColumn = game.render.lastWordColumn;
  s.lastWordRow = game.render.lastWordRow;
  s.speakerColours = game.render.speakerColours;
  s.musicVolume = game.options.musicVolume;
  s.arrangement = game.options.arrangement;
  s.random = CurrentRandomState();
  s.hasDealStream = game.easel.dealStream.has_value();
  if (s.hasDealStream) s.dealStream = game.easel.dealStream->State();
  s.tally = game.records.tally;
  return s;
}

// ---- Format -----------------------------------------------------------------------------------

bool HashLevelFile(int level, uint64_t& hash) {
  std::string bytes;
  // A level file is far smaller than a save; a larger one is not a level the game reads.
  if (!ReadUserFile(HostPath(LevelMapPath(level)), bytes, kMaxSavedLevelBytes)) return false;
  hash = HashBytes(bytes);
  return true;
}

std::string EncodeSavedLevel(const SavedLevel& s) {
  ByteWriter w;
  w.Text(s.playerName, kMaxTextBytes);
  w.U8(static_cast<uint8_t>(s.identity.kind));
  w.I32(s.identity.number);
  w.U32(s.identity.generatorVersion);
  w.I32(s.identity.grade);
  w.U64(s.identity.seed);
  w.I32(s.identity.day);
  w.I32(s.identity.endless);
  w.U64(s.levelFileHash);

  const BoardState& b = s.board;
  w.I16(b.w);
  w.I16(b.h);
  for (int16_t code : b.cells) w.I16(code);
  for (int8_t shade : b.shade) w.I8(shade);
  w.I16(b.startColumn);
  w.I16(b.startRow);
  w.I32(b.shadePeriod);
  PutI32s(w, b.shadeStep);
  PutI32s(w, b.baseTint);
  for (int8_t v : b.objectives) w.I8(v);
  w.Text(b.title, kMaxTextBytes);
  PutI16s(w, b.revealColumn);
  PutI16s(w, b.revealRow);
  w.I32(b.cameraX);
  w.I32(b.cameraY);

  PutI16s(w, s.slots);
  w.U16(static_cast<uint16_t>(s.bag.size()));
  for (int16_t code : s.bag) w.I16(code);
  w.I8(s.valuableChance);
  w.I64(s.score);
  w.I8(s.effectBonus);
  for (int8_t v : s.objectives.progress) w.I8(v);
  PutI16s(w, s.objectives.lineWidths);
  PutI32s(w, s.tokensSpent);
  PutChat(w, s.chatLog);
  PutChat(w, s.moveHistory);
  w.I32(s.hintsUsed);
  w.I8(s.backgroundPicture);
  PutI32s(w, s.tint.value);
  PutI32s(w, s.tint.low);
  PutI32s(w, s.tint.high);
  PutI32s(w, s.tint.step);
  w.U32(s.tint.mark);
  for (const auto* layer : {&s.layerA, &s.layerB}) {
    for (const DriftingObject& o : *layer) {
      w.I32(o.x);
      w.I32(o.y);
    }
  }
  w.I32(s.sparklePhase);
  w.I32(s.sparkleStep);
  w.I8(s.sparkleColumn);
  w.I8(s.sparkleRow);
  PutI16s(w, s.lastWordColumn);
  PutI16s(w, s.lastWordRow);
  PutI32s(w, s.speakerColours);
  w.I8(s.musicVolume);
  w.I8(s.arrangement);
  for (uint32_t v : s.random.a) w.U32(v);
  for (uint32_t v : s.random.b) w.U32(v);
  w.I32(s.random.i);
  w.I32(s.random.j);
  w.U8(s.hasDealStream ? 1 : 0);
  for (uint32_t v : s.dealStream.a) w.U32(v);
  for (uint32_t v : s.dealStream.b) w.U32(v);
  w.I32(s.dealStream.i);
  w.I32(s.dealStream.j);
  w.I64(s.tally.startScore);
  w.I32(s.tally.moves);
  w.I32(s.tally.startedOn);
  w.U8(s.tally.reported ? 1 : 0);

  return Seal(kFormatName, kSavedLevelVersion, w.bytes());
}

bool DecodeSavedLevel(const std::string& bytes, SavedLevel& out, std::string& why) {
  switch (Unseal(bytes, kFormatName, kSavedLevelVersion, kMaxSavedLevelBytes)) {
    case Unsealed::kWhole:
      break;
    case Unsealed::kNotThisFormat:
      why = "it is not a saved level";
      return false;
    case Unsealed::kOtherVersion:
      why = "it was saved by another version of the game";
      return false;
    case Unsealed::kWrongLength:
      why = "it is cut short or too long";
      return false;
    case Unsealed::kTooLarge:
      why = "it cannot be read or is too large";
      return false;
    case Unsealed::kDamaged:
      why = "it is damaged";
      return false;
  }
  why = "it is damaged";
  SavedLevel s;
  ByteReader r(bytes, kSealHeaderBytes);
  s.playerName = r.Text(kMaxTextBytes);
  const uint32_t kind = r.U8();
  if (kind > static_cast<uint32_t>(LevelKind::kEndless)) return false;
  s.identity.kind = static_cast<LevelKind>(kind);
  s.identity.number = r.I32();
  s.identity.generatorVersion = r.U32();
  s.identity.grade = r.I32();
  s.identity.seed = r.U64();
  s.identity.day = r.I32();
  s.identity.endless = r.I32();
  s.levelFileHash = r.U64();

  BoardState& b = s.board;
  b.w = r.I16();
  b.h = r.I16();
  if (!r.ok() || b.w < 0 || b.h < 0) return false;
  const int64_t cells = (int64_t{b.w} + 1) * (int64_t{b.h} + 1);
  // Each Cell takes three bytes: more Cells than bytes left is a lie, not a Board.
  if (cells > kMaxBoardCells || static_cast<uint64_t>(cells) * 3 > r.Left()) return false;
  b.cells.resize(static_cast<size_t>(cells));
  b.shade.resize(static_cast<size_t>(cells));
  for (auto& code : b.cells) code = r.I16();
  for (auto& shade : b.shade) shade = r.I8();
  b.startColumn = r.I16();
  b.startRow = r.I16();
  if (b.startColumn < 0 || b.startColumn > b.w || b.startRow < 0 || b.startRow > b.h) return false;
  b.shadePeriod = r.I32();
  GetI32s(r, b.shadeStep);
  GetI32s(r, b.baseTint);
  for (auto& v : b.objectives) v = r.I8();
  b.title = r.Text(kMaxTextBytes);
  GetI16s(r, b.revealColumn);
  GetI16s(r, b.revealRow);
  b.cameraX = r.I32();
  b.cameraY = r.I32();

  GetI16s(r, s.slots);
  if (s.slots[0] < kFewestEaselSlots || s.slots[0] > kMostEaselSlots) return false;
  for (int k = 1; k <= kMaxEaselSlots; ++k) {
    if (k <= s.slots[0] ? !ValidSlotCode(s.slots[k]) : s.slots[k] != 0) return false;
  }
  const uint32_t bagCount = r.U16();
  if (bagCount > static_cast<uint32_t>(kBagCapacity)) return false;
  s.bag.resize(bagCount);
  for (auto& code : s.bag) {
    code = r.I16();
    if (!IsPieceCode(code)) return false;
  }
  s.valuableChance = r.I8();
  s.score = r.I64();
  s.effectBonus = r.I8();
  for (auto& v : s.objectives.progress) v = r.I8();
  GetI16s(r, s.objectives.lineWidths);
  GetI32s(r, s.tokensSpent);
  for (int32_t spent : s.tokensSpent) {
    if (spent != 0 && spent != 1) return false;
  }
  if (!GetChat(r, s.chatLog) || !GetChat(r, s.moveHistory)) return false;
  s.hintsUsed = r.I32();
  s.backgroundPicture = r.I8();
  if (s.hintsUsed < 0 || s.backgroundPicture < 0 || s.backgroundPicture > 23) return false;
  GetI32s(r, s.tint.value);
  GetI32s(r, s.tint.low);
  GetI32s(r, s.tint.high);
  GetI32s(r, s.tint.step);
  s.tint.mark = r.U32();
  for (auto* layer : {&s.layerA, &s.layerB}) {
    for (DriftingObject& o : *layer) {
      o.x = r.I32();
      o.y = r.I32();
    }
  }
  s.sparklePhase = r.I32();
  s.sparkleStep = r.I32();
  s.sparkleColumn = r.I8();
  s.sparkleRow = r.I8();
  GetI16s(r, s.lastWordColumn);
  GetI16s(r, s.lastWordRow);
  GetI32s(r, s.speakerColours);
  s.musicVolume = r.I8();
  s.arrangement = r.I8();
  if (s.musicVolume < 10 || s.musicVolume > 100 || s.arrangement < 0 || s.arrangement > 1) {
    return false;
  }
  for (auto& v : s.random.a) v = r.U32();
  for (auto& v : s.random.b) v = r.U32();
  s.random.i = r.I32();
  s.random.j = r.I32();
  if (s.random.i < 0 || s.random.i > 16 || s.random.j < 0 || s.random.j > 16) return false;
  const uint32_t hasDealStream = r.U8();
  for (auto& v : s.dealStream.a) v = r.U32();
  for (auto& v : s.dealStream.b) v = r.U32();
  s.dealStream.i = r.I32();
  s.dealStream.j = r.I32();
  // A generated level deals from its own stream, a hand-made one never does.
  if (hasDealStream != (s.identity.kind == LevelKind::kHandMade ? 0u : 1u)) return false;
  s.hasDealStream = hasDealStream == 1;
  if (s.dealStream.i < 0 || s.dealStream.i > 16 || s.dealStream.j < 0 || s.dealStream.j > 16) {
    return false;
  }
  s.tally.startScore = r.I64();
  s.tally.moves = r.I32();
  s.tally.startedOn = r.I32();
  const uint32_t reported = r.U8();
  if (s.tally.moves < 0 || reported > 1) return false;
  if (s.tally.startedOn != 0 && !IsValidDate(s.tally.startedOn)) return false;
  s.tally.reported = reported == 1;
  if (!r.ok() || !r.AtEnd()) return false;
  out = std::move(s);
  why.clear();
  return true;
}

namespace {

std::string JsonText(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x80) {
      // Names are Windows-1252 bytes: each byte as its code point keeps the JSON valid.
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

std::string SavedLevelJson(const SavedLevel& s) {
  std::string j = "{\n";
  j += "  \"player\": " + JsonText(s.playerName) + ",\n";
  j += "  \"level\": " + std::to_string(s.identity.number) + ",\n";
  j += "  \"kind\": " + std::to_string(static_cast<int>(s.identity.kind)) + ",\n";
  if (s.identity.kind == LevelKind::kDaily) {
    j += "  \"day\": " + JsonText(DateText(s.identity.day)) + ",\n";
  } else if (s.identity.kind == LevelKind::kEndless) {
    j += "  \"endless\": " + std::to_string(s.identity.endless) + ",\n";
  }
  if (s.identity.kind != LevelKind::kHandMade) {
    j += "  \"generator\": " + std::to_string(s.identity.generatorVersion) + ",\n";
  }
  j += "  \"title\": " + JsonText(s.board.title) + ",\n";
  j += "  \"score\": " + std::to_string(s.score) + ",\n";
  j += "  \"effect_bonus\": " + std::to_string(s.effectBonus) + ",\n";
  j += "  \"easel\": [";
  for (int k = 1; k <= s.slots[0]; ++k) j += (k > 1 ? ", " : "") + std::to_string(s.slots[k]);
  j += "],\n";
  j += "  \"bag\": " + std::to_string(s.bag.size()) + ",\n";
  j += "  \"board\": [" + std::to_string(s.board.w + 1) + ", " + std::to_string(s.board.h + 1) +
       "],\n";
  j += "  \"camera\": [" + std::to_string(s.board.cameraX) + ", " +
       std::to_string(s.board.cameraY) + "],\n";
  j += "  \"laid\": [";
  bool first = true;
  const int64_t height = s.board.h + 1;
  for (int c = 0; c <= s.board.w; ++c) {
    for (int r = 0; r <= s.board.h; ++r) {
      const int code = s.board.cells[static_cast<size_t>(c * height + r)];
      if (!HoldsPiece(code)) continue;
      j += std::string(first ? "" : ", ") + "[" + std::to_string(c) + ", " + std::to_string(r) +
           ", " + std::to_string(code) + "]";
      first = false;
    }
  }
  j += "],\n";
  j += "  \"objectives\": {\"met\": " + std::to_string(s.objectives.progress[0]) +
       ", \"count\": " + std::to_string(s.board.objectives[0]) + ", \"progress\": [";
  for (int k = 1; k <= 7; k += 2) {
    j += (k > 1 ? ", " : "") + std::to_string(s.objectives.progress[static_cast<size_t>(k)]);
  }
  j += "]},\n";
  int spent = 0;
  for (int32_t t : s.tokensSpent) spent += t;
  j += "  \"tokens_spent\": " + std::to_string(spent) + ",\n";
  j += "  \"hints\": " + std::to_string(s.hintsUsed) + ",\n";
  j += "  \"moves\": " + std::to_string(s.tally.moves) + ",\n";
  j += "  \"started_on\": " + JsonText(s.tally.startedOn != 0 ? DateText(s.tally.startedOn) : "") +
       "\n}\n";
  return j;
}

// ---- Saving -------------------------------------------------------------------------------------

namespace {

// What the player sees as the level's state: the scenery, the random stream and the ages
// of the chat lines left out.
std::string PlayBytes(SavedLevel s) {
  for (auto& line : s.chatLog) line.time = 0;
  s.tint = BackgroundTint{};
  s.layerA = s.layerB = {};
  s.sparklePhase = s.sparkleStep = 0;
  s.sparkleColumn = s.sparkleRow = 0;
  s.random = RandomState{};
  return EncodeSavedLevel(s);
}

bool SamePlay(const SavedLevel& a, const SavedLevel& b) {
  return PlayBytes(a) == PlayBytes(b);
}

void Queue(GameState& game, SavedLevel saved) {
  Saver().Queue({SavePath(game), EncodeSavedLevel(saved), false});
  gLastSaved = std::move(saved);
}

}  // namespace

void QueueLevelSave(GameState& game) {
  if (!HasProfile(game) || game.play.endTick != 0) return;
  Queue(game, TakeSavedLevel(game, TickCount()));
}

void SaveLevelStart(GameState& game) {
  gStartHash.taken = false;  // the level's bytes are hashed afresh
  QueueLevelSave(game);
}

void SaveLevelAndWait(GameState& game) {
  if (HasProfile(game) && game.play.endTick == 0) {
    SavedLevel now = TakeSavedLevel(game, TickCount());
    // Nothing played since the last save: it stays as it is, random stream included, so a
    // level left and continued deals what it would have dealt.
    if (!(gLastSaved && SamePlay(*gLastSaved, now))) Queue(game, std::move(now));
  }
  WaitForLevelSaves();
}

void SaveAfterValidation(GameState& game) {
  if (game.play.endTick != 0) {
    RemoveLevelSave(game);
  } else if (game.move.accepted) {
    QueueLevelSave(game);
  }
}

void RemoveLevelSave(const GameState& game) {
  if (!HasProfile(game)) return;
  gLastSaved.reset();
  Saver().Queue({SavePath(game), {}, true});
}

void WaitForLevelSaves() {
  Saver().Wait();
}

std::optional<ContinuableSave> ContinuableLevel(const GameState& game,
                                                const std::vector<LevelIdentity>& offered,
                                                std::string* why) {
  if (why) why->clear();
  if (!HasProfile(game)) return std::nullopt;
  WaitForLevelSaves();  // the file on disk is the latest save
  SavedLevel saved;
  std::string reason;
  bool later = false;
  const bool ok = ReadSaveOrSetAside(game, offered, saved, reason, later);
  if (why) *why = reason;
  if (!ok) return std::nullopt;
  return ContinuableSave{saved.identity, saved.levelFileHash, saved.board.w, saved.board.h,
                         !later,         SavePath(game)};
}

bool OffersContinue(std::optional<ContinuableSave>& saved, const LevelIdentity& row,
                    std::string* why) {
  if (!saved) return false;
  const LevelIdentity& id = saved->identity;
  if (id.kind == LevelKind::kHandMade) {
    return row.kind == LevelKind::kHandMade && row.number == id.number;
  }
  if (!(row == id)) return false;
  if (!saved->boardChecked) {
    bool later = false;
    const std::string reason =
        CheckGeneratedBoard(id, saved->levelHash, saved->boardW, saved->boardH, later);
    if (later) return false;  // asked again once the level is made
    if (!reason.empty()) {
      if (why) *why = reason;
      SetAsideUserFile(saved->path);
      saved.reset();
      return false;
    }
    saved->boardChecked = true;
  }
  return true;
}

std::string LevelMenuLine(const MenuState& menu, int level,
                          const std::optional<ContinuableSave>& saved) {
  const bool marked =
      saved && saved->identity.kind == LevelKind::kHandMade && saved->identity.number == level;
  return menu.levelTitles[static_cast<size_t>(level)] + (marked ? kContinueMark : "");
}

bool ChoosesContinue(bool continues) {
  return continues && KeyIsDown(kKeyLeftShift) == 0 && KeyIsDown(kKeyRightShift) == 0;
}

// ---- Continuing ---------------------------------------------------------------------------------

bool ContinueSavedLevel(GameState& game, std::string& why) {
  if (!HasProfile(game)) return false;
  WaitForLevelSaves();
  SavedLevel s;
  why.clear();
  LevelIdentity chosen = game.menu.levelIdentity;
  if (chosen.kind == LevelKind::kHandMade) {
    chosen = LevelIdentity{};
    chosen.number = game.menu.currentLevel;
  }
  std::vector<LevelIdentity> offered;
  if (chosen.kind != LevelKind::kHandMade) offered.push_back(chosen);
  bool later = false;
  if (!ReadSaveOrSetAside(game, offered, s, why, later)) {
    if (why.empty()) why = "it is gone";
    return false;
  }
  if (later) {
    why = "its level is not made yet";
    return false;
  }
  const bool same = chosen.kind == LevelKind::kHandMade ? s.identity.kind == LevelKind::kHandMade &&
                                                              s.identity.number == chosen.number
                                                        : s.identity == chosen;
  if (!same) {
    why = "it is for another level";
    return false;
  }
  auto& play = game.play;
  auto& easel = game.easel;
  auto& render = game.render;
  const uint32_t now = TickCount();
  gStartHash = {true, s.identity, s.levelFileHash};
  gLastSaved = s;

  // The play state a level start leaves, without a deal or a reset of what was played.
  play.objectivesViewToggle = 0;
  play.chatOpen = 0;
  play.chatInput = ChatInputLine{};
  play.enterLatch = 0;
  play.endTick = 0;
  play.restartLevel = false;
  play.recomposeResultPanel = false;
  play.validationLatch = 0;
  play.dragState = 0;
  play.carriedCode = 0;
  play.rightHeldBefore = 0;
  game.hint = HintState{};
  game.hint.used = s.hintsUsed;
  game.status.start = 0;
  game.options.panelClickLatch = 0;
  game.options.musicVolume = s.musicVolume;
  game.options.arrangement = s.arrangement;
  game.graphics.backgroundPicture = s.backgroundPicture;
  game.graphics.pointerFrame = 0;
  game.menu.levelIdentity = s.identity;

  game.chat.chatLog = s.chatLog;
  for (auto& line : game.chat.chatLog)
    line.time = static_cast<int32_t>(now - static_cast<uint32_t>(line.time));
  game.chat.moveHistory = s.moveHistory;

  easel.slots = s.slots;
  easel.bag.assign(static_cast<size_t>(kBagCapacity) + 1, 0);
  easel.bag[0] = static_cast<int16_t>(s.bag.size());
  std::copy(s.bag.begin(), s.bag.end(), easel.bag.begin() + 1);
  easel.valuableChance = s.valuableChance;
  easel.referenceSlotCount = s.slots[0];
  for (int k = 1; k <= kMaxLaidPieces; ++k) easel.laid[k] = LaidPiece{-1, 0, 0};
  LayOutEasel(easel, game.program.screenHeight);
  if (s.hasDealStream) {
    easel.dealStream.emplace(s.dealStream);
  } else {
    easel.dealStream.reset();
  }
  game.players.scores[0] = s.score;
  game.players.effectBonus[0] = s.effectBonus;
  game.records.tally = s.tally;

  render.cursorFrame = 0;
  render.cursorState = 0;
  LoadGraphicsSets(game);
  render.appliedCursorState = 0;

  game.board = s.board;
  UpdateVisibleWindow(game.board);

  ClearFrame(0);
  ComposeEaselFrame(game);
  DrawEasel(game);

  render.lastWordColumn = s.lastWordColumn;
  render.lastWordRow = s.lastWordRow;
  render.layerA = s.layerA;
  render.layerB = s.layerB;
  ResetFrameCounters(render, now);
  render.sparklePhase = s.sparklePhase;
  render.sparkleStep = s.sparkleStep;
  render.sparkleColumn = s.sparkleColumn;
  render.sparkleRow = s.sparkleRow;
  render.speakerColours = s.speakerColours;

  game.objectives = s.objectives;
  DrawObjectivesPanel(game);
  play.exchange = ExchangeState{};
  play.exchange.spent = s.tokensSpent;

  render.tint = s.tint;
  render.tint.mark = now - s.tint.mark;
  LoadLevelMusicAndSounds(game);
  // Last: what was drawn above must not move the stream the level goes on with.
  RestoreRandomState(s.random);
  return true;
}

}  // namespace qm
