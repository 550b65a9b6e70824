// The level source format: faults reported with their line, and exact round trips.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "game/level/LevelBinary.hpp"
#include "game/level/LevelSource.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::level {
namespace {

const char* kHeader =
    "title T\nshade-period 1\nshade-step 1 1 1\nbase-tint 9 9 9\n"
    "objectives 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";

void ExpectSameLevel(const Level& a, const Level& b) {
  EXPECT_EQ(a.title, b.title);
  EXPECT_EQ(a.w, b.w);
  EXPECT_EQ(a.h, b.h);
  EXPECT_EQ(a.startColumn, b.startColumn);
  EXPECT_EQ(a.startRow, b.startRow);
  EXPECT_EQ(a.cells, b.cells);
  EXPECT_EQ(a.shadePeriod, b.shadePeriod);
  EXPECT_EQ(a.shadeStep, b.shadeStep);
  EXPECT_EQ(a.baseTint, b.baseTint);
  EXPECT_EQ(a.objectives, b.objectives);
}

TEST(LevelSource, ReadsAMapWithHalfCellIndents) {
  std::string text = std::string(kHeader) +
                     "legend\n  #  131 wall\n  G 218\n  W2 193\n  ; a comment\nmap\n"
                     "|# # #\n"
                     "| G W2  #\n"
                     "|#\n";
  Level level;
  SourceError error;
  ASSERT_TRUE(ParseLevelSource(text, level, error)) << error.line << ": " << error.message;
  EXPECT_EQ(level.w, 3);
  EXPECT_EQ(level.h, 2);
  std::vector<int16_t> want = {131, 131, 131, 0, 218, 193, 0, 131, 131, 0, 0, 0};
  EXPECT_EQ(level.cells, want);
  EXPECT_EQ(level.startColumn, 0);  // the start box, as no start line is given
  EXPECT_EQ(level.startRow, 1);
}

TEST(LevelSource, FaultsNameTheirLine) {
  struct Case {
    std::string body;
    int line;
    std::string words;
  } cases[] = {
      {"legend\n  # 131\nmap\n|# #\n|# #\n", 5, "half a cell"},
      {"legend\n  # 131\nmap\n|# X\n", 4, "'X' is not in the legend"},
      {"legend\n  # 131\nmap\n| #\n", 4, "first character"},
      {"legend\n  # 131\nmap\n|#\t#\n", 4, "tabs"},
      {"legend\n  # 99999\nmap\n|#\n", 2, "cell code"},
      {"legend\n  # 131\n  # 132\nmap\n|#\n", 3, "twice"},
      {"colour 3\n", 1, "unknown line 'colour'"},
      {"start 1\nlegend\n  G 218\nmap\n|G\n", 1, "takes 2 numbers"},
      {"size 1 0\nlegend\n  G 218\nmap\n|G G G\n", 5, "more cells than 'size'"},
      {"legend\n  # 131\nmap\n|# #\n", 0, "no start box"},
      {"  # 131\n", 1, "unexpected '#'"},
      {"|# #\n", 1, "outside"},
      {"legend\n  G 218\n", 0, "'map' section is missing"},
      {"map\n", 1, "no rows"},
      {"legend\n  G 218\nmap\ncodes\n", 4, "not both"},
  };
  for (const Case& c : cases) {
    Level level;
    SourceError error;
    EXPECT_FALSE(ParseLevelSource(kHeader + c.body, level, error)) << c.body;
    EXPECT_EQ(error.line, c.line == 0 ? 0 : c.line + 5) << c.body;
    EXPECT_NE(error.message.find(c.words), std::string::npos) << error.message;
  }
  struct Whole {
    std::string text;
    std::string words;
  } wholes[] = {
      {"title T\nshade-period 1\nshade-step 1 1 1\nbase-tint 9 9 9\nmap\n|\n", "'objectives' line"},
      {"title " + std::string(128, 'x') + "\n", "longer than 127"},
      {"title \xE4\xB8\xAD\n", "Windows-1252"},
      {"title a\\q\n", "backslash"},
      {"objectives 1 2 3\n", "takes 20 numbers"},
      {"objectives 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 200\n", "outside -128..127"},
      {"shade-period x\n", "not a whole number"},
      {"title a\ntitle b\n", "given twice"},
  };
  for (const Whole& w : wholes) {
    Level level;
    SourceError error;
    EXPECT_FALSE(ParseLevelSource(w.text, level, error)) << w.text;
    EXPECT_NE(error.message.find(w.words), std::string::npos) << error.message;
  }
}

TEST(LevelSource, TitlesKeepEveryByte) {
  Level level;
  SourceError error;
  ASSERT_TRUE(ParseLevelSource("title  Caf\xC3\xA9 \\\\ \\x01\\x20 \n" +
                                   std::string(kHeader).substr(8) + "legend\n  G 218\nmap\n|G\n",
                               level, error))
      << error.message;
  EXPECT_EQ(level.title, "Caf\xE9 \\ \x01 ");
  Level back;
  ASSERT_TRUE(ParseLevelSource(FormatLevelSource(level), back, error)) << error.message;
  EXPECT_EQ(back.title, level.title);
}

Level RandomLevel(std::mt19937& rng, int distinctCodes) {
  Level level;
  bool big = distinctCodes > 1000;  // enough different codes to run out of symbols
  level.w = static_cast<int>(big ? 99 + rng() % 5 : rng() % 12);
  level.h = static_cast<int>(big ? 99 : rng() % 9);
  int n = static_cast<int>(rng() % 40);
  for (int k = 0; k < n; ++k) level.title += static_cast<char>(1 + rng() % 255);
  level.startColumn = static_cast<int16_t>(rng());
  level.startRow = static_cast<int16_t>(rng());
  std::vector<int16_t> palette;
  for (int k = 0; k < distinctCodes; ++k) palette.push_back(static_cast<int16_t>(rng()));
  palette.push_back(0);
  for (int k = 0; k < (level.w + 1) * (level.h + 1); ++k)
    level.cells.push_back(palette[rng() % palette.size()]);
  level.shadePeriod = static_cast<int16_t>(rng());
  for (int k = 0; k < 3; ++k) {
    level.shadeStep[k] = static_cast<int16_t>(rng());
    level.baseTint[k] = static_cast<int16_t>(rng());
  }
  for (int& o : level.objectives) o = static_cast<int8_t>(rng());
  return level;
}

class LevelRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/qm-level-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  DecodedLevel Decode(const std::string& bytes) {
    std::string path = dir_ + "/map";
    std::ofstream(path, std::ios::binary) << bytes;
    return DecodeLevelFile(path);
  }
  std::string dir_;
};

TEST_F(LevelRoundTrip, RandomLevelsSurviveTextAndBinary) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 60; ++round) {
    // Few codes give a symbol map; thousands force the numeric form.
    Level level = RandomLevel(rng, round % 3 == 0 ? 6 : round % 3 == 1 ? 120 : 9000);
    Level parsed;
    SourceError error;
    std::string text = FormatLevelSource(level);
    ASSERT_TRUE(ParseLevelSource(text, parsed, error))
        << error.line << ": " << error.message << "\n"
        << text;
    ExpectSameLevel(parsed, level);
    std::array<int16_t, 5> keys{};
    for (int16_t& k : keys) k = static_cast<int16_t>(rng());
    DecodedLevel decoded = Decode(EncodeLevel(level, keys));
    EXPECT_EQ(decoded.fault, FileFault::kNone);
    ExpectSameLevel(decoded.level, level);
  }
}

TEST_F(LevelRoundTrip, ShortLongAndOversizeFilesAreNamed) {
  Level level;
  level.title = "Hi";
  level.w = 2;
  level.h = 1;
  level.cells = {218, 159, 219, 159, 159, 159};
  std::string bytes = EncodeLevel(level, KeysForName("x.lvl"));
  EXPECT_EQ(Decode(bytes).fault, FileFault::kNone);
  EXPECT_EQ(Decode(bytes.substr(0, bytes.size() - 1)).fault, FileFault::kTruncated);
  EXPECT_EQ(Decode(bytes + "!").fault, FileFault::kTrailing);
  std::string negative = bytes;
  negative[0] = static_cast<char>(0xF0);  // a negative title length reads no title bytes
  DecodedLevel decoded = Decode(negative);
  EXPECT_EQ(decoded.level.title, "");
  EXPECT_NE(decoded.fault, FileFault::kNone);  // its bytes are read as key words instead
  std::string oversize = bytes;
  oversize[3 + 10 + 1] = static_cast<char>(oversize[3 + 10 + 1] ^ 0x80);  // W turns negative
  EXPECT_EQ(Decode(oversize).fault, FileFault::kOversize);
  EXPECT_EQ(DecodeLevelFile(dir_ + "/none").fault, FileFault::kMissing);
}

TEST(LevelKeys, SameNameSameKeys) {
  EXPECT_EQ(KeysForName("01.lvl"), KeysForName("01.lvl"));
  EXPECT_NE(KeysForName("01.lvl"), KeysForName("02.lvl"));
}

TEST(GameLevels, EverySourceBuildsAndDumpsBack) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QM_SOURCE_DIR "/levels")) {
    if (entry.path().extension() != ".lvl") continue;
    ++count;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    Level level, again;
    SourceError error;
    ASSERT_TRUE(ParseLevelSource(text.str(), level, error))
        << entry.path() << ":" << error.line << ": " << error.message;
    ASSERT_TRUE(ParseLevelSource(FormatLevelSource(level), again, error)) << error.message;
    ExpectSameLevel(again, level);
  }
  EXPECT_GE(count, 3);
}

// The binary fixtures the rules tests read are their sources compiled: no other encoder.
TEST(FixtureLevels, EveryMapIsItsSourceCompiled) {
  const std::string folder = std::string(QM_SOURCE_DIR) + "/tests/fixtures/rules";
  for (const char* name : {"level"}) {
    std::ifstream source(folder + "/" + name + ".lvl", std::ios::binary),
        map(folder + "/" + name + ".map", std::ios::binary);
    std::stringstream text, bytes;
    text << source.rdbuf();
    bytes << map.rdbuf();
    Level level;
    SourceError error;
    ASSERT_TRUE(ParseLevelSource(text.str(), level, error))
        << name << ":" << error.line << ": " << error.message;
    EXPECT_EQ(EncodeLevel(level, KeysForName(std::string(name) + ".lvl")), bytes.str())
        << name << ".map: rebuild it with qm-level build " << name << ".lvl " << name << ".map";
  }
}

}  // namespace
}  // namespace qm::level
