#include "SoundSynth.hpp"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace qm::assets {

int SynthRandom::Below(int n) {
  return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n));
}

struct Biquad::Coefficients {
  double b0, b1, b2, a0, a1, a2;
};

Biquad::Coefficients Biquad::Prewarp(double rate, double hz, double q) {
  const double w = 2.0 * kPi * std::min(hz, rate * 0.45) / rate;
  const double alpha = std::sin(w) / (2.0 * q);
  return {0, 0, 0, 1.0 + alpha, -2.0 * std::cos(w), 1.0 - alpha};
}

Biquad Biquad::Normalised(const Coefficients& c, double b0, double b1, double b2) {
  Biquad f;
  f.b0_ = b0 / c.a0;
  f.b1_ = b1 / c.a0;
  f.b2_ = b2 / c.a0;
  f.a1_ = c.a1 / c.a0;
  f.a2_ = c.a2 / c.a0;
  return f;
}

Biquad Biquad::LowPass(double rate, double hz, double q) {
  Coefficients c = Prewarp(rate, hz, q);
  const double cw = -c.a1 / 2.0;
  return Normalised(c, (1.0 - cw) / 2.0, 1.0 - cw, (1.0 - cw) / 2.0);
}

Biquad Biquad::HighPass(double rate, double hz, double q) {
  Coefficients c = Prewarp(rate, hz, q);
  const double cw = -c.a1 / 2.0;
  return Normalised(c, (1.0 + cw) / 2.0, -(1.0 + cw), (1.0 + cw) / 2.0);
}

Biquad Biquad::BandPass(double rate, double hz, double q) {
  Coefficients c = Prewarp(rate, hz, q);
  const double alpha = c.a0 - 1.0;
  return Normalised(c, alpha, 0, -alpha);
}

void Biquad::Retune(const Biquad& other) {
  b0_ = other.b0_;
  b1_ = other.b1_;
  b2_ = other.b2_;
  a1_ = other.a1_;
  a2_ = other.a2_;
}

float Biquad::Run(float x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

double AttackDecay(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

void FadeEdges(std::vector<float>& samples, int channels, int fadeInFrames, int fadeOutFrames) {
  const int frames = static_cast<int>(samples.size()) / channels;
  for (int i = 0; i < frames; ++i) {
    double g = 1.0;
    if (i < fadeInFrames) g *= 0.5 - 0.5 * std::cos(kPi * i / fadeInFrames);
    const int fromEnd = frames - 1 - i;
    if (fromEnd < fadeOutFrames) g *= 0.5 - 0.5 * std::cos(kPi * fromEnd / fadeOutFrames);
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(i * channels + c)] *= static_cast<float>(g);
  }
}

double PeakOf(const std::vector<float>& samples) {
  double peak = 0;
  for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  return peak;
}

void NormalizePeak(std::vector<float>& samples, double peak) {
  const double current = PeakOf(samples);
  if (current <= 0) return;
  const float gain = static_cast<float>(peak / current);
  for (float& s : samples) s *= gain;
}

namespace {
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
int16_t ToPcm16(float s) {
  const double v = std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0;
  return static_cast<int16_t>(std::lround(v));
}
}  // namespace

std::vector<uint8_t> EncodeWav16(const std::vector<float>& interleaved, int channels, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // plain PCM
  PutU16(out, static_cast<uint16_t>(channels));
  PutU32(out, static_cast<uint32_t>(rate));
  PutU32(out, static_cast<uint32_t>(rate * channels * 2));
  PutU16(out, static_cast<uint16_t>(channels * 2));
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (float s : interleaved) PutU16(out, static_cast<uint16_t>(ToPcm16(s)));
  return out;
}

bool EncodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate, float quality,
                     int serial, std::vector<uint8_t>& out) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "Quillmosaica sound effect");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  auto append = [&](const ogg_page& p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  while (ogg_stream_flush(&stream, &page) != 0) append(page);

  const int frames = static_cast<int>(interleaved.size()) / channels;
  constexpr int kChunk = 1024;
  int done = 0;
  bool ended = false;
  while (!ended) {
    const int n = std::min(kChunk, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, n);
      for (int i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
          buffer[c][i] = interleaved[static_cast<size_t>((done + i) * channels + c)];
        }
      }
      vorbis_analysis_wrote(&dsp, n);
      done += n;
    } else {
      vorbis_analysis_wrote(&dsp, 0);  // end of stream
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          append(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (n <= 0 && !ended) {
      while (ogg_stream_flush(&stream, &page) != 0) append(page);
      ended = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return !out.empty();
}

bool MakeFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "qm-assets: cannot create %s: %s\n", folder.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      std::fprintf(stderr, "qm-assets: cannot write %s\n", temp.c_str());
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "qm-assets: cannot rename %s to %s\n", temp.c_str(), path.c_str());
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace qm::assets

namespace qm::assets {

std::vector<float> WithReverb(const std::vector<float>& dry, int rate, double wet, double seconds,
                              double tail, int spread) {
  const size_t length = dry.size() + static_cast<size_t>(tail * rate);
  std::vector<float> in(dry);
  in.resize(length, 0.0f);
  const double combMs[4] = {29.7, 37.1, 41.1, 43.7};
  std::vector<float> sum(length, 0.0f);
  for (double ms : combMs) {
    const size_t delay = static_cast<size_t>((ms + 1.3 * spread) * rate / 1000.0);
    // Feedback so that the comb falls by 60 dB in the given time.
    const double g = std::pow(10.0, -3.0 * (static_cast<double>(delay) / rate) / seconds);
    std::vector<float> line(delay, 0.0f);
    size_t pos = 0;
    double damp = 0;
    for (size_t i = 0; i < length; ++i) {
      const double out = line[pos];
      damp = out * 0.6 + damp * 0.4;  // darker echoes, like a soft room
      line[pos] = static_cast<float>(in[i] + damp * g);
      pos = (pos + 1) % delay;
      sum[i] += static_cast<float>(out * 0.25);
    }
  }
  const double allMs[2] = {5.0 + 0.37 * spread, 1.7 + 0.11 * spread};
  for (double ms : allMs) {
    const size_t delay = std::max<size_t>(1, static_cast<size_t>(ms * rate / 1000.0));
    std::vector<float> line(delay, 0.0f);
    size_t pos = 0;
    for (size_t i = 0; i < length; ++i) {
      const double buffered = line[pos];
      const double x = sum[i];
      const double y = -0.7 * x + buffered;
      line[pos] = static_cast<float>(x + 0.7 * y);
      pos = (pos + 1) % delay;
      sum[i] = static_cast<float>(y);
    }
  }
  std::vector<float> out(length);
  for (size_t i = 0; i < length; ++i)
    out[i] = static_cast<float>(in[i] * (1.0 - wet) + sum[i] * wet);
  return out;
}

std::vector<float> Interleave(const std::vector<float>& left, const std::vector<float>& right) {
  const size_t frames = std::max(left.size(), right.size());
  std::vector<float> out(frames * 2, 0.0f);
  for (size_t i = 0; i < frames; ++i) {
    if (i < left.size()) out[i * 2] = left[i];
    if (i < right.size()) out[i * 2 + 1] = right[i];
  }
  return out;
}

}  // namespace qm::assets
