// Saves killed at random moments: a process saving profiles in a loop is killed with SIGKILL
// 200 times; every profile file is always either its old or its new content, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"

extern char** environ;

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

// Starts the saver and waits until it has saved every profile once.
pid_t StartSaver(const std::string& players) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = QM_PROFILE_SAVER;
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

TEST(ProfileKill, EveryProfileIsOldOrNewAfter200Kills) {
  TempFolder temp;
  const std::string players = temp.path() + "/players";
  fs::create_directories(players);
  for (int n = 1; n <= 3; ++n)
    e2e::WriteFileBytes(players + "/" + std::to_string(n), Version(n, 0));

  std::mt19937 rng(20261210);
  int sawNew = 0, inSave = 0;
  for (int round = 0; round < 200; ++round) {
    pid_t pid = StartSaver(players);
    ASSERT_GT(pid, 0) << "cannot start " << QM_PROFILE_SAVER;
    usleep(std::uniform_int_distribution<useconds_t>(0, 8000)(rng));
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself in round " << round;
    // A save's temporary file left behind: this kill landed in the middle of a save.
    for (const auto& entry : fs::directory_iterator(players)) {
      if (entry.path().filename().string().rfind(".", 0) == 0) {
        ++inSave;
        break;
      }
    }
    for (int n = 1; n <= 3; ++n) {
      std::string bytes = e2e::ReadFileBytes(players + "/" + std::to_string(n));
      bool old = bytes == Version(n, 0), fresh = bytes == Version(n, 1);
      ASSERT_TRUE(old || fresh) << "profile " << n << " after kill " << round + 1 << ": "
                                << bytes.size() << " bytes";
      sawNew += fresh;
    }
  }
  // Most of the saver's time is spent saving: a good share of the kills must land inside a
  // save, or this test proves nothing.
  EXPECT_GE(inSave, 200 / 4) << "kills inside a save";
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
