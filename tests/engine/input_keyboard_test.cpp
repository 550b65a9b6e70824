// The key snapshot by scan code, typed characters handed out on release, and the
// keyboard going silent while the window is in the background.
#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

using KeyboardTest = VideoTest;

// One pass of a text-entry screen's loop.
std::string Pass() {
  EXPECT_EQ(ReadKeyboard(), 1);
  return TypedCharacter();
}

TEST_F(KeyboardTest, PhysicalKeysGiveTheirScanCodes) {
  // SDL numbers keys by their USB usage; the game by set-1 scan codes (+128 extended).
  struct Case {
    int usage;
    int scan;
  } cases[] = {
      {41, kKeyEscape},
      {42, kKeyBackspace},
      {43, kKeyTab},
      {40, kKeyReturn},
      {225, kKeyLeftShift},
      {229, kKeyRightShift},
      {226, kKeyLeftAlt},
      {44, kKeySpace},
      {59, kKeyF2},
      {61, kKeyF4},
      {88, kKeyPadEnter},
      {74, kKeyHome},
      {82, kKeyUp},
      {80, kKeyLeft},
      {79, kKeyRight},
      {77, kKeyEnd},
      {76, kKeyDelete},
      {4, 30},
      {29, 44},
      {30, 2},
      {39, 11},
      {95, 71},
      {98, 82},
      {84, 181},
      {81, 208},
      {75, 201},
      {78, 209},
      {73, 210},
      {224, 29},
      {228, 157},
      {230, 184},
      {57, 58},
      {58, 59},
      {69, 88},
      {54, 51},
      {56, 53},
  };
  for (const Case& c : cases) {
    InjectPhysicalKey(c.usage, true);
    ASSERT_EQ(ReadKeyboard(), 1);
    EXPECT_NE(KeyIsDown(c.scan), 0) << "usage " << c.usage << " scan " << c.scan;
    EXPECT_NE(KeyIsDown(-1), 0);
    InjectPhysicalKey(c.usage, false);
    ASSERT_EQ(ReadKeyboard(), 1);
    EXPECT_EQ(KeyIsDown(c.scan), 0) << "usage " << c.usage;
    EXPECT_EQ(KeyIsDown(-1), 0);
  }
}

TEST_F(KeyboardTest, SnapshotHoldsUntilTheNextRead) {
  InjectKey(kKeySpace, true);
  EXPECT_EQ(KeyIsDown(kKeySpace), 0) << "not read yet";
  ASSERT_EQ(ReadKeyboard(), 1);
  EXPECT_NE(KeyIsDown(kKeySpace), 0);
  EXPECT_EQ(KeyIsDown(kKeyReturn), 0);
  EXPECT_EQ(KeyIsDown(256), 0);
  EXPECT_EQ(KeyIsDown(-2), 0);
  InjectKey(kKeySpace, false);
  EXPECT_NE(KeyIsDown(kKeySpace), 0) << "the snapshot is the last read";
  ASSERT_EQ(ReadKeyboard(), 1);
  EXPECT_EQ(KeyIsDown(kKeySpace), 0);
}

TEST_F(KeyboardTest, CharacterComesOnceInThePassAfterTheRelease) {
  InjectKey(30, true);
  InjectText("a");
  EXPECT_EQ(Pass(), "");
  EXPECT_EQ(Pass(), "");
  InjectKey(30, false);
  EXPECT_EQ(Pass(), "a");
  EXPECT_EQ(Pass(), "");
}

TEST_F(KeyboardTest, LettersFollowShiftAtReleaseTime) {
  InjectKey(kKeyLeftShift, true);
  InjectKey(30, true);
  InjectText("A");
  EXPECT_EQ(Pass(), "");
  InjectKey(30, false);
  EXPECT_EQ(Pass(), "A");
  InjectKey(kKeyLeftShift, false);
  EXPECT_EQ(Pass(), "");  // Shift itself types nothing

  InjectKey(kKeyRightShift, true);
  InjectKey(31, true);
  InjectText("S");
  EXPECT_EQ(Pass(), "");
  InjectKey(kKeyRightShift, false);
  InjectKey(31, false);
  EXPECT_EQ(Pass(), "s");
}

TEST_F(KeyboardTest, DigitsPunctuationAndAltGrFollowTheModifiersAtRelease) {
  // Keys no other test presses: what a key typed before is remembered.
  constexpr int kThree = 4, kE = 18, kAltGr = 184;
  // Each step: a key down (with the text the layout types for it then) or up; a pass after
  // each, which must type what is given.
  struct Step {
    int key;
    bool down;
    std::string text;
    std::string typed;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  } cases[] = {
      {"Shift let go before the digit: the digit",
       {{kKeyLeftShift, true, "", ""},
        {kThree, true, "#", ""},
        {kKeyLeftShift, false, "", ""},
        {kThree, false, "", "3"}}},
      {"Shift taken before the release: the sign",
       {{kThree, true, "3", ""},
        {kKeyRightShift, true, "", ""},
        {kThree, false, "", "#"},
        {kKeyRightShift, false, "", ""}}},
      {"AltGr let go first: the plain letter",
       {{kAltGr, true, "", ""},
        {kE, true, "\x80", ""},
        {kAltGr, false, "", ""},
        {kE, false, "", "e"}}},
      {"AltGr taken before the release: the euro sign",
       {{kE, true, "e", ""},
        {kAltGr, true, "", ""},
        {kE, false, "", "\x80"},
        {kAltGr, false, "", ""}}},
      {"Shift held throughout: the sign",
       {{kKeyLeftShift, true, "", ""},
        {kThree, true, "#", ""},
        {kThree, false, "", "#"},
        {kKeyLeftShift, false, "", ""}}},
  };
  for (const Case& c : cases) {
    int n = 0;
    for (const Step& step : c.steps) {
      InjectKey(step.key, step.down);
      if (!step.text.empty()) InjectText(step.text);
      EXPECT_EQ(Pass(), step.typed) << c.what << ", step " << n++;
    }
  }
}

TEST_F(KeyboardTest, KeyPressedAndReleasedBetweenTwoPassesIsLost) {
  InjectKey(kKeySpace, true);
  InjectText(" ");
  InjectKey(kKeySpace, false);
  EXPECT_EQ(Pass(), "");
  EXPECT_EQ(Pass(), "");
}

TEST_F(KeyboardTest, FixedCharactersForControlAndKeypadKeys) {
  struct Case {
    int scan;
    std::string typed;
  } cases[] = {
      {71, "7"},
      {82, "0"},
      {73, "9"},
      {181, "/"},
      {83, "."},
      {kKeyReturn, "\r"},
      {kKeyPadEnter, "\r"},
      {kKeyBackspace, "\b"},
      {kKeyTab, "\t"},
      {kKeyEscape, "\x1b"},
      {kKeyF2, ""},
      {kKeyLeft, ""},
  };
  for (const Case& c : cases) {
    InjectKey(c.scan, true);  // Num Lock off: the keypad sends no text of its own
    EXPECT_EQ(Pass(), "") << c.scan;
    InjectKey(c.scan, false);
    EXPECT_EQ(Pass(), c.typed) << c.scan;
  }
}

TEST_F(KeyboardTest, TypedTextIsWindows1252AndSeveralKeysComeInScanCodeOrder) {
  InjectKey(40, true);
  InjectText("\xE9");  // what some layouts type on this key
  InjectKey(3, true);
  InjectText("\x80");  // the euro sign
  EXPECT_EQ(Pass(), "");
  InjectKey(40, false);
  InjectKey(3, false);
  EXPECT_EQ(Pass(), std::string("\x80\xE9"));
}

TEST_F(KeyboardTest, KeyPressesKeepTapsBetweenSnapshotsInOrderAndForgetTheBackground) {
  TakeKeyPresses();
  // "cat" tapped faster than the passes, then Left held.
  for (int code : {46, 30, 20}) {
    InjectKey(code, true);
    InjectKey(code, false);
  }
  InjectKey(kKeyLeft, true);
  std::vector<KeyPress> presses = TakeKeyPresses();
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0].scanCode, 46);
  EXPECT_EQ(presses[1].scanCode, 30);
  EXPECT_EQ(presses[2].scanCode, 20);
  EXPECT_EQ(presses[3].scanCode, kKeyLeft);
  EXPECT_FALSE(presses[3].repeat);
  InjectKey(kKeyLeft, false);
  EXPECT_TRUE(TakeKeyPresses().empty());  // each press is taken once
  // A flood keeps the first 64; the window going away forgets them.
  for (int i = 0; i < 100; ++i) InjectKey(30, i % 2 == 0);
  EXPECT_EQ(TakeKeyPresses().size(), 50u);
  for (int i = 0; i < 200; ++i) InjectKey(30, i % 2 == 0);
  EXPECT_EQ(TakeKeyPresses().size(), 64u);
  InjectKey(30, true);
  InjectFocus(false);
  EXPECT_TRUE(TakeKeyPresses().empty());
  InjectFocus(true);
  InjectKey(30, false);
  ReadKeyboard();
}

TEST_F(KeyboardTest, KeyLetterIsTheLayoutsLetterOfAKey) {
  EXPECT_EQ(KeyLetter(30), 'a');
  EXPECT_EQ(KeyLetter(44), 'z');
  EXPECT_EQ(KeyLetter(16), 'q');
  for (int code :
       {0, 2, 57, 28, 203, 59, 71, 255, -3, 4096})  // digit, Space, Return, Left, F1, keypad
    EXPECT_EQ(KeyLetter(code), 0) << code;
}

TEST_F(KeyboardTest, BackgroundWindowReadsNoKeys) {
  InjectKey(kKeySpace, true);
  ASSERT_EQ(ReadKeyboard(), 1);
  EXPECT_EQ(Pass(), "");
  InjectFocus(false);
  EXPECT_EQ(ReadKeyboard(), 0);
  EXPECT_EQ(KeyIsDown(kKeySpace), 0);
  EXPECT_EQ(KeyIsDown(-1), 0);
  EXPECT_EQ(TypedCharacter(), "");
  EXPECT_EQ(ScreenIsActive(), 0);
  InjectFocus(true);
  EXPECT_EQ(ReadKeyboard(), 1);
  EXPECT_NE(ScreenIsActive(), 0);
  EXPECT_EQ(KeyIsDown(kKeySpace), 0) << "keys held while away are not carried back";
}

}  // namespace
}  // namespace qm::test
