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

void EndProgram(int status) {
  StopMusicModule(-1);
  ShutdownSound();
  FreeSpriteImage(-1);
  CloseGameScreen();
  CloseFileSlot(-1);
  if (gThrows) throw ProgramEnded{status};
  std::exit(status);
}

}  // namespace qm
