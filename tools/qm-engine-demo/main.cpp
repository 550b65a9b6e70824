// qm-engine-demo OUT.png [--window [SECONDS]]
// Draws one frame with every kind of sprite draw, text in both background modes and
// boxes, presents it and saves the back buffer. Headless (offscreen video) unless
// --window is given, in which case the frame stays on the real screen for a few seconds.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Clock.hpp"
#include "engine/Drawing.hpp"
#include "engine/Input.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"

namespace {

using qm::RgbColour;

struct Picture {
  int width;
  int height;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB
};

void PutLe(std::string& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
}

// Writes a 24-bit Windows bitmap, the format of the game's own cell pictures.
bool WriteBmp(const std::string& path, const Picture& p) {
  const uint32_t rowBytes = (static_cast<uint32_t>(p.width) * 3 + 3) / 4 * 4;
  std::string b = "BM";
  PutLe(b, 54 + rowBytes * p.height, 4);
  PutLe(b, 0, 4);
  PutLe(b, 54, 4);
  PutLe(b, 40, 4);
  PutLe(b, p.width, 4);
  PutLe(b, p.height, 4);
  PutLe(b, 1, 2);
  PutLe(b, 24, 2);
  for (int i = 0; i < 6; ++i) PutLe(b, 0, 4);
  for (int y = p.height - 1; y >= 0; --y) {
    size_t start = b.size();
    for (int x = 0; x < p.width; ++x) {
      uint32_t c = p.rgb[static_cast<size_t>(y) * p.width + x];
      b.push_back(static_cast<char>(c));
      b.push_back(static_cast<char>(c >> 8));
      b.push_back(static_cast<char>(c >> 16));
    }
    while (b.size() - start < rowBytes) b.push_back(0);
  }
  std::ofstream out(path, std::ios::binary);
  out << b;
  return static_cast<bool>(out);
}

// A hexagonal cell 52 x 60 with a bevel, black (transparent) outside the hexagon.
Picture HexCell(uint32_t face, uint32_t edge) {
  Picture p{52, 60, std::vector<uint32_t>(52 * 60, 0)};
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      double dx = std::abs(x - 25.5);
      double dy = std::abs(y - 29.5);
      bool inside = dx <= 25.5 && dy <= 29.5 - dx * 15.0 / 26.0 + 0.5 && dy <= 29.5;
      if (!inside) continue;
      bool border = dx > 22.5 || dy > 26.5 - dx * 15.0 / 26.0;
      p.rgb[static_cast<size_t>(y) * p.width + x] = border ? edge : face;
    }
  }
  return p;
}

// A diagonal colour ramp used as the background picture.
Picture Backdrop(int w, int h) {
  Picture p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t r = 20 + 40 * x / w, g = 20 + 30 * y / h, b = 60 + 80 * (x + y) / (w + h);
      p.rgb[static_cast<size_t>(y) * w + x] = r << 16 | g << 8 | b;
    }
  }
  return p;
}

void DrawFrame(int w, int h) {
  qm::ClearFrame(RgbColour(8, 8, 24));
  qm::DrawSprite(2, 0, 0);
  // A small board of cells in the five ways a sprite can be drawn.
  const char* labels[] = {"DrawSprite", "Keyed", "Faded 128", "Tinted", "Shadow"};
  for (int kind = 0; kind < 5; ++kind) {
    int x0 = 60 + kind * 170;
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 2; ++col) {
        int x = x0 + col * 52 + (row % 2) * 26;
        int y = 120 + row * 45;
        switch (kind) {
          case 0:
            qm::DrawSprite(1, x, y);
            break;
          case 1:
            qm::DrawSpriteKeyed(1, x, y);
            break;
          case 2:
            qm::DrawSpriteFaded(1, x, y, 128);
            break;
          case 3:
            qm::DrawSpriteTinted(1, x, y, 0xFF4040);
            break;
          case 4:
            qm::DrawSpriteShadow(1, x + 6, y + 6);
            qm::DrawSpriteKeyed(1, x, y);
            break;
        }
      }
    }
    qm::LoadFont(1, "Arial", 10);
    qm::BeginDrawing();
    qm::SetDrawingMode(1);
    qm::UseFont(qm::FontHandleOf(1));
    qm::DrawTextAt(x0, 280, labels[kind], RgbColour(230, 230, 230));
    qm::EndDrawing();
  }
  // A highlight bar and a tag, added to what lies below.
  qm::DrawAdditiveBox(0, 330, w, 13, 10, 10, 100);
  qm::DrawAdditiveBox(60, 360, 120, 20, 200, 0, 200);

  qm::LoadFont(2, "Times New Roman", 50);
  qm::BeginDrawing();
  qm::SetDrawingMode(1);
  qm::UseFont(qm::FontHandleOf(2));
  std::string title = "Quillmosaica";
  qm::DrawTextAt(w / 2 - qm::TextWidthOf(title) / 2, 20, title, RgbColour(255, 220, 120));
  qm::LoadFont(1, "Arial", 8);
  qm::UseFont(qm::FontHandleOf(1));
  qm::SetDrawingMode(0);
  qm::DrawTextAt(62, 332, " Filled text on a black background (mode 0) ", RgbColour(255, 255, 255),
                 RgbColour(0, 0, 0));
  qm::SetDrawingMode(1);
  qm::DrawTextAt(64, 362, "Transparent text (mode 1) \xE9\xE8\x80", RgbColour(255, 255, 255));
  qm::SetDrawingMode(4);
  qm::DrawBox(40, 100, 880, 200, RgbColour(120, 200, 255));
  qm::SetDrawingMode(0);
  qm::DrawBox(40, 400, 200, 30, RgbColour(40, 160, 60));
  for (int i = 0; i < 40; ++i) qm::DrawBox(260 + i * 3, 415, 1, 1, RgbColour(255, 255, 0));
  qm::EndDrawing();
  (void)h;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qm-engine-demo OUT.png [--window [SECONDS]]\n");
    return 2;
  }
  std::string out = argv[1];
  bool window = argc >= 3 && std::string(argv[2]) == "--window";
  int seconds = argc >= 4 ? std::atoi(argv[3]) : 3;
  if (!window) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  qm::SetHeadlessScreenSize(960, 540);

  char folder[] = "/tmp/qm-engine-demo-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  std::string cell = std::string(folder) + "/cell.bmp";
  std::string back = std::string(folder) + "/back.bmp";

  int status = 0;
  if (qm::InitSprite() == 0 || qm::InitKeyboard() == 0 ||
      qm::OpenGameScreen("Quillmosaica2") == 0) {
    std::fprintf(stderr, "qm-engine-demo: no screen\n");
    status = 1;
  } else {
    int w = qm::ScreenWidth();
    int h = qm::ScreenHeight();
    WriteBmp(cell, HexCell(0xC89632, 0x785010));
    WriteBmp(back, Backdrop(w, h));
    qm::LoadSpriteImage(1, cell);
    qm::LoadSpriteImage(2, back);
    uint32_t start = qm::TickCount();
    do {
      DrawFrame(w, h);
      qm::PresentFrame();
      while (qm::PollWindowEvent(0) != 0) {
      }
    } while (window && !qm::QuitRequested() &&
             qm::TickCount() - start < static_cast<uint32_t>(seconds) * 1000);
    DrawFrame(w, h);
    if (!qm::SaveBackBufferPng(out)) {
      std::fprintf(stderr, "qm-engine-demo: cannot write %s\n", out.c_str());
      status = 1;
    } else {
      std::printf("%s: %dx%d, %llu glyph renders, %llu presents, window %s\n", out.c_str(), w, h,
                  static_cast<unsigned long long>(qm::GlyphRenderCount()),
                  static_cast<unsigned long long>(qm::PresentCount()),
                  qm::ScreenIsActive() != 0 ? "active" : "inactive");
    }
  }
  qm::FreeSpriteImage(-1);
  qm::CloseGameScreen();
  std::filesystem::remove_all(folder);
  return status;
}
