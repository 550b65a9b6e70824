#include "engine/UserFiles.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/Files.hpp"

namespace qm {
namespace {

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
  std::string temp = folder + "/." + base + ".tmp-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    if (error) *error = Failure("Cannot write in the folder", errno, folder);
    return false;
  }
  ::fchmod(fd, 0644);
  size_t done = 0;
  int code = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      code = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (code == 0 && ::fsync(fd) != 0) code = errno;
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

void SetAsideUserFile(const std::string& hostPath) {
  ::rename(hostPath.c_str(), (hostPath + ".bad").c_str());
}

}  // namespace qm
