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
// A StatusLine text stays this long, and this much longer for each character.
constexpr int64_t kStatusBaseMs = 5000, kStatusMsPerCharacter = 100;
constexpr int kDescriptionClickHertz = 30000;  // the high click of a description request

constexpr std::array<const char*, 5> kMaterialWords = {"plastic", "bronze", "silver", "gold",
                                                       "diamond"};
constexpr std::array<const char*, 3> kMechanismWords = {"of bronze", "of silver", "of gold"};

// The tick a StatusLine text starts at; 0 and 1 mean "off" and "requested", so a text
// shown at those very first ticks starts at 2.
uint32_t StatusStartTick() {
  return std::max<uint32_t>(TickCount(), 2);
}

std::string PieceDescription(const GameState& game, int code) {
  int value = game.easel.pieceValue[code];
  return " Parts '" + CharText('A' + LetterIndexOf(code)) + "' of " +
         kMaterialWords[MaterialOf(code)] + " : " + DecimalText(value) + " point" +
         (value >= 2 ? "s " : " ");
}

}  // namespace

std::string DescriptionOf(const GameState& game, int code) {
  int64_t bonus = game.players.effectBonus[0];
  if (code == kVoidCell || code == kSpaceTakingPieces) return " Interstellar space ";
  if (IsPieceCode(code)) return PieceDescription(game, code);
  if (IsWall(code)) return " A wall ";
  if (IsLockedWall(code)) return " A locked wall ";
  if (IsLetterMultiplier(code)) return " Letter x" + DecimalText(LetterFactorOf(code)) + " ";
  if (IsWordMultiplier(code)) return " Word x" + DecimalText(WordFactorOf(code)) + " ";
  if (IsScoreIncrease(code))
    return " Increases of " + DecimalText(IncreasePercentOf(code)) + "% points";
  if (IsReduction(code)) {
    return " Reduces your score by " + DecimalText(ReductionPercentOf(code) + bonus) + "% ";
  }
  if (IsFalseWall(code)) return " A... wall ? ";
  if (IsMechanism(code)) {
    return std::string(" Mechanism ") + kMechanismWords[code - kFirstMechanism] + " : you have " +
           DecimalText(MechanismChanceOf(code, bonus)) + "% chance of lowering each wall around ";
  }
  if (IsBag(code)) {
    return " Adds a parts bag which " + DecimalText(BagValuableChanceOf(code)) +
           "% will be valuable parts ";
  }
  switch (code) {
    case kStartBox:
      return " The box where it all begins ";
    case kEndBox:
      return " End of the Game ";
    case kBonusMalus:
      return " Bonus/Malus : you add or remove a piece you ";
    case kHundredPoints:
      return " Bonus : +100 points ";
    case kGoldKey:
      return " A gold key ";
    case kSilverKey:
      return " A silver key ";
    case kBronzeKey:
      return " A bronze key ";
    default:
      break;
  }
  if (IsStar(code)) return " Stars ?!?? ";
  if (IsCompartment(code)) return " A magic compartment ";
  return " The soil ";  // also a cell hidden by the fog (-1)
}

void ShowStatusLine(GameState& game, const std::string& text) {
  game.status.text = text;
  game.status.start = StatusStartTick();
}

int64_t StatusLineDuration(const std::string& text) {
  return TextLength(text) * kStatusMsPerCharacter + kStatusBaseMs;
}

bool UpdateStatusLine(GameState& game) {
  StatusState& status = game.status;
  if (status.start == kStatusOff) return false;
  if (status.start == kStatusRequested) {
    PlaySoundEffect(kClickSound);
    SetSoundFrequency(kClickSound, kDescriptionClickHertz);
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
