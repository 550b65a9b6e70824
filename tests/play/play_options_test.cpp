// Option panels: entries act once per press, with their ranges and wrap-arounds.
#include "game/play/Options.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

using PlayOptions = PlayTest;

// Entry k of the chat panel, the music panel and the Pieces panel on screen.
int ChatEntryY(int k) { return kHeight - 224 + 20 * k + 10; }
int MusicEntryY(int k) { return kHeight - 160 + 20 * k + 10; }
int PiecesEntryY(int k) { return kHeight - 111 + 20 * k + 10; }

TEST(OptionSettings, ChatLineLimitStaysWithinItsRange) {
  struct Case {
    int from, more, smaller;
  } cases[] = {{9, 11, 7}, {17, 19, 15}, {19, 19, 17}, {1, 3, -1}, {-1, 1, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChatMore(static_cast<int8_t>(c.from)), c.more) << c.from;
    EXPECT_EQ(ChatSmaller(static_cast<int8_t>(c.from)), c.smaller) << c.from;
  }
}

TEST(OptionSettings, MusicTracksWrapAroundTwelve) {
  EXPECT_EQ(NextTrack(12), 1);
  EXPECT_EQ(NextTrack(5), 6);
  EXPECT_EQ(PreviousTrack(1), 12);
  EXPECT_EQ(PreviousTrack(7), 6);
}

TEST(OptionSettings, VolumeStripGivesTenAtTheBottomAndAtMostAHundred) {
  struct Case {
    int rowsAboveBottom, volume;
  } cases[] = {{0, 10}, {1, 12}, {2, 13}, {5, 18}, {55, 98}, {56, 100}, {59, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(VolumeAt(kHeight, kHeight - 1 - c.rowsAboveBottom), c.volume) << c.rowsAboveBottom;
  }
}

TEST_F(PlayOptions, ChatMoreActsOnceWhileTheButtonIsHeld) {
  game.program.chatLastLine = 9;
  MoveTo(10, ChatEntryY(1));
  Left(true);
  Passes(5);
  EXPECT_EQ(game.program.chatLastLine, 11);
  EXPECT_EQ(game.status.text, " Chat more ");
  EXPECT_EQ(TakeClickRate(), 20000);
  EXPECT_EQ(game.options.panelClickLatch, 1);
  Left(false);
  Pass();
  EXPECT_EQ(game.options.panelClickLatch, 0);
  Left(true);
  Pass();
  EXPECT_EQ(game.program.chatLastLine, 13);
}

TEST_F(PlayOptions, SlidingOntoAnotherEntryWithTheButtonHeldDoesNotUseIt) {
  game.program.chatLastLine = 9;
  MoveTo(10, ChatEntryY(1));
  Left(true);
  Pass();
  MoveTo(10, ChatEntryY(5));
  Passes(3);
  EXPECT_EQ(game.program.chatLastLine, 11);
}

TEST_F(PlayOptions, ChatEntriesChangeTheirSettings) {
  game.program.chatTextSize = 3;
  game.program.chatTransparency = 1;
  game.render.speakerColours[8] = RgbColour(255, 200, 55);
  for (int k : {2, 3, 4}) {
    MoveTo(10, ChatEntryY(k));
    Left(true);
    Pass();
    Left(false);
    Pass();
  }
  EXPECT_EQ(game.program.chatTextSize, 0);
  EXPECT_EQ(game.program.chatTransparency, 0);
  EXPECT_EQ(game.render.speakerColours[8], RgbColour(255, 200, 55));
  for (int i = 0; i <= 7; ++i) {
    const uint32_t colour = game.render.speakerColours[i];
    for (int shift : {0, 8, 16}) {
      const uint32_t part = (colour >> shift) & 0xFF;
      EXPECT_GE(part, 55u);
      EXPECT_LE(part, 255u);
    }
  }
}

TEST_F(PlayOptions, MusicTrackEntriesWithMusicOffOnlyRememberTheTrack) {
  game.program.musicTrack = -12;
  MoveTo(kWidth - 10, MusicEntryY(1));
  Left(true);
  Pass();
  EXPECT_EQ(game.program.musicTrack, -1);
  EXPECT_EQ(game.status.text, " Music #1 ");
  EXPECT_FALSE(MusicSlotPlaying(1));
  Left(false);
  Pass();
  MoveTo(kWidth - 10, MusicEntryY(4));
  Left(true);
  Pass();
  EXPECT_EQ(game.program.musicTrack, -12);
  EXPECT_EQ(game.status.text, " Music #12 ");
}

TEST_F(PlayOptions, MusicOffAndOnFlipTheSign) {
  game.program.musicTrack = 4;
  MoveTo(kWidth - 10, MusicEntryY(2));
  Left(true);
  Pass();
  EXPECT_EQ(game.program.musicTrack, -4);
  EXPECT_EQ(game.status.text, " Music OFF ");
  Left(false);
  Pass();
  Left(true);
  Pass();
  EXPECT_EQ(game.program.musicTrack, -4);  // already off: only the text
  Left(false);
  Pass();
  MoveTo(kWidth - 10, MusicEntryY(3));
  Left(true);
  Pass();
  EXPECT_EQ(game.program.musicTrack, 4);
  EXPECT_EQ(game.status.text, " Music ON ");
}

TEST_F(PlayOptions, VolumeStripFollowsThePointerWhileHeld) {
  MoveTo(kWidth - 10, kHeight - 1);
  Left(true);
  Pass();
  EXPECT_EQ(game.options.musicVolume, 10);
  EXPECT_EQ(game.options.panelClickLatch, 2);
  EXPECT_EQ(game.status.text, " Music sound level : 10% ");
  EXPECT_EQ(TakeClickRate(), 0);  // the strip makes no click
  MoveTo(kWidth - 10, kHeight - 31);
  Pass();
  EXPECT_EQ(game.options.musicVolume, 58);
}

TEST_F(PlayOptions, ArrangementSortsByCodeThenByValue) {
  // Q (10), E (1), bronze D (4), empty, plastic Z (10), A (1), diamond B (90).
  const int16_t start[] = {17, 5, 30, kEmptySlot, 26, 1, 106};
  for (int k = 1; k <= 7; ++k) game.easel.slots[k] = start[k - 1];
  MoveTo(10, PiecesEntryY(2));
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " Piece arrangement #1");
  const int16_t byCode[] = {1, 5, 17, 26, 30, 106, kEmptySlot};
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(Slot(k), byCode[k - 1]) << k;
  Left(false);
  Pass();
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " Piece arrangement #2");
  const int16_t byValue[] = {1, 5, 30, 17, 26, 106, kEmptySlot};
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(Slot(k), byValue[k - 1]) << k;
  EXPECT_EQ(game.options.arrangement, 0);
}

TEST_F(PlayOptions, PiecesPanelIsIdleDuringAnExchange) {
  game.play.exchange.activeToken = 2;
  MoveTo(10, PiecesEntryY(1));
  Left(true);
  Pass();
  EXPECT_EQ(game.options.panelClickLatch, 0);
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(Slot(k), k);
}

TEST_F(PlayOptions, RandomizeKeepsThePieces) {
  MoveTo(10, PiecesEntryY(1));
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " Randomize pieces ");
  std::vector<int> codes;
  for (int k = 1; k <= 7; ++k) codes.push_back(Slot(k));
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(PlayOptions, ValidationButtonValidatesOnce) {
  MoveTo(5, kHeight - 5);
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " Validation (Ask your word and confirm it) ");
  game.status.text.clear();
  Passes(3);
  EXPECT_EQ(game.status.text, "");
}

TEST_F(PlayOptions, ObjectiveEntryTogglesTheDetailsViewOnlyWhileTheLevelRuns) {
  MoveTo(10, 10);
  Left(true);
  Pass();
  EXPECT_EQ(game.play.objectivesViewToggle, 1);
  EXPECT_EQ(game.status.text, " Your objective ");
  Left(false);
  Pass();
  game.play.endTick = TickCount();
  game.status.text.clear();
  Left(true);
  Pass();
  EXPECT_EQ(game.play.objectivesViewToggle, 1);
  EXPECT_EQ(game.status.text, "");
}

TEST_F(PlayOptions, GridAndSpaceBackgroundsChange) {
  game.program.gridBackground = 2;
  MoveTo(10, 30);
  Left(true);
  Pass();
  EXPECT_EQ(game.program.gridBackground, 0);
  EXPECT_EQ(game.status.text, " Change the grid background ");
  Left(false);
  Pass();
  MoveTo(10, 50);
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " Changing the background space ");
  EXPECT_GE(game.graphics.backgroundPicture, 0);
  EXPECT_LE(game.graphics.backgroundPicture, 23);
}

}  // namespace
}  // namespace qm::test
