#include "engine/Clock.hpp"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace qm {
namespace {

struct ClockState {
  bool isVirtual = false;
  // Only the thread that took the virtual clock moves it: a worker (a hint, a level being made
  // and proved) reads the time without spinning it on, so its work never shifts the session.
  std::thread::id owner;
  std::atomic<uint32_t> now{0};
  uint32_t frameStep = 16;
  uint32_t spinsSincePresent = 0;
  std::function<void(uint32_t)> listener;
  int32_t fixedDate = 0;
};

ClockState& State() {
  static ClockState state;
  return state;
}

std::chrono::steady_clock::time_point StartTime() {
  static const auto start = std::chrono::steady_clock::now();
  return start;
}

// Reads within one frame are free; past this many the loop is taken to be spinning.
constexpr uint32_t kFreeSpinsPerFrame = 64;

void Advance(uint32_t ms) {
  ClockState& s = State();
  s.now += ms;
  if (s.listener) s.listener(s.now.load());
}

}  // namespace

uint32_t TickCount() {
  ClockState& s = State();
  if (s.isVirtual) {
    if (std::this_thread::get_id() == s.owner) NoteClockSpin();
    return s.now.load();
  }
  auto elapsed = std::chrono::steady_clock::now() - StartTime();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void PauseMs(int ms) {
  if (ms < 0) ms = 0;
  if (State().isVirtual) {
    if (std::this_thread::get_id() == State().owner) NoteClockWait(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int32_t UtcDateNumber() {
  if (State().fixedDate != 0) return State().fixedDate;
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  if (gmtime_r(&now, &utc) == nullptr) return 19700101;
  return (utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 + utc.tm_mday;
}

void SetUtcDateForTests(int32_t yyyymmdd) {
  State().fixedDate = yyyymmdd;
}

void NoteClockPresent() {
  ClockState& s = State();
  if (!s.isVirtual) return;
  s.spinsSincePresent = 0;
  Advance(s.frameStep);
}

void NoteClockSpin() {
  ClockState& s = State();
  if (!s.isVirtual) return;
  if (++s.spinsSincePresent > kFreeSpinsPerFrame) Advance(1);
}

void NoteClockWait(int ms) {
  ClockState& s = State();
  if (!s.isVirtual || ms <= 0) return;
  Advance(static_cast<uint32_t>(ms));
}

void UseVirtualClock(bool on, uint32_t startTick, uint32_t frameStepMs) {
  ClockState& s = State();
  s.isVirtual = on;
  s.owner = std::this_thread::get_id();
  s.now = startTick;
  s.frameStep = frameStepMs;
  s.spinsSincePresent = 0;
}

bool VirtualClockInUse() {
  return State().isVirtual;
}

void AdvanceVirtualClock(uint32_t ms) {
  if (State().isVirtual) Advance(ms);
}

void SetVirtualClockListener(std::function<void(uint32_t)> listener) {
  State().listener = std::move(listener);
}

}  // namespace qm
