// Hostile records files: whatever lies at records/N, choosing the player never crashes,
// keeps the profile as it was, sets the bad file aside and starts fresh records.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "engine/Files.hpp"
#include "game/rules/Records.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"

namespace qm::hard {
namespace {

namespace fs = std::filesystem;

std::string GoodRecords(const std::string& name) {
  PlayerRecords r;
  r.playerName = name;
  r.bestWord = "ZEST";
  r.bestPoints = 90;
  r.levelsWon = 3;
  r.dailies = {{20261210, true, 120, 5, 1}};
  return EncodeRecords(r);
}

TEST(HostileRecords, EachIsSetAsideAndReplaced) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> make;
  };
  const std::string good = GoodRecords("Ana");
  auto bytes = [](std::string b) {
    return [b](const std::string& path) { e2e::WriteFileBytes(path, b); };
  };
  auto patched = [&good](size_t at, char value) {
    std::string b = good;
    b[at] = value;
    return b;
  };
  const Case cases[] = {
      {"empty", bytes("")},
      {"cut in the header", bytes(good.substr(0, 7))},
      {"cut before the checksum", bytes(good.substr(0, good.size() - 4))},
      {"a byte flipped",
       bytes(patched(good.size() / 2, static_cast<char>(good[good.size() / 2] ^ 1)))},
      {"another format", bytes("QMSAVE\x01\x00" + good.substr(8))},
      {"a later version", bytes(patched(8, 2))},
      {"a profile's bytes", bytes(test::ProfileBytes("Ana", 3, 1, 8, 100))},
      {"another player's", bytes(GoodRecords("Bob"))},
      {"huge", bytes(std::string(kMaxRecordsBytes + 1, 'Q'))},
      {"a folder", [](const std::string& path) { fs::create_directories(path + "/inside"); }},
      {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
      {"unreadable",
       [&good](const std::string& path) {
         e2e::WriteFileBytes(path, good);
         fs::permissions(path, fs::perms::none);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    MapGameFolder("players", temp.Path("players"));
    fs::create_directories(temp.Path("players"));
    fs::create_directories(temp.Path("records"));
    const std::string profile = test::ProfileBytes("Ana", 3, 1, 8, 100);
    e2e::WriteFileBytes(temp.Path("players/2"), profile);
    const std::string path = temp.Path("records/2");
    c.make(path);
    // Root reads a file whatever its permissions: then it is not a bad file at all.
    const bool readable = std::string(c.name) == "unreadable" && ::access(path.c_str(), R_OK) == 0;

    PlayerRecords records;
    const RecordsLoad load = LoadRecords(2, "Ana", records);
    if (readable) {
      EXPECT_EQ(load, RecordsLoad::kRead);
      continue;
    }
    EXPECT_EQ(load, RecordsLoad::kSetAside);
    EXPECT_EQ(records.playerName, "Ana");
    EXPECT_EQ(records.levelsWon, 0);
    EXPECT_TRUE(fs::exists(fs::symlink_status(path + ".bad")));
    // The fresh records can be written where the bad file was.
    records.levelsWon = 1;
    std::string error;
    EXPECT_TRUE(SaveRecords(2, records, &error)) << error;
    PlayerRecords again;
    EXPECT_EQ(LoadRecords(2, "Ana", again), RecordsLoad::kRead);
    EXPECT_EQ(again.levelsWon, 1);
    EXPECT_EQ(e2e::ReadFileBytes(temp.Path("players/2")), profile);
    MapGameFolder("players", "");
  }
}

TEST(HostileRecords, AMissingFileIsFreshRecordsAndNothingIsWritten) {
  TempFolder temp;
  MapGameFolder("players", temp.Path("players"));
  PlayerRecords records;
  EXPECT_EQ(LoadRecords(5, "Cy", records), RecordsLoad::kNew);
  EXPECT_EQ(records.playerName, "Cy");
  EXPECT_FALSE(fs::exists(temp.Path("records/5")));
  MapGameFolder("players", "");
}

}  // namespace
}  // namespace qm::hard
