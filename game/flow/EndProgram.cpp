#include "game/flow/EndProgram.hpp"

#include <cstdlib>

#include "engine/Files.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"

namespace qm {
namespace {
bool gThrows = false;
}

void SetEndProgramThrows(bool throws) {
  gThrows = throws;
}

void EndProgram() {
  StopMusicModule(-1);
  ShutdownSound();
  FreeSpriteImage(-1);
  CloseGameScreen();
  CloseFileSlot(-1);
  if (gThrows) throw ProgramEnded{};
  std::exit(0);
}

}  // namespace qm
