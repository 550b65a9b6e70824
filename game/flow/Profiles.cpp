#include "game/flow/Profiles.hpp"

#include <algorithm>
#include <cstdio>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "engine/UserFiles.hpp"
#include "game/rules/Dictionary.hpp"

namespace qm {
namespace {

constexpr int kFileSlot = 0;

std::string ProfilePath(int number) {
  return "players\\" + DecimalText(number);
}

}  // namespace

std::string ReadCountedText(int slot) {
  std::string text;
  int length = ReadInt8(slot);
  for (int i = 0; i < length; ++i) {
    int8_t code = ReadInt8(slot);
    if (code != 0) text += static_cast<char>(code);
  }
  return text;
}

bool ReadPlayerProfile(int number, PlayerProfile& profile) {
  if (OpenFileForReading(kFileSlot, ProfilePath(number)) == 0) return false;
  profile.name = ReadCountedText(kFileSlot);
  profile.levelReached = ReadInt8(kFileSlot);
  profile.avatar = ReadInt8(kFileSlot);
  profile.easelSize = ReadInt8(kFileSlot);
  profile.reserved1 = ReadInt8(kFileSlot);
  profile.effectBonus = ReadInt8(kFileSlot);
  profile.reserved2 = ReadInt8(kFileSlot);
  profile.reserved3 = ReadInt8(kFileSlot);
  profile.score = ReadInt64(kFileSlot);
  CloseFileSlot(kFileSlot);
  return true;
}

std::string EncodePlayerProfile(const PlayerProfile& profile) {
  std::string bytes;
  auto byte = [&bytes](int64_t value) { bytes.push_back(static_cast<char>(value & 0xFF)); };
  byte(static_cast<int64_t>(profile.name.size()));
  for (char c : profile.name) byte(static_cast<uint8_t>(c));
  for (int32_t value : {profile.levelReached, profile.avatar, profile.easelSize, profile.reserved1,
                        profile.effectBonus, profile.reserved2, profile.reserved3})
    byte(value);
  for (int k = 0; k < 8; ++k)
    byte(static_cast<int64_t>(static_cast<uint64_t>(profile.score) >> (8 * k)));
  return bytes;
}

bool WritePlayerProfile(int number, const PlayerProfile& profile, std::string* error) {
  return WriteUserFile(HostPath(ProfilePath(number)), EncodePlayerProfile(profile), error);
}

void LoadPlayerProfiles(MenuState& menu) {
  for (int n = 1; n <= MenuState::kProfiles; ++n) {
    PlayerProfile p;
    if (!ReadPlayerProfile(n, p)) continue;
    menu.name[n] = p.name;
    menu.levelReached[n] = p.levelReached;
    menu.avatar[n] = p.avatar;
    menu.easelSize[n] = p.easelSize;
    menu.reserved1[n] = p.reserved1;
    menu.effectBonus[n] = p.effectBonus;
    menu.reserved2[n] = p.reserved2;
    menu.reserved3[n] = p.reserved3;
    menu.score[n] = p.score;
  }
}

void SavePlayerProfile(GameState& game) {
  const PlayerTables& players = game.players;
  const int me = game.program.humanPlayer;
  PlayerProfile p;
  // Names reach 127 bytes at most through the new player screen; a longer one cannot be
  // told by the signed length byte, so only its first 127 bytes are kept.
  p.name = players.speakerNames[me].substr(0, kMaxNameBytes);
  p.levelReached = players.levelsReached[me];
  p.avatar = players.avatars[me];
  p.easelSize = game.easel.slots[0];
  p.reserved1 = players.reserved1[me];
  p.effectBonus = players.effectBonus[me];
  p.reserved2 = players.reserved2[me];
  p.reserved3 = players.reserved3[me];
  p.score = players.scores[me];
  std::string error;
  if (WritePlayerProfile(game.menu.selectedProfile, p, &error)) {
    game.menu.saveProblem.clear();
    return;
  }
  // The old file is still whole; the player is told it holds the last progress saved.
  game.menu.saveProblem = error;
  std::fprintf(stderr, "quillmosaica: %s\n", error.c_str());
  PushChatLine(game, ChatLine{error, 8, static_cast<int32_t>(TickCount())});
}

void ChoosePlayerValues(GameState& game, int n) {
  const MenuState& menu = game.menu;
  PlayerTables& players = game.players;
  const int me = game.program.humanPlayer;
  game.menu.selectedProfile = n;
  // The Easel table has 20 slots and the deal expects 6 to 18 of them.
  game.easel.slots[0] = static_cast<int16_t>(std::clamp(menu.easelSize[n], 6, 18));
  players.scores[me] = menu.score[n];
  players.levelsReached[me] = static_cast<uint8_t>(menu.levelReached[n]);
  players.speakerNames[me] = menu.name[n];
  // The avatar picks a cell of the 20-avatar strip.
  players.avatars[me] = static_cast<uint8_t>(((menu.avatar[n] % 20) + 20) % 20);
  players.reserved1[me] = static_cast<int8_t>(menu.reserved1[n]);
  players.effectBonus[me] = static_cast<int8_t>(menu.effectBonus[n]);
  players.reserved2[me] = static_cast<int8_t>(menu.reserved2[n]);
  players.reserved3[me] = static_cast<int8_t>(menu.reserved3[n]);
}

}  // namespace qm
