// qm-level's one argument reader: every command refuses an unknown option, an option without
// its value and a wrong number of files with its reason, the usage and exit 2, and writes
// nothing; options may stand before or after the files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/TestFiles.hpp"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string out;  // standard output and error together
};

ToolRun RunTool(const std::string& args) {
  ToolRun run;
  FILE* pipe = popen((std::string(QM_LEVEL_TOOL) + " " + args + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class LevelToolArgs : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_ + "/room.lvl") << "title Room\nshade-period 0\nshade-step 1 1 1\n"
                                         "base-tint 100 100 100\n"
                                         "objectives 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
                                         "codes\n|218 159 219\n";
  }
  qm::test::TempFolder temp_{"qm-level-args"};
  std::string dir_ = temp_.path();
};

TEST_F(LevelToolArgs, BadArgumentsSayWhyGiveTheUsageAndExitTwo) {
  const std::string room = dir_ + "/room.lvl", out = dir_ + "/out";
  const struct {
    std::string args, reason;
  } cases[] = {
      {"", ""},
      {"compile " + room + " " + out, ""},
      {"build " + room, "wrong number of arguments"},
      {"build " + room + " " + out + " " + out, "wrong number of arguments"},
      {"build --json " + room + " " + out, "unknown option --json"},
      {"dump", "wrong number of arguments"},
      {"dump --strict " + room, "unknown option --strict"},
      {"dump " + room + " " + room, "wrong number of arguments"},
      {"check", "wrong number of arguments"},
      {"check --strict", "wrong number of arguments"},
      {"check --json " + room, "unknown option --json"},
      {"generate 1 --grade", "--grade needs a value"},
      {"generate 1 -o", "-o needs a value"},
      {"generate 1 --data", "--data needs a value"},
      {"generate 1 --colour blue", "unknown option --colour"},
      {"generate -1", "unknown option -1"},
  };
  for (const auto& c : cases) {
    ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.status, 2) << c.args << ": " << run.out;
    EXPECT_NE(run.out.find("usage: qm-level build"), std::string::npos)
        << c.args << ": " << run.out;
    EXPECT_NE(run.out.find(c.reason), std::string::npos) << c.args << ": " << run.out;
    EXPECT_FALSE(fs::exists(out)) << c.args;
  }
}

TEST_F(LevelToolArgs, OptionsMayFollowTheFiles) {
  const std::string room = dir_ + "/room.lvl", map = dir_ + "/room.map";
  ASSERT_EQ(RunTool("build " + room + " " + map).status, 0);
  ToolRun before = RunTool("dump --json " + map);
  ToolRun after = RunTool("dump " + map + " --json");
  EXPECT_EQ(before.status, 0);
  EXPECT_EQ(before.out.rfind("{\"title\":\"Room\"", 0), 0u) << before.out;
  EXPECT_EQ(after.out, before.out);
  // --strict asks for a title and a start line: this room has a title and its start box.
  EXPECT_EQ(RunTool("check " + map + " --strict").status, 0);
  // A value that looks like an option is still the value: here the file name, so the command
  // gets as far as the missing dictionaries (exit 2 without the usage).
  ToolRun valued = RunTool("generate 1 -o --verbose --data " + dir_);
  EXPECT_EQ(valued.status, 2);
  EXPECT_EQ(valued.out.find("usage:"), std::string::npos) << valued.out;
  EXPECT_FALSE(fs::exists(dir_ + "/--verbose"));
  EXPECT_EQ(RunTool("generate --version").status, 0);
  EXPECT_EQ(RunTool("generate --version --verbose").status, 2);
}

}  // namespace
