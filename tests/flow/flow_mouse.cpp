// The game's own mouse-button tracking over window events: held buttons, taps whose press
// and release come in one drain, quick clicks, double clicks, and presses begun before a
// screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/Mouse.hpp"

namespace qm {
namespace {

// One button event as the window would send it; clicks 2 is a double click's second press.
struct Event {
  MouseButton button;
  bool down;
  int clicks = 1;
};

constexpr Event kLeftDown{MouseButton::kLeft, true};
constexpr Event kLeftUp{MouseButton::kLeft, false};
constexpr Event kLeftDouble{MouseButton::kLeft, true, 2};
constexpr Event kLeftDoubleUp{MouseButton::kLeft, false, 2};
constexpr Event kRightDown{MouseButton::kRight, true};
constexpr Event kRightUp{MouseButton::kRight, false};
constexpr Event kMiddleDown{MouseButton::kMiddle, true};
constexpr Event kMiddleUp{MouseButton::kMiddle, false};

// Events pushed before a pass, then the buttons a pass asks for and the answers wanted.
struct Pass {
  std::vector<Event> events;
  std::vector<std::pair<Button, int>> asked;
};

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

  void Run(const char* what, const std::vector<Pass>& passes) {
    int n = 0;
    for (const Pass& pass : passes) {
      for (const Event& e : pass.events) InjectMouseButton(e.button, e.down, e.clicks);
      for (auto [button, want] : pass.asked) {
        EXPECT_EQ(MouseButtonIsDown(program_, button), want)
            << what << ", pass " << n << ", button " << static_cast<int>(button);
      }
      ++n;
    }
  }
  ProgramState program_;
};

constexpr Button L = Button::kLeft;
constexpr Button R = Button::kRight;
constexpr Button M = Button::kMiddle;

TEST_F(MouseTracking, HeldButtonsTapsAndDoubleClicks) {
  struct Case {
    const char* what;
    std::vector<Pass> passes;
  };
  const Case cases[] = {
      {"a held press stays held until its release",
       {{{kLeftDown}, {{L, 1}}}, {{}, {{L, 1}}}, {{kLeftUp}, {{L, 0}}}}},
      // A tap departs from "only the last event counts": it is held for one pass.
      {"a tap is held once, then released",
       {{{kLeftDown, kLeftUp}, {{L, 1}}}, {{}, {{L, 0}}}, {{}, {{L, 0}}}}},
      {"two clicks in one drain: held, up, held, up",
       {{{kLeftDown, kLeftUp, kLeftDown, kLeftUp}, {{L, 1}}},
        {{}, {{L, 0}}},
        {{}, {{L, 1}}},
        {{}, {{L, 0}}}}},
      {"a release and a new press in one drain: up for one pass in between",
       {{{kLeftDown}, {{L, 1}}},
        {{kLeftUp, kLeftDown}, {{L, 0}}},
        {{}, {{L, 1}}},
        {{kLeftUp}, {{L, 0}}}}},
      {"a tap survives the play loop asking for the right button first",
       {{{kLeftDown, kLeftUp}, {{R, 0}, {L, 1}}}, {{}, {{R, 0}, {L, 0}}}}},
      {"a right tap and a middle tap, each seen once",
       {{{kRightDown, kRightUp, kMiddleDown, kMiddleUp}, {{L, 0}, {R, 1}, {M, 1}}},
        {{}, {{R, 0}, {M, 0}}}}},
      {"a tap while another press is held leaves that press held",
       {{{kRightDown}, {{R, 1}}},
        {{kLeftDown, kLeftUp}, {{R, 1}, {L, 1}}},
        {{}, {{R, 1}, {L, 0}}},
        {{kRightUp}, {{R, 0}}}}},
      {"a double click in separate passes: the second press is dropped",
       {{{kLeftDown}, {{L, 1}}},
        {{kLeftUp}, {{L, 0}}},
        {{kLeftDouble}, {{L, 0}}},
        {{kLeftDoubleUp}, {{L, 0}}}}},
      {"a double click within one drain still gives its first press once",
       {{{kLeftDown, kLeftUp, kLeftDouble, kLeftDoubleUp}, {{L, 1}}}, {{}, {{L, 0}}}}},
      {"a release seen without its press clears the flag",
       {{{kLeftDown}, {{L, 1}}}, {{kLeftUp, kLeftDouble}, {{L, 0}}}, {{kLeftDoubleUp}, {{L, 0}}}}},
      {"right and middle held together, released one by one",
       {{{kRightDown, kMiddleDown}, {{L, 0}, {R, 1}, {M, 1}}},
        {{kRightUp}, {{R, 0}, {M, 1}}},
        {{kMiddleUp}, {{R, 0}, {M, 0}}}}},
  };
  for (const Case& c : cases) {
    program_ = ProgramState{};
    program_.windowId = MainWindowId();
    Run(c.what, c.passes);
  }
}

TEST_F(MouseTracking, APressBegunBeforeTheScreenIsIgnoredUntilReleased) {
  struct Case {
    const char* what;
    std::vector<Event> before;   // events of the screen before, which saw them all
    std::vector<Event> atEntry;  // pending when the screen starts
    std::vector<Pass> passes;
  };
  const Case cases[] = {
      {"left still held: ignored, then a new click counts",
       {kLeftDown},
       {},
       {{{}, {{L, 0}}}, {{kLeftUp}, {{L, 0}}}, {{kLeftDown}, {{L, 1}}}, {{kLeftUp}, {{L, 0}}}}},
      {"pressed as the screen before ended, still held",
       {},
       {kLeftDown},
       {{{}, {{L, 0}}}, {{kLeftUp, kLeftDown}, {{L, 0}}}, {{}, {{L, 1}}}}},
      {"released during the screen change: nothing to ignore",
       {kLeftDown},
       {kLeftUp},
       {{{kLeftDown}, {{L, 1}}}}},
      {"a whole click made while the screens changed counts once",
       {},
       {kLeftDown, kLeftUp},
       {{{}, {{L, 1}}}, {{}, {{L, 0}}}}},
      {"a tap the screen before saw is over",
       {kLeftDown, kLeftUp},
       {},
       {{{}, {{L, 0}}}, {{kLeftDown, kLeftUp}, {{L, 1}}}}},
      {"the right button held across is still held",
       {kRightDown, kLeftDown},
       {},
       {{{}, {{R, 1}, {L, 0}}}}},
  };
  for (const Case& c : cases) {
    program_ = ProgramState{};
    program_.windowId = MainWindowId();
    for (const Event& e : c.before) InjectMouseButton(e.button, e.down, e.clicks);
    PumpWindowEvents(program_);
    MouseButtonIsDown(program_, L);
    MouseButtonIsDown(program_, R);
    for (const Event& e : c.atEntry) InjectMouseButton(e.button, e.down, e.clicks);
    IgnorePressesFromBefore(program_);
    Run(c.what, c.passes);
    // Leave every button up for the next case.
    for (MouseButton b : {MouseButton::kLeft, MouseButton::kRight}) InjectMouseButton(b, false);
    PumpWindowEvents(program_);
  }
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
