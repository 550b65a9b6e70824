// Definitions in play: after a chat line finds its word, and after every accepted move.
#include "engine/Drawing.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

constexpr const char* kCabDefinition = "a compartment at the front of a motor vehicle";

class PlayDefinitions : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() /
              ("qm-play-definitions-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_ / "dico");
    std::filesystem::create_directories(folder_ / "definitions");
    // cab, bad and the cross-word-free dab are words; dab has no definition.
    std::ofstream(folder_ / "dico" / "dico-c3", std::ios::binary) << "ab\n";
    std::ofstream(folder_ / "dico" / "dico-b3", std::ios::binary) << "ad\n";
    std::ofstream(folder_ / "dico" / "dico-d3", std::ios::binary) << "ab\n";
    std::ofstream(folder_ / "definitions" / "english", std::ios::binary)
        << "  1 header\n"
        << "bad\thaving undesirable or negative qualities\n"
        << "cab\t" << kCabDefinition << "\n";
    MapGameFolder("dico-english", (folder_ / "dico").string());
    MapGameFolder("definitions", (folder_ / "definitions").string());
  }
  void TearDown() override {
    MapGameFolder("dico-english", "");
    MapGameFolder("definitions", "");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    PlayTest::TearDown();
  }

  // Types a line into the chat and closes it with Return.
  void SayInChat(const std::string& line) {
    game.play.chatOpen = 1;
    game.play.chatInput.text = line;
    game.play.chatInput.cursor = static_cast<int32_t>(line.size());
    game.play.chatInput.lastLength = static_cast<int32_t>(line.size());
    Key(kKeyReturn, true);
    Pass();
    Key(kKeyReturn, false);
    Pass();
  }

  // Lays Easel slots on the row of the start box, from its left neighbour on, and confirms.
  void PlayRow(std::initializer_list<int> slots) {
    int column = game.board.startColumn - 1;
    for (int slot : slots) {
      MoveToSlot(slot);
      int x = 0, y = 0;
      CellCentre(column++, game.board.startRow, x, y);
      DragTo(x, y);
    }
    Key(kKeySpace, true);
    Pass();
    Key(kKeySpace, false);
    Pass();
  }

  std::filesystem::path folder_;
};

TEST_F(PlayDefinitions, AFoundChatWordIsFollowedByItsDefinition) {
  SayInChat("Cab");
  EXPECT_EQ(game.chat.chatLog[1].text, "Cab - Ok");
  EXPECT_EQ(game.chat.chatLog[1].speaker, 0);
  EXPECT_EQ(game.chat.chatLog[0].text, std::string(" cab: ") + kCabDefinition + " ");
  EXPECT_GE(game.chat.chatLog[0].speaker, 1);  // a game line
  EXPECT_LE(game.chat.chatLog[0].speaker, 7);
  EXPECT_GE(game.chat.chatLog[0].time, game.chat.chatLog[1].time);
}

TEST_F(PlayDefinitions, NoDefinitionLineWithoutAFoundWordOrADefinition) {
  for (const char* line : {"cabx", "dab", "~~~ "}) {
    SCOPED_TRACE(line);
    game.chat.chatLog[0].text = "older";
    SayInChat(line);
    EXPECT_EQ(game.chat.chatLog[0].speaker, 0);
    EXPECT_EQ(game.chat.chatLog[1].text, "older");
  }
}

TEST_F(PlayDefinitions, AnAcceptedMoveShowsItsMainWord) {
  PlayRow({3, 1, 2});  // C A B over the start box
  ASSERT_EQ(Cell(game.board.startColumn, game.board.startRow), 1);
  EXPECT_TRUE(game.move.accepted);
  EXPECT_EQ(game.chat.chatLog[0].text, std::string(" cab: ") + kCabDefinition + " ");
  EXPECT_GE(game.chat.chatLog[0].speaker, 1);
  EXPECT_LE(game.chat.chatLog[0].speaker, 7);
}

TEST_F(PlayDefinitions, ARefusedMoveShowsNoDefinition) {
  const std::string before = game.chat.chatLog[0].text;
  PlayRow({1, 3, 2});  // A C B: not a word
  EXPECT_FALSE(game.move.accepted);
  EXPECT_EQ(game.chat.chatLog[0].text, before);
}

// The same move with and without the definitions file: only the ChatLog line differs.
TEST_F(PlayDefinitions, DefinitionsChangeNothingElse) {
  struct Outcome {
    int64_t score;
    std::array<int16_t, 21> slots;
    std::string status, history, chat0, chat1;
    int clickRate;
  };
  auto play = [this](bool withDefinitions) {
    SetUp();
    if (!withDefinitions) MapGameFolder("definitions", (folder_ / "nowhere").string());
    PlayRow({3, 1, 2});
    Outcome o{game.players.scores[0],
              game.easel.slots,
              game.status.text,
              game.chat.moveHistory[0].text,
              game.chat.chatLog[0].text,
              game.chat.chatLog[1].text,
              TakeClickRate()};
    return o;
  };
  const Outcome without = play(false);
  const Outcome with = play(true);
  EXPECT_EQ(with.score, without.score);
  EXPECT_EQ(with.slots, without.slots);
  EXPECT_EQ(with.status, without.status);
  EXPECT_EQ(with.history, without.history);
  EXPECT_EQ(with.clickRate, without.clickRate);
  EXPECT_EQ(with.chat1, without.chat0);
  EXPECT_NE(with.chat0, without.chat0);
}

TEST_F(PlayDefinitions, ALongDefinitionIsCutToTheScreen) {
  std::string longText;
  while (longText.size() < 400) longText += "wide words without any end in sight ";
  std::ofstream(folder_ / "definitions" / "english", std::ios::binary)
      << "cab\t" << longText << "\n";
  SayInChat("cab");
  const std::string& shown = game.chat.chatLog[0].text;
  ASSERT_GT(shown.size(), 20u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  EXPECT_EQ(shown.rfind(" cab: wide words", 0), 0u);
  // Drawn at the chat's largest size, the whole line fits between its margin and the edge.
  LoadFont(3, "Arial", 10);
  UseFont(FontHandleOf(3));
  const std::string line = game.players.speakerNames[game.chat.chatLog[0].speaker] + " : " + shown;
  EXPECT_LE(48 + TextWidthOf(line), kWidth);
  EXPECT_GT(48 + TextWidthOf(line), kWidth - 60);  // cut where it must, not far before
  EndDrawing();
}

}  // namespace
}  // namespace qm::test
