#pragma once
// A level in progress kept beside the player's profile ("saves/N" for profile N), so the
// player can leave it and continue it later, or after a crash.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Random.hpp"
#include "game/GameState.hpp"

namespace qm {

constexpr uint32_t kSavedLevelVersion = 1;
constexpr size_t kMaxSavedLevelBytes = size_t{16} << 20;

// All that continuing a level needs; the Pieces of the turn being laid are on the Easel.
struct SavedLevel {
  std::string playerName;
  LevelIdentity identity;
  uint64_t levelFileHash = 0;  // hand-made: the hash of maps/N as it was at the level start
  BoardState board;            // every Cell, shade and fog, the Camera
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
};

// The running level as it would be saved now: the live state is not touched.
SavedLevel TakeSavedLevel(const GameState& game, uint32_t now);

std::string EncodeSavedLevel(const SavedLevel& saved);
// False, with why in the player's words, for anything but a whole save of this version.
bool DecodeSavedLevel(const std::string& bytes, SavedLevel& saved, std::string& why);
// The save as JSON: player, level, score, Easel, bag, laid Cells, objectives.
std::string SavedLevelJson(const SavedLevel& saved);

// 64-bit FNV-1a, the hash of a level file.
uint64_t HashBytes(const std::string& bytes);
// The hash of maps/N as the game reads it; false when the file is missing.
bool HashLevelFile(int level, uint64_t& hash);

// The save of the selected profile, if it can be continued by this player: the level number
// (0 when none), and why not in `why` when a save is there but cannot be used; such a save
// is set aside (renamed to ".bad") and never read again.
int ContinuableLevel(const GameState& game, std::string* why);

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

// The level list's row for `level`: its title, marked when it is the saved level.
std::string LevelMenuLine(const MenuState& menu, int level, int savedLevel);
// Choosing the saved level's row continues it, unless Shift is held (a fresh start).
bool ChoosesContinue(int level, int savedLevel);

// Puts the saved level of the selected profile back in play (music, sounds, pictures
// reloaded; nothing dealt or reset). False with why when the save cannot be used; the game
// state is then as it was.
bool ContinueSavedLevel(GameState& game, std::string& why);

}  // namespace qm
