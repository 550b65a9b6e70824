#pragma once
// Shared by the sound tests: a fixture with the real mixer on SDL's dummy audio driver,
// a scratch folder, and builders for small WAV files and ProTracker modules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::test {

using Bytes = std::vector<uint8_t>;

// Bytes are appended by resizing first: GCC 12 at -O2 warns wrongly on push_back here.
inline void PutLe16(Bytes& b, uint32_t v) {
  size_t at = b.size();
  b.resize(at + 2);
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
inline void PutLe32(Bytes& b, uint32_t v) {
  PutLe16(b, v & 0xFFFF);
  PutLe16(b, v >> 16);
}
inline void PutTag(Bytes& b, const char* tag) {
  size_t at = b.size();
  b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(tag[i]);
}

// A RIFF WAVE file: "fmt " first, then the given chunks in order.
struct WaveChunk {
  std::string id;
  Bytes data;
  uint32_t claimedSize = UINT32_MAX;  // the size written, when it differs from data.size()
};

inline Bytes FormatBlock(int tag, int channels, int rate, int bits) {
  Bytes f;
  PutLe16(f, uint32_t(tag));
  PutLe16(f, uint32_t(channels));
  PutLe32(f, uint32_t(rate));
  PutLe32(f, uint32_t(rate * channels * bits / 8));
  PutLe16(f, uint32_t(channels * bits / 8));
  PutLe16(f, uint32_t(bits));
  return f;
}

inline Bytes RiffFile(const std::vector<WaveChunk>& chunks) {
  Bytes b;
  PutTag(b, "RIFF");
  PutLe32(b, 0);
  PutTag(b, "WAVE");
  for (const WaveChunk& c : chunks) {
    PutTag(b, c.id.c_str());
    PutLe32(b, c.claimedSize == UINT32_MAX ? uint32_t(c.data.size()) : c.claimedSize);
    b.insert(b.end(), c.data.begin(), c.data.end());
    if (c.data.size() & 1) b.push_back(0);
  }
  uint32_t riffSize = uint32_t(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = uint8_t(riffSize >> (8 * i));
  return b;
}

inline Bytes Pcm16(const std::vector<int16_t>& samples) {
  Bytes b;
  for (int16_t s : samples) PutLe16(b, uint16_t(s));
  return b;
}

// A plain 16-bit PCM WAV.
inline Bytes Wave16(int channels, int rate, const std::vector<int16_t>& samples) {
  return RiffFile({{"fmt ", FormatBlock(1, channels, rate, 16)}, {"data", Pcm16(samples)}});
}

// Mono samples rising by 10 from 100, so every frame tells where playback is.
inline std::vector<int16_t> Ramp(int frames) {
  std::vector<int16_t> s(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) s[size_t(i)] = int16_t(100 + 10 * i);
  return s;
}

// ---- ProTracker modules -----------------------------------------------------------------
struct ModNote {
  int row, channel, sample, period, effect, param;
};

// One pattern, 4 channels, sample 1 an 8-bit square wave of `sampleBytes` bytes,
// looping over its whole length or played once.
inline Bytes MakeModule(const std::vector<ModNote>& notes, int sampleBytes, bool loopSample) {
  Bytes b(20, 0);
  const char title[] = "qm test";
  std::copy(title, title + 7, b.begin());
  for (int s = 1; s <= 31; ++s) {
    Bytes header(30, 0);
    if (s == 1) {
      int words = sampleBytes / 2;
      header[22] = uint8_t(words >> 8);
      header[23] = uint8_t(words);
      header[25] = 64;  // volume
      int loopWords = loopSample ? words : 1;
      header[28] = uint8_t(loopWords >> 8);
      header[29] = uint8_t(loopWords);
    } else {
      header[29] = 1;  // an empty sample: loop length of one word
    }
    b.insert(b.end(), header.begin(), header.end());
  }
  b.push_back(1);    // song length: one order
  b.push_back(127);  // restart byte as ProTracker writes it
  Bytes orders(128, 0);
  b.insert(b.end(), orders.begin(), orders.end());
  PutTag(b, "M.K.");
  Bytes pattern(64 * 4 * 4, 0);
  for (const ModNote& n : notes) {
    uint8_t* cell = &pattern[size_t((n.row * 4 + n.channel) * 4)];
    cell[0] = uint8_t((n.sample & 0xF0) | ((n.period >> 8) & 0x0F));
    cell[1] = uint8_t(n.period);
    cell[2] = uint8_t(((n.sample & 0x0F) << 4) | (n.effect & 0x0F));
    cell[3] = uint8_t(n.param);
  }
  b.insert(b.end(), pattern.begin(), pattern.end());
  for (int i = 0; i < sampleBytes; ++i) b.push_back(uint8_t((i / 8) % 2 ? 0x90 : 0x70));
  return b;
}

// ---- The fixture ---------------------------------------------------------------------------
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_NE(InitSound(), 0);
    MixAudioForTest(nullptr, 0);  // from here only the test moves playback on
    folder_ = temp_.path();
  }
  void TearDown() override { ShutdownSound(); }

  std::string Write(const std::string& name, const Bytes& bytes) {
    std::filesystem::path p = folder_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return p.string();
  }

  // Interleaved stereo frames from the mixer.
  static std::vector<int16_t> Pull(int frames) {
    std::vector<int16_t> out(size_t(frames) * 2);
    MixAudioForTest(out.data(), frames);
    return out;
  }

  TempFolder temp_{"qm-sound"};
  std::filesystem::path folder_;
};

inline int Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
  return peak;
}

// Waits (real time, bounded) until a condition holds; the producer thread runs on real time.
template <class Condition>
bool WaitFor(Condition condition, int timeoutMs = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace qm::test
