#pragma once
// The video engine's private state, shared by Screen.cpp (window, back buffer, sprites),
// Pictures.cpp (BMP and JPEG decoding), Drawing.cpp (text and boxes), Input.cpp (events)
// and TestHooks.cpp (read-back and injection).
#include <SDL.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace qm::video {

// Largest picture side accepted when the renderer does not state its own limit.
constexpr int kDefaultTextureLimit = 16384;
// Largest picture in pixels: a decoded picture is held in memory twice (surface and texture).
constexpr int64_t kMaxPicturePixels = int64_t{8192} * 8192;

// Where the game's screen lands in the window: every game pixel covers scale x scale window
// pixels, the picture starting at (offsetX, offsetY); the rest of the window stays black.
struct ScreenLayout {
  int scale = 1;
  int windowWidth = 0;  // the window's inner size in screen pixels
  int windowHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
};

// Lays a screen of this many game pixels out in a window of this inner size.
ScreenLayout LayOutScreen(int windowWidth, int windowHeight, int scale, int gameWidth,
                          int gameHeight);

// Keeps presents to a steady rate where nothing else paces them. Times in microseconds.
struct FramePacer {
  int64_t intervalUs = 0;  // 0: presents as they come
  int64_t nextUs = 0;      // when the next present is due
  bool started = false;
  // How long to wait at nowUs before presenting; the present after this one is then due
  // one interval later. A frame that comes late starts the schedule afresh rather than
  // letting the next ones hurry to catch up.
  int64_t WaitBeforePresent(int64_t nowUs);
};

struct VideoState {
  bool initialised = false;  // the SDL video subsystem is up
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::thread::id owner;              // the thread that opened the screen: the only one drawing
  SDL_Texture* backBuffer = nullptr;  // render target the size of the screen
  SDL_Surface* frame = nullptr;       // the back buffer in memory, without acceleration
  bool frameUniform = false;          // the frame holds only the colour of its last clear
  uint32_t frameColour = 0;           // that colour (0x00BBGGRR)
  bool frameIsWindow = false;         // the frame is the window's own pixels (scale 1)
  int width = 0;                      // the game's screen, in game pixels
  int height = 0;
  ScreenLayout layout;
  int displayIndex = 0;   // the monitor the screen opened on
  bool headless = false;  // offscreen or dummy video driver
  bool vsync = false;     // the renderer paces presents by the display refresh
  bool active = false;    // screen-active flag: set on open and by each present
  bool focused = false;   // the window has the keyboard focus (kept from window events)
  int textureLimit = kDefaultTextureLimit;
  FramePacer pacer;
  bool pacedUnderVirtualClock = false;  // test hook: pacing waits by moving the virtual clock
  int pacingRefreshHz = 0;              // test hook: the refresh rate to pace to (0: the display's)
  uint64_t presents = 0;
  uint64_t desktopChanges = 0;  // times the screen followed a new desktop size
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
// With a render-target back buffer: draws it onto the window, scaled up and centred, and
// leaves the window as the render target (the caller presents or reads it, then sets the
// back buffer as the target again).
bool DrawBackBufferToWindow(VideoState& s);

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
// Shows the frame in the window, scaled up by the layout; false when it could not be shown.
bool PresentSoftFrame(VideoState& s);
// Writes each pixel of a 32-bit picture as a scale x scale block (scale 1 to 8): rows of
// width source pixels, height rows, pitches in bytes.
void ScaleUpPixels(const uint32_t* from, int fromPitch, int width, int height, uint32_t* to,
                   int toPitch, int scale);
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

// Display.cpp: opens the window the settings ask for (full screen on a monitor, or an
// ordinary window) and lays the game's screen out in it. False when no window opens.
bool OpenGameWindow(VideoState& s, const std::string& title);
// Display.cpp: the full-screen game's monitor no longer has the size its window was opened
// at (the desktop's resolution changed); area is the monitor's area now. Never for a window.
bool DesktopSizeChanged(const VideoState& s, SDL_Rect& area);
// Display.cpp: moves and sizes the window over area, chooses the scale again and lays the
// game's screen out anew (s.width, s.height, s.layout). False when the window has no size.
bool FitWindowToDesktop(VideoState& s, const SDL_Rect& area);
// Display.cpp: the pacing interval from the display's refresh, the renderer and the frame cap.
void ConfigurePacing(VideoState& s);
// Display.cpp: paces the present about to happen (before it, so frames leave evenly).
void PaceBeforePresent(VideoState& s);
// Display.cpp: a window position in screen pixels to the game's pixels; false outside the
// game's screen.
bool WindowToGame(const VideoState& s, int windowX, int windowY, int& x, int& y);

// Input.cpp: drains the SDL event queue into the key state and the engine's event queue.
void DrainEvents();
// Input.cpp: the focus flag and pointer position start afresh when the screen opens.
void ResetInputForNewWindow(bool focused);

}  // namespace qm::video
