// The two back buffers draw the same pixels: every drawing operation, laid over a varied
// background, is drawn once into the memory back buffer and once through the accelerated
// renderer's render target, and the two frames must be equal to the last bit. Each operation
// has its own cell of the screen, so a difference names the operation that made it.
#include <algorithm>
#include <functional>

#include "tests/engine/video_test_support.hpp"

namespace qm::test {
namespace {

constexpr int kCell = 40;  // 8 x 6 cells on the 320 x 240 screen
constexpr int kColumns = kScreenW / kCell;

// Every colour of every channel somewhere, exact black (the key colour) and near black.
Picture Ramp(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      p.at(x, y) = MakeRgb((x * 255) / (w - 1), (y * 255) / (h - 1), ((x + y) * 97) % 256);
    }
  }
  p.at(0, 0) = 0;
  p.at(1, 0) = MakeRgb(1, 0, 0);
  p.at(2, 0) = MakeRgb(0, 0, 1);
  for (int y = 10; y < 14; ++y) {
    for (int x = 10; x < 14; ++x) p.at(x, y) = 0;  // a keyed hole
  }
  return p;
}

struct Operation {
  std::string name;
  std::function<void(int x, int y)> draw;  // draws inside the cell at (x, y)
  // Partly transparent or modulated: blended by arithmetic whose rounding is the renderer's
  // own (SDL's software blitter truncates, OpenGL rounds to the nearest).
  bool rounds = false;
};

class BackBufferTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    if (IsSkipped()) return;
    font_ = LoadFont(1, "Arial", 12) != 0;
  }

  std::vector<Operation> Operations() {
    std::vector<Operation> ops = {
        {"opaque", [](int x, int y) { DrawSprite(2, x, y); }},
        {"keyed", [](int x, int y) { DrawSpriteKeyed(2, x, y); }},
        {"shadow", [](int x, int y) { DrawSpriteShadow(2, x + 3, y + 3); }, true},
        {"additive box", [](int x, int y) { DrawAdditiveBox(x + 2, y + 2, 30, 30, 90, 40, 200); }},
        {"grab, then keyed",
         [](int x, int y) {
           GrabScreenToSprite(3, x, y, 24, 24);
           DrawSpriteKeyed(3, x + 8, y + 8);
         }},
        {"clipped sheet",
         [](int x, int y) {
           SetSpriteClip(2, 5, 7, 20, 11);
           DrawSpriteKeyed(2, x + 4, y + 4);
           SetSpriteClip(2, -1, -1, -1, -1);
         }},
        {"faded 0 and 255",
         [](int x, int y) {
           DrawSpriteFaded(2, x, y, 0);
           DrawSpriteFaded(2, x + 4, y + 4, 255);
         }},
        {"tinted white and black",
         [](int x, int y) {
           DrawSpriteTinted(2, x, y, 0xFFFFFF);
           DrawSpriteTinted(2, x + 6, y + 6, 0x000000);
         }},
        {"filled box", [](int x, int y) { DrawBox(x + 3, y + 3, 20, 10, RgbColour(10, 200, 30)); }},
        {"outlined box",
         [](int x, int y) {
           SetDrawingMode(4);
           DrawBox(x + 3, y + 3, 25, 18, RgbColour(250, 250, 0));
           DrawBox(x + 30, y + 30, 1, 1, RgbColour(0, 250, 250));
           SetDrawingMode(0);
         }},
        {"inverted box",
         [](int x, int y) {
           SetDrawingMode(2);
           DrawBox(x + 4, y + 4, 30, 30, 0);
           DrawBox(x + 10, y + 10, 10, 10, 0);  // twice inverted: as it was
           SetDrawingMode(0);
         }},
        {"inverted outline and pixel",
         [](int x, int y) {
           SetDrawingMode(6);
           DrawBox(x + 30, y + 28, -25, -20, RgbColour(9, 9, 9));
           DrawBox(x + 2, y + 30, 1, 1, 0);
           SetDrawingMode(0);
         }},
    };
    for (int alpha : {1, 64, 127, 128, 129, 200, 254}) {
      ops.push_back({"faded " + std::to_string(alpha),
                     [alpha](int x, int y) { DrawSpriteFaded(2, x, y, alpha); }, true});
    }
    for (uint32_t tint : {0x808080u, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0x123456u, 0xFEFEFEu}) {
      ops.push_back(
          {"tinted " + Hex(tint), [tint](int x, int y) { DrawSpriteTinted(2, x, y, tint); }, true});
    }
    if (font_) {
      ops.push_back({"filled text", [](int x, int y) {
                       SetDrawingMode(0);
                       UseFont(FontHandleOf(1));
                       DrawTextAt(x, y + 10, "Aq", RgbColour(255, 255, 255), RgbColour(0, 0, 90));
                     }});
      ops.push_back({"transparent text",
                     [](int x, int y) {
                       SetDrawingMode(1);
                       UseFont(FontHandleOf(1));
                       DrawTextAt(x, y + 10, "Wg", RgbColour(255, 230, 20));
                       SetDrawingMode(0);
                     },
                     true});
    }
    return ops;
  }

  // The scene: a varied background (the ramp stretched over every cell, one blend of it over
  // the other), then one operation per cell, then a present.
  std::vector<uint32_t> DrawScene() {
    LoadPicture(1, Ramp(kCell, kCell));
    LoadPicture(2, Ramp(32, 32));
    ClearFrame(RgbColour(30, 60, 90));
    for (int y = 0; y < kScreenH; y += kCell) {
      for (int x = 0; x < kScreenW; x += kCell) DrawSprite(1, x, y);
    }
    BeginDrawing();
    std::vector<Operation> ops = Operations();
    for (size_t i = 0; i < ops.size(); ++i) {
      ops[i].draw(int(i % kColumns) * kCell + 4, int(i / kColumns) * kCell + 4);
    }
    EndDrawing();
    PresentFrame();
    return ReadBackBuffer();
  }

  // The pixels that differ by more than the operation of their cell allows (nothing for an
  // exact one, `rounding` per channel for a blended one), the first of each operation named.
  std::string Differences(const std::vector<uint32_t>& memory,
                          const std::vector<uint32_t>& accelerated, int rounding) {
    std::vector<Operation> ops = Operations();
    ops.push_back({"the background", nullptr});
    std::vector<int> counts(ops.size(), 0);
    std::string said;
    for (size_t i = 0; i < memory.size() && i < accelerated.size(); ++i) {
      const int x = int(i % kScreenW);
      const int y = int(i / kScreenW);
      const size_t op = std::min(size_t(y / kCell * kColumns + x / kCell), ops.size() - 1);
      const int allowed = ops[op].rounds ? rounding : 0;
      if (Near(memory[i], accelerated[i], allowed)) continue;
      if (counts[op]++ == 0) {
        said += ops[op].name + " at (" + std::to_string(x) + ", " + std::to_string(y) +
                "): memory " + Hex(memory[i]) + ", accelerated " + Hex(accelerated[i]) + "\n";
      }
    }
    for (size_t op = 0; op < ops.size(); ++op) {
      if (counts[op] > 0) {
        said += std::to_string(counts[op]) + " pixels differ in the cell of " + ops[op].name + "\n";
      }
    }
    return said;
  }

  // The scene on the memory back buffer, then on the accelerated one.
  bool DrawOnBoth(std::vector<uint32_t>& memory, std::vector<uint32_t>& accelerated) {
    if (!AcceleratedNotTried().empty()) return false;
    memory = DrawScene();
    if (!OpenScreenOn(BackBuffer::kAccelerated)) return false;
    font_ = LoadFont(1, "Arial", 12) != 0;
    accelerated = DrawScene();
    return true;
  }

  static std::string Unavailable() {
    return AcceleratedNotTried().empty() ? NoAcceleratedRenderer() : AcceleratedNotTried();
  }

  bool font_ = false;
};

TEST_F(BackBufferTest, ExactOperationsDrawTheSamePixelsOnBothBackBuffers) {
  ASSERT_TRUE(font_) << "the engine's fonts are part of the scene";
  std::vector<uint32_t> memory, accelerated;
  if (!DrawOnBoth(memory, accelerated)) GTEST_SKIP() << Unavailable();
  ASSERT_EQ(memory.size(), size_t(kScreenW) * kScreenH);
  ASSERT_EQ(accelerated.size(), memory.size());
  std::string differences = Differences(memory, accelerated, 255);
  EXPECT_TRUE(differences.empty()) << differences;
}

// Blending partly transparent or modulated pixels cannot be the same to the bit: the memory
// back buffer keeps SDL's software arithmetic, which truncates each product (and divides a
// picture's own alpha by 256), while OpenGL rounds to the nearest, so a channel may come out
// up to three higher. Nothing else may differ.
TEST_F(BackBufferTest, BlendedOperationsDifferOnlyByTheirRounding) {
  ASSERT_TRUE(font_);
  std::vector<uint32_t> memory, accelerated;
  if (!DrawOnBoth(memory, accelerated)) GTEST_SKIP() << Unavailable();
  ASSERT_EQ(accelerated.size(), memory.size());
  std::string differences = Differences(memory, accelerated, 3);
  EXPECT_TRUE(differences.empty()) << differences;
}

}  // namespace
}  // namespace qm::test
