// The saved level: what a save costs the play loop, and continuing one to its first frame.
#include <string>
#include <vector>

#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "engine/UserFiles.hpp"
#include "game/play/RunLevel.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/play/StartLevel.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

namespace qm::bench {

void MeasureSaves(const Options& options, GameState& game, Report& report) {
  game.menu.selectedProfile = 1;
  game.menu.name[1] = "Benchmark";
  StartLevel(game);
  WaitForLevelSaves();
  // The play loop's share: the copy with this turn's Pieces on the Easel, the encoding and
  // the hand-over; the file is written (fsync, rename) on the save thread.
  std::vector<double> saves;
  for (int i = 0; i < options.saves; ++i) {
    const auto start = WallClock::now();
    QueueLevelSave(game);
    saves.push_back(MillisecondsSince(start));
    if (i % 10 == 9) WaitForLevelSaves();  // some saves queued behind a write, most alone
  }
  WaitForLevelSaves();
  const double p99 = Percentile(saves, 99);
  report.Add("save_ms_p99", p99, "ms", "<= 2", p99 <= 2);

  std::vector<double> resumes;
  int fresh = 0;  // continues that fell back to a fresh start: the figure would be wrong
  for (int i = 0; i < options.levelStarts; ++i) {
    game.menu.continueSaved = true;
    const auto start = WallClock::now();
    StartLevel(game);
    const uint64_t presents = PresentCount();
    while (PresentCount() == presents) {
      if (RunLevelPass(game)) break;
    }
    resumes.push_back(MillisecondsSince(start));
    if (game.chat.chatLog[0].text.rfind("The saved level could not be continued", 0) == 0) ++fresh;
  }
  const double resume = Median(resumes);
  report.Add("resume_ms", resume, "ms", "<= 150", resume <= 150 && fresh == 0);
  if (fresh > 0)
    report.notes.push_back("resume_ms: " + std::to_string(fresh) + " continues started afresh");
  std::string bytes;
  ReadUserFile(UserFilePath("saves", 1), bytes, kMaxSavedLevelBytes);
  report.notes.push_back("save_ms_p99: " + std::to_string(saves.size()) +
                         " saves of the large Board (" + std::to_string(bytes.size()) +
                         " bytes); resume_ms: median of " + std::to_string(resumes.size()) +
                         " continues to the first present");
  game.menu.selectedProfile = 0;
}

}  // namespace qm::bench
