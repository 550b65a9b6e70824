#pragma once
// The game's own mouse-button tracking over window events.
#include "game/GameState.hpp"

namespace qm {

enum class Button { kLeft, kRight, kMiddle };

// Drains every pending window event and updates the three held flags.
void PumpWindowEvents(ProgramState& program);
// Pumps the events, then answers 1 when the button is held.
int MouseButtonIsDown(ProgramState& program, Button button);
// Called as a screen starts: a left press still down belongs to the screen before (the
// click that left it) and is ignored until released.
void IgnorePressesFromBefore(ProgramState& program);
// One button event taken by a loop that polls the events itself (a plain press or release).
void NoteButtonEvent(ProgramState& program, int event);
// Pointer movement since the previous call (or ResetMouseMove); remembers the position.
int MouseMoveX(ProgramState& program);
int MouseMoveY(ProgramState& program);
int ResetMouseMove(ProgramState& program);

}  // namespace qm
