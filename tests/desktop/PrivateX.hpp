#pragma once
// A private X server (Xvfb) for one test suite, with the game's screen opened on it through
// SDL's X11 driver.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "engine/Screen.hpp"

namespace qm::desktop {

inline bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t at = 0;
  while (at <= dirs.size()) {
    size_t end = dirs.find(':', at);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(at, end - at) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    at = end + 1;
  }
  return false;
}

class PrivateX {
 public:
  // True once the server runs and the screen is open; false where a program is missing.
  bool Start(const char* title, std::initializer_list<const char*> needs) {
    if (!OnPath("Xvfb")) return false;
    for (const char* program : needs)
      if (!OnPath(program)) return false;
    int fds[2];
    if (pipe(fds) != 0) return false;
    server_ = fork();
    if (server_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number on the descriptor once it accepts clients.
    std::string display;
    pollfd reader{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&reader, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') display += c;
    close(fds[0]);
    if (display.empty()) return false;
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return InitSprite() != 0 && OpenGameScreen(title) != 0;
  }

  void Stop() {
    CloseGameScreen();
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
      server_ = -1;
    }
  }

 private:
  pid_t server_ = -1;
};

}  // namespace qm::desktop
