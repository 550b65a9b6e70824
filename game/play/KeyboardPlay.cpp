#include "game/play/KeyboardPlay.hpp"

#include <algorithm>
#include <string>

#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "game/play/Board.hpp"
#include "game/play/Options.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/PlayInput.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Describe.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"

namespace qm {
namespace {

constexpr uint8_t kGameSpeaker = 8;

// The keyboard's ring of option entries, in screen order: the view panel (top left), the chat
// panel, the Pieces panel, the validation button (bottom left), the music panel and its volume
// strip (bottom right). Each is pressed where the pointer would press it.
constexpr int kVolumeEntry = 16;
constexpr int kEntryCount = 17;
constexpr int kArrangementEntry = 9;  // Pieces panel, second entry
constexpr int kObjectiveEntry = 0;    // view panel, first entry

KeyClick EntryPoint(const GameState& game, int entry) {
  const int width = game.program.screenWidth;
  const int height = game.program.screenHeight;
  if (entry <= 2) return {10, 10 + 20 * entry};                            // view panel 0..2
  if (entry <= 7) return {10, height - 214 + 20 * (entry - 2)};            // chat panel 1..5
  if (entry <= 10) return {10, height - 101 + 20 * (entry - 7)};           // Pieces panel 1..3
  if (entry == 11) return {12, height - 12};                               // validation button
  if (entry <= 15) return {width - 10, height - 150 + 20 * (entry - 11)};  // music panel 1..4
  // The volume strip: lit at the volume set, pressed one step (10 %) louder, 100 wraps to 10.
  const int volume = game.options.musicVolume;
  const int y = height - 1 - RoundHalfEven((volume - 10) / 1.6);
  return {width - 10, y < height - 60 ? height - 60 : y};
}

KeyClick VolumeStepPoint(const GameState& game) {
  const int height = game.program.screenHeight;
  const int volume = game.options.musicVolume >= 100 ? 10 : game.options.musicVolume + 10;
  int y = height - 1 - RoundHalfEven((volume - 10) / 1.6);
  if (y < height - 60) y = height - 60;
  return {game.program.screenWidth - 10, y};
}

// Digits 1..9, 0 choose the Easel slots 1..10; with Shift held, 11..20.
int SlotOfDigitKey(int scanCode, bool shift) {
  if (scanCode < 2 || scanCode > 11) return 0;
  return scanCode - 1 + (shift ? 10 : 0);
}

void TakeBackLast(GameState& game, KeyboardView& view) {
  auto& easel = game.easel;
  CellPos cell{-1, -1};
  while (!view.typed.empty()) {
    CellPos last = view.typed.back();
    view.typed.pop_back();
    if (LaidEntryAt(easel, last.column, last.row) > 0) {
      cell = last;
      break;
    }
  }
  if (cell.column == -1) {
    // Laid with the mouse: the latest LaidPieces entry stands for the last one.
    for (int k = kMaxLaidPieces; k >= 1 && cell.column == -1; --k) {
      if (easel.laid[k].column != -1) cell = {easel.laid[k].column, easel.laid[k].row};
    }
  }
  if (cell.column == -1) return;
  const int slot = LowestFreeSlot(easel);
  if (slot == 0) return;
  if (int16_t code = LiftTurnPiece(game, cell.column, cell.row); code != 0) {
    PlayClick(kClickTakeBack);
    easel.slots[slot] = code;
    DrawEasel(game);
    view.cursor = cell;
  }
}

void TypeLetter(GameState& game, KeyboardView& view, char letter) {
  auto& board = game.board;
  CellPos cell = view.cursor;
  // Typing goes on over the Pieces already there, as in a crossing word.
  while (IsOnBoard(board, cell.column, cell.row) &&
         HoldsPiece(CellCode(board, cell.column, cell.row))) {
    CellPos next = StepForward(view.axis, cell);
    if (!IsOnBoard(board, next.column, next.row)) break;
    cell = next;
  }
  const int code = CellCode(board, cell.column, cell.row);
  if (!AcceptsPiece(code)) {
    // What is there, as a click on it tells.
    game.status.requestCode = ShadeOf(board, cell.column, cell.row) == kHiddenShade ? -1 : code;
    game.status.start = 1;
    return;
  }
  const int slot = SlotOfLetter(game.easel, letter);
  if (slot == 0) {
    const char upper = static_cast<char>(letter - 'a' + 'A');
    ShowStatusLine(game, std::string(" No ") + upper + " on your Easel ");
    return;
  }
  if (!LayPiece(game, slot, cell.column, cell.row)) return;
  PlayClick(kClickDrop);
  DrawEasel(game);
  view.typed.push_back(cell);
  view.cursor = TypingStep(board, cell, view.axis);
  KeepCellInView(board, view.cursor, game.program.screenWidth, game.program.screenHeight);
}

void ListKeys(GameState& game, uint32_t now) {
  static const char* const kLines[] = {
      "Keys: arrows move the cell cursor, a letter lays it from the Easel, Backspace takes back",
      "F3 turns the typing direction, Space or F2 validates, Escape takes all back, F1 hint",
      "F1 again lays the hint, F5 exchange (1-0 mark slots, F5 again swaps, F6 cancels)",
      "F7 orders the Easel, F8 objectives, PageUp/PageDown pick an option, F9 uses it",
      "F10 saves and leaves to the player list, Return chat, Tab details",
  };
  for (const char* line : kLines) {
    PushChatLine(game, ChatLine{line, kGameSpeaker, static_cast<int32_t>(now)});
  }
}

bool ShiftHeld() {
  return KeyIsDown(kKeyLeftShift) != 0 || KeyIsDown(kKeyRightShift) != 0;
}

void HandleOnePress(GameState& game, KeyboardView& view, const KeyPress& press, bool chatOpen,
                    uint32_t now) {
  auto& play = game.play;
  auto& board = game.board;
  const int code = press.scanCode;
  const bool levelRuns = play.endTick == 0;
  const bool exchanging = play.exchange.activeToken != 0;
  if (!press.repeat) {
    switch (code) {
      case kKeyF10:
        view.exitAsked = true;
        return;
      case kKeyF12:
        ListKeys(game, now);
        return;
      case kKeyF5: {
        if (!levelRuns) return;
        const auto& easel = game.easel;
        const int base = easel.left + easel.slots[0] * 52;
        if (exchanging) {
          view.exchangeClick = KeyClick{594, easel.top - 244};  // the exchange button
          return;
        }
        for (int k = 0; k <= 2; ++k) {
          if (play.exchange.spent[k] == 0) {
            view.exchangeClick = KeyClick{base - 61 + 28 * k, easel.top - 11};
            return;
          }
        }
        return;
      }
      case kKeyF6:
        if (exchanging) view.exchangeClick = KeyClick{430, game.easel.top - 244};  // cancel
        return;
      case kKeyF7:
        view.optionClick = EntryPoint(game, kArrangementEntry);
        return;
      case kKeyF8:
        view.optionClick = EntryPoint(game, kObjectiveEntry);
        return;
      case kKeyF9:
        if (view.panelEntry >= 0) {
          view.optionClick = view.panelEntry == kVolumeEntry ? VolumeStepPoint(game)
                                                             : EntryPoint(game, view.panelEntry);
        }
        return;
      case kKeyF3:
        if (!chatOpen)
          view.axis = view.axis == kRow               ? kFallingDiagonal
                      : view.axis == kFallingDiagonal ? kRisingDiagonal
                                                      : kRow;
        return;
      default:
        break;
    }
  }
  if (code == kKeyPageDown || code == kKeyPageUp) {
    const int step = code == kKeyPageDown ? 1 : kEntryCount - 1;
    view.panelEntry = view.panelEntry < 0 ? (code == kKeyPageDown ? 0 : kEntryCount - 1)
                                          : (view.panelEntry + step) % kEntryCount;
    return;
  }
  if (chatOpen) return;
  if (exchanging) {
    if (int slot = SlotOfDigitKey(code, ShiftHeld());
        slot > 0 && !press.repeat && slot <= game.easel.slots[0]) {
      const auto& easel = game.easel;
      view.exchangeClick = KeyClick{easel.left + (slot - 1) * kEaselSlotWidth + 26, easel.top + 31};
    }
  }
  CursorMove move{};
  bool arrow = true;
  switch (code) {
    case kKeyLeft:
      move = CursorMove::kLeft;
      break;
    case kKeyRight:
      move = CursorMove::kRight;
      break;
    case kKeyUp:
      move = CursorMove::kUp;
      break;
    case kKeyDown:
      move = CursorMove::kDown;
      break;
    default:
      arrow = false;
      break;
  }
  if (arrow) {
    view.cursor = MoveCursor(board, view.cursor, move);
    KeepCellInView(board, view.cursor, game.program.screenWidth, game.program.screenHeight);
    return;
  }
  // No Piece goes to or from the Board while the level is over or an exchange is open.
  if (!levelRuns || exchanging) return;
  if (code == kKeyBackspace) {
    TakeBackLast(game, view);
    return;
  }
  if (press.repeat) return;
  if (char letter = KeyLetter(code); letter != 0) TypeLetter(game, view, letter);
}

// Draws a square of the outline, dark around a light core so it shows on any Cell.
void Dot(int x, int y, uint32_t colour, int size) {
  DrawBox(x, y, size, size, colour);
}

// The hexagon of a Cell sprite (52 x 60): corners at the top and bottom middle, sides 30 high.
template <typename Plot>
void HexagonPoints(int x, int y, int inset, Plot plot) {
  const int left = x + inset, right = x + 51 - inset;
  const int top = y + inset, bottom = y + 59 - inset;
  const int middle = x + 26;
  const int upper = y + 15, lower = y + 44;
  for (int t = 0; t <= 24; t += 2) {
    const int rise = t * 15 / 26;
    plot(left + t, upper - rise < top ? top : upper - rise);
    plot(right - t, upper - rise < top ? top : upper - rise);
    plot(left + t, lower + rise > bottom ? bottom : lower + rise);
    plot(right - t, lower + rise > bottom ? bottom : lower + rise);
  }
  for (int v = upper; v <= lower; v += 2) {
    plot(left, v);
    plot(right, v);
  }
  plot(middle - 1, top);
  plot(middle - 1, bottom);
}

}  // namespace

KeyboardView& Keyboard() {
  static KeyboardView view;
  return view;
}

void StartKeyboardView(GameState& game) {
  KeyboardView& view = Keyboard();
  view = KeyboardView{};
  view.started = true;
  const auto& board = game.board;
  view.cursor = {board.startColumn, board.startRow};
  if (CellCode(board, view.cursor.column, view.cursor.row) != kStartBox) {
    // The GO box away from the Camera's start: the first one, row by row.
    bool found = false;
    for (int r = 0; r <= board.h && !found; ++r) {
      for (int c = 0; c <= board.w && !found; ++c) {
        if (CellCode(board, c, r) == kStartBox) {
          view.cursor = {c, r};
          found = true;
        }
      }
    }
  }
  TakeKeyPresses();  // keys of the screens before (the name, the level choice) are theirs
}

bool CursorMayRest(const BoardState& board, CellPos cell) {
  return IsOnBoard(board, cell.column, cell.row) && CellCode(board, cell.column, cell.row) != 0 &&
         ShadeOf(board, cell.column, cell.row) != kHiddenShade;
}

CellPos MoveCursor(const BoardState& board, CellPos from, CursorMove move) {
  CellPos at = CursorStep(move, from);
  while (IsOnBoard(board, at.column, at.row)) {
    if (CursorMayRest(board, at)) return at;
    at = CursorStep(move, at);
  }
  return from;
}

CellPos TypingStep(const BoardState& board, CellPos from, int axis) {
  CellPos at = StepForward(axis, from);
  while (IsOnBoard(board, at.column, at.row) && HoldsPiece(CellCode(board, at.column, at.row))) {
    at = StepForward(axis, at);
  }
  return CursorMayRest(board, at) ? at : from;
}

void KeepCellInView(BoardState& board, CellPos cell, int screenWidth, int screenHeight) {
  if (!IsOnBoard(board, cell.column, cell.row)) return;
  // Clear of the side panels, the HUD and the Easel, with a Cell to spare around it.
  const int left = 20 + kCellPitchX, right = screenWidth - 20 - 2 * kCellPitchX;
  const int top = 20 + kCellPitchY, bottom = screenHeight - 82 - 60 - kCellPitchY;
  int x = 0, y = 0;
  CellToScreen(board, cell.column, cell.row, x, y);
  int64_t cameraX = board.cameraX, cameraY = board.cameraY;
  if (x < left) cameraX += left - x;
  if (x > right && right > left) cameraX -= x - right;
  if (y < top) cameraY += top - y;
  if (y > bottom && bottom > top) cameraY -= y - bottom;
  if (cameraX == board.cameraX && cameraY == board.cameraY) return;
  board.cameraX = static_cast<int32_t>(cameraX);
  board.cameraY = static_cast<int32_t>(cameraY);
  ApplyCameraLimits(board, screenWidth, screenHeight);
  UpdateVisibleWindow(board);
}

int SlotOfLetter(const EaselState& easel, char letter) {
  if (letter < 'a' || letter > 'z') return 0;
  const int n = easel.slots[0] < kMaxEaselSlots ? easel.slots[0] : kMaxEaselSlots;
  for (int k = 1; k <= n; ++k) {
    if (IsPieceCode(easel.slots[k]) && LetterIndexOf(easel.slots[k]) == letter - 'a') return k;
  }
  return 0;
}

void HandlePlayKeys(GameState& game, uint32_t now) {
  KeyboardView& view = Keyboard();
  if (!view.started) return;
  const auto& play = game.play;
  // The pointer moved: the mouse is in use, the cursor and the lit entry step aside.
  if (view.mouseKnown && (play.mouseX != view.mouseX || play.mouseY != view.mouseY)) {
    view.shown = false;
    view.panelEntry = -1;
  }
  view.mouseKnown = true;
  view.mouseX = play.mouseX;
  view.mouseY = play.mouseY;
  std::vector<KeyPress> presses = TakeKeyPresses();
  view.tapped.clear();
  for (const KeyPress& press : presses) {
    const int code = press.scanCode;
    const bool gameKey = code == kKeySpace || code == kKeyF2 || code == kKeyF1 ||
                         code == kKeyEscape || code == kKeyReturn || code == kKeyPadEnter;
    if (gameKey && !press.repeat && KeyIsDown(code) == 0) view.tapped.push_back(code);
  }
  bool chatOpen = play.chatOpen != 0;
  for (const KeyPress& press : presses) {
    view.shown = true;
    if (press.scanCode == kKeyReturn || press.scanCode == kKeyPadEnter) {
      // The keys after it in this pass are typed into the chat it opens (or not, closing).
      if (!press.repeat) chatOpen = !chatOpen;
      continue;
    }
    HandleOnePress(game, view, press, chatOpen, now);
  }
}

void OptionPanelsStep(GameState& game, uint32_t now) {
  KeyboardView& view = Keyboard();
  auto& play = game.play;
  if (!view.optionClick && (view.panelEntry < 0 || !view.shown)) {
    HandleOptionPanels(game, now);
    return;
  }
  const int savedX = play.mouseX, savedY = play.mouseY, savedLeft = play.left;
  const KeyClick at = view.optionClick ? *view.optionClick : EntryPoint(game, view.panelEntry);
  play.mouseX = at.x;
  play.mouseY = at.y;
  play.left = view.optionClick ? 1 : 0;
  // A key press is a press of its own: the latch holds only for a button kept down.
  if (view.optionClick && savedLeft == 0) game.options.panelClickLatch = 0;
  HandleOptionPanels(game, now);
  play.mouseX = savedX;
  play.mouseY = savedY;
  play.left = savedLeft;
  view.optionClick.reset();
}

void ExchangeTokensStep(GameState& game) {
  KeyboardView& view = Keyboard();
  auto& play = game.play;
  if (!view.exchangeClick) {
    HandleExchangeTokens(game);
    return;
  }
  const int savedX = play.mouseX, savedY = play.mouseY, savedLeft = play.left;
  play.mouseX = view.exchangeClick->x;
  play.mouseY = view.exchangeClick->y;
  play.left = 1;
  HandleExchangeTokens(game);
  play.mouseX = savedX;
  play.mouseY = savedY;
  play.left = savedLeft;
  view.exchangeClick.reset();
}

bool KeyDownOrTapped(int scanCode) {
  if (KeyIsDown(scanCode) != 0) return true;
  const KeyboardView& view = Keyboard();
  return view.started &&
         std::find(view.tapped.begin(), view.tapped.end(), scanCode) != view.tapped.end();
}

bool KeyboardExitAsked() {
  KeyboardView& view = Keyboard();
  const bool asked = view.exitAsked;
  view.exitAsked = false;
  return asked;
}

void DrawKeyboardCursor(const GameState& game) {
  const KeyboardView& view = Keyboard();
  const auto& board = game.board;
  if (!view.started || !view.shown || game.play.endTick != 0 ||
      !IsOnBoard(board, view.cursor.column, view.cursor.row))
    return;
  int x = 0, y = 0;
  CellToScreen(board, view.cursor.column, view.cursor.row, x, y);
  const uint32_t dark = RgbColour(0, 0, 0);
  const uint32_t light = RgbColour(255, 255, 255);
  BeginDrawing();
  SetDrawingMode(0);
  HexagonPoints(x, y, 1, [&](int px, int py) { Dot(px - 2, py - 2, dark, 5); });
  HexagonPoints(x, y, 1, [&](int px, int py) { Dot(px - 1, py - 1, light, 3); });
  // The typing direction: a row of dots from beside the letter to the rim toward the next
  // Cell, a head at its end.
  const CellPos next = StepForward(view.axis, view.cursor);
  int nx = 0, ny = 0;
  CellToScreen(board, next.column, next.row, nx, ny);
  const int cx = x + 26, cy = y + 30;
  const int dx = nx - x, dy = ny - y;
  for (int i = 2; i <= 5; ++i) {
    const int px = cx + dx * i / 10, py = cy + dy * i / 10;
    const int size = i == 5 ? 9 : 5;
    Dot(px - size / 2 - 1, py - size / 2 - 1, dark, size + 2);
    Dot(px - size / 2, py - size / 2, light, size);
  }
  EndDrawing();
}

}  // namespace qm
