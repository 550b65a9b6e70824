// A profile file read by the player menu, chosen, saved and read again: choosing and saving
// never index past a table, and a saved profile reads back to the same bytes when saved again.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  const std::string folder = fuzz::TempFolder() + "/players";
  MapGameFolder("players", folder);
  const std::string path = fuzz::WriteTempFile("players/7", data, size);

  auto game = std::make_unique<GameState>();
  LoadPlayerProfiles(game->menu);
  const MenuState& menu = game->menu;
  if (menu.name[7].size() > 127) std::abort();
  if (!menu.name[6].empty() || menu.levelReached[8] != 0) std::abort();

  ChoosePlayerValues(*game, 7);
  if (game->easel.slots[0] < 6 || game->easel.slots[0] > 18) std::abort();
  if (game->players.avatars[0] > 19) std::abort();

  SavePlayerProfile(*game);
  const std::string first = FileBytes(path);
  if (first.size() != game->players.speakerNames[0].size() + 16) std::abort();

  auto again = std::make_unique<GameState>();
  LoadPlayerProfiles(again->menu);
  ChoosePlayerValues(*again, 7);
  SavePlayerProfile(*again);
  if (FileBytes(path) != first) std::abort();
  if (again->players.scores[0] != game->players.scores[0]) std::abort();
  return 0;
}
