// Keyboard bindings of level play: validation, Escape, Return and the chat line editor.
#include "game/play/PlayInput.hpp"
#include "game/play/Render.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

using PlayKeys = PlayTest;

constexpr const char* kValidationText = " Validation (Ask your word and confirm it) ";

// True when ValidateMove ran in the last pass (it always writes the StatusLine).
bool Validated(GameState& game) {
  const bool ran = game.status.text == kValidationText;
  game.status.text.clear();
  return ran;
}

TEST_F(PlayKeys, HeldValidationControlsValidateOncePerPress) {
  struct Control {
    const char* name;
    std::function<void(bool)> press;
  } controls[] = {{"Space", [this](bool d) { Key(kKeySpace, d); }},
                  {"F2", [this](bool d) { Key(kKeyF2, d); }},
                  {"middle button", [this](bool d) { Middle(d); }}};
  for (const Control& control : controls) {
    SCOPED_TRACE(control.name);
    control.press(true);
    Pass();
    EXPECT_TRUE(Validated(game));
    Pass();
    Pass();
    EXPECT_FALSE(Validated(game));
    control.press(false);
    Pass();
    EXPECT_FALSE(Validated(game));
    control.press(true);
    Pass();
    EXPECT_TRUE(Validated(game));
    control.press(false);
    Pass();
  }
}

TEST_F(PlayKeys, SpaceHeldWhileCarryingValidatesAfterTheDrop) {
  MoveToSlot(1);
  Left(true);
  Pass();
  Key(kKeySpace, true);
  Pass();
  EXPECT_FALSE(Validated(game)) << "no validation while a Piece is carried";
  Pass();
  EXPECT_FALSE(Validated(game));
  MoveTo(900, 40);
  Left(false);
  // The pass that sees the release drops the Piece (its left-button step) before it looks at
  // the validation keys: the latch was cleared while carrying, so this very pass validates.
  Pass();
  EXPECT_EQ(game.play.dragState, 0);
  EXPECT_TRUE(Validated(game)) << "the pass of the drop validates";
  Pass();
  EXPECT_FALSE(Validated(game)) << "and only once while Space stays held";
}

TEST_F(PlayKeys, SpaceEscapeAndTabKeepTheirMeaningWhileTheChatIsOpen) {
  struct Case {
    const char* what;
    int key;
    bool layAPiece;
    std::function<bool(GameState&)> acted;
  } cases[] = {
      {"Space validates", kKeySpace, false, [](GameState& g) { return Validated(g); }},
      {"Escape takes back this turn's Pieces", kKeyEscape, true,
       [](GameState& g) {
         return g.easel.slots[2] == 2 && g.status.text == " Put all your parts ";
       }},
      {"Tab shows the DetailsView", kKeyTab, false,
       [](GameState& g) { return DetailsViewShown(g); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.layAPiece) {
      MoveToSlot(2);
      int x = 0, y = 0;
      CellCentre(2, 3, x, y);
      DragTo(x, y);
      ASSERT_EQ(Cell(2, 3), 2);
    }
    game.status.text.clear();
    game.play.chatOpen = 1;
    game.play.chatInput = ChatInputLine{};
    Key(c.key, true);
    Pass();
    EXPECT_TRUE(c.acted(game));
    EXPECT_EQ(game.play.chatOpen, 1) << "the chat line stays open";
    Key(c.key, false);
    Pass();
    // Put the board back for the next key.
    Key(kKeyEscape, true);
    Pass();
    Key(kKeyEscape, false);
    Pass();
    game.play.chatOpen = 0;
  }
}

TEST_F(PlayKeys, NoValidationOnceTheLevelHasEnded) {
  game.play.endTick = TickCount();
  Key(kKeySpace, true);
  Pass();
  EXPECT_FALSE(Validated(game));
}

TEST_F(PlayKeys, EscapeTakesBackThisTurnsPieces) {
  MoveToSlot(2);
  int x = 0, y = 0;
  CellCentre(2, 3, x, y);
  DragTo(x, y);
  ASSERT_EQ(Cell(2, 3), 2);
  game.play.objectivesViewToggle = 1;
  Key(kKeyEscape, true);
  Pass();
  EXPECT_EQ(Cell(2, 3), kSoil);
  EXPECT_EQ(Slot(2), 2);
  EXPECT_EQ(game.status.text, " Put all your parts ");
  EXPECT_EQ(game.play.objectivesViewToggle, 0);
}

TEST_F(PlayKeys, EscapeLeavesACarriedPieceCarried) {
  MoveToSlot(4);
  Left(true);
  Pass();
  Key(kKeyEscape, true);
  Pass();
  EXPECT_EQ(game.play.dragState, 1);
  EXPECT_EQ(game.play.carriedCode, 4);
}

TEST_F(PlayKeys, ReturnTogglesTheChatOncePerPress) {
  Key(kKeyReturn, true);
  Pass();
  EXPECT_EQ(game.play.chatOpen, 1);
  for (int i = 0; i < 20; ++i) Pass();  // held well past the 130 ms
  EXPECT_EQ(game.play.chatOpen, 1);
  Key(kKeyReturn, false);
  Pass();
  Key(kKeyPadEnter, true);
  Pass();
  EXPECT_EQ(game.play.chatOpen, 0);
}

TEST_F(PlayKeys, ClosingTheChatHandsTheLineOver) {
  game.play.chatOpen = 1;
  game.play.chatInput.text = "Zq";
  game.play.chatInput.cursor = 2;
  game.play.chatInput.lastLength = 2;
  Key(kKeyReturn, true);
  Pass();
  EXPECT_EQ(game.play.chatOpen, 0);
  EXPECT_EQ(game.play.chatInput.text, "");
  EXPECT_EQ(game.chat.chatLog[0].text.rfind("Zq - ", 0), 0u) << game.chat.chatLog[0].text;
  EXPECT_EQ(game.chat.chatLog[0].speaker, 0);
}

TEST_F(PlayKeys, TheLevelSkipLeavesTheLoopForTheNextLevel) {
  game.menu.currentLevel = 44;
  game.play.chatOpen = 1;
  game.play.chatInput.text = "~~~";
  Key(kKeyReturn, true);
  std::optional<Screen> next = Pass();
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(*next, Screen::kStartLevel);
  EXPECT_EQ(game.menu.currentLevel, 1);
}

TEST_F(PlayKeys, TypedCharactersGoInAtTheCursor) {
  game.play.chatOpen = 1;
  TapKey(kKeyC, "c");
  TapKey(kKeyT, "t");
  EXPECT_EQ(game.play.chatInput.text, "ct");
  EXPECT_EQ(game.play.chatInput.cursor, 2);
  TapKey(kKeyLeft);
  TapKey(kKeyA, "a");
  EXPECT_EQ(game.play.chatInput.text, "cat");
  EXPECT_EQ(game.play.chatInput.cursor, 2);
}

TEST_F(PlayKeys, TypedTextStartingWithAControlCharacterIsDropped) {
  game.play.chatOpen = 1;
  game.play.chatInput.text = "ab";
  game.play.chatInput.cursor = 2;
  game.play.chatInput.lastLength = 2;
  TapKey(kKeyTab);  // types a tab (code 9)
  EXPECT_EQ(game.play.chatInput.text, "ab");
  EXPECT_EQ(game.play.chatInput.cursor, 2);
}

// The editor alone, one key per case, from "abcd" with the cursor at 2.
TEST_F(PlayKeys, EditKeysMoveTheCursorAndRemoveCharacters) {
  struct Case {
    int key;
    int cursorBefore;
    std::string before, text;
    int cursor;
  } cases[] = {
      {kKeyLeft, 2, "abcd", "abcd", 1},     {kKeyLeft, 0, "abcd", "abcd", 0},
      {kKeyRight, 2, "abcd", "abcd", 3},    {kKeyRight, 4, "abcd", "abcd", 4},
      {kKeyBackspace, 2, "abcd", "acd", 1}, {kKeyBackspace, 0, "abcd", "bcd", 0},
      {kKeyBackspace, 0, "", "", 0},        {kKeyDelete, 2, "abcd", "abd", 2},
      {kKeyDelete, 4, "abcd", "abcd", 4},   {kKeyHome, 3, "abcd", "abcd", 0},
      {kKeyEnd, 1, "abcd", "abcd", 4},      {kKeyUp, 1, "abcd", "abcd", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + " at " + std::to_string(c.cursorBefore) + " in " +
                 c.before);
    auto& input = game.play.chatInput;
    input.text = c.before;
    input.cursor = c.cursorBefore;
    input.lastLength = static_cast<int32_t>(c.before.size());
    input.editMark = 0;
    Key(c.key, true);
    ReadKeyboard();
    EditChatLine(game, 1000);
    Key(c.key, false);
    ReadKeyboard();
    TypedCharacter();
    EXPECT_EQ(input.text, c.text);
    EXPECT_EQ(input.cursor, c.cursor);
  }
}

TEST_F(PlayKeys, AHeldEditKeyRepeatsAboutEveryHundredMilliseconds) {
  auto& input = game.play.chatInput;
  input.text = "abcdefgh";
  input.cursor = 8;
  input.lastLength = 8;
  Key(kKeyLeft, true);
  ReadKeyboard();
  for (uint32_t t = 1000; t <= 1300; t += 20) EditChatLine(game, t);
  // Acts at 1000, then once the mark is more than 100 ms old: 1120, 1240.
  EXPECT_EQ(input.cursor, 5);
  Key(kKeyLeft, false);
  ReadKeyboard();
  TypedCharacter();
}

}  // namespace
}  // namespace qm::test
