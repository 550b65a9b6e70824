// The definitions file: bisected lookups, and damaged or missing files that give nothing.
#include <sys/stat.h>

#include <chrono>

#include "game/rules/Definitions.hpp"
#include "game/rules/Dictionary.hpp"
#include "tests/rules/RulesFixture.hpp"

namespace qm::test {
namespace {

// A definitions folder of its own, mapped as "definitions" for the life of the object.
class DefinitionsFolder {
 public:
  DefinitionsFolder() { MapGameFolder("definitions", folder_.path()); }
  ~DefinitionsFolder() { MapGameFolder("definitions", ""); }
  void Write(const std::string& bytes) const {
    std::ofstream(File(), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string File() const { return folder_.path() + "/english"; }

 private:
  TempFolder folder_;
};

const char* const kFile =
    "  1 WordNet 3.0 Copyright 2006 by Princeton University.  All rights reserved.  \n"
    "  2 \n"
    "aa\tbasaltic lava\n"
    "cab\ta compartment\n"
    "cat\tfeline mammal\n"
    "cats\t(cat) feline mammal\n"
    "catty\tspiteful\n"
    "went\t(go) change location\n"
    "zymurgy\tthe branch of chemistry that deals with fermentation";

TEST(LookUpDefinition, BisectsTheSortedLines) {
  DefinitionsFolder folder;
  folder.Write(kFile);
  const std::pair<const char*, const char*> cases[] = {
      {"aa", "basaltic lava"},  // the first line after the header
      {"cat", "feline mammal"},
      {"cats", "(cat) feline mammal"},  // a longer word than its neighbour
      {"catty", "spiteful"},
      {"went", "(go) change location"},
      {"zymurgy", "the branch of chemistry that deals with fermentation"},  // no line end
      {"a", ""},                                                            // before every word
      {"ca", ""},                                                           // a prefix of words
      {"catt", ""},                                                         // between two words
      {"zzz", ""},                                                          // after every word
      {"", ""},
      {"  1 WordNet", ""},  // the header is not a word
      {"cat\tfeline mammal", ""},
  };
  for (const auto& [word, definition] : cases) {
    EXPECT_EQ(LookUpDefinition(word), definition) << word;
  }
}

TEST(LookUpDefinition, EveryLineOfALargerFileIsFound) {
  DefinitionsFolder folder;
  std::string bytes = "  1 header\n";
  std::vector<std::string> words;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) words.push_back(std::string{a, b, 'x'});
  }
  for (const std::string& w : words) bytes += w + "\tdefinition of " + w + "\r\n";  // CR LF too
  folder.Write(bytes);
  for (const std::string& w : words) ASSERT_EQ(LookUpDefinition(w), "definition of " + w) << w;
  EXPECT_EQ(LookUpDefinition("aax"), "definition of aax");
  EXPECT_EQ(LookUpDefinition("zzy"), "");
}

TEST(LookUpDefinition, DamagedOrMissingFilesGiveNothing) {
  std::string longLine(100000, 'q');
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 251));
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"one line feed", "\n"},
      {"no tab", "cat feline mammal\n"},
      {"a huge line", "cab\ta compartment\n" + longLine + "\ncat\tfeline\n"},
      {"a huge first line", longLine},
      {"binary noise", garbage},
      {"unsorted", "zebra\tstriped\ncat\tfeline\nant\tinsect\n"},
      {"NUL bytes", std::string("cat\tfel\0ine\n", 12)},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    DefinitionsFolder folder;
    folder.Write(bytes);
    // Whatever it answers, it answers at once and only with text from the file.
    const auto start = std::chrono::steady_clock::now();
    for (const char* word : {"cat", "ant", "zebra", "cab", "qqq"}) {
      const std::string definition = LookUpDefinition(word);
      for (char c : definition) EXPECT_GE(static_cast<unsigned char>(c), 32u);
      EXPECT_LE(definition.size(), bytes.size());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
  {
    DefinitionsFolder folder;  // no file at all
    EXPECT_EQ(LookUpDefinition("cat"), "");
  }
  {
    DefinitionsFolder folder;  // a folder where the file should be
    std::filesystem::create_directory(folder.File());
    EXPECT_EQ(LookUpDefinition("cat"), "");
  }
  {
    DefinitionsFolder folder;  // a pipe nobody writes to must not hang the game
    ASSERT_EQ(::mkfifo(folder.File().c_str(), 0600), 0);
    EXPECT_EQ(LookUpDefinition("cat"), "");
  }
  {
    DefinitionsFolder folder;  // a damaged line still gives only its printable bytes
    folder.Write("cat\tfeline\x01\x1f mammal\r\n");
    EXPECT_EQ(LookUpDefinition("cat"), "feline mammal");
  }
}

TEST(HandleChatLine, AFoundWordWithoutADefinitionsFileAddsNoLine) {
  Dictionary dictionary({"cat"});
  DefinitionsFolder folder;
  GameState game;
  game.chat.chatLog[0].text = "older";
  HandleChatLine(game, "cat");
  EXPECT_EQ(game.chat.chatLog[0].text, "cat - Ok");
  EXPECT_EQ(game.chat.chatLog[1].text, "older");
  folder.Write("cat\tfeline mammal\n");
  HandleChatLine(game, "Cat");
  EXPECT_EQ(game.chat.chatLog[0].text, " cat: feline mammal ");
  EXPECT_EQ(game.chat.chatLog[1].text, "Cat - Ok");
  EXPECT_EQ(game.chat.chatLog[2].text, "cat - Ok");
}

}  // namespace
}  // namespace qm::test
