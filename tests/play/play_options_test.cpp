// Option panels: entries act once per press, with their ranges and wrap-arounds.
#include "game/play/Options.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

using PlayOptions = PlayTest;

// Entry k of the chat panel, the music panel and the Pieces panel on screen.
int ChatEntryY(int k) {
  return kHeight - 224 + 20 * k + 10;
}
int MusicEntryY(int k) {
  return kHeight - 160 + 20 * k + 10;
}
int PiecesEntryY(int k) {
  return kHeight - 111 + 20 * k + 10;
}

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

// One press on an entry from the usual start: the StatusLine text, the click, and what the
// entry changed.
struct EntryCase {
  const char* what;
  int x, y;
  std::function<void(GameState&)> before;
  const char* status;  // nullptr: no entry acts (the press may still act on the Board)
  std::function<void(const GameState&)> check;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << c.what;
}

class PlayOptionEntry : public PlayTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(PlayOptionEntry, OnePressUsesTheEntryUnderThePointer) {
  const EntryCase& c = GetParam();
  if (c.before) c.before(game);
  MoveTo(c.x, c.y);
  Pass();
  Left(true);
  Pass();
  if (c.status != nullptr) {
    EXPECT_EQ(game.status.text, c.status);
    EXPECT_EQ(TakeClickRate(), 20000);
  }
  EXPECT_EQ(game.options.panelClickLatch, c.status != nullptr ? 1 : 0);
  c.check(game);
}

const EntryCase kEntries[] = {
    {"ChatMore", 10, ChatEntryY(1), [](GameState& g) { g.program.chatLastLine = 9; }, " Chat more ",
     [](const GameState& g) { EXPECT_EQ(g.program.chatLastLine, 11); }},
    {"TextSize", 10, ChatEntryY(2), [](GameState& g) { g.program.chatTextSize = 3; },
     " Change in size of the writing ",
     [](const GameState& g) { EXPECT_EQ(g.program.chatTextSize, 0); }},
    {"Discoloration", 10, ChatEntryY(3),
     [](GameState& g) { g.render.speakerColours[8] = RgbColour(255, 200, 55); },
     " Discoloration of the chat ",
     [](const GameState& g) {
       EXPECT_EQ(g.render.speakerColours[8],
                 RgbColour(255, 200, 55));  // the game's own colour stays
       for (int i = 0; i <= 7; ++i) {
         for (int shift : {0, 8, 16}) {
           const uint32_t part = (g.render.speakerColours[i] >> shift) & 0xFF;
           EXPECT_GE(part, 55u) << i;
         }
       }
     }},
    {"Transparency", 10, ChatEntryY(4), [](GameState& g) { g.program.chatTransparency = 1; },
     " Chat transparent ON/OFF ",
     [](const GameState& g) { EXPECT_EQ(g.program.chatTransparency, 0); }},
    {"ChatSmaller", 10, ChatEntryY(5), [](GameState& g) { g.program.chatLastLine = 9; },
     " Chat smaller ", [](const GameState& g) { EXPECT_EQ(g.program.chatLastLine, 7); }},
    // With the music off the track entries only remember the track.
    {"NextTrackWhileOff", kWidth - 10, MusicEntryY(1),
     [](GameState& g) { g.program.musicTrack = -12; }, " Music #1 ",
     [](const GameState& g) {
       EXPECT_EQ(g.program.musicTrack, -1);
       EXPECT_FALSE(MusicSlotPlaying(1));
     }},
    {"PreviousTrackWhileOff", kWidth - 10, MusicEntryY(4),
     [](GameState& g) { g.program.musicTrack = -1; }, " Music #12 ",
     [](const GameState& g) { EXPECT_EQ(g.program.musicTrack, -12); }},
    {"MusicOff", kWidth - 10, MusicEntryY(2), [](GameState& g) { g.program.musicTrack = 4; },
     " Music OFF ", [](const GameState& g) { EXPECT_EQ(g.program.musicTrack, -4); }},
    {"MusicOffWhenOff", kWidth - 10, MusicEntryY(2),
     [](GameState& g) { g.program.musicTrack = -4; }, " Music OFF ",
     [](const GameState& g) { EXPECT_EQ(g.program.musicTrack, -4); }},
    {"MusicOn", kWidth - 10, MusicEntryY(3), [](GameState& g) { g.program.musicTrack = -4; },
     " Music ON ", [](const GameState& g) { EXPECT_EQ(g.program.musicTrack, 4); }},
    {"Randomize", 10, PiecesEntryY(1), nullptr, " Randomize pieces ",
     [](const GameState& g) {
       std::vector<int> codes(g.easel.slots.begin() + 1, g.easel.slots.begin() + 8);
       std::sort(codes.begin(), codes.end());
       EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
     }},
    {"Validation", 5, kHeight - 5, nullptr, " Validation (Ask your word and confirm it) ",
     [](const GameState& g) { EXPECT_EQ(g.play.validationLatch, 1); }},
    {"Objective", 10, 10, nullptr, " Your objective ",
     [](const GameState& g) { EXPECT_EQ(g.play.objectivesViewToggle, 1); }},
    {"GridBackground", 10, 30, [](GameState& g) { g.program.gridBackground = 2; },
     " Change the grid background ",
     [](const GameState& g) { EXPECT_EQ(g.program.gridBackground, 0); }},
    {"SpaceBackground", 10, 50, [](GameState& g) { g.graphics.backgroundPicture = -1; },
     " Changing the background space ",
     [](const GameState& g) {
       EXPECT_GE(g.graphics.backgroundPicture, 0);
       EXPECT_LE(g.graphics.backgroundPicture, 23);
     }},
    // A press with the pointer outside the window: no entry is hovered, none acts.
    {"PointerOutsideTheWindow", -1, -1,
     [](GameState& g) {
       g.program.chatLastLine = 9;
       g.program.gridBackground = 1;
     },
     nullptr,
     [](const GameState& g) {
       EXPECT_EQ(g.play.objectivesViewToggle, 0);
       EXPECT_EQ(g.program.chatLastLine, 9);
       EXPECT_EQ(g.program.gridBackground, 1);
       EXPECT_EQ(g.play.validationLatch, 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Entries, PlayOptionEntry, ::testing::ValuesIn(kEntries),
                         [](const ::testing::TestParamInfo<EntryCase>& info) {
                           return info.param.what;
                         });

}  // namespace
}  // namespace qm::test
