// qm-level: builds level files from their sources, dumps them back, checks them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Text.hpp"
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
               "       qm-level check [--strict] FILE...\n";
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
  if (decoded.fault != FileFault::kNone) std::cerr << file << ": " << FileFaultText(decoded) << "\n";
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
    if (!decoded.level.title.empty()) name += " (\"" + qm::Cp1252ToUtf8(decoded.level.title) + "\")";
    for (const std::string& fault : faults) std::cerr << name << ": " << fault << "\n";
    if (!faults.empty()) result = kFault;
  }
  return result;
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
