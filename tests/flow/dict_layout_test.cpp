// The game folder's dictionary, as made by qm-dict: one file per first letter and length,
// each line the word without its first letter, lower-case a-z only, ending with LF; common
// words and their inflections are found through the game's own lookup.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "engine/Files.hpp"
#include "game/rules/Dictionary.hpp"

namespace {

const std::string kDictionary = std::string(QM_DATA_DIR) + "/dico-english";

// The game's dictionary folder, mapped for the life of the fixture.
class GameDictionary : public ::testing::Test {
 protected:
  void SetUp() override { qm::MapGameFolder("dico-english", kDictionary); }
  void TearDown() override { qm::MapGameFolder("dico-english", ""); }
};

TEST_F(GameDictionary, FindsCommonWordsAndTheirInflections) {
  const char* found[] = {"at",      "cat",    "cats",   "walk",     "walked", "walking", "running",
                         "ran",     "mice",   "bigger", "happiest", "colour", "color",   "zebra",
                         "quizzes", "jigsaw", "Mosaic", " puzzle ", "Hexagon"};
  for (const char* word : found) {
    std::string w = word;
    EXPECT_EQ(qm::LookUpWord(w), qm::LookUp::kFound) << word;
  }
}

TEST_F(GameDictionary, RefusesWhatIsNotAPlainEnglishWord) {
  const char* missing[] = {"qzx", "catss", "walkeded", "xkcdxkcd", "dont", "usa", "wetbacks"};
  for (const char* word : missing) {
    std::string w = word;
    EXPECT_EQ(qm::LookUpWord(w), qm::LookUp::kNotFound) << word;
  }
}

TEST(GameDictionaryFiles, LayoutIsOneSortedFilePerFirstLetterAndLength) {
  ASSERT_TRUE(std::filesystem::is_directory(kDictionary));
  const std::regex name("dico-([a-z])([0-9]+)");
  size_t words = 0;
  std::set<char> letters;
  for (const auto& entry : std::filesystem::directory_iterator(kDictionary)) {
    const std::string file = entry.path().filename().string();
    SCOPED_TRACE(file);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(file, m, name)) << "stray file in the dictionary folder";
    const size_t length = std::stoul(m[2].str());
    ASSERT_GE(length, 2u);
    letters.insert(m[1].str()[0]);
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.back(), '\n');
    std::string previous;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find('\n', start);
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      ASSERT_EQ(line.size() + 1, length) << line;
      for (char c : line) ASSERT_TRUE(c >= 'a' && c <= 'z') << line;
      ASSERT_LT(previous, line) << "not sorted or repeated";
      previous = line;
      ++words;
    }
  }
  EXPECT_GE(words, 100000u);
  EXPECT_EQ(letters.size(), 26u);
}

TEST(GameDictionaryFiles, ThreeLetterWordsOfCHoldCatAsAt) {
  std::ifstream in(kDictionary + "/dico-c3", std::ios::binary);
  std::string line;
  bool sawAt = false;
  while (std::getline(in, line)) sawAt = sawAt || line == "at";
  EXPECT_TRUE(sawAt);
}

TEST(GameDictionaryFiles, CreditsNameTheWordListsAndTheirNotices) {
  std::ifstream in(std::string(QM_DATA_DIR) + "/CREDITS.txt", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  for (const char* notice :
       {"SCOWL", "Kevin Atkinson", "Copyright (c) J Ross Beresford 1993-1999",
        "WordNet 1.6 Copyright 1997 by Princeton University", "Geoff Kuenning"}) {
    EXPECT_NE(text.find(notice), std::string::npos) << notice;
  }
}

}  // namespace
