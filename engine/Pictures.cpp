// BMP and JPEG pictures decoded from memory into 32-bit ARGB surfaces with the key colour.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "engine/VideoInternal.hpp"

// libjpeg's headers need FILE and size_t declared before them.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <jpeglib.h>
// Its message codes, to tell a picture cut short from other warnings.
#include <jerror.h>

namespace qm::video {
namespace {

uint32_t ReadLe32(const std::vector<uint8_t>& b, size_t at) {
  if (at + 4 > b.size()) return 0;
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

uint16_t ReadLe16(const std::vector<uint8_t>& b, size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

bool IsJpeg(const std::vector<uint8_t>& b) {
  return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

bool IsBmp(const std::vector<uint8_t>& b) {
  return b.size() >= 26 && b[0] == 'B' && b[1] == 'M';
}

bool SizeAcceptable(int64_t width, int64_t height, int sideLimit) {
  return width > 0 && height > 0 && width <= sideLimit && height <= sideLimit &&
         width * height <= kMaxPicturePixels;
}

// Reads the header before SDL does, so that a file claiming an absurd size is refused
// before any memory is set aside for its pixels.
bool BmpHeaderPlausible(const std::vector<uint8_t>& b, int sideLimit) {
  uint32_t headerSize = ReadLe32(b, 14);
  int64_t width = 0;
  int64_t height = 0;
  int bitsPerPixel = 0;
  uint32_t compression = 0;
  if (headerSize == 12) {
    width = ReadLe16(b, 18);
    height = ReadLe16(b, 20);
    bitsPerPixel = ReadLe16(b, 24);
  } else if (headerSize >= 40 && headerSize <= 1024) {
    width = static_cast<int32_t>(ReadLe32(b, 18));
    height = static_cast<int32_t>(ReadLe32(b, 22));
    bitsPerPixel = ReadLe16(b, 28);
    compression = ReadLe32(b, 30);
  } else {
    return false;
  }
  if (height < 0) height = -height;  // top-down rows
  if (!SizeAcceptable(width, height, sideLimit)) return false;
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  const int64_t fileBytes = static_cast<int64_t>(b.size());
  switch (compression) {
    case 0:  // plain rows
    case 3:  // bit fields
    case 6: {
      int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
      return rowBytes * height <= fileBytes;
    }
    case 1:  // run-length encoded: a run of two bytes gives at most 255 pixels
    case 2:
      return width * height <= fileBytes * 128;
    default:
      return false;
  }
}

SDL_Surface* ToKeyedArgb(SDL_Surface* loaded) {
  if (loaded == nullptr) return nullptr;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (argb != nullptr) ApplyKeyColour(argb);
  return argb;
}

SDL_Surface* DecodeBmp(const std::vector<uint8_t>& bytes, int sideLimit) {
  if (!BmpHeaderPlausible(bytes, sideLimit)) return nullptr;
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) return nullptr;
  return ToKeyedArgb(SDL_LoadBMP_RW(source, 1));
}

// libjpeg reports fatal errors by calling error_exit, which must not return.
struct JpegJob {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jmp_buf jump{};
  bool truncated = false;
  SDL_Surface* surface = nullptr;
  std::vector<uint8_t> row;
};

void JpegFail(j_common_ptr info) {
  auto* job = static_cast<JpegJob*>(info->client_data);
  longjmp(job->jump, 1);
}

// A picture cut in the middle is only a warning to libjpeg (it pads with grey); here it
// is a failure like any other damaged file. Other warnings stay silent.
void JpegMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  auto* job = static_cast<JpegJob*>(info->client_data);
  if (info->err->msg_code == JWRN_JPEG_EOF) job->truncated = true;
}

// Makes the picture's surface, then reads every scanline through job->row, where `pixel`
// turns each decoded pixel of `components` bytes into the surface's ARGB.
template <typename Pixel>
bool ConvertRows(JpegJob* job, int components, Pixel pixel) {
  const int width = static_cast<int>(job->info.output_width);
  const int height = static_cast<int>(job->info.output_height);
  job->surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (job->surface == nullptr) return false;
  job->row.resize(static_cast<size_t>(width) * static_cast<size_t>(components));
  while (job->info.output_scanline < job->info.output_height) {
    int y = static_cast<int>(job->info.output_scanline);
    JSAMPROW rows[1] = {job->row.data()};
    if (jpeg_read_scanlines(&job->info, rows, 1) != 1) return false;
    auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(job->surface->pixels) +
                                            static_cast<ptrdiff_t>(y) * job->surface->pitch);
    const uint8_t* in = job->row.data();
    for (int x = 0; x < width; ++x, in += components) out[x] = pixel(in);
  }
  jpeg_finish_decompress(&job->info);
  return !job->truncated;
}

// A print workflow's CMYK (or YCCK) picture: libjpeg hands out the inks, turned into RGB
// here. Adobe's files store the inks inverted (255 = no ink).
bool DecodeCmykRows(JpegJob* job) {
  job->info.out_color_space = JCS_CMYK;
  jpeg_start_decompress(&job->info);
  if (job->info.output_components != 4) return false;
  const bool inverted = job->info.saw_Adobe_marker != 0;
  return ConvertRows(job, 4, [inverted](const uint8_t* in) {
    // Light left after each ink: 255 - ink, which an inverted file stores as it is.
    uint32_t light[4];
    for (int i = 0; i < 4; ++i) light[i] = inverted ? in[i] : 255u - in[i];
    uint32_t r = (light[0] * light[3] + 127) / 255;
    uint32_t g = (light[1] * light[3] + 127) / 255;
    uint32_t b = (light[2] * light[3] + 127) / 255;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
  });
}

// Kept apart from any object with a destructor so that the long jump skips nothing.
bool RunJpegDecode(JpegJob* job, const std::vector<uint8_t>& bytes, int sideLimit) {
  if (setjmp(job->jump) != 0) return false;
  jpeg_mem_src(&job->info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&job->info, TRUE) != JPEG_HEADER_OK) return false;
  if (!SizeAcceptable(job->info.image_width, job->info.image_height, sideLimit)) return false;
  if (job->info.jpeg_color_space == JCS_CMYK || job->info.jpeg_color_space == JCS_YCCK) {
    return DecodeCmykRows(job);
  }
#if defined(JCS_EXTENSIONS)
  // libjpeg-turbo writes the surface's own byte order (blue, green, red, opaque alpha)
  // straight into its rows: a background decodes without a pass of its own over the pixels.
  job->info.out_color_space = JCS_EXT_BGRA;
  constexpr int kComponents = 4;
#else
  job->info.out_color_space = JCS_RGB;
  constexpr int kComponents = 3;
#endif
  jpeg_start_decompress(&job->info);
  if (job->info.output_components != kComponents) return false;
  if (kComponents == 4) {
    job->surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(job->info.output_width),
                                                  static_cast<int>(job->info.output_height), 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
    if (job->surface == nullptr) return false;
    while (job->info.output_scanline < job->info.output_height) {
      JSAMPROW rows[1] = {static_cast<uint8_t*>(job->surface->pixels) +
                          static_cast<ptrdiff_t>(job->info.output_scanline) * job->surface->pitch};
      if (jpeg_read_scanlines(&job->info, rows, 1) != 1) return false;
    }
    jpeg_finish_decompress(&job->info);
    return !job->truncated;
  }
  return ConvertRows(job, 3, [](const uint8_t* in) {
    return 0xFF000000u | (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
  });
}

SDL_Surface* DecodeJpeg(const std::vector<uint8_t>& bytes, int sideLimit) {
  auto job = std::make_unique<JpegJob>();
  job->info.err = jpeg_std_error(&job->errors);
  job->errors.error_exit = JpegFail;
  job->errors.emit_message = JpegMessage;
  jpeg_create_decompress(&job->info);
  job->info.client_data = job.get();
  bool ok = RunJpegDecode(job.get(), bytes, sideLimit);
  jpeg_destroy_decompress(&job->info);
  if (!ok) {
    if (job->surface != nullptr) SDL_FreeSurface(job->surface);
    return nullptr;
  }
  ApplyKeyColour(job->surface);
  return job->surface;
}

}  // namespace

void ApplyKeyColour(SDL_Surface* argb) {
  if (argb == nullptr || argb->format->format != SDL_PIXELFORMAT_ARGB8888) return;
  if (SDL_MUSTLOCK(argb) && SDL_LockSurface(argb) != 0) return;
  for (int y = 0; y < argb->h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(argb->pixels) +
                                            static_cast<ptrdiff_t>(y) * argb->pitch);
    int x = 0;
#if defined(__SSE2__)
    // Four pixels at a time: a background picture has millions of them.
    const __m128i colours = _mm_set1_epi32(0x00FFFFFF);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= argb->w; x += 4) {
      __m128i c =
          _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), colours);
      __m128i black = _mm_cmpeq_epi32(c, _mm_setzero_si128());
      _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x),
                       _mm_andnot_si128(black, _mm_or_si128(c, opaque)));
    }
#endif
    for (; x < argb->w; ++x) {
      uint32_t colour = row[x] & 0x00FFFFFFu;
      row[x] = colour == 0 ? 0u : (colour | 0xFF000000u);
    }
  }
  if (SDL_MUSTLOCK(argb)) SDL_UnlockSurface(argb);
}

SDL_Surface* DecodePicture(const std::vector<uint8_t>& bytes, int sideLimit) {
  if (IsJpeg(bytes)) return DecodeJpeg(bytes, sideLimit);
  if (IsBmp(bytes)) return DecodeBmp(bytes, sideLimit);
  return nullptr;
}

SDL_Color ColourFromBgr(uint32_t colourBgr) {
  return SDL_Color{static_cast<uint8_t>(colourBgr & 0xFF),
                   static_cast<uint8_t>((colourBgr >> 8) & 0xFF),
                   static_cast<uint8_t>((colourBgr >> 16) & 0xFF), 255};
}

}  // namespace qm::video
