#include "game/play/GeneratedLevels.hpp"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace qm {
namespace {

struct Entry {
  LevelIdentity identity;
  Preparation state = Preparation::kNotAsked;
  std::string bytes;
};

// One worker, one level at a time, over copies: the game thread only reads finished entries.
struct Preparer {
  std::mutex lock;
  std::condition_variable wake;
  LevelMaker maker;
  uint32_t version = 0;
  std::vector<Entry> entries;  // in the order asked
  std::deque<LevelIdentity> queue;
  std::thread worker;
  bool busy = false;
  bool stop = false;

  ~Preparer() {
    {
      std::lock_guard<std::mutex> hold(lock);
      stop = true;
      queue.clear();
    }
    wake.notify_all();
    if (worker.joinable()) worker.join();
  }

  Entry* Find(const LevelIdentity& id) {
    for (Entry& e : entries) {
      if (e.identity == id) return &e;
    }
    return nullptr;
  }

  void Run() {
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
      wake.wait(hold, [this] { return stop || !queue.empty(); });
      if (stop) return;
      LevelIdentity id = queue.front();
      queue.pop_front();
      LevelMaker make = maker;
      busy = true;
      hold.unlock();
      std::string bytes;
      const bool made = make && make(id, bytes);
      hold.lock();
      busy = false;
      if (Entry* e = Find(id)) {
        e->state = made ? Preparation::kReady : Preparation::kFailed;
        e->bytes = std::move(bytes);
      }
      wake.notify_all();
    }
  }
};

Preparer& ThePreparer() {
  static Preparer preparer;
  return preparer;
}

// A 64-bit mix (splitmix64's finaliser): integers only, the same on every machine.
uint64_t Mix(uint64_t v) {
  v += 0x9E3779B97F4A7C15ull;
  v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
  v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
  return v ^ (v >> 31);
}

}  // namespace

void SetLevelMaker(LevelMaker maker, uint32_t generatorVersion) {
  ForgetPreparedLevels();
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  p.maker = std::move(maker);
  p.version = generatorVersion;
}

bool LevelMakerAvailable() {
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  return static_cast<bool>(p.maker);
}

static uint32_t Version() {
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  return p.version;
}

LevelIdentity DailyIdentity(int32_t yyyymmdd) {
  LevelIdentity id;
  id.kind = LevelKind::kDaily;
  id.day = yyyymmdd;
  id.generatorVersion = Version();
  id.grade = kDailyGrade;
  id.seed = Mix(0x4441494C59ull ^ static_cast<uint64_t>(static_cast<uint32_t>(yyyymmdd)));
  id.number = PlaysAsLevel(id);
  return id;
}

int32_t EndlessGrade(int32_t n) {
  return std::clamp(2 + n / 2, 1, 5);
}

LevelIdentity EndlessIdentity(const std::string& playerName, int32_t n) {
  LevelIdentity id;
  id.kind = LevelKind::kEndless;
  id.endless = n;
  id.generatorVersion = Version();
  id.grade = EndlessGrade(n);
  uint64_t h = 1469598103934665603ull;  // FNV-1a of the name, then n
  for (char c : playerName) {
    h ^= static_cast<uint8_t>(c);
    h *= 1099511628211ull;
  }
  id.seed = Mix(h ^ (static_cast<uint64_t>(static_cast<uint32_t>(n)) << 32));
  id.number = PlaysAsLevel(id);
  return id;
}

uint32_t DealSeed(const LevelIdentity& identity) {
  const uint64_t v = Mix(identity.seed ^ 0x5049454345ull);
  return static_cast<uint32_t>(v ^ (v >> 32));
}

int32_t PlaysAsLevel(const LevelIdentity& identity) {
  if (identity.kind == LevelKind::kHandMade) return identity.number;
  // The place in the hand-made curve the generator proves each grade at: 8, 17, 26, 35, 44.
  return std::clamp<int32_t>(identity.grade, 1, 5) * 9 - 1;
}

void RequestLevel(const LevelIdentity& identity) {
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  if (!p.maker || p.Find(identity) != nullptr) return;
  p.entries.push_back(Entry{identity, Preparation::kPreparing, {}});
  p.queue.push_back(identity);
  if (!p.worker.joinable()) p.worker = std::thread([&p] { p.Run(); });
  p.wake.notify_all();
}

Preparation LevelPreparation(const LevelIdentity& identity) {
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  const Entry* e = p.Find(identity);
  return e != nullptr ? e->state : Preparation::kNotAsked;
}

bool PreparedLevel(const LevelIdentity& identity, std::string& mapBytes) {
  Preparer& p = ThePreparer();
  std::lock_guard<std::mutex> hold(p.lock);
  const Entry* e = p.Find(identity);
  if (e == nullptr || e->state != Preparation::kReady) return false;
  mapBytes = e->bytes;
  return true;
}

void WaitForPreparedLevels() {
  Preparer& p = ThePreparer();
  std::unique_lock<std::mutex> hold(p.lock);
  p.wake.wait(hold, [&p] { return !p.busy && p.queue.empty(); });
}

void ForgetPreparedLevels() {
  Preparer& p = ThePreparer();
  std::unique_lock<std::mutex> hold(p.lock);
  p.queue.clear();
  p.wake.wait(hold, [&p] { return !p.busy; });
  p.entries.clear();
}

}  // namespace qm
