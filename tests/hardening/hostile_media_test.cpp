// Pictures whose header claims 30,000 x 30,000 pixels, and sounds that claim a gigabyte.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <ogg/ogg.h>
#include <stdlib.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/Screen.hpp"
#include "engine/Sound.hpp"
#include "engine/SoundDecode.hpp"
#include "engine/TestHooks.hpp"
#include "tests/hardening/HardeningSupport.hpp"

namespace qm::hard {
namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 4 x 4 24-bit bitmap whose header then claims another size and compression.
Bytes BmpClaiming(uint32_t width, uint32_t height, uint16_t bits, uint32_t compression) {
  Bytes b(54 + 4 * 12, 0x40);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 6, 0);
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, width);
  Put32(b, 22, height);
  b[26] = 1;
  b[27] = 0;
  b[28] = static_cast<uint8_t>(bits);
  b[29] = 0;
  Put32(b, 30, compression);
  Put32(b, 34, 48);
  return b;
}

// A small grey JPEG whose frame header is then made to claim width x height.
Bytes JpegClaiming(uint16_t width, uint16_t height) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 8;
  info.image_height = 8;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(8 * 3, 128);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  Bytes b(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  for (size_t k = 2; k + 8 < b.size(); ++k) {
    if (b[k] == 0xFF && b[k + 1] == 0xC0) {  // start of frame: length, precision, height, width
      b[k + 5] = static_cast<uint8_t>(height >> 8);
      b[k + 6] = static_cast<uint8_t>(height);
      b[k + 7] = static_cast<uint8_t>(width >> 8);
      b[k + 8] = static_cast<uint8_t>(width);
      break;
    }
  }
  return b;
}

// A tenth of a second of a mono tone as Ogg Vorbis, its last page's granule position (the
// sample count the stream claims) set to `claimedFrames`.
Bytes OggClaiming(int64_t claimedFrames) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  EXPECT_EQ(vorbis_encode_init_vbr(&vi, 1, 22050, 0.3f), 0);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 7);
  ogg_packet header, comments, code;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &code);
  std::vector<std::pair<Bytes, Bytes>> pages;  // header and body of each page
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) {
    pages.push_back({Bytes(page.header, page.header + page.header_len),
                     Bytes(page.body, page.body + page.body_len)});
  }
  const int frames = 2205;
  float** in = vorbis_analysis_buffer(&vd, frames);
  for (int i = 0; i < frames; ++i) in[0][i] = 0.5f * std::sin(i * 0.1f);
  vorbis_analysis_wrote(&vd, frames);
  vorbis_analysis_wrote(&vd, 0);
  ogg_packet packet;
  while (vorbis_analysis_blockout(&vd, &vb) == 1) {
    vorbis_analysis(&vb, nullptr);
    vorbis_bitrate_addblock(&vb);
    while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) ogg_stream_packetin(&os, &packet);
  }
  while (ogg_stream_flush(&os, &page) != 0) {
    pages.push_back({Bytes(page.header, page.header + page.header_len),
                     Bytes(page.body, page.body + page.body_len)});
  }
  // The claim: the last page says the stream ends at claimedFrames.
  Bytes& last = pages.back().first;
  for (int i = 0; i < 8; ++i)
    last[6 + i] = static_cast<uint8_t>(static_cast<uint64_t>(claimedFrames) >> (8 * i));
  ogg_page patched{last.data(), static_cast<long>(last.size()), pages.back().second.data(),
                   static_cast<long>(pages.back().second.size())};
  ogg_page_checksum_set(&patched);
  Bytes out;
  for (auto& [h, b] : pages) {
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), b.begin(), b.end());
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

std::string Write(const TempFolder& folder, const std::string& name, const Bytes& bytes) {
  std::string path = folder.path() + "/" + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

class HostileMedia : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    SetHeadlessScreenSize(320, 240);
  }
  void TearDown() override {
    FreeSpriteImage(-1);
    CloseGameScreen();
    ShutdownSound();
  }
  TempFolder folder_;
};

// The header is refused before any room is set aside for the pixels; the slot ends empty.
TEST_F(HostileMedia, PictureClaimingThirtyThousandSquaredIsRefused) {
  ASSERT_NE(InitSprite(), 0);
  ASSERT_NE(OpenGameScreen("Quillmosaica2"), 0);
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"bmp 24-bit", BmpClaiming(30000, 30000, 24, 0)},
      {"bmp top-down 32-bit", BmpClaiming(30000, static_cast<uint32_t>(-30000), 32, 0)},
      {"bmp run-length 8-bit", BmpClaiming(30000, 30000, 8, 1)},
      {"bmp bit fields", BmpClaiming(30000, 30000, 16, 3)},
      {"jpeg", JpegClaiming(30000, 30000)},
  };
  const std::string good = Write(folder_, "good.bmp", BmpClaiming(4, 4, 24, 0));
  for (const Case& c : cases) {
    ASSERT_NE(LoadSpriteImage(40, good), 0) << c.name;
    EXPECT_EQ(LoadSpriteImage(40, Write(folder_, "huge", c.bytes)), 0) << c.name;
    EXPECT_EQ(SpriteWidthOf(40), 0) << c.name;
    EXPECT_EQ(DrawSprite(40, 0, 0), 0) << c.name;
  }
  // The claim was what made them fail: the same files with their true size load.
  EXPECT_NE(LoadSpriteImage(41, Write(folder_, "small.jpg", JpegClaiming(8, 8))), 0);
  EXPECT_EQ(SpriteWidthOf(41), 8);
}

// An Ogg stream that claims a gigabyte of samples decodes to what it really holds; a wave
// whose data chunk claims a gigabyte is refused.
TEST_F(HostileMedia, SoundClaimingAGigabyteLoadsWhatItHolds) {
  const int64_t gigabyteOfFrames = (int64_t{1} << 30) / 2;  // mono, 16 bits
  Bytes ogg = OggClaiming(gigabyteOfFrames);
  sound::DecodedSound decoded;
  ASSERT_TRUE(sound::DecodeOggVorbis(ogg.data(), ogg.size(), decoded));
  EXPECT_EQ(decoded.channels, 1);
  EXPECT_EQ(decoded.rate, 22050);
  EXPECT_GT(decoded.Frames(), 1000);
  EXPECT_LE(decoded.Frames(), 2205 + 2048);
  EXPECT_LE(decoded.samples.capacity() * sizeof(int16_t), sound::kMaxDecodedBytes);

  ASSERT_NE(InitSound(), 0);
  EXPECT_NE(LoadSoundEffect(3, Write(folder_, "claim.ogg", ogg)), 0);
  PlaySoundEffect(3);

  Bytes wave(44, 0);
  std::memcpy(wave.data(), "RIFF", 4);
  std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
  Put32(wave, 16, 16);
  wave[20] = 1;  // PCM
  wave[22] = 1;  // mono
  Put32(wave, 24, 22050);
  Put32(wave, 28, 44100);
  wave[32] = 2;
  wave[34] = 16;
  std::memcpy(wave.data() + 36, "data", 4);
  Put32(wave, 40, 1u << 30);
  wave.resize(44 + 64, 0x11);
  Put32(wave, 4, static_cast<uint32_t>(wave.size() - 8));
  EXPECT_EQ(LoadSoundEffect(4, Write(folder_, "claim.wav", wave)), 0);
}

// A wave that jumps between -30,000 and 30,000 from one sample to the next, played at a
// rate that puts the mixer between samples: every mixed value lies between the two.
TEST_F(HostileMedia, SteepWaveMixesBetweenItsSamples) {
  Bytes wave(44, 0);
  std::memcpy(wave.data(), "RIFF", 4);
  std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
  Put32(wave, 16, 16);
  wave[20] = 1;
  wave[22] = 1;
  Put32(wave, 24, 44100);
  Put32(wave, 28, 88200);
  wave[32] = 2;
  wave[34] = 16;
  std::memcpy(wave.data() + 36, "data", 4);
  const int frames = 4000;
  Put32(wave, 40, 2 * frames);
  for (int i = 0; i < frames; ++i) {
    int16_t v = i % 2 == 0 ? -30000 : 30000;
    wave.push_back(static_cast<uint8_t>(v & 0xFF));
    wave.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  Put32(wave, 4, static_cast<uint32_t>(wave.size() - 8));
  ASSERT_NE(InitSound(), 0);
  MixAudioForTest(nullptr, 0);
  ASSERT_NE(LoadSoundEffect(5, Write(folder_, "steep.wav", wave)), 0);
  SetSoundFrequency(5, 30000);
  PlaySoundEffect(5);
  std::vector<int16_t> out(2 * 1024);
  MixAudioForTest(out.data(), 1024);
  int between = 0;
  for (int16_t v : out) between += v >= -30000 && v <= 30000;
  EXPECT_EQ(between, static_cast<int>(out.size()));
}

}  // namespace
}  // namespace qm::hard
