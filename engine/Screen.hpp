#pragma once
// The desktop-sized screen and numbered sprites. Every operation is safe before the
// screen is open or on an empty slot: it does nothing and returns 0.
#include <cstdint>
#include <string>

namespace qm {

// How the screen opens: set before OpenGameScreen (the defaults are the full-screen game).
struct DisplaySettings {
  int scale = 0;           // 1 to 4 screen pixels per game pixel; 0 chooses by the size
  bool windowed = false;   // an ordinary decorated window instead of the full screen
  int windowWidth = 1280;  // the window's inner size, when windowed
  int windowHeight = 800;
  int displayIndex = 0;  // the monitor of the full-screen game, 0 the first
  int maxFps = 0;        // frames per second at most; 0 for no cap
};
void SetDisplaySettings(const DisplaySettings& settings);
const DisplaySettings& CurrentDisplaySettings();

// Screen pixels per game pixel for a window or desktop of this size: the requested scale
// (0 for none), else the largest N with N x 1920 x 1080 within it; never so large that the
// game is left less than 320 x 200 pixels.
int ChooseDisplayScale(int width, int height, int requested);
// The scale the open screen uses (0 while it is closed). ScreenWidth and ScreenHeight, the
// draw operations and the mouse position are all in game pixels.
int DisplayScale();

int InitSprite();
// Why the last InitSprite found no desktop to show the game on (no DISPLAY, or one that does
// not open, and SDL left with a driver that shows nothing); empty when the failure, if any,
// had another cause. A driver named by SDL_VIDEODRIVER (tests, tools) is always taken.
std::string NoDisplayReason();
// Opens the game's window as the display settings say (by default borderless over the whole
// desktop) and its back buffer, the window's size divided by the scale. Nonzero on success.
int OpenGameScreen(const std::string& title);
// The game's screen in game pixels. A full-screen game follows a change of the desktop's
// resolution at the next PresentFrame (the scale chosen again), so both may change then.
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
// The desktop clipboard, once the screen is open; false when it cannot be set.
bool CopyTextToClipboard(const std::string& text);
std::string ClipboardText();

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
