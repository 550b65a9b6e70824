// qm-level: builds level files from their sources, dumps them back, checks them.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "game/gen/Generator.hpp"
#include "game/level/LevelBinary.hpp"
#include "game/level/LevelCheck.hpp"
#include "game/level/LevelSource.hpp"

namespace {

using namespace qm::level;
namespace fs = std::filesystem;

constexpr int kFault = 1;
constexpr int kMalformed = 2;

int Usage() {
  std::cerr << "usage: qm-level build SRC.lvl OUT\n"
               "       qm-level dump [--json] FILE\n"
               "       qm-level check [--strict] FILE...\n"
               "       qm-level generate SEED [--grade G] [-o OUT.lvl] [--data DIR] [--verbose]\n"
               "       qm-level generate --version\n";
  return kMalformed;
}

// What a command accepts: options that stand alone, options that take the next argument,
// and how many other arguments (files, the seed) it needs.
struct CommandArgs {
  std::set<std::string> flags;
  std::set<std::string> valued;
  size_t fewest = 0, most = SIZE_MAX;
};

struct ParsedArgs {
  std::set<std::string> flags;
  std::map<std::string, std::string> values;  // the last one given wins
  std::vector<std::string> rest;
};

// The one argument reader of every command. False, with the reason on standard error, for an
// unknown option, an option without its value, or too few or too many other arguments.
bool ParseArgs(const std::string& command, const std::vector<std::string>& args,
               const CommandArgs& accepted, ParsedArgs& parsed) {
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a.size() < 2 || a[0] != '-') {
      parsed.rest.push_back(a);
    } else if (accepted.flags.count(a)) {
      parsed.flags.insert(a);
    } else if (!accepted.valued.count(a)) {
      std::cerr << "qm-level " << command << ": unknown option " << a << "\n";
      return false;
    } else if (k + 1 == args.size()) {
      std::cerr << "qm-level " << command << ": " << a << " needs a value\n";
      return false;
    } else {
      parsed.values[a] = args[++k];
    }
  }
  if (parsed.rest.size() < accepted.fewest || parsed.rest.size() > accepted.most) {
    std::cerr << "qm-level " << command << ": wrong number of arguments\n";
    return false;
  }
  return true;
}

// Writes a whole file or nothing: the bytes go to OUT.part, renamed over OUT once complete.
int WriteOutput(const std::string& output, const std::string& bytes) {
  std::error_code ec;
  fs::path target(output);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const std::string temp = output + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << output << ": cannot be written\n";
      fs::remove(temp, ec);
      return kFault;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::cerr << output << ": cannot be written (" << ec.message() << ")\n";
    return kFault;
  }
  return 0;
}

int Build(const std::string& source, const std::string& output) {
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot be read\n";
    return kMalformed;
  }
  std::stringstream text;
  text << in.rdbuf();
  Level level;
  SourceError error;
  if (!ParseLevelSource(text.str(), level, error)) {
    std::cerr << source << ":" << error.line << ": " << error.message << "\n";
    return kMalformed;
  }
  return WriteOutput(output, EncodeLevel(level, KeysForName(fs::path(source).filename().string())));
}

nlohmann::ordered_json LevelJson(const DecodedLevel& decoded) {
  const Level& level = decoded.level;
  const qm::BoardState& board = decoded.board;
  nlohmann::ordered_json j;
  j["title"] = qm::Cp1252ToUtf8(level.title);
  j["w"] = level.w;
  j["h"] = level.h;
  j["start"] = {level.startColumn, level.startRow};
  nlohmann::ordered_json cells = nlohmann::ordered_json::array();
  nlohmann::ordered_json shade = nlohmann::ordered_json::array();
  for (int r = 0; r <= level.h; ++r) {
    std::vector<int> codeRow, shadeRow;
    for (int c = 0; c <= level.w; ++c) {
      codeRow.push_back(level.At(c, r));
      shadeRow.push_back(board.shade[static_cast<size_t>(c) * (board.h + 1) + r]);
    }
    cells.push_back(codeRow);
    shade.push_back(shadeRow);
  }
  j["cells"] = std::move(cells);
  j["shade"] = std::move(shade);
  j["shade_period"] = level.shadePeriod;
  j["shade_step"] = level.shadeStep;
  j["base_tint"] = level.baseTint;
  j["objectives"] = level.objectives;
  return j;
}

int Dump(const std::string& file, bool json) {
  DecodedLevel decoded = DecodeLevelFile(file);
  if (decoded.fault == FileFault::kMissing) {
    std::cerr << file << ": cannot be opened\n";
    return kFault;
  }
  if (decoded.fault != FileFault::kNone)
    std::cerr << file << ": " << FileFaultText(decoded) << "\n";
  if (json)
    std::cout << LevelJson(decoded).dump() << "\n";
  else
    std::cout << FormatLevelSource(decoded.level);
  return 0;
}

int Check(const std::vector<std::string>& files, bool strict) {
  int result = 0;
  for (const std::string& file : files) {
    DecodedLevel decoded = DecodeLevelFile(file);
    std::vector<std::string> faults = CheckLevel(decoded, strict);
    std::string name = file;
    if (!decoded.level.title.empty())
      name += " (\"" + qm::Cp1252ToUtf8(decoded.level.title) + "\")";
    for (const std::string& fault : faults) std::cerr << name << ": " << fault << "\n";
    if (!faults.empty()) result = kFault;
  }
  return result;
}

bool ParseNumber(const std::string& text, uint64_t& value, uint64_t highest) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(ch - '0');
    if (value > (highest - digit) / 10) return false;
    value = value * 10 + digit;
  }
  return true;
}

// Makes the level of (grade, seed), proven by the bot, and writes its source.
int Generate(const ParsedArgs& args) {
  if (args.flags.count("--version")) {
    if (args.flags.size() != 1 || !args.values.empty() || !args.rest.empty()) return Usage();
    std::cout << qm::gen::kGeneratorVersion << "\n";
    return 0;
  }
  uint64_t seed = 0, grade = 3;
  if (args.rest.size() != 1 || !ParseNumber(args.rest[0], seed, UINT64_MAX)) return Usage();
  if (auto it = args.values.find("--grade"); it != args.values.end()) {
    if (!ParseNumber(it->second, grade, 99) || grade < qm::gen::kFirstGrade ||
        grade > qm::gen::kLastGrade)
      return Usage();
  }
  auto value = [&](const char* option, const char* otherwise) {
    auto it = args.values.find(option);
    return it == args.values.end() ? std::string(otherwise) : it->second;
  };
  const std::string output = value("-o", ""), data = value("--data", ".");
  const bool verbose = args.flags.count("--verbose") > 0;
  qm::gen::GeneratorWords words;
  std::string error;
  if (!qm::gen::LoadGeneratorWords(data, words, &error)) {
    std::cerr << "qm-level: " << error << "\n";
    return kMalformed;
  }
  // The rules look every move's words up in the game folder, as the game does.
  std::error_code ec;
  qm::SetGameFolder(fs::absolute(data, ec).string());
  qm::gen::GeneratedLevel level = qm::gen::GenerateLevel(static_cast<int>(grade), seed, words);
  if (verbose) {
    const qm::gen::Proof& p = level.proof;
    std::cerr << "grade " << grade << " seed " << seed << ": \"" << qm::Cp1252ToUtf8(level.title)
              << "\", " << level.candidates << " candidate(s), won " << p.newPlayerWins
              << "/5 new, " << p.masterWins << "/5 master, " << p.everydayWins
              << "/5 everyday, median moves " << p.medianMoves
              << (p.fault.empty() ? "" : ", fault: " + p.fault) << "\n";
  }
  if (!level.ok) {
    std::cerr << "qm-level: grade " << grade << ", seed " << seed << ": " << level.error << " ("
              << level.candidates << " candidates)\n";
    return kFault;
  }
  if (output.empty()) {
    std::cout << level.source;
    return 0;
  }
  return WriteOutput(output, level.source);
}

// The options and other arguments of each command.
const std::map<std::string, CommandArgs>& Commands() {
  static const std::map<std::string, CommandArgs> commands = {
      {"build", {{}, {}, 2, 2}},
      {"dump", {{"--json"}, {}, 1, 1}},
      {"check", {{"--strict"}, {}, 1, SIZE_MAX}},
      {"generate", {{"--verbose", "--version"}, {"--grade", "-o", "--data"}, 0, 1}},
  };
  return commands;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string command = args[0];
  args.erase(args.begin());
  auto known = Commands().find(command);
  if (known == Commands().end()) return Usage();
  ParsedArgs parsed;
  if (!ParseArgs(command, args, known->second, parsed)) return Usage();
  try {
    if (command == "build") return Build(parsed.rest[0], parsed.rest[1]);
    if (command == "dump") return Dump(parsed.rest[0], parsed.flags.count("--json") > 0);
    if (command == "check") return Check(parsed.rest, parsed.flags.count("--strict") > 0);
    return Generate(parsed);
  } catch (const std::exception& e) {
    std::cerr << "qm-level: " << e.what() << "\n";
    return kFault;
  }
}
