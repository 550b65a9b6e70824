// Move files read by qm-rules: any JSON, played on a small fixed level with a small
// dictionary through the game's own rules. The level and dictionary paths of the input are
// replaced, so the fuzzer never reads files of its own choosing.
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "game/GameState.hpp"
#include "tools/qm-rules/MoveFile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  nlohmann::json move = nlohmann::json::parse(data, data + size, nullptr, false);
  if (move.is_discarded()) return 0;
  if (move.is_object()) {
    move["level_file"] = QM_SOURCE_DIR "/tests/fixtures/rules/level.map";
    move["dict"] = QM_SOURCE_DIR "/tests/fixtures/rules/dico";
  }
  auto game = std::make_unique<qm::GameState>();
  try {
    std::vector<int16_t> before = qm::SetUpMove(*game, move);
    (void)qm::EvaluateMove(*game, before).dump();
  } catch (const qm::BadMove&) {
  } catch (const nlohmann::json::exception&) {
  }
  return 0;
}
