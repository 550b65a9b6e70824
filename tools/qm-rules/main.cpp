// qm-rules eval MOVE.json: plays one turn through the game's own rules and prints the
// outcome as one JSON object. qm-rules hint STATE.json: the bot's best move for that turn.
// Exit status 2 for a move that cannot be played.
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "HintFile.hpp"
#include "MoveFile.hpp"
#include "game/GameState.hpp"

namespace {

constexpr const char* kUsage =
    "usage: qm-rules eval MOVE.json\n"
    "       qm-rules hint STATE.json\n"
    "  MOVE.json: {\"level\": N | \"level_file\": path, \"dict\": folder, \"seed\": n,\n"
    "              \"score\": s, \"effect_bonus\": b, \"level_reached\": r,\n"
    "              \"easel\": [codes, 160 empty], \"board\": [[col, row, code], ...],\n"
    "              \"lay\": [[col, row, code], ...], \"bag\": [codes] (optional)}\n"
    "  Without \"bag\" the PieceBag is a fresh level's bag, filled after seeding (seed 1 by\n"
    "  default). \"words\" and \"move_total\" show what the checks found, also for a refused\n"
    "  move; \"history0\" is empty unless the move was accepted.\n"
    "  hint: STATE.json is a move file without \"lay\" (Pieces laid there are taken back\n"
    "  first, as the F1 key does); prints {\"lay\": [[col, row, code], ...], \"words\":\n"
    "  [[word, points], ...], \"move_total\": n} for the best move the bot finds that the\n"
    "  rules accept (its \"lay\" added to STATE.json evaluates to the same words and\n"
    "  total), or an empty \"lay\" when there is none.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  if (command != "eval" && command != "hint") {
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
    if (command == "hint") {
      std::cout << qm::HintForState(move).dump() << "\n";
      return 0;
    }
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
