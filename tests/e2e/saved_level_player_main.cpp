// The victim of the saved-level kill test: plays move 1 of level 1, prints its temporary
// folder once the move's save is on disk, then plays on until it is killed.
#include <cstdio>

#include "tests/e2e/SavedLevelScript.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm_saved_level_player GAME_FOLDER\n");
    return 2;
  }
  qm::e2e::SavedLevelPlay play(argv[1]);
  qm::e2e::Script s;
  play.ToLevelOne(s);
  play.MoveOne(s);
  s.Check([&play](const qm::GameState&) {
    std::printf("%s\n", play.session->tempFolder().c_str());
    std::fflush(stdout);
  });
  // Still playing: the Camera follows the mouse until the kill comes.
  s.Move(300, 300).Button('R', true).Move(400, 350).Wait(600000);
  qm::e2e::RunResult r = play.session->Run(s);
  std::fprintf(stderr, "not killed: %s\n", r.failure.c_str());
  return 1;
}
