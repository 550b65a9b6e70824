// Quillmosaica: the command line, start-up, then one screen after another until EndProgram
// ends the run.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/GameState.hpp"
#include "game/Screens.hpp"
#include "game/flow/CommandLine.hpp"

#ifndef QM_VERSION
#define QM_VERSION "0"
#endif

int main(int argc, char** argv) {
  std::string program = argc > 0 && argv[0] != nullptr ? argv[0] : "quillmosaica";
  if (const size_t slash = program.rfind('/'); slash != std::string::npos) {
    program = program.substr(slash + 1);
  }
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const qm::CommandLine line = qm::ParseCommandLine(args, std::getenv("QUILLMOSAICA_SCALE"));
  // Errors are told before any window opens.
  if (!line.error.empty()) {
    std::fprintf(stderr, "%s: %s\n%s", program.c_str(), line.error.c_str(),
                 qm::UsageText(program).c_str());
    return 2;
  }
  if (line.showHelp) {
    std::fputs(qm::UsageText(program).c_str(), stdout);
    return 0;
  }
  if (line.showVersion) {
    std::printf("quillmosaica %s\n", QM_VERSION);
    return 0;
  }
  qm::SetLaunchCommandLine(line);
  qm::SetDisplaySettings(line.display);
  for (qm::Screen s = qm::Screen::kStartUp;;) s = qm::RunScreen(qm::Game(), s);
}
