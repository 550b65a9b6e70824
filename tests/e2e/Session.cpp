#include "tests/e2e/Session.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Random.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Easel.hpp"

namespace fs = std::filesystem;

namespace qm::e2e {
namespace {

// Thrown from the clock listener when a script wait times out; unwinds to RunScreens.
struct ScriptAbort {
  std::string why;
};

// After the script has nothing left to do, the game gets this long to end by itself.
constexpr uint32_t kIdleLimitMs = 600000;

}  // namespace

// ---- Script -------------------------------------------------------------------------------

Script& Script::Wait(uint32_t ms) {
  Action a;
  a.kind = Action::kWaitMs;
  a.ms = ms;
  a.what = "a wait of " + std::to_string(ms) + " ms";
  actions.push_back(a);
  return *this;
}

Script& Script::Until(std::string what, Condition condition, uint32_t timeoutMs) {
  Action a;
  a.kind = Action::kWaitUntil;
  a.ms = timeoutMs;
  a.what = "waiting for " + what;
  a.condition = std::move(condition);
  actions.push_back(a);
  return *this;
}

Script& Script::UntilScreen(Screen screen, uint32_t timeoutMs) {
  return Until(
      "screen " + ScreenName(screen),
      [screen](const GameState&, Screen s, uint32_t) { return s == screen; }, timeoutMs);
}

Script& Script::Change(InputChange change) {
  Action a;
  a.kind = Action::kChange;
  a.what = "an input change";
  a.change = std::move(change);
  actions.push_back(a);
  return *this;
}

Script& Script::Move(int x, int y) {
  return Change([x, y](InputState& s, const GameState&) {
    s.x = x;
    s.y = y;
  });
}

Script& Script::MoveTo(std::function<std::pair<int, int>(const GameState&)> where) {
  return Change([where](InputState& s, const GameState& g) {
    auto [x, y] = where(g);
    s.x = x;
    s.y = y;
  });
}

Script& Script::Button(char button, bool down) {
  return Change([button, down](InputState& s, const GameState&) {
    if (button == 'L') s.left = down;
    if (button == 'R') s.right = down;
    if (button == 'M') s.middle = down;
  });
}

Script& Script::Key(int scanCode, bool down, std::string text) {
  return Change([scanCode, down, text](InputState& s, const GameState&) {
    if (down) {
      s.keys.insert(scanCode);
    } else {
      s.keys.erase(scanCode);
      s.text = text;
    }
  });
}

Script& Script::Tap(int scanCode, std::string text, uint32_t holdMs) {
  Key(scanCode, true).Wait(holdMs).Key(scanCode, false, std::move(text));
  return Wait(holdMs);
}

Script& Script::Type(const std::string& letters) {
  for (char c : letters) {
    int code = c == ' ' ? kKeySpace : LetterScanCode(c);
    if (code == 0) throw std::invalid_argument("Type takes letters and spaces");
    bool upper = c >= 'A' && c <= 'Z';
    if (upper) Key(kKeyLeftShift, true).Wait(32);
    Tap(code, std::string(1, c));
    if (upper) Key(kKeyLeftShift, false).Wait(32);
  }
  return *this;
}

Script& Script::Click(int x, int y, uint32_t holdMs) {
  Move(x, y).Wait(48).Button('L', true).Wait(holdMs).Button('L', false);
  return Wait(48);
}

Script& Script::Press(int x, int y) {
  return Move(x, y).Wait(48).Button('L', true);
}

Script& Script::Quit() {
  Change([](InputState& s, const GameState&) { s.quit = true; });
  actions.back().what = "closing the window";
  return *this;
}

Script& Script::Check(std::function<void(const GameState&)> check, std::string what) {
  Change([check](InputState&, const GameState& g) { check(g); });
  actions.back().what = std::move(what);
  return *this;
}

Script& Script::Ends(uint32_t timeoutMs) {
  Action a;
  a.kind = Action::kEnd;
  a.ms = timeoutMs;
  a.what = "the end of the program";
  actions.push_back(a);
  return *this;
}

// ---- Session ------------------------------------------------------------------------------

Session::Session(std::string gameFolder) : gameFolder_(std::move(gameFolder)) {
  // No window, no sound card: the dummy video driver draws with the software renderer (the
  // offscreen one would too, through an EGL library that leaks under the leak checker).
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  temp_ = tempFolder_.path();
  players_ = temp_ + "/players";
  fs::create_directories(players_);
  setenv("XDG_DATA_HOME", (temp_ + "/home").c_str(), 1);
  MapGameFolder("players", players_);
  oldCwd_ = fs::current_path().string();
}

Session::~Session() {
  SetVirtualClockListener(nullptr);
  std::error_code ec;
  fs::current_path(oldCwd_, ec);
}

void Session::PresetEasel(int level, std::vector<int16_t> codes) {
  easels_.push_back({level, std::move(codes)});
}

void Session::OnLevelStart(std::function<void(GameState&)> hook) {
  levelHooks_.push_back(std::move(hook));
}

void Session::Apply(const InputState& next, uint32_t tick) {
  if (next.SameHeld(input_) && next.text.empty()) return;  // a check: nothing to inject
  InjectChange(input_, next);
  recorded_.lines.push_back({tick, next});
  input_ = next;
  input_.text.clear();  // typed text belongs to the one line that released its keys
}

void Session::OnTick(uint32_t tick) {
  lastTick_ = tick;
  if (script_ == nullptr) return;
  while (next_ < script_->actions.size()) {
    const Script::Action& a = script_->actions[next_];
    if (a.kind == Script::Action::kWaitMs) {
      if (tick < uint64_t{mark_} + a.ms) return;
    } else if (a.kind == Script::Action::kWaitUntil) {
      if (!a.condition(Game(), current_, tick)) {
        if (tick > uint64_t{mark_} + a.ms) throw ScriptAbort{"timed out " + a.what};
        return;
      }
    } else if (a.kind == Script::Action::kEnd) {
      if (tick > uint64_t{mark_} + a.ms)
        throw ScriptAbort{"the program did not end within " + std::to_string(a.ms) + " ms"};
      return;
    } else {
      InputState next = input_;
      a.change(next, Game());
      Apply(next, tick);
    }
    mark_ = tick;
    ++next_;
  }
  if (tick > uint64_t{mark_} + kIdleLimitMs)
    throw ScriptAbort{"the script ended but the game did not"};
}

RunResult Session::RunScreens() {
  RunResult result;
  failure_.clear();
  fs::current_path(gameFolder_);
  SetEndProgramThrows(true);
  SetVirtualClockListener([this](uint32_t tick) { OnTick(tick); });
  Screen s = Screen::kStartUp;
  try {
    for (;;) {
      if (stopping_ && s == stopBefore_) {
        result.stopped = true;
        SetVirtualClockListener(nullptr);
        EndProgram();
      }
      current_ = s;
      result.screens.push_back(s);
      Screen from = s;
      s = RunScreen(Game(), s);
      if (from == Screen::kStartLevel) {
        GameState& game = Game();
        for (const EaselPreset& e : easels_) {
          if (e.level != game.menu.currentLevel) continue;
          game.easel.slots.fill(0);
          game.easel.slots[0] = static_cast<int16_t>(e.codes.size());
          for (size_t k = 0; k < e.codes.size(); ++k) game.easel.slots[k + 1] = e.codes[k];
          LayOutEasel(game.easel, game.program.screenHeight);
          DrawEasel(game);
        }
        for (auto& hook : levelHooks_) hook(game);
      }
    }
  } catch (const ProgramEnded& end) {
    result.ended = !result.stopped;
    result.status = end.status;
    if (script_ != nullptr && next_ < script_->actions.size() &&
        script_->actions[next_].kind == Script::Action::kEnd)
      ++next_;
  } catch (const ScriptAbort& abort) {
    result.failure = abort.why + " (at tick " + std::to_string(lastTick_) + ", screen " +
                     ScreenName(current_) + ")";
    SetVirtualClockListener(nullptr);
    try {
      EndProgram();
    } catch (const ProgramEnded&) {
    }
  }
  SetVirtualClockListener(nullptr);
  SetEndProgramThrows(false);
  SetGameFolder("");  // a run given --data must not move the next run's paths
  std::error_code ec;
  fs::current_path(oldCwd_, ec);
  result.lastScreen = current_;
  result.scriptDone = script_ != nullptr && next_ >= script_->actions.size();
  // A step never run is a check skipped in silence: the run fails instead.
  if (script_ != nullptr && !result.scriptDone && result.failure.empty()) {
    result.failure = "the program ended at tick " + std::to_string(lastTick_) + " on screen " +
                     ScreenName(current_) + " before step " + std::to_string(next_ + 1) + " of " +
                     std::to_string(script_->actions.size()) + " (" + script_->actions[next_].what +
                     ")";
  }
  return result;
}

RunResult Session::Run(const Script& script, uint32_t seed, int width, int height) {
  recorded_ = Replay{};
  recorded_.seed = seed;
  recorded_.width = width;
  recorded_.height = height;
  recorded_.easels = easels_;
  script_ = &script;
  next_ = 0;
  mark_ = 0;
  input_ = InputState{};
  SetHeadlessScreenSize(width, height);
  UseVirtualClock(true, 0, recorded_.stepMs);
  SeedRandom(seed);
  RunResult result = RunScreens();
  script_ = nullptr;
  return result;
}

RunResult Session::Play(const Replay& replay) {
  for (const EaselPreset& e : replay.easels) easels_.push_back(e);
  Script script;
  for (const ReplayLine& line : replay.lines) {
    uint32_t at = line.tick;
    script.Until(
        "tick " + std::to_string(at),
        [at](const GameState&, Screen, uint32_t tick) { return tick >= at; }, UINT32_MAX);
    InputState state = line.state;
    script.Change([state](InputState& s, const GameState&) { s = state; });
  }
  if (replay.endTick) {
    uint32_t at = *replay.endTick;
    script.Until(
        "the end", [at](const GameState&, Screen, uint32_t tick) { return tick >= at; },
        UINT32_MAX);
    script.Quit();
  }
  recorded_ = Replay{};
  recorded_.seed = replay.seed;
  recorded_.width = replay.width;
  recorded_.height = replay.height;
  recorded_.stepMs = replay.stepMs;
  recorded_.easels = easels_;
  script_ = &script;
  next_ = 0;
  mark_ = 0;
  input_ = InputState{};
  SetHeadlessScreenSize(replay.width, replay.height);
  UseVirtualClock(true, 0, replay.stepMs);
  SeedRandom(replay.seed);
  RunResult result = RunScreens();
  script_ = nullptr;
  return result;
}

std::string Session::RecordedReplay() const {
  Replay r = recorded_;
  // The last line closes the window: write it as the end of the replay.
  if (!r.lines.empty() && r.lines.back().state.quit) {
    r.endTick = r.lines.back().tick;
    r.lines.pop_back();
  }
  return FormatReplay(r);
}

// ---- Dump and files -----------------------------------------------------------------------

std::string ScreenName(Screen screen) {
  switch (screen) {
    case Screen::kStartUp:
      return "StartUp";
    case Screen::kTitle:
      return "Title";
    case Screen::kPlayerMenuEntry:
      return "PlayerMenuEntry";
    case Screen::kPlayerMenuReturn:
      return "PlayerMenuReturn";
    case Screen::kLevelMenu:
      return "LevelMenu";
    case Screen::kPrepareGame:
      return "PrepareGame";
    case Screen::kStartLevel:
      return "StartLevel";
    case Screen::kRunLevel:
      return "RunLevel";
    case Screen::kExitToPlayerMenu:
      return "ExitToPlayerMenu";
    case Screen::kBackToLevelList:
      return "BackToLevelList";
    case Screen::kRecords:
      return "Records";
    case Screen::kEndProgram:
      return "EndProgram";
  }
  return "?";
}

std::string DumpState(const GameState& game, Screen screen) {
  std::ostringstream out;
  const int me = game.program.humanPlayer;
  out << "screen " << ScreenName(screen) << "\n";
  out << "level " << game.menu.currentLevel << "\n";
  out << "player " << game.menu.selectedProfile << " name " << game.players.speakerNames[me]
      << " reached " << int{game.players.levelsReached[me]} << " avatar "
      << int{game.players.avatars[me]} << "\n";
  out << "score " << game.players.scores[me] << "\n";
  int n = game.easel.slots[0];
  out << "easel " << n << ":";
  for (int k = 1; k <= n && k <= 20; ++k) out << ' ' << game.easel.slots[k];
  out << "\n";
  out << "laid";
  for (int k = 1; k <= 20; ++k) {
    const LaidPiece& p = game.easel.laid[k];
    if (p.column >= 0) out << ' ' << p.column << ',' << p.row << '/' << p.under;
  }
  out << "\n";
  out << "pieces";
  const BoardState& b = game.board;
  for (int c = 0; c <= b.w; ++c) {
    for (int r = 0; r <= b.h; ++r) {
      int16_t code = CellCode(b, c, r);
      if (code >= 1 && code <= 130) out << ' ' << c << ',' << r << '=' << code;
    }
  }
  out << "\n";
  return out.str();
}

std::vector<CellPos> WordCellsThroughGo(const GameState& g) {
  const BoardState& b = g.board;
  CellPos go{b.startColumn, b.startRow};
  auto usable = [&](CellPos p) {
    int16_t code = CellCode(b, p.column, p.row);
    if (code <= 156 || code == 219) return false;
    int x = 0, y = 0;
    CellToScreen(b, p.column, p.row, x, y);
    return x >= 0 && x + 52 < g.program.screenWidth && y >= 0 && y + 52 < g.easel.top - 20;
  };
  for (int axis = 0; axis < 3; ++axis) {
    CellPos b1 = StepBack(axis, go), b2 = StepBack(axis, b1);
    CellPos f1 = StepForward(axis, go), f2 = StepForward(axis, f1);
    for (auto cells : {std::vector<CellPos>{go, f1, f2}, std::vector<CellPos>{b1, go, f1},
                       std::vector<CellPos>{b2, b1, go}}) {
      if (std::all_of(cells.begin(), cells.end(), usable)) return cells;
    }
  }
  return {};
}

std::pair<int, int> CellMiddle(const GameState& g, CellPos p) {
  int x = 0, y = 0;
  CellToScreen(g.board, p.column, p.row, x, y);
  return {x + 26, y + 6 + 22};
}

std::pair<int, int> SlotMiddle(const GameState& g, int k) {
  return {g.easel.left + (k - 1) * kEaselSlotWidth + kEaselSlotWidth / 2, g.easel.top + 31};
}

void DragSlotsOntoCells(Script& s, const std::vector<CellPos>& cells, int count) {
  for (int i = 0; i < count; ++i) {
    s.MoveTo([i](const GameState& g) { return SlotMiddle(g, i + 1); }).Wait(48);
    s.Button('L', true).Wait(64);
    s.MoveTo([&cells, i](const GameState& g) { return CellMiddle(g, cells.at(i)); }).Wait(64);
    s.Button('L', false).Wait(64);
  }
}

bool Running(const GameState&, Screen s, uint32_t) {
  return s == Screen::kRunLevel;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

void MakeMenuFolder(const std::string& folder, const std::vector<std::string>& titles) {
  fs::create_directories(folder + "/maps");
  for (size_t i = 0; i < titles.size(); ++i) {
    if (titles[i].empty()) continue;
    std::string head(1, static_cast<char>(titles[i].size()));
    WriteFileBytes(folder + "/maps/" + std::to_string(i + 1), head + titles[i]);
  }
}

std::string FullGameFolder() {
  std::string folder = QM_DATA_DIR;
  if (!fs::exists(folder + "/maps/1") || !fs::exists(folder + "/dico-english")) return {};
  return folder;
}

}  // namespace qm::e2e
