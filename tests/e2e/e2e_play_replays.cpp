// Recorded sessions played again: the end state must match the golden dump, and the profile
// file must hold what the session saved (or still what it held).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/Files.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::e2e {
namespace {

struct ReplayCase {
  const char* name;
  int64_t score;  // worked out by hand from the level and the Pieces laid
  int reached;
  bool saves;  // the profile file holds the score, else its first bytes
};

// "cat" on GO: c 3 + a 1 + t 1, the t on a triple-letter Cell counting twice more.
const ReplayCase kCases[] = {
    {"AWordOnGoIsAcceptedAndTheExitControlSavesIt", 3 + 1 + 1 + 2 * 1, 1, true},
    {"ARefusedMoveReturnsThePiecesAndAltF4SavesNothing", 0, 1, false},
};

void PrintTo(const ReplayCase& c, std::ostream* os) {
  *os << c.name;
}

class ReplayTest : public ::testing::TestWithParam<ReplayCase> {};

TEST_P(ReplayTest, EndsInTheGoldenState) {
  const ReplayCase& c = GetParam();
  const std::string folder = FullGameFolder();
  if (folder.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
  const std::string name = c.name;
  const std::string text = ReadFileBytes(std::string(QM_REPLAY_DIR) + "/" + name + ".replay");
  ASSERT_FALSE(text.empty()) << "missing replay " << name;
  Replay replay = ParseReplay(text);

  Session session(folder);
  // The recorded moves fit this copy of level 1, whatever becomes of the level's source.
  MapGameFolder("maps", std::string(QM_E2E_FIXTURES) + "/maps");
  const std::string profile = session.playersFolder() + "/1";
  const std::string before = test::ProfileBytes("Ann", 1, 2, 10, 0);
  WriteFileBytes(profile, before);
  RunResult r = session.Play(replay);
  MapGameFolder("maps", "");
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(Game().players.scores[0], c.score);
  EXPECT_EQ(Game().players.levelsReached[0], c.reached);
  EXPECT_EQ(ReadFileBytes(profile),
            c.saves ? test::ProfileBytes("Ann", c.reached, 2, 10, c.score) : before);
  const std::string dump = DumpState(Game(), r.lastScreen);
  const std::string golden = std::string(QM_GOLDEN_DIR) + "/" + name + ".txt";
  if (std::getenv("QM_UPDATE_GOLDEN") != nullptr) {
    WriteFileBytes(golden, dump);
    GTEST_SKIP() << "wrote " << golden;
  }
  EXPECT_EQ(dump, ReadFileBytes(golden)) << "the replay " << name << " ended elsewhere";
}

INSTANTIATE_TEST_SUITE_P(Recorded, ReplayTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ReplayCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace qm::e2e
