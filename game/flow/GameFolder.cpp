#include "game/flow/GameFolder.hpp"

#include <filesystem>
#include <system_error>

#include "engine/Files.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/flow/CommandLine.hpp"
#include "game/flow/EndProgram.hpp"

#ifndef QM_GAME_FOLDER_FROM_EXECUTABLE
#define QM_GAME_FOLDER_FROM_EXECUTABLE "../share/games/quillmosaica"
#endif

namespace qm {
namespace {

constexpr int kProbeSlot = 0;

// Opens the first level the way the level list will, so a mapped "maps" folder (tests) and
// unreadable files count exactly as they will later.
bool HoldsLevels(const std::string& hostFolder) {
  const std::string before = GameFolder();
  SetGameFolder(hostFolder);
  const bool readable = OpenFileForReading(kProbeSlot, "maps\\1") != 0;
  CloseFileSlot(kProbeSlot);
  SetGameFolder(before);
  return readable;
}

std::string TriedList(const std::vector<std::string>& tried) {
  std::string list;
  for (const std::string& folder : tried) list += "\n  " + folder;
  return list;
}

}  // namespace

const char* InstalledGameFolderFromExecutable() {
  return QM_GAME_FOLDER_FROM_EXECUTABLE;
}

GameFolderSearch FindGameFolder(const std::string& dataOption, const std::string& workingFolder,
                                const std::string& executableFolder) {
  GameFolderSearch search;
  // A folder asked for by name is the only one looked at: playing another one instead would
  // hide the mistake.
  if (!dataOption.empty()) {
    search.tried.push_back(dataOption);
    if (HoldsLevels(dataOption)) {
      search.found = true;
      search.folder = dataOption;
      return search;
    }
    search.error = "The game folder given by --data cannot be used: " + dataOption +
                   "\nA game folder holds maps/ with the level files (maps/1 ...).";
    return search;
  }
  search.tried.push_back(workingFolder.empty() ? std::string(".") : workingFolder);
  if (HoldsLevels("")) {
    search.found = true;
    return search;
  }
  if (!executableFolder.empty()) {
    const std::string installed =
        (std::filesystem::path(executableFolder) / InstalledGameFolderFromExecutable())
            .lexically_normal()
            .string();
    search.tried.push_back(installed);
    if (HoldsLevels(installed)) {
      search.found = true;
      search.folder = installed;
      return search;
    }
  }
  search.error =
      "No game folder found (a game folder holds maps/ with the level files). "
      "Tried:" +
      TriedList(search.tried) + "\nStart the game with --data DIR.";
  return search;
}

void ChooseGameFolder() {
  std::error_code ec;
  const std::string working = std::filesystem::current_path(ec).string();
  const GameFolderSearch search =
      FindGameFolder(LaunchCommandLine().dataFolder, working, ExecutableFolder());
  if (!search.found) {
    // Host paths are UTF-8; the box shows the game's own single-byte texts.
    ShowMessageBox("Erreur", Utf8ToCp1252(search.error));
    EndProgram(1);
  }
  SetGameFolder(search.folder);
}

}  // namespace qm
