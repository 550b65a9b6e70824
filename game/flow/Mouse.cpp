#include "game/flow/Mouse.hpp"

#include <vector>

#include "engine/Input.hpp"

namespace qm {
namespace {

struct ButtonFlags {
  int32_t& held;
  int8_t& tap;
};

ButtonFlags FlagsOf(ProgramState& program, Button button) {
  switch (button) {
    case Button::kRight:
      return {program.rightHeld, program.rightTap};
    case Button::kMiddle:
      return {program.middleHeld, program.middleTap};
    case Button::kLeft:
      break;
  }
  return {program.leftHeld, program.leftTap};
}

void Release(ProgramState& program, Button button) {
  ButtonFlags flags = FlagsOf(program, button);
  flags.held = 0;
  flags.tap = 0;
  if (button == Button::kLeft) program.leftFromBefore = 0;
}

bool ButtonOfEvent(int event, Button& button, bool& down) {
  switch (event) {
    case kEventLeftDown:
      button = Button::kLeft;
      down = true;
      return true;
    case kEventLeftUp:
      button = Button::kLeft;
      down = false;
      return true;
    case kEventRightDown:
      button = Button::kRight;
      down = true;
      return true;
    case kEventRightUp:
      button = Button::kRight;
      down = false;
      return true;
    case kEventMiddleDown:
      button = Button::kMiddle;
      down = true;
      return true;
    case kEventMiddleUp:
      button = Button::kMiddle;
      down = false;
      return true;
    default:
      return false;
  }
}

constexpr Button kButtons[] = {Button::kLeft, Button::kRight, Button::kMiddle};

}  // namespace

void PumpWindowEvents(ProgramState& program) {
  bool released[3] = {false, false, false};
  bool pressedNow[3] = {false, false, false};
  // A tap the game has already seen held ends now.
  for (Button b : kButtons) {
    if (FlagsOf(program, b).tap != 2) continue;
    Release(program, b);
    released[static_cast<size_t>(b)] = true;
  }
  std::vector<int> events;
  events.swap(program.deferredButtonEvents);
  for (int event = PollWindowEvent(0); event != kEventNone; event = PollWindowEvent(0)) {
    events.push_back(event);
  }
  // A touchpad tap, or a quick click between two frames, brings its press and its release in
  // the same drain: the press is kept held until the game has seen it. A press that follows
  // a release in the same drain waits for the next one, so that the game sees the button up
  // between two quick clicks. A double click's second press is dropped.
  for (size_t i = 0; i < events.size(); ++i) {
    Button button = Button::kLeft;
    bool down = false;
    if (!ButtonOfEvent(events[i], button, down)) continue;
    const auto index = static_cast<size_t>(button);
    if (down && released[index]) {
      for (size_t j = i; j < events.size(); ++j) {
        if (ButtonOfEvent(events[j], button, down))
          program.deferredButtonEvents.push_back(events[j]);
      }
      return;
    }
    ButtonFlags flags = FlagsOf(program, button);
    if (down) {
      flags.held = 1;
      flags.tap = 0;
      pressedNow[index] = true;
    } else if (pressedNow[index]) {
      flags.tap = 1;
      released[index] = true;
    } else {
      Release(program, button);
      released[index] = true;
    }
  }
}

void NoteButtonEvent(ProgramState& program, int event) {
  Button button = Button::kLeft;
  bool down = false;
  if (!ButtonOfEvent(event, button, down)) return;
  if (down) {
    FlagsOf(program, button).held = 1;
    FlagsOf(program, button).tap = 0;
  } else {
    Release(program, button);
  }
}

void IgnorePressesFromBefore(ProgramState& program) {
  PumpWindowEvents(program);
  // A whole click made while the screens changed is one for this screen.
  if (program.leftHeld != 0 && program.leftTap == 0) program.leftFromBefore = 1;
}

int MouseButtonIsDown(ProgramState& program, Button button) {
  PumpWindowEvents(program);
  ButtonFlags flags = FlagsOf(program, button);
  if (flags.held == 0) return 0;
  if (flags.tap == 1) flags.tap = 2;
  if (button == Button::kLeft && program.leftFromBefore != 0) return 0;
  return 1;
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
