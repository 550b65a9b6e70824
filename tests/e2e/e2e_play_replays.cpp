// Recorded sessions played again: the end state must match the golden dump.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/Files.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

class ReplayTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ReplayTest, EndsInTheGoldenState) {
  const std::string folder = FullGameFolder();
  if (folder.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
  const std::string name = GetParam();
  const std::string text = ReadFileBytes(std::string(QM_REPLAY_DIR) + "/" + name + ".replay");
  ASSERT_FALSE(text.empty()) << "missing replay " << name;
  Replay replay = ParseReplay(text);

  Session session(folder);
  // The recorded moves fit this copy of level 1, whatever becomes of the level's source.
  MapGameFolder("maps", std::string(QM_E2E_FIXTURES) + "/maps");
  WriteFileBytes(session.playersFolder() + "/1", std::string("\x03"
                                                             "Ann"
                                                             "\x01\x02\x0a\0\0\0\0"
                                                             "\0\0\0\0\0\0\0\0",
                                                             19));
  RunResult r = session.Play(replay);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  const std::string dump = DumpState(Game(), r.lastScreen);
  const std::string golden = std::string(QM_GOLDEN_DIR) + "/" + name + ".txt";
  if (std::getenv("QM_UPDATE_GOLDEN") != nullptr) {
    WriteFileBytes(golden, dump);
    GTEST_SKIP() << "wrote " << golden;
  }
  MapGameFolder("maps", "");
  EXPECT_EQ(dump, ReadFileBytes(golden)) << "the replay " << name << " ended elsewhere";
}

INSTANTIATE_TEST_SUITE_P(Recorded, ReplayTest,
                         ::testing::Values("AWordOnGoIsAcceptedAndTheExitControlSavesIt",
                                           "ARefusedMoveReturnsThePiecesAndAltF4SavesNothing"));

}  // namespace
}  // namespace qm::e2e
