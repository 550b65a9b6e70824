// The game's own mouse-button tracking over window events.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/Mouse.hpp"

namespace qm {
namespace {

class MouseTracking : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // no EGL, which leaks under the leak checker
    SetHeadlessScreenSize(200, 100);
    ASSERT_NE(InitSprite(), 0);
    OpenGameScreen("test");
    program_.windowId = MainWindowId();
    PumpWindowEvents(program_);
  }
  void TearDown() override { CloseGameScreen(); }
  ProgramState program_;
};

TEST_F(MouseTracking, OnlyTheLastEventOfEachButtonCounts) {
  struct Case {
    const char* what;
    std::vector<std::pair<MouseButton, bool>> events;
    int left, right, middle;
  };
  const Case cases[] = {
      {"left pressed", {{MouseButton::kLeft, true}}, 1, 0, 0},
      {"left pressed and released between two pumps",
       {{MouseButton::kLeft, true}, {MouseButton::kLeft, false}},
       0,
       0,
       0},
      {"right and middle held",
       {{MouseButton::kRight, true}, {MouseButton::kMiddle, true}},
       0,
       1,
       1},
      {"right released, middle stays", {{MouseButton::kRight, false}}, 0, 0, 1},
      {"middle released", {{MouseButton::kMiddle, false}}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    for (auto [button, down] : c.events) InjectMouseButton(button, down);
    EXPECT_EQ(MouseButtonIsDown(program_, Button::kLeft), c.left) << c.what;
    EXPECT_EQ(MouseButtonIsDown(program_, Button::kRight), c.right) << c.what;
    EXPECT_EQ(MouseButtonIsDown(program_, Button::kMiddle), c.middle) << c.what;
  }
}

TEST_F(MouseTracking, TheSecondPressOfADoubleClickIsDropped) {
  InjectMouseButton(MouseButton::kLeft, true, 1);
  InjectMouseButton(MouseButton::kLeft, false, 1);
  PumpWindowEvents(program_);
  InjectMouseButton(MouseButton::kLeft, true, 2);
  EXPECT_EQ(MouseButtonIsDown(program_, Button::kLeft), 0);
  InjectMouseButton(MouseButton::kLeft, false, 2);
  EXPECT_EQ(MouseButtonIsDown(program_, Button::kLeft), 0);
}

TEST_F(MouseTracking, MovesAreMeasuredFromThePreviousQuery) {
  InjectMouseMove(10, 20);
  PumpWindowEvents(program_);
  ResetMouseMove(program_);
  InjectMouseMove(25, 12);
  PumpWindowEvents(program_);
  EXPECT_EQ(MouseMoveX(program_), 15);
  EXPECT_EQ(MouseMoveY(program_), -8);
  EXPECT_EQ(MouseMoveX(program_), 0);
  EXPECT_EQ(MouseMoveY(program_), 0);
}

}  // namespace
}  // namespace qm
