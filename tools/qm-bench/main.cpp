// qm-bench: measures the game headless (offscreen video, dummy audio, software renderer,
// virtual clock) and prints a table, then one JSON object per figure and line.
//
//   qm-bench [--data DIR] [--maps DIR] [--short] [--frames N] [--shots PREFIX] [--present]
//
// --data: the game folder (default: the working folder when it holds maps/ and gfx/, else the
// build's game folder). --maps: the folder whose file "1" is the large Board (default: the
// one the build compiles from tests/bench/large.lvl). --short: a quick run that only checks
// that every figure can be measured. --shots: saves the last measured frame of each kind as
// PREFIX-1080.png, PREFIX-details-1080.png and PREFIX-1440.png, to look at what was timed.
// --present: where a display exists, whole frames (drawing and present) on a real window at
// 1920 x 1080 and 3840 x 2160 (scale 2) and the idle menu's CPU; else the headless figures.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/play/StartLevel.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

namespace fs = std::filesystem;
using namespace qm::bench;

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: qm-bench [--data DIR] [--maps DIR] [--short] [--frames N] [--shots PREFIX] "
               "[--present]\n");
}

bool IsGameFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder / "gfx", ec) && fs::is_directory(folder / "dico-english", ec);
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (arg == "--data") {
      if (!value(options.dataFolder)) return false;
    } else if (arg == "--maps") {
      if (!value(options.mapsFolder)) return false;
    } else if (arg == "--shots") {
      if (!value(options.shots)) return false;
    } else if (arg == "--frames") {
      std::string n;
      if (!value(n)) return false;
      options.frames = std::atoi(n.c_str());
      if (options.frames < 1 || options.frames > 100000) return false;
    } else if (arg == "--present") {
      options.present = true;
    } else if (arg == "--short") {
      options.frames = 60;
      options.warmUpFrames = 10;
      options.levelStarts = 2;
      options.startups = 1;
      options.validations = 20;
      options.lookups = 200;
      options.hints = 5;
      options.generateSeeds = 1;
    } else {
      return false;
    }
  }
  return true;
}

double PeakRssMb() {
  rusage self{};
  rusage children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  return static_cast<double>(std::max(self.ru_maxrss, children.ru_maxrss)) / 1024.0;  // kB
}

void Print(const Report& report) {
  std::printf("%-30s %12s %-5s %-8s %s\n", "figure", "value", "unit", "goal", "");
  for (const Figure& f : report.figures) {
    std::printf("%-30s %12.2f %-5s %-8s %s\n", f.name.c_str(), f.value, f.unit.c_str(),
                f.goal.c_str(), f.goal.empty() ? "" : (f.met ? "met" : "NOT MET"));
  }
  for (const std::string& note : report.notes) std::printf("  %s\n", note.c_str());
  for (const Figure& f : report.figures) {
    if (f.unit.empty()) {
      std::printf("{\"%s\": %g}\n", f.name.c_str(), f.value);
    } else {
      std::printf("{\"%s\": %.1f}\n", f.name.c_str(), f.value);
    }
  }
  std::fflush(stdout);
}

// Headless whatever the desktop: the figures are those of the software renderer.
void UseHeadlessDrivers() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (argc == 2 && std::strcmp(argv[1], "--menu-child") == 0) return RunMenuChild();
  if (argc == 2 && std::strcmp(argv[1], "--startup-child") == 0) {
    UseHeadlessDrivers();
    return RunStartUpChild();
  }

  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  const bool onDisplay = options.present && DisplayAvailable();
  if (!onDisplay) UseHeadlessDrivers();
  std::error_code ec;
  if (options.dataFolder.empty())
    options.dataFolder = IsGameFolder(fs::current_path(ec)) ? "." : QM_DATA_DIR;
  if (options.mapsFolder.empty()) options.mapsFolder = QM_BENCH_MAPS;
  const fs::path data = fs::absolute(options.dataFolder, ec);
  const fs::path maps = fs::absolute(options.mapsFolder, ec);
  if (!IsGameFolder(data)) {
    std::fprintf(stderr, "qm-bench: %s is not a game folder (no gfx/ or dico-english/)\n",
                 data.c_str());
    return 2;
  }
  if (!fs::is_regular_file(maps / "1", ec)) {
    std::fprintf(stderr, "qm-bench: no large Board %s\n", (maps / "1").c_str());
    return 2;
  }
  options.self = fs::read_symlink("/proc/self/exe", ec).string();
  options.mapsFolder = maps.string();

  // Profiles would go here; the benchmark saves none, but keeps away from the player's own.
  std::string home = (fs::temp_directory_path() / "qm-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 2;
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  fs::current_path(data, ec);

  Report report;
  int status = 0;
  if (onDisplay) {
    try {
      MeasurePresent(options, qm::Game(), report);
      qm::EndProgram();
    } catch (const qm::ProgramEnded&) {
    }
    Print(report);
    fs::remove_all(home, ec);
    return status;
  }
  if (options.present) {
    report.notes.push_back(
        "--present: no display (DISPLAY is not set), so no real window: the headless figures");
  }
  MeasureStartUp(options, report);
  MeasureGenerator(options, report);
  try {
    OpenEngine(1920, 1080);
    qm::MapGameFolder("maps", maps.string());
    qm::GameState& game = qm::Game();
    PreparePlayer(game);
    MeasureLevelStart(options, game, report);
    MeasureFrames(options, game, "1080", true, report);
    qm::StartLevel(game);
    MeasureRules(options, game, report);
    MeasureHints(options, game, report);
    ReopenScreen(2560, 1440);
    MeasureFrames(options, game, "1440", false, report);
    qm::EndProgram();
  } catch (const qm::ProgramEnded&) {
  }
  const double rss = PeakRssMb();
  report.Add("peak_rss_mb", rss, "MB", "<= 250", rss <= 250);
  Print(report);
  fs::remove_all(home, ec);
  return status;
}
