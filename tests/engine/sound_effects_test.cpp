// Sound effects: loading WAV and Ogg Vorbis files, playing, restarting and rates, heard
// through the real mixer.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <random>
#include <thread>

#include "engine/SoundDecode.hpp"
#include "sound_test_support.hpp"

namespace qm::test {
namespace {

// Frames until the output falls silent for good (both channels zero).
int SoundingFrames(const std::vector<int16_t>& out) {
  int last = 0;
  for (size_t f = 0; f < out.size() / 2; ++f) {
    if (out[2 * f] != 0 || out[2 * f + 1] != 0) last = int(f) + 1;
  }
  return last;
}

// ---- WAV parsing ------------------------------------------------------------------------
struct WaveCase {
  const char* name;
  Bytes file;
  int loads;
};

std::vector<WaveCase> WaveCases() {
  Bytes pcm = Pcm16(Ramp(64));
  Bytes fmt16 = FormatBlock(1, 1, 44100, 16);
  Bytes extensible = FormatBlock(0xFFFE, 1, 44100, 16);
  PutLe16(extensible, 22);  // extra bytes
  PutLe16(extensible, 16);  // valid bits
  PutLe32(extensible, 4);   // channel mask
  PutLe16(extensible, 1);   // sub-format: PCM
  extensible.resize(40, 0);
  Bytes riffOnly{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'};
  Bytes headerOnly = RiffFile({{"fmt ", fmt16}});
  headerOnly.resize(30);  // cut inside the format block
  return {
      {"plain 16-bit mono", RiffFile({{"fmt ", fmt16}, {"data", pcm}}), 1},
      {"8-bit mono", RiffFile({{"fmt ", FormatBlock(1, 1, 11025, 8)}, {"data", Bytes(50, 200)}}),
       1},
      {"16-bit stereo", RiffFile({{"fmt ", FormatBlock(1, 2, 22050, 16)}, {"data", pcm}}), 1},
      {"extensible PCM", RiffFile({{"fmt ", extensible}, {"data", pcm}}), 1},
      {"chunks skipped before data, one of odd size",
       RiffFile({{"fmt ", fmt16}, {"LIST", Bytes(7, 'x')}, {"fact", Bytes(4, 0)}, {"data", pcm}}),
       1},
      {"fmt not the first chunk",
       RiffFile({{"LIST", Bytes(4, 'x')}, {"fmt ", fmt16}, {"data", pcm}}), 0},
      {"no data chunk", RiffFile({{"fmt ", fmt16}, {"LIST", Bytes(8, 'x')}}), 0},
      {"data cut short", RiffFile({{"fmt ", fmt16}, {"data", pcm, 4000}}), 0},
      {"empty data", RiffFile({{"fmt ", fmt16}, {"data", {}}}), 0},
      {"chunk size past the end", RiffFile({{"fmt ", fmt16}, {"LIST", Bytes(4, 0), 0xFFFFFFF0u}}),
       0},
      {"format block larger than the file", RiffFile({{"fmt ", fmt16, 1000}}), 0},
      {"24-bit samples", RiffFile({{"fmt ", FormatBlock(1, 1, 44100, 24)}, {"data", pcm}}), 0},
      {"float samples", RiffFile({{"fmt ", FormatBlock(3, 1, 44100, 32)}, {"data", pcm}}), 0},
      {"no channels", RiffFile({{"fmt ", FormatBlock(1, 0, 44100, 16)}, {"data", pcm}}), 0},
      {"rate zero", RiffFile({{"fmt ", FormatBlock(1, 1, 0, 16)}, {"data", pcm}}), 0},
      {"RIFF header only", riffOnly, 0},
      {"cut inside the format block", headerOnly, 0},
      {"empty file", {}, 0},
  };
}

TEST_F(SoundTest, WaveFilesLoadOnlyWhenWellFormed) {
  for (const WaveCase& c : WaveCases()) {
    std::string path = Write("case.wav", c.file);
    EXPECT_EQ(LoadSoundEffect(7, path) != 0, c.loads != 0) << c.name;
  }
}

TEST_F(SoundTest, AMachineWithoutSoundOutputPlaysSilently) {
  // No sound card or sound server must not stop the game: the engine falls back to silence.
  ShutdownSound();
  setenv("SDL_AUDIODRIVER", "no-such-output", 1);
  EXPECT_NE(InitSound(), 0);
  EXPECT_NE(LoadSoundEffect(1, Write("tick.wav", RiffFile({{"fmt ", FormatBlock(1, 1, 22050, 16)},
                                                           {"data", Bytes(400, 1)}}))),
            0);
  PlaySoundEffect(1);
  EXPECT_TRUE(SoundSlotPlaying(1));
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST_F(SoundTest, WaveSamplesReachTheOutput) {
  // 8-bit unsigned 192 is +64 steps of 256; a 16-bit stereo file keeps its two channels.
  ASSERT_NE(LoadSoundEffect(1, Write("u8.wav", RiffFile({{"fmt ", FormatBlock(1, 1, 44100, 8)},
                                                         {"data", Bytes(100, 192)}}))),
            0);
  ASSERT_NE(LoadSoundEffect(2, Write("st.wav", Wave16(2, 44100, {1000, -2000, 1000, -2000}))), 0);
  PlaySoundEffect(1);
  auto out = Pull(200);
  EXPECT_EQ(out[0], 16384);
  EXPECT_EQ(out[1], 16384);
  EXPECT_EQ(SoundingFrames(out), 100);
  PlaySoundEffect(2);
  out = Pull(10);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -2000);
}

// ---- Ogg Vorbis ---------------------------------------------------------------------------
// Encodes `frames` frames of a 440 Hz sine with libvorbisenc.
Bytes EncodeOgg(int channels, int rate, int frames) {
  vorbis_info info;
  vorbis_info_init(&info);
  EXPECT_EQ(vorbis_encode_init_vbr(&info, channels, rate, 0.3f), 0);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  Bytes out;
  auto writePage = [&](const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  ogg_packet header, commentPacket, codebook;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebook);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codebook);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) writePage(page);

  float** buffer = vorbis_analysis_buffer(&dsp, frames);
  for (int f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) buffer[c][f] = 0.5f * std::sin(2 * M_PI * 440 * f / rate);
  }
  vorbis_analysis_wrote(&dsp, frames);
  vorbis_analysis_wrote(&dsp, 0);
  ogg_packet packet;
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page)) writePage(page);
    }
  }
  while (ogg_stream_flush(&stream, &page)) writePage(page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

TEST_F(SoundTest, OggVorbisDecodesWholeAtItsOwnRate) {
  Bytes ogg = EncodeOgg(2, 22050, 4410);  // 0.2 s
  ASSERT_NE(LoadSoundEffect(3, Write("tone.ogg", ogg)), 0);
  EXPECT_EQ(SoundSlotRate(3), 22050);
  PlaySoundEffect(3);
  auto out = Pull(12000);
  EXPECT_GT(Peak(out), 8000);  // the sine at half scale
  // 4410 frames at 22,050 Hz last 8820 output frames.
  EXPECT_NEAR(SoundingFrames(out), 8820, 20);
  EXPECT_FALSE(SoundSlotPlaying(3));
}

TEST_F(SoundTest, FilesThatAreNotOggVorbisFail) {
  Bytes text;
  std::string words = "These are not the sounds you are looking for.\n";
  for (int i = 0; i < 20; ++i) text.insert(text.end(), words.begin(), words.end());
  Bytes ogg = EncodeOgg(1, 44100, 4410);
  Bytes headersCut(ogg.begin(), ogg.begin() + 100);
  Bytes badMagic = ogg;
  badMagic[0] = 'X';
  for (const auto& [name, bytes] :
       std::vector<std::pair<std::string, Bytes>>{{"text renamed .ogg", text},
                                                  {"cut inside its headers", headersCut},
                                                  {"damaged first page", badMagic},
                                                  {"four bytes", {'O', 'g', 'g', 'S'}}}) {
    EXPECT_EQ(LoadSoundEffect(4, Write("bad.ogg", bytes)), 0) << name;
  }
}

TEST(SoundDecode, OggVorbisIsCutAtTheSizeLimitOnAWholeFrame) {
  Bytes ogg = EncodeOgg(2, 44100, 20000);
  sound::DecodedSound whole, cut;
  ASSERT_TRUE(sound::DecodeOggVorbis(ogg.data(), ogg.size(), whole));
  EXPECT_EQ(whole.Frames(), 20000);
  ASSERT_TRUE(sound::DecodeOggVorbis(ogg.data(), ogg.size(), cut, 10002));  // 2500.5 frames
  EXPECT_EQ(cut.samples.size(), 5000u);
  EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end(), whole.samples.begin()));
}

// Damaged copies of good files either fail or give a well-formed sound, never a crash.
TEST(SoundDecode, DamagedFilesFailCleanlyOrDecodeSanely) {
  std::mt19937 random(99);
  Bytes wave = RiffFile({{"fmt ", FormatBlock(1, 2, 22050, 16)},
                         {"LIST", Bytes(9, 'x')},
                         {"data", Pcm16(Ramp(200))}});
  for (const Bytes& good : {wave, EncodeOgg(2, 22050, 2205)}) {
    for (int round = 0; round < 300; ++round) {
      Bytes bad = good;
      for (int k = 1 + int(random() % 6); k > 0; --k)
        bad[random() % bad.size()] = uint8_t(random());
      if (round % 3 == 0) bad.resize(random() % bad.size());
      sound::DecodedSound out;
      if (sound::DecodeSoundFile(bad.data(), bad.size(), out)) {
        EXPECT_TRUE(out.channels == 1 || out.channels == 2);
        EXPECT_GE(out.rate, sound::kMinRate);
        EXPECT_LE(out.rate, sound::kMaxRate);
        EXPECT_GT(out.Frames(), 0);
        EXPECT_EQ(out.samples.size() % size_t(out.channels), 0u);
      }
    }
  }
}

// ---- Slots ------------------------------------------------------------------------------
TEST_F(SoundTest, FailedLoadsLeaveTheSlotAsItWas) {
  ASSERT_NE(LoadSoundEffect(5, Write("ramp.wav", Wave16(1, 44100, Ramp(300)))), 0);
  SetSoundFrequency(5, 22050);
  EXPECT_EQ(LoadSoundEffect(5, (folder_ / "missing.wav").string()), 0);
  EXPECT_EQ(LoadSoundEffect(5, Write("bad.wav", RiffFile({{"fmt ", FormatBlock(1, 1, 8000, 16)}}))),
            0);
  EXPECT_EQ(LoadSoundEffect(5, folder_.string()), 0);  // a folder is not a sound
  EXPECT_EQ(SoundSlotRate(5), 22050);
  PlaySoundEffect(5);
  auto out = Pull(1000);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(SoundingFrames(out), 600);
}

TEST_F(SoundTest, PlayingAgainRestartsTheOneInstance) {
  ASSERT_NE(LoadSoundEffect(0, Write("ramp.wav", Wave16(1, 44100, Ramp(1000)))), 0);
  PlaySoundEffect(0);
  auto first = Pull(300);
  EXPECT_EQ(first[2 * 299], 100 + 10 * 299);
  PlaySoundEffect(0);
  auto again = Pull(1200);
  // From the start again, alone: no second copy still running from frame 300.
  EXPECT_EQ(again[0], 100);
  EXPECT_EQ(again[2 * 500], 100 + 10 * 500);
  EXPECT_EQ(SoundingFrames(again), 1000);
  EXPECT_FALSE(SoundSlotPlaying(0));
}

// Rules played on another thread (a level being proven) stay silent: only the thread that
// opened the sound plays effects.
TEST_F(SoundTest, OnlyTheThreadThatOpenedTheSoundPlaysEffects) {
  ASSERT_NE(LoadSoundEffect(0, Write("ramp.wav", Wave16(1, 44100, Ramp(1000)))), 0);
  std::thread worker([] { PlaySoundEffect(0); });
  worker.join();
  EXPECT_FALSE(SoundSlotPlaying(0));
  PlaySoundEffect(0);
  EXPECT_TRUE(SoundSlotPlaying(0));
}

TEST_F(SoundTest, SlotsPlayTogether) {
  ASSERT_NE(LoadSoundEffect(0, Write("a.wav", Wave16(1, 44100, std::vector<int16_t>(100, 1000)))),
            0);
  ASSERT_NE(LoadSoundEffect(17, Write("b.wav", Wave16(1, 44100, std::vector<int16_t>(50, 2000)))),
            0);
  ASSERT_NE(LoadSoundEffect(200, Write("c.wav", Wave16(1, 44100, std::vector<int16_t>(20, 30000)))),
            0);
  PlaySoundEffect(0);
  PlaySoundEffect(17);
  PlaySoundEffect(200);
  auto out = Pull(120);
  EXPECT_EQ(out[0], 32767);  // 33,000 clips
  EXPECT_EQ(out[2 * 30], 3000);
  EXPECT_EQ(out[2 * 70], 1000);
  EXPECT_EQ(out[2 * 110], 0);
}

TEST_F(SoundTest, RateIsKeptUntilChanged) {
  ASSERT_NE(LoadSoundEffect(0, Write("ramp.wav", Wave16(1, 44100, Ramp(1000)))), 0);
  EXPECT_EQ(SoundSlotRate(0), 44100);
  struct Step {
    int setRate;  // -1: leave the rate alone
    int rate;
    int frames;  // output frames the 1000 source frames last
  };
  for (const Step& s : std::vector<Step>{{22050, 22050, 2000},
                                         {-1, 22050, 2000},
                                         {-1, 22050, 2000},
                                         {88200, 88200, 500},
                                         {0, 44100, 1000},
                                         {-5, 44100, 1000},         // refused: kept
                                         {999999, 44100, 1000}}) {  // refused: kept
    if (s.setRate != -1) SetSoundFrequency(0, s.setRate);
    EXPECT_EQ(SoundSlotRate(0), s.rate) << s.setRate;
    PlaySoundEffect(0);
    EXPECT_EQ(SoundingFrames(Pull(2500)), s.frames) << s.setRate;
  }
  // Between two source frames the mixer interpolates.
  SetSoundFrequency(0, 22050);
  PlaySoundEffect(0);
  auto out = Pull(3);
  EXPECT_EQ(out[2], 105);
}

TEST_F(SoundTest, ReplacingASoundStopsTheOldOne) {
  ASSERT_NE(
      LoadSoundEffect(2, Write("long.wav", Wave16(1, 44100, std::vector<int16_t>(5000, 900)))), 0);
  PlaySoundEffect(2);
  Pull(100);
  ASSERT_NE(LoadSoundEffect(2, Write("ramp.wav", Wave16(1, 44100, Ramp(10)))), 0);
  EXPECT_FALSE(SoundSlotPlaying(2));
  EXPECT_EQ(Peak(Pull(100)), 0);
}

TEST_F(SoundTest, EmptyAndOutOfRangeSlotsDoNothing) {
  for (int slot : {-1, 3, 63, 64, 100000, INT32_MAX}) {
    PlaySoundEffect(slot);
    SetSoundFrequency(slot, 20000);
    EXPECT_EQ(SoundSlotRate(slot), 0);
    EXPECT_FALSE(SoundSlotPlaying(slot));
  }
  std::string path = Write("ramp.wav", Wave16(1, 44100, Ramp(10)));
  EXPECT_EQ(LoadSoundEffect(-1, path), 0);
  EXPECT_EQ(LoadSoundEffect(INT32_MAX, path), 0);
  EXPECT_EQ(Peak(Pull(100)), 0);
}

TEST(SoundWithoutDevice, EveryOperationIsHarmless) {
  ShutdownSound();
  EXPECT_EQ(LoadSoundEffect(0, QM_SOURCE_DIR "/CMakeLists.txt"), 0);
  PlaySoundEffect(0);
  SetSoundFrequency(0, 20000);
  EXPECT_EQ(LoadMusicModule(1, QM_SOURCE_DIR "/CMakeLists.txt"), 0);
  EXPECT_EQ(PlayMusicModule(1), 0);
  SetMusicModuleVolume(1, 50);
  StopMusicModule(1);
  StopMusicModule(-1);
  std::vector<int16_t> out(20, 7);
  MixAudioForTest(out.data(), 10);
  EXPECT_EQ(Peak(out), 0);
  ShutdownSound();
}

}  // namespace
}  // namespace qm::test
