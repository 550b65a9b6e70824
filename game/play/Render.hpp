#pragma once
// Drawing of the play screen, step by step in the order of a pass.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

// One step of the background tint: each component bounces between its bounds.
void StepBackgroundTint(BackgroundTint& tint);
// Draws the tint for a new level until low < value < high for each component.
void DrawBackgroundTint(BackgroundTint& tint);

// Space background at a fifteenth of the Board's speed, tinted.
void DrawSpaceBackground(const GameState& game);
// Two layers of nine objects drifting left to right behind the Board.
void DrawDriftingObjects(RenderState& render, int screenWidth, int screenHeight);
// New positions of the drifting objects at level start.
void ScatterDriftingObjects(RenderState& render, int screenWidth, int screenHeight);
// The Board over its visible window, shaded, hidden Cells as silhouettes in fog mode.
void DrawBoard(const BoardState& board, int screenWidth, int screenHeight);
// Last-word and laid-Piece markers, alternating every 1024 ms.
void DrawMarkers(const GameState& game, uint32_t now);
// A faint sparkle now and then on a random Cell.
void DrawSparkle(RenderState& render, const BoardState& board);
// Frame-rate counters (shown in the DetailsView).
void CountFrame(RenderState& render, uint32_t now);
void ResetFrameCounters(RenderState& render, uint32_t now);

// Message text set-up (font 7 + s), a second keyboard snapshot, then the ChatLog or the
// DetailsView.
void DrawMessages(GameState& game);
// The DetailsView (Tab or the objectives view) or the ChatLog; ends the drawing.
void DrawChatOrDetails(GameState& game);
// Whether the DetailsView is shown in this pass (needs the keyboard snapshot).
bool DetailsViewShown(const GameState& game);
// The width of a ChatLog line at the chat's largest text size (0 without a font): what
// FitChatText measures with (program.chatLineWidth).
int ChatLineWidth(const std::string& line);
// y of message line k (0 lowest) for text size s.
int MessageLineY(int screenHeight, int textSize, int k);
// The chat line being typed, with its blinking cursor.
void DrawChatInputLine(const GameState& game, uint32_t now);

// Redraws the Easel picture (sprite 1200) with its Pieces and their values, after patching
// its frame where a bonus/malus changed the slot count.
void DrawEasel(GameState& game);
// The empty Easel frame, grabbed into sprite 1200.
void ComposeEaselFrame(const GameState& game);
// The cached Easel picture.
void DrawEaselPicture(const GameState& game);
// Name, level, score, bag count and the level played, top right.
void DrawHud(const GameState& game);
// The carried Piece or the cursor.
void DrawCarriedOrCursor(const GameState& game);
// Grabbing cursor while a press is held or the Board is scrolled.
void UpdateCursorState(GameState& game);

// Composes the objectives panel into sprite 1111 (and clears the frame).
void DrawObjectivesPanel(GameState& game);
// Draws sprite 1111 at (x, y) with a mark after each objective as judged now, and keeps the
// tally (TallyObjectives).
void CountObjectivesMet(GameState& game, int x, int y);

// Handles a description request (start value 1) and draws the StatusLine while it lasts.
void DescribeCell(GameState& game);

}  // namespace qm
