// A disk that fills or fails, a folder that cannot be written and a desktop that is not there:
// a profile is written whole or not at all, the player is told why, and the game never runs
// where nobody can see it.
#include <gtest/gtest.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "engine/TestHooks.hpp"
#include "engine/UserFiles.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"

extern char** environ;

namespace qm::hard {
namespace {

namespace fs = std::filesystem;
using e2e::ReadFileBytes;
using e2e::WriteFileBytes;

const std::string kOld = ProfileBytes("Keeper", 12, 3, 11, 123456789);

// Every name in a folder, temporary files included.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A player whose save would change every field of kOld.
std::unique_ptr<GameState> ChangedKeeper() {
  auto game = std::make_unique<GameState>();
  game->menu.selectedProfile = 5;
  game->players.speakerNames[0] = std::string(100, 'K');
  game->players.levelsReached[0] = 30;
  game->easel.slots[0] = 16;
  game->players.scores[0] = 1;
  return game;
}

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(players_);
    WriteFileBytes(players_ + "/5", kOld);
    MapGameFolder("players", players_);
  }
  void TearDown() override {
    SetUserFileFault(UserFileFault::kNone);
    MapGameFolder("players", "");
  }
  TempFolder temp_;
  std::string players_ = temp_.path() + "/players";
};

// Each way a disk fails keeps the old profile byte for byte, leaves no temporary file, and
// says why and where: to the caller, then through SavePlayerProfile to stderr, the ChatLog
// and the player list. The next save that works clears the message.
TEST_F(FullDiskTest, EveryFailureKeepsTheOldProfileAndSaysWhy) {
  struct Case {
    const char* what;
    UserFileFault fault;
    const char* reason;  // strerror text the message carries
    bool folderNamed;    // the message names the folder (no temporary file), else the file
  } cases[] = {
      {"disk full", UserFileFault::kDiskFull, "No space left on device", false},
      {"short write", UserFileFault::kShortWrite, "No space left on device", false},
      {"fsync fails", UserFileFault::kSyncFails, "Input/output error", false},
      {"no temporary file", UserFileFault::kNoTemporary, "Permission denied", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUserFileFault(c.fault);
    PlayerProfile p;
    p.name = "Changed";
    std::string error;
    EXPECT_FALSE(WritePlayerProfile(5, p, &error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    const std::string where = c.folderNamed ? players_ : players_ + "/5";
    EXPECT_EQ(error.substr(error.size() - where.size()), where) << error;

    auto game = ChangedKeeper();
    ::testing::internal::CaptureStderr();
    SavePlayerProfile(*game);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(game->menu.saveProblem, error);
    EXPECT_EQ(said, "quillmosaica: " + error + "\n");
    EXPECT_EQ(game->chat.chatLog[0].text, error);
    EXPECT_EQ(ReadFileBytes(players_ + "/5"), kOld);
    EXPECT_EQ(FolderNames(players_), std::vector<std::string>{"5"});

    SetUserFileFault(UserFileFault::kNone);
    SavePlayerProfile(*game);
    EXPECT_EQ(game->menu.saveProblem, "");
    PlayerProfile back;
    ASSERT_TRUE(ReadPlayerProfile(5, back));
    EXPECT_EQ(back.levelReached, 30);
    WriteFileBytes(players_ + "/5", kOld);
  }
}

// The writer gives the bytes the profile layout has always had, whatever the field values.
TEST_F(FullDiskTest, TheProfileBytesAreTheLayoutOfOld) {
  PlayerProfile p;
  p.name = "Keeper";
  p.levelReached = 12;
  p.avatar = 3;
  p.easelSize = 11;
  p.score = 123456789;
  EXPECT_EQ(EncodePlayerProfile(p), kOld);
  p.name = std::string(127, 'n');
  p.levelReached = -128;
  p.avatar = 255;
  p.easelSize = 300;  // low byte only, as the file slots wrote it
  p.reserved1 = 1, p.effectBonus = -1, p.reserved2 = 2, p.reserved3 = -2;
  p.score = INT64_MIN + 5;
  std::string bytes = EncodePlayerProfile(p);
  ASSERT_EQ(bytes.size(), 127u + 16);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 127);
  EXPECT_EQ(std::string(bytes.substr(128, 7)), std::string("\x80\xff\x2c\x01\xff\x02\xfe", 7));
  EXPECT_EQ(std::string(bytes.substr(135)), std::string("\x05\0\0\0\0\0\0\x80", 8));
  ASSERT_TRUE(WritePlayerProfile(7, p));
  EXPECT_EQ(ReadFileBytes(players_ + "/7"), bytes);
}

// Writing through the file slots into the players folder never falls back to rewriting the
// file in place: with no temporary file possible, nothing is written.
TEST_F(FullDiskTest, FileSlotsNeverRewriteAPlayersFileInPlace) {
  // The file itself may be written by anyone: only the folder refuses a temporary file.
  ::chmod(temp_.path().c_str(), 0755);
  ::chmod((players_ + "/5").c_str(), 0666);
  ::chmod(players_.c_str(), 0555);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    if (CreateFileForWriting(0, "players\\5") != 0) _exit(4);
    WriteInt8(0, 1);
    CloseFileSlot(0);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ::chmod(players_.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: cannot drop root, 4: the file was opened in place";
  EXPECT_EQ(ReadFileBytes(players_ + "/5"), kOld);
}

// A real full file system: a 64 KiB tmpfs filled with a file. Needs root and a mount
// namespace of the test's own.
TEST_F(FullDiskTest, ARealFullTmpfsKeepsTheOldProfile) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  TempFolder mountPoint;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // 10: no mount namespace (a container without CAP_SYS_ADMIN), 11: no tmpfs.
    if (unshare(CLONE_NEWNS) != 0) _exit(10);
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(10);
    if (mount("tmpfs", mountPoint.path().c_str(), "tmpfs", 0, "size=64k") != 0) _exit(11);
    const std::string players = mountPoint.path() + "/players";
    fs::create_directories(players);
    WriteFileBytes(players + "/5", kOld);
    {
      std::ofstream fill(mountPoint.path() + "/fill", std::ios::binary);
      std::string block(4096, 'f');
      for (int k = 0; k < 64 && fill; ++k) fill.write(block.data(), block.size());
    }
    MapGameFolder("players", players);
    auto game = ChangedKeeper();
    SavePlayerProfile(*game);
    if (game->menu.saveProblem.find("No space left on device") == std::string::npos) _exit(5);
    if (ReadFileBytes(players + "/5") != kOld) _exit(6);
    if (FolderNames(players) != std::vector<std::string>{"5"}) _exit(7);
    // Room again: the save goes through.
    fs::remove(mountPoint.path() + "/fill");
    SavePlayerProfile(*game);
    if (!game->menu.saveProblem.empty() || ReadFileBytes(players + "/5") == kOld) _exit(8);
    // Full again: the file slots' writes fall short, and the file they replace stays whole.
    WriteFileBytes(players + "/5", kOld);
    {
      std::ofstream fill(mountPoint.path() + "/fill", std::ios::binary);
      std::string block(4096, 'f');
      for (int k = 0; k < 64 && fill; ++k) fill.write(block.data(), block.size());
    }
    if (CreateFileForWriting(0, "players\\5") == 0) _exit(9);
    for (int k = 0; k < 20000; ++k) WriteInt8(0, k);
    CloseFileSlot(0);
    if (ReadFileBytes(players + "/5") != kOld) _exit(9);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 10) GTEST_SKIP() << "no mount namespace can be made here";
  if (WEXITSTATUS(status) == 11) GTEST_SKIP() << "a tmpfs cannot be mounted here";
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "5: no message, 6: the old profile changed, 7: a stray file, 8: no save after room, "
         "9: a file slot replaced the file with a short one";
}

// The folder cannot be written (read-only, or XDG_DATA_HOME a regular file): the message
// names the folder and the cause, and nothing is left behind.
TEST_F(FullDiskTest, AFolderThatCannotBeWrittenIsNamed) {
  // XDG_DATA_HOME names a regular file: no folder can be made below it.
  const std::string file = temp_.Path("plain-file");
  WriteFileBytes(file, "x");
  PlayerProfile p;
  p.name = "New";
  std::string error;
  EXPECT_FALSE(WriteUserFile(file + "/quillmosaica/players/1", EncodePlayerProfile(p), &error));
  EXPECT_EQ(error,
            "Cannot write in the folder (Not a directory): " + file + "/quillmosaica/players");
  EXPECT_EQ(ReadFileBytes(file), "x");

  // A read-only folder, seen by a user who is not root (root may write anywhere).
  ::chmod(temp_.path().c_str(), 0755);
  ::chmod(players_.c_str(), 0555);
  int pipes[2];
  ASSERT_EQ(pipe(pipes), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipes[0]);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    std::string said;
    if (WritePlayerProfile(1, p, &said)) _exit(4);
    if (write(pipes[1], said.data(), said.size()) < 0) _exit(5);
    _exit(0);
  }
  close(pipes[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = read(pipes[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(pipes[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ::chmod(players_.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "3: cannot drop root, 4: written anyway";
  EXPECT_EQ(said, "Cannot write in the folder (Permission denied): " + players_);
  EXPECT_EQ(FolderNames(players_), std::vector<std::string>{"5"});
}

// Red text (the game's warning colour) somewhere in these rows of the back buffer.
bool RowsHaveRed(int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < 1024; ++x) {
      uint32_t p = ReadBackPixel(x, y);
      if ((p >> 16 & 0xFF) > 120 && (p >> 8 & 0xFF) < 40 && (p & 0xFF) < 40) return true;
    }
  }
  return false;
}

// "New player" + Return where the players folder cannot be written: the screen says so with
// the folder's path and stays; after Escape no player is listed, and no file was made.
TEST(NewPlayerUnwritable, TheScreenSaysSoAndThePlayerIsNotListed) {
  struct Case {
    const char* what;
    bool xdgIsAFile;  // else: the temporary file is refused (EACCES), through the test hook
    const char* reason;
  } cases[] = {
      {"XDG_DATA_HOME is a regular file", true, "Not a directory"},
      {"the folder refuses a temporary file", false, "Permission denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder game;
    e2e::MakeMenuFolder(game.path(), {"First"});
    e2e::Session session(game.path());
    std::string folder = session.playersFolder();
    if (c.xdgIsAFile) {
      const std::string file = session.tempFolder() + "/xdg-file";
      WriteFileBytes(file, "not a folder");
      setenv("XDG_DATA_HOME", file.c_str(), 1);
      MapGameFolder("players", "");
      folder = file + "/quillmosaica/players";
    } else {
      SetUserFileFault(UserFileFault::kNoTemporary);
    }
    e2e::Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200).Click(512, 24 * 13 + 6).Wait(100);
    s.Check([](const GameState&) { EXPECT_FALSE(RowsHaveRed(325, 345)); }, "no warning yet");
    s.Type("Ann").Tap(kKeyReturn).Wait(200);
    s.Check(
        [&](const GameState& g) {
          EXPECT_EQ(g.menu.name[1], "");
          EXPECT_TRUE(RowsHaveRed(325, 345)) << "the new-player screen shows the reason";
        },
        "after Return");
    s.Tap(kKeyEscape).Wait(300);
    s.Check(
        [&](const GameState& g) {
          EXPECT_EQ(g.menu.name[1], "");
          EXPECT_EQ(g.menu.levelReached[1], 0);
          EXPECT_EQ(g.menu.firstFreeProfile, 1);
        },
        "back on the player list");
    s.Quit();
    ::testing::internal::CaptureStderr();
    e2e::RunResult r = session.Run(s);
    const std::string said = ::testing::internal::GetCapturedStderr();
    SetUserFileFault(UserFileFault::kNone);
    EXPECT_EQ(r.failure, "");
    EXPECT_NE(said.find("quillmosaica: Cannot write in the folder (" + std::string(c.reason) +
                        "): " + folder + "\n"),
              std::string::npos)
        << said;
    EXPECT_FALSE(fs::exists(folder + "/1"));
    MapGameFolder("players", "");
  }
}

// The EXIT control's save (left + right click) fails on a full disk: the player comes back to the
// player list, which shows why in red; the profile keeps its old state.
TEST(SaveProblemShown, TheFullDiskIsToldOnThePlayerList) {
  const std::string gameFolder = e2e::FullGameFolder();
  if (gameFolder.empty()) GTEST_SKIP() << "the game folder has not been made";
  e2e::Session session(gameFolder);
  const std::string profile = session.playersFolder() + "/1";
  const std::string old = ProfileBytes("Ann", 3, 2, 10, 777);
  WriteFileBytes(profile, old);
  e2e::Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200).Click(512, 13 + 6).Wait(200);
  s.UntilScreen(Screen::kLevelMenu).Wait(200).Click(512, 13 + 6);
  s.UntilScreen(Screen::kRunLevel).Wait(1000);
  s.Check([](const GameState&) { SetUserFileFault(UserFileFault::kDiskFull); }, "the disk fills");
  s.Move(1024 - 7, 7).Wait(100).Button('L', true).Button('R', true).Wait(100);
  s.UntilScreen(Screen::kPlayerMenuEntry).Button('L', false).Button('R', false).Wait(300);
  s.Move(-1, -1).Wait(100);
  s.Check([&](const GameState& g) {
    EXPECT_NE(g.menu.saveProblem.find("No space left on device"), std::string::npos);
    EXPECT_NE(g.menu.saveProblem.find(profile), std::string::npos) << g.menu.saveProblem;
    EXPECT_TRUE(RowsHaveRed(351, 364)) << "the reason under New player";
    EXPECT_EQ(g.menu.name[1], "Ann");  // the old profile, read back
    EXPECT_EQ(g.menu.score[1], 777);
  });
  s.Quit();
  ::testing::internal::CaptureStderr();
  e2e::RunResult r = session.Run(s);
  ::testing::internal::GetCapturedStderr();
  SetUserFileFault(UserFileFault::kNone);
  EXPECT_EQ(r.failure, "");
  EXPECT_EQ(ReadFileBytes(profile), old);
}

// Runs the game with exactly this environment; its exit status and what it wrote to stderr.
int RunGame(std::vector<std::string> env, std::string& said) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string program = QM_GAME;
  char* argv[] = {program.data(), nullptr};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (failed != 0) {
    close(out[0]);
    return -1;
  }
  said.clear();
  char buffer[512];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(out[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// No desktop to show the game on: one line on stderr and exit status 1, before any window
// or game folder is looked for. SDL would otherwise fall back to a window in memory.
TEST(NoDisplay, TheGameRefusesToStartWithoutADesktop) {
  TempFolder home;
  struct Case {
    const char* what;
    std::vector<std::string> display;
    const char* says;
  } cases[] = {
      {"no DISPLAY",
       {},
       "quillmosaica: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is "
       "set)\n"},
      {"no DISPLAY outside a desktop session (no XDG_RUNTIME_DIR either)",
       {"-XDG_RUNTIME_DIR"},
       "quillmosaica: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is "
       "set)\n"},
      {"DISPLAY names no server",
       {"DISPLAY=:97"},
       "quillmosaica: no display to show the game on (DISPLAY=:97 cannot be opened"},
      // SDL tried Wayland after the closed X display, whose library complained on a line of
      // its own.
      {"DISPLAY names no server, and no XDG_RUNTIME_DIR",
       {"DISPLAY=:97", "-XDG_RUNTIME_DIR"},
       "quillmosaica: no display to show the game on (DISPLAY=:97 cannot be opened"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> env = {"HOME=" + home.path(), "XDG_RUNTIME_DIR=" + home.path(),
                                    "SDL_AUDIODRIVER=dummy", "PATH=/usr/bin:/bin",
                                    // The sanitizer build's leak report would be more lines.
                                    "ASAN_OPTIONS=detect_leaks=0"};
    for (const std::string& d : c.display) {
      if (d[0] == '-') {  // a variable the case leaves unset
        env.erase(std::remove_if(
                      env.begin(), env.end(),
                      [&d](const std::string& e) { return e.rfind(d.substr(1) + "=", 0) == 0; }),
                  env.end());
      } else {
        env.push_back(d);
      }
    }
    std::string said;
    EXPECT_EQ(RunGame(env, said), 1) << said;
    EXPECT_EQ(said.rfind(c.says, 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
}

}  // namespace
}  // namespace qm::hard
