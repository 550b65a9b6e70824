// Window events with the game's codes, the pointer position inside the window and waiting
// polls under the virtual clock (the game's button tracking is tested with the flow).
#include "engine/Clock.hpp"
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

TEST_F(MouseTest, ButtonsAndActivationHaveTheGameCodes) {
  using B = MouseButton;
  struct Step {
    B button;
    bool down;
    int clicks;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"a double click replaces the second press; a third quick press is plain again",
       {{B::kLeft, true, 1},
        {B::kLeft, false, 1},
        {B::kLeft, true, 2},
        {B::kLeft, false, 2},
        {B::kLeft, true, 3},
        {B::kLeft, false, 3}},
       {513, 13112, 13113, 13112, 513, 13112}},
      {"right and middle presses and releases",
       {{B::kRight, true, 1}, {B::kRight, false, 1}, {B::kMiddle, true, 1}, {B::kMiddle, false, 1}},
       {516, 13111, 519, 520}},
      {"a right double click is not a left one",
       {{B::kRight, true, 1}, {B::kRight, false, 1}, {B::kRight, true, 2}, {B::kRight, false, 2}},
       {516, 13111, 13111}},
  };
  for (const Case& c : cases) {
    InjectMouseMove(40, 40);
    for (const Step& s : c.steps) InjectMouseButton(s.button, s.down, s.clicks);
    EXPECT_EQ(GameEvents(), c.codes) << c.what;
  }
  InjectFocus(false);
  InjectFocus(true);
  EXPECT_EQ(GameEvents(), (std::vector<int>{13114, 13104}));
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

}  // namespace
}  // namespace qm::test
