#pragma once
// Kills a saving process at random moments, over and over, and checks the files after each kill.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace qm::hard {

struct KillPlan {
  std::string program;   // saves in a loop and prints "ready" after its first save
  std::string argument;  // the folder it saves into (passed on its command line)
  std::string watched;   // where a leftover temporary file shows a kill inside a save
  uint32_t seed = 1;
  int minRounds = 80;
  int minInSave = 20;    // rounds go on until this many kills landed inside a save...
  int maxRounds = 2000;  // ...or this many rounds were run
  int maxSleepMicros = 6000;
};

struct KillTally {
  int rounds = 0;
  int inSave = 0;
};

// After each kill, `check(round)` judges the files; the first failure stops the rounds.
KillTally RunKillRounds(const KillPlan& plan,
                        const std::function<testing::AssertionResult(int round)>& check);

}  // namespace qm::hard
