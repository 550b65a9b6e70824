#pragma once
// The video engine's private state, shared by Screen.cpp (window, back buffer, sprites),
// Pictures.cpp (BMP and JPEG decoding), Drawing.cpp (text and boxes), Input.cpp (events)
// and TestHooks.cpp (read-back and injection).
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qm::video {

// Largest picture side accepted when the renderer does not state its own limit.
constexpr int kDefaultTextureLimit = 16384;
// Largest picture in pixels: a decoded picture is held in memory twice (surface and texture).
constexpr int64_t kMaxPicturePixels = int64_t{8192} * 8192;

struct VideoState {
  bool initialised = false;  // the SDL video subsystem is up
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* backBuffer = nullptr;  // render target the size of the screen
  SDL_Surface* frame = nullptr;       // the back buffer in memory, without acceleration
  bool frameUniform = false;          // the frame holds only the colour of its last clear
  uint32_t frameColour = 0;           // that colour (0x00BBGGRR)
  int width = 0;
  int height = 0;
  bool headless = false;  // offscreen or dummy video driver
  bool vsync = false;     // the renderer paces presents by the display refresh
  bool active = false;    // screen-active flag: set on open and by each present
  bool focused = false;   // the window has the keyboard focus (kept from window events)
  int textureLimit = kDefaultTextureLimit;
  uint32_t lastPresentMs = 0;  // real time of the last present, to pace a renderer without vsync
  uint64_t presents = 0;
  int headlessWidth = 1920;
  int headlessHeight = 1080;
  bool preferAccelerated = false;  // tests: keep an accelerated renderer even on a CPU rasteriser
};

VideoState& State();

// True when the screen is open and the back buffer is the render target.
bool ScreenReady();

// True under the offscreen or dummy video driver (decided from the environment before
// the video subsystem starts).
bool HeadlessDriver();

// Starts the SDL video subsystem once; false when no display is usable.
bool StartVideo();

// Window events that concern the display: repaint after exposure, device and target resets.
void HandleDisplayEvent(const SDL_Event& event);

// Repaints the window from the back buffer without counting a game present.
void RepaintWindow();

// Decodes a BMP or JPEG picture held in memory into a 32-bit ARGB surface with the key
// colour applied. Null when the bytes are not a picture this engine reads, or too large.
SDL_Surface* DecodePicture(const std::vector<uint8_t>& bytes, int sideLimit);

// Gives every exactly black pixel alpha 0 and every other pixel full alpha.
void ApplyKeyColour(SDL_Surface* argb);

// Converts a 0x00BBGGRR colour value to an SDL colour.
SDL_Color ColourFromBgr(uint32_t colourBgr);

// SoftFrame.cpp: the back buffer in plain memory when the display has no acceleration.
// Opens the frame and a software renderer drawing onto it (as s.renderer).
bool OpenSoftFrame(VideoState& s, int width, int height);
void CloseSoftFrame(VideoState& s);
// Copies the frame to the window; false when it could not be shown.
bool PresentSoftFrame(VideoState& s);
// Draws the clip of an ARGB picture at (x, y) of an ARGB target with a blend mode (none or
// blend) and a colour and alpha modulation, exactly as SDL's software renderer does.
// Nonzero when drawn (also when wholly outside the target).
int BlitSprite(SDL_Surface* target, SDL_Surface* picture, const SDL_Rect& clip, int x, int y,
               SDL_BlendMode blend, SDL_Color modulate);

// Drawing.cpp: forgets the rendered text textures (renderer gone or reset).
void ForgetTextTextures();
// Screen.cpp: forgets every sprite texture; sprites are uploaded again on their next draw.
void ForgetSpriteTextures();
// Bytes held in textures by sprites and texts, for the free video memory estimate.
int64_t SpriteTextureBytes();
int64_t TextTextureBytes();

// Input.cpp: drains the SDL event queue into the key state and the engine's event queue.
void DrainEvents();
// Input.cpp: the focus flag and pointer position start afresh when the screen opens.
void ResetInputForNewWindow(bool focused);

}  // namespace qm::video
