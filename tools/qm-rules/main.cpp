// qm-rules eval MOVE.json: plays one turn through the game's own rules and prints the
// outcome as one JSON object. Exit status 2 for a move that cannot be played.
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "MoveFile.hpp"
#include "game/GameState.hpp"

namespace {

constexpr const char* kUsage =
    "usage: qm-rules eval MOVE.json\n"
    "  MOVE.json: {\"level\": N | \"level_file\": path, \"dict\": folder, \"seed\": n,\n"
    "              \"score\": s, \"effect_bonus\": b, \"level_reached\": r,\n"
    "              \"easel\": [codes, 160 empty], \"board\": [[col, row, code], ...],\n"
    "              \"lay\": [[col, row, code], ...], \"bag\": [codes] (optional)}\n"
    "  Without \"bag\" the PieceBag is a fresh level's bag, filled after seeding (seed 1 by\n"
    "  default). \"words\" and \"move_total\" show what the checks found, also for a refused\n"
    "  move; \"history0\" is empty unless the move was accepted.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "eval") {
    std::cerr << kUsage;
    return 2;
  }
  std::ifstream file(argv[2], std::ios::binary);
  if (!file) {
    std::cerr << "qm-rules: cannot read " << argv[2] << "\n";
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();
  try {
    nlohmann::json move = nlohmann::json::parse(text.str());
    auto game = std::make_unique<qm::GameState>();
    std::vector<int16_t> before = qm::SetUpMove(*game, move);
    std::cout << qm::EvaluateMove(*game, before).dump() << "\n";
  } catch (const nlohmann::json::exception& error) {
    std::cerr << "qm-rules: " << argv[2] << ": malformed move file: " << error.what() << "\n";
    return 2;
  } catch (const qm::BadMove& error) {
    std::cerr << "qm-rules: " << argv[2] << ": " << error.what() << "\n";
    return 2;
  }
  return 0;
}
