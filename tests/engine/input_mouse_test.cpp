// Window events with the game's codes, the pointer position inside the window, waiting
// polls under the virtual clock, and the game's button tracking over those events.
#include "engine/Clock.hpp"
#include "game/flow/Mouse.hpp"
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using MouseTest = VideoTest;

// The event codes pending now, leaving out pointer moves and other passed-through messages.
std::vector<int> GameEvents() {
  std::vector<int> codes;
  for (int code = PollWindowEvent(0); code != 0; code = PollWindowEvent(0)) {
    switch (code) {
      case kEventLeftDown:
      case kEventRightDown:
      case kEventMiddleDown:
      case kEventMiddleUp:
      case kEventActivated:
      case kEventRightUp:
      case kEventLeftUp:
      case kEventLeftDoubleClick:
      case kEventDeactivated:
        codes.push_back(code);
        break;
      default:
        break;
    }
  }
  return codes;
}

TEST_F(MouseTest, DoubleClickReplacesTheSecondPress) {
  InjectMouseMove(40, 40);
  InjectMouseButton(MouseButton::kLeft, true, 1);
  InjectMouseButton(MouseButton::kLeft, false, 1);
  InjectMouseMove(41, 40);
  InjectMouseButton(MouseButton::kLeft, true, 2);
  InjectMouseButton(MouseButton::kLeft, false, 2);
  InjectMouseButton(MouseButton::kLeft, true, 3);  // a third quick press is a plain press again
  InjectMouseButton(MouseButton::kLeft, false, 3);
  EXPECT_EQ(GameEvents(), (std::vector<int>{513, 13112, 13113, 13112, 513, 13112}));
}

TEST_F(MouseTest, OtherButtonsAndActivationHaveTheirCodes) {
  InjectMouseButton(MouseButton::kRight, true);
  InjectMouseButton(MouseButton::kRight, false);
  InjectMouseButton(MouseButton::kMiddle, true);
  InjectMouseButton(MouseButton::kMiddle, false);
  InjectFocus(false);
  InjectFocus(true);
  EXPECT_EQ(GameEvents(), (std::vector<int>{516, 13111, 519, 520, 13114, 13104}));
}

TEST_F(MouseTest, OtherMessagesPassThroughAsNonzeroCodes) {
  InjectMouseMove(5, 5);
  InjectKey(kKeySpace, true);
  int move = PollWindowEvent(0);
  int key = PollWindowEvent(0);
  EXPECT_NE(move, 0);
  EXPECT_NE(key, 0);
  EXPECT_EQ(PollWindowEvent(0), 0);
  InjectQuit();
  EXPECT_NE(PollWindowEvent(0), 0);
  EXPECT_TRUE(QuitRequested());
}

TEST_F(MouseTest, PositionIsMinusOneOutsideTheWindow) {
  int window = MainWindowId();
  EXPECT_NE(window, 0);
  struct Case {
    int x, y, wantX, wantY;
  } cases[] = {
      {10, 20, 10, 20},
      {0, 0, 0, 0},
      {kScreenW - 1, kScreenH - 1, kScreenW - 1, kScreenH - 1},
      {-1, -1, -1, -1},
      {kScreenW, 5, -1, -1},
      {5, kScreenH, -1, -1},
      {-3, 7, -1, -1},
  };
  for (const Case& c : cases) {
    InjectMouseMove(c.x, c.y);
    EXPECT_EQ(MousePosX(window), c.wantX) << c.x << "," << c.y;
    EXPECT_EQ(MousePosY(window), c.wantY) << c.x << "," << c.y;
  }
  InjectMouseMove(10, 20);
  EXPECT_EQ(MousePosX(window + 1), -1) << "another window";
}

TEST_F(MouseTest, WaitingPollMovesTheVirtualClockAndEnds) {
  UseVirtualClock(true, 5000, 16);
  EXPECT_EQ(PollWindowEvent(0), 0);
  EXPECT_EQ(PollWindowEvent(2), 0);
  EXPECT_GE(TickCount(), 5002u);
  uint32_t before = TickCount();
  EXPECT_EQ(PollWindowEvent(-1), 0);  // no input would ever come: the wait still ends
  EXPECT_GT(TickCount(), before);

  // Input injected as the clock moves is seen by the same wait.
  SetVirtualClockListener([](uint32_t) { InjectFocus(true); });
  EXPECT_EQ(PollWindowEvent(100), kEventActivated);
  SetVirtualClockListener(nullptr);
  UseVirtualClock(false);
  while (PollWindowEvent(0) != 0) {
  }
}

TEST_F(MouseTest, ButtonTrackingKeepsOnlyTheLastEventOfEachButton) {
  ProgramState program;
  program.windowId = MainWindowId();
  InjectMouseButton(MouseButton::kLeft, true);
  InjectMouseButton(MouseButton::kLeft, false);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kLeft), 0);

  InjectMouseButton(MouseButton::kLeft, true);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kLeft), 1);
  InjectMouseButton(MouseButton::kLeft, false);
  InjectMouseButton(MouseButton::kLeft, true, 2);  // the double click's press is dropped
  EXPECT_EQ(MouseButtonIsDown(program, Button::kLeft), 0);
  InjectMouseButton(MouseButton::kLeft, false, 2);

  InjectMouseButton(MouseButton::kRight, true);
  InjectMouseButton(MouseButton::kMiddle, true);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kRight), 1);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kMiddle), 1);
  InjectMouseButton(MouseButton::kRight, false);
  InjectMouseButton(MouseButton::kMiddle, false);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kRight), 0);
  EXPECT_EQ(MouseButtonIsDown(program, Button::kMiddle), 0);
}

TEST_F(MouseTest, MouseMoveIsTheMovementSinceTheLastCall) {
  ProgramState program;
  program.windowId = MainWindowId();
  InjectMouseMove(100, 50);
  ResetMouseMove(program);
  InjectMouseMove(110, 45);
  EXPECT_EQ(MouseMoveX(program), 10);
  EXPECT_EQ(MouseMoveY(program), -5);
  EXPECT_EQ(MouseMoveX(program), 0);
  EXPECT_EQ(MouseMoveY(program), 0);
}

}  // namespace
}  // namespace qm::test
