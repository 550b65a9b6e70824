// Whether a level can be finished: start and end boxes, and a way between them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/level/LevelCheck.hpp"
#include "game/level/LevelSource.hpp"

namespace qm::level {
namespace {

Level FromMap(const std::string& rows) {
  std::string text =
      "title T\nstart 0 0\nshade-period 1\nshade-step 1 1 1\nbase-tint 9 9 9\n"
      "objectives 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\nlegend\n"
      "  G 218\n  F 219\n  . 159\n  # 131\n  ^ 148\n  a 1\n  Lg 145\n  Ls 146\n  Lb 147\n"
      "  Kg 235\n  Ks 236\n  Kb 237\n  M1 212\n  M3 214\nmap\n" +
      rows;
  Level level;
  SourceError error;
  EXPECT_TRUE(ParseLevelSource(text, level, error)) << error.line << ": " << error.message;
  return level;
}

TEST(LevelCheck, EndBoxReachableThroughCellsThatTakePieces) {
  struct Case {
    const char* rows;
    bool reachable;
    const char* why;
  } cases[] = {
      {"|G . F\n", true, "soil joins them"},
      {"|G # F\n", false, "a wall between"},
      {"|G   F\n", false, "void between"},
      {"|G a F\n", false, "a Piece already lying there takes no Piece"},
      {"|G # F\n| . . .\n", true, "round the wall through the odd row below"},
      {"|G Lg. F\n", false, "a lock without its key"},
      {"|KgG Lg. F\n", true, "the gold key opens the gold lock"},
      {"|KsG Lg. F\n", false, "a silver key does not open a gold lock"},
      {"|KsG LsF\n", true, "silver key, silver lock"},
      {"|KbG LbF\n", true, "bronze key, bronze lock"},
      {"|G LgKgF\n", false, "the key lies behind its own lock"},
      {"|G KgLgKsLsF\n", true, "one key leads to the next"},
      {"|G M1# F\n", true, "a wall next to a mechanism may fall"},
      {"|G M3^ F\n", true, "plain cells next to a mechanism fall too"},
      {"|G M1. # # F\n", false, "only the walls touching the mechanism fall"},
      {"|G ^ F\n", false, "plain cells take no Piece"},
      {"|# G # F\n| # # # #\n|G . # . .\n", false, "no start box reaches it"},
      {"|# G # F\n| # # # .\n|. G . . .\n", true, "any start box may reach it"},
  };
  for (const Case& c : cases) EXPECT_EQ(EndBoxReachable(FromMap(c.rows)), c.reachable) << c.why;
}

TEST(LevelCheck, FaultsOfAWholeFile) {
  auto faults = [](const std::string& rows) {
    DecodedLevel decoded;
    decoded.level = FromMap(rows);
    return CheckLevel(decoded, false);
  };
  EXPECT_TRUE(faults("|G . F\n").empty());
  ASSERT_EQ(faults("|. . F\n").size(), 1u);
  EXPECT_NE(faults("|. . F\n")[0].find("no start box"), std::string::npos);
  EXPECT_NE(faults("|G . .\n")[0].find("no end box"), std::string::npos);
  EXPECT_NE(faults("|G # F\n")[0].find("cannot be reached"), std::string::npos);
  EXPECT_EQ(faults("|. . .\n").size(), 2u);

  DecodedLevel missing;
  missing.fault = FileFault::kMissing;
  EXPECT_EQ(CheckLevel(missing, false).size(), 1u);
}

TEST(LevelCheck, StrictChecksTintsAndCodes) {
  DecodedLevel decoded;
  decoded.level = FromMap("|G . F\n");
  decoded.level.baseTint = {200, 200, 200};
  decoded.level.shadeStep = {30, 0, 0};
  decoded.level.shadePeriod = 0;  // fog: shades 0..6 show, down to 200 - 6 x 30 = 20
  EXPECT_TRUE(CheckLevel(decoded, true).empty());
  decoded.level.shadeStep = {40, 0, 0};  // 200 - 6 x 40 = -40
  ASSERT_EQ(CheckLevel(decoded, true).size(), 1u);
  EXPECT_NE(CheckLevel(decoded, true)[0].find("red tint at shade 6 is -40"), std::string::npos);
  decoded.level.shadeStep = {0, 0, -10};  // 200 + 6 x 10 = 260
  EXPECT_NE(CheckLevel(decoded, true)[0].find("blue tint"), std::string::npos);
  decoded.level.shadeStep = {0, 0, 0};
  decoded.level.cells[1] = 500;
  EXPECT_NE(CheckLevel(decoded, true)[0].find("unknown cell code 500"), std::string::npos);
  EXPECT_TRUE(CheckLevel(decoded, false).empty());  // 500 takes Pieces: only strict minds it
}

TEST(LevelCheck, StrictWantsKeysAndObjectivesThatFit) {
  auto strictFaults = [](const std::string& rows, int wordLength) {
    DecodedLevel decoded;
    decoded.level = FromMap(rows);
    decoded.level.objectives[0] = 2;
    decoded.level.objectives[1] = static_cast<int8_t>(wordLength);
    return CheckLevel(decoded, true);
  };
  EXPECT_TRUE(strictFaults("|G . F\n", 3).empty());
  ASSERT_EQ(strictFaults("|G . F\n", 4).size(), 1u);  // the row holds only three
  EXPECT_NE(strictFaults("|G . F\n", 4)[0].find("longest line of cells is 3"), std::string::npos);
  // Four along the falling diagonal: (0,0) (0,1) (1,2) (1,3).
  EXPECT_TRUE(strictFaults("|G # #\n| . # #\n|# . #\n| # F #\n", 4).empty());
  auto locks = strictFaults("|KgG LgLsF\n", 2);
  ASSERT_EQ(locks.size(), 2u);  // no silver key, and the end box lies behind the silver lock
  EXPECT_NE(locks[1].find("no silver key (236)"), std::string::npos);
}

}  // namespace
}  // namespace qm::level
