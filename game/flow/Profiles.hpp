#pragma once
// The player profile files ("players\1" .. "players\20") and the current player's values.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"

namespace qm {

// One profile as it lies in its file: every single byte is read back as a signed byte.
struct PlayerProfile {
  std::string name;
  int32_t levelReached = 0;
  int32_t avatar = 0;
  int32_t easelSize = 0;
  int32_t reserved1 = 0, effectBonus = 0, reserved2 = 0, reserved3 = 0;
  int64_t score = 0;
};

// The longest name whose length fits the profile's signed length byte.
constexpr int kMaxNameBytes = 127;

// Reads a signed length byte, then that many bytes (a 0 byte is skipped): the form of a
// profile name and of a level title.
std::string ReadCountedText(int fileSlot);

// Reads "players\<number>" into profile; false (profile untouched) when it does not open.
// A short file reads 0 for every missing field.
bool ReadPlayerProfile(int number, PlayerProfile& profile);
// The bytes of a profile file: the name's length byte and bytes, seven single bytes, then the
// score as 8 bytes, least significant first.
std::string EncodePlayerProfile(const PlayerProfile& profile);
// Writes "players\<number>" in the profile byte layout through the per-user file writer
// (whole or not at all); false when it could not be written, the old file then untouched and
// error (when given) saying why and where.
bool WritePlayerProfile(int number, const PlayerProfile& profile, std::string* error = nullptr);

// Reads profiles 1 to 20 into the menu tables; a missing file leaves its entries as they were.
void LoadPlayerProfiles(MenuState& menu);

// Writes the current player (index 0) to "players\" + the selected profile number.
// When that fails the old file stays as it was, and the reason goes to stderr, to the ChatLog
// and to menu.saveProblem (shown on the player list); a save that works clears it.
void SavePlayerProfile(GameState& game);

// Copies menu entry n into the current-player values (PlayerTables index 0, the Easel slot
// count) and remembers n as the selected profile. An avatar outside 0..19 is taken modulo
// 20 and an Easel size outside 6..18 is held within 6..18, so neither indexes past a table.
void ChoosePlayerValues(GameState& game, int n);

}  // namespace qm
