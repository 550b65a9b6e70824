#include "game/flow/Mouse.hpp"

#include "engine/Input.hpp"

namespace qm {

void PumpWindowEvents(ProgramState& program) {
  // Only the last event of each button counts; a double click's second press is dropped.
  for (int event = PollWindowEvent(0); event != kEventNone; event = PollWindowEvent(0)) {
    switch (event) {
      case kEventLeftDown:
        program.leftHeld = 1;
        break;
      case kEventLeftUp:
        program.leftHeld = 0;
        break;
      case kEventRightDown:
        program.rightHeld = 1;
        break;
      case kEventRightUp:
        program.rightHeld = 0;
        break;
      case kEventMiddleDown:
        program.middleHeld = 1;
        break;
      case kEventMiddleUp:
        program.middleHeld = 0;
        break;
      default:
        break;
    }
  }
}

int MouseButtonIsDown(ProgramState& program, Button button) {
  PumpWindowEvents(program);
  switch (button) {
    case Button::kLeft:
      return program.leftHeld != 0 ? 1 : 0;
    case Button::kRight:
      return program.rightHeld != 0 ? 1 : 0;
    case Button::kMiddle:
      return program.middleHeld != 0 ? 1 : 0;
  }
  return 0;
}

int MouseMoveX(ProgramState& program) {
  int x = MousePosX(program.windowId);
  int moved = x - program.lastMouseX;
  program.lastMouseX = x;
  return moved;
}

int MouseMoveY(ProgramState& program) {
  int y = MousePosY(program.windowId);
  int moved = y - program.lastMouseY;
  program.lastMouseY = y;
  return moved;
}

int ResetMouseMove(ProgramState& program) {
  program.lastMouseX = MousePosX(program.windowId);
  program.lastMouseY = MousePosY(program.windowId);
  return 0;
}

}  // namespace qm
