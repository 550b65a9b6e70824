// qm-assets: writes every picture, sound and music module of the game folder.
//   qm-assets OUTDIR            everything (gfx/, sfx/, zik/)
//   qm-assets pictures OUTDIR   only gfx/
//   qm-assets sheet OUT.png     contact sheet of every cell and Piece picture with its code
//   qm-assets grid OUT.png      a few cells tiled on the hex grid, with an Easel
//   qm-assets icon SIZE OUT.png the desktop icon, SIZE x SIZE pixels
// The output is built in OUTDIR/.qm-assets-partial and moved into place only when every file
// was written, so a failed run never leaves a half-made game folder behind.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "AudioAssets.hpp"
#include "Pictures.hpp"

namespace fs = std::filesystem;

namespace {

struct Task {
  std::string name;
  std::function<bool()> run;
};

// Runs the tasks on every core; returns the names of those that failed.
std::vector<std::string> RunTasks(const std::vector<Task>& tasks) {
  std::atomic<size_t> next{0};
  std::mutex failedLock;
  std::vector<std::string> failed;
  auto worker = [&] {
    for (size_t i = next++; i < tasks.size(); i = next++) {
      if (!tasks[i].run()) {
        std::lock_guard<std::mutex> lock(failedLock);
        failed.push_back(tasks[i].name);
      }
    }
  };
  unsigned count = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < count; ++t) threads.emplace_back(worker);
  for (auto& t : threads) t.join();
  std::sort(failed.begin(), failed.end());
  return failed;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qm-assets: %s\n", message.c_str());
  return 1;
}

int WriteGameFolder(const std::string& outDir, bool withAudio) {
  std::error_code ec;
  if (!fs::is_directory(outDir, ec)) return Fail("output folder does not exist: " + outDir);
  const fs::path partial = fs::path(outDir) / ".qm-assets-partial";
  fs::remove_all(partial, ec);
  for (const char* sub : {"gfx/000/0", "gfx/fond", "sfx", "zik"}) {
    fs::create_directories(partial / sub, ec);
    if (ec) return Fail("cannot create " + (partial / sub).string() + ": " + ec.message());
  }
  std::vector<Task> tasks;
  const std::string base = partial.string();
  if (withAudio) {
    tasks.push_back({"sfx/", [base] { return qm::assets::WriteSoundEffects(base); }});
    tasks.push_back({"zik/", [base] { return qm::assets::WriteMusicModules(base); }});
  }
  for (auto& job : qm::assets::AllPictureJobs()) {
    std::string full = (partial / job.path).string();
    auto make = job.make;
    tasks.push_back({job.path, [make, full] { return make(full); }});
  }
  std::vector<std::string> failed = RunTasks(tasks);
  if (!failed.empty()) {
    for (const auto& name : failed)
      std::fprintf(stderr, "qm-assets: could not write %s\n", name.c_str());
    fs::remove_all(partial, ec);
    return Fail("nothing was changed in " + outDir);
  }
  std::vector<std::string> folders = {"gfx"};
  if (withAudio) folders = {"gfx", "sfx", "zik"};
  for (const auto& folder : folders) {
    fs::path target = fs::path(outDir) / folder;
    fs::remove_all(target, ec);
    fs::rename(partial / folder, target, ec);
    if (ec) return Fail("cannot move " + folder + " into " + outDir + ": " + ec.message());
  }
  fs::remove_all(partial, ec);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "icon") {
    if (!qm::assets::CheckFonts()) return Fail("fonts missing, nothing written");
    const int size = std::atoi(args[1].c_str());
    if (size < 16 || size > 1024) return Fail("the icon size must be 16 to 1024, not " + args[1]);
    return qm::assets::WriteIcon(size, args[2]) ? 0 : Fail("cannot write " + args[2]);
  }
  if (args.empty() || args.size() > 2 ||
      (args.size() == 2 && args[0] != "sheet" && args[0] != "grid" && args[0] != "pictures")) {
    std::fprintf(stderr,
                 "usage: qm-assets OUTDIR | qm-assets pictures OUTDIR | qm-assets sheet OUT.png | "
                 "qm-assets grid OUT.png | qm-assets icon SIZE OUT.png\n");
    return 2;
  }
  if (!qm::assets::CheckFonts()) return Fail("fonts missing, nothing written");
  if (args.size() == 2 && args[0] == "sheet")
    return qm::assets::WriteContactSheet(args[1]) ? 0 : Fail("cannot write " + args[1]);
  if (args.size() == 2 && args[0] == "grid")
    return qm::assets::WriteGridPreview(args[1]) ? 0 : Fail("cannot write " + args[1]);
  if (args.size() == 2) return WriteGameFolder(args[1], false);
  return WriteGameFolder(args[0], true);
}
