#include "game/GameState.hpp"

namespace qm {

GameState& Game() {
  static GameState state;
  return state;
}

}  // namespace qm
