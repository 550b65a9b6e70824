// A FIFO where the game expects a level, a profile or a dictionary file: opening it must not
// wait for a writer that never comes, and it reads as a missing file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/Files.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Dictionary.hpp"
#include "tests/hardening/HardeningSupport.hpp"

namespace qm::hard {
namespace {

// Runs call; false when it was still waiting on the FIFO after a few seconds (a watchdog then
// opens the FIFO's other end, so that a blocked open returns and the test can go on).
bool ReturnsWithoutWaiting(const std::string& fifo, const std::function<void()>& call) {
  std::mutex m;
  std::condition_variable cv;
  bool done = false, blocked = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(m);
    if (cv.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
    blocked = true;
    lock.unlock();
    for (int tries = 0; tries < 100; ++tries) {
      int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        ::close(fd);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  call();
  {
    std::lock_guard<std::mutex> lock(m);
    done = true;
  }
  cv.notify_all();
  watchdog.join();
  return !blocked;
}

TEST(FifoFiles, AFifoIsReadAsAMissingFileWithoutWaiting) {
  TempFolder folder;
  for (const char* name : {"level", "1", "dico-c3"})
    ASSERT_EQ(::mkfifo(folder.Path(name).c_str(), 0644), 0) << name;

  // A level: the one-Cell Board of a missing level file.
  auto board = std::make_unique<BoardState>();
  LevelRead read = LevelRead::kRead;
  EXPECT_TRUE(ReturnsWithoutWaiting(folder.Path("level"), [&] {
    read = ReadLevelFile(*board, folder.Path("level"), 1, 1024, 768);
  }));
  EXPECT_EQ(read, LevelRead::kMissing);
  EXPECT_EQ(board->w, 0);
  EXPECT_EQ(board->h, 0);

  // A profile: not read, the profile left as it was.
  MapGameFolder("players", folder.path());
  PlayerProfile profile;
  profile.name = "kept";
  bool opened = true;
  EXPECT_TRUE(
      ReturnsWithoutWaiting(folder.Path("1"), [&] { opened = ReadPlayerProfile(1, profile); }));
  EXPECT_FALSE(opened);
  EXPECT_EQ(profile.name, "kept");
  MapGameFolder("players", "");

  // A dictionary file: no word of its letter and length is known.
  MapGameFolder("dico-english", folder.path());
  std::string word = "cat";
  LookUp found = LookUp::kFound;
  EXPECT_TRUE(ReturnsWithoutWaiting(folder.Path("dico-c3"), [&] { found = LookUpWord(word); }));
  EXPECT_EQ(found, LookUp::kNotFound);
  MapGameFolder("dico-english", "");
}

}  // namespace
}  // namespace qm::hard
