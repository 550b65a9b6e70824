#include "game/flow/StartUp.hpp"

#include <cstdio>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/flow/GameFolder.hpp"
#include "game/flow/Mouse.hpp"
#include "game/play/GeneratedLevels.hpp"
#include "game/rules/Easel.hpp"

namespace qm {
namespace {

constexpr int kTitleSlot = 1;
constexpr uint32_t kTitleHoldMs = 5000;

[[noreturn]] void FailStartUp(const std::string& text) {
  ShowMessageBox("Erreur", text);
  EndProgram();
}

// One frame of the title fade: the picture of 1024 x 594 pixels centred on the screen.
void DrawTitleFrame(const ProgramState& program, int alpha) {
  ClearFrame(0);
  DrawSpriteFaded(kTitleSlot, program.screenWidth / 2 - 512, program.screenHeight / 2 - 297, alpha);
  PauseMs(1);
  PresentFrame();
  EndProgramIfQuitRequested();
}

// 52 and 45 pixels separate neighbouring cells; 2 more cover the cells cut by the edges.
void SetVisibleSpans(ProgramState& program) {
  program.visibleColumnSpan = program.screenWidth / 52 + 2;
  program.visibleRowSpan = program.screenHeight / 45 + 2;
}

}  // namespace

void FollowScreenSize(GameState& game) {
  ProgramState& program = game.program;
  const int width = ScreenWidth();
  const int height = ScreenHeight();
  if (width <= 0 || height <= 0) return;
  if (width == program.screenWidth && height == program.screenHeight) return;
  program.screenWidth = width;
  program.screenHeight = height;
  SetVisibleSpans(program);
  LayOutEasel(game.easel, height);
}

void EndProgramIfQuitRequested() {
  if (QuitRequested()) EndProgram();
}

Screen StartUp(GameState& game) {
  game = GameState{};
  ProgramState& program = game.program;
  program.chatTextSize = 1;
  program.chatTransparency = 0;
  program.chatLastLine = 9;

  // No mouse device is started: the mouse is read through the window.
  const int sprite = InitSprite();
  if (sprite == 0 && !NoDisplayReason().empty()) {
    // Without a desktop the game would run where nobody sees it: one line, then out.
    std::fprintf(stderr, "quillmosaica: %s\n", NoDisplayReason().c_str());
    EndProgram(1);
  }
  if (sprite == 0 || InitKeyboard() == 0 || InitSound() == 0) {
    FailStartUp("InitSprite() And InitMouse() And InitKeyboard() And InitSound() : impossible");
  }
  // Font slot 1 always holds Arial; each screen reloads it at the size it draws with.
  if (LoadFont(1, "Arial", 8) == 0) FailStartUp("LoadFont(1, ''Arial'', 8) : impossible");
  program.titleFontFace = "Times New Roman";
  if (LoadFont(2, program.titleFontFace, 50) == 0) {
    FailStartUp("LoadFont(2, Andalus$, 50) : impossible");
  }
  // Before the window opens: without its folder the game would show empty menus.
  ChooseGameFolder();
  InstallLevelGenerator(GameFolder());

  game.players = PlayerTables{};
  game.players.levelsReached[program.humanPlayer] = 2;
  program.musicTrack = 1;
  program.gridBackground = 2;

  // The window and its drawing surface are not tested: the game runs on what it gets.
  OpenGameScreen("Quillmosaica2");
  program.windowId = MainWindowId();
  program.screenWidth = ScreenWidth();
  program.screenHeight = ScreenHeight();
  // The menus and the play loop draw their own pointer.
  HideSystemPointer();
  SetVisibleSpans(program);
  return Screen::kTitle;
}

Screen TitleSequence(GameState& game) {
  ProgramState& program = game.program;
  // A missing picture leaves the fade black.
  LoadSpriteImage(kTitleSlot, "gfx/titre.jpg");
  for (int alpha = 0; alpha <= 255; alpha += 5) DrawTitleFrame(program, alpha);

  // The hold spins on the tick counter without drawing: the last fade-in frame stays.
  const uint32_t start = TickCount();
  for (;;) {
    ReadKeyboard();
    EndProgramIfQuitRequested();
    if (MouseButtonIsDown(program, Button::kLeft) == 1) break;
    if (KeyIsDown(kKeySpace) != 0) break;
    if (TickCount() - start > kTitleHoldMs) break;
  }

  for (int alpha = 250; alpha >= 0; alpha -= 10) DrawTitleFrame(program, alpha);
  return Screen::kPlayerMenuEntry;
}

}  // namespace qm
