// Level start: the music track, the fresh deal and the resets, with and without level files.
#include "game/play/Render.hpp"
#include "game/play/StartLevel.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

class PlayStart : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    // An empty game folder: every picture, level and sound is missing.
    oldFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(oldFolder_);
    PlayTest::TearDown();
  }
  TempFolder folder_{"qm-play-start"};
  std::filesystem::path oldFolder_;
};

TEST(LevelMusic, TracksRepeatEveryTwelveLevels) {
  struct Case {
    int level, track;
  } cases[] = {{1, 1}, {12, 12}, {13, 1}, {24, 12}, {44, 8}};
  for (const Case& c : cases) EXPECT_EQ(LevelMusicTrack(c.level), c.track) << c.level;
}

TEST_F(PlayStart, LevelThirteenPlaysTrackOneOrOnlyRemembersIt) {
  game.menu.currentLevel = 13;
  game.program.musicTrack = 5;
  EXPECT_EQ(StartLevel(game), Screen::kRunLevel);
  EXPECT_EQ(game.program.musicTrack, 1);
  game.program.musicTrack = -5;
  StartLevel(game);
  EXPECT_EQ(game.program.musicTrack, -1);
}

TEST_F(PlayStart, EverythingOfThePreviousLevelIsReset) {
  auto& play = game.play;
  play.objectivesViewToggle = 1;
  play.chatOpen = 1;
  play.chatInput.text = "half typed";
  play.enterLatch = 1;
  play.endTick = 1234;
  play.validationLatch = 1;
  play.dragState = 2;
  play.rightHeldBefore = 1;
  play.exchange.spent = {1, 1, 0};
  play.exchange.marks[3] = 1;
  play.restartLevel = true;
  game.status.start = 99;
  game.options.panelClickLatch = 2;
  game.objectives.progress[1] = 3;
  game.easel.laid[2] = LaidPiece{4, 4, 157};
  game.render.lastWordColumn[1] = 5;
  game.easel.carriedSlotCount = 12;
  game.players.levelsReached[0] = 3;

  StartLevel(game);
  EXPECT_EQ(play.objectivesViewToggle, 0);
  EXPECT_EQ(play.chatOpen, 0);
  EXPECT_EQ(play.chatInput.text, "");
  EXPECT_EQ(play.enterLatch, 0);
  EXPECT_EQ(play.endTick, 0u);
  EXPECT_EQ(play.validationLatch, 0);
  EXPECT_EQ(play.dragState, 0);
  EXPECT_EQ(play.rightHeldBefore, 0);
  EXPECT_EQ(play.exchange.spent, (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(play.exchange.marks[3], 0);
  EXPECT_FALSE(play.restartLevel);
  EXPECT_EQ(game.status.start, 0u);
  EXPECT_EQ(game.options.panelClickLatch, 0);
  EXPECT_EQ(game.objectives.progress[1], 0);
  EXPECT_EQ(game.easel.laid[2].column, -1);
  EXPECT_EQ(game.render.lastWordColumn[1], -1);
  EXPECT_EQ(game.render.frameCount, -20);

  // The Easel has the carried slot count, dealt from a new bag of 98 Pieces.
  EXPECT_EQ(game.easel.slots[0], 12);
  EXPECT_EQ(game.easel.referenceSlotCount, 12);
  EXPECT_EQ(game.easel.bag[0], 98 - 12);
  for (int k = 1; k <= 12; ++k) EXPECT_TRUE(IsPieceCode(game.easel.slots[k])) << k;
  EXPECT_EQ(game.easel.valuableChance, 50);
  EXPECT_EQ(game.easel.left, 512 - 12 * 26);

  // A missing level file is the one-Cell Board.
  EXPECT_EQ(game.board.w, 0);
  EXPECT_EQ(game.board.h, 0);
}

TEST_F(PlayStart, ALevelWithoutItsFilesStillPlays) {
  game.easel.carriedSlotCount = 8;
  StartLevel(game);
  MoveToSlot(1);
  const int16_t first = Slot(1);
  int x = 0, y = 0;
  CellCentre(0, 0, x, y);
  DragTo(x, y);  // the one Cell is void: the Piece comes back
  EXPECT_EQ(Slot(1), first);
  EXPECT_EQ(game.easel.laid[1].column, -1);
  // Space validates an empty turn: the validation line, no points, the Easel as it was.
  const auto easel = game.easel.slots;
  Key(kKeySpace, true);
  Pass();
  EXPECT_EQ(game.status.text, " Validation (Ask your word and confirm it) ");
  EXPECT_EQ(game.play.validationLatch, 1);
  EXPECT_EQ(game.players.scores[0], 0);
  EXPECT_EQ(game.easel.slots, easel);
  Key(kKeySpace, false);
  // Tab held shows the details view in place of the chat.
  EXPECT_FALSE(DetailsViewShown(game));
  Key(kKeyTab, true);
  Passes(2);
  EXPECT_TRUE(DetailsViewShown(game));
  Key(kKeyTab, false);
  Pass();
  EXPECT_FALSE(DetailsViewShown(game));
  EXPECT_EQ(game.board.objectives[0], 1);  // only the end box
}

TEST_F(PlayStart, HelpLinesSeedTheChatAndTheMoveHistory) {
  game.chat.chatLog[5].text = "old";
  StartLevel(game);
  EXPECT_EQ(game.chat.chatLog[0].text, "TAB: your objective (and the details of your points) ");
  EXPECT_EQ(game.chat.chatLog[0].speaker, 8);
  EXPECT_EQ(game.chat.chatLog[5].text, "");
  EXPECT_EQ(game.chat.moveHistory[0].text, "Below are the details of your points : ");
  EXPECT_EQ(game.chat.moveHistory[1].text, "--- ");
  EXPECT_EQ(game.chat.moveHistory[6].text,
            "Space key (or click mouse 'CENTER'): Validation of your word ");
  EXPECT_EQ(game.chat.moveHistory[7].text.rfind("Welcome Quillmosaica! v2.41", 0), 0u);
  EXPECT_EQ(game.chat.moveHistory[8].text, "");
  EXPECT_EQ(game.chat.moveHistory[0].speaker, 8);
}

TEST_F(PlayStart, PlayingAgainDrawsANewDeal) {
  game.easel.carriedSlotCount = 10;
  StartLevel(game);
  const auto first = game.easel.slots;
  const auto firstTint = game.render.tint.value;
  StartLevel(game);
  EXPECT_NE(game.easel.slots, first);
  EXPECT_NE(game.render.tint.value, firstTint);
}

TEST_F(PlayStart, ADamagedSlotCountIsHeldWithinTheEasel) {
  for (int carried : {0, -3, 19, 127}) {
    game.easel.carriedSlotCount = static_cast<int16_t>(carried);
    StartLevel(game);
    EXPECT_GE(game.easel.slots[0], 6) << carried;
    EXPECT_LE(game.easel.slots[0], 18) << carried;
  }
}

TEST(BackgroundTint, DrawnBoundsHoldTheValueAndStepsBounce) {
  SeedRandom(3);
  for (int i = 0; i < 50; ++i) {
    BackgroundTint tint;
    DrawBackgroundTint(tint);
    for (int c = 0; c < 3; ++c) {
      EXPECT_LT(tint.low[c], tint.value[c]);
      EXPECT_LT(tint.value[c], tint.high[c]);
      EXPECT_GE(tint.step[c], 1);
      EXPECT_LE(tint.step[c], 3);
    }
    for (int s = 0; s < 600; ++s) {
      StepBackgroundTint(tint);
      for (int c = 0; c < 3; ++c) {
        ASSERT_GE(tint.value[c], tint.low[c]);
        ASSERT_LE(tint.value[c], tint.high[c]);
      }
    }
  }
}

TEST_F(PlayStart, AChatLogLineIsShownForLessThanOneHundredSeconds) {
  game.render.speakerColours[8] = RgbColour(255, 200, 55);
  // Lit pixels in the band of ChatLog line 0, left of the HUD.
  auto litInLineZero = [this]() {
    ClearFrame(0);
    DrawMessages(game);
    const std::vector<uint32_t> frame = ReadBackBuffer();
    const int top = MessageLineY(kHeight, game.program.chatTextSize, 0) - 3;
    int lit = 0;
    for (int y = top; y < top + 16; ++y) {
      for (int x = 40; x < 500; ++x) lit += frame[static_cast<size_t>(y) * kWidth + x] != 0;
    }
    return lit;
  };
  struct Case {
    uint32_t ageMs;
    bool shown;
  } cases[] = {{0, true}, {99900, true}, {100000, false}, {100100, false}, {250000, false}};
  for (const Case& c : cases) {
    for (ChatLine& line : game.chat.chatLog)
      line = ChatLine{"", 8, static_cast<int32_t>(TickCount() - 300000)};
    game.chat.chatLog[0] =
        ChatLine{"a word well spelt", 8, static_cast<int32_t>(TickCount() - c.ageMs)};
    if (c.shown) {
      EXPECT_GT(litInLineZero(), 20) << "age " << c.ageMs;
    } else {
      EXPECT_EQ(litInLineZero(), 0) << "age " << c.ageMs;
    }
  }
}

TEST(MessageLines, LinesAreSpacedByOneAndAHalfTextSizesPlusEleven) {
  // s = 1: 12.5 pixels apart; s = 3: 15.5, rounding halves to even.
  EXPECT_EQ(MessageLineY(768, 1, 0), 660);
  EXPECT_EQ(MessageLineY(768, 1, 1), 648);  // 647.5
  EXPECT_EQ(MessageLineY(768, 1, 2), 635);
  EXPECT_EQ(MessageLineY(768, 1, 3), 622);  // 622.5
  EXPECT_EQ(MessageLineY(768, 3, 1), 642);  // 642.5
  EXPECT_EQ(MessageLineY(768, 3, 3), 612);  // 611.5
  EXPECT_EQ(MessageLineY(768, 0, 20), 441);
}

}  // namespace
}  // namespace qm::test
