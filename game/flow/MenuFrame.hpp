#pragma once
// The frame every menu screen draws on: Arial 8, text centred on the screen, black behind.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"

namespace qm {

constexpr int kMenuRowHeight = 13;

// Clears the frame and sets up the menu font and drawing mode.
void BeginMenuFrame();
void DrawCentred(const ProgramState& program, int y, const std::string& text, uint32_t colour);

}  // namespace qm
