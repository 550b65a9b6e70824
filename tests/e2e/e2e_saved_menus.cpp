// Hostile saved levels met by the level list: none is continued, none crashes or hangs the
// list, the profile stays as it was, and each is set aside.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "game/play/SavedLevel.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;

// A save the small menu folder's level 1 (a title and nothing else: a one-Cell Board) accepts.
SavedLevel GoodSave(const std::string& folder) {
  SavedLevel s;
  s.playerName = "Ann";
  s.identity.number = 1;
  s.levelFileHash = HashBytes(ReadFileBytes(folder + "/maps/1"));
  s.board.cells = {0};
  s.board.shade = {0};
  s.slots[0] = 10;
  for (int k = 1; k <= 10; ++k) s.slots[k] = static_cast<int16_t>(k);
  s.bag = {3, 1, 20};
  s.score = 77;
  s.random = RandomState{};
  return s;
}

// Changes byte k and nothing else (the checksum no longer matches).
std::string Flip(std::string bytes, size_t k) {
  bytes[k] = static_cast<char>(bytes[k] ^ 0x5A);
  return bytes;
}

TEST(SavedLevelMenu, HostileSavesAreNeverContinuedAndTheProfileIsUntouched) {
  test::TempFolder folder("qm-e2e-saves");
  MakeMenuFolder(folder.path(), {"First steps", "Second", "Third"});
  Session session(folder.path());
  const std::string profilePath = session.playersFolder() + "/1";
  const std::string profile = test::ProfileBytes("Ann", 3, 2, 10, 0);
  WriteFileBytes(profilePath, profile);
  const std::string save = session.tempFolder() + "/saves/1";
  fs::create_directories(session.tempFolder() + "/saves");

  const SavedLevel good = GoodSave(folder.path());
  const std::string bytes = EncodeSavedLevel(good);
  auto with = [&good](const std::function<void(SavedLevel&)>& change) {
    SavedLevel s = good;
    change(s);
    return EncodeSavedLevel(s);
  };
  std::string versioned = bytes;
  versioned[8] = 2;  // the version field, right after the format name

  struct Case {
    const char* what;
    std::string bytes;
    std::string why;  // empty: continued
  };
  const std::vector<Case> cases = {
      {"a good save", bytes, ""},
      {"an empty file", "", "it is not a saved level"},
      {"another format", "quillmosaica-replay 1\n", "it is not a saved level"},
      {"truncated", bytes.substr(0, bytes.size() / 2), "it is cut short or too long"},
      {"one byte short", bytes.substr(0, bytes.size() - 1), "it is cut short or too long"},
      {"a byte too many", bytes + "x", "it is cut short or too long"},
      {"garbled", Flip(bytes, bytes.size() / 2), "it is damaged"},
      {"a garbled checksum", Flip(bytes, 18), "it is damaged"},
      {"oversized", bytes + std::string(kMaxSavedLevelBytes, '\0'),
       "it cannot be read or is too large"},
      {"another version", versioned, "it was saved by another version of the game"},
      {"another player", with([](SavedLevel& s) { s.playerName = "Bob"; }),
       "it belongs to another player"},
      {"a changed level file", with([](SavedLevel& s) { s.levelFileHash ^= 1; }),
       "its level file has changed"},
      {"a vanished level file", with([](SavedLevel& s) { s.identity.number = 7; }),
       "its level file is gone"},
      {"a level number out of range", with([](SavedLevel& s) { s.identity.number = 45; }),
       "its level number is wrong"},
      {"a Board of another size", with([](SavedLevel& s) {
         s.board.w = 2;
         s.board.cells.assign(3, 0);
         s.board.shade.assign(3, 0);
       }),
       "its Board size does not match"},
      {"a Cell count the bytes cannot hold", with([](SavedLevel& s) { s.board.w = 2047; }),
       "it is damaged"},
      {"a start Cell off the Board", with([](SavedLevel& s) { s.board.startColumn = 5; }),
       "it is damaged"},
      {"an Easel of 30 slots", with([](SavedLevel& s) { s.slots[0] = 30; }), "it is damaged"},
      {"a Piece code out of range", with([](SavedLevel& s) { s.slots[4] = 200; }), "it is damaged"},
      {"a bag Piece out of range", with([](SavedLevel& s) { s.bag[1] = 0; }), "it is damaged"},
      {"a speaker out of range", with([](SavedLevel& s) { s.chatLog[3].speaker = 9; }),
       "it is damaged"},
      {"a background picture out of range", with([](SavedLevel& s) { s.backgroundPicture = 24; }),
       "it is damaged"},
      {"a random state out of range", with([](SavedLevel& s) { s.random.i = 17; }),
       "it is damaged"},
      {"a daily without its deal stream",
       with([](SavedLevel& s) { s.identity.kind = LevelKind::kDaily; }), "it is damaged"},
      {"a hand-made level with a deal stream", with([](SavedLevel& s) { s.hasDealStream = true; }),
       "it is damaged"},
      {"a tally of negative moves", with([](SavedLevel& s) { s.tally.moves = -1; }),
       "it is damaged"},
      {"a tally started on no date", with([](SavedLevel& s) { s.tally.startedOn = 20261232; }),
       "it is damaged"},
  };

  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
  s.Click(512, 1 * 13 + 6).UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Check([&](const GameState& g) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      fs::remove(save + ".bad");
      WriteFileBytes(save, c.bytes);
      std::string why = "?";
      const std::optional<ContinuableSave> saved = ContinuableLevel(g, {}, &why);
      EXPECT_EQ(why, c.why);
      EXPECT_EQ(saved ? saved->identity.number : 0, c.why.empty() ? 1 : 0);
      EXPECT_EQ(LevelMenuLine(g.menu, 1, saved),
                c.why.empty() ? "Level 1 : First steps (continue)" : "Level 1 : First steps");
      EXPECT_EQ(fs::exists(save + ".bad"), !c.why.empty()) << "a bad save is set aside";
      EXPECT_EQ(ReadFileBytes(profilePath), profile);
    }
    // No save, and a save that is not a file: nothing to continue, nothing said or set aside.
    fs::remove(save);
    fs::remove(save + ".bad");
    std::string why = "?";
    EXPECT_FALSE(ContinuableLevel(g, {}, &why).has_value());
    EXPECT_EQ(why, "");
    ASSERT_EQ(mkfifo(save.c_str(), 0600), 0);
    EXPECT_FALSE(ContinuableLevel(g, {}, &why).has_value());  // never opened for a blocking read
    EXPECT_EQ(why, "it cannot be read or is too large");
    fs::remove(save + ".bad");
  });
  s.Quit();
  RunResult r = session.Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(ReadFileBytes(profilePath), profile);
}

}  // namespace
}  // namespace qm::e2e
