// The menu music starts at every entry into the player list, whatever the level music option
// says: after the title, after a level left through EXIT with the music turned off, and
// again after Escape from the level list.
#include <gtest/gtest.h>

#include "engine/Input.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

constexpr int kPlayerOneY = 1 * 13 + 6;

TEST(MenuMusic, StartsAtEveryPlayerMenuEntryEvenWithTheMusicOptionOff) {
  const std::string folder = FullGameFolder();
  if (folder.empty()) GTEST_SKIP() << "the game folder has not been made (ninja data)";
  Session session(folder);
  WriteFileBytes(session.playersFolder() + "/1", std::string("\x03"
                                                             "Ann"
                                                             "\x02\x00\x0a\0\0\0\0"
                                                             "\0\0\0\0\0\0\0\0",
                                                             19));
  auto playing = [](bool want, const char* when) {
    return [want, when](const GameState&) { EXPECT_EQ(MusicSlotPlaying(1), want) << when; };
  };
  auto silence = [](const GameState&) { StopMusicModule(1); };
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300).Check(playing(true, "after the title"));
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu).Wait(200).Check(silence);
  s.Tap(kKeyEscape).UntilScreen(Screen::kPlayerMenuReturn).Wait(300);
  s.Check(playing(true, "after Escape from the level list"));
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Click(512, kPlayerOneY).UntilScreen(Screen::kRunLevel).Wait(500);
  // The music panel's second entry, " Music OFF ", at the lower right edge.
  s.Click(1024 - 10, 768 - 160 + 2 * 20 + 10).Wait(200);
  s.Check([](const GameState& g) {
    EXPECT_LE(g.program.musicTrack, 0);
    EXPECT_FALSE(MusicSlotPlaying(1)) << "the level music is off";
  });
  s.Move(1024 - 7, 7).Wait(100).Button('L', true).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry).Button('L', false).Button('R', false).Wait(300);
  s.Check(playing(true, "after EXIT with the music option off"));
  s.Check([](const GameState& g) { EXPECT_LE(g.program.musicTrack, 0); });
  s.Quit();
  RunResult r = session.Run(s);
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

}  // namespace
}  // namespace qm::e2e
