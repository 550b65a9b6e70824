#pragma once
// Shared by the video, text and input tests: a small headless screen opened once per
// process, a scratch folder, and writers for small BMP and JPEG pictures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::test {

constexpr int kScreenW = 320;
constexpr int kScreenH = 240;

using Rgb = uint32_t;  // 0x00RRGGBB, as ReadBackPixel answers

inline Rgb MakeRgb(int r, int g, int b) {
  return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
inline int Red(Rgb c) {
  return int(c >> 16) & 0xFF;
}
inline int Green(Rgb c) {
  return int(c >> 8) & 0xFF;
}
inline int Blue(Rgb c) {
  return int(c) & 0xFF;
}

// True when every channel is within tolerance (blending rounds differently per renderer).
inline bool Near(Rgb a, Rgb b, int tolerance = 2) {
  return std::abs(Red(a) - Red(b)) <= tolerance && std::abs(Green(a) - Green(b)) <= tolerance &&
         std::abs(Blue(a) - Blue(b)) <= tolerance;
}

inline std::string Hex(Rgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", c);
  return text;
}

// A picture as rows of 0x00RRGGBB pixels.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Picture(int w, int h, Rgb fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
};

inline void PutLe(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// A 24-bit bottom-up Windows bitmap, as the game's own picture files are.
inline std::vector<uint8_t> BmpBytes(const Picture& p) {
  const uint32_t rowBytes = (uint32_t(p.width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b = {'B', 'M'};
  PutLe(b, 54 + rowBytes * p.height, 4);
  PutLe(b, 0, 4);
  PutLe(b, 54, 4);
  PutLe(b, 40, 4);
  PutLe(b, uint32_t(p.width), 4);
  PutLe(b, uint32_t(p.height), 4);
  PutLe(b, 1, 2);
  PutLe(b, 24, 2);
  PutLe(b, 0, 4);
  PutLe(b, rowBytes * p.height, 4);
  PutLe(b, 2835, 4);
  PutLe(b, 2835, 4);
  PutLe(b, 0, 4);
  PutLe(b, 0, 4);
  for (int y = p.height - 1; y >= 0; --y) {
    size_t start = b.size();
    for (int x = 0; x < p.width; ++x) {
      Rgb c = p.pixels[size_t(y) * p.width + x];
      b.push_back(uint8_t(Blue(c)));
      b.push_back(uint8_t(Green(c)));
      b.push_back(uint8_t(Red(c)));
    }
    while (b.size() - start < rowBytes) b.push_back(0);
  }
  return b;
}

std::vector<uint8_t> JpegBytes(const Picture& p, int quality);  // video_test_support.cpp
// A four-component JPEG from C, M, Y, K bytes per pixel, stored as CMYK or YCCK, with or
// without the Adobe marker.
std::vector<uint8_t> InkJpegBytes(const std::vector<uint8_t>& inks, int width, int height,
                                  bool ycck, bool adobe);

// A scratch folder per test, removed afterwards.
class ScratchFolder {
 public:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return Path(name);
  }

 private:
  TempFolder folder_{"qm-video"};
};

// The two back buffers a desktop may get: plain memory composed by the engine (no graphics
// acceleration, and the headless default), or the render-target texture of SDL's accelerated
// renderer (a desktop with a graphics driver; here Mesa's OpenGL, drawn by the CPU).
enum class BackBuffer { kMemory, kAccelerated };

inline void PrintTo(BackBuffer path, std::ostream* out) {
  *out << (path == BackBuffer::kMemory ? "memory" : "accelerated");
}

inline std::string BackBufferName(const ::testing::TestParamInfo<BackBuffer>& info) {
  return info.param == BackBuffer::kMemory ? "Memory" : "Accelerated";
}

inline bool IsAccelerated(const std::string& kind) {
  return kind.rfind("render target", 0) == 0;
}

#if defined(__SANITIZE_ADDRESS__)
#define QM_TESTS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_TESTS_UNDER_ASAN 1
#endif
#endif

// Why the accelerated back buffer is not tried in this build, or "" when it is.
inline std::string AcceleratedNotTried() {
#if defined(QM_TESTS_UNDER_ASAN)
  // Mesa's OpenGL driver leaves thread-local blocks that crash the leak checker at exit.
  return "the sanitizer build leaves out the accelerated back buffer (Mesa's OpenGL driver "
         "crashes the leak checker); the normal build tests it";
#else
  return "";
#endif
}

// Opens the headless screen on that back buffer, closing the open one if it has the other.
// False when the accelerated renderer cannot be created here.
inline bool OpenScreenOn(BackBuffer wanted) {
  const bool accelerated = wanted == BackBuffer::kAccelerated;
  const std::string kind = BackBufferKind();
  if (!kind.empty() && IsAccelerated(kind) == accelerated) return true;
  CloseGameScreen();
  PreferAcceleratedRenderer(accelerated);
  if (InitSprite() == 0 || OpenGameScreen("Quillmosaica2") == 0) return false;
  return IsAccelerated(BackBufferKind()) == accelerated;
}

inline std::string NoAcceleratedRenderer() {
  return "no accelerated renderer can be created here (the screen got a " + BackBufferKind() +
         " back buffer): it needs SDL's OpenGL renderer and an OpenGL driver such as Mesa's "
         "(libgl1-mesa-dri, libegl1)";
}

// The headless screen, opened once for the process (again when a test needs the other back
// buffer); each test starts from a clean frame with no sprites and no pending events.
class VideoTest : public ::testing::Test {
 protected:
  virtual BackBuffer Path() const { return BackBuffer::kMemory; }

  void SetUp() override {
    SetHeadlessScreenSize(kScreenW, kScreenH);
    ASSERT_NE(InitSprite(), 0);
    if (Path() == BackBuffer::kAccelerated && !AcceleratedNotTried().empty()) {
      GTEST_SKIP() << AcceleratedNotTried();
    }
    if (!OpenScreenOn(Path())) {
      ASSERT_EQ(Path(), BackBuffer::kAccelerated) << "the memory back buffer always opens";
      GTEST_SKIP() << NoAcceleratedRenderer();
    }
    ASSERT_NE(InitKeyboard(), 0);
    ASSERT_EQ(ScreenWidth(), kScreenW);
    FreeSpriteImage(-1);
    InjectFocus(true);
    while (PollWindowEvent(0) != 0) {
    }
    ClearFrame(0);
  }
  void TearDown() override { FreeSpriteImage(-1); }

  // Loads a picture into a sprite slot through a file, as the game does.
  void LoadPicture(int slot, const Picture& p) {
    ASSERT_NE(
        LoadSpriteImage(slot, scratch_.Write("p" + std::to_string(slot) + ".bmp", BmpBytes(p))), 0);
  }

  ScratchFolder scratch_;
};

// The same tests on both back buffers (TEST_P, instantiated with BothBackBuffers()).
class VideoPathTest : public VideoTest, public ::testing::WithParamInterface<BackBuffer> {
 protected:
  BackBuffer Path() const override { return GetParam(); }
};

inline auto BothBackBuffers() {
  return ::testing::Values(BackBuffer::kMemory, BackBuffer::kAccelerated);
}

}  // namespace qm::test
