// F1 in play: a hint from the bot's search, shown on the StatusLine and faded on the Board,
// never laid; the Pieces of the turn stay where the player put them.
#include <chrono>
#include <memory>
#include <thread>

#include "engine/Input.hpp"
#include "game/play/HintKey.hpp"
#include "game/rules/Validate.hpp"
#include "play_support.hpp"

namespace qm::test {
namespace {

class HintKeyTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() / ("qm-hint-dico-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "dico-b3", std::ios::binary) << "ad\r\n";  // the one word: bad
    MapGameFolder("dico-english", folder_.string());
    // Nothing else drawn (no picture an earlier test left, no sparkle); Pieces A .. Z as
    // solid green squares, so a faded one shows as dim green.
    FreeSpriteImage(-1);
    ClearFrame(RgbColour(0, 255, 0));
    for (int code = 1; code <= 26; ++code) GrabScreenToSprite(code, 0, 0, 52, 52);
    ClearFrame(0);
  }
  void TearDown() override {
    MapGameFolder("dico-english", "");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    for (int code = 1; code <= 26; ++code) FreeSpriteImage(code);
    PlayTest::TearDown();
  }

  // F1 held for `held` passes, then passes until the search has answered.
  void AskForHint(int held = 1) {
    Key(kKeyF1, true);
    for (int i = 0; i < held; ++i) Pass();
    Key(kKeyF1, false);
    Pass();
    for (int i = 0; i < 2000 && HintSearchPending(game); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      Pass();
    }
    ASSERT_FALSE(HintSearchPending(game));
    Pass();  // the answer came after the Board was drawn: the next frame shows it
  }

  // Green of the middle of a Cell in the last frame.
  int GreenAt(int c, int r) const {
    int x = 0, y = 0;
    CellToScreen(game.board, c, r, x, y);
    return static_cast<int>((ReadBackPixel(x + 26, y + 26) >> 8) & 0xFF);
  }

  // The rules' verdict on the hinted move, laid on a copy of `from` with its turn taken back.
  int64_t RulesTotalOfHint(const GameState& from) {
    auto trial = std::make_unique<GameState>(from);
    ReturnLaidPieces(*trial);
    for (const HintPiece& p : game.hint.pieces) {
      const int slot = SlotHolding(trial->easel, p.code);
      EXPECT_NE(slot, 0) << "hinted Piece " << p.code << " is not on the Easel";
      if (!LayPiece(*trial, slot, p.column, p.row)) return -1;
    }
    ValidateMove(*trial);
    return trial->move.accepted ? trial->move.moveTotal : -1;
  }

  std::filesystem::path folder_;
};

TEST_F(HintKeyTest, F1ShowsTheBotsMoveFadedWithoutLayingIt) {
  const GameState before = game;
  AskForHint(5);  // held: one hint per press
  ASSERT_EQ(game.hint.pieces.size(), 3u);
  std::string letters;
  for (const HintPiece& p : game.hint.pieces)
    letters += static_cast<char>('a' + LetterIndexOf(p.code));
  EXPECT_EQ(letters, "bad");
  const int64_t total = RulesTotalOfHint(game);
  ASSERT_GT(total, 0) << "the rules refuse the hinted move";
  const std::string offer = "BAD for " + std::to_string(total) + " pts";
  EXPECT_EQ(game.status.text, " Hint: " + offer + " ");
  EXPECT_EQ(game.chat.chatLog[0].text, "Hint 1 in this level: " + offer);
  EXPECT_EQ(game.hint.used, 1);

  // Nothing is laid: Board, Easel and LaidPieces are as they were.
  EXPECT_EQ(game.board.cells, before.board.cells);
  EXPECT_EQ(game.easel.slots, before.easel.slots);
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(game.easel.laid[i].column, -1);

  // Faded on its Cells for five seconds, then gone.
  const HintPiece first = game.hint.pieces[0];
  int green = GreenAt(first.column, first.row);
  EXPECT_GT(green, 60);
  EXPECT_LT(green, 230);
  EXPECT_EQ(GreenAt(1, 1), 0);
  const uint32_t shown = game.hint.shownAt;
  while (TickCount() - shown < kHintShownMs - 100) Pass();
  EXPECT_GT(GreenAt(first.column, first.row), 60);
  while (TickCount() - shown < kHintShownMs + 50) Pass();
  Pass();
  EXPECT_EQ(GreenAt(first.column, first.row), 0);
  EXPECT_TRUE(game.hint.pieces.empty());

  AskForHint();
  EXPECT_EQ(game.hint.used, 2);
  EXPECT_EQ(game.chat.chatLog[0].text, "Hint 2 in this level: " + offer);
}

TEST_F(HintKeyTest, F1WithPiecesLaidSearchesAsIfTakenBackAndLeavesThemLaid) {
  // A on the start box and D beside it: not a word, but the player's move in progress.
  MoveToSlot(1);
  Left(true);
  Pass();
  MoveToCell(6, 6);
  Pass();
  Left(false);
  Pass();
  MoveToSlot(4);
  Left(true);
  Pass();
  MoveToCell(7, 6);
  Pass();
  Left(false);
  Pass();
  ASSERT_EQ(Cell(6, 6), 1);
  ASSERT_EQ(Cell(7, 6), 4);
  // B is in the player's hand when F1 comes.
  MoveToSlot(2);
  Left(true);
  Pass();
  ASSERT_EQ(game.play.dragState, 1);
  const GameState before = game;

  AskForHint();
  std::string letters;
  for (const HintPiece& p : game.hint.pieces)
    letters += static_cast<char>('a' + LetterIndexOf(p.code));
  EXPECT_EQ(letters, "bad");
  EXPECT_EQ(game.status.text.rfind(" Hint: BAD for ", 0), 0u) << game.status.text;

  // The turn is untouched: the laid Pieces, their entries, the Easel and the carried B.
  EXPECT_EQ(game.board.cells, before.board.cells);
  EXPECT_EQ(game.easel.slots, before.easel.slots);
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(game.easel.laid[i].column, before.easel.laid[i].column);
    EXPECT_EQ(game.easel.laid[i].under, before.easel.laid[i].under);
  }
  EXPECT_EQ(game.play.dragState, 1);
  EXPECT_EQ(game.play.carriedCode, 2);

  // With the B back on the Easel, the hinted move is one the rules accept.
  GameState trial = game;
  trial.easel.slots[2] = 2;
  trial.play.dragState = 0;
  EXPECT_GT(RulesTotalOfHint(trial), 0);
  Left(false);
  Pass();
}

TEST_F(HintKeyTest, F1AgainWhileShownLaysTheHintAsIfDraggedAndSpaceValidatesIt) {
  // A Piece of the player's own on GO first: the hint is for the turn with it taken back.
  MoveToSlot(7);
  Left(true);
  Pass();
  MoveToCell(6, 6);
  Pass();
  Left(false);
  Pass();
  ASSERT_EQ(Cell(6, 6), 7);
  AskForHint();
  ASSERT_EQ(game.hint.pieces.size(), 3u);
  const std::vector<HintPiece> hinted = game.hint.pieces;
  const int64_t total = RulesTotalOfHint(game);
  TakeClickRate();
  Key(kKeyF1, true);
  Pass();
  Key(kKeyF1, false);
  Pass();
  EXPECT_EQ(TakeClickRate(), 16000);      // as for a drop
  EXPECT_FALSE(HintSearchPending(game));  // no new search for that press
  EXPECT_EQ(game.hint.used, 1);
  EXPECT_TRUE(game.hint.pieces.empty());
  for (const HintPiece& p : hinted) EXPECT_EQ(Cell(p.column, p.row), p.code);
  EXPECT_EQ(LaidPieceCount(game.easel), 3);
  int g = 0;
  for (int k = 1; k <= 7; ++k) g += Slot(k) == 7;
  EXPECT_EQ(g, 1);  // the G went back to the Easel
  Key(kKeySpace, true);
  Pass();
  Key(kKeySpace, false);
  Pass();
  EXPECT_TRUE(game.move.accepted);
  EXPECT_EQ(game.move.moveTotal, total);
}

TEST_F(HintKeyTest, NoMoveSaysSoAndCostsNothing) {
  for (int k = 1; k <= 7; ++k) game.easel.slots[k] = 26;  // seven Z: no word
  const std::string newestChat = game.chat.chatLog[0].text;
  AskForHint();
  EXPECT_EQ(game.status.text, " Hint: no word found ");
  EXPECT_EQ(game.hint.used, 0);
  EXPECT_TRUE(game.hint.pieces.empty());
  EXPECT_EQ(game.chat.chatLog[0].text, newestChat);
}

TEST_F(HintKeyTest, NoDictionaryMeansNoWordNeverAHang) {
  MapGameFolder("dico-english", (folder_ / "missing").string());
  AskForHint();
  EXPECT_EQ(game.status.text, " Hint: no word found ");
  EXPECT_EQ(game.hint.used, 0);
}

}  // namespace
}  // namespace qm::test
