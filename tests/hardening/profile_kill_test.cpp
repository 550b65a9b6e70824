// Saves killed at random moments: a process saving profiles in a loop is killed with SIGKILL
// at least 200 times; every profile file is always either its old or its new content, whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"
#include "tests/hardening/KillRounds.hpp"

namespace qm::hard {
namespace {

namespace fs = std::filesystem;

// The two contents qm_profile_saver switches profile n between.
std::string Version(int n, int version) {
  if (version == 0)
    return ProfileBytes(std::string(5 + n, static_cast<char>('a' + n)), n, 1, 8, 1000 * n);
  return ProfileBytes(std::string(90 + n, static_cast<char>('a' + n)), 40 + n, 17, 16,
                      -(int64_t{1} << 40) - n);
}

TEST(ProfileKill, EveryProfileIsOldOrNewAfter200Kills) {
  TempFolder temp;
  const std::string players = temp.path() + "/players";
  fs::create_directories(players);
  for (int n = 1; n <= 3; ++n)
    e2e::WriteFileBytes(players + "/" + std::to_string(n), Version(n, 0));

  KillPlan plan;
  plan.program = QM_PROFILE_SAVER;
  plan.argument = plan.watched = players;
  plan.seed = 20261210;
  plan.minRounds = 200;
  plan.minInSave = 50;
  plan.maxSleepMicros = 8000;
  int sawNew = 0;
  KillTally tally = RunKillRounds(plan, [&](int) {
    for (int n = 1; n <= 3; ++n) {
      std::string bytes = e2e::ReadFileBytes(players + "/" + std::to_string(n));
      bool old = bytes == Version(n, 0), fresh = bytes == Version(n, 1);
      if (!old && !fresh)
        return testing::AssertionFailure() << "profile " << n << ": " << bytes.size() << " bytes";
      sawNew += fresh;
    }
    return testing::AssertionSuccess();
  });
  // A share of the kills must land inside a save, or this test proves nothing.
  EXPECT_GE(tally.inSave, plan.minInSave) << "kills inside a save in " << tally.rounds << " rounds";
  EXPECT_GT(sawNew, 0);
  // A kill in the middle of a save may leave its unfinished temporary file; never a profile.
  for (const auto& entry : fs::directory_iterator(players)) {
    std::string name = entry.path().filename().string();
    if (name.size() <= 2) continue;
    EXPECT_EQ(name.rfind(".", 0), 0u) << name;
  }
}

}  // namespace
}  // namespace qm::hard
