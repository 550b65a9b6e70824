#pragma once
// The desktop-sized screen and numbered sprites. Every operation is safe before the
// screen is open or on an empty slot: it does nothing and returns 0.
#include <cstdint>
#include <string>

namespace qm {

// How the screen opens: set before OpenGameScreen (the defaults are the full-screen game).
struct DisplaySettings {
  int scale = 0;             // 1 to 4 screen pixels per game pixel; 0 chooses by the size
  bool windowed = false;     // an ordinary decorated window instead of the full screen
  int windowWidth = 1280;    // the window's inner size, when windowed
  int windowHeight = 800;
  int displayIndex = 0;      // the monitor of the full-screen game, 0 the first
  int maxFps = 0;            // frames per second at most; 0 for no cap
};
void SetDisplaySettings(const DisplaySettings& settings);
const DisplaySettings& CurrentDisplaySettings();

int InitSprite();
// Opens the borderless desktop window and its back buffer. Nonzero on success.
int OpenGameScreen(const std::string& title);
int ScreenWidth();
int ScreenHeight();
int MainWindowId();
void CloseGameScreen();

uint32_t RgbColour(int r, int g, int b);  // 0x00BBGGRR
void ClearFrame(uint32_t colourBgr);
void PresentFrame();
int ScreenIsActive();
int64_t FreeVideoMemory();
void ShowMessageBox(const std::string& title, const std::string& text);
void HideSystemPointer();

int LoadSpriteImage(int slot, const std::string& path);
void FreeSpriteImage(int slot);  // -1 frees all
void GrabScreenToSprite(int slot, int x, int y, int width, int height);
void SetSpriteClip(int slot, int left, int top, int width, int height);
int SpriteWidthOf(int slot);
int SpriteHeightOf(int slot);

int DrawSprite(int slot, int x, int y);
int DrawSpriteKeyed(int slot, int x, int y);
int DrawSpriteFaded(int slot, int x, int y, int alpha);
int DrawSpriteTinted(int slot, int x, int y, uint32_t tintRgb);  // 0x00RRGGBB
int DrawSpriteShadow(int slot, int x, int y);
int DrawAdditiveBox(int x, int y, int width, int height, int r, int g, int b);

}  // namespace qm
