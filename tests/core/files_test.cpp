// File slots: buffering, sign extension, zero fill, line ends, crash-safe writing, paths.
#include "engine/Files.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TestFiles.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void TearDown() override { CloseFileSlot(-1); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::string Bytes(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  test::TempFolder temp_{"qm-files"};
  std::string dir_ = temp_.path();
};

TEST_F(FilesTest, ReadsLittleEndianWithSignExtension) {
  ASSERT_NE(
      OpenFileForReading(0, Write("v", std::string("\xFF\x34\x12\xFE\xFF", 5) +
                                           std::string("\x01\x02\x03\x04\x05\x06\x07\x88", 8))),
      0);
  EXPECT_EQ(ReadInt8(0), -1);
  EXPECT_EQ(ReadInt16(0), 4660);
  EXPECT_EQ(ReadInt16(0), -2);
  EXPECT_EQ(ReadInt64(0), static_cast<int64_t>(0x8807060504030201ULL));
  EXPECT_NE(FileAtEnd(0), 0);
}

TEST_F(FilesTest, ReadsPastTheEndGiveZeros) {
  ASSERT_NE(OpenFileForReading(0, Write("short", "\x01\x02\x03")), 0);
  EXPECT_EQ(ReadInt64(0), 197121);
  EXPECT_NE(FileAtEnd(0), 0);
  EXPECT_EQ(ReadInt16(0), 0);
  EXPECT_EQ(ReadInt8(0), 0);
  // A value split across the end: the missing high byte stays zero, so no sign.
  ASSERT_NE(OpenFileForReading(0, Write("odd", "\x01\x02\xFF")), 0);
  EXPECT_EQ(ReadInt16(0), 0x0201);
  EXPECT_EQ(ReadInt16(0), 0xFF);
}

TEST_F(FilesTest, ValuesStraddlingTheBufferEdgeReadWhole) {
  std::string bytes(4095, 'a');
  bytes += "\x34\x12";
  bytes += std::string(4096 * 2, 'b');
  bytes += "\x22\x11";
  ASSERT_NE(OpenFileForReading(1, Write("big", bytes)), 0);
  for (int k = 0; k < 4095; ++k) ASSERT_EQ(ReadInt8(1), 'a');
  EXPECT_EQ(ReadInt16(1), 0x1234);
  for (int k = 0; k < 4096 * 2; ++k) ASSERT_EQ(ReadInt8(1), 'b');
  EXPECT_EQ(FileAtEnd(1), 0);
  EXPECT_EQ(ReadInt16(1), 0x1122);
  EXPECT_NE(FileAtEnd(1), 0);
}

TEST_F(FilesTest, ReadTextLineEndsAtCrLfCrLfAndNul) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"ab\r\ncd\ref\n\ng", {"ab", "cd", "ef", "", "g"}},
      {std::string("x\0y\r", 4), {"x", "y"}},
      {"\r\r\n", {"", ""}},
      {"one", {"one"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    ASSERT_NE(OpenFileForReading(0, Write("lines", c.bytes)), 0);
    std::vector<std::string> got;
    while (!FileAtEnd(0)) got.push_back(ReadTextLine(0));
    EXPECT_EQ(got, c.lines) << c.bytes;
    EXPECT_EQ(ReadTextLine(0), "");
  }
}

TEST_F(FilesTest, LongLinesAndLineEndsAcrossTheBufferEdge) {
  std::string first(4095, 'x');
  std::string second(9000, 'y');
  ASSERT_NE(OpenFileForReading(0, Write("long", first + "\r\n" + second + "\rz")), 0);
  EXPECT_EQ(ReadTextLine(0), first);  // CR is the last buffered byte, LF comes with the refill
  EXPECT_EQ(ReadTextLine(0), second);
  EXPECT_EQ(ReadTextLine(0), "z");
  EXPECT_NE(FileAtEnd(0), 0);
}

TEST_F(FilesTest, FileAtEndDoesNotMoveThePosition) {
  ASSERT_NE(OpenFileForReading(0, Write("ab", "\x05\x06")), 0);
  EXPECT_EQ(FileAtEnd(0), 0);
  EXPECT_EQ(FileAtEnd(0), 0);
  EXPECT_EQ(ReadInt8(0), 5);
  EXPECT_EQ(FileAtEnd(0), 0);
  EXPECT_EQ(ReadInt8(0), 6);
  EXPECT_NE(FileAtEnd(0), 0);
}

TEST_F(FilesTest, WritesLowBytesLittleEndian) {
  ASSERT_NE(CreateFileForWriting(0, Path("w")), 0);
  WriteInt8(0, 300);
  WriteInt64(0, -2);
  WriteInt16(0, 0x12345);
  CloseFileSlot(0);
  EXPECT_EQ(Bytes("w"), std::string("\x2C\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x45\x23", 11));
}

TEST_F(FilesTest, ManySmallWritesAllReachTheFile) {
  ASSERT_NE(CreateFileForWriting(0, Path("many")), 0);
  for (int k = 0; k < 5000; ++k) WriteInt8(0, k);
  CloseFileSlot(0);
  std::string bytes = Bytes("many");
  ASSERT_EQ(bytes.size(), 5000u);
  for (int k = 0; k < 5000; ++k) ASSERT_EQ(static_cast<uint8_t>(bytes[k]), k & 0xFF);
  ASSERT_NE(CreateFileForWriting(0, Path("many8")), 0);
  for (int k = 0; k < 1000; ++k) WriteInt64(0, k);
  CloseFileSlot(0);
  EXPECT_EQ(Bytes("many8").size(), 8000u);
}

TEST_F(FilesTest, ReadingAndWritingInterleaveInOneSlot) {
  ASSERT_NE(CreateFileForWriting(0, Path("rw")), 0);
  WriteInt8(0, 1);
  WriteInt8(0, 2);
  WriteInt8(0, 3);
  // The read after writes lands at the end of the written bytes: nothing is left.
  EXPECT_NE(FileAtEnd(0), 0);
  WriteInt8(0, 4);
  CloseFileSlot(0);
  EXPECT_EQ(Bytes("rw"), std::string("\x01\x02\x03\x04", 4));
}

TEST_F(FilesTest, CreatingReplacesTheTargetOnlyOnClose) {
  Write("profile", "old!");
  ASSERT_NE(CreateFileForWriting(0, Path("profile")), 0);
  WriteInt8(0, 'n');
  EXPECT_EQ(Bytes("profile"), "old!");  // a crash now would keep the old profile whole
  CloseFileSlot(0);
  EXPECT_EQ(Bytes("profile"), "n");
  int entries = 0;
  for (auto it = fs::directory_iterator(dir_); it != fs::directory_iterator(); ++it) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST_F(FilesTest, ASaveSweepsTheLeftoversOfAKilledSave) {
  Write("7", "old");
  Write(".7.tmp-AbC123", "half a save");  // what a save killed mid-write leaves
  Write(".17.tmp-XyZ987", "another file's leftover");
  ASSERT_NE(CreateFileForWriting(0, Path("7")), 0);
  WriteInt8(0, 'n');
  CloseFileSlot(0);
  EXPECT_EQ(Bytes("7"), "n");
  EXPECT_FALSE(fs::exists(Path(".7.tmp-AbC123")));
  EXPECT_TRUE(fs::exists(Path(".17.tmp-XyZ987")));  // only the same file's leftovers go
}

TEST_F(FilesTest, FailuresLeaveTheSlotEmpty) {
  ASSERT_NE(OpenFileForReading(0, Write("a", "\x07")), 0);
  EXPECT_EQ(OpenFileForReading(0, Path("missing")), 0);
  EXPECT_EQ(ReadInt8(0), 0);  // the file held before was closed
  EXPECT_EQ(FileAtEnd(0), 0);
  EXPECT_EQ(ReadTextLine(0), "");
  EXPECT_EQ(OpenFileForReading(0, dir_), 0);  // a folder is not a file
  EXPECT_EQ(CreateFileForWriting(0, Path("no/such/folder/x")), 0);
  WriteInt8(0, 1);
  CloseFileSlot(0);
  for (int slot : {-5, 7, 1 << 30}) {
    EXPECT_EQ(ReadInt64(slot), 0);
    WriteInt64(slot, 1);
    CloseFileSlot(slot);
  }
  EXPECT_EQ(OpenFileForReading(1 << 30, Path("a")), 0);
  EXPECT_EQ(OpenFileForReading(-3, Path("a")), 0);
}

TEST_F(FilesTest, CountsSuccessfulOpens) {
  uint64_t before = FileOpenCount();
  OpenFileForReading(0, Write("c", "x"));
  OpenFileForReading(0, Path("missing"));
  CreateFileForWriting(1, Path("d"));
  CloseFileSlot(-1);
  EXPECT_EQ(FileOpenCount() - before, 2u);
}

TEST_F(FilesTest, HostPathsMapBackslashesAndFolders) {
  EXPECT_EQ(HostPath("gfx\\000\\1.bmp"), "gfx/000/1.bmp");
  EXPECT_EQ(HostPath("maps\\12"), "maps/12");
  MapGameFolder("dico-english", dir_ + "/words/");
  EXPECT_EQ(HostPath("dico-english\\a5"), dir_ + "/words/a5");
  EXPECT_EQ(HostPath("dico-englishx\\a5"), "dico-englishx/a5");
  MapGameFolder("dico-english", "");
  EXPECT_EQ(HostPath("dico-english\\a5"), "dico-english/a5");
}

TEST_F(FilesTest, PlayersLiveInTheUserFolderMadeOnDemand) {
  const char* old = std::getenv("XDG_DATA_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", dir_.c_str(), 1);
  EXPECT_EQ(HostPath("players\\3"), dir_ + "/quillmosaica/players/3");
  ASSERT_NE(CreateFileForWriting(0, "players\\3"), 0);
  WriteInt64(0, 42);
  CloseFileSlot(0);
  ASSERT_NE(OpenFileForReading(0, "players\\3"), 0);
  EXPECT_EQ(ReadInt64(0), 42);
  CloseFileSlot(0);
  MapGameFolder("players", dir_ + "/elsewhere");
  EXPECT_EQ(HostPath("players\\3"), dir_ + "/elsewhere/3");
  MapGameFolder("players", "");
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

// Where the players folder is when nothing maps it: an absolute $XDG_DATA_HOME, else the
// home ($HOME when absolute, else the password database's entry), never the working folder.
TEST_F(FilesTest, ThePlayersFolderFollowsTheXdgRules) {
  const struct passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  const std::string passwdHome = std::string(user->pw_dir) + "/.local/share/quillmosaica/players/3";
  struct Case {
    const char* what;
    const char* xdg;   // nullptr: unset
    const char* home;  // nullptr: unset
    std::string path;
  } cases[] = {
      {"absolute XDG_DATA_HOME", "/data/x", "/home/h", "/data/x/quillmosaica/players/3"},
      {"relative XDG_DATA_HOME is ignored", "data/x", "/home/h",
       "/home/h/.local/share/quillmosaica/players/3"},
      {"empty XDG_DATA_HOME", "", "/home/h", "/home/h/.local/share/quillmosaica/players/3"},
      {"HOME unset", nullptr, nullptr, passwdHome},
      {"HOME relative", nullptr, "somewhere", passwdHome},
      {"both relative", "rel", "", passwdHome},
  };
  auto keep = [](const char* name) {
    const char* value = std::getenv(name);
    return std::pair<bool, std::string>(value != nullptr, value ? value : "");
  };
  auto restore = [](const char* name, const std::pair<bool, std::string>& old) {
    if (old.first)
      setenv(name, old.second.c_str(), 1);
    else
      unsetenv(name);
  };
  const auto oldXdg = keep("XDG_DATA_HOME");
  const auto oldHome = keep("HOME");
  for (const Case& c : cases) {
    if (c.xdg)
      setenv("XDG_DATA_HOME", c.xdg, 1);
    else
      unsetenv("XDG_DATA_HOME");
    if (c.home)
      setenv("HOME", c.home, 1);
    else
      unsetenv("HOME");
    EXPECT_EQ(HostPath("players\\3"), c.path) << c.what;
  }
  restore("XDG_DATA_HOME", oldXdg);
  restore("HOME", oldHome);
}

}  // namespace
}  // namespace qm
