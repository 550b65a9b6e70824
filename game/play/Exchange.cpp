// The three exchange tokens beside the Easel and their dialog.
#include <utility>

#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/play/PlayInput.hpp"
#include "game/play/Render.hpp"
#include "game/play/SavedLevel.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Easel.hpp"

namespace qm {
namespace {

void ClearMarks(ExchangeState& exchange) {
  exchange.marks.fill(0);
}

// Marked slots change places with random Pieces of the bag, while the bag lasts.
void ExchangeMarkedPieces(GameState& game) {
  auto& easel = game.easel;
  for (int k = 1; k <= easel.slots[0]; ++k) {
    if (game.play.exchange.marks[k] == 0) continue;
    if (!SwapWithBag(easel, k)) break;
  }
  DrawEasel(game);
}

}  // namespace

void HandleExchangeTokens(GameState& game) {
  auto& play = game.play;
  auto& exchange = play.exchange;
  const auto& easel = game.easel;
  const int n = easel.slots[0];
  const int x = play.mouseX, y = play.mouseY;
  const int base = easel.left + n * 52;
  for (int k = 0; k <= 2; ++k) {
    if (exchange.spent[k] == 0) DrawSpriteKeyed(kTokenSprite, base - 74 + 28 * k, easel.top - 17);
  }
  for (int k = 0; k <= 2; ++k) {
    if (exchange.spent[k] != 0) continue;
    if (base - 68 + 28 * k < x && x < base - 55 + 28 * k && easel.top - 16 <= y &&
        y <= easel.top - 7) {
      DrawSpriteKeyed(kSpentTokenSprite, base - 74 + 28 * k, easel.top - 17);
      if (play.left != 0 && exchange.activeToken == 0 && play.dragState != 1) {
        exchange.spent[k] = 1;
        exchange.activeToken = k + 1;
      }
    }
  }

  exchange.hoveredButton = 0;
  if (exchange.activeToken != 0) {
    DrawSprite(kExchangeDialogSprite, 313, easel.top - 300);
    const bool buttonRow = easel.top - 253 < y && y < easel.top - 235;
    if (buttonRow && 385 < x && x < 476) {
      DrawAdditiveBox(385, easel.top - 253, 91, 18, 15, 15, 15);
      exchange.hoveredButton = 1;
    } else if (buttonRow && 549 < x && x < 640) {
      DrawAdditiveBox(549, easel.top - 253, 91, 18, 15, 15, 15);
      exchange.hoveredButton = 2;
    }
  }
  if (play.left != 0 && exchange.hoveredButton == 1) {
    // Cancel: the token may be used again.
    PlaySoundEffect(kSoundCancel);
    if (exchange.activeToken >= 1 && exchange.activeToken <= 3) {
      exchange.spent[exchange.activeToken - 1] = 0;
    }
    exchange.activeToken = 0;
    ClearMarks(exchange);
  } else if (play.left != 0 && exchange.hoveredButton == 2) {
    // Exchange: the token stays spent, even when the bag is empty.
    PlaySoundEffect(kSoundWordKnown);
    ExchangeMarkedPieces(game);
    exchange.activeToken = 0;
    ClearMarks(exchange);
    QueueLevelSave(game);
  }

  if (play.left != 0) {
    if (exchange.markingLatch == 0 && exchange.hoveredButton == 0 && exchange.activeToken != 0) {
      if (int slot = EaselSlotAt(easel, x, y); slot > 0) {
        exchange.markingLatch = 1;
        if (easel.slots[slot] != kEmptySlot) {
          exchange.marks[slot] = exchange.marks[slot] != 0 ? 0 : 1;
          PlayClick(kClickPickUp);
        }
      }
    }
  } else {
    exchange.markingLatch = 0;
  }

  if (exchange.activeToken != 0) {
    for (int k = 1; k <= n; ++k) {
      if (exchange.marks[k] != 0)
        DrawSpriteKeyed(kExchangeMark, easel.left + (k - 1) * kEaselSlotWidth, easel.top);
    }
  }
}

}  // namespace qm
