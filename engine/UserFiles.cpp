#include "engine/UserFiles.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/Files.hpp"
#include "engine/TestHooks.hpp"

namespace qm {
namespace {

// The fault a test asked for; kNone in the game.
UserFileFault& InjectedFault() {
  static UserFileFault fault = UserFileFault::kNone;
  return fault;
}

std::string Parent(const std::string& path) {
  size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

void MakeFolders(const std::string& folder) {
  for (size_t k = 1; k <= folder.size(); ++k) {
    if (k == folder.size() || folder[k] == '/') ::mkdir(folder.substr(0, k).c_str(), 0755);
  }
}

std::string Failure(const char* what, int code, const std::string& path) {
  return std::string(what) + " (" + std::strerror(code) + "): " + path;
}

// A save killed half-way leaves its temporary file behind (the target stays whole); the
// next save of the same file sweeps such leftovers away.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

int MakeTemporary(std::vector<char>& name) {
  if (InjectedFault() == UserFileFault::kNoTemporary) {
    errno = EACCES;
    return -1;
  }
  return ::mkstemp(name.data());
}

// Writes all of bytes; 0, or why not. A write that takes nothing counts as a full disk.
int WriteWhole(int fd, const std::string& bytes) {
  const UserFileFault fault = InjectedFault();
  const bool faulty = fault == UserFileFault::kDiskFull || fault == UserFileFault::kShortWrite;
  size_t done = 0;
  while (done < bytes.size()) {
    size_t want = bytes.size() - done;
    ssize_t n = 0;
    if (faulty && done >= bytes.size() / 2) {
      // The disk has taken half the bytes and takes no more.
      n = fault == UserFileFault::kDiskFull ? -1 : 0;
      errno = ENOSPC;
    } else {
      if (faulty) want = bytes.size() / 2 - done;
      n = ::write(fd, bytes.data() + done, want);
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<size_t>(n);
  }
  return 0;
}

int SyncWhole(int fd) {
  if (InjectedFault() == UserFileFault::kSyncFails) return EIO;
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

std::string UserFilePath(const std::string& kind, int number) {
  // The players folder may be mapped anywhere (tests do); the others follow it.
  std::string players = Parent(HostPath("players\\1"));
  return Parent(players) + "/" + kind + "/" + std::to_string(number);
}

bool WriteUserFile(const std::string& hostPath, const std::string& bytes, std::string* error) {
  std::string folder = Parent(hostPath);
  MakeFolders(folder);
  std::string base = hostPath.substr(hostPath.rfind('/') + 1);
  if (base.empty()) {
    if (error) *error = Failure("Cannot save", EISDIR, hostPath);
    return false;
  }
  RemoveLeftovers(folder, "." + base + ".tmp-");
  std::string temp = folder + "/." + base + ".tmp-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  // Never in place: without a temporary file beside it, the old file is left as it is.
  int fd = MakeTemporary(name);
  if (fd < 0) {
    if (error) *error = Failure("Cannot write in the folder", errno, folder);
    return false;
  }
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ::fchmod(fd, 0644);
  int code = WriteWhole(fd, bytes);
  if (code == 0) code = SyncWhole(fd);
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(name.data(), hostPath.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(name.data());
    if (error) *error = Failure("Cannot save", code, hostPath);
    return false;
  }
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool ReadUserFile(const std::string& hostPath, std::string& bytes, size_t maxBytes) {
  int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<size_t>(info.st_size) > maxBytes) {
    ::close(fd);
    return false;
  }
  bytes.clear();
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > maxBytes) {
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  return true;
}

void SetUserFileFault(UserFileFault fault) {
  InjectedFault() = fault;
}

void SetAsideUserFile(const std::string& hostPath) {
  ::rename(hostPath.c_str(), (hostPath + ".bad").c_str());
}

}  // namespace qm
