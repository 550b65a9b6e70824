// Whole frames on a real window (qm-bench --present): the large Board drawn and presented to
// the display at 1920 x 1080 and at 3840 x 2160 (scale 2), and the CPU the idle player menu
// takes when its presents are paced, measured from outside on a child process.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/Screens.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/flow/Mouse.hpp"
#include "game/play/RunLevel.hpp"
#include "game/play/StartLevel.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

extern char** environ;

namespace qm::bench {
namespace {

constexpr int kMenuSettleMs = 1500;  // the menu loads its pictures and music first
constexpr int kMenuMeasureMs = 5000;

struct Target {
  const char* tag;
  int width, height, scale;
};
constexpr Target kTargets[] = {{"1080", 1920, 1080, 1}, {"2160", 3840, 2160, 2}};

std::string Size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// The settings that give a screen of that size: the full-screen game where the desktop has
// it, else an ordinary window of that inner size.
DisplaySettings SettingsFor(int width, int height, int scale) {
  DisplaySettings settings;
  settings.scale = scale;
  settings.maxFps = 0;
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (!DesktopPixelSize(0, desktopWidth, desktopHeight) || desktopWidth != width ||
      desktopHeight != height) {
    settings.windowed = true;
    settings.windowWidth = width;
    settings.windowHeight = height;
  }
  return settings;
}

// What the open screen really is: window size, logical size and the scale between them.
struct Opened {
  int windowWidth = 0, windowHeight = 0;
  int scale = 1;
  std::string Describe() const {
    return Size(windowWidth, windowHeight) + " window, logical " +
           Size(ScreenWidth(), ScreenHeight()) + ", scale " + std::to_string(scale) + ", " +
           BackBufferKind() + " back buffer";
  }
};

Opened LookAtScreen() {
  Opened opened;
  if (!WindowPixelSize(opened.windowWidth, opened.windowHeight) || ScreenWidth() <= 0) {
    return opened;
  }
  opened.scale = std::max(1, opened.windowWidth / ScreenWidth());
  return opened;
}

// The game's pointer is the real one here; moves land in screen pixels, so a logical
// position is multiplied by the factor the engine divides by (found by trying it, since an
// engine without scaling reads screen pixels as they are).
int PointerFactor(const Opened& opened) {
  if (opened.scale == 1) return 1;
  const int probe = 100;
  WarpPointerInWindow(probe * opened.scale, probe * opened.scale);
  PumpWindowEvents(Game().program);
  return MousePosX(MainWindowId()) == probe ? opened.scale : 1;
}

void MovePointer(int factor, int x, int y) {
  WarpPointerInWindow(x * factor, y * factor);
}

// The scene of the headless frame figures: the Piece of Easel slot 1 carried in a circle
// around the middle of the Board, the ChatLog full.
void StartScene(GameState& game, int factor) {
  StartLevel(game);
  FillChatLog(game);
  const auto& easel = game.easel;
  MovePointer(factor, easel.left + 26, easel.top + 30);
  RunLevelPass(game);
  InjectMouseButton(MouseButton::kLeft, true);
  RunLevelPass(game);
  MovePointer(factor, game.program.screenWidth / 2, game.program.screenHeight / 2);
  RunLevelPass(game);
}

void StepScene(const GameState& game, int factor, int frame) {
  const double angle = frame * 0.05;
  MovePointer(factor,
              game.program.screenWidth / 2 + static_cast<int>(std::lround(120 * std::cos(angle))),
              game.program.screenHeight / 2 + static_cast<int>(std::lround(80 * std::sin(angle))));
}

void MeasureWholeFrames(const Options& options, GameState& game, const Target& target,
                        const Opened& opened, Report& report) {
  const int factor = PointerFactor(opened);
  StartScene(game, factor);
  int frame = 0;
  for (int i = 0; i < options.warmUpFrames; ++i) {
    StepScene(game, factor, frame++);
    RunLevelPass(game);
  }
  std::vector<double> times, cpuTimes;
  times.reserve(static_cast<size_t>(options.frames));
  const uint64_t presents = PresentCount();
  for (int i = 0; i < options.frames; ++i) {
    StepScene(game, factor, frame++);
    const auto start = WallClock::now();
    const double cpuStart = ThreadCpuMs();
    RunLevelPass(game);
    times.push_back(MillisecondsSince(start));
    cpuTimes.push_back(ThreadCpuMs() - cpuStart);
  }
  const std::string tag = target.tag;
  if (!options.shots.empty()) SaveBackBufferPng(options.shots + "-present-" + tag + ".png");
  if (PresentCount() - presents != static_cast<uint64_t>(options.frames))
    report.notes.push_back("present " + tag + ": not every pass presented a frame");
  if (game.play.dragState != 1)
    report.notes.push_back("present " + tag + ": the Piece was not carried");
  InjectMouseButton(MouseButton::kLeft, false);
  RunLevelPass(game);

  const double median = Median(times);
  const double p99 = Percentile(times, 99);
  const double goal = target.scale == 1 ? 6 : 14;
  report.Add("e2e_frame_ms_median_" + tag, median, "ms",
             "<= " + std::to_string(static_cast<int>(goal)), median <= goal);
  report.Add("e2e_frame_ms_p99_" + tag, p99, "ms");
  report.Add("e2e_scale_" + tag, opened.scale, "");
  std::string note = "present " + tag + ": " + std::to_string(times.size()) +
                     " whole frames (drawing and present, pacing off) on a " + opened.Describe();
  if (opened.scale != target.scale || opened.windowWidth != target.width ||
      opened.windowHeight != target.height) {
    note += " (asked for " + Size(target.width, target.height) + " at scale " +
            std::to_string(target.scale) + ")";
  }
  report.notes.push_back(note);
  report.notes.push_back("present " + tag +
                         ": game thread CPU time per frame (the X server's share not counted): "
                         "median " +
                         Fixed(Median(cpuTimes)) + " ms, p99 " + Fixed(Percentile(cpuTimes, 99)) +
                         " ms");
}

// Utime plus stime of a process, in seconds, from /proc; negative when unreadable.
double ProcessCpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return -1;
  // The command name may hold spaces: the fields that follow start after its ')'.
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  long long utime = -1;
  long long stime = -1;
  for (int n = 3; fields >> field; ++n) {
    if (n == 14) utime = std::atoll(field.c_str());
    if (n == 15) {
      stime = std::atoll(field.c_str());
      break;
    }
  }
  if (utime < 0 || stime < 0) return -1;
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void MeasureMenuCpu(const Options& options, Report& report) {
  int channel[2];
  if (pipe(channel) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, channel[0]);
  posix_spawn_file_actions_addclose(&actions, channel[1]);
  std::string flag = "--menu-child";
  char* argv[] = {const_cast<char*>(options.self.c_str()), flag.data(), nullptr};
  pid_t child = 0;
  const int failed = posix_spawn(&child, options.self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(channel[1]);
  if (failed != 0) {
    close(channel[0]);
    report.notes.push_back("menu: the child process could not start; menu_cpu_pct is -1");
    report.Add("menu_cpu_pct", -1, "%", "<= 25", false);
    return;
  }
  // The child says what it opened once its screen is up, then sits in the menu.
  std::string said;
  char c = 0;
  while (read(channel[0], &c, 1) == 1 && c != '\n') said += c;
  double cpu = -1;
  if (!said.empty()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kMenuSettleMs));
    const double before = ProcessCpuSeconds(child);
    const auto start = WallClock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(kMenuMeasureMs));
    const double after = ProcessCpuSeconds(child);
    const double wall = MillisecondsSince(start) / 1000.0;
    if (before >= 0 && after >= before) cpu = 100.0 * (after - before) / wall;
  }
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  close(channel[0]);
  if (cpu < 0) {
    report.notes.push_back("menu: the child process did not reach the player menu");
    report.Add("menu_cpu_pct", -1, "%", "<= 25", false);
    return;
  }
  report.Add("menu_cpu_pct", cpu, "%", "<= 25", cpu <= 25);
  report.notes.push_back(
      "menu_cpu_pct: the idle player menu, real clock and pacing, CPU time of "
      "its process over " +
      Fixed(kMenuMeasureMs / 1000.0) + " s, on a " + said);
}

}  // namespace

bool DisplayAvailable() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

int RunMenuChild() {
  alarm(120);  // never outlives a parent that did not stop it
  SetEndProgramThrows(true);
  SetDisplaySettings(SettingsFor(1920, 1080, 1));
  try {
    RunScreen(Game(), Screen::kStartUp);
    int width = 0;
    int height = 0;
    if (!WindowPixelSize(width, height)) return 1;
    std::printf("%s\n", LookAtScreen().Describe().c_str());
    std::fflush(stdout);
    for (Screen next = Screen::kPlayerMenuEntry;;) next = RunScreen(Game(), next);
  } catch (const ProgramEnded&) {
  }
  return 1;
}

void MeasurePresent(const Options& options, GameState& game, Report& report) {
  MeasureMenuCpu(options, report);
  // Frames as fast as they come: no retrace wait, no pacing (the virtual clock turns it off).
  setenv("SDL_RENDER_VSYNC", "0", 1);
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (DesktopPixelSize(0, desktopWidth, desktopHeight)) {
    report.notes.push_back("present: desktop " + Size(desktopWidth, desktopHeight) + " (DISPLAY " +
                           (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") + ")");
  }
  bool first = true;
  for (const Target& target : kTargets) {
    SetDisplaySettings(SettingsFor(target.width, target.height, target.scale));
    if (first) {
      OpenEngine(target.width, target.height);
      MapGameFolder("maps", options.mapsFolder);
      PreparePlayer(game);
      first = false;
    } else {
      ReopenScreen(target.width, target.height);
    }
    MeasureWholeFrames(options, game, target, LookAtScreen(), report);
  }
}

}  // namespace qm::bench
