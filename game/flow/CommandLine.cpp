#include "game/flow/CommandLine.hpp"

#include <charconv>

#include "engine/Clock.hpp"
#include "game/rules/Records.hpp"

namespace qm {
namespace {

CommandLine launchCommandLine;

// A whole decimal number within [low, high], nothing before or after it.
bool ReadNumber(const std::string& text, int low, int high, int& value) {
  int parsed = 0;
  const char* end = text.data() + text.size();
  auto [stop, status] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || status != std::errc() || stop != end || parsed < low || parsed > high) {
    return false;
  }
  value = parsed;
  return true;
}

// "WxH", both sides at least 320 x 200 (the game's panels need that much) and at most 16384.
bool ReadSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  int w = 0, h = 0;
  if (!ReadNumber(text.substr(0, x), 320, 16384, w)) return false;
  if (!ReadNumber(text.substr(x + 1), 200, 16384, h)) return false;
  width = w;
  height = h;
  return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, const char* scaleVariable) {
  CommandLine line;
  if (scaleVariable != nullptr && *scaleVariable != '\0' &&
      !ReadNumber(scaleVariable, 1, 4, line.display.scale)) {
    line.error = "QUILLMOSAICA_SCALE must be a whole number from 1 to 4, not \"" +
                 std::string(scaleVariable) + "\"";
    return line;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool hasValue = false;
    if (name.rfind("--", 0) == 0) {
      const size_t equals = name.find('=');
      if (equals != std::string::npos) {
        value = name.substr(equals + 1);
        name = name.substr(0, equals);
        hasValue = true;
      }
    }
    // Options that need a value take the next argument when it was not given with '='.
    auto needValue = [&]() {
      if (hasValue) return true;
      if (i + 1 >= args.size()) {
        line.error = name + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    if (name == "--help" || name == "-h") {
      line.showHelp = true;
    } else if (name == "--version") {
      line.showVersion = true;
    } else if (name == "--scale") {
      if (!needValue()) return line;
      if (!ReadNumber(value, 1, 4, line.display.scale)) {
        line.error = "--scale must be a whole number from 1 to 4, not \"" + value + "\"";
        return line;
      }
    } else if (name == "--window") {
      line.display.windowed = true;
      // The size is optional: "--window" alone, or followed by a WxH argument.
      if (!hasValue && i + 1 < args.size() && args[i + 1].rfind("-", 0) != 0) {
        value = args[++i];
        hasValue = true;
      }
      if (hasValue && !ReadSize(value, line.display.windowWidth, line.display.windowHeight)) {
        line.error =
            "--window takes a size such as 1280x800 (at least 320x200), not \"" + value + "\"";
        return line;
      }
    } else if (name == "--display") {
      if (!needValue()) return line;
      if (!ReadNumber(value, 0, 63, line.display.displayIndex)) {
        line.error = "--display must be a monitor number from 0, not \"" + value + "\"";
        return line;
      }
    } else if (name == "--max-fps") {
      if (!needValue()) return line;
      if (!ReadNumber(value, 10, 1000, line.display.maxFps)) {
        line.error = "--max-fps must be a whole number from 10 to 1000, not \"" + value + "\"";
        return line;
      }
    } else if (name == "--data") {
      if (!needValue()) return line;
      if (value.empty()) {
        line.error = "--data needs a folder";
        return line;
      }
      line.dataFolder = value;
    } else if (name == "--daily") {
      if (!needValue()) return line;
      int32_t day = 0;
      if (!ParseDateText(value, day) || day > UtcDateNumber()) {
        line.error = "--daily takes a day up to today as YYYY-MM-DD, not \"" + value + "\"";
        return line;
      }
      line.dailyDay = day;
    } else {
      line.error = "unknown option \"" + args[i] + "\"";
      return line;
    }
    if (hasValue && (name == "--help" || name == "-h" || name == "--version")) {
      line.error = name + " takes no value";
      return line;
    }
  }
  return line;
}

std::string UsageText(const std::string& programName) {
  return "Usage: " + programName +
         " [OPTION]...\n"
         "Quillmosaica, a word puzzle on a hexagonal board.\n"
         "\n"
         "  --window [WxH]   play in a window of that inner size (default 1280x800)\n"
         "                   instead of the full screen\n"
         "  --scale N        draw every game pixel as N x N screen pixels (1 to 4); by default\n"
         "                   the largest N that keeps 1920x1080 game pixels per N on the screen\n"
         "                   (environment: QUILLMOSAICA_SCALE)\n"
         "  --display K      play full screen on monitor K (0 the first)\n"
         "  --max-fps F      draw at most F frames per second (60 keeps the animations at\n"
         "                   their designed speed on fast displays)\n"
         "  --data DIR       read the game folder (maps, gfx, sfx, zik, dico-english) from DIR\n"
         "                   (by default: the working folder when it holds maps/, else\n"
         "                   ../share/games/quillmosaica from the executable's folder)\n"
         "  --daily YYYY-MM-DD\n"
         "                   offer the daily level of that earlier UTC day in the level list\n"
         "                   (a missed day caught up; it does not count for the daily streak)\n"
         "  --help           print this help and exit\n"
         "  --version        print the version and exit\n"
         "\n"
         "Players are saved in $XDG_DATA_HOME/quillmosaica/players\n"
         "(~/.local/share/quillmosaica/players by default; a relative $XDG_DATA_HOME is\n"
         "ignored); each player's records beside them in records/. Without a display the\n"
         "game says so and exits with status 1.\n";
}

void SetLaunchCommandLine(const CommandLine& commandLine) {
  launchCommandLine = commandLine;
}

const CommandLine& LaunchCommandLine() {
  return launchCommandLine;
}

}  // namespace qm
