// The desktop-sized window, its back buffer (a render-target texture that keeps its
// picture across presents) and the numbered sprites drawn onto it.
#include "engine/Screen.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "engine/Clock.hpp"
#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "engine/VideoInternal.hpp"

namespace qm {
namespace video {

VideoState& State() {
  // Never destroyed: pictures and fonts stay valid until the process ends.
  static auto* state = new VideoState();
  return *state;
}

bool ScreenReady() {
  // Rules played on a worker thread (a level being generated and proven) draw nothing.
  return State().renderer != nullptr &&
         (State().backBuffer != nullptr || State().frame != nullptr) &&
         State().owner == std::this_thread::get_id();
}

bool HeadlessDriver() {
  const char* driver = State().initialised ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver == nullptr) driver = SDL_getenv("SDL_VIDEODRIVER");
  if (driver == nullptr) return false;
  return SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0;
}

namespace {

std::string& NoDisplay() {
  static auto* reason = new std::string();
  return *reason;
}

// Why SDL found no desktop, in the player's words.
std::string NoDisplayWords(const char* sdlError) {
  const char* x11 = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  const bool x11Set = x11 != nullptr && *x11 != '\0';
  const bool waylandSet = wayland != nullptr && *wayland != '\0';
  std::string words = "no display to show the game on";
  if (!x11Set && !waylandSet) return words + " (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  words += " (";
  if (x11Set) words += std::string("DISPLAY=") + x11;
  if (x11Set && waylandSet) words += ", ";
  if (waylandSet) words += std::string("WAYLAND_DISPLAY=") + wayland;
  words += " cannot be opened";
  if (sdlError != nullptr && *sdlError != '\0') words += std::string(": ") + sdlError;
  return words + ")";
}

}  // namespace

bool StartVideo() {
  VideoState& s = State();
  if (s.initialised) return true;
  NoDisplay().clear();
  // Pictures are shown pixel for pixel, never smoothed.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // The game decides itself what a lost focus means; the window stays on screen.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool driverChosen = asked != nullptr && *asked != '\0';
  const char* x11 = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  if (!driverChosen && (x11 == nullptr || *x11 == '\0') &&
      (wayland == nullptr || *wayland == '\0')) {
    // Nothing to open: SDL's tries would only add their own complaints to ours.
    NoDisplay() = NoDisplayWords(nullptr);
    return false;
  }
  const bool x11Set = x11 != nullptr && *x11 != '\0';
  const bool waylandSet = wayland != nullptr && *wayland != '\0';
  // Only the desktop the environment names is tried: a closed X display must not lead SDL on
  // to Wayland, whose library prints complaints of its own on the terminal.
  if (!driverChosen && x11Set != waylandSet)
    SDL_SetHint(SDL_HINT_VIDEODRIVER, x11Set ? "x11" : "wayland");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    if (!driverChosen) NoDisplay() = NoDisplayWords(SDL_GetError());
    return false;
  }
  // SDL falls back to a window in memory when no desktop opens; nobody would see the game.
  // Only a driver named in the environment (tests, tools) may be one that shows nothing.
  const char* opened = SDL_GetCurrentVideoDriver();
  if (!driverChosen && opened != nullptr &&
      (SDL_strcasecmp(opened, "offscreen") == 0 || SDL_strcasecmp(opened, "dummy") == 0)) {
    NoDisplay() = NoDisplayWords(nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
  }
  if (SDL_GetNumVideoDisplays() < 1) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
  }
  s.initialised = true;
  return true;
}

}  // namespace video

using video::State;
using video::VideoState;

namespace {

// Sprite numbers are sparse; the table grows in steps of 64 up to this bound.
constexpr int kMaxSpriteSlots = 1 << 20;
constexpr int kSpriteSlotStep = 64;
// Larger files are not pictures this game reads.
constexpr off_t kMaxPictureFileBytes = off_t{256} << 20;
// Texture memory assumed when the display cannot tell (the game only shows the figure).
constexpr int64_t kAssumedVideoMemory = int64_t{1} << 30;

struct Sprite {
  SDL_Surface* pixels = nullptr;   // system-memory copy, ARGB with the key colour applied
  SDL_Texture* texture = nullptr;  // uploaded on the first draw, again after a device reset
  SDL_Rect clip{};                 // the part of the picture the draw operations show
  bool shown = false;              // drawn onto a back buffer in memory (counts as uploaded)
};

std::vector<Sprite>& Sprites() {
  // Never destroyed: pictures and fonts stay valid until the process ends.
  static auto* sprites = new std::vector<Sprite>();
  return *sprites;
}

Sprite* SpriteAt(int slot) {
  auto& sprites = Sprites();
  if (slot < 0 || slot >= static_cast<int>(sprites.size())) return nullptr;
  return sprites[slot].pixels != nullptr ? &sprites[slot] : nullptr;
}

// The slot, made to exist; null when the number is out of range.
Sprite* SlotFor(int slot) {
  if (slot < 0 || slot >= kMaxSpriteSlots) return nullptr;
  auto& sprites = Sprites();
  if (slot >= static_cast<int>(sprites.size())) {
    sprites.resize(static_cast<size_t>((slot / kSpriteSlotStep + 1) * kSpriteSlotStep));
  }
  return &sprites[slot];
}

void ReleaseSprite(Sprite& sprite) {
  if (sprite.texture != nullptr) SDL_DestroyTexture(sprite.texture);
  if (sprite.pixels != nullptr) SDL_FreeSurface(sprite.pixels);
  sprite = Sprite{};
}

void InstallPicture(Sprite& sprite, SDL_Surface* pixels) {
  ReleaseSprite(sprite);
  sprite.pixels = pixels;
  sprite.clip = SDL_Rect{0, 0, pixels->w, pixels->h};
}

SDL_Texture* TextureOf(Sprite& sprite) {
  VideoState& s = State();
  if (sprite.texture != nullptr || s.renderer == nullptr) return sprite.texture;
  SDL_Texture* texture =
      SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                        sprite.pixels->w, sprite.pixels->h);
  if (texture == nullptr) return nullptr;
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
  if (SDL_UpdateTexture(texture, nullptr, sprite.pixels->pixels, sprite.pixels->pitch) != 0) {
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  sprite.texture = texture;
  return texture;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, bool& opened) {
  opened = false;
  std::string host = HostPath(path);
  if (host.empty()) return false;
  // Non-blocking open so that a pipe or device name cannot hang the game.
  int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  opened = true;
  if (info.st_size > kMaxPictureFileBytes) {
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  ::close(fd);
  bytes.resize(done);
  return true;
}

// The common steps of the five sprite draws: empty slot, off-screen test, then one copy.
int DrawSpriteWith(int slot, int x, int y, SDL_BlendMode blend, SDL_Color modulate) {
  Sprite* sprite = SpriteAt(slot);
  if (sprite == nullptr || !video::ScreenReady()) return 0;
  VideoState& s = State();
  const SDL_Rect& clip = sprite->clip;
  if (clip.w <= 0 || clip.h <= 0) return 0;
  if (int64_t{x} + clip.w <= 0 || int64_t{y} + clip.h <= 0 || x >= s.width || y >= s.height)
    return 0;
  if (s.frame != nullptr) {
    // Everything queued before this sprite lands first: the painter's order holds.
    SDL_RenderFlush(s.renderer);
    sprite->shown = true;
    s.frameUniform = false;
    return video::BlitSprite(s.frame, sprite->pixels, clip, x, y, blend, modulate);
  }
  SDL_Texture* texture = TextureOf(*sprite);
  if (texture == nullptr) return 0;
  SDL_SetTextureBlendMode(texture, blend);
  SDL_SetTextureColorMod(texture, modulate.r, modulate.g, modulate.b);
  SDL_SetTextureAlphaMod(texture, modulate.a);
  SDL_Rect target{x, y, clip.w, clip.h};
  return SDL_RenderCopy(s.renderer, texture, &clip, &target) == 0 ? 1 : 0;
}

uint8_t Channel(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// True when the renderer draws through OpenGL and the GL driver is a CPU rasteriser.
bool OpenGlRasterisesInSoftware(const SDL_RendererInfo& info) {
  if (info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0) return false;
  using GetStringFn = const unsigned char* (*)(unsigned int);
  auto getString = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return false;
  constexpr unsigned int kGlRenderer = 0x1F01;
  const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (name == nullptr) return false;
  for (const char* cpu : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast", "SWR"}) {
    if (std::strstr(name, cpu) != nullptr) return true;
  }
  return false;
}

SDL_Renderer* CreateRenderer(SDL_Window* window) {
  const uint32_t wanted = SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | wanted);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, wanted);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) return nullptr;
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0 &&
      !State().preferAccelerated && OpenGlRasterisesInSoftware(info)) {
    // OpenGL drawn by the CPU (a desktop without a graphics driver, a virtual machine, Xvfb)
    // is many times slower than our own memory back buffer: use that instead.
    SDL_DestroyRenderer(renderer);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) return nullptr;
  }
  if (SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_TARGETTEXTURE) == 0) {
    // The back buffer must keep its picture, which needs a render target.
    SDL_DestroyRenderer(renderer);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  }
  return renderer;
}

}  // namespace

namespace video {

bool DrawBackBufferToWindow(VideoState& s) {
  SDL_SetRenderTarget(s.renderer, nullptr);
  SDL_SetTextureBlendMode(s.backBuffer, SDL_BLENDMODE_NONE);
  SDL_SetTextureColorMod(s.backBuffer, 255, 255, 255);
  SDL_SetTextureAlphaMod(s.backBuffer, 255);
  int windowWidth = 0;
  int windowHeight = 0;
  SDL_GetWindowSize(s.window, &windowWidth, &windowHeight);
  if (windowWidth != s.layout.windowWidth || windowHeight != s.layout.windowHeight) {
    // Resized by the window manager: the game's screen keeps its size, centred.
    s.layout = LayOutScreen(windowWidth, windowHeight, s.layout.scale, s.width, s.height);
  }
  const ScreenLayout& layout = s.layout;
  const SDL_Rect picture{layout.offsetX, layout.offsetY, s.width * layout.scale,
                         s.height * layout.scale};
  const bool fills = picture.w == layout.windowWidth && picture.h == layout.windowHeight;
  if (!fills) {
    // The strips around a picture that does not fill the window stay black.
    uint8_t r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(s.renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    SDL_RenderClear(s.renderer);
    SDL_SetRenderDrawColor(s.renderer, r, g, b, a);
  }
  // Scaled up by whole pixels with nearest sampling (the back buffer's scale mode).
  return SDL_RenderCopy(s.renderer, s.backBuffer, nullptr, fills ? nullptr : &picture) == 0;
}

void RepaintWindow() {
  VideoState& s = State();
  if (!ScreenReady()) return;
  if (s.frame != nullptr) {
    SDL_RenderFlush(s.renderer);
    s.active = PresentSoftFrame(s);
    return;
  }
  bool shown = DrawBackBufferToWindow(s);
  SDL_RenderPresent(s.renderer);
  SDL_SetRenderTarget(s.renderer, s.backBuffer);
  s.active = shown;
}

void ForgetSpriteTextures() {
  for (Sprite& sprite : Sprites()) {
    if (sprite.texture != nullptr) SDL_DestroyTexture(sprite.texture);
    sprite.texture = nullptr;
    sprite.shown = false;
  }
}

int64_t SpriteTextureBytes() {
  int64_t bytes = 0;
  for (const Sprite& sprite : Sprites()) {
    if (sprite.texture != nullptr || sprite.shown) {
      bytes += int64_t{sprite.pixels->w} * sprite.pixels->h * 4;
    }
  }
  return bytes;
}

void HandleDisplayEvent(const SDL_Event& event) {
  VideoState& s = State();
  if (!ScreenReady()) return;
  if (event.type == SDL_RENDER_DEVICE_RESET && s.frame == nullptr) {
    // Every texture is gone: sprites upload again from their system-memory copies.
    ForgetSpriteTextures();
    ForgetTextTextures();
    SDL_DestroyTexture(s.backBuffer);
    s.backBuffer = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     s.width, s.height);
    if (s.backBuffer != nullptr) {
      SDL_SetTextureScaleMode(s.backBuffer, SDL_ScaleModeNearest);
      SDL_SetRenderTarget(s.renderer, s.backBuffer);
    }
    s.active = s.backBuffer != nullptr;
    return;
  }
  if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                        event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
    RepaintWindow();
  }
}

}  // namespace video

namespace {
DisplaySettings displaySettings;
}  // namespace

void SetDisplaySettings(const DisplaySettings& settings) {
  displaySettings = settings;
}

const DisplaySettings& CurrentDisplaySettings() {
  return displaySettings;
}

int InitSprite() {
  return video::StartVideo() ? 1 : 0;
}

std::string NoDisplayReason() {
  return video::NoDisplay();
}

int OpenGameScreen(const std::string& title) {
  VideoState& s = State();
  if (video::ScreenReady()) return 1;
  if (!video::StartVideo()) return 0;
  s.headless = video::HeadlessDriver();
  // Nobody sees a headless window: its pixels stay in plain memory, with no GL behind them.
  // On X11 a window's own pixels go to the server through shared memory, which beats
  // uploading them to OpenGL when the engine draws in memory anyway (it only does so when
  // there is no graphics driver to draw with).
  const char* driver = SDL_GetCurrentVideoDriver();
  if (s.headless || (driver != nullptr && SDL_strcmp(driver, "x11") == 0)) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  if (!video::OpenGameWindow(s, title)) {
    CloseGameScreen();
    return 0;
  }
  s.renderer = CreateRenderer(s.window);
  s.owner = std::this_thread::get_id();
  const int width = s.width;
  const int height = s.height;
  SDL_RendererInfo chosen{};
  if (s.renderer != nullptr && SDL_GetRendererInfo(s.renderer, &chosen) == 0 &&
      (chosen.flags & SDL_RENDERER_SOFTWARE) != 0) {
    // No acceleration: the back buffer is plain memory that the engine draws sprites into
    // itself (see SoftFrame.cpp); the window only shows it.
    SDL_DestroyRenderer(s.renderer);
    s.renderer = nullptr;
    if (!video::OpenSoftFrame(s, width, height)) {
      CloseGameScreen();
      return 0;
    }
  } else if (s.renderer != nullptr) {
    s.backBuffer = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     width, height);
    if (s.backBuffer != nullptr) SDL_SetTextureScaleMode(s.backBuffer, SDL_ScaleModeNearest);
  }
  if (s.frame == nullptr &&
      (s.backBuffer == nullptr || SDL_SetRenderTarget(s.renderer, s.backBuffer) != 0)) {
    CloseGameScreen();
    return 0;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(s.renderer, &info);
  // A frame in memory reaches the window through its surface, which never waits for the
  // retrace, whatever the software renderer's flags say.
  s.vsync = s.frame == nullptr && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  s.textureLimit =
      std::min(info.max_texture_width > 0 ? info.max_texture_width : video::kDefaultTextureLimit,
               info.max_texture_height > 0 ? info.max_texture_height : video::kDefaultTextureLimit);
  SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
  SDL_RenderClear(s.renderer);
  if (!s.headless) {
    // The game starts in the foreground, even on a desktop without a window manager.
    SDL_RaiseWindow(s.window);
    SDL_SetWindowInputFocus(s.window);
    SDL_PumpEvents();
  }
  bool focused = s.headless || (SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
  video::ResetInputForNewWindow(focused);
  SDL_StartTextInput();
  s.active = true;
  video::ConfigurePacing(s);
  return 1;
}

int ScreenWidth() {
  return video::ScreenReady() ? State().width : 0;
}
int ScreenHeight() {
  return video::ScreenReady() ? State().height : 0;
}
int MainWindowId() {
  return State().window != nullptr ? static_cast<int>(SDL_GetWindowID(State().window)) : 0;
}

void CloseGameScreen() {
  VideoState& s = State();
  video::ForgetTextTextures();
  video::ForgetSpriteTextures();
  if (s.backBuffer != nullptr) SDL_DestroyTexture(s.backBuffer);
  if (s.renderer != nullptr) SDL_DestroyRenderer(s.renderer);
  video::CloseSoftFrame(s);
  if (s.window != nullptr) SDL_DestroyWindow(s.window);
  s.backBuffer = nullptr;
  s.renderer = nullptr;
  s.window = nullptr;
  s.width = 0;
  s.height = 0;
  s.layout = video::ScreenLayout{};
  s.active = false;
  s.focused = false;
  if (s.initialised) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    s.initialised = false;
  }
}

uint32_t RgbColour(int r, int g, int b) {
  return uint32_t{Channel(r)} | (uint32_t{Channel(g)} << 8) | (uint32_t{Channel(b)} << 16);
}

void ClearFrame(uint32_t colourBgr) {
  VideoState& s = State();
  if (!video::ScreenReady()) return;
  // Clearing a frame in memory writes every pixel: a second clear to the same colour with
  // nothing drawn in between (the play loop clears twice a pass) would change nothing.
  if (s.frame != nullptr && s.frameUniform && s.frameColour == (colourBgr & 0xFFFFFF)) return;
  SDL_Color c = video::ColourFromBgr(colourBgr);
  SDL_SetRenderDrawColor(s.renderer, c.r, c.g, c.b, 255);
  SDL_RenderClear(s.renderer);
  s.frameUniform = s.frame != nullptr;
  s.frameColour = colourBgr & 0xFFFFFF;
}

namespace {

// The back buffer again at the screen's new size, black; pictures and fonts stay loaded.
bool RemakeBackBuffer(VideoState& s) {
  if (s.frame != nullptr) {
    video::ForgetTextTextures();
    video::ForgetSpriteTextures();
    if (s.renderer != nullptr) SDL_DestroyRenderer(s.renderer);
    s.renderer = nullptr;
    video::CloseSoftFrame(s);
    if (!video::OpenSoftFrame(s, s.width, s.height)) return false;
  } else {
    if (s.backBuffer != nullptr) SDL_DestroyTexture(s.backBuffer);
    s.backBuffer = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     s.width, s.height);
    if (s.backBuffer == nullptr) return false;
    SDL_SetTextureScaleMode(s.backBuffer, SDL_ScaleModeNearest);
    if (SDL_SetRenderTarget(s.renderer, s.backBuffer) != 0) return false;
  }
  s.frameUniform = false;
  SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
  SDL_RenderClear(s.renderer);
  return true;
}

// A full-screen game covers the desktop at whatever resolution it has now: the window takes
// the new size, the scale is chosen again and the game's screen gets the size that gives.
void FollowDesktopSize(VideoState& s) {
  SDL_Rect area{};
  if (!video::DesktopSizeChanged(s, area)) return;
  const int oldWidth = s.width;
  const int oldHeight = s.height;
  if (!video::FitWindowToDesktop(s, area)) return;
  ++s.desktopChanges;
  // The window's own pixels are gone with its old size, whatever the game's screen does.
  if (s.width == oldWidth && s.height == oldHeight && !s.frameIsWindow) return;
  if (!RemakeBackBuffer(s)) {
    // Nothing to draw on: frames are dropped as after a lost device.
    s.active = false;
  }
}

}  // namespace

void PresentFrame() {
  VideoState& s = State();
  if (!video::ScreenReady()) return;
  FollowDesktopSize(s);
  if (!video::ScreenReady()) return;
  video::PaceBeforePresent(s);
  video::RepaintWindow();
  ++s.presents;
  NoteClockPresent();
}

int ScreenIsActive() {
  // The focus alone: a present that failed once must not hold the game until the player
  // switches away and back.
  return video::ScreenReady() && State().focused ? 1 : 0;
}

int64_t FreeVideoMemory() {
  VideoState& s = State();
  if (!video::ScreenReady()) return 0;
  int64_t used =
      int64_t{s.width} * s.height * 4 + video::SpriteTextureBytes() + video::TextTextureBytes();
  return std::max<int64_t>(0, kAssumedVideoMemory - used);
}

void ShowMessageBox(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(title).c_str(), Cp1252ToUtf8(text).c_str());
  // Nobody could close a box on a screen nobody sees.
  if (video::HeadlessDriver()) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Cp1252ToUtf8(title).c_str(),
                           Cp1252ToUtf8(text).c_str(), State().window);
}

bool CopyTextToClipboard(const std::string& text) {
  if (!State().initialised) return false;
  return SDL_SetClipboardText(Cp1252ToUtf8(text).c_str()) == 0;
}

std::string ClipboardText() {
  if (!State().initialised || !SDL_HasClipboardText()) return "";
  char* utf8 = SDL_GetClipboardText();
  std::string text = utf8 != nullptr ? Utf8ToCp1252(utf8) : std::string();
  SDL_free(utf8);
  return text;
}

void HideSystemPointer() {
  if (State().initialised) SDL_ShowCursor(SDL_DISABLE);
}

int LoadSpriteImage(int slot, const std::string& path) {
  if (slot < 0 || slot >= kMaxSpriteSlots) return 0;
  std::vector<uint8_t> bytes;
  bool opened = false;
  bool read = ReadWholeFile(path, bytes, opened);
  if (!opened) return 0;  // a missing file leaves the slot as it was
  Sprite* sprite = SlotFor(slot);
  ReleaseSprite(*sprite);
  if (!read) return 0;
  SDL_Surface* pixels = video::DecodePicture(bytes, State().textureLimit);
  if (pixels == nullptr) return 0;
  InstallPicture(*sprite, pixels);
  return 1;
}

void FreeSpriteImage(int slot) {
  if (slot == -1) {
    for (Sprite& sprite : Sprites()) ReleaseSprite(sprite);
    return;
  }
  auto& sprites = Sprites();
  if (slot >= 0 && slot < static_cast<int>(sprites.size())) ReleaseSprite(sprites[slot]);
}

void GrabScreenToSprite(int slot, int x, int y, int width, int height) {
  VideoState& s = State();
  if (!video::ScreenReady() || width <= 0 || height <= 0) return;
  if (x < 0 || y < 0 || int64_t{x} + width > s.width || int64_t{y} + height > s.height) return;
  Sprite* sprite = SlotFor(slot);
  if (sprite == nullptr) return;
  SDL_Surface* pixels = sprite->pixels;
  bool reuse = pixels != nullptr && pixels->w == width && pixels->h == height;
  if (!reuse)
    pixels = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (pixels == nullptr) return;
  SDL_Rect area{x, y, width, height};
  if (SDL_RenderReadPixels(s.renderer, &area, SDL_PIXELFORMAT_ARGB8888, pixels->pixels,
                           pixels->pitch) != 0) {
    if (!reuse) SDL_FreeSurface(pixels);
    return;
  }
  video::ApplyKeyColour(pixels);
  if (reuse) {
    sprite->clip = SDL_Rect{0, 0, width, height};
    if (sprite->texture != nullptr &&
        SDL_UpdateTexture(sprite->texture, nullptr, pixels->pixels, pixels->pitch) != 0) {
      SDL_DestroyTexture(sprite->texture);
      sprite->texture = nullptr;
    }
    return;
  }
  InstallPicture(*sprite, pixels);
}

void SetSpriteClip(int slot, int left, int top, int width, int height) {
  Sprite* sprite = SpriteAt(slot);
  if (sprite == nullptr) return;
  const int imageWidth = sprite->pixels->w;
  const int imageHeight = sprite->pixels->h;
  if (left == -1) {
    left = 0;
    if (top == -1 && width == -1 && height == -1) {
      sprite->clip = SDL_Rect{0, 0, imageWidth, imageHeight};
      return;
    }
  }
  left = std::clamp(left, 0, imageWidth);
  top = std::clamp(top, 0, imageHeight);
  width = std::clamp(width, 0, imageWidth - left);
  height = std::clamp(height, 0, imageHeight - top);
  sprite->clip = SDL_Rect{left, top, width, height};
}

int SpriteWidthOf(int slot) {
  Sprite* sprite = SpriteAt(slot);
  return sprite != nullptr ? sprite->clip.w : 0;
}

int SpriteHeightOf(int slot) {
  Sprite* sprite = SpriteAt(slot);
  return sprite != nullptr ? sprite->clip.h : 0;
}

int DrawSprite(int slot, int x, int y) {
  return DrawSpriteWith(slot, x, y, SDL_BLENDMODE_NONE, SDL_Color{255, 255, 255, 255});
}

int DrawSpriteKeyed(int slot, int x, int y) {
  return DrawSpriteWith(slot, x, y, SDL_BLENDMODE_BLEND, SDL_Color{255, 255, 255, 255});
}

int DrawSpriteFaded(int slot, int x, int y, int alpha) {
  return DrawSpriteWith(slot, x, y, SDL_BLENDMODE_BLEND, SDL_Color{255, 255, 255, Channel(alpha)});
}

int DrawSpriteTinted(int slot, int x, int y, uint32_t tintRgb) {
  // Read as 0x00RRGGBB: the low byte scales blue.
  SDL_Color tint{static_cast<uint8_t>((tintRgb >> 16) & 0xFF),
                 static_cast<uint8_t>((tintRgb >> 8) & 0xFF), static_cast<uint8_t>(tintRgb & 0xFF),
                 255};
  return DrawSpriteWith(slot, x, y, SDL_BLENDMODE_BLEND, tint);
}

int DrawSpriteShadow(int slot, int x, int y) {
  return DrawSpriteWith(slot, x, y, SDL_BLENDMODE_BLEND, SDL_Color{0, 0, 0, 128});
}

int DrawAdditiveBox(int x, int y, int width, int height, int r, int g, int b) {
  VideoState& s = State();
  if (!video::ScreenReady()) return 0;
  SDL_Rect box{x, y, width, height};
  SDL_Rect screen{0, 0, s.width, s.height};
  SDL_Rect visible{};
  if (width <= 0 || height <= 0 || !SDL_IntersectRect(&box, &screen, &visible)) return 0;
  s.frameUniform = false;
  SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_ADD);
  SDL_SetRenderDrawColor(s.renderer, Channel(r), Channel(g), Channel(b), 255);
  bool drawn = SDL_RenderFillRect(s.renderer, &visible) == 0;
  SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_NONE);
  return drawn ? 1 : 0;
}

}  // namespace qm
