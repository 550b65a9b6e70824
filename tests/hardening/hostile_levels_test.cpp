// Level files declaring impossible sizes, and a fog level whose ShadePeriod makes the reveal
// radius after a move enormous.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/play/Board.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"
#include "tests/support/LevelBytes.hpp"
#include "tools/qm-rules/MoveFile.hpp"

namespace qm::hard {
namespace {

// Only the head of a level file: title, keys (all 0, so the size is written as is), size and
// start; the Cells would follow.
std::string LevelHead(int16_t w, int16_t h) {
  std::string bytes = std::string(1, 4) + "Huge" + std::string(10, '\0');
  for (int16_t v : {w, h, int16_t{3}, int16_t{4}}) {
    bytes += static_cast<char>(v & 0xFF);
    bytes += static_cast<char>((v >> 8) & 0xFF);
  }
  return bytes;
}

// A size below 0 or beyond 4,194,304 Cells gives the one-Cell Board; the largest allowed size
// is read, the Cells missing from the file reading as 0 (then unscrambled). (A missing file,
// and the largest Board read whole: board_file_test.cpp.)
TEST(HostileLevels, ImpossibleSizesGiveTheOneCellBoard) {
  struct Case {
    int16_t w, h;
    LevelRead expected;
  } cases[] = {{32767, 32767, LevelRead::kOversize},
               {-1, 5, LevelRead::kOversize},
               {5, -32768, LevelRead::kOversize},
               {-32768, -32768, LevelRead::kOversize},
               {2048, 2047, LevelRead::kOversize},
               {3, -2, LevelRead::kOversize},
               {-32768, -1, LevelRead::kOversize},
               {2047, 2047, LevelRead::kRead},
               {0, 0, LevelRead::kRead}};
  TempFolder folder;
  MapGameFolder("maps", folder.path());
  for (const Case& c : cases) {
    test::WriteBytes(folder.path() + "/7", LevelHead(c.w, c.h));
    auto game = std::make_unique<GameState>();
    game->program.screenWidth = 1024;
    game->program.screenHeight = 768;
    EXPECT_EQ(ReadLevelFile(game->board, "maps\\7", 1, 1024, 768), c.expected)
        << c.w << " x " << c.h;
    if (c.expected == LevelRead::kOversize) {  // nothing of the file is kept
      EXPECT_EQ(game->board.title, "");
      EXPECT_EQ(game->board.startColumn, 0);
      EXPECT_EQ(game->board.startRow, 0);
      for (int k = 0; k <= 20; ++k) EXPECT_EQ(game->board.objectives[k], 0) << k;
    }
    LoadLevel(*game, 7);
    const BoardState& b = game->board;
    const size_t cells = (size_t(b.w) + 1) * (size_t(b.h) + 1);
    EXPECT_EQ(b.cells.size(), cells);
    EXPECT_EQ(b.shade.size(), cells);
    if (c.expected == LevelRead::kOversize) {
      EXPECT_EQ(b.w, 0);
      EXPECT_EQ(b.h, 0);
      EXPECT_EQ(CellCode(b, 0, 0), 0);
      EXPECT_LE(b.shadePeriod, 0);  // fog mode
    } else {
      EXPECT_EQ(b.w, c.w);
      EXPECT_EQ(b.h, c.h);
      EXPECT_EQ(b.title, "Huge");
    }
    EXPECT_EQ(CellCode(b, -1, 0), 0);
    EXPECT_EQ(CellCode(b, b.w + 1, b.h + 1), 0);
  }
  MapGameFolder("maps", "");
}

// A fog level of ShadePeriod -32768 and a reveal after a move: the radius is about 32,770,
// but only the Board's Cells are visited, and every one of them is lit. (Smaller reveals
// are in board_shade_test.cpp.)
TEST(HostileLevels, HugeRevealRadiusVisitsOnlyTheBoard) {
  test::LevelBytes level = test::FilledLevel(39, 29, 157);
  level.startColumn = 20;
  level.startRow = 15;
  level.shadePeriod = -32768;
  TempFolder folder;
  const std::string path = folder.path() + "/fog";
  test::WriteBytes(path, level.Encode());
  BoardState board;
  ASSERT_EQ(ReadLevelFile(board, path, 1, 1024, 768), LevelRead::kRead);
  ASSERT_EQ(board.shadePeriod, -32768);
  // The start reveal has bonus 0: within 6 of the StartCell only.
  EXPECT_EQ(ShadeOf(board, 20, 15), 0);
  EXPECT_EQ(ShadeOf(board, 0, 0), kHiddenShade);

  // Centres far outside the Board change nothing; on it, every Cell is lit. Bases at the ends
  // of their range: the lowest gives no reach at all, the highest lights everything.
  struct Case {
    int cx, cy, base;
    bool lightsAll;
  } cases[] = {{20, 15, 20, true},
               {0, 0, 20, true},
               {INT_MAX, INT_MIN, 20, false},
               {INT_MIN, INT_MAX, 20, false},
               {-40000, 40000, 20, false},
               {5, 5, INT_MAX, true},
               {5, 5, INT_MIN, false},
               {5, 5, 0, true},
               {100, 100, INT_MAX, true},
               {INT_MIN, INT_MAX, INT_MAX, false}};
  for (const Case& c : cases) {
    BoardState b = board;
    RevealAroundMove(b, c.cx, c.cy, c.base);  // 20: an accepted move of 20 Pieces
    ASSERT_EQ(b.shade.size(), board.shade.size());
    if (c.lightsAll) {
      EXPECT_EQ(std::count(b.shade.begin(), b.shade.end(), 0), static_cast<long>(b.shade.size()))
          << c.cx << ", " << c.cy << " base " << c.base;
    } else {
      EXPECT_EQ(b.shade, board.shade) << c.cx << ", " << c.cy << " base " << c.base;
    }
  }
}

// The same through an accepted move played by the game's own rules.
TEST(HostileLevels, AcceptedMoveOnTheHugeRevealLevel) {
  const std::string fixtures = std::string(QM_SOURCE_DIR) + "/tests/fixtures/rules";
  std::ifstream in(fixtures + "/level.map", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_FALSE(bytes.empty());
  BoardState fixture;
  ASSERT_EQ(ReadLevelFile(fixture, fixtures + "/level.map", 1, 1024, 768), LevelRead::kRead);
  // ShadePeriod lies right after the Cells.
  const size_t at = 19 + static_cast<uint8_t>(bytes[0]) + 2 * fixture.cells.size();
  ASSERT_LT(at + 1, bytes.size());
  bytes[at] = 0x00;
  bytes[at + 1] = static_cast<char>(0x80);
  TempFolder folder;
  const std::string path = folder.path() + "/fog.map";
  test::WriteBytes(path, bytes);

  nlohmann::json move = nlohmann::json::parse(R"({"seed": 7, "score": 5,
    "easel": [3, 1, 20, 5, 5, 5], "bag": [15, 15], "board": [[3, 2, 193]],
    "lay": [[1, 2, 3], [2, 2, 1], [3, 2, 20]]})");
  move["level_file"] = path;
  move["dict"] = fixtures + "/dico";
  auto game = std::make_unique<GameState>();
  std::vector<int16_t> before = SetUpMove(*game, move);
  ASSERT_EQ(game->board.shadePeriod, -32768);
  nlohmann::ordered_json out = EvaluateMove(*game, before);
  EXPECT_TRUE(out["accepted"].get<bool>()) << out.dump();
  for (int8_t s : game->board.shade) EXPECT_EQ(s, 0);
  MapGameFolder("dico-english", "");
}

}  // namespace
}  // namespace qm::hard
