// The level generator: fixed bytes per (version, grade, seed), whatever the threads or the
// build; no level given out that its proof did not pass; its levels compile and check.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/Files.hpp"
#include "game/gen/Generator.hpp"
#include "game/level/LevelBinary.hpp"
#include "game/level/LevelCheck.hpp"
#include "game/level/LevelSource.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::gen {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
};

Outcome RunCommand(const std::string& command) {
  Outcome run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t h = 0xCBF29CE484222325ULL;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001B3ULL;
  return h;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The words and the game folder, loaded once for every case.
class Generator : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    words_ = new GeneratorWords();
    std::string error;
    loaded_ = LoadGeneratorWords(QM_DATA_DIR, *words_, &error);
    if (!loaded_) std::fprintf(stderr, "%s\n", error.c_str());
    SetGameFolder(QM_DATA_DIR);
  }
  static void TearDownTestSuite() {
    SetGameFolder("");
    delete words_;
  }
  void SetUp() override { ASSERT_TRUE(loaded_) << "the game folder " << QM_DATA_DIR << " lacks its dictionaries"; }

  static GeneratorWords* words_;
  static bool loaded_;
};
GeneratorWords* Generator::words_ = nullptr;
bool Generator::loaded_ = false;

// The hash of source and file bytes is pinned: a change of output without a new generator
// version fails here, in every build type.
TEST_F(Generator, SameSeedSameBytesOnOneThreadOrTwo) {
  struct Case {
    int grade;
    uint64_t seed;
    uint64_t hash;
  } cases[] = {
      {1, 1, 0x3e300a60e7fbe51fULL},
      {3, 20261211, 0x57b950aa862dda44ULL},
      {5, 18446744073709551615ULL, 0xb1242ca341c984e9ULL},
  };
  for (const Case& c : cases) {
    GenerateOptions two, one;
    one.threads = 1;
    GeneratedLevel a = GenerateLevel(c.grade, c.seed, *words_, two);
    GeneratedLevel b = GenerateLevel(c.grade, c.seed, *words_, one);
    ASSERT_TRUE(a.ok) << a.error;
    EXPECT_EQ(a.source, b.source) << "grade " << c.grade << " seed " << c.seed;
    EXPECT_EQ(a.mapBytes, b.mapBytes);
    EXPECT_EQ(a.candidates, b.candidates);
    EXPECT_EQ(Fnv1a(a.source + a.mapBytes), c.hash)
        << "grade " << c.grade << " seed " << c.seed << std::hex << ": 0x" << Fnv1a(a.source + a.mapBytes);
    EXPECT_EQ(a.version, kGeneratorVersion);
    EXPECT_EQ(a.grade, c.grade);
    EXPECT_EQ(a.seed, c.seed);
  }
  // Neighbouring seeds and grades give other levels.
  GeneratedLevel x = GenerateLevel(2, 7, *words_), y = GenerateLevel(2, 8, *words_), z = GenerateLevel(3, 7, *words_);
  ASSERT_TRUE(x.ok && y.ok && z.ok);
  EXPECT_NE(x.mapBytes, y.mapBytes);
  EXPECT_NE(x.mapBytes, z.mapBytes);
}

// What is given out is what was proven: the source parses to the level of the file bytes,
// which pass the strict check; the proof passed.
TEST_F(Generator, EveryGradeGivesACheckedLevelItsSourceDescribes) {
  for (int grade = kFirstGrade; grade <= kLastGrade; ++grade) {
    GeneratedLevel g = GenerateLevel(grade, 1000 + grade, *words_);
    ASSERT_TRUE(g.ok) << "grade " << grade << ": " << g.error;
    EXPECT_TRUE(g.proof.Passed());
    EXPECT_GE(g.proof.newPlayerWins, 4);
    EXPECT_GE(g.proof.masterWins, 4);
    EXPECT_GE(g.proof.everydayWins, 3);
    level::DecodedLevel decoded = level::DecodeLevelBytes(g.mapBytes);
    EXPECT_EQ(level::CheckLevel(decoded, true), std::vector<std::string>{}) << "grade " << grade;
    level::Level parsed;
    level::SourceError error;
    ASSERT_TRUE(level::ParseLevelSource(g.source, parsed, error)) << error.line << ": " << error.message;
    EXPECT_EQ(parsed.cells, decoded.level.cells);
    EXPECT_EQ(parsed.objectives, decoded.level.objectives);
    EXPECT_EQ(parsed.title, g.title);
    EXPECT_FALSE(g.title.empty());
    // The proof is repeated from the bytes alone.
    EXPECT_TRUE(ProveLevel(g.mapBytes, *words_).Passed());
  }
  EXPECT_FALSE(GenerateLevel(0, 1, *words_).ok);
  EXPECT_FALSE(GenerateLevel(6, 1, *words_).ok);
}

// Candidates made unwinnable on purpose are never given out: one the check refuses (the end
// box walled in), one the check lets through but no deal can win (objectives past reach).
void WallInTheEndBox(level::Level& level) {
  for (size_t k = 0; k < level.cells.size(); ++k)
    if (level.cells[k] == 219) {
      const int c = static_cast<int>(k % (level.w + 1)), r = static_cast<int>(k / (level.w + 1));
      for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
          if (dr == 0 && dc == 0) continue;
          const int cc = c + dc, rr = r + dr;
          if (cc >= 0 && rr >= 0 && cc <= level.w && rr <= level.h) level.cells[rr * (level.w + 1) + cc] = 131;
        }
    }
}
void AskTooManyWords(level::Level& level) {
  level.objectives[0] = 127;
  level.objectives[1] = 3;
}

TEST_F(Generator, AnUnwinnableCandidateIsNeverGivenOut) {
  GenerateOptions walled;
  walled.spoil = WallInTheEndBox;
  GeneratedLevel a = GenerateLevel(2, 5, *words_, walled);
  EXPECT_FALSE(a.ok);
  EXPECT_TRUE(a.mapBytes.empty());
  EXPECT_TRUE(a.source.empty());
  EXPECT_EQ(a.candidates, walled.maxCandidates);
  EXPECT_NE(a.proof.fault, "");

  GenerateOptions greedy;
  greedy.spoil = AskTooManyWords;
  greedy.maxCandidates = 1;
  GeneratedLevel b = GenerateLevel(1, 5, *words_, greedy);
  EXPECT_FALSE(b.ok);
  EXPECT_TRUE(b.mapBytes.empty());
  EXPECT_EQ(b.proof.fault, "");
  EXPECT_LT(b.proof.newPlayerWins, 4);

  // The same seed unspoiled passes.
  EXPECT_TRUE(GenerateLevel(1, 5, *words_).ok);
}

class GenerateCommand : public ::testing::Test {
 protected:
  std::string Tool() const { return std::string(QM_LEVEL_TOOL); }
  test::TempFolder temp_{"qm-generate"};
  std::string dir_ = temp_.path();
};

// Written twice, byte-identical; built by qm-level build; checked --strict.
TEST_F(GenerateCommand, WritesASourceThatBuildsAndChecks) {
  const std::string data = std::string(" --data ") + QM_DATA_DIR;
  for (int round = 0; round < 2; ++round) {
    Outcome run = RunCommand(Tool() + " generate 424242 --grade 4 -o " + dir_ + "/gen" + std::to_string(round) + ".lvl" + data);
    ASSERT_EQ(run.status, 0) << run.out;
  }
  const std::string source = ReadAll(dir_ + "/gen0.lvl");
  ASSERT_FALSE(source.empty());
  EXPECT_EQ(source, ReadAll(dir_ + "/gen1.lvl"));
  EXPECT_EQ(source.rfind("; Generated level: version " + std::to_string(kGeneratorVersion) + ", grade 4, seed 424242.", 0), 0u);
  Outcome build = RunCommand(Tool() + " build " + dir_ + "/gen0.lvl " + dir_ + "/gen.map");
  ASSERT_EQ(build.status, 0) << build.out;
  Outcome check = RunCommand(Tool() + " check --strict " + dir_ + "/gen.map");
  EXPECT_EQ(check.status, 0) << check.out;
  // Without -o the source goes to standard output.
  Outcome printed = RunCommand(Tool() + " generate 424242 --grade 4" + data);
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.out, source);

  Outcome version = RunCommand(Tool() + " generate --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::to_string(kGeneratorVersion) + "\n");
}

TEST_F(GenerateCommand, BadArgumentsGiveTheUsageAndExitTwo) {
  const char* cases[] = {"generate",
                         "generate seven",
                         "generate -1",
                         "generate 18446744073709551616",
                         "generate 1 2",
                         "generate 1 --grade",
                         "generate 1 --grade 0",
                         "generate 1 --grade 6",
                         "generate 1 --grade 3x",
                         "generate 1 -o",
                         "generate 1 --colour blue",
                         "generate --version 1"};
  for (const char* args : cases) {
    Outcome run = RunCommand(Tool() + " " + args + " --data " + dir_);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.out.find("usage: qm-level"), std::string::npos) << args << ": " << run.out;
    EXPECT_FALSE(fs::exists(dir_ + "/out.lvl"));
  }
  // A folder without dictionaries: exit 2 and no file.
  Outcome run = RunCommand(Tool() + " generate 1 -o " + dir_ + "/out.lvl --data " + dir_);
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_FALSE(fs::exists(dir_ + "/out.lvl"));
}

}  // namespace
}  // namespace qm::gen
