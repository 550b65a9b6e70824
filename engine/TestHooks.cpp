// Video hooks for headless tests and tools: the screen size under the offscreen driver,
// reading the back buffer back, saving it as PNG, and counting presents. (Input injection
// lives with the input code; the audio hooks with the sound engine.)
#include "engine/TestHooks.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/VideoInternal.hpp"

namespace qm {
namespace {

// ---- A small PNG writer: 24-bit RGB rows in stored (uncompressed) deflate blocks ---------

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& pixels, int width, int height) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * 3));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      raw.push_back(static_cast<uint8_t>(p >> 16));
      raw.push_back(static_cast<uint8_t>(p >> 8));
      raw.push_back(static_cast<uint8_t>(p));
    }
  }
  std::vector<uint8_t> zlib = {0x78, 0x01};
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  size_t at = 0;
  do {
    size_t length = std::min<size_t>(65535, raw.size() - at);
    zlib.push_back(at + length == raw.size() ? 1 : 0);
    zlib.push_back(static_cast<uint8_t>(length));
    zlib.push_back(static_cast<uint8_t>(length >> 8));
    zlib.push_back(static_cast<uint8_t>(~length));
    zlib.push_back(static_cast<uint8_t>(~length >> 8));
    zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                raw.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  PutBe32(zlib, (b << 16) | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBe32(header, static_cast<uint32_t>(width));
  PutBe32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace

void SetHeadlessScreenSize(int width, int height) {
  video::VideoState& s = video::State();
  if (width > 0 && height > 0) {
    s.headlessWidth = width;
    s.headlessHeight = height;
  }
}

uint32_t ReadBackPixel(int x, int y) {
  video::VideoState& s = video::State();
  if (!video::ScreenReady() || x < 0 || y < 0 || x >= s.width || y >= s.height) return 0;
  uint32_t pixel = 0;
  SDL_Rect area{x, y, 1, 1};
  if (SDL_RenderReadPixels(s.renderer, &area, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0) return 0;
  return pixel & 0x00FFFFFFu;
}

std::vector<uint32_t> ReadBackBuffer() {
  video::VideoState& s = video::State();
  if (!video::ScreenReady()) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(s.width) * s.height);
  if (SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                           s.width * 4) != 0) {
    return {};
  }
  for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
  return pixels;
}

bool SaveBackBufferPng(const std::string& path) {
  std::vector<uint32_t> pixels = ReadBackBuffer();
  if (pixels.empty()) return false;
  std::vector<uint8_t> png = EncodePng(pixels, video::State().width, video::State().height);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

uint64_t PresentCount() {
  return video::State().presents;
}

bool WindowPixelSize(int& width, int& height) {
  video::VideoState& s = video::State();
  if (!video::ScreenReady() || s.window == nullptr) return false;
  SDL_GetWindowSize(s.window, &width, &height);
  return width > 0 && height > 0;
}

bool DesktopPixelSize(int display, int& width, int& height) {
  if (!video::StartVideo()) return false;
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return false;
  width = mode.w;
  height = mode.h;
  return width > 0 && height > 0;
}

std::string BackBufferKind() {
  video::VideoState& s = video::State();
  if (!video::ScreenReady()) return "";
  if (s.frame != nullptr) return "memory";
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(s.renderer, &info) != 0 || info.name == nullptr) return "render target";
  return std::string("render target (") + info.name + ")";
}

void WarpPointerInWindow(int x, int y) {
  video::VideoState& s = video::State();
  if (s.window == nullptr) return;
  SDL_WarpMouseInWindow(s.window, x, y);
  SDL_PumpEvents();
}

void PreferAcceleratedRenderer(bool prefer) {
  video::State().preferAccelerated = prefer;
  if (prefer) {
    // Empty: SDL's own order, accelerated renderers first, whatever the environment says.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "", SDL_HINT_OVERRIDE);
  } else {
    SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
  }
}

std::vector<uint32_t> ReadBackWindow() {
  video::VideoState& s = video::State();
  if (!video::ScreenReady() || s.window == nullptr) return {};
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  if (s.frame != nullptr) {
    SDL_Surface* shown = SDL_GetWindowSurface(s.window);
    if (shown == nullptr) return {};
    width = shown->w;
    height = shown->h;
    pixels.resize(static_cast<size_t>(width) * height);
    if (SDL_ConvertPixels(width, height, shown->format->format, shown->pixels, shown->pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) != 0) {
      return {};
    }
  } else {
    // The window's own framebuffer, which the last present drew (an offscreen window's is
    // single-buffered, so it still holds that picture).
    SDL_Texture* target = SDL_GetRenderTarget(s.renderer);
    if (SDL_SetRenderTarget(s.renderer, nullptr) != 0) return {};
    SDL_GetRendererOutputSize(s.renderer, &width, &height);
    pixels.resize(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0));
    bool read =
        !pixels.empty() && SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                                pixels.data(), width * 4) == 0;
    SDL_SetRenderTarget(s.renderer, target);
    if (!read) return {};
  }
  for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
  return pixels;
}

std::vector<uint32_t> ReadShownWindow(int& width, int& height) {
  video::VideoState& s = video::State();
  width = 0;
  height = 0;
  if (!video::ScreenReady() || s.window == nullptr) return {};
  std::vector<uint32_t> pixels;
  if (s.frame != nullptr) {
    // The frame itself when it is the window's pixels; asking SDL for the window's surface
    // then could replace them.
    SDL_Surface* shown = s.frameIsWindow ? s.frame : SDL_GetWindowSurface(s.window);
    if (shown == nullptr) return {};
    pixels.resize(static_cast<size_t>(shown->w) * shown->h);
    if (SDL_ConvertPixels(shown->w, shown->h, shown->format->format, shown->pixels, shown->pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels.data(), shown->w * 4) != 0) {
      return {};
    }
    width = shown->w;
    height = shown->h;
  } else {
    // What the present puts on the window, read before it is shown.
    SDL_GetWindowSize(s.window, &width, &height);
    pixels.resize(static_cast<size_t>(width) * height);
    video::DrawBackBufferToWindow(s);
    const bool read = SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                           pixels.data(), width * 4) == 0;
    SDL_SetRenderTarget(s.renderer, s.backBuffer);
    if (!read) {
      width = height = 0;
      return {};
    }
  }
  for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
  return pixels;
}

void MarkPresentFailed() {
  video::State().active = false;
}

bool SystemPointerShown() {
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

bool WindowIsBordered() {
  SDL_Window* window = video::State().window;
  return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS) == 0;
}

bool WindowIsResizable() {
  SDL_Window* window = video::State().window;
  return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE) != 0;
}

void SetPresentPacingForTest(bool underVirtualClock, int refreshHz) {
  video::VideoState& s = video::State();
  s.pacedUnderVirtualClock = underVirtualClock;
  s.pacingRefreshHz = refreshHz > 0 ? refreshHz : 0;
  if (video::ScreenReady()) video::ConfigurePacing(s);
}

int SpriteSizeLimit() {
  return video::State().textureLimit;
}

}  // namespace qm
