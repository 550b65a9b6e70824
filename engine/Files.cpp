#include "engine/Files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace qm {
namespace {

constexpr size_t kBufferSize = 4096;
constexpr int kSlotStep = 16;
// Far more slots than the game uses; a wild slot number must not allocate a huge table.
constexpr int kMaxSlots = 1 << 16;

struct OpenFile {
  int fd = -1;
  std::array<uint8_t, kBufferSize> buffer{};
  bool writing = false;
  size_t readPos = 0, readEnd = 0;  // reading: unread bytes are buffer[readPos, readEnd)
  size_t pending = 0;               // writing: bytes not yet written
  bool drained = false;             // reading: the file gave no more bytes; reads past the
                                    // end cost no system call (a cut level file reads millions)
  std::string tempPath;             // crash-safe write: renamed over targetPath on close
  bool writeFailed = false;         // a write fell short: the temporary file is not renamed
  std::string targetPath;
};

// Each thread has slots of its own, so a worker (a level being generated and proven) reads
// its dictionary files without touching the slots of the frame loop. Files still open when
// the thread (or the program) ends are closed like CloseFileSlot, so pending bytes land.
struct SlotTable {
  std::vector<std::unique_ptr<OpenFile>> slots;
  ~SlotTable() { CloseFileSlot(-1); }
};
SlotTable& Slots() {
  thread_local SlotTable table;
  return table;
}

// Shared by every thread. Made once and never destroyed, so a thread still closing its files
// as the program ends finds it.
struct FolderState {
  std::map<std::string, std::string> folderMap;  // game folder -> host folder
  std::string gameFolder;                        // host base of unmapped paths; empty = cwd
  std::atomic<uint64_t> openCount{0};
};

FolderState& State() {
  static auto* state = new FolderState();
  return *state;
}

OpenFile* SlotFile(int slot) {
  const SlotTable& table = Slots();
  if (slot < 0 || static_cast<size_t>(slot) >= table.slots.size()) return nullptr;
  return table.slots[slot].get();
}

bool MakeSlotRoom(int slot) {
  if (slot < 0 || slot >= kMaxSlots) return false;
  SlotTable& table = Slots();
  if (static_cast<size_t>(slot) >= table.slots.size())
    table.slots.resize((slot / kSlotStep + 1) * kSlotStep);
  return true;
}

// False when the file took fewer bytes (a full disk, an I/O error).
bool WriteAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    ssize_t done = ::write(fd, data, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

size_t ReadAll(int fd, uint8_t* data, size_t n) {
  size_t got = 0;
  while (got < n) {
    ssize_t done = ::read(fd, data + got, n - got);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) break;
    got += static_cast<size_t>(done);
  }
  return got;
}

void FlushPending(OpenFile& f) {
  if (f.writing && f.pending > 0 && !WriteAll(f.fd, f.buffer.data(), f.pending))
    f.writeFailed = true;
  f.pending = 0;
}

void SwitchToReading(OpenFile& f) {
  if (!f.writing) return;
  FlushPending(f);
  f.writing = false;
  f.readPos = f.readEnd = 0;
}

void SwitchToWriting(OpenFile& f) {
  if (f.writing) return;
  // The write lands right after the last value read, not after the read-ahead.
  off_t unread = static_cast<off_t>(f.readEnd - f.readPos);
  if (unread > 0) ::lseek(f.fd, -unread, SEEK_CUR);
  f.readPos = f.readEnd = 0;
  f.writing = true;
  f.pending = 0;
  f.drained = false;  // a write may lengthen the file
}

// Takes up to n bytes from the file through the buffer; returns how many it got.
size_t TakeBytes(OpenFile& f, uint8_t* out, size_t n) {
  SwitchToReading(f);
  size_t got = std::min(n, f.readEnd - f.readPos);
  std::memcpy(out, f.buffer.data() + f.readPos, got);
  f.readPos += got;
  if (got == n) return got;
  size_t missing = n - got;
  if (f.drained) return got;
  if (missing < kBufferSize) {
    f.readEnd = ReadAll(f.fd, f.buffer.data(), kBufferSize);
    f.drained = f.readEnd < kBufferSize;
    size_t more = std::min(missing, f.readEnd);
    std::memcpy(out + got, f.buffer.data(), more);
    f.readPos = more;
    return got + more;
  }
  f.readPos = f.readEnd = 0;
  size_t direct = ReadAll(f.fd, out + got, missing);
  f.drained = direct < missing;
  return got + direct;
}

// Puts back the byte just taken (it is always still in the buffer).
void PutBackByte(OpenFile& f) {
  if (!f.writing && f.readPos > 0) --f.readPos;
}

int64_t ReadValue(int slot, size_t n) {
  OpenFile* f = SlotFile(slot);
  if (!f) return 0;
  uint8_t bytes[8] = {};
  TakeBytes(*f, bytes, n);
  uint64_t value = 0;
  for (size_t k = 0; k < n; ++k) value |= static_cast<uint64_t>(bytes[k]) << (8 * k);
  // Sign extension from n bytes.
  if (n < 8 && (value >> (8 * n - 1)) & 1) value |= ~uint64_t{0} << (8 * n);
  return static_cast<int64_t>(value);
}

void WriteValue(int slot, int64_t value, size_t n) {
  OpenFile* f = SlotFile(slot);
  if (!f) return;
  SwitchToWriting(*f);
  if (kBufferSize - f->pending <= n) FlushPending(*f);
  uint64_t bits = static_cast<uint64_t>(value);
  for (size_t k = 0; k < n; ++k) f->buffer[f->pending++] = static_cast<uint8_t>(bits >> (8 * k));
}

std::string NormalFolder(const std::string& folder) {
  std::string s = folder;
  for (char& c : s)
    if (c == '\\') c = '/';
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool SameFolderName(const std::string& a, const std::string& b, size_t n) {
  for (size_t k = 0; k < n; ++k) {
    char x = a[k], y = b[k];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The user's home: $HOME when it is an absolute path, else the password database's entry,
// so that profiles never land below whatever folder the game was started from.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && found->pw_dir[0] == '/')
    return found->pw_dir;
  return "";
}

std::string DefaultPlayersFolder() {
  // A relative $XDG_DATA_HOME is not to be used: the default below the home stands then.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/quillmosaica/players";
  std::string home = HomeFolder();
  // No home at all: a folder that cannot be made, so nothing is saved below the working folder.
  if (home.empty()) return "/dev/null/quillmosaica/players";
  return home + "/.local/share/quillmosaica/players";
}

// The mapped folder that holds a (slash-form) game path; empty game folder when none.
bool FindMapping(const std::string& path, std::string& gameFolder, std::string& hostFolder) {
  std::map<std::string, std::string> maps = State().folderMap;
  if (!maps.count("players")) maps["players"] = DefaultPlayersFolder();
  size_t best = 0;
  for (const auto& [game, host] : maps) {
    if (game.size() <= best || path.size() < game.size()) continue;
    if (!SameFolderName(path, game, game.size())) continue;
    if (path.size() != game.size() && path[game.size()] != '/') continue;
    best = game.size();
    gameFolder = game;
    hostFolder = host;
  }
  return best > 0;
}

void MakeFolders(const std::string& folder) {
  for (size_t k = 1; k <= folder.size(); ++k) {
    if (k == folder.size() || folder[k] == '/') ::mkdir(folder.substr(0, k).c_str(), 0755);
  }
}

std::string ParentFolder(const std::string& path) {
  size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void InstallFile(int slot, int fd, std::string temp, std::string target) {
  auto f = std::make_unique<OpenFile>();
  f->fd = fd;
  f->tempPath = std::move(temp);
  f->targetPath = std::move(target);
  Slots().slots[slot] = std::move(f);
  ++State().openCount;
}

}  // namespace

std::string HostPath(const std::string& gamePath) {
  std::string path = NormalFolder(gamePath);
  if (!gamePath.empty() && (gamePath.back() == '/' || gamePath.back() == '\\')) path += '/';
  std::string game, host;
  if (!path.empty() && path[0] != '/' && FindMapping(path, game, host))
    return host + path.substr(game.size());
  const std::string& base = State().gameFolder;
  if (!base.empty() && !path.empty() && path[0] != '/') return base + "/" + path;
  return path;
}

void SetGameFolder(const std::string& hostFolder) {
  State().gameFolder = hostFolder.empty() ? std::string() : NormalFolder(hostFolder);
}

const std::string& GameFolder() {
  return State().gameFolder;
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<size_t>(n) < buffer.size()) return ParentFolder(std::string(buffer.data(), n));
    if (buffer.size() >= (size_t{1} << 20)) return "";
    buffer.resize(buffer.size() * 2);
  }
}

void MapGameFolder(const std::string& gameFolder, const std::string& hostFolder) {
  std::string game = NormalFolder(gameFolder);
  if (game.empty()) return;
  std::map<std::string, std::string>& maps = State().folderMap;
  if (hostFolder.empty())
    maps.erase(game);
  else
    maps[game] = NormalFolder(hostFolder);
}

int OpenFileForReading(int slot, const std::string& path) {
  CloseFileSlot(slot);
  if (!MakeSlotRoom(slot)) return 0;
  std::string host = HostPath(path);
  if (host.empty()) return 0;
  // Non-blocking open so a pipe or device name cannot hang the game; only plain files count.
  int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return 0;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return 0;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  InstallFile(slot, fd, "", "");
  return 1;
}

// A save killed half-way leaves its temporary file behind (the target stays whole);
// the next save of the same file sweeps such leftovers away.
static void RemoveStaleTemporaries(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
      ::unlink((folder + "/" + entry->d_name).c_str());
  }
  ::closedir(dir);
}

int CreateFileForWriting(int slot, const std::string& path) {
  CloseFileSlot(slot);
  if (!MakeSlotRoom(slot)) return 0;
  std::string host = HostPath(path);
  if (host.empty() || host.back() == '/') return 0;
  std::string normal = NormalFolder(path), game, mapped;
  if (!normal.empty() && normal[0] != '/' && FindMapping(normal, game, mapped))
    MakeFolders(ParentFolder(host));  // the players folder is made on demand

  // Write beside the target and rename over it on close, so a crash never leaves half a file.
  std::string folder = ParentFolder(host);
  std::string base = host.substr(host.rfind('/') == std::string::npos ? 0 : host.rfind('/') + 1);
  RemoveStaleTemporaries(folder, "." + base + ".tmp-");
  std::string temp = folder + "/." + base + ".tmp-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd >= 0) {
    ::fchmod(fd, 0644);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    InstallFile(slot, fd, name.data(), host);
    return 1;
  }
  // A player's file is never rewritten in place: a kill or a full disk half-way would cost
  // it. Without a temporary file beside it, it is not written at all.
  if (!game.empty()) return 0;
  fd = ::open(host.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) fd = ::open(host.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return 0;
  }
  InstallFile(slot, fd, "", "");
  return 1;
}

void CloseFileSlot(int slot) {
  if (slot == -1) {
    const SlotTable& table = Slots();
    for (size_t k = 0; k < table.slots.size(); ++k) CloseFileSlot(static_cast<int>(k));
    return;
  }
  OpenFile* f = SlotFile(slot);
  if (!f) return;
  FlushPending(*f);
  if (!f->tempPath.empty()) {
    bool synced = !f->writeFailed && ::fsync(f->fd) == 0;
    if (::close(f->fd) != 0) synced = false;
    if (synced && ::rename(f->tempPath.c_str(), f->targetPath.c_str()) == 0) {
      SyncFolder(ParentFolder(f->targetPath));
    } else {
      ::unlink(f->tempPath.c_str());  // the old file stays whole
    }
  } else {
    ::close(f->fd);
  }
  Slots().slots[slot].reset();
}

int8_t ReadInt8(int slot) {
  return static_cast<int8_t>(ReadValue(slot, 1));
}
int16_t ReadInt16(int slot) {
  return static_cast<int16_t>(ReadValue(slot, 2));
}
int64_t ReadInt64(int slot) {
  return ReadValue(slot, 8);
}
void WriteInt8(int slot, int64_t value) {
  WriteValue(slot, value, 1);
}
void WriteInt16(int slot, int64_t value) {
  WriteValue(slot, value, 2);
}
void WriteInt64(int slot, int64_t value) {
  WriteValue(slot, value, 8);
}

int FileAtEnd(int slot) {
  OpenFile* f = SlotFile(slot);
  if (!f) return 0;
  uint8_t byte = 0;
  if (TakeBytes(*f, &byte, 1) == 0) return 1;
  PutBackByte(*f);
  return 0;
}

std::string ReadTextLine(int slot) {
  std::string line;
  OpenFile* f = SlotFile(slot);
  if (!f) return line;
  uint8_t byte = 0;
  while (TakeBytes(*f, &byte, 1) == 1) {
    if (byte == 10 || byte == 0) break;
    if (byte == 13) {
      if (TakeBytes(*f, &byte, 1) == 1 && byte != 10) PutBackByte(*f);
      break;
    }
    if (line.size() == line.capacity()) line.reserve(line.size() + kBufferSize);
    line.push_back(static_cast<char>(byte));
  }
  return line;
}

uint64_t FileOpenCount() {
  return State().openCount;
}

}  // namespace qm
