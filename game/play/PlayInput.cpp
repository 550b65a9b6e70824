// Mouse and keyboard bindings of level play.
#include "game/play/PlayInput.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/flow/EndProgram.hpp"
#include "game/flow/Mouse.hpp"
#include "game/flow/Profiles.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/Render.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Records.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

// A Piece that found no place goes back to the lowest free Easel slot.
void ToLowestFreeSlot(EaselState& easel, int16_t code) {
  int slot = LowestFreeSlot(easel);
  if (slot > 0) easel.slots[slot] = code;
}

// The carried Piece found no place: back where it came from.
void SendBack(GameState& game, int16_t code) {
  auto& play = game.play;
  auto& easel = game.easel;
  if (play.dragSourceRow == -1) {
    int slot = play.dragSourceColumn;
    if (slot >= 1 && slot <= easel.slots[0] && easel.slots[slot] == kEmptySlot) {
      easel.slots[slot] = code;
    } else {
      ToLowestFreeSlot(easel, code);
    }
    return;
  }
  if (!PlaceTurnPiece(game, play.dragSourceColumn, play.dragSourceRow, code)) {
    ToLowestFreeSlot(easel, code);
  }
}

void PickUp(GameState& game, uint32_t /*unused*/) {
  auto& play = game.play;
  auto& easel = game.easel;
  play.dragSourceColumn = -1;
  play.dragSourceRow = -1;
  play.dragState = 2;
  if (int slot = EaselSlotAt(easel, play.mouseX, play.mouseY); slot > 0) {
    if (easel.slots[slot] != kEmptySlot) {
      play.dragSourceColumn = static_cast<int16_t>(slot);
      play.dragSourceRow = -1;
      play.carriedCode = easel.slots[slot];
      PlayClick(kClickPickUp);
      play.dragState = 1;
      easel.slots[slot] = kEmptySlot;
      DrawEasel(game);
    }
    return;
  }
  const int column = play.cellColumn, row = play.cellRow;
  if (column != -1 && row != -1) {
    const int code = CellCode(game.board, column, row);
    game.status.requestCode = ShadeOf(game.board, column, row) == kHiddenShade ? -1 : code;
    game.status.start = 1;
    if (int16_t lifted = LiftTurnPiece(game, column, row); lifted != 0) {
      play.dragSourceColumn = static_cast<int16_t>(column);
      play.dragSourceRow = static_cast<int16_t>(row);
      play.carriedCode = lifted;
      play.dragState = 1;
      DrawEasel(game);
    }
    return;
  }
  game.status.requestCode = 0;
  game.status.start = 1;
}

void Drop(GameState& game) {
  auto& play = game.play;
  auto& easel = game.easel;
  PlayClick(kClickDrop);
  int16_t carried = play.carriedCode;
  if (int slot = EaselSlotAt(easel, play.mouseX, play.mouseY); slot > 0) {
    std::swap(easel.slots[slot], carried);
    if (carried == kEmptySlot) carried = 0;
  } else if (play.cellColumn != -1 && play.cellRow != -1) {
    const int column = play.cellColumn, row = play.cellRow;
    // A Piece of this turn changes place with the one dropped on it.
    if (LaidEntryAt(easel, column, row) > 0) {
      int16_t there = CellCode(game.board, column, row);
      SetCellCode(game.board, column, row, carried);
      carried = there;
    }
    if (PlaceTurnPiece(game, column, row, carried)) carried = 0;
  }
  if (HoldsPiece(carried)) SendBack(game, carried);
  play.carriedCode = 0;
  DrawEasel(game);
  play.dragState = 0;
}

}  // namespace

void HandleRightButton(GameState& game) {
  auto& play = game.play;
  auto& program = game.program;
  if (!play.right) {
    ResetMouseMove(program);
    play.rightHeldBefore = 0;
    return;
  }
  if (play.rightHeldBefore == 0) {
    const int width = program.screenWidth;
    if (play.mouseX > width - 174 && play.mouseX < width - 18 && play.mouseY > 250 &&
        play.mouseY < 328) {
      PlayClick(kClickTakeBack);
    } else if (play.dragState == 0) {
      int column = -1, row = -1;
      ScreenToCell(game.board, play.mouseX, play.mouseY, column, row);
      const int slot = LowestFreeSlot(game.easel);
      // A Piece laid in an earlier turn stays.
      if (slot > 0 && LaidEntryAt(game.easel, column, row) > 0) {
        if (int16_t lifted = LiftTurnPiece(game, column, row); lifted != 0) {
          PlayClick(kClickTakeBack);
          game.easel.slots[slot] = lifted;
          DrawEasel(game);
        }
      }
    }
  }
  play.rightHeldBefore = 1;
  // The Board follows the mouse, twice as fast on quick moves.
  int dx = MouseMoveX(program);
  int dy = MouseMoveY(program);
  if (std::abs(dx) > 15) dx *= 2;
  if (std::abs(dy) > 15) dy *= 2;
  game.board.cameraX += dx * play.horizontalScroll;
  game.board.cameraY += dy * play.verticalScroll;
  ApplyCameraLimits(game.board, program.screenWidth, program.screenHeight);
  UpdateVisibleWindow(game.board);
}

void HandleLeftButton(GameState& game) {
  auto& play = game.play;
  const bool handled = play.left != 0 && play.endTick == 0 && play.exchange.activeToken == 0;
  if (handled) {
    if (play.dragState == 0) PickUp(game, 0);
    return;
  }
  if (play.dragState == 2) {
    play.dragState = 0;
  } else if (play.dragState == 1) {
    Drop(game);
  }
}

void HandleEscape(GameState& game, uint32_t now) {
  if (!KeyDownOrTapped(kKeyEscape)) return;
  // Nothing laid: the Easel picture is already right, no need to grab it again each pass.
  if (LaidPieceCount(game.easel) > 0) {
    ReturnLaidPieces(game);
    DrawEasel(game);
  }
  game.status.text = " Put all your parts ";
  game.status.start = StatusTick(now);
  game.play.objectivesViewToggle = 0;
}

void HandleValidationKeys(GameState& game) {
  auto& play = game.play;
  const bool pressed = KeyDownOrTapped(kKeySpace) || KeyDownOrTapped(kKeyF2) ||
                       MouseButtonIsDown(game.program, Button::kMiddle);
  if (pressed && play.dragState != 1 && play.endTick == 0) {
    if (play.validationLatch == 0) {
      ValidateMove(game);
      DrawEasel(game);  // as the turn left it: refused Pieces back, or refilled
      SaveAfterValidation(game);
      play.validationLatch = 1;
    }
  } else {
    play.validationLatch = 0;
  }
}

void HandleReturn(GameState& game, uint32_t now) {
  auto& play = game.play;
  const bool down = KeyDownOrTapped(kKeyReturn) || KeyDownOrTapped(kKeyPadEnter);
  if (!down) {
    play.enterTick = 0;
    play.enterLatch = 0;
    return;
  }
  if (play.enterLatch != 0 || play.enterTick != 0) return;
  play.enterTick = now == 0 ? 1 : now;
  play.enterLatch = 1;
  auto& input = play.chatInput;
  if (play.chatOpen == 0) {
    play.chatOpen = 1;
    input.cursor = 0;
    input.text.clear();
    input.lastLength = 0;
    return;
  }
  play.chatOpen = 0;
  std::string line;
  for (char ch : input.text) {
    if (ch != '\r') line += ch;
  }
  input.text.clear();
  input.lastLength = 0;
  input.cursor = 0;
  if (!line.empty()) HandleChatLine(game, line);
}

void EditChatLine(GameState& game, uint32_t now) {
  auto& input = game.play.chatInput;
  auto length = [&input] { return static_cast<int32_t>(input.text.size()); };
  auto removeAtCursor = [&input, &length] {
    input.text =
        LeftPart(input.text, input.cursor) + RightPart(input.text, length() - input.cursor - 1);
    input.lastLength = length();
  };
  if (input.editMark == 0) {
    const uint32_t mark = now == 0 ? 1 : now;
    if (KeyIsDown(kKeyLeft)) {
      input.cursor = input.cursor > 0 ? input.cursor - 1 : 0;
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyRight)) {
      input.cursor = input.cursor < length() ? input.cursor + 1 : length();
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyBackspace)) {
      // At the start of the line Backspace removes the first character.
      input.cursor = std::max(0, std::min(input.cursor - 1, length()));
      removeAtCursor();
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyDelete)) {
      if (input.cursor < length()) removeAtCursor();
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyHome)) {
      input.cursor = 0;
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyEnd)) {
      input.cursor = length();
      input.editMark = mark;
    }
    if (KeyIsDown(kKeyUp)) {
      input.cursor = length();
      input.lastLength = length();
      input.editMark = mark;
    }
  }
  if (input.editMark != 0 && now - input.editMark > 100) input.editMark = 0;

  std::string typed = TypedCharacter();
  if (!typed.empty() && static_cast<unsigned char>(typed[0]) < 32) typed.clear();
  input.cursor = std::max(0, std::min(input.cursor, length()));
  input.text =
      LeftPart(input.text, input.cursor) + typed + RightPart(input.text, length() - input.cursor);
  if (length() != input.lastLength) {
    input.cursor += length() - input.lastLength;
    input.lastLength = length();
  }
  input.cursor = std::max(0, std::min(input.cursor, length()));
}

bool HandleExitControl(GameState& game, uint32_t now) {
  const int width = game.program.screenWidth;
  const auto& play = game.play;
  DrawSprite(kExitSprite, width - 14, 0);
  if (!(play.mouseY >= 0 && play.mouseY < 14 && play.mouseX > width - 14)) return false;
  DrawAdditiveBox(width - 14, 0, 14, 14, 130, 0, 0);
  // Shown at once, and for about 300 ms after the mouse leaves.
  game.status.text = " EXIT: Click left mouse + right click ";
  game.status.start = StatusTick(now - static_cast<uint32_t>(game.status.text.size()) * 100 - 4700);
  return play.left != 0 && play.right != 0;
}

void WaitWhileInactive(GameState& game) {
  if (ScreenIsActive()) return;
  SetMusicModuleVolume(kLevelMusic, 10);
  auto& program = game.program;
  for (;;) {
    const int event = PollWindowEvent(2);
    if (event == kEventActivated) break;
    EndProgramIfDesktopClose(game);
    // Buttons released while the window was away must not stay held.
    NoteButtonEvent(program, event);
  }
  SetMusicModuleVolume(kLevelMusic, game.options.musicVolume);
  if (game.play.endTick != 0) game.play.recomposeResultPanel = true;
}

void EndProgramIfDesktopClose(GameState& game) {
  if (!QuitRequested()) return;
  SaveLevelAndWait(game);
  SavePlayerProfile(game);
  SaveChosenRecords(game);
  EndProgram();
}

}  // namespace qm
