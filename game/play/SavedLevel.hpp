#pragma once
// A level in progress kept beside the player's profile ("saves/N" for profile N), so the
// player can leave it and continue it later, or after a crash.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Random.hpp"
#include "engine/SealedFile.hpp"  // HashBytes, the hash of a level's bytes
#include "game/GameState.hpp"

namespace qm {

constexpr uint32_t kSavedLevelVersion = 1;
constexpr size_t kMaxSavedLevelBytes = size_t{16} << 20;

// All that continuing a level needs; the Pieces of the turn being laid are on the Easel.
struct SavedLevel {
  std::string playerName;
  LevelIdentity identity;
  // The hash of the level's bytes as they were at the level start: maps/N for a hand-made
  // level, the generator's bytes for a generated one.
  uint64_t levelFileHash = 0;
  BoardState board;  // every Cell, shade and fog, the Camera
  std::array<int16_t, 21> slots{};
  std::vector<int16_t> bag;  // the PieceBag's Pieces, places 1..count
  int8_t valuableChance = 50;
  int64_t score = 0;
  int8_t effectBonus = 0;
  ObjectivesState objectives;
  std::array<int32_t, 3> tokensSpent{};
  std::array<ChatLine, 20> chatLog{};  // time = age in ms when saved
  std::array<ChatLine, 20> moveHistory{};
  int32_t hintsUsed = 0;
  int8_t backgroundPicture = 0;
  BackgroundTint tint;  // mark = age in ms when saved
  std::array<DriftingObject, 9> layerA{}, layerB{};
  int32_t sparklePhase = 0, sparkleStep = 0;
  int8_t sparkleColumn = 0, sparkleRow = 0;
  std::array<int16_t, 21> lastWordColumn{}, lastWordRow{};
  std::array<uint32_t, 9> speakerColours{};
  int8_t musicVolume = 50, arrangement = 0;
  RandomState random;
  // A generated level deals from a stream of its own; hand-made levels have none.
  bool hasDealStream = false;
  RandomState dealStream;
  LevelTally tally;  // what the level has brought so far, for its result and the records
};

// The running level as it would be saved now: the live state is not touched.
SavedLevel TakeSavedLevel(const GameState& game, uint32_t now);

std::string EncodeSavedLevel(const SavedLevel& saved);
// False, with why in the player's words, for anything but a whole save of this version.
bool DecodeSavedLevel(const std::string& bytes, SavedLevel& saved, std::string& why);
// The save as JSON: player, level, score, Easel, bag, laid Cells, objectives.
std::string SavedLevelJson(const SavedLevel& saved);

// The hash of maps/N as the game reads it; false when the file is missing.
bool HashLevelFile(int level, uint64_t& hash);

// The save the level list may continue. For a generated level the Board it was played on
// is checked once the generator has made the level (the list may show before that).
struct ContinuableSave {
  LevelIdentity identity;
  uint64_t levelHash = 0;
  int16_t boardW = 0, boardH = 0;
  bool boardChecked = false;
  std::string path;  // set aside from there when its level came out otherwise
};

// The save of the selected profile, if it can be continued by this player: none when there
// is no save, and why not in `why` when a save is there but cannot be used; such a save is
// set aside (renamed to ".bad") and never read again. `offered` holds the generated levels
// the list offers now (the daily of its day, the Master's endless level): a generated save
// continues only as one of them.
std::optional<ContinuableSave> ContinuableLevel(const GameState& game,
                                                const std::vector<LevelIdentity>& offered,
                                                std::string* why);
// Whether the list's row for `row` continues the save. A generated level's row does once
// its level is made and is the one the save was played on; a save whose level came out
// otherwise is set aside (saved then holds nothing, why says so).
bool OffersContinue(std::optional<ContinuableSave>& saved, const LevelIdentity& row,
                    std::string* why);

// Saves the running level: encoded now, written on the save thread (the last one queued
// wins). Nothing is saved once the level has ended.
void QueueLevelSave(GameState& game);
// A level start: the level file is hashed again, then the first save is queued.
void SaveLevelStart(GameState& game);
// The same, then waits until it is on disk (the EXIT control, a desktop close).
void SaveLevelAndWait(GameState& game);
// After a validation: an accepted move is saved; a level that ended loses its save.
void SaveAfterValidation(GameState& game);
// The level was finished: its save goes.
void RemoveLevelSave(const GameState& game);
// Waits until every queued save is written.
void WaitForLevelSaves();

// The level list's row for hand-made `level`: its title, marked when it is the saved level.
std::string LevelMenuLine(const MenuState& menu, int level,
                          const std::optional<ContinuableSave>& saved);
// The mark of a row that continues the saved level.
inline const char* const kContinueMark = " (continue)";
// Choosing a row that continues the saved level continues it, unless Shift is held (a fresh
// start).
bool ChoosesContinue(bool continues);

// Puts the saved level of the selected profile back in play (music, sounds, pictures
// reloaded; nothing dealt or reset) when it is the level of game.menu.levelIdentity. False
// with why when the save cannot be used; the game state is then as it was.
bool ContinueSavedLevel(GameState& game, std::string& why);

}  // namespace qm
