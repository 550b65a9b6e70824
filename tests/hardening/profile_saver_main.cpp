// Saves profiles 1 to 3 over and over through the game's own SavePlayerProfile, switching
// each between two contents, until it is killed. Prints "ready" once every profile has been
// saved at least once. Usage: qm_profile_saver PLAYERS_FOLDER
#include <cstdio>
#include <string>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"

namespace {

// Content `version` (0 or 1) of profile n: both differ in every field and in length.
void SetPlayer(qm::GameState& game, int n, int version) {
  game.menu.selectedProfile = n;
  game.players.speakerNames[0] =
      std::string(version == 0 ? 5 + n : 90 + n, static_cast<char>('a' + n));
  game.players.levelsReached[0] = static_cast<uint8_t>(version == 0 ? n : 40 + n);
  game.players.avatars[0] = static_cast<uint8_t>(version == 0 ? 1 : 17);
  game.easel.slots[0] = static_cast<int16_t>(version == 0 ? 8 : 16);
  game.players.scores[0] = version == 0 ? 1000 * n : -(int64_t{1} << 40) - n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm_profile_saver PLAYERS_FOLDER\n");
    return 2;
  }
  qm::MapGameFolder("players", argv[1]);
  static qm::GameState game;
  for (long round = 0;; ++round) {
    for (int n = 1; n <= 3; ++n) {
      SetPlayer(game, n, static_cast<int>((round + n) % 2));
      qm::SavePlayerProfile(game);
    }
    if (round == 0) {
      std::printf("ready\n");
      std::fflush(stdout);
    }
  }
}
