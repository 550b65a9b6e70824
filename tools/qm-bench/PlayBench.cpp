// Level start and frame passes on the large Board, through the real StartLevel and
// RunLevelPass on the engine's offscreen screen and software renderer.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
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

namespace qm::bench {
namespace {

constexpr int kBenchLevel = 1;  // the large Board is "maps\1" of the benchmark's maps folder
constexpr int kSlotCount = 12;

// Ten ChatLog lines of the lengths a game shows.
const char* const kChatLines[10] = {
    "cat - Ok",
    " Validation (Ask your word and confirm it) ",
    "HOUSE : 24 - ASH : 9 - EAT : 6 - ",
    "zebra - ERROR: This word does not exist ! ",
    " A word x3 cell: the whole word counts three times ",
    "garden - Ok",
    " Error : mnop ",
    "TAB: your objective (and the details of your points) ",
    " Silver key: the silver locks open ",
    " +100 points ",
};

void SetScreenSize(GameState& game) {
  auto& program = game.program;
  program.windowId = MainWindowId();
  program.screenWidth = ScreenWidth();
  program.screenHeight = ScreenHeight();
  program.visibleColumnSpan = program.screenWidth / 52 + 2;
  program.visibleRowSpan = program.screenHeight / 45 + 2;
}

}  // namespace

void FillChatLog(GameState& game) {
  const auto now = static_cast<int32_t>(TickCount());
  for (int k = 0; k < 10; ++k)
    game.chat.chatLog[k] = ChatLine{kChatLines[k], static_cast<uint8_t>(k % 9), now};
  game.program.chatLastLine = 9;
}

namespace {

// Picks up the Piece of Easel slot 1 and carries it over the middle of the Board.
void StartDragging(GameState& game) {
  const auto& easel = game.easel;
  InjectMouseMove(easel.left + 26, easel.top + 30);
  RunLevelPass(game);
  InjectMouseButton(MouseButton::kLeft, true);
  RunLevelPass(game);
  InjectMouseMove(game.program.screenWidth / 2, game.program.screenHeight / 2);
  RunLevelPass(game);
}

// The carried Piece circles slowly around the middle of the screen.
void MoveCarriedPiece(const GameState& game, int frame) {
  const double angle = frame * 0.05;
  InjectMouseMove(
      game.program.screenWidth / 2 + static_cast<int>(std::lround(120 * std::cos(angle))),
      game.program.screenHeight / 2 + static_cast<int>(std::lround(80 * std::sin(angle))));
}

void Release(GameState& game) {
  InjectMouseButton(MouseButton::kLeft, false);
  InjectKey(kKeyTab, false);
  RunLevelPass(game);
}

}  // namespace

void OpenEngine(int width, int height) {
  SetHeadlessScreenSize(width, height);
  UseVirtualClock(true, 1000, 16);
  SetEndProgramThrows(true);
  RunScreen(Game(), Screen::kStartUp);
}

void ReopenScreen(int width, int height) {
  CloseGameScreen();
  SetHeadlessScreenSize(width, height);
  OpenGameScreen("Quillmosaica2");
  HideSystemPointer();
  SetScreenSize(Game());
  ProgramState& program = Game().program;
  PumpWindowEvents(program);
  ResetMouseMove(program);
}

void PreparePlayer(GameState& game) {
  SetScreenSize(game);
  game.players.speakerNames[0] = "Benchmark";
  game.players.levelsReached[0] = 12;
  game.players.scores[0] = 123456;
  game.players.avatars[0] = 3;
  RunScreen(game, Screen::kPrepareGame);
  game.menu.currentLevel = kBenchLevel;
  game.easel.carriedSlotCount = kSlotCount;
  game.program.musicTrack = 1;  // music on: the level start loads and plays its module
}

void MeasureLevelStart(const Options& options, GameState& game, Report& report) {
  std::vector<double> runs;
  for (int i = 0; i < options.levelStarts; ++i) {
    const auto start = WallClock::now();
    StartLevel(game);
    const uint64_t presents = PresentCount();
    while (PresentCount() == presents) {
      if (RunLevelPass(game)) break;
    }
    runs.push_back(MillisecondsSince(start));
  }
  const double median = Median(runs);
  report.Add("start_level_ms", median, "ms", "<= 150", median <= 150);
  report.notes.push_back(
      "start_level_ms: median of " + std::to_string(runs.size()) +
      " StartLevel calls on the large Board, each to its first present (first call " +
      Fixed(runs.front()) + " ms)");
}

void MeasureFrames(const Options& options, GameState& game, const std::string& tag, bool details,
                   Report& report) {
  StartLevel(game);
  FillChatLog(game);
  StartDragging(game);
  int frame = 0;
  for (int i = 0; i < options.warmUpFrames; ++i) {
    MoveCarriedPiece(game, frame++);
    RunLevelPass(game);
  }
  std::vector<double> times, cpuTimes;
  times.reserve(static_cast<size_t>(options.frames));
  const uint64_t glyphs = GlyphRenderCount();
  const uint64_t opens = FileOpenCount();
  for (int i = 0; i < options.frames; ++i) {
    MoveCarriedPiece(game, frame++);
    const auto start = WallClock::now();
    const double cpuStart = ThreadCpuMs();
    RunLevelPass(game);
    times.push_back(MillisecondsSince(start));
    cpuTimes.push_back(ThreadCpuMs() - cpuStart);
  }
  if (!options.shots.empty()) SaveBackBufferPng(options.shots + "-" + tag + ".png");
  const double frames = std::max(1, options.frames);
  const double glyphsPerFrame = static_cast<double>(GlyphRenderCount() - glyphs) / frames;
  const double opensPerFrame = static_cast<double>(FileOpenCount() - opens) / frames;
  if (game.play.dragState != 1)
    report.notes.push_back("frames " + tag + ": the Piece was not carried");

  report.notes.push_back(
      "frames " + tag +
      ": game thread CPU time per pass (what the machine's load does not add): median " +
      Fixed(Median(cpuTimes)) + " ms, p99 " + Fixed(Percentile(cpuTimes, 99)) + " ms");
  const bool at1080 = tag == "1080";
  const double median = Median(times);
  if (at1080) {
    const double p95 = Percentile(times, 95);
    const double p99 = Percentile(times, 99);
    report.Add("frame_ms_median_1080", median, "ms", "<= 8.3", median <= 8.3);
    report.Add("frame_ms_p95_1080", p95, "ms");
    report.Add("frame_ms_p99_1080", p99, "ms", "<= 12", p99 <= 12);
    report.Add("glyph_renders_per_frame", glyphsPerFrame, "", "0", glyphsPerFrame == 0);
    report.Add("file_opens_per_frame", opensPerFrame, "", "0", opensPerFrame == 0);
  } else {
    const double p99 = Percentile(times, 99);
    report.Add("frame_ms_median_" + tag, median, "ms", "<= 12", median <= 12);
    report.Add("frame_ms_p99_" + tag, p99, "ms");
  }

  if (details) {
    InjectKey(kKeyTab, true);
    for (int i = 0; i < options.warmUpFrames; ++i) {
      MoveCarriedPiece(game, frame++);
      RunLevelPass(game);
    }
    times.clear();
    for (int i = 0; i < options.frames; ++i) {
      MoveCarriedPiece(game, frame++);
      const auto start = WallClock::now();
      RunLevelPass(game);
      times.push_back(MillisecondsSince(start));
    }
    if (!options.shots.empty()) SaveBackBufferPng(options.shots + "-details-" + tag + ".png");
    const double detailsMedian = Median(times);
    report.Add("frame_ms_median_details_" + tag, detailsMedian, "ms");
  }
  Release(game);
}

}  // namespace qm::bench
