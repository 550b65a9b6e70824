// Quillmosaica: start-up, then one screen after another until EndProgram ends the run.
#include "game/GameState.hpp"
#include "game/Screens.hpp"

int main() {
  for (qm::Screen s = qm::Screen::kStartUp;;) s = qm::RunScreen(qm::Game(), s);
}
