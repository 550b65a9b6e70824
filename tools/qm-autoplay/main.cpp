// qm-autoplay LEVEL [--seeds N] [--moves M] [--data DIR]: plays a level through the game's
// own rules with several deals and says whether it can be won.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/bot/Autoplay.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Lexicon.hpp"

namespace {

using qm::Lexicon;
using qm::autoplay::PlayOptions;
using qm::autoplay::SeedResult;

constexpr const char* kUsage =
    "usage: qm-autoplay LEVEL [--seeds N] [--first-seed S] [--moves M] [--data DIR]\n"
    "                   [--easel SLOTS] [--score POINTS] [--need K] [--master] [--verbose]\n"
    "  LEVEL is a level number (maps/N in the data folder, ./ by default) or a file path.\n"
    "  --master plays as a player past level 44 (objectives 1 and 2 raised by one).\n"
    "  A seed is won when the end box is reached with every objective met. Exit 0 when at\n"
    "  least K seeds (1 by default) are won, 1 otherwise, 2 for a missing or malformed level.\n";

bool ParseNumber(const char* text, long long low, long long high, long long& out) {
  char* end = nullptr;
  long long value = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = value;
  return true;
}

// The file must be exactly as long as its header says: title, keys, size, start, cells,
// shading and objectives.
std::string LayoutFault(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot be read";
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (bytes.empty()) return "is empty";
  int n = static_cast<signed char>(bytes[0]);
  if (n < 0) n = 0;
  size_t header = 1 + static_cast<size_t>(n) + 10 + 8;
  if (bytes.size() < header) return "ends inside its header";
  auto word = [&](size_t at) { return static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8)); };
  size_t keys = 1 + static_cast<size_t>(n);
  int w = static_cast<int16_t>(word(keys + 10) ^ word(keys + 2));
  int h = static_cast<int16_t>(word(keys + 12) ^ word(keys + 4));
  if (w < 0 || h < 0) return "describes a Board of negative size";
  long long cells = static_cast<long long>(w + 1) * (h + 1);
  if (cells > qm::kMaxBoardCells) return "describes a Board too large to play";
  long long expected = static_cast<long long>(header) + 2 * cells + 14 + 20;
  if (static_cast<long long>(bytes.size()) != expected) {
    return "is " + std::to_string(bytes.size()) + " bytes long where its layout needs " +
           std::to_string(expected);
  }
  return "";
}

std::string BoardFault(const std::string& path) {
  auto game = std::make_unique<qm::GameState>();
  if (qm::ReadLevelFile(game->board, path, 1, 1024, 768) != qm::LevelRead::kRead)
    return "cannot be read";
  bool start = false, end = false;
  for (int16_t code : game->board.cells) {
    start = start || code == qm::kStartBox;
    end = end || code == qm::kEndBox;
  }
  if (!start) return "has no start box (" + std::to_string(qm::kStartBox) + ")";
  if (!end) return "has no end box (" + std::to_string(qm::kEndBox) + ")";
  return "";
}

int LevelNumberOf(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::string digits;
  for (char ch : name) {
    if (ch >= '0' && ch <= '9')
      digits += ch;
    else if (!digits.empty())
      break;
  }
  long long number = 0;
  if (!digits.empty() && ParseNumber(digits.c_str(), 1, 9999, number))
    return static_cast<int>(number);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string levelArg, data = ".";
  long long seeds = 5, firstSeed = 1, moves = 200, easel = 10, score = 0, need = 1;
  bool verbose = false, master = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](long long low, long long high, long long& out) {
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], low, high, out)) {
        std::cerr << "qm-autoplay: " << arg << " needs a number within " << low << ".." << high
                  << "\n"
                  << kUsage;
        std::exit(2);
      }
      ++i;
    };
    if (arg == "--seeds")
      value(1, 100000, seeds);
    else if (arg == "--first-seed")
      value(0, 4000000000LL, firstSeed);
    else if (arg == "--moves")
      value(1, 100000, moves);
    else if (arg == "--need")
      value(1, 100000, need);
    else if (arg == "--easel")
      value(6, 18, easel);
    else if (arg == "--score")
      value(-4000000000000000000LL, 4000000000000000000LL, score);
    else if (arg == "--verbose")
      verbose = true;
    else if (arg == "--master")
      master = true;
    else if (arg == "--data") {
      if (i + 1 >= argc) {
        std::cerr << kUsage;
        return 2;
      }
      data = argv[++i];
    } else if (levelArg.empty() && !arg.empty() && arg[0] != '-') {
      levelArg = arg;
    } else {
      std::cerr << "qm-autoplay: unexpected argument " << arg << "\n" << kUsage;
      return 2;
    }
  }
  if (levelArg.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  PlayOptions options;
  long long number = 0;
  if (ParseNumber(levelArg.c_str(), 1, 9999, number)) {
    options.level = static_cast<int>(number);
    options.levelPath = (std::filesystem::path(data) / "maps" / std::to_string(number)).string();
  } else {
    options.levelPath = levelArg;
    options.level = LevelNumberOf(levelArg);
  }
  std::string fault = LayoutFault(options.levelPath);
  if (fault.empty()) fault = BoardFault(options.levelPath);
  if (!fault.empty()) {
    std::cerr << "qm-autoplay: level " << options.levelPath << " " << fault << "\n";
    return 2;
  }
  Lexicon lexicon;
  std::string dictionary = (std::filesystem::path(data) / "dico-english").string();
  if (!lexicon.Load(dictionary)) {
    std::cerr << "qm-autoplay: no dictionary in " << dictionary << "\n";
    return 2;
  }
  // The rules look words up through the game folder's dictionary files.
  qm::MapGameFolder("dico-english", dictionary);
  options.maxMoves = static_cast<int>(moves);
  options.easelSlots = static_cast<int>(easel);
  options.startScore = score;
  options.verbose = verbose;
  options.levelReached = master ? 45 : 1;

  std::printf("level %d (%s): %lld seed(s), at most %lld moves\n", options.level,
              options.levelPath.c_str(), seeds, moves);
  int wins = 0;
  std::vector<int> winMoves;
  double slowest = 0;
  for (long long s = 0; s < seeds; ++s) {
    uint32_t seed = static_cast<uint32_t>(firstSeed + s);
    SeedResult r = qm::autoplay::PlaySeed(options, lexicon, seed);
    slowest = std::max(slowest, r.slowestSearchMs);
    if (r.won) {
      ++wins;
      winMoves.push_back(r.moves);
    }
    std::printf(
        "seed %u: %s  moves %d  score %lld  objectives %d/%d  exchanges %d%s%s\n", seed,
        r.won ? "won " : "lost", r.moves, static_cast<long long>(r.score), r.objectivesMet,
        r.objectiveCount, r.exchanges, r.won ? "" : "  (",
        r.won ? ""
              : (r.endReached ? "end box reached, objectives missing)" : (r.stop + ")").c_str()));
    if (r.refusals > 0) std::printf("  warning: %d move(s) refused by the rules\n", r.refusals);
  }
  std::sort(winMoves.begin(), winMoves.end());
  int median = winMoves.empty() ? 0 : winMoves[winMoves.size() / 2];
  std::printf("summary: level %d won %d/%lld  median moves %d  slowest search %.0f ms\n",
              options.level, wins, seeds, median, slowest);
  if (wins < need) {
    std::printf("level %d %s\n", options.level,
                wins == 0 ? "cannot be won on any seed" : "is won on too few seeds");
    return 1;
  }
  return 0;
}
