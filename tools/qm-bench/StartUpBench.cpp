// Start-up: process start to the first title frame, measured on the real StartUp and title
// screens run in a child process (this same executable started with --startup-child), so
// the figure includes loading the program and its libraries.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Clock.hpp"
#include "engine/TestHooks.hpp"
#include "game/GameState.hpp"
#include "game/Screens.hpp"
#include "game/flow/EndProgram.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

extern char** environ;

namespace qm::bench {
namespace {

int64_t WallNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(WallClock::now().time_since_epoch())
      .count();
}

// One child run: milliseconds from the spawn to its first present, or a negative value.
double OneStartUp(const Options& options) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, channel[0]);
  posix_spawn_file_actions_addclose(&actions, channel[1]);
  std::string flag = "--startup-child";
  char* argv[] = {const_cast<char*>(options.self.c_str()), flag.data(), nullptr};
  pid_t child = 0;
  const int64_t start = WallNanoseconds();
  int failed = posix_spawn(&child, options.self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(channel[1]);
  if (failed != 0) {
    close(channel[0]);
    return -1;
  }
  std::string said;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<size_t>(got));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  long long presented = std::atoll(said.c_str());
  if (presented <= start) return -1;
  return static_cast<double>(presented - start) / 1e6;
}

}  // namespace

int RunStartUpChild() {
  alarm(60);  // a start-up that never presents must not hang the benchmark
  UseVirtualClock(true, 0, 16);
  SetEndProgramThrows(true);
  SetVirtualClockListener([](uint32_t) {
    if (PresentCount() == 0) return;
    std::printf("%lld\n", static_cast<long long>(WallNanoseconds()));
    std::fflush(stdout);
    _exit(0);
  });
  try {
    Screen next = RunScreen(Game(), Screen::kStartUp);
    RunScreen(Game(), next);
  } catch (const ProgramEnded&) {
  }
  std::fprintf(stderr, "qm-bench: the start-up presented no title frame\n");
  return 1;
}

void MeasureStartUp(const Options& options, Report& report) {
  std::vector<double> runs;
  for (int i = 0; i < options.startups; ++i) {
    double ms = OneStartUp(options);
    if (ms >= 0) runs.push_back(ms);
  }
  if (runs.empty()) {
    report.notes.push_back("start-up: the child process failed; startup_ms is -1");
    report.Add("startup_ms", -1, "ms", "<= 500", false);
    return;
  }
  double median = Median(runs);
  report.Add("startup_ms", median, "ms", "<= 500", median <= 500);
  report.notes.push_back("startup_ms: median of " + std::to_string(runs.size()) +
                         " child processes (this program run again with --startup-child: the real "
                         "StartUp and title screens), from the spawn to the first title present");
}

}  // namespace qm::bench
