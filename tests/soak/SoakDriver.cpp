#include "tests/soak/SoakDriver.hpp"

#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "game/play/GeneratedLevels.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define QM_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_SOAK_ASAN 1
#endif
#endif
#ifdef QM_SOAK_ASAN
// From the sanitizer runtime: live heap bytes, not counting the quarantine of freed blocks.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Random.hpp"
#include "engine/TestHooks.hpp"
#include "game/GameState.hpp"
#include "game/Screens.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/play/Board.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Easel.hpp"
#include "tests/e2e/Replay.hpp"
#include "tests/e2e/Session.hpp"

namespace fs = std::filesystem;

namespace qm::soak {
namespace {

using e2e::InputState;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Step {
  uint32_t delayMs;  // wait after this change before the next one
  std::function<void(InputState&)> change;
};

// C, A, T: put on the Easel at every level start, so that a word can be played on GO.
constexpr int16_t kWord[] = {3, 1, 20};

// Pieces on the Board that are not this turn's: they rise only when a turn is accepted.
int PermanentPieces(const GameState& g) {
  int n = 0;
  for (int16_t code : g.board.cells) n += code >= 1 && code <= 130;
  for (int k = 1; k <= 20; ++k) n -= g.easel.laid[k].column >= 0;
  return n;
}

bool InMenus(Screen s) {
  return s == Screen::kPlayerMenuEntry || s == Screen::kPlayerMenuReturn || s == Screen::kTitle;
}

// Chooses gestures from the screen being run and the game state, and plays them step by step
// as the virtual clock moves.
class Driver {
 public:
  Driver(uint32_t seed, uint64_t frames) : rng_(seed), frameTarget_(frames) {}

  Screen screen = Screen::kStartUp;
  uint64_t frames = 0;
  int movesAccepted = 0;

  void LevelStarted() { permanent_ = -1; }

  void StartRun() {
    input_ = InputState{};
    queue_.clear();
    quitting_ = false;
    nextAt_ = 0;
    lastPresents_ = PresentCount();
  }

  bool Done() const { return frames >= frameTarget_; }

  void OnTick(uint32_t tick) {
    uint64_t presents = PresentCount();
    frames += presents >= lastPresents_ ? presents - lastPresents_ : presents;
    lastPresents_ = presents;
    if (screen == Screen::kRunLevel) {
      int n = PermanentPieces(Game());
      if (permanent_ >= 0 && n > permanent_) ++movesAccepted;
      permanent_ = n;
    }
    if (quitting_) return;
    if (Done()) {
      InputState next = input_;
      next.quit = true;
      e2e::InjectChange(input_, next);
      input_ = next;
      quitting_ = true;
      return;
    }
    if (tick < nextAt_) return;
    if (queue_.empty()) Plan();
    Step step = std::move(queue_.front());
    queue_.pop_front();
    InputState next = input_;
    step.change(next);
    e2e::InjectChange(input_, next);
    input_ = next;
    input_.text.clear();
    nextAt_ = tick + step.delayMs;
  }

 private:
  int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(int percent) { return Random(1, 100) <= percent; }

  void Add(uint32_t delay, std::function<void(InputState&)> change) {
    queue_.push_back({delay, std::move(change)});
  }
  void Move(int x, int y, uint32_t delay = 32) {
    Add(delay, [x, y](InputState& s) {
      s.x = x;
      s.y = y;
    });
  }
  void Button(char b, bool down, uint32_t delay = 48) {
    Add(delay, [b, down](InputState& s) {
      (b == 'L' ? s.left : b == 'R' ? s.right : s.middle) = down;
    });
  }
  void Click(int x, int y) {
    Move(x, y);
    Button('L', true, static_cast<uint32_t>(Random(20, 120)));
    Button('L', false);
  }
  void Tap(int key, const std::string& text = "", uint32_t hold = 40) {
    Add(hold, [key](InputState& s) { s.keys.insert(key); });
    Add(40, [key, text](InputState& s) {
      s.keys.erase(key);
      s.text = text;
    });
  }
  void Type(const std::string& letters) {
    for (char c : letters) {
      if (c == ' ') {
        Tap(kKeySpace, " ");
      } else if (c >= 'A' && c <= 'Z') {
        Add(16, [](InputState& s) { s.keys.insert(kKeyLeftShift); });
        Tap(e2e::LetterScanCode(c), std::string(1, c));
        Add(16, [](InputState& s) { s.keys.erase(kKeyLeftShift); });
      } else if (e2e::LetterScanCode(c) != 0) {
        Tap(e2e::LetterScanCode(c), std::string(1, c));
      } else {
        Tap(e2e::LetterScanCode('q'), std::string(1, c));  // any key may type any character
      }
    }
  }
  std::string Letters(int count) {
    std::string s;
    for (int k = 0; k < count; ++k)
      s += Chance(10) ? ' ' : static_cast<char>((Chance(20) ? 'A' : 'a') + Random(0, 25));
    return s;
  }

  void RandomKey(bool allowEscape) {
    static const int kKeys[] = {kKeyEscape, kKeyTab,   kKeyReturn, kKeySpace,   kKeyBackspace,
                                kKeyLeft,   kKeyRight, kKeyUp,     kKeyHome,    kKeyEnd,
                                kKeyDelete, kKeyF2,    kKeyF4,     kKeyPadEnter};
    int key = kKeys[Random(allowEscape ? 0 : 1, static_cast<int>(std::size(kKeys)) - 1)];
    Tap(key, "", static_cast<uint32_t>(Random(16, 400)));
  }

  void Wander() {
    for (int k = Random(1, 4); k > 0; --k)
      Move(Random(0, kWidth - 1), Random(0, kHeight - 1), Random(10, 90));
  }

  void Drag(char button) {
    Move(Random(0, kWidth - 1), Random(0, kHeight - 1));
    Button(button, true);
    for (int k = Random(1, 6); k > 0; --k)
      Move(Random(0, kWidth - 1), Random(0, kHeight - 1), Random(16, 60));
    Button(button, false);
  }

  // Escape in the player menu ends the program: the menus ask for it on purpose, rarely.
  void PlanCommon(bool allowEscape = true) {
    int pick = Random(0, 99);
    if (pick < 30) {
      Wander();
    } else if (pick < 50) {
      Click(Random(0, kWidth - 1), Random(0, kHeight - 1));
    } else if (pick < 62) {
      Drag('L');
    } else if (pick < 70) {
      Drag('R');
    } else if (pick < 73) {
      Move(Random(0, kWidth - 1), Random(0, kHeight - 1));
      Button('M', true);
      Button('M', false);
    } else if (pick < 95) {
      RandomKey(allowEscape);
    } else if (pick < 97) {
      Add(static_cast<uint32_t>(Random(30, 300)), [](InputState& s) { s.focus = false; });
      Add(32, [](InputState& s) { s.focus = true; });
    } else {
      Move(-1, -1, static_cast<uint32_t>(Random(16, 200)));
    }
  }

  void PlanPlayerMenu() {
    int pick = Random(0, 99);
    if (pick < 25) {
      Click(512, 24 * 13 + 6);  // New player
      Type(Letters(Chance(10) ? 140 : Random(0, 10)));
      if (Chance(20)) Tap(Chance(50) ? kKeyLeft : kKeyRight);
      if (Chance(15)) Tap(kKeyBackspace);
      Tap(Chance(85) ? kKeyReturn : kKeyEscape, "", 60);
    } else if (pick < 70) {
      Click(512, Random(1, 6) * 13 + 6);  // a player
    } else if (pick < 71) {
      Tap(kKeyEscape);  // ends the program; the soak starts it again
    } else {
      PlanCommon(false);
    }
  }

  void PlanLevelMenu() {
    int pick = Random(0, 99);
    if (pick < 60) {
      Click(512, Random(1, 4) * 13 + 6);
    } else if (pick < 66) {
      Tap(kKeyEscape);
    } else {
      PlanCommon(false);
    }
  }

  void PlanLevel() {
    const GameState& g = Game();
    const EaselState& e = g.easel;
    const int n = std::clamp<int>(e.slots[0], 1, 20);
    const int left = 512 - n * 26, top = kHeight - 62;
    int pick = Random(0, 99);
    if (g.play.endTick != 0 && Chance(30)) {
      Tap(kKeyEscape);  // the result panel: go on
    } else if (pick < 10 && PlanWord(g)) {
    } else if (pick < 22) {  // a Piece from the Easel onto the Board
      Move(left + Random(0, n - 1) * 52 + 26, top + Random(5, 55));
      Button('L', true);
      Move(Random(0, kWidth - 1), Random(0, top - 10), Random(30, 90));
      Move(Random(0, kWidth - 1), Random(0, top - 10), Random(30, 90));
      Button('L', false);
    } else if (pick < 30) {  // take back
      Move(Random(0, kWidth - 1), Random(0, top - 10));
      Button('R', true);
      Button('R', false);
    } else if (pick < 38) {
      Tap(Chance(70) ? kKeySpace : kKeyF2);
    } else if (pick < 42) {
      Tap(kKeyTab, "", static_cast<uint32_t>(Random(50, 900)));
    } else if (pick < 50) {  // a chat line
      Tap(kKeyReturn, "", 60);
      Type(Letters(Random(0, 12)));
      if (Chance(30)) Tap(kKeyBackspace);
      if (Chance(20)) Tap(kKeyLeft);
      if (Chance(20)) Tap(kKeyDelete);
      Tap(kKeyReturn, "", 60);
    } else if (pick < 53) {  // the level-skip command
      Tap(kKeyReturn, "", 60);
      Type("~~~");
      Tap(kKeyReturn, "", 60);
    } else if (pick < 55) {  // EXIT: left and right held on the square
      Move(kWidth - 7, 6);
      Button('L', true);
      Button('R', true, 120);
      Button('R', false);
      Button('L', false);
    } else if (pick < 62) {  // an exchange token, marks, a dialog button
      int k = Random(0, 2);
      Click(left + n * 52 - 62 + 28 * k, top - 12);
      for (int m = Random(0, 3); m > 0; --m) Click(left + Random(0, n - 1) * 52 + 26, top + 30);
      Click(Chance(50) ? 430 : 594, top - 244);
    } else if (pick < 74) {  // the option panels at the edges, the validation button
      switch (Random(0, 4)) {
        case 0:
          Click(10, kHeight - 224 + 20 * Random(1, 5) + 10);
          break;
        case 1:
          Click(kWidth - 10, kHeight - 160 + 20 * Random(1, 7) + 10);
          break;
        case 2:
          Click(10, kHeight - 111 + 20 * Random(1, 3) + 10);
          break;
        case 3:
          Click(10, 20 * Random(0, 2) + 10);
          break;
        default:
          Click(12, kHeight - 12);
          break;
      }
    } else if (pick < 77) {
      Tap(kKeyEscape);
    } else {
      PlanCommon();
    }
  }

  // "cat" laid on GO from wherever its letters lie on the Easel, then validated; false when
  // the letters or the Cells are gone.
  bool PlanWord(const GameState& g) {
    const std::vector<CellPos> cells = e2e::WordCellsThroughGo(g);
    if (cells.size() != 3) return false;
    int slots[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      for (int k = 1; k <= g.easel.slots[0] && k <= 20 && slots[i] == 0; ++k) {
        if (g.easel.slots[k] == kWord[i] && k != slots[0] && k != slots[1]) slots[i] = k;
      }
      if (slots[i] == 0) return false;
    }
    for (int i = 0; i < 3; ++i) {
      int x = 0, y = 0;
      CellToScreen(g.board, cells[i].column, cells[i].row, x, y);
      Move(g.easel.left + (slots[i] - 1) * 52 + 26, g.easel.top + 31);
      Button('L', true, 64);
      Move(x + 26, y + 28, 64);
      Button('L', false, 64);
    }
    Tap(kKeySpace);
    return true;
  }

  void Plan() {
    if (InMenus(screen)) {
      PlanPlayerMenu();
    } else if (screen == Screen::kLevelMenu) {
      PlanLevelMenu();
    } else if (screen == Screen::kRunLevel) {
      PlanLevel();
    } else {
      PlanCommon();
    }
    if (queue_.empty()) Wander();
  }

  std::mt19937 rng_;
  uint64_t frameTarget_;
  std::deque<Step> queue_;
  InputState input_;
  uint32_t nextAt_ = 0;
  uint64_t lastPresents_ = 0;
  bool quitting_ = false;
  int permanent_ = -1;
};

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int64_t LiveHeapBytes() {
#ifdef QM_SOAK_ASAN
  return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<int64_t>(mallinfo2().uordblks);
#endif
}

std::string CheckProfileFolder(const std::string& playersFolder, int* count) {
  std::string problems;
  int files = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(playersFolder, ec)) {
    std::string name = entry.path().filename().string();
    std::string bytes = FileBytes(entry.path());
    ++files;
    if (name.find_first_not_of("0123456789") != std::string::npos) {
      problems += name + ": not a profile (a save left a file behind); ";
      continue;
    }
    int length = bytes.empty() ? -1 : static_cast<int8_t>(bytes[0]);
    if (length < 0 || bytes.size() != static_cast<size_t>(16 + length)) {
      problems += name + ": " + std::to_string(bytes.size()) + " bytes, not a whole profile; ";
    }
  }
  if (count != nullptr) *count = files;
  return problems;
}

SoakReport RunSoak(const std::string& gameFolder, const std::string& playersFolder, uint64_t frames,
                   uint32_t seed) {
  SoakReport report;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  MapGameFolder("players", playersFolder);
  const fs::path oldFolder = fs::current_path();
  fs::current_path(gameFolder);
  SetHeadlessScreenSize(kWidth, kHeight);
  UseVirtualClock(true, 0, 16);
  SeedRandom(seed);
  SetEndProgramThrows(true);

  Driver driver(seed, frames);
  SetVirtualClockListener([&driver](uint32_t tick) { driver.OnTick(tick); });
  while (!driver.Done()) {
    ++report.programRuns;
    driver.StartRun();
    Screen s = Screen::kStartUp;
    try {
      for (;;) {
        driver.screen = s;
        Screen from = s;
        s = RunScreen(Game(), s);
        if (from == Screen::kStartLevel) {
          GameState& game = Game();
          for (int i = 0; i < 3 && i < game.easel.slots[0]; ++i) game.easel.slots[i + 1] = kWord[i];
          LayOutEasel(game.easel, game.program.screenHeight);
          DrawEasel(game);
          driver.LevelStarted();
          ++report.levelStarts;
          report.levelsPlayed.insert(Game().menu.currentLevel);
          // A level being made on the worker (and the words it loads once) is not the game's
          // growth: sample the heap when the worker is idle.
          WaitForPreparedLevels();
          report.heapAtLevelStart.push_back(LiveHeapBytes());
        }
        if (from == Screen::kExitToPlayerMenu) ++report.exitsToMenu;
      }
    } catch (const ProgramEnded&) {
    }
    std::string problems = CheckProfileFolder(playersFolder, &report.profilesWritten);
    if (!problems.empty())
      report.problems.push_back("run " + std::to_string(report.programRuns) + ": " + problems);
  }
  SetVirtualClockListener(nullptr);
  SetEndProgramThrows(false);
  UseVirtualClock(false);
  fs::current_path(oldFolder);
  report.frames = driver.frames;
  report.movesAccepted = driver.movesAccepted;
  return report;
}

}  // namespace qm::soak
