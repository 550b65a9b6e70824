// qm-save: looks into a saved level (the file "saves/N" beside the player profiles).
//   qm-save dump FILE   prints the save as JSON; exit 1 with the reason when it is no save
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/UserFiles.hpp"
#include "game/play/SavedLevel.hpp"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: qm-save dump FILE\n"
               "  prints a saved level (saves/N beside the players folder) as JSON: player,\n"
               "  level, score, Easel codes, bag size, laid Cells [column, row, code],\n"
               "  objectives' progress. Exit 1 when FILE is not a whole save of this version.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    Usage();
    return 0;
  }
  if (argc != 3 || std::strcmp(argv[1], "dump") != 0) return Usage();
  std::string bytes;
  if (!qm::ReadUserFile(argv[2], bytes, qm::kMaxSavedLevelBytes)) {
    std::fprintf(stderr, "qm-save: %s: cannot be read, not a regular file, or too large\n",
                 argv[2]);
    return 1;
  }
  qm::SavedLevel saved;
  std::string why;
  if (!qm::DecodeSavedLevel(bytes, saved, why)) {
    std::fprintf(stderr, "qm-save: %s: %s\n", argv[2], why.c_str());
    return 1;
  }
  std::fputs(qm::SavedLevelJson(saved).c_str(), stdout);
  return 0;
}
