// Word lookups, the chat word check, the level skip and the two message lists.
#include <gtest/gtest.h>

#include "RulesFixture.hpp"
#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Lexicon.hpp"

namespace qm {
namespace {

using test::Dictionary;

TEST(LookUpWord, NormalisesThenReadsOneFile) {
  Dictionary dictionary({"cat", "at", "zebra", "go"});
  struct Case {
    std::string word;
    LookUp result;
    std::string normalised;
  };
  const Case cases[] = {
      {"cat", LookUp::kFound, "cat"},
      {"Cat", LookUp::kFound, "cat"},
      {"CAT", LookUp::kFound, "cat"},
      {"  cat  ", LookUp::kFound, "cat"},
      {"cat\r", LookUp::kFound, "cat"},
      {"at", LookUp::kFound, "at"},
      {"zebra", LookUp::kFound, "zebra"},
      {"cot", LookUp::kNotFound, "cot"},
      {"ca", LookUp::kNotFound, "ca"},  // no file for c + 2
      {"c", LookUp::kTooShort, "c"},    // too short before normalisation
      {"", LookUp::kTooShort, ""},
      {" c", LookUp::kNotFound, "c"},  // two characters: looked up as c
      {"   ", LookUp::kNotFound, ""},  // empty once trimmed: file "dico-0"
      {"ca t", LookUp::kNotFound, "ca t"},
      {"\tcat", LookUp::kNotFound, "\tcat"},  // only spaces are trimmed
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(LookUpWord(word), c.result) << "'" << c.word << "'";
    EXPECT_EQ(word, c.normalised) << "'" << c.word << "'";
  }
}

TEST(LookUpWord, OneFileOpenPerLookupAndTheSlotIsFreedAfter) {
  Dictionary dictionary({"cat", "cab"});
  uint64_t opens = FileOpenCount();
  std::string word = "cab";
  EXPECT_EQ(LookUpWord(word), LookUp::kFound);
  EXPECT_EQ(FileOpenCount(), opens + 1);
  EXPECT_EQ(ReadInt8(1), 0);  // slot 1 was closed
  EXPECT_EQ(FileAtEnd(1), 0);
  std::string shortWord = "x";
  EXPECT_EQ(LookUpWord(shortWord), LookUp::kTooShort);
  EXPECT_EQ(FileOpenCount(), opens + 1);  // no file for a too-short word
}

TEST(LookUpWord, MissingFolderFindsNothing) {
  test::TempFolder empty;
  MapGameFolder("dico-english", empty.path() + "/nowhere");
  std::string word = "cat";
  EXPECT_EQ(LookUpWord(word), LookUp::kNotFound);
  MapGameFolder("dico-english", "");
}

TEST(HandleChatLine, QuotesTheLineWithTheVerdict) {
  Dictionary dictionary({"cat"});
  struct Case {
    std::string line;
    std::string text;
  };
  const Case cases[] = {
      {"Cat", "Cat - Ok"},
      {" cat ", " cat  - Ok"},
      {"cat\r", "cat - Ok"},
      {"dog", "dog - ERROR: This word does not exist ! "},
      {"x", "x - ERROR: This word does not exist ! "},
      {"~~~ ", "~~~  - ERROR: This word does not exist ! "},  // not the command: exact match only
  };
  for (const Case& c : cases) {
    GameState game;
    game.menu.currentLevel = 7;
    int32_t before = static_cast<int32_t>(TickCount());
    HandleChatLine(game, c.line);
    int32_t after = static_cast<int32_t>(TickCount());
    EXPECT_EQ(game.chat.chatLog[0].text, c.text);
    EXPECT_EQ(game.chat.chatLog[0].speaker, 0);
    EXPECT_GE(game.chat.chatLog[0].time, before);
    EXPECT_LE(game.chat.chatLog[0].time, after);
    EXPECT_EQ(game.menu.currentLevel, 7);
    EXPECT_FALSE(game.play.restartLevel);
  }
}

TEST(HandleChatLine, LevelSkip) {
  for (auto [from, to] : {std::pair{1, 2}, std::pair{43, 44}, std::pair{44, 1}}) {
    GameState game;
    game.menu.currentLevel = from;
    game.chat.chatLog[0].text = "older";
    HandleChatLine(game, "~~~");
    EXPECT_EQ(game.menu.currentLevel, to);
    EXPECT_TRUE(game.play.restartLevel);
    EXPECT_EQ(game.chat.chatLog[1].text, "older");
  }
}

TEST(ChatLog, TwentyLinesNewestFirst) {
  Dictionary dictionary({"cat"});
  GameState game;
  for (int i = 0; i < 21; ++i) HandleChatLine(game, "w" + std::to_string(i));
  EXPECT_EQ(game.chat.chatLog[0].text, "w20 - ERROR: This word does not exist ! ");
  EXPECT_EQ(game.chat.chatLog[19].text, "w1 - ERROR: This word does not exist ! ");  // w0 is gone

  game.status.text = " A wall ";
  game.chat.chatLog[0].speaker = 0;
  game.chat.chatLog[0].time = 1234;
  PushStatusToChat(game);
  EXPECT_EQ(game.chat.chatLog[0].text, " A wall ");
  EXPECT_GE(game.chat.chatLog[0].speaker, 1);
  EXPECT_LE(game.chat.chatLog[0].speaker, 7);
  EXPECT_EQ(game.chat.chatLog[1].text, "w20 - ERROR: This word does not exist ! ");
  EXPECT_EQ(game.chat.chatLog[1].speaker, 0);
  EXPECT_EQ(game.chat.chatLog[1].time, 1234);
}

TEST(PushMoveHistory, ShiftsTextsAndSpeakers) {
  GameState game;
  for (ChatLine& line : game.chat.moveHistory) line.speaker = 8;
  game.chat.moveHistory[0].text = "Below are the details of your points : ";
  game.chat.moveHistory[19].text = "oldest";
  PushMoveHistory(game, " cat : 10 - TOTAL : 10 pts ");
  EXPECT_EQ(game.chat.moveHistory[0].text, " cat : 10 - TOTAL : 10 pts ");
  EXPECT_EQ(game.chat.moveHistory[0].speaker, 0);
  EXPECT_EQ(game.chat.moveHistory[1].text, "Below are the details of your points : ");
  EXPECT_EQ(game.chat.moveHistory[1].speaker, 8);
  EXPECT_NE(game.chat.moveHistory[19].text, "oldest");
}

// The bot's word list and the game's lookup read the same files: a word one of them knows
// and the other does not would be a hint the game refuses, or a win the bot misses.
TEST(LookUpWord, TheBotsWordListKnowsExactlyTheWordsTheGameFinds) {
  test::TempFolder folder;
  // Lines end at CR, LF, CR LF or a zero byte; nothing else is trimmed.
  static const char kLines[] = "at\r\nab\rup\nog \n ow\nOd\0ot";
  std::ofstream(folder.path() + "/dico-c3", std::ios::binary)
      << std::string(kLines, sizeof kLines - 1);
  MapGameFolder("dico-english", folder.path());
  Lexicon lexicon;
  ASSERT_TRUE(lexicon.Load(folder.path()));
  for (std::string word : {"cat", "cab", "cup", "cot", "cog", "cow", "cod"}) {
    std::string looked = word;
    const bool found = LookUpWord(looked) == LookUp::kFound;
    EXPECT_EQ(lexicon.Contains(word), found) << word;
  }
  std::string cat = "cat", cot = "cot", cog = "cog";
  EXPECT_EQ(LookUpWord(cat), LookUp::kFound);
  EXPECT_EQ(LookUpWord(cot), LookUp::kFound);
  EXPECT_EQ(LookUpWord(cog), LookUp::kNotFound);  // "og " keeps its space
  MapGameFolder("dico-english", "");
}

}  // namespace
}  // namespace qm
