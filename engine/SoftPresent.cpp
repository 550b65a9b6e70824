// Showing the back buffer in memory. At scale 1 the frame is the window's own pixels (on X11,
// memory shared with the server), so a present copies nothing itself; at a larger scale each
// game pixel is written once per screen pixel it covers, in one pass with vector stores that
// bypass the cache, since the server reads the picture from memory right after.
#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/VideoInternal.hpp"

namespace qm::video {
namespace {

bool Is32BitRgb(const SDL_Surface* surface) {
  const uint32_t format = surface->format->format;
  return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
}

bool AttachRenderer(VideoState& s) {
  s.renderer = SDL_CreateSoftwareRenderer(s.frame);
  if (s.renderer == nullptr) return false;
  SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_NONE);
  return true;
}

// The window's pixels are about to be replaced (the window changed size, or SDL dropped
// them): the frame moves to memory of its own, picture and all, and the renderer with it.
bool DetachFrameFromWindow(VideoState& s) {
  SDL_Surface* own =
      SDL_CreateRGBSurfaceWithFormat(0, s.frame->w, s.frame->h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (own == nullptr) return false;
  SDL_SetSurfaceBlendMode(s.frame, SDL_BLENDMODE_NONE);
  SDL_BlitSurface(s.frame, nullptr, own, nullptr);
  ForgetTextTextures();
  if (s.renderer != nullptr) SDL_DestroyRenderer(s.renderer);
  s.renderer = nullptr;
  s.frame = own;
  s.frameIsWindow = false;
  return AttachRenderer(s);
}

// One source row widened: every pixel written scale times side by side.
void WidenRow(const uint32_t* from, uint32_t* to, int width, int scale) {
  int x = 0;
#if defined(__SSE2__)
  if (scale >= 2 && scale <= 4) {
    for (; x + 4 <= width; x += 4) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
      auto* out = reinterpret_cast<__m128i*>(to + static_cast<ptrdiff_t>(x) * scale);
      if (scale == 2) {
        _mm_storeu_si128(out, _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(v, v));
      } else if (scale == 3) {
        _mm_storeu_si128(out, _mm_shuffle_epi32(v, 0x40));      // a a a b
        _mm_storeu_si128(out + 1, _mm_shuffle_epi32(v, 0xA5));  // b b c c
        _mm_storeu_si128(out + 2, _mm_shuffle_epi32(v, 0xFE));  // c d d d
      } else {
        _mm_storeu_si128(out, _mm_shuffle_epi32(v, 0x00));
        _mm_storeu_si128(out + 1, _mm_shuffle_epi32(v, 0x55));
        _mm_storeu_si128(out + 2, _mm_shuffle_epi32(v, 0xAA));
        _mm_storeu_si128(out + 3, _mm_shuffle_epi32(v, 0xFF));
      }
    }
  }
#endif
  for (; x < width; ++x) std::fill_n(to + static_cast<ptrdiff_t>(x) * scale, scale, from[x]);
}

// A row of pixels to memory nobody reads back soon.
void StreamRow(const uint32_t* from, uint32_t* to, int count) {
  int i = 0;
#if defined(__SSE2__)
  for (; i < count && (reinterpret_cast<uintptr_t>(to + i) & 15) != 0; ++i) to[i] = from[i];
  for (; i + 4 <= count; i += 4) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
  }
#endif
  if (i < count) std::memcpy(to + i, from + i, static_cast<size_t>(count - i) * 4);
}

// Black outside the picture's rectangle.
void ClearAround(SDL_Surface* shown, const SDL_Rect& picture) {
  const uint32_t black = SDL_MapRGB(shown->format, 0, 0, 0);
  const int right = picture.x + picture.w;
  const int bottom = picture.y + picture.h;
  const SDL_Rect strips[] = {
      {0, 0, shown->w, picture.y},
      {0, bottom, shown->w, shown->h - bottom},
      {0, picture.y, picture.x, picture.h},
      {right, picture.y, shown->w - right, picture.h},
  };
  for (const SDL_Rect& strip : strips) {
    if (strip.w > 0 && strip.h > 0) SDL_FillRect(shown, &strip, black);
  }
}

}  // namespace

void ScaleUpPixels(const uint32_t* from, int fromPitch, int width, int height, uint32_t* to,
                   int toPitch, int scale) {
  if (width <= 0 || height <= 0 || scale < 1 || scale > 8) return;
  const int wide = width * scale;
  // One widened row, kept in the cache and streamed out scale times.
  static std::vector<uint32_t>* rowStore = new std::vector<uint32_t>();
  if (rowStore->size() < static_cast<size_t>(wide) + 4)
    rowStore->resize(static_cast<size_t>(wide) + 4);
  uint32_t* row = rowStore->data();
  const auto* source = reinterpret_cast<const uint8_t*>(from);
  auto* target = reinterpret_cast<uint8_t*>(to);
  for (int y = 0; y < height; ++y) {
    const auto* line =
        reinterpret_cast<const uint32_t*>(source + static_cast<ptrdiff_t>(y) * fromPitch);
    const uint32_t* widened = line;
    if (scale > 1) {
      WidenRow(line, row, width, scale);
      widened = row;
    }
    for (int k = 0; k < scale; ++k) {
      auto* out =
          reinterpret_cast<uint32_t*>(target + (static_cast<ptrdiff_t>(y) * scale + k) * toPitch);
      StreamRow(widened, out, wide);
    }
  }
#if defined(__SSE2__)
  _mm_sfence();  // the streamed pixels are all out before the server is told to read them
#endif
}

bool OpenSoftFrame(VideoState& s, int width, int height) {
  const ScreenLayout& layout = s.layout;
  if (layout.scale == 1 && layout.windowWidth == width && layout.windowHeight == height) {
    // Drawn where the window's pixels are: the present has nothing to copy.
    SDL_Surface* shown = SDL_GetWindowSurface(s.window);
    if (shown != nullptr && Is32BitRgb(shown) && shown->w == width && shown->h == height) {
      s.frame = shown;
      s.frameIsWindow = true;
      if (AttachRenderer(s)) return true;
      s.frame = nullptr;
      s.frameIsWindow = false;
    }
  }
  s.frame = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (s.frame == nullptr) return false;
  if (!AttachRenderer(s)) {
    SDL_FreeSurface(s.frame);
    s.frame = nullptr;
    return false;
  }
  return true;
}

void CloseSoftFrame(VideoState& s) {
  // The window's own pixels belong to the window.
  if (s.frame != nullptr && !s.frameIsWindow) SDL_FreeSurface(s.frame);
  s.frame = nullptr;
  s.frameIsWindow = false;
}

bool PresentSoftFrame(VideoState& s) {
  if (s.frame == nullptr || s.window == nullptr) return false;
  int windowWidth = 0;
  int windowHeight = 0;
  SDL_GetWindowSize(s.window, &windowWidth, &windowHeight);
  ScreenLayout& layout = s.layout;
  if (windowWidth != layout.windowWidth || windowHeight != layout.windowHeight) {
    // Only a window manager or a desktop change resizes the window: the game's screen keeps
    // its size and scale, centred in what the window now is.
    if (s.frameIsWindow && !DetachFrameFromWindow(s)) return false;
    layout = LayOutScreen(windowWidth, windowHeight, layout.scale, s.width, s.height);
  }
  if (s.frameIsWindow) {
    if (SDL_UpdateWindowSurface(s.window) == 0) return true;
    if (!DetachFrameFromWindow(s)) return false;
  }
  SDL_Surface* shown = SDL_GetWindowSurface(s.window);
  if (shown == nullptr) return false;
  const int scale = layout.scale;
  // The part of the picture that fits: all of it unless the window became smaller.
  const int columns = std::min(s.frame->w, (shown->w - layout.offsetX) / scale);
  const int rows = std::min(s.frame->h, (shown->h - layout.offsetY) / scale);
  if (columns <= 0 || rows <= 0) return SDL_UpdateWindowSurface(s.window) == 0;
  SDL_Rect picture{layout.offsetX, layout.offsetY, columns * scale, rows * scale};
  ClearAround(shown, picture);
  if (Is32BitRgb(shown)) {
    // Same byte order; the window ignores the alpha byte.
    auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(shown->pixels) +
                                           static_cast<ptrdiff_t>(picture.y) * shown->pitch) +
               picture.x;
    ScaleUpPixels(static_cast<const uint32_t*>(s.frame->pixels), s.frame->pitch, columns, rows, to,
                  shown->pitch, scale);
  } else {
    SDL_Rect part{0, 0, columns, rows};
    SDL_SetSurfaceBlendMode(s.frame, SDL_BLENDMODE_NONE);
    if (SDL_BlitScaled(s.frame, &part, shown, &picture) != 0) return false;
  }
  return SDL_UpdateWindowSurface(s.window) == 0;
}

}  // namespace qm::video
