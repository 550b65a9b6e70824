#include "engine/SoundDecode.hpp"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qm::sound {
namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// An extensible format block is plain PCM when its sub-format GUID starts with tag 1.
bool IsPcmFormat(const uint8_t* fmt, uint32_t fmtSize) {
  uint16_t tag = Le16(fmt);
  if (tag == kFormatPcm) return true;
  return tag == kFormatExtensible && fmtSize >= 40 && Le16(fmt + 24) == kFormatPcm;
}

// ---- Ogg Vorbis read from memory ---------------------------------------------------------
struct MemoryStream {
  const uint8_t* bytes;
  size_t size;
  size_t at;
};

size_t ReadMemory(void* dest, size_t itemSize, size_t count, void* source) {
  auto* m = static_cast<MemoryStream*>(source);
  if (itemSize == 0) return 0;
  size_t items = std::min(count, (m->size - m->at) / itemSize);
  if (items == 0) return 0;
  std::memcpy(dest, m->bytes + m->at, items * itemSize);
  m->at += items * itemSize;
  return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* m = static_cast<MemoryStream*>(source);
  ogg_int64_t base = whence == SEEK_SET   ? 0
                     : whence == SEEK_CUR ? ogg_int64_t(m->at)
                                          : ogg_int64_t(m->size);
  if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
  ogg_int64_t target = base + offset;
  if (target < 0 || target > ogg_int64_t(m->size)) return -1;
  m->at = size_t(target);
  return 0;
}

long TellMemory(void* source) {
  return long(static_cast<MemoryStream*>(source)->at);
}

}  // namespace

bool DecodeWave(const uint8_t* bytes, size_t size, DecodedSound& out) {
  if (size < 20 || std::memcmp(bytes, "RIFF", 4) != 0) return false;
  if (std::memcmp(bytes + 12, "fmt ", 4) != 0) return false;
  uint32_t fmtSize = Le32(bytes + 16);
  if (fmtSize < 16 || fmtSize > size - 20) return false;
  const uint8_t* fmt = bytes + 20;
  if (!IsPcmFormat(fmt, fmtSize)) return false;
  int channels = Le16(fmt + 2);
  uint32_t rate = Le32(fmt + 4);
  int bits = Le16(fmt + 14);
  if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return false;
  if (rate < uint32_t(kMinRate) || rate > uint32_t(kMaxRate)) return false;

  // Chunks are word aligned: an odd-sized chunk is followed by one pad byte.
  size_t at = 20 + size_t(fmtSize) + (fmtSize & 1);
  while (true) {
    if (size < 8 || at > size - 8) return false;  // no "data" chunk
    uint32_t chunkSize = Le32(bytes + at + 4);
    if (std::memcmp(bytes + at, "data", 4) == 0) {
      if (chunkSize > size - at - 8) return false;  // cut short
      const uint8_t* data = bytes + at + 8;
      size_t frameBytes = size_t(channels) * (bits / 8);
      size_t frames = chunkSize / frameBytes;
      if (frames == 0) return false;
      out.channels = channels;
      out.rate = int(rate);
      out.samples.resize(frames * channels);
      for (size_t i = 0; i < frames * channels; ++i) {
        out.samples[i] =
            bits == 8 ? int16_t((int(data[i]) - 128) * 256) : int16_t(Le16(data + 2 * i));
      }
      return true;
    }
    if (chunkSize > size - at - 8) return false;  // runs past the end: no "data" after it
    at += 8 + size_t(chunkSize) + (chunkSize & 1);
  }
}

bool DecodeOggVorbis(const uint8_t* bytes, size_t size, DecodedSound& out, size_t maxBytes) {
  MemoryStream stream{bytes, size, 0};
  ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
  OggVorbis_File file;
  if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0) return false;  // freed by it

  const vorbis_info* info = ov_info(&file, -1);
  if (!info || info->channels < 1 || info->channels > 2 || info->rate < kMinRate ||
      info->rate > kMaxRate) {
    ov_clear(&file);
    return false;
  }
  const int channels = info->channels;
  const long rate = info->rate;

  std::vector<int16_t> samples;
  ogg_int64_t total = ov_pcm_total(&file, -1);
  size_t limitSamples = maxBytes / sizeof(int16_t);
  // The header's length is only a hint: a tiny file claiming hours must not reserve them.
  const size_t plausibleSamples = size * 64;
  if (total > 0)
    samples.reserve(std::min({size_t(total) * channels, limitSamples, plausibleSamples}));

  char buffer[8192];
  while (samples.size() < limitSamples) {
    int link = 0;
    long got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &link);
    if (got == OV_HOLE) continue;  // a gap in the stream: go on after it
    if (got <= 0) break;           // end of stream, or damage past which nothing decodes
    const vorbis_info* linkInfo = ov_info(&file, link);
    // A chained stream whose next part changes layout ends the sound there.
    if (!linkInfo || linkInfo->channels != channels || linkInfo->rate != rate) break;
    const auto* le = reinterpret_cast<const uint8_t*>(buffer);
    for (long i = 0; i + 1 < got; i += 2) samples.push_back(int16_t(Le16(le + i)));
  }
  ov_clear(&file);

  if (samples.size() > limitSamples) samples.resize(limitSamples);
  samples.resize(samples.size() / channels * channels);
  if (samples.empty()) return false;
  out.samples = std::move(samples);
  out.channels = channels;
  out.rate = int(rate);
  return true;
}

bool DecodeSoundFile(const uint8_t* bytes, size_t size, DecodedSound& out) {
  if (size >= 4 && std::memcmp(bytes, "RIFF", 4) == 0) return DecodeWave(bytes, size, out);
  return DecodeOggVorbis(bytes, size, out);
}

}  // namespace qm::sound
