#pragma once
// The option panels at the screen edges and the validation button.
#include <array>
#include <cstdint>

#include "game/GameState.hpp"

namespace qm {

// Chat, music and Pieces panels, the validation button and the view panel, in that order.
void HandleOptionPanels(GameState& game, uint32_t now);

// The settings the entries change (each also usable alone).
int8_t ChatMore(int8_t lastLine);            // +2, at most 19
int8_t ChatSmaller(int8_t lastLine);         // -2, below 0 becomes -1
int NextTrack(int track);                    // 1 after 12
int PreviousTrack(int track);                // 12 below 1
int VolumeAt(int screenHeight, int mouseY);  // the volume strip: 10 at the bottom row, 100 max
// Sorts slots 1..n by code (arrangement 0) or by value then code (arrangement 1).
void SortEasel(EaselState& easel, int arrangement);

}  // namespace qm
