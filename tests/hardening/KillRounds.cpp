#include "tests/hardening/KillRounds.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

extern char** environ;

namespace qm::hard {
namespace {

// Starts the saver and waits until it has saved once.
pid_t StartSaver(const KillPlan& plan) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = plan.program, argument = plan.argument;
  char* argv[] = {program.data(), argument.data(), nullptr};
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

bool TemporaryFileLeft(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().filename().string().rfind(".", 0) == 0) return true;
  return false;
}

}  // namespace

KillTally RunKillRounds(const KillPlan& plan,
                        const std::function<testing::AssertionResult(int round)>& check) {
  std::mt19937 rng(plan.seed);
  std::uniform_int_distribution<int> sleep(0, plan.maxSleepMicros);
  KillTally tally;
  // How much of the saver's time is spent inside a save depends on the machine and the build
  // (a sanitizer build spends more outside it): go on until enough kills landed inside one.
  while (tally.rounds < plan.maxRounds &&
         (tally.rounds < plan.minRounds || tally.inSave < plan.minInSave)) {
    const int round = tally.rounds++;
    pid_t pid = StartSaver(plan);
    if (pid <= 0) {
      ADD_FAILURE() << "cannot start " << plan.program;
      break;
    }
    usleep(static_cast<useconds_t>(sleep(rng)));
    kill(pid, SIGKILL);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFSIGNALED(status)) {
      ADD_FAILURE() << "the saver stopped by itself in round " << round;
      break;
    }
    tally.inSave += TemporaryFileLeft(plan.watched);
    testing::AssertionResult judged = check(round);
    if (!judged) {
      ADD_FAILURE() << "after kill " << round + 1 << ": " << judged.message();
      break;
    }
  }
  return tally;
}

}  // namespace qm::hard
