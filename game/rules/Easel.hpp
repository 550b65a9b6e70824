#pragma once
// Pieces, the PieceBag they are dealt from, and the Easel (the player's rack).
#include <cstdint>

#include "game/GameState.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

// Letter and Material of a Piece code: LetterIndexOf, MaterialOf, PieceCodeOf in Codes.hpp.
inline bool IsPieceCode(int code) {
  return HoldsPiece(code);
}

// A number 0..m for what the rules draw (deals, chances, star Materials...): from the level's
// own stream when it has one, so the same moves on a generated level meet the same luck.
int64_t LevelRandomUpTo(EaselState& easel, int64_t m);
// Fills the PieceValueTable and the LetterFrequencyTable (before the first level).
void BuildPieceTables(EaselState& easel);
// Adds one bag of 98 Pieces, their Materials drawn with the valuable chance; a bag that
// already holds 1500 Pieces or more takes nothing.
void FillPieceBag(EaselState& easel);
// Takes one Piece at random out of the bag; an empty bag gives an empty slot (160).
int16_t DrawFromBag(EaselState& easel);
// Level start: slots 1..n each receive DrawFromBag in order.
void DealEasel(EaselState& easel);
// An exchange: the Piece of Easel slot k changes places with a random Piece of the bag. False,
// with nothing changed, when the bag is empty.
bool SwapWithBag(EaselState& easel, int k);
// After an accepted move: empty slots 1..n, in order, draw from the bag while it lasts.
void RefillEasel(EaselState& easel);
// Every Piece laid this turn goes back to the lowest free slot, its cell gets back the
// code that lay under it (the play screen redraws the Easel after).
void ReturnLaidPieces(GameState& game);
// Easel position and active rectangle from the slot count n.
void LayOutEasel(EaselState& easel, int screenHeight);

// The rules' part of a level start, drawing nothing, for the game and the bot alike (the
// Board is loaded first): the slot count carried over (held within 6..18), a new bag and the
// deal, no Piece laid, no word marked, the fog to lift around the start, no objective met.
void ResetLevelRules(GameState& game);

// Index of the lowest Easel slot 1..n holding 160, or 0 when none is free.
int LowestFreeSlot(const EaselState& easel);
// Number of LaidPieces entries in use.
int LaidPieceCount(const EaselState& easel);
// The LaidPieces entry (1..20) laid on (column, row), or 0.
int LaidEntryAt(const EaselState& easel, int column, int row);
// The first free LaidPieces entry (1..20), or 0.
int FreeLaidEntry(const EaselState& easel);
// The first Easel slot 1..n holding code, or 0.
int SlotHolding(const EaselState& easel, int16_t code);

// Puts a Piece of this turn (already out of its Easel slot) on a Cell; the code under it
// waits in the first free LaidPieces entry. False, with nothing changed, when the Cell is
// off the Board or takes no Piece, or every entry is in use.
bool PlaceTurnPiece(GameState& game, int column, int row, int16_t code);
// Lays the Piece of Easel slot `slot` on a Cell, as a drop does: the one way a Piece goes
// from the Easel to the Board (the drop, typing, the bot, move files and tests). False, with
// nothing changed, when the slot holds no Piece or the Piece cannot go there.
bool LayPiece(GameState& game, int slot, int column, int row);
// Lifts the Piece of this turn off (column, row): the Cell gets back the code that lay under
// it and the entry is freed. Returns the Piece's code, or 0 when no Piece of this turn lies
// there (a Piece of an earlier turn stays for good).
int16_t LiftTurnPiece(GameState& game, int column, int row);

}  // namespace qm
