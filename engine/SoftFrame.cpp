// The back buffer in plain memory, for a display without graphics acceleration. Sprites are
// composed into it by the loops below: SDL's generic software blitter for tinted and faded
// copies divides every channel of every pixel, which cost more than a whole frame's budget
// on a screen-filling Board. Text, boxes and read-backs still go through SDL's software
// renderer, drawing onto the same memory; a present shows it in the window (SoftPresent.cpp).
//
// The arithmetic is SDL's own, to the pixel: a tinted or faded copy gives exactly what SDL's
// software renderer gave (the engine tests compare the two).
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QM_SOFT_FRAME_AVX2 1
#endif

#include "engine/VideoInternal.hpp"

namespace qm::video {
namespace {

// Exact x / 255 for 0 <= x <= 65025 (every product of two channels).
inline uint32_t Div255(uint32_t x) {
  return (x + 1 + (x >> 8)) >> 8;
}

struct Modulation {
  uint32_t r, g, b, a;
  bool colour;  // a colour other than white
  bool alpha;   // an alpha other than opaque
};

// One pixel of a modulated copy: colour and alpha scaled, then (blending) the source laid
// over the destination by its alpha, as SDL's blitter does it.
inline uint32_t ModulatedPixel(uint32_t s, uint32_t d, const Modulation& m, bool blend) {
  uint32_t sr = (s >> 16) & 0xFF, sg = (s >> 8) & 0xFF, sb = s & 0xFF, sa = s >> 24;
  if (m.colour) {
    sr = Div255(sr * m.r);
    sg = Div255(sg * m.g);
    sb = Div255(sb * m.b);
  }
  if (m.alpha) sa = Div255(sa * m.a);
  if (!blend) return (sa << 24) | (sr << 16) | (sg << 8) | sb;
  if (sa < 255) {
    sr = Div255(sr * sa);
    sg = Div255(sg * sa);
    sb = Div255(sb * sa);
  }
  const uint32_t keep = 255 - sa;
  const uint32_t dr = sr + Div255(keep * ((d >> 16) & 0xFF));
  const uint32_t dg = sg + Div255(keep * ((d >> 8) & 0xFF));
  const uint32_t db = sb + Div255(keep * (d & 0xFF));
  const uint32_t da = sa + Div255(keep * (d >> 24));
  return (da << 24) | (dr << 16) | (dg << 8) | db;
}

// One pixel of a plain alpha blend (no modulation), as SDL's per-pixel alpha blitter does
// it: opaque copies, transparent keeps, and in between an approximation by 256ths.
inline uint32_t AlphaPixel(uint32_t s, uint32_t d) {
  const uint32_t alpha = s >> 24;
  if (alpha == 0) return d;
  if (alpha == 255) return s;
  uint32_t s1 = s & 0xFF00FF;
  uint32_t d1 = d & 0xFF00FF;
  d1 = (d1 + ((s1 - d1) * alpha >> 8)) & 0xFF00FF;
  uint32_t s2 = s & 0xFF00;
  uint32_t d2 = d & 0xFF00;
  d2 = (d2 + ((s2 - d2) * alpha >> 8)) & 0xFF00;
  const uint32_t dalpha = alpha + ((d >> 24) * (alpha ^ 0xFF) >> 8);
  return d1 | d2 | (dalpha << 24);
}

#if defined(QM_SOFT_FRAME_AVX2)
// The same loops eight pixels at a time, for processors that have AVX2 (chosen at run time).
#define QM_AVX2 __attribute__((target("avx2")))

QM_AVX2 inline __m256i Div255x16(__m256i x) {
  return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<int16_t>(0x8081))),
                           7);
}

QM_AVX2 inline __m256i Tint8(__m256i s, __m256i mod) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i low = Div255x16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), mod));
  __m256i high = Div255x16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), mod));
  return _mm256_packus_epi16(low, high);
}

QM_AVX2 inline __m256i ModulateBlend4(__m256i s, __m256i d, __m256i mod, __m256i alphaLanes) {
  __m256i sm = Div255x16(_mm256_mullo_epi16(s, mod));
  __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sm, 0xFF), 0xFF);
  __m256i premultiplied = Div255x16(_mm256_mullo_epi16(sm, a));
  premultiplied = _mm256_blendv_epi8(premultiplied, sm, alphaLanes);
  __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
  return _mm256_add_epi16(premultiplied, Div255x16(_mm256_mullo_epi16(keep, d)));
}

// Returns how many pixels it did (a multiple of 8); the caller finishes the row.
QM_AVX2 int BlendRowAvx2(const uint32_t* src, uint32_t* dst, int n) {
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i a = _mm256_and_si256(s, alphaMask);
    __m256i opaque = _mm256_cmpeq_epi32(a, alphaMask);
    __m256i clear = _mm256_cmpeq_epi32(a, _mm256_setzero_si256());
    const uint32_t opaqueBits = static_cast<uint32_t>(_mm256_movemask_epi8(opaque));
    const uint32_t clearBits = static_cast<uint32_t>(_mm256_movemask_epi8(clear));
    if (clearBits == 0xFFFFFFFFu) continue;
    if ((opaqueBits | clearBits) != 0xFFFFFFFFu) {
      for (int k = i; k < i + 8; ++k) dst[k] = AlphaPixel(src[k], dst[k]);
      continue;
    }
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i), opaque, s);
  }
  return i;
}

QM_AVX2 int ModulateBlendRowAvx2(const uint32_t* src, uint32_t* dst, int n, const Modulation& m) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const auto b = static_cast<int16_t>(m.b), g = static_cast<int16_t>(m.g);
  const auto r = static_cast<int16_t>(m.r), al = static_cast<int16_t>(m.a);
  const __m256i mod = _mm256_setr_epi16(b, g, r, al, b, g, r, al, b, g, r, al, b, g, r, al);
  const __m256i alphaLanes = _mm256_setr_epi16(0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    __m256i a = _mm256_and_si256(s, alphaMask);
    const uint32_t clearBits =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)));
    if (clearBits == 0xFFFFFFFFu) continue;
    if (!m.alpha) {
      __m256i opaque = _mm256_cmpeq_epi32(a, alphaMask);
      const uint32_t opaqueBits = static_cast<uint32_t>(_mm256_movemask_epi8(opaque));
      if ((opaqueBits | clearBits) == 0xFFFFFFFFu) {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i), opaque, Tint8(s, mod));
        continue;
      }
    }
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    __m256i low = ModulateBlend4(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), mod,
                                 alphaLanes);
    __m256i high = ModulateBlend4(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), mod,
                                  alphaLanes);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(low, high));
  }
  return i;
}

bool HaveAvx2() {
  static const bool have = __builtin_cpu_supports("avx2");
  return have;
}
#endif

void BlendRow(const uint32_t* src, uint32_t* dst, int n) {
  int i = 0;
#if defined(QM_SOFT_FRAME_AVX2)
  if (HaveAvx2()) i = BlendRowAvx2(src, dst, n);
#endif
#if defined(__SSE2__)
  // Key-coloured pictures are wholly opaque or wholly transparent pixel by pixel: four at a
  // time they are a select, and only a group with partial alpha takes the slow way.
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i a = _mm_and_si128(s, alphaMask);
    __m128i opaque = _mm_cmpeq_epi32(a, alphaMask);
    __m128i clear = _mm_cmpeq_epi32(a, _mm_setzero_si128());
    int opaqueBits = _mm_movemask_epi8(opaque);
    int clearBits = _mm_movemask_epi8(clear);
    if (clearBits == 0xFFFF) continue;
    if (opaqueBits == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
      continue;
    }
    if ((opaqueBits | clearBits) == 0xFFFF) {
      __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      __m128i out = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, d));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
      continue;
    }
    for (int k = i; k < i + 4; ++k) dst[k] = AlphaPixel(src[k], dst[k]);
  }
#endif
  for (; i < n; ++i) dst[i] = AlphaPixel(src[i], dst[i]);
}

#if defined(__SSE2__)
// x / 255 on eight unsigned 16-bit lanes: x * 32897 / 2^23 is exact for every 16-bit x.
inline __m128i Div255x8(__m128i x) {
  return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<int16_t>(0x8081))), 7);
}

// Four pixels with their colours scaled (alpha scaled by 255: unchanged).
inline __m128i Tint4(__m128i s, __m128i mod) {
  const __m128i zero = _mm_setzero_si128();
  __m128i low = Div255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), mod));
  __m128i high = Div255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), mod));
  return _mm_packus_epi16(low, high);
}

// Two pixels in 16-bit lanes (B, G, R, A, B, G, R, A) through ModulatedPixel's blend.
inline __m128i ModulateBlend2(__m128i s, __m128i d, __m128i mod, __m128i alphaLanes) {
  __m128i sm = Div255x8(_mm_mullo_epi16(s, mod));
  // Each pixel's alpha in its four lanes.
  __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sm, 0xFF), 0xFF);
  // Colours are scaled by their alpha, the alpha itself is not.
  __m128i premultiplied = Div255x8(_mm_mullo_epi16(sm, a));
  premultiplied =
      _mm_or_si128(_mm_and_si128(alphaLanes, sm), _mm_andnot_si128(alphaLanes, premultiplied));
  __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), a);
  return _mm_add_epi16(premultiplied, Div255x8(_mm_mullo_epi16(keep, d)));
}
#endif

void ModulateRow(const uint32_t* src, uint32_t* dst, int n, const Modulation& m, bool blend) {
  int i = 0;
#if defined(QM_SOFT_FRAME_AVX2)
  if (blend && HaveAvx2()) i = ModulateBlendRowAvx2(src, dst, n, m);
#endif
#if defined(__SSE2__)
  if (blend) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i mod = _mm_setr_epi16(static_cast<int16_t>(m.b), static_cast<int16_t>(m.g),
                                       static_cast<int16_t>(m.r), static_cast<int16_t>(m.a),
                                       static_cast<int16_t>(m.b), static_cast<int16_t>(m.g),
                                       static_cast<int16_t>(m.r), static_cast<int16_t>(m.a));
    const __m128i alphaLanes = _mm_setr_epi16(0, 0, 0, -1, 0, 0, 0, -1);
    for (; i + 4 <= n; i += 4) {
      __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), zero);
      const int clearBits = _mm_movemask_epi8(clear);
      if (clearBits == 0xFFFF) continue;  // nothing of the picture here
      if (!m.alpha) {
        // A tint of a key-coloured picture: opaque pixels take the tinted colour, clear ones
        // keep the frame; what the blend formula gives for alphas of 255 and 0.
        __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask);
        const int opaqueBits = _mm_movemask_epi8(opaque);
        if (opaqueBits == 0xFFFF) {
          _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Tint4(s, mod));
          continue;
        }
        if ((opaqueBits | clearBits) == 0xFFFF) {
          __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
          __m128i t = Tint4(s, mod);
          _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                           _mm_or_si128(_mm_and_si128(opaque, t), _mm_andnot_si128(opaque, d)));
          continue;
        }
      }
      __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      __m128i low =
          ModulateBlend2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), mod, alphaLanes);
      __m128i high =
          ModulateBlend2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), mod, alphaLanes);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(low, high));
    }
  }
#endif
  for (; i < n; ++i) dst[i] = ModulatedPixel(src[i], dst[i], m, blend);
}

}  // namespace

int BlitSprite(SDL_Surface* target, SDL_Surface* picture, const SDL_Rect& clip, int x, int y,
               SDL_BlendMode blend, SDL_Color modulate) {
  if (target == nullptr || picture == nullptr || clip.w <= 0 || clip.h <= 0) return 0;
  // The target's alpha never changes its colours, so a window's own pixels (RGB888) serve too.
  const uint32_t targetFormat = target->format->format;
  if (picture->format->format != SDL_PIXELFORMAT_ARGB8888 ||
      (targetFormat != SDL_PIXELFORMAT_ARGB8888 && targetFormat != SDL_PIXELFORMAT_RGB888)) {
    return 0;
  }
  // The part of the clip that lands on the target.
  int left = clip.x, top = clip.y, width = clip.w, height = clip.h;
  if (x < 0) {
    left -= x;
    width += x;
    x = 0;
  }
  if (y < 0) {
    top -= y;
    height += y;
    y = 0;
  }
  width = std::min(width, target->w - x);
  height = std::min(height, target->h - y);
  if (width <= 0 || height <= 0) return 1;  // drawn, all of it outside

  const Modulation m{modulate.r,
                     modulate.g,
                     modulate.b,
                     modulate.a,
                     (modulate.r & modulate.g & modulate.b) != 255,
                     modulate.a != 255};
  const bool blending = blend == SDL_BLENDMODE_BLEND;
  if (!blending && blend != SDL_BLENDMODE_NONE) return 0;
  const auto* srcBase = static_cast<const uint8_t*>(picture->pixels);
  auto* dstBase = static_cast<uint8_t*>(target->pixels);
  for (int row = 0; row < height; ++row) {
    const auto* src = reinterpret_cast<const uint32_t*>(
                          srcBase + static_cast<ptrdiff_t>(top + row) * picture->pitch) +
                      left;
    auto* dst =
        reinterpret_cast<uint32_t*>(dstBase + static_cast<ptrdiff_t>(y + row) * target->pitch) + x;
    if (m.colour || m.alpha) {
      ModulateRow(src, dst, width, m, blending);
    } else if (blending) {
      BlendRow(src, dst, width);
    } else {
      std::memcpy(dst, src, static_cast<size_t>(width) * 4);
    }
  }
  return 1;
}

}  // namespace qm::video
