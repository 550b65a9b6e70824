#pragma once
// A small level in play, set up directly in a GameState, and helpers that inject input and
// run single passes of the play loop on the real engine (offscreen video, dummy audio).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "game/GameState.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/flow/Mouse.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/play/RunLevel.hpp"
#include "game/rules/Easel.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::test {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int16_t kSoil = 157;
constexpr int16_t kWall = 131;

// Scan codes of letter keys (set 1).
constexpr int kKeyA = 30;
constexpr int kKeyC = 46;
constexpr int kKeyT = 20;

// A one-second mono WAV, so a click is still playing when a test looks at it.
inline void WriteClickWave(const std::filesystem::path& path) {
  WriteFile(path.string(), WaveBytes(11025, 11025, [](uint32_t i) {
              return static_cast<int16_t>((i % 50) * 300);
            }));
}

// Shuts the engine down after the last test, as the program's end does, so nothing the
// screen, fonts and sounds hold is left for the leak checker.
class PlayEngineShutdown : public ::testing::Environment {
 public:
  void TearDown() override {
    StopMusicModule(-1);
    ShutdownSound();
    FreeSpriteImage(-1);
    CloseGameScreen();
    CloseFileSlot(-1);
  }
};
inline ::testing::Environment* const kPlayEngineShutdown =
    ::testing::AddGlobalTestEnvironment(new PlayEngineShutdown);

class PlayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    SetHeadlessScreenSize(kWidth, kHeight);
    UseVirtualClock(true, 50000, 16);
    InitSprite();
    InitKeyboard();
    InitSound();
    OpenGameScreen("Quillmosaica2");
    SetEndProgramThrows(true);
    static const TempFolder sfx("qm-play-sfx");
    WriteClickWave(sfx.Path("1.wav"));
    MapGameFolder("sfx", sfx.path());
  }

  void SetUp() override {
    ReleaseEverything();
    game = GameState{};
    auto& program = game.program;
    program.screenWidth = ScreenWidth();
    program.screenHeight = ScreenHeight();
    program.windowId = MainWindowId();
    program.visibleColumnSpan = program.screenWidth / 52 + 2;
    program.visibleRowSpan = program.screenHeight / 45 + 2;
    program.chatLineWidth = ChatLineWidth;  // as StartLevel sets it
    PumpWindowEvents(program);
    ResetMouseMove(program);
    SeedRandom(7);
    BuildPieceTables(game.easel);
    MakeBoard(12, 12);
    auto& easel = game.easel;
    easel.slots.fill(0);
    easel.slots[0] = 7;
    for (int k = 1; k <= 7; ++k) easel.slots[k] = static_cast<int16_t>(k);  // A .. G
    easel.referenceSlotCount = 7;
    easel.carriedSlotCount = 7;
    for (int k = 1; k <= 20; ++k) {
      easel.laid[k] = LaidPiece{-1, 0, 0};
      game.render.lastWordColumn[k] = -1;
    }
    easel.bag.assign(1701, 0);
    for (int k = 1; k <= 10; ++k) easel.bag[k] = static_cast<int16_t>(100 + k);
    easel.bag[0] = 10;
    LayOutEasel(easel, program.screenHeight);
    for (int k = 0; k <= 8; ++k) game.players.speakerNames[k] = k == 0 ? "Tester" : "Quillmosaica";
    game.players.levelsReached[0] = 3;
    game.menu.currentLevel = 3;
    game.program.musicTrack = -3;
    game.render.tint.mark = TickCount();
    game.render.levelStartMark = TickCount();
    LoadSoundEffect(0, "sfx\\1.wav");
    SetSoundFrequency(0, 0);
  }

  void TearDown() override { ReleaseEverything(); }

  // A Board of soil, the start box in the middle, lit and with the Camera at 0, 0.
  void MakeBoard(int w, int h) {
    auto& board = game.board;
    board.w = static_cast<int16_t>(w - 1);
    board.h = static_cast<int16_t>(h - 1);
    board.cells.assign(static_cast<size_t>(w * h), kSoil);
    board.shade.assign(static_cast<size_t>(w * h), 0);
    board.shadePeriod = 1;
    board.baseTint = {200, 200, 200};
    board.startColumn = static_cast<int16_t>(w / 2);
    board.startRow = static_cast<int16_t>(h / 2);
    SetCellCode(board, w / 2, h / 2, 218);
    board.cameraX = 0;
    board.cameraY = 0;
    UpdateVisibleWindow(board);
  }

  // The middle of a Cell's pick area on screen.
  void CellCentre(int c, int r, int& x, int& y) const {
    CellToScreen(game.board, c, r, x, y);
    x += 26;
    y += 6 + 22;
  }
  // The middle of an Easel slot.
  void SlotCentre(int k, int& x, int& y) const {
    x = game.easel.left + (k - 1) * 52 + 26;
    y = game.easel.top + 30;
  }

  void MoveTo(int x, int y) { InjectMouseMove(x, y); }
  void MoveToCell(int c, int r) {
    int x = 0, y = 0;
    CellCentre(c, r, x, y);
    MoveTo(x, y);
  }
  void MoveToSlot(int k) {
    int x = 0, y = 0;
    SlotCentre(k, x, y);
    MoveTo(x, y);
  }
  void Left(bool down) { InjectMouseButton(MouseButton::kLeft, down); }
  void Right(bool down) { InjectMouseButton(MouseButton::kRight, down); }
  void Middle(bool down) { InjectMouseButton(MouseButton::kMiddle, down); }
  void Key(int code, bool down) { InjectKey(code, down); }

  std::optional<Screen> Pass() { return RunLevelPass(game); }
  void Passes(int count) {
    for (int i = 0; i < count; ++i) ASSERT_FALSE(Pass().has_value());
  }

  // A full click of the left button: press in one pass, release in the next.
  void ClickLeft() {
    Left(true);
    Pass();
    Left(false);
    Pass();
  }
  // Drags from the current position to (x, y): press, move, release.
  void DragTo(int x, int y) {
    Left(true);
    Pass();
    MoveTo(x, y);
    Pass();
    Left(false);
    Pass();
  }
  // A key pressed in one pass and released in the next (so it is typed on release).
  void TapKey(int code, const std::string& text = "") {
    Key(code, true);
    if (!text.empty()) InjectText(text);
    Pass();
    Key(code, false);
    Pass();
  }

  // The rate of the last click, or 0 when none sounded since the last call.
  int TakeClickRate() {
    int rate = SoundSlotRate(0);
    SetSoundFrequency(0, 0);
    return rate == 11025 ? 0 : rate;
  }

  int16_t Cell(int c, int r) const { return CellCode(game.board, c, r); }
  int16_t Slot(int k) const { return game.easel.slots[k]; }

  static void ReleaseEverything() {
    for (int code : std::initializer_list<int>{
             kKeyEscape,     kKeyBackspace, kKeyTab,   kKeyReturn, kKeyLeftShift,
             kKeyRightShift, kKeyLeftAlt,   kKeySpace, kKeyF2,     kKeyF4,
             kKeyPadEnter,   kKeyHome,      kKeyUp,    kKeyLeft,   kKeyRight,
             kKeyEnd,        kKeyDelete,    kKeyA,     kKeyC,      kKeyT}) {
      InjectKey(code, false);
    }
    InjectMouseButton(MouseButton::kLeft, false);
    InjectMouseButton(MouseButton::kRight, false);
    InjectMouseButton(MouseButton::kMiddle, false);
    InjectFocus(true);
    ReadKeyboard();
    TypedCharacter();
    ProgramState scratch;
    PumpWindowEvents(scratch);
  }

  GameState game;
};

}  // namespace qm::test
