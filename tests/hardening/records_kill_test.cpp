// Records saves killed at random moments: the records file is always its old or its new
// content, whole, and the profile beside it is never touched.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "engine/Files.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"
#include "tests/hardening/RecordsVersions.hpp"

extern char** environ;

namespace qm::hard {
namespace {

namespace fs = std::filesystem;

pid_t StartRecordsSaver(const std::string& players) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = QM_RECORDS_SAVER;
  char* argv[] = {program.data(), const_cast<char*>(players.c_str()), nullptr};
  pid_t pid = -1;
  int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (failed != 0) {
    close(out[0]);
    return -1;
  }
  char ready[6] = {};
  size_t got = 0;
  while (got < sizeof ready) {
    ssize_t n = read(out[0], ready + got, sizeof ready - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(out[0]);
  return pid;
}

TEST(RecordsKill, TheRecordsAreOldOrNewAfterEveryKill) {
  TempFolder temp;
  const std::string players = temp.path() + "/players";
  fs::create_directories(players);
  const std::string profile = ProfileBytes("Saver", 12, 3, 9, 4242);
  e2e::WriteFileBytes(players + "/1", profile);
  MapGameFolder("players", players);
  const std::string versions[2] = {EncodeRecords(RecordsVersion(0)),
                                   EncodeRecords(RecordsVersion(1))};

  std::mt19937 rng(20261211);
  int sawEach[2] = {0, 0}, inSave = 0;
  constexpr int kKills = 80;
  for (int round = 0; round < kKills; ++round) {
    pid_t pid = StartRecordsSaver(players);
    ASSERT_GT(pid, 0) << "cannot start " << QM_RECORDS_SAVER;
    usleep(std::uniform_int_distribution<useconds_t>(0, 6000)(rng));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself in round " << round;
    for (const auto& entry : fs::directory_iterator(temp.path() + "/records")) {
      if (entry.path().filename().string().rfind(".", 0) == 0) {
        ++inSave;
        break;
      }
    }
    const std::string bytes = e2e::ReadFileBytes(temp.path() + "/records/1");
    const bool old = bytes == versions[0], fresh = bytes == versions[1];
    ASSERT_TRUE(old || fresh) << "records after kill " << round + 1 << ": " << bytes.size()
                              << " bytes";
    ++sawEach[fresh ? 1 : 0];
    PlayerRecords read;
    ASSERT_EQ(LoadRecords(1, "Saver", read), RecordsLoad::kRead);
    ASSERT_EQ(e2e::ReadFileBytes(players + "/1"), profile);
  }
  EXPECT_GE(inSave, kKills / 4) << "kills inside a save";
  EXPECT_GT(sawEach[0], 0);
  EXPECT_GT(sawEach[1], 0);
  MapGameFolder("players", "");
}

}  // namespace
}  // namespace qm::hard
