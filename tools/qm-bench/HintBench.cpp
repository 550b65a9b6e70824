// Hints on the large Board with an 18-slot Easel: the search itself, and the frame loop
// while F1's search runs beside it.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Random.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/HintKey.hpp"
#include "game/play/RunLevel.hpp"
#include "game/play/StartLevel.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Hint.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

namespace qm::bench {
namespace {

constexpr int kHintSlots = 18;

// Eighteen Pieces drawn from the bag, as a full Easel would hold them.
void DealFullEasel(GameState& game) {
  game.easel.slots.fill(0);
  game.easel.slots[0] = kHintSlots;
  DealEasel(game.easel);
}

}  // namespace

void MeasureHints(const Options& options, GameState& game, Report& report) {
  StartLevel(game);
  const GameState started = game;
  auto lexicon = std::make_unique<Lexicon>();
  auto loadStart = WallClock::now();
  if (!lexicon->Load(HostPath("dico-english"))) {
    report.notes.push_back("hints: no dictionary, nothing measured");
    return;
  }
  report.Add("hint_lexicon_ms", MillisecondsSince(loadStart), "ms");

  // The search alone, on a fresh 18-Piece Easel each time.
  std::vector<double> times, cpuTimes;
  int found = 0;
  SeedRandom(2024);
  for (int i = 0; i < options.hints; ++i) {
    auto work = std::make_unique<GameState>(started);
    DealFullEasel(*work);
    const auto start = WallClock::now();
    const double cpuStart = ThreadCpuMs();
    Hint hint = FindHint(*work, *lexicon);
    times.push_back(MillisecondsSince(start));
    cpuTimes.push_back(ThreadCpuMs() - cpuStart);
    found += hint.found ? 1 : 0;
  }
  const double p95 = Percentile(times, 95);
  report.Add("hint_ms_p95", p95, "ms", "<= 100", p95 <= 100);
  report.Add("hint_ms_max", *std::max_element(times.begin(), times.end()), "ms");
  report.notes.push_back(
      "hint_ms: " + std::to_string(times.size()) +
      " searches on the large Board, 18-slot Easel, median " + Fixed(Median(times)) + " ms; " +
      std::to_string(found) + " found a move; CPU time p95 " + Fixed(Percentile(cpuTimes, 95)) +
      " ms, max " + Fixed(*std::max_element(cpuTimes.begin(), cpuTimes.end())) + " ms");

  // F1 in the play loop: the longest pass while the search runs on its worker thread.
  game = started;
  DealFullEasel(game);
  double longest = 0, longestCpu = 0;
  int answered = 0;
  for (int i = 0; i < std::max(1, options.hints / 10); ++i) {
    InjectKey(kKeyF1, true);
    RunLevelPass(game);
    InjectKey(kKeyF1, false);
    for (int pass = 0; pass < 100000 && HintSearchPending(game); ++pass) {
      const auto start = WallClock::now();
      const double cpuStart = ThreadCpuMs();
      RunLevelPass(game);
      longest = std::max(longest, MillisecondsSince(start));
      longestCpu = std::max(longestCpu, ThreadCpuMs() - cpuStart);
    }
    answered += HintSearchPending(game) ? 0 : 1;
  }
  report.Add("hint_frame_ms_max", longest, "ms", "<= 100", longest <= 100);
  report.notes.push_back("hint_frame_ms_max: longest play-loop pass while F1's search ran (" +
                         std::to_string(answered) + " hints answered); its game thread CPU time " +
                         Fixed(longestCpu) + " ms");
}

}  // namespace qm::bench
