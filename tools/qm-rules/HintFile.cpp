#include "tools/qm-rules/HintFile.hpp"

#include <memory>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/rules/Hint.hpp"
#include "game/rules/Lexicon.hpp"
#include "tools/qm-rules/MoveFile.hpp"

namespace qm {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

json LayOf(const Candidate& move) {
  json lay = json::array();
  for (const Placement& p : move.pieces) lay.push_back({p.column, p.row, static_cast<int>(p.code)});
  return lay;
}

}  // namespace

ordered_json HintForState(const json& state) {
  auto game = std::make_unique<GameState>();
  SetUpMove(*game, state);  // loads the level and maps the dictionary folder
  TakeBackForHint(*game);
  Lexicon lexicon;
  std::vector<Candidate> moves;
  if (lexicon.Load(HostPath("dico-english"))) moves = FindHintMoves(*game, lexicon);

  ordered_json out;
  out["lay"] = json::array();
  out["words"] = ordered_json::array();
  out["move_total"] = 0;
  // The search's own judgement of a move is checked by the rules before it is offered.
  for (const Candidate& move : moves) {
    json trial = state;
    trial["lay"] = LayOf(move);
    auto work = std::make_unique<GameState>();
    std::vector<int16_t> before = SetUpMove(*work, trial);
    ordered_json outcome = EvaluateMove(*work, before);
    if (!outcome["accepted"].get<bool>()) continue;
    out["lay"] = trial["lay"];
    out["words"] = outcome["words"];
    out["move_total"] = outcome["move_total"];
    break;
  }
  return out;
}

}  // namespace qm
