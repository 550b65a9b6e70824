// The game's command line: display choices, the game folder, help and version, and errors.
#include <gtest/gtest.h>

#include "engine/Clock.hpp"
#include "game/flow/CommandLine.hpp"

namespace qm {
namespace {

TEST(CommandLine, NoArgumentsKeepTheFullScreenGame) {
  const CommandLine line = ParseCommandLine({}, nullptr);
  EXPECT_EQ(line.error, "");
  EXPECT_FALSE(line.display.windowed);
  EXPECT_EQ(line.display.scale, 0);
  EXPECT_EQ(line.display.displayIndex, 0);
  EXPECT_EQ(line.display.maxFps, 0);
  EXPECT_EQ(line.dataFolder, "");
  EXPECT_FALSE(line.showHelp);
  EXPECT_FALSE(line.showVersion);
}

TEST(CommandLine, ReadsEachOption) {
  struct Case {
    std::vector<std::string> args;
    const char* variable;
    int scale;
    bool windowed;
    int width, height, display, maxFps;
    const char* data;
  };
  const Case cases[] = {
      {{"--scale", "2"}, nullptr, 2, false, 1280, 800, 0, 0, ""},
      {{"--scale=3"}, nullptr, 3, false, 1280, 800, 0, 0, ""},
      {{}, "2", 2, false, 1280, 800, 0, 0, ""},
      {{"--scale", "1"}, "4", 1, false, 1280, 800, 0, 0, ""},  // the option wins
      {{"--window"}, nullptr, 0, true, 1280, 800, 0, 0, ""},
      {{"--window", "1024x768"}, nullptr, 0, true, 1024, 768, 0, 0, ""},
      {{"--window=800X600", "--scale", "1"}, nullptr, 1, true, 800, 600, 0, 0, ""},
      {{"--window", "--max-fps", "60"}, nullptr, 0, true, 1280, 800, 0, 60, ""},
      {{"--display", "1"}, nullptr, 0, false, 1280, 800, 1, 0, ""},
      {{"--data", "/opt/q"}, nullptr, 0, false, 1280, 800, 0, 0, "/opt/q"},
      {{"--data=rel/dir", "--display=2"}, nullptr, 0, false, 1280, 800, 2, 0, "rel/dir"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args, c.variable);
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.display.scale, c.scale);
    EXPECT_EQ(line.display.windowed, c.windowed);
    EXPECT_EQ(line.display.windowWidth, c.width);
    EXPECT_EQ(line.display.windowHeight, c.height);
    EXPECT_EQ(line.display.displayIndex, c.display);
    EXPECT_EQ(line.display.maxFps, c.maxFps);
    EXPECT_EQ(line.dataFolder, c.data);
  }
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(ParseCommandLine({"--help"}, nullptr).showHelp);
  EXPECT_TRUE(ParseCommandLine({"-h"}, nullptr).showHelp);
  EXPECT_TRUE(ParseCommandLine({"--version"}, nullptr).showVersion);
  const std::string usage = UsageText("quillmosaica");
  for (const char* option : {"--window", "--scale", "--display", "--max-fps", "--data", "--help",
                             "--version", "QUILLMOSAICA_SCALE"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

TEST(CommandLine, RefusesWhatItCannotUse) {
  struct Case {
    std::vector<std::string> args;
    const char* variable;
    const char* errorPart;
  };
  const Case cases[] = {
      {{"--fullscreen"}, nullptr, "unknown option"},
      {{"map.lvl"}, nullptr, "unknown option"},
      {{"--scale", "0"}, nullptr, "--scale"},
      {{"--scale", "5"}, nullptr, "--scale"},
      {{"--scale", "2x"}, nullptr, "--scale"},
      {{"--scale"}, nullptr, "needs a value"},
      {{"--scale="}, nullptr, "--scale"},
      {{"--window", "1280"}, nullptr, "--window"},
      {{"--window", "x800"}, nullptr, "--window"},
      {{"--window=100x100"}, nullptr, "--window"},
      {{"--window", "99999999999x800"}, nullptr, "--window"},
      {{"--window", "abc"}, nullptr, "--window"},
      {{"--display", "-1"}, nullptr, "--display"},
      {{"--max-fps", "0"}, nullptr, "--max-fps"},
      {{"--max-fps", "sixty"}, nullptr, "--max-fps"},
      {{"--data"}, nullptr, "needs a value"},
      {{"--data="}, nullptr, "--data"},
      {{"--help=yes"}, nullptr, "takes no value"},
      {{"--daily"}, nullptr, "needs a value"},
      {{"--daily", "2026-02-30"}, nullptr, "--daily"},
      {{"--daily", "11/12/2026"}, nullptr, "--daily"},
      {{"--daily", "2026-12-12"}, nullptr, "--daily"},  // after today (the 11th)
      {{}, "7", "QUILLMOSAICA_SCALE"},
      {{}, "two", "QUILLMOSAICA_SCALE"},
  };
  SetUtcDateForTests(20261211);
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args, c.variable);
    EXPECT_NE(line.error.find(c.errorPart), std::string::npos)
        << (c.args.empty() ? "(variable)" : c.args[0]) << " gave \"" << line.error << "\"";
    EXPECT_EQ(line.error.find('\n'), std::string::npos);
  }
  SetUtcDateForTests(0);
}

TEST(CommandLine, DailyTakesADayUpToToday) {
  SetUtcDateForTests(20261211);
  EXPECT_EQ(ParseCommandLine({"--daily", "2026-12-05"}, nullptr).dailyDay, 20261205);
  EXPECT_EQ(ParseCommandLine({"--daily=2026-12-11"}, nullptr).dailyDay, 20261211);
  EXPECT_EQ(ParseCommandLine({}, nullptr).dailyDay, 0);
  EXPECT_NE(UsageText("quillmosaica").find("--daily YYYY-MM-DD"), std::string::npos);
  SetUtcDateForTests(0);
}

}  // namespace
}  // namespace qm
