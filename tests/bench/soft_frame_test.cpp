// The engine's own sprite loops for a back buffer in memory give, pixel for pixel, what SDL's
// software blitter gives for the same blend mode and modulation.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/VideoInternal.hpp"

namespace qm::test {
namespace {

struct Surfaces {
  SDL_Surface* picture = nullptr;
  SDL_Surface* ours = nullptr;
  SDL_Surface* sdls = nullptr;
  ~Surfaces() {
    SDL_FreeSurface(picture);
    SDL_FreeSurface(ours);
    SDL_FreeSurface(sdls);
  }
};

SDL_Surface* Argb(int w, int h) {
  return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
}

// Random pixels; with keyedOnly every alpha is 0 or 255, as in every loaded or grabbed picture.
void Fill(SDL_Surface* s, std::mt19937& random, bool keyedOnly) {
  for (int y = 0; y < s->h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) {
      uint32_t v = random();
      if (keyedOnly) v = (v & 1) ? (v | 0xFF000000u) : (v & 0x00FFFFFFu);
      row[x] = v;
    }
  }
}

std::string FirstDifference(SDL_Surface* a, SDL_Surface* b) {
  for (int y = 0; y < a->h; ++y) {
    for (int x = 0; x < a->w; ++x) {
      uint32_t pa = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(a->pixels) + y * a->pitch)[x];
      uint32_t pb = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(b->pixels) + y * b->pitch)[x];
      // The back buffer's alpha is never seen (presents and grabs ignore it).
      if ((pa & 0xFFFFFF) != (pb & 0xFFFFFF)) {
        char text[96];
        std::snprintf(text, sizeof text, "at %d,%d ours %08X SDL %08X", x, y, pa, pb);
        return text;
      }
    }
  }
  return "";
}

struct Case {
  const char* what;
  SDL_BlendMode blend;
  SDL_Color modulate;
  bool keyedOnly;  // SDL's plain alpha blend is only exact for opaque or clear pixels
};

const Case kCases[] = {
    {"opaque copy", SDL_BLENDMODE_NONE, {255, 255, 255, 255}, false},
    {"keyed copy", SDL_BLENDMODE_BLEND, {255, 255, 255, 255}, true},
    {"tinted", SDL_BLENDMODE_BLEND, {200, 120, 33, 255}, false},
    {"tinted keyed", SDL_BLENDMODE_BLEND, {99, 99, 99, 255}, true},
    {"faded", SDL_BLENDMODE_BLEND, {255, 255, 255, 190}, false},
    {"faded to nothing", SDL_BLENDMODE_BLEND, {255, 255, 255, 0}, true},
    {"shadow", SDL_BLENDMODE_BLEND, {0, 0, 0, 128}, false},
    {"tinted and faded", SDL_BLENDMODE_BLEND, {17, 250, 128, 77}, false},
    {"tinted opaque copy", SDL_BLENDMODE_NONE, {10, 200, 255, 255}, false},
    {"one channel off white", SDL_BLENDMODE_BLEND, {255, 254, 255, 255}, true},
};

TEST(SoftFrame, SpriteLoopsMatchSdlBlitterPixelForPixel) {
  std::mt19937 random(12345);
  // Odd sizes and offsets exercise the four-pixel groups and their remainders, the clip
  // and the edges of the target on every side.
  const SDL_Rect clips[] = {{0, 0, 37, 23}, {5, 3, 30, 19}, {0, 0, 1, 1}};
  const SDL_Point places[] = {{11, 7}, {-9, -4}, {80, 50}, {95, 61}, {0, 0}};
  for (const Case& c : kCases) {
    for (const SDL_Rect& clip : clips) {
      for (const SDL_Point& at : places) {
        Surfaces s;
        s.picture = Argb(37, 23);
        s.ours = Argb(101, 67);
        s.sdls = Argb(101, 67);
        Fill(s.picture, random, c.keyedOnly);
        Fill(s.ours, random, false);
        SDL_SetSurfaceBlendMode(s.ours, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(s.ours, nullptr, s.sdls, nullptr);  // plain copy: same start
        SDL_SetSurfaceBlendMode(s.picture, c.blend);
        SDL_SetSurfaceColorMod(s.picture, c.modulate.r, c.modulate.g, c.modulate.b);
        SDL_SetSurfaceAlphaMod(s.picture, c.modulate.a);
        SDL_Rect from = clip;
        SDL_Rect to{at.x, at.y, clip.w, clip.h};
        ASSERT_EQ(SDL_BlitSurface(s.picture, &from, s.sdls, &to), 0) << SDL_GetError();
        EXPECT_EQ(video::BlitSprite(s.ours, s.picture, clip, at.x, at.y, c.blend, c.modulate), 1);
        EXPECT_EQ(FirstDifference(s.ours, s.sdls), "")
            << c.what << ", clip " << clip.x << "," << clip.y << " " << clip.w << "x" << clip.h
            << " at " << at.x << "," << at.y;
      }
    }
  }
}

TEST(SoftFrame, SpritesWhollyOutsideOrEmptyLeaveTheFrameAlone) {
  std::mt19937 random(7);
  Surfaces s;
  s.picture = Argb(16, 16);
  s.ours = Argb(40, 30);
  s.sdls = Argb(40, 30);
  Fill(s.picture, random, true);
  Fill(s.ours, random, false);
  SDL_SetSurfaceBlendMode(s.ours, SDL_BLENDMODE_NONE);
  SDL_BlitSurface(s.ours, nullptr, s.sdls, nullptr);
  const SDL_Color white{255, 255, 255, 255};
  video::BlitSprite(s.ours, s.picture, SDL_Rect{0, 0, 16, 16}, -16, 0, SDL_BLENDMODE_NONE, white);
  video::BlitSprite(s.ours, s.picture, SDL_Rect{0, 0, 16, 16}, 40, 29, SDL_BLENDMODE_NONE, white);
  EXPECT_EQ(
      video::BlitSprite(s.ours, s.picture, SDL_Rect{0, 0, 0, 16}, 3, 3, SDL_BLENDMODE_NONE, white),
      0);
  EXPECT_EQ(FirstDifference(s.ours, s.sdls), "");
}

}  // namespace
}  // namespace qm::test
