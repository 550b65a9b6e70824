#pragma once
// Hooks for headless tests and tools. The game itself never calls these.
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

enum class MouseButton { kLeft, kRight, kMiddle };

// Screen size to use when the screen opens under the offscreen/dummy video driver
// (the desktop size is used otherwise). While a full-screen game is open this is its
// desktop's resolution: a new size is followed at the next present.
void SetHeadlessScreenSize(int width, int height);

// Input injection: pushed as real SDL events, seen at the next event drain.
void InjectKey(int scanCode, bool down);
// A key by its physical USB usage number (SDL's scancode), to check the scan-code table.
void InjectPhysicalKey(int usbUsage, bool down);
void InjectText(const std::string& cp1252);  // characters for the keys released next
void InjectMouseMove(int x, int y);          // x or y < 0 moves the pointer out of the window
void InjectMouseButton(MouseButton button, bool down, int clicks = 1);
void InjectFocus(bool active);
void InjectQuit();

// Back-buffer read-back: 0x00RRGGBB of one pixel, or the whole buffer row by row.
uint32_t ReadBackPixel(int x, int y);
std::vector<uint32_t> ReadBackBuffer();
bool SaveBackBufferPng(const std::string& path);

// Audio inspection for tests: the rate a sound slot plays at, whether it is playing,
// the player master volume (1..512) of a music slot, and whether its mixing thread runs.
int SoundSlotRate(int slot);
bool SoundSlotPlaying(int slot);
int MusicSlotMasterVolume(int slot);
bool MusicSlotPlaying(int slot);
bool MusicSlotThreadRunning(int slot);

// The open screen as a player's desktop shows it, for tools that measure a real window:
// the window's size in screen pixels (the logical screen times the scale), the desktop size
// of monitor `display`, and what the back buffer is ("memory" or the renderer's name).
bool WindowPixelSize(int& width, int& height);
bool DesktopPixelSize(int display, int& width, int& height);
std::string BackBufferKind();
// Moves the real pointer to a position of the window in screen pixels (on a real display the
// pointer is read from the window system, which injected moves do not reach).
void WarpPointerInWindow(int x, int y);

// Asks the screens opened from now on for SDL's accelerated renderer and its render-target
// back buffer, as a desktop with a graphics driver has, even where OpenGL is drawn by the CPU
// and even when SDL_RENDER_DRIVER names another renderer (the memory back buffer remains the
// fallback where no accelerated renderer can be created). False restores the game's choice.
void PreferAcceleratedRenderer(bool prefer);
// What the window shows since the last present, 0x00RRGGBB row by row at the window's pixel
// size; empty when it cannot be read.
std::vector<uint32_t> ReadBackWindow();
// The window as the last present left it: its inner pixels (0x00RRGGBB, row by row), the
// game's screen scaled up and centred, black around it. Empty while the screen is closed.
std::vector<uint32_t> ReadShownWindow(int& width, int& height);
// The window's frame: a title bar and borders (a window) or none (the full-screen game), and
// whether the player may resize it.
bool WindowIsBordered();
bool WindowIsResizable();
// Pacing of presents, as where the display does not wait for its refresh: whether it also
// runs under the virtual clock (waiting by moving the clock), and the refresh rate it keeps
// to (0: the display's own). Takes effect at once.
void SetPresentPacingForTest(bool underVirtualClock, int refreshHz);

// Faults the per-user file writer (WriteUserFile) meets from now on, as a failing disk gives
// them: no temporary file can be made (EACCES), the disk fills after half the bytes
// (ENOSPC), a write stops short after half the bytes, or fsync fails (EIO). kNone: the real disk.
enum class UserFileFault { kNone, kNoTemporary, kDiskFull, kShortWrite, kSyncFails };
void SetUserFileFault(UserFileFault fault);

// Number of presents since start.
uint64_t PresentCount();
// Leaves the screen as a present that failed does (a lost device, a driver error).
void MarkPresentFailed();

// Whether the system's own mouse pointer is shown over the window.
bool SystemPointerShown();

// Largest picture side a sprite may have (the renderer's texture limit once the screen is open).
int SpriteSizeLimit();

// Pulls frames of mixed audio (interleaved 16-bit stereo at 44,100 Hz) from the sound
// mixer. The first call, which may ask for 0 frames, stops the device's own pulls until
// ShutdownSound, so the test alone moves playback on. Silence without a device.
void MixAudioForTest(int16_t* out, int frames);
// How many halves of its stream a music slot has rendered since it was loaded.
uint64_t MusicSlotHalvesRendered(int slot);

}  // namespace qm
