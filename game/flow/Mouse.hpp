#pragma once
// The game's own mouse-button tracking over window events.
#include "game/GameState.hpp"

namespace qm {

enum class Button { kLeft, kRight, kMiddle };

// Drains every pending window event and updates the three held flags.
void PumpWindowEvents(ProgramState& program);
// Pumps the events, then answers 1 when the button is held.
int MouseButtonIsDown(ProgramState& program, Button button);
// Pointer movement since the previous call (or ResetMouseMove); remembers the position.
int MouseMoveX(ProgramState& program);
int MouseMoveY(ProgramState& program);
int ResetMouseMove(ProgramState& program);

}  // namespace qm
