#pragma once
// Wall-clock timing and order statistics for the benchmarks. Only the benchmark tool reads
// the wall clock; the game itself keeps to its tick counter.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace qm::bench {

using WallClock = std::chrono::steady_clock;

inline double MillisecondsSince(WallClock::time_point start) {
  return std::chrono::duration<double, std::milli>(WallClock::now() - start).count();
}

inline double MicrosecondsSince(WallClock::time_point start) {
  return std::chrono::duration<double, std::micro>(WallClock::now() - start).count();
}

// CPU time of the calling thread: what the machine's load does not add.
inline double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One decimal, as the notes print figures.
inline std::string Fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// The p-th percentile by nearest rank (p = 50 is the median of an odd count); 0 when empty.
inline double Percentile(std::vector<double> samples, double p) {
  if (samples.empty()) return 0.0;
  std::sort(samples.begin(), samples.end());
  double rank = std::ceil(p / 100.0 * static_cast<double>(samples.size()));
  size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
  return samples[std::min(index, samples.size() - 1)];
}

inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0.0;
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  return n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
}

}  // namespace qm::bench
