// `qm-level dump --json` on files written byte by byte, as an outside reader would see them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/support/TestFiles.hpp"

namespace {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  pclose(pipe);
  return out;
}

class LevelDump : public ::testing::Test {
 protected:
  nlohmann::json Dump(const std::string& bytes) {
    std::ofstream(dir_ + "/map", std::ios::binary) << bytes;
    std::string out =
        RunCommand(std::string(QM_LEVEL_TOOL) + " dump --json " + dir_ + "/map 2>/dev/null");
    return nlohmann::json::parse(out, nullptr, false);
  }
  qm::test::TempFolder temp_{"qm-dump"};
  std::string dir_ = temp_.path();
};

// Title "Ab", keys 1234h -2 7 300 -32768, 3 x 2 Cells, start (1, 1), ShadePeriod 3.
const std::string kKnown(
    "\x02\x41\x62\x34\x12\xFE\xFF\x07\x00\x2C\x01\x00\x80\xFC\xFF\x06\x00\x2D\x01\x35\x12\xDD"
    "\x00\x8C\x01\x91\x80\x34\x12\x25\xFF\x0C\xEF\x03\x00\x0A\x00\x14\x00\x1E\x00\xC8\x00\xBE"
    "\x00\xB4\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13"
    "\x14",
    67);

TEST_F(LevelDump, JsonHoldsEveryField) {
  nlohmann::json j = Dump(kKnown);
  ASSERT_TRUE(j.is_object());
  EXPECT_EQ(j["title"], "Ab");
  EXPECT_EQ(j["w"], 2);
  EXPECT_EQ(j["h"], 1);
  EXPECT_EQ(j["start"], nlohmann::json({1, 1}));
  EXPECT_EQ(j["cells"], nlohmann::json({{218, 160, 145}, {0, 219, -5}}));
  EXPECT_EQ(j["shade"], nlohmann::json({{0, 1, 2}, {1, 2, 3}}));
  EXPECT_EQ(j["shade_period"], 3);
  EXPECT_EQ(j["shade_step"], nlohmann::json({10, 20, 30}));
  EXPECT_EQ(j["base_tint"], nlohmann::json({200, 190, 180}));
  EXPECT_EQ(j["objectives"], nlohmann::json({1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                             11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
}

TEST_F(LevelDump, HighTitleBytesAreTheirWindows1252Characters) {
  std::string bytes = kKnown;
  bytes[1] = static_cast<char>(0xE9);  // e acute
  bytes[2] = static_cast<char>(0x80);  // euro sign
  EXPECT_EQ(Dump(bytes)["title"], "\xC3\xA9\xE2\x82\xAC");
}

TEST_F(LevelDump, TruncatedFilesReadZerosThroughTheKey) {
  // Cut inside the shading: the tints read as zeros, the objectives too.
  nlohmann::json j = Dump(kKnown.substr(0, 19 + 2 + 12 + 4));
  EXPECT_EQ(j["cells"], nlohmann::json({{218, 160, 145}, {0, 219, -5}}));
  EXPECT_EQ(j["shade_period"], 3);
  EXPECT_EQ(j["shade_step"], nlohmann::json({10, 0, 0}));
  EXPECT_EQ(j["base_tint"], nlohmann::json({0, 0, 0}));
  EXPECT_EQ(j["objectives"], nlohmann::json(std::vector<int>(20, 0)));
  // Cut right after the title: every key word is 0, so the Board is one Cell in fog.
  j = Dump(kKnown.substr(0, 3));
  EXPECT_EQ(j["title"], "Ab");
  EXPECT_EQ(j["cells"], nlohmann::json({{0}}));
  EXPECT_EQ(j["shade"], nlohmann::json({{0}}));
}

TEST_F(LevelDump, MissingFileIsAnError) {
  EXPECT_EQ(RunCommand(std::string(QM_LEVEL_TOOL) + " dump --json " + dir_ +
                       "/none 2>/dev/null; echo $?"),
            "1\n");
}

}  // namespace
