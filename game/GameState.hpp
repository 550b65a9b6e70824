#pragma once
// The one record of every game variable and table, alive for the whole run.
// Each sub-record belongs to one concern; functions that change state take the
// sub-record (or the whole GameState) they change explicitly.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Random.hpp"
#include "game/LevelIdentity.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

// ---- Program, window and mouse (start-up) -------------------------------------------
struct ProgramState {
  int8_t chatTextSize = 1;       // s: added to the chat font size, 0..3
  int32_t chatTransparency = 0;  // T: 0 text over a shadow copy, 1 text on black
  int8_t chatLastLine = 9;       // L: ChatLog lines 0..L shown, -1..19 in steps of 2
  std::string titleFontFace = "Times New Roman";
  uint8_t humanPlayer = 0;    // index of the human player in the per-player tables
  int8_t musicTrack = 1;      // level music number; <= 0 = music off (remembers -track)
  int8_t gridBackground = 2;  // picture 157 + this number goes into sprite 159
  int32_t windowId = 0;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  // Width in pixels of a ChatLog line at its largest text size, measured with the play
  // screen's fonts (0 or less: no font). Without it (the tools) lines are not fitted.
  int (*chatLineWidth)(const std::string& line) = nullptr;
  int32_t visibleColumnSpan = 0;                        // screen width / 52 + 2
  int32_t visibleRowSpan = 0;                           // screen height / 45 + 2
  int32_t leftHeld = 0, rightHeld = 0, middleHeld = 0;  // kept by PumpWindowEvents
  // A press whose release came in the same drain (a tap): 1 until the game has seen the
  // button held, 2 once seen; the next drain releases it.
  int8_t leftTap = 0, rightTap = 0, middleTap = 0;
  int8_t leftFromBefore = 0;  // the left press began before the screen: ignored until released
  std::vector<int> deferredButtonEvents;   // a second click's events, for the next drain
  int32_t lastMouseX = 0, lastMouseY = 0;  // reference of MouseMoveX/Y
};

// ---- Per-player tables (index 0 = the player who is playing) -------------------------
struct PlayerTables {
  std::array<uint8_t, 21> avatars{};          // 0..19; index k = avatar chosen for new profile k
  std::array<std::string, 9> speakerNames{};  // 0 = player's name, 1..8 "Quillmosaica"
  std::array<int64_t, 8> scores{};
  std::array<uint8_t, 8> levelsReached{};
  // Current-player profile bytes carried from load to save (element 0 used).
  std::array<int8_t, 21> reserved1{}, effectBonus{}, reserved2{}, reserved3{};
};

// ---- Player and level menus -----------------------------------------------------------
struct MenuState {
  static constexpr int kProfiles = 20;
  std::array<std::string, 21> name{};
  std::array<int32_t, 21> levelReached{}, avatar{}, easelSize{}, reserved1{}, effectBonus{},
      reserved2{}, reserved3{};
  std::array<int64_t, 21> score{};
  int32_t selectedProfile = 0;
  int32_t firstFreeProfile = -1;
  int32_t currentLevel = 1;                   // the level being (or about to be) played
  LevelIdentity levelIdentity;                // which level that is (hand-made: currentLevel)
  bool continueSaved = false;                 // the next level start continues the player's save
  std::array<std::string, 51> levelTitles{};  // 1..50
  // New player entry screen.
  int32_t blinkCounter = 0;
  int32_t backspaceLatch = 0;
  int32_t avatarChanged = 0;
  // Why the last profile save failed (with the file's path); empty once a save works.
  std::string saveProblem;
};

// ---- Graphics sets --------------------------------------------------------------------
struct GraphicsState {
  int8_t backgroundPicture = 0;  // 0..23, file of sprite 999
  int8_t pointerFrame = 0;
};

// ---- Board of the current level -------------------------------------------------------
struct BoardState {
  int16_t w = 0, h = 0;        // highest column / row index
  std::vector<int16_t> cells;  // column-major: index = column * (h + 1) + row
  std::vector<int8_t> shade;   // ShadeMap, same indexing; 127 = hidden in fog
  int16_t startColumn = 0, startRow = 0;
  int32_t shadePeriod = 0;              // > 0 bands, <= 0 fog mode
  std::array<int32_t, 3> shadeStep{};   // r, g, b subtracted per shade step
  std::array<int32_t, 3> baseTint{};    // r, g, b at shade 0
  std::array<int8_t, 21> objectives{};  // LevelObjectives; [0] = objective count
  std::string title;
  std::array<int16_t, 9> revealColumn{}, revealRow{};  // entry 1 is the one used
  int32_t cameraX = 0, cameraY = 0;
  int32_t firstVisibleColumn = 0, firstVisibleRow = 0;
};

// ---- Play loop and input --------------------------------------------------------------
struct ChatInputLine {
  std::string text;
  int32_t cursor = 0;
  int32_t lastLength = 0;
  uint32_t editMark = 0;  // tick of the last edit key, 0 = none
};

struct ExchangeState {
  std::array<int32_t, 3> spent{};  // token k spent
  int32_t activeToken = 0;         // 0 none, 1..3
  int32_t hoveredButton = 0;       // 0, 1 cancel, 2 exchange
  int32_t markingLatch = 0;
  std::array<int32_t, kMaxEaselSlots + 1> marks{};  // Easel slot k marked for exchange
};

struct PlayState {
  int32_t mouseX = 0, mouseY = 0;
  int32_t left = 0, right = 0, middle = 0;
  int8_t rightHeldBefore = 0;
  int32_t cellColumn = -1, cellRow = -1;  // cell under the mouse
  int8_t dragState = 0;                   // 0 idle, 1 carrying, 2 held without a Piece
  int16_t carriedCode = 0;
  int16_t dragSourceColumn = -1, dragSourceRow = -1;  // Easel slot k with row -1, or a Cell
  int8_t validationLatch = 0;
  int8_t enterLatch = 0;
  uint32_t enterTick = 0;
  int8_t chatOpen = 0;
  ChatInputLine chatInput;
  int8_t objectivesViewToggle = 0;
  uint32_t endTick = 0;  // 0 while the level runs
  ExchangeState exchange;
  int32_t horizontalScroll = 1, verticalScroll = 1;
  bool restartLevel = false;          // set by the level-skip chat command: start currentLevel anew
  bool recomposeResultPanel = false;  // the window came back after the level ended
  std::string lastVerdict;            // "Lv.+1", "Good" or "Echec" of the last result panel
};

// ---- Drawing state of the play screen ---------------------------------------------------
struct BackgroundTint {
  std::array<int32_t, 3> value{}, low{}, high{}, step{};  // r, g, b
  uint32_t mark = 0;                                      // tick of the last step
};

struct DriftingObject {
  int32_t x = 0;  // fixed point: screen x * 48 (layer A) or * 64 (layer B)
  int32_t y = 0;
};

struct RenderState {
  BackgroundTint tint;
  std::array<DriftingObject, 9> layerA{}, layerB{};
  int32_t sparklePhase = 0, sparkleStep = 0;
  int8_t sparkleColumn = 0, sparkleRow = 0;
  uint32_t levelStartMark = 0, secondMark = 0;
  int32_t frameCount = -20, framesThisSecond = 0, framesPerSecond = 20, averageFps = 20;
  std::array<int16_t, kMaxLaidPieces + 1> lastWordColumn{}, lastWordRow{};  // column -1 empty
  int32_t cursorFrame = 0, cursorState = 0, appliedCursorState = -1;
  std::array<uint32_t, 9> speakerColours{};  // 0 player, 1..7 game lines, 8 the game
  int16_t panelX = 0, panelY = 0;            // objectives / result panel position
};

// ---- Options (level play) ---------------------------------------------------------------
struct OptionsState {
  int8_t musicVolume = 50;     // 10..100 per cent
  int8_t arrangement = 0;      // 0 by code, 1 by value
  int8_t panelClickLatch = 0;  // 0 free, 1 entry clicked, 2 volume strip dragged
};

// ---- Pieces, bag and Easel ----------------------------------------------------------------
struct LaidPiece {
  int16_t column = -1;  // -1 = free entry
  int16_t row = 0;
  int16_t under = 0;  // cell code that lay under the Piece
};

// A bonus/malus changed the slot count: the Easel picture's frame is to be patched, at the
// position the Easel had before, the next time the play screen draws the Easel.
struct EaselFramePatch {
  bool pending = false;
  int32_t left = 0, top = 0;  // the Easel's position before the change
  int32_t slots = 0;          // the new slot count
};

struct EaselState {
  std::array<uint8_t, kEmptySlot + 1> pieceValue{};          // PieceValueTable by piece code
  std::array<uint8_t, kLetterCount + 1> letterFrequency{};   // LetterFrequencyTable, letters 1..26
  std::vector<int16_t> bag = std::vector<int16_t>(1701, 0);  // [0] = count
  int8_t valuableChance = 50;
  std::array<int16_t, kMaxEaselSlots + 1> slots{};  // [0] = slot count n; kEmptySlot = empty
  int16_t referenceSlotCount = 0;  // n at level start / last accepted move; -1 = panel composed
  int16_t carriedSlotCount = 0;    // n dealt by the next StartLevel
  std::array<LaidPiece, kMaxLaidPieces + 1> laid{};  // entries 1..20
  int32_t left = 0, right = 0, top = 0, bottom = 0;  // LayOutEasel
  EaselFramePatch framePatch;
  // A generated level deals from a stream of its own (none: the game's one random source).
  std::optional<RandomStream> dealStream;
};

// ---- The move being validated -------------------------------------------------------------
enum Axis : int { kFallingDiagonal = 0, kRow = 1, kRisingDiagonal = 2, kAxisUnset = -1 };
enum Material : int {
  kPlastic = 0,
  kBronze = 1,
  kSilver = 2,
  kGold = 3,
  kDiamond = 4,
  kMixedMaterial = 5,
  kMaterialUnknown = -1
};

struct GatheredWord {
  std::string text;
  int64_t letterSum = 0;
  int64_t wordFactor = 1;
  int32_t newPieces = 0;
  int32_t material = kMaterialUnknown;
};

struct FoundWord {  // a word the dictionary knew, offered to the objectives
  std::string text;
  int64_t score = 0;
  int32_t material = kMaterialUnknown;
};

struct MoveState {
  int32_t laidCount = 0;
  int32_t mainAxis = kAxisUnset;
  bool attached = false;
  int64_t moveTotal = 0;
  std::string details;
  std::array<GatheredWord, 3> words;
  std::vector<FoundWord> found;  // applied to the objectives when the turn is accepted
  std::string mainWord;          // the word along the line, or a lone Piece's longest known word
  int8_t starMaterial = 0;       // 0 none, 1..3
  bool accepted = false;         // the last ValidateMove accepted its turn
};

// ---- Dictionary, chat and move history ------------------------------------------------------
struct ChatLine {
  std::string text;
  uint8_t speaker = 0;
  int32_t time = 0;  // tick when posted (ChatLog only)
};

struct ChatState {
  std::array<ChatLine, 20> chatLog{};
  std::array<ChatLine, 20> moveHistory{};
};

// ---- Objectives ---------------------------------------------------------------------------
struct ObjectivesState {
  std::array<int8_t, 21> progress{};     // 1, 3, 5, 7 words made; [0] = objectives met
  std::array<int16_t, 21> lineWidths{};  // 1, 3, 5, 7, 9, 10, 11 (end box)
};

// ---- StatusLine -----------------------------------------------------------------------------
struct StatusState {
  std::string text;
  uint32_t start = 0;       // 0 off, 1 description requested, else the tick it began
  int32_t requestCode = 0;  // code to describe: -1 hidden cell, 0 no cell
};

// ---- Hints (F1) ------------------------------------------------------------------------------
struct HintPiece {
  int16_t column = 0, row = 0;
  int16_t code = 0;
};

struct HintState {
  int8_t keyLatch = 0;            // F1 acts once per press
  bool requested = false;         // asked for, waiting for the search to be free
  uint32_t pendingJob = 0;        // the search whose answer is awaited, 0 none
  int32_t used = 0;               // hints given in this level
  uint32_t shownAt = 0;           // tick the hinted Pieces appeared, 0 none shown
  std::vector<HintPiece> pieces;  // the hinted move, drawn faded, never laid
};

// ---- Records of the chosen player (their own file beside the profiles) -----------------------
struct DailyResult {
  int32_t day = 0;  // YYYYMMDD, the UTC day the daily belongs to
  bool won = false;
  int64_t points = 0;  // points made in that level
  int32_t moves = 0;   // moves accepted in it
  int32_t hints = 0;
};

struct StreakState {
  int32_t current = 0;  // dailies won on consecutive days, up to the last one counted
  int32_t best = 0;
  int32_t lastDay = 0;  // YYYYMMDD of the last day that counted, 0 none
};

struct PlayerRecords {
  std::string playerName;
  std::string bestWord;  // the main word of the best move
  int64_t bestPoints = 0;
  std::string bestLevel;  // "Level 3", "Daily 2026-12-11", "Endless 2"
  std::string longestWord;
  int64_t wordsAccepted = 0, levelsWon = 0, hintsUsed = 0;
  int32_t endlessReached = 0;  // the highest endless level opened, 0 none
  StreakState streak;
  std::vector<DailyResult> dailies;  // one per day, oldest first
};

// What the level being played has brought so far, for its result.
struct LevelTally {
  int64_t startScore = 0;
  int32_t moves = 0;
  int32_t startedOn = 0;  // the UTC date when the level started
  bool reported = false;  // its result has reached the records
};

struct RecordsState {
  int32_t profile = 0;  // 0: no player chosen, nothing is written
  PlayerRecords records;
  LevelTally tally;
  std::string shareLine;  // the last daily's share line ("" none)
  bool shareCopied = false;
};

struct GameState {
  ProgramState program;
  PlayerTables players;
  MenuState menu;
  GraphicsState graphics;
  BoardState board;
  PlayState play;
  RenderState render;
  OptionsState options;
  EaselState easel;
  MoveState move;
  ChatState chat;
  ObjectivesState objectives;
  StatusState status;
  HintState hint;
  RecordsState records;
};

// The running game's one state.
GameState& Game();

}  // namespace qm
