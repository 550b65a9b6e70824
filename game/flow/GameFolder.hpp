#pragma once
// Where the game folder (maps, gfx, sfx, zik, dico-english) is: the one given with --data,
// else the working folder, else the folder installed beside the executable.
#include <string>
#include <vector>

namespace qm {

struct GameFolderSearch {
  bool found = false;
  std::string folder;              // host folder for SetGameFolder; empty = the working folder
  std::vector<std::string> tried;  // every folder looked at, in order
  std::string error;               // the "Erreur" text when nothing was found
};

// The installed game folder relative to the executable's folder; the build sets it from the
// install layout, so a prefix can move as a whole.
const char* InstalledGameFolderFromExecutable();

// A folder is the game folder when its first level file can be read: a folder without it
// would start on an empty level list. dataOption is --data (empty when not given; then it is
// the only folder tried); workingFolder names the working folder in the message; an empty
// executableFolder skips the installed folder.
GameFolderSearch FindGameFolder(const std::string& dataOption, const std::string& workingFolder,
                                const std::string& executableFolder);

// Finds the game folder of this run and makes the engine resolve game paths there; when there
// is none, the "Erreur" box names the folders tried and the program ends with status 1.
void ChooseGameFolder();

}  // namespace qm
