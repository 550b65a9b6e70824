#pragma once
// qm-rules hint: the bot's best move for a turn described in JSON, checked by the rules.
#include <nlohmann/json.hpp>

namespace qm {

// `state` is a move file without "lay" (Pieces laid there are taken back first, as the
// hint key does). Returns {"lay": [[col, row, code], ...], "words": [[word, points], ...],
// "move_total": n}: the best move the search finds that ValidateMove accepts, with the
// words and total of that evaluation; an empty "lay" when there is none. Throws BadMove.
nlohmann::ordered_json HintForState(const nlohmann::json& state);

}  // namespace qm
