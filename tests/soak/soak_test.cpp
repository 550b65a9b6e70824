// The soak: the real game driven by seeded random input for QM_SOAK_FRAMES frames (5,000 by
// default), under the sanitizers in the sanitizer build.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "tests/e2e/Session.hpp"
#include "tests/soak/SoakDriver.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::soak {
namespace {

namespace fs = std::filesystem;

// Caches that may still fill after the first level: rendered texts (64 MB at most), text
// widths and open fonts. Anything beyond that is memory the game keeps losing.
constexpr int64_t kCacheAllowance = int64_t{96} << 20;
constexpr int64_t kShortRunAllowance = int64_t{8} << 20;

TEST(Soak, RandomInputAcrossMenusAndLevels) {
  const std::string game = e2e::FullGameFolder();
  if (game.empty()) GTEST_SKIP() << "the game folder has not been made (build the data target)";
  const char* env = std::getenv("QM_SOAK_FRAMES");
  const uint64_t frames = env != nullptr ? std::strtoull(env, nullptr, 10) : 5000;
  const char* seedText = std::getenv("QM_SOAK_SEED");
  const uint32_t seed =
      seedText != nullptr ? static_cast<uint32_t>(std::strtoul(seedText, nullptr, 10)) : 20261210;

  test::TempFolder folder("qm-soak");
  const std::string temp = folder.path();
  const std::string players = temp + "/players";
  fs::create_directories(players);
  setenv("XDG_DATA_HOME", (temp + "/home").c_str(), 1);

  SoakReport r = RunSoak(game, players, frames, seed);

  std::cout << "frames " << r.frames << ", program runs " << r.programRuns << ", level starts "
            << r.levelStarts << " (levels";
  for (int level : r.levelsPlayed) std::cout << ' ' << level;
  std::cout << "), moves accepted " << r.movesAccepted << ", exits to the menu " << r.exitsToMenu
            << ", profile files " << r.profilesWritten << "\nlive heap at each level start (MB):";
  for (int64_t bytes : r.heapAtLevelStart) std::cout << ' ' << (bytes >> 20);
  std::cout << "\n";

  // The run really played: levels were started and words were accepted on them.
  EXPECT_GE(r.levelStarts, 3);
  EXPECT_GE(r.movesAccepted, 1);
  EXPECT_TRUE(r.problems.empty()) << ::testing::PrintToString(r.problems);
  ASSERT_GE(r.heapAtLevelStart.size(), 2u);
  // The default run is too short to fill the caches (about 3 MB grow in it): anything a level
  // start keeps, even one screen-sized picture, soon shows above this.
  const int64_t allowance = frames <= 20000 ? kShortRunAllowance : kCacheAllowance;
  const int64_t first = r.heapAtLevelStart.front();
  for (size_t k = 1; k < r.heapAtLevelStart.size(); ++k) {
    EXPECT_LE(r.heapAtLevelStart[k], first + allowance)
        << "the live heap grew by " << ((r.heapAtLevelStart[k] - first) >> 20)
        << " MB by level start " << k + 1;
  }
  // On a long run the caches are full by the second half: from there on the heap stays flat.
  if (r.heapAtLevelStart.size() >= 8) {
    const size_t half = r.heapAtLevelStart.size() / 2;
    const int64_t firstHalf =
        *std::max_element(r.heapAtLevelStart.begin(), r.heapAtLevelStart.begin() + half);
    const int64_t secondHalf =
        *std::max_element(r.heapAtLevelStart.begin() + half, r.heapAtLevelStart.end());
    EXPECT_LE(secondHalf, firstHalf + (int64_t{16} << 20));
  }
}

}  // namespace
}  // namespace qm::soak
