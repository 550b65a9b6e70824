// The frame loop of one level: input and drawing interleaved in a fixed order.
#include "game/play/RunLevel.hpp"

#include "engine/Clock.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/flow/Mouse.hpp"
#include "game/flow/StartUp.hpp"
#include "game/play/EndOfLevel.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/HintKey.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/play/Options.hpp"
#include "game/play/PlayInput.hpp"
#include "game/play/Render.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Describe.hpp"

namespace qm {

std::optional<Screen> RunLevelPass(GameState& game) {
  auto& play = game.play;
  auto& program = game.program;
  const int width = program.screenWidth;
  const int height = program.screenHeight;

  ClearFrame(0);
  ReadKeyboard();
  uint32_t now = TickCount();
  if (now - game.render.tint.mark >= 1000) {
    StepBackgroundTint(game.render.tint);
    game.render.tint.mark = now;
  }
  play.mouseX = MousePosX(program.windowId);
  play.mouseY = MousePosY(program.windowId);
  play.right = MouseButtonIsDown(program, Button::kRight);
  play.left = MouseButtonIsDown(program, Button::kLeft);
  HandleRightButton(game);
  ScreenToCell(game.board, play.mouseX, play.mouseY, play.cellColumn, play.cellRow);
  HandleLeftButton(game);
  HandlePlayKeys(game, now);

  ClearFrame(0);
  DrawSpaceBackground(game);
  DrawDriftingObjects(game.render, width, height);
  DrawBoard(game.board, width, height);
  now = TickCount();
  DrawMarkers(game, now);
  DrawHintPieces(game, now);
  DrawKeyboardCursor(game);
  DrawSparkle(game.render, game.board);
  CountFrame(game.render, now);
  DrawMessages(game);

  HandleEscape(game, now);
  HandleValidationKeys(game);
  HandleHintKey(game, now);
  HandleReturn(game, now);
  if (play.restartLevel) return Screen::kStartLevel;  // the chat's level skip
  if (play.enterTick != 0 && now - play.enterTick > 130) play.enterTick = 0;
  if (play.chatOpen != 0) {
    EditChatLine(game, now);
    DrawChatInputLine(game, now);
  }
  DrawEaselPicture(game);
  OptionPanelsStep(game, now);
  DescribeCell(game);
  DrawHud(game);
  if (HandleExitControl(game, now) || KeyboardExitAsked()) {
    SaveLevelAndWait(game);
    return Screen::kExitToPlayerMenu;
  }
  ExchangeTokensStep(game);
  if (play.endTick != 0) {
    if (auto next = ResultPanelStep(game)) return next;
  } else {
    DrawCarriedOrCursor(game);
  }
  UpdateCursorState(game);
  PresentFrame();
  FollowScreenSize(game);

  WaitWhileInactive(game);
  EndProgramIfDesktopClose(game);
  if (KeyIsDown(kKeyLeftAlt) && KeyIsDown(kKeyF4)) EndProgram();  // nothing saved
  return std::nullopt;
}

Screen RunLevel(GameState& game) {
  // A button still down from the screen before (Escape on the result panel pressed while
  // clicking) must not pick up a Piece in the first pass.
  IgnorePressesFromBefore(game.program);
  StartKeyboardView(game);
  for (;;) {
    if (auto next = RunLevelPass(game)) return *next;
  }
}

}  // namespace qm
