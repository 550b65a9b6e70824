// Saves the records of profile 1 over and over through the game's own SaveRecords, switching
// between two contents, until it is killed. Prints "ready" once it has saved once.
// Usage: qm_records_saver PLAYERS_FOLDER
#include <cstdio>
#include <string>

#include "engine/Files.hpp"
#include "game/rules/Records.hpp"
#include "tests/hardening/RecordsVersions.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm_records_saver PLAYERS_FOLDER\n");
    return 2;
  }
  qm::MapGameFolder("players", argv[1]);
  for (long round = 0;; ++round) {
    qm::SaveRecords(1, qm::hard::RecordsVersion(static_cast<int>(round % 2)), nullptr);
    if (round == 0) {
      std::printf("ready\n");
      std::fflush(stdout);
    }
  }
}
