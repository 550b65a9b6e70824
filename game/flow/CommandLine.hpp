#pragma once
// The command line of the game: display choices, the game folder, --help and --version.
// There is no configuration file; what is not given here keeps the game's defaults.
#include <string>
#include <vector>

#include "engine/Screen.hpp"

namespace qm {

struct CommandLine {
  DisplaySettings display;
  std::string dataFolder;  // --data DIR; empty: search the usual places
  int32_t dailyDay = 0;    // --daily YYYY-MM-DD: the daily of that earlier day; 0 today's
  bool showHelp = false;
  bool showVersion = false;
  std::string error;  // one line when the arguments cannot be used; empty otherwise
};

// Reads the arguments after the program name. scaleVariable is the value of
// QUILLMOSAICA_SCALE (nullptr when unset); --scale wins over it.
CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* scaleVariable);

// The usage text printed by --help and after an error; programName is argv[0]'s last part.
std::string UsageText(const std::string& programName);

// What the program was started with, for start-up to read.
void SetLaunchCommandLine(const CommandLine& commandLine);
const CommandLine& LaunchCommandLine();

}  // namespace qm
