// Records saves killed at random moments: the records file is always its old or its new
// content, whole, and the profile beside it is never touched.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Files.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"
#include "tests/hardening/KillRounds.hpp"
#include "tests/hardening/RecordsVersions.hpp"

namespace qm::hard {
namespace {

namespace fs = std::filesystem;

TEST(RecordsKill, TheRecordsAreOldOrNewAfterEveryKill) {
  TempFolder temp;
  const std::string players = temp.path() + "/players";
  fs::create_directories(players);
  const std::string profile = ProfileBytes("Saver", 12, 3, 9, 4242);
  e2e::WriteFileBytes(players + "/1", profile);
  MapGameFolder("players", players);
  const std::string versions[2] = {EncodeRecords(RecordsVersion(0)),
                                   EncodeRecords(RecordsVersion(1))};

  KillPlan plan;
  plan.program = QM_RECORDS_SAVER;
  plan.argument = players;
  plan.watched = temp.path() + "/records";
  plan.seed = 20261211;
  int sawEach[2] = {0, 0};
  KillTally tally = RunKillRounds(plan, [&](int) {
    const std::string bytes = e2e::ReadFileBytes(temp.path() + "/records/1");
    const bool old = bytes == versions[0], fresh = bytes == versions[1];
    if (!old && !fresh)
      return testing::AssertionFailure() << "records: " << bytes.size() << " bytes";
    ++sawEach[fresh ? 1 : 0];
    PlayerRecords read;
    if (LoadRecords(1, "Saver", read) != RecordsLoad::kRead)
      return testing::AssertionFailure() << "the records do not read back";
    if (e2e::ReadFileBytes(players + "/1") != profile)
      return testing::AssertionFailure() << "the profile changed";
    return testing::AssertionSuccess();
  });
  EXPECT_GE(tally.inSave, plan.minInSave) << "kills inside a save in " << tally.rounds << " rounds";
  EXPECT_GT(sawEach[0], 0);
  EXPECT_GT(sawEach[1], 0);
  MapGameFolder("players", "");
}

}  // namespace
}  // namespace qm::hard
