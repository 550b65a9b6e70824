// qm-level: builds level files from their sources, dumps them back, checks them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
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
  std::string bytes = EncodeLevel(level, KeysForName(fs::path(source).filename().string()));
  std::error_code ec;
  fs::path target(output);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  std::string temp = output + ".part";
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
int Generate(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << qm::gen::kGeneratorVersion << "\n";
    return 0;
  }
  uint64_t seed = 0, grade = 3;
  std::string output, data = ".";
  bool haveSeed = false, verbose = false;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool hasValue = k + 1 < args.size();
    if (a == "--verbose") {
      verbose = true;
    } else if (a == "--grade" && hasValue) {
      if (!ParseNumber(args[++k], grade, 99) || grade < qm::gen::kFirstGrade ||
          grade > qm::gen::kLastGrade)
        return Usage();
    } else if (a == "-o" && hasValue) {
      output = args[++k];
    } else if (a == "--data" && hasValue) {
      data = args[++k];
    } else if (!haveSeed && ParseNumber(a, seed, UINT64_MAX)) {
      haveSeed = true;
    } else {
      return Usage();
    }
  }
  if (!haveSeed) return Usage();
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
  fs::path target(output);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const std::string temp = output + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(level.source.data(), static_cast<std::streamsize>(level.source.size()));
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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  std::string command = args[0];
  args.erase(args.begin());
  try {
    if (command == "build" && args.size() == 2) return Build(args[0], args[1]);
    if (command == "dump") {
      bool json = !args.empty() && args[0] == "--json";
      if (json) args.erase(args.begin());
      if (args.size() != 1) return Usage();
      return Dump(args[0], json);
    }
    if (command == "generate") return Generate(args);
    if (command == "check") {
      bool strict = !args.empty() && args[0] == "--strict";
      if (strict) args.erase(args.begin());
      if (args.empty()) return Usage();
      return Check(args, strict);
    }
  } catch (const std::exception& e) {
    std::cerr << "qm-level: " << e.what() << "\n";
    return kFault;
  }
  return Usage();
}
