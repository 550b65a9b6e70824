#pragma once
// The game's vocabulary: what each Cell code means, the sprite and sound slots the screens
// share, and the sizes of the game's tables. A code is also the sprite that draws it, so the
// same names serve the rules and the drawing. Depends on nothing.
#include <cstdint>

namespace qm {

// ---- Cell codes ----------------------------------------------------------------------------
constexpr int16_t kVoidCell = 0;  // interstellar space: never drawn, takes nothing
constexpr int kFirstPieceCode = 1, kLastPieceCode = 130;      // a Piece lies on the Cell
constexpr int kFirstWall = 131, kLastWall = 144;              // lowered by mechanisms
constexpr int kFirstLockedWall = 145, kLastLockedWall = 147;  // opened by the keys, gold first
constexpr int kFirstPlain = 148, kLastPlain = 156;            // no effect, takes nothing
constexpr int kLastClosedCode = 156;                          // every code above takes a Piece
constexpr int kFirstSoil = 157, kLastSoil = 185;
constexpr int16_t kGridSoil = 159;    // the soil picture chosen among 157..159
constexpr int16_t kOpenedCell = 161;  // walls and locks fall to plain soil 161..164
constexpr int kFirstLetterMultiplier = 186, kLastLetterMultiplier = 192;  // x2..x8
constexpr int kFirstWordMultiplier = 193, kLastWordMultiplier = 199;      // x2..x8
constexpr int kFirstSmallIncrease = 200, kLastSmallIncrease = 202;        // +2, +4, +6 %
constexpr int kFirstIncrease = 203, kLastIncrease = 205;                  // +5, +10, +15 %
constexpr int kFirstReduction = 206, kLastReduction = 208;
constexpr int kFirstFalseWall = 209, kLastFalseWall = 211;  // looks like a wall, takes Pieces
constexpr int kFirstMechanism = 212, kLastMechanism = 214;  // bronze, silver, gold
constexpr int kFirstBag = 215, kLastBag = 217;
constexpr int16_t kStartBox = 218;  // GO: the first word covers it
constexpr int16_t kEndBox = 219;    // Fin: covering it ends the level
constexpr int16_t kBonusMalus = 220;
constexpr int16_t kHundredPoints = 221;
constexpr int16_t kSpaceTakingPieces = 222;  // its sprite also marks the last accepted word
constexpr int16_t kLaidMark = 223;           // marks a Piece of this turn
constexpr int16_t kExchangeMark = 224;       // marks an Easel slot chosen for an exchange
constexpr int kFirstStar = 225, kLastStar = 227;
constexpr int kFirstCompartment = 232, kLastCompartment = 234;  // always lit, also in fog
constexpr int16_t kGoldKey = 235, kSilverKey = 236, kBronzeKey = 237;
constexpr int kLastCellCode = kBronzeKey;  // a level holds no code above it
constexpr int kCellPictureCount = 240;     // cell pictures 1..240, one per code and a few more
constexpr int kFirstGridPicture = 157;     // the grid backgrounds a player picks among 157..159
constexpr int kFirstFixedSoil = 160;       // 160..185: soils that keep their own picture
constexpr int kLastOpenedCell = 164;
constexpr int kKeyKinds = 3;  // gold, silver, bronze

// ---- Pieces --------------------------------------------------------------------------------
// A Piece is a code 1..130: letter index (code - 1) mod 26, Material (code - 1) div 26.
constexpr int kLetterCount = 26, kMaterialCount = 5;
constexpr int LetterIndexOf(int code) {
  return (code - kFirstPieceCode) % kLetterCount;
}
constexpr int MaterialOf(int code) {
  return (code - kFirstPieceCode) / kLetterCount;
}
constexpr int16_t PieceCodeOf(int letterIndex, int material) {
  return static_cast<int16_t>(letterIndex + kFirstPieceCode + kLetterCount * material);
}
constexpr int16_t kGoldPieceA =
    PieceCodeOf(0, 3);  // a gold (Material 3) A: compartments fill with gold Pieces

constexpr bool InCodeRange(int code, int first, int last) {
  return code >= first && code <= last;
}
// A Cell takes a dropped Piece exactly when its code is above the closed codes.
constexpr bool AcceptsPiece(int code) {
  return code > kLastClosedCode;
}
constexpr bool HoldsPiece(int code) {
  return InCodeRange(code, kFirstPieceCode, kLastPieceCode);
}
constexpr bool IsWall(int code) {
  return InCodeRange(code, kFirstWall, kLastWall);
}
constexpr bool IsLockedWall(int code) {
  return InCodeRange(code, kFirstLockedWall, kLastLockedWall);
}
constexpr bool IsLetterMultiplier(int code) {
  return InCodeRange(code, kFirstLetterMultiplier, kLastLetterMultiplier);
}
constexpr bool IsWordMultiplier(int code) {
  return InCodeRange(code, kFirstWordMultiplier, kLastWordMultiplier);
}
constexpr bool IsReduction(int code) {
  return InCodeRange(code, kFirstReduction, kLastReduction);
}
constexpr bool IsFalseWall(int code) {
  return InCodeRange(code, kFirstFalseWall, kLastFalseWall);
}
constexpr bool IsMechanism(int code) {
  return InCodeRange(code, kFirstMechanism, kLastMechanism);
}
constexpr bool IsBag(int code) {
  return InCodeRange(code, kFirstBag, kLastBag);
}
constexpr bool IsStar(int code) {
  return InCodeRange(code, kFirstStar, kLastStar);
}
constexpr bool IsCompartment(int code) {
  return InCodeRange(code, kFirstCompartment, kLastCompartment);
}
constexpr bool IsKey(int code) {
  return InCodeRange(code, kGoldKey, kBronzeKey);
}
// What a mechanism may lower: walls, locked walls and plain cells alike.
constexpr bool IsStanding(int code) {
  return InCodeRange(code, kFirstWall, kLastClosedCode);
}
constexpr bool IsScoreIncrease(int code) {
  return InCodeRange(code, kFirstSmallIncrease, kLastIncrease);
}

// The first multiplier of each kind doubles.
constexpr int LetterFactorOf(int code) {
  return code - kFirstLetterMultiplier + 2;
}
constexpr int WordFactorOf(int code) {
  return code - kFirstWordMultiplier + 2;
}
constexpr int kSmallIncreaseStep = 2, kIncreaseStep = 5;   // per cent added per code
constexpr int kReductionStep = 5;                          // per cent taken per code
constexpr int kMechanismStep = 20, kBagValuableStep = 20;  // per cent of chance per code
// Each point of the player's effect bonus adds this many per cent to a mechanism's chance.
constexpr int kMechanismBonusFactor = 2;
constexpr int kHundredPointsBonus = 100;  // what the +100 points cell adds
constexpr int IncreasePercentOf(int code) {
  return code <= kLastSmallIncrease ? (code - kFirstSmallIncrease + 1) * kSmallIncreaseStep
                                    : (code - kFirstIncrease + 1) * kIncreaseStep;
}
constexpr int ReductionPercentOf(int code) {
  return (code - kFirstReduction + 1) * kReductionStep;
}  // before the bonus
constexpr int MechanismPercentOf(int code) {
  return (code - kFirstMechanism + 1) * kMechanismStep;
}  // before the bonus
constexpr int64_t MechanismChanceOf(int code, int64_t effectBonus) {
  return MechanismPercentOf(code) + kMechanismBonusFactor * effectBonus;
}
constexpr int BagValuableChanceOf(int code) {
  return (code - kFirstBag + 1) * kBagValuableStep;
}
// Each key opens the locked walls of its Material: gold 235 opens 145.
constexpr int16_t LockOpenedBy(int key) {
  return static_cast<int16_t>(kFirstLockedWall + key - kGoldKey);
}

// The figures each code stands for, as the cells show them.
static_assert(LetterFactorOf(kLastLetterMultiplier) == 8 && WordFactorOf(kLastWordMultiplier) == 8);
static_assert(IncreasePercentOf(kLastSmallIncrease) == 6 && IncreasePercentOf(kLastIncrease) == 15);
static_assert(ReductionPercentOf(kLastReduction) == 15 && MechanismPercentOf(kLastMechanism) == 60);
static_assert(LockOpenedBy(kBronzeKey) == kLastLockedWall && kGoldPieceA == 79);

// ---- Sprite slots beside the cell pictures -------------------------------------------------
constexpr int16_t kEmptySlot = 160;  // code (and sprite) of an empty Easel slot
constexpr int kFirstDriftObjectA = 148, kFirstDriftObjectB = 177;  // drifting background objects
constexpr int kObjectivesTileSprite = 158;  // a soil picture tiles the objectives view
constexpr int kEaselFrameTile = 228;
constexpr int kSparkleSprite = 229;
constexpr int kTokenSprite = 238, kSpentTokenSprite = 239, kExchangeDialogSprite = 240;
constexpr int kBackgroundSprite = 999;  // the level's space picture, also the fade's grab
// The interface pictures 1..11 of the gfx folder are sprites 1001..1011.
constexpr int kInterfaceSpriteBase = 1000, kInterfacePictureCount = 11;
constexpr int kPointerSprite = 1001;  // the pointer sheet, 32 x 32 frames
constexpr int kAvatarSprite = 1003;   // the avatar strip, 76 pixels an avatar
constexpr int kScorePanelSprite = 1005;
constexpr int kExitSprite = 1006;                                 // the exit square, top right
constexpr int kLeftPanelSprite = 1007, kRightPanelSprite = 1008;  // chat and music panels
constexpr int kPiecesPanelSprite = 1009, kViewPanelSprite = 1010;
constexpr int kHudFrameSprite = 1011;
constexpr int kResultPanelSprite = 1111;
constexpr int kEaselSprite = 1200;  // the cached Easel picture

// ---- Sound slots -----------------------------------------------------------------------------
constexpr int kClickSound = 0;  // played at a rate that tells the action
constexpr int kSoundLevelUp = 1;
constexpr int kSoundAccepted = 2;  // also the end of a level that brings no new level
constexpr int kSoundRefused = 3;   // also the fade back to the player list
constexpr int kSoundCancel = 5;
constexpr int kSoundWordKnown = 12;  // also an exchange
constexpr int kSoundWordUnknown = 16;
constexpr int kLevelMusic = 1;  // the music slot of the menus and of the level

// ---- Sizes ------------------------------------------------------------------------------------
constexpr int kLevelCount = 44;       // levels 1..44 are played; past 44 a player is a Master
constexpr int kMaxEaselSlots = 20;    // entries 1..20 of the Easel table
constexpr int kFewestEaselSlots = 6;  // the slot counts an Easel may have
constexpr int kMostEaselSlots = 18;
constexpr int kMaxLaidPieces = 20;  // LaidPieces entries 1..20
constexpr int kBagCapacity = 1700;  // PieceBag places 1..1700
constexpr int kBagFullAt = 1500;    // a bag of this many Pieces or more takes no more
constexpr int kExchangeTokens = 3;
constexpr int kEaselSlotWidth = 52;  // as wide as a Cell

}  // namespace qm
