#pragma once
// Plays the real screens headless: virtual clock, fixed seed, input injected from a script or
// a replay as the virtual clock reaches each step, and a text dump of the end state.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/GameState.hpp"
#include "game/Screens.hpp"
#include "game/play/HexGrid.hpp"
#include "tests/e2e/Replay.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::e2e {

// Sees the game state, the screen running and the virtual tick.
using Condition = std::function<bool(const GameState&, Screen, uint32_t)>;
using InputChange = std::function<void(InputState&, const GameState&)>;

// A list of waits and input changes, run in order from the virtual clock.
class Script {
 public:
  struct Action {
    enum Kind { kWaitMs, kWaitUntil, kChange, kEnd } kind = kChange;
    uint32_t ms = 0;   // kWaitMs: after the previous step; kWaitUntil, kEnd: time-out
    std::string what;  // said when the step times out or is never reached
    Condition condition;
    InputChange change;
  };

  Script& Wait(uint32_t ms);
  Script& Until(std::string what, Condition condition, uint32_t timeoutMs = 120000);
  Script& UntilScreen(Screen screen, uint32_t timeoutMs = 120000);
  Script& Change(InputChange change);
  Script& Move(int x, int y);
  Script& MoveTo(std::function<std::pair<int, int>(const GameState&)> where);
  Script& Button(char button, bool down);  // 'L', 'R' or 'M'
  Script& Key(int scanCode, bool down, std::string text = "");
  // Presses and releases a key; text is what the release types.
  Script& Tap(int scanCode, std::string text = "", uint32_t holdMs = 48);
  // Types letters (and spaces); an upper-case letter is typed with left Shift held.
  Script& Type(const std::string& letters);
  Script& Click(int x, int y, uint32_t holdMs = 64);
  // Moves there and presses the left button, without a release: for a press that ends the
  // program (or the run), followed by Ends().
  Script& Press(int x, int y);
  Script& Quit();
  // Runs a check of the game state (and of the back buffer) at this point of the script.
  Script& Check(std::function<void(const GameState&)> check, std::string what = "a check");
  // The program must end by itself (a key, a menu row, a stop) within this time. The last
  // step of a script: a run that ends before every step has run is a failure, so a script
  // whose game ends on purpose says so here.
  Script& Ends(uint32_t timeoutMs = 10000);

  std::vector<Action> actions;
};

struct RunResult {
  bool ended = false;  // the game went through EndProgram
  int status = 0;      // the exit status EndProgram was given
  // A script wait that timed out, or a step the run never reached; empty otherwise.
  std::string failure;
  Screen lastScreen = Screen::kStartUp;
  std::vector<Screen> screens;  // every screen run, in order
  bool scriptDone = false;      // every step of the script had run when the game ended
  bool stopped = false;         // the run was stopped before the screen given to StopBefore
};

class Session {
 public:
  // Plays in gameFolder (the working folder); profiles go to a fresh temporary folder.
  explicit Session(std::string gameFolder);
  ~Session();

  const std::string& playersFolder() const { return players_; }
  const std::string& tempFolder() const { return temp_; }

  // Test hook: puts these Pieces on the Easel when `level` starts, before its first frame.
  void PresetEasel(int level, std::vector<int16_t> codes);
  // Test hook run after every level start, before its first frame.
  void OnLevelStart(std::function<void(GameState&)> hook);

  // Test hook: ends the run (shutting the engine down) instead of entering this screen.
  void StopBefore(Screen screen) {
    stopBefore_ = screen;
    stopping_ = true;
  }

  RunResult Run(const Script& script, uint32_t seed = 1, int width = 1024, int height = 768);
  RunResult Play(const Replay& replay);

  // The input of the last run in the replay format.
  std::string RecordedReplay() const;

 private:
  void OnTick(uint32_t tick);
  void Apply(const InputState& next, uint32_t tick);
  RunResult RunScreens();

  test::TempFolder tempFolder_{"qm-e2e"};
  std::string gameFolder_, temp_, players_, oldCwd_;
  std::vector<EaselPreset> easels_;
  std::vector<std::function<void(GameState&)>> levelHooks_;
  const Script* script_ = nullptr;
  size_t next_ = 0;
  uint32_t mark_ = 0;  // tick of the last step done
  uint32_t lastTick_ = 0;
  InputState input_;
  Screen current_ = Screen::kStartUp;
  Replay recorded_;
  std::string failure_;
  Screen stopBefore_ = Screen::kStartUp;
  bool stopping_ = false;
};

// Screen names as the dump writes them.
std::string ScreenName(Screen screen);
// screen, level, player, score, Easel, this turn's laid Pieces and every Piece on the Board.
std::string DumpState(const GameState& game, Screen screen);

// Three Cells in a line through GO that take Pieces and lie on screen, in reading order;
// none when the level has no such line.
std::vector<CellPos> WordCellsThroughGo(const GameState& game);
// Where to point at a Cell, or at Easel slot k (1 the first), on the screen of this pass.
std::pair<int, int> CellMiddle(const GameState& game, CellPos p);
std::pair<int, int> SlotMiddle(const GameState& game, int k);
// Drags Easel slots 1 to count onto cells[0] to cells[count - 1], each over about 0.2 s. The
// cells are read when the steps run, so they may be found by an earlier step.
void DragSlotsOntoCells(Script& s, const std::vector<CellPos>& cells, int count);
// A condition of Until: the play loop is running.
bool Running(const GameState& game, Screen screen, uint32_t tick);

// The bytes of a file, or nothing when it does not exist.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A small game folder for the menus: "maps\i" files holding only a level title head.
void MakeMenuFolder(const std::string& folder, const std::vector<std::string>& titles);

// The full game folder made by the data tools, or empty when it has not been made.
std::string FullGameFolder();

}  // namespace qm::e2e
