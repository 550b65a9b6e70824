#pragma once
// Files the tests make: profile bytes, WAV sounds, and temporary folders that clean up after
// themselves.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

namespace qm::test {

// A profile file as it lies on disk: length byte, name, level reached, avatar, Easel slot
// count, four zero bytes, then the 64-bit score, little-endian. lengthByte >= 0 writes that
// length byte in place of the name's own.
inline std::string ProfileBytes(const std::string& name, int level, int avatar, int easel,
                                int64_t score, int lengthByte = -1) {
  std::string b(1, static_cast<char>(lengthByte >= 0 ? lengthByte : static_cast<int>(name.size())));
  b += name;
  for (int v : {level, avatar, easel, 0, 0, 0, 0}) b += static_cast<char>(v);
  for (int i = 0; i < 8; ++i)
    b += static_cast<char>((static_cast<uint64_t>(score) >> (8 * i)) & 0xFF);
  return b;
}

// A plain 16-bit PCM RIFF WAVE of `frames` frames; sample(i) gives the i-th sample (all
// channels alike).
inline std::string WaveBytes(uint32_t rate, uint32_t frames,
                             const std::function<int16_t(uint32_t)>& sample,
                             uint16_t channels = 1) {
  std::string b;
  auto put32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&b](uint32_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
  };
  const uint32_t data = frames * channels * 2;
  b += "RIFF";
  put32(36 + data);
  b += "WAVEfmt ";
  put32(16);
  put16(1);
  put16(channels);
  put32(rate);
  put32(rate * channels * 2);
  put16(channels * 2u);
  put16(16);
  b += "data";
  put32(data);
  for (uint32_t i = 0; i < frames; ++i) {
    const int16_t v = sample(i);
    for (uint16_t c = 0; c < channels; ++c) put16(static_cast<uint16_t>(v));
  }
  return b;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary folder, removed with the object (kept when
// QM_KEEP_TEMP is set).
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "qm-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (std::getenv("QM_KEEP_TEMP") == nullptr) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace qm::test
