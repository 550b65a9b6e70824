#pragma once
// Byte builders and folders shared by the hostile-input tests.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace qm::hard {

// A profile file as it lies on disk: length byte, name, seven single bytes, 64-bit score.
inline std::string ProfileBytes(const std::string& name, int level, int avatar, int easel, int64_t score,
                                int lengthByte = -1) {
  std::string b(1, static_cast<char>(lengthByte >= 0 ? lengthByte : static_cast<int>(name.size())));
  b += name;
  for (int v : {level, avatar, easel, 0, 0, 0, 0}) b += static_cast<char>(v);
  for (int i = 0; i < 8; ++i) b += static_cast<char>((static_cast<uint64_t>(score) >> (8 * i)) & 0xFF);
  return b;
}

// A fresh temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-hard-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace qm::hard
