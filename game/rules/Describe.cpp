#include "game/rules/Describe.hpp"

#include <algorithm>
#include <array>

#include "engine/Clock.hpp"
#include "engine/Sound.hpp"
#include "engine/Text.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"

namespace qm {

namespace {

constexpr uint32_t kStatusOff = 0;
constexpr uint32_t kStatusRequested = 1;

constexpr std::array<const char*, 5> kMaterialWords = {"plastic", "bronze", "silver", "gold",
                                                       "diamond"};
constexpr std::array<const char*, 3> kMechanismWords = {"of bronze", "of silver", "of gold"};

// The tick a StatusLine text starts at; 0 and 1 mean "off" and "requested", so a text
// shown at those very first ticks starts at 2.
uint32_t StatusStartTick() { return std::max<uint32_t>(TickCount(), 2); }

std::string PieceDescription(const GameState& game, int code) {
  int value = game.easel.pieceValue[code];
  return " Parts '" + CharText('A' + LetterIndexOf(code)) + "' of " +
         kMaterialWords[MaterialOf(code)] + " : " + DecimalText(value) + " point" +
         (value >= 2 ? "s " : " ");
}

}  // namespace

std::string DescriptionOf(const GameState& game, int code) {
  int64_t bonus = game.players.effectBonus[0];
  if (code == 0 || code == 222) return " Interstellar space ";
  if (IsPieceCode(code)) return PieceDescription(game, code);
  if (code >= 131 && code <= 144) return " A wall ";
  if (code >= 145 && code <= 147) return " A locked wall ";
  if (code >= 186 && code <= 192) return " Letter x" + DecimalText(code - 184) + " ";
  if (code >= 193 && code <= 199) return " Word x" + DecimalText(code - 191) + " ";
  if (code >= 200 && code <= 202) return " Increases of " + DecimalText((code - 199) * 2) + "% points";
  if (code >= 203 && code <= 205) return " Increases of " + DecimalText((code - 202) * 5) + "% points";
  if (code >= 206 && code <= 208) {
    return " Reduces your score by " + DecimalText((code - 205) * 5 + bonus) + "% ";
  }
  if (code >= 209 && code <= 211) return " A... wall ? ";
  if (code >= 212 && code <= 214) {
    return std::string(" Mechanism ") + kMechanismWords[code - 212] + " : you have " +
           DecimalText((code - 211) * 20 + 2 * bonus) + "% chance of lowering each wall around ";
  }
  if (code >= 215 && code <= 217) {
    return " Adds a parts bag which " + DecimalText((code - 214) * 20) + "% will be valuable parts ";
  }
  switch (code) {
    case 218: return " The box where it all begins ";
    case 219: return " End of the Game ";
    case 220: return " Bonus/Malus : you add or remove a piece you ";
    case 221: return " Bonus : +100 points ";
    case 235: return " A gold key ";
    case 236: return " A silver key ";
    case 237: return " A bronze key ";
    default: break;
  }
  if (code >= 225 && code <= 227) return " Stars ?!?? ";
  if (code >= 232 && code <= 234) return " A magic compartment ";
  return " The soil ";  // also a cell hidden by the fog (-1)
}

void ShowStatusLine(GameState& game, const std::string& text) {
  game.status.text = text;
  game.status.start = StatusStartTick();
}

int64_t StatusLineDuration(const std::string& text) { return TextLength(text) * 100 + 5000; }

bool UpdateStatusLine(GameState& game) {
  StatusState& status = game.status;
  if (status.start == kStatusOff) return false;
  if (status.start == kStatusRequested) {
    PlaySoundEffect(0);
    SetSoundFrequency(0, 30000);
    status.text = " The soil ";
    status.start = StatusStartTick();
    status.text = DescriptionOf(game, status.requestCode);
    PushStatusToChat(game);
  }
  // Signed difference: a start set ahead of now (a text meant to stay) counts as fresh.
  int64_t shown = static_cast<int32_t>(TickCount() - status.start);
  if (shown >= StatusLineDuration(status.text)) {
    status.start = kStatusOff;
    return false;
  }
  return true;
}

}  // namespace qm
