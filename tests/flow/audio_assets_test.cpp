// The game folder's sounds and music, as made by qm-assets: every effect loads through the
// engine and fits its use (short, audible, never clipped), the click survives every rate the
// game plays it at, and every module loads, loops for at least a minute and never clips.
#include <gtest/gtest.h>
#include <libmodplug/modplug.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"

namespace {

const std::string kData = QM_DATA_DIR;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}

class AudioAssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_NE(qm::InitSound(), 0);
    qm::MixAudioForTest(nullptr, 0);  // only the test moves playback on
  }
  void TearDown() override { qm::ShutdownSound(); }

  // Plays a loaded slot to its end; returns the mixed frames (stereo, 44,100 Hz).
  static std::vector<int16_t> PlayToEnd(int slot, int maxFrames) {
    qm::PlaySoundEffect(slot);
    std::vector<int16_t> all;
    std::vector<int16_t> block(2 * 441);
    for (int done = 0; done < maxFrames && qm::SoundSlotPlaying(slot); done += 441) {
      qm::MixAudioForTest(block.data(), 441);
      all.insert(all.end(), block.begin(), block.end());
    }
    return all;
  }

  static int Peak(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
  }
};

struct Effect {
  int slot;
  const char* file;
  double maxSeconds;  // what its use allows: a click is a tick, a fanfare may ring
};

// The slots the level start loads, with how long each may last.
const Effect kEffects[] = {
    {0, "1.wav", 0.15}, {1, "2.wav", 3.0},  {2, "13.ogg", 1.5}, {3, "17.ogg", 1.0},
    {5, "6.ogg", 0.8},  {12, "3.wav", 1.0}, {16, "4.wav", 0.8}, {17, "18.ogg", 2.0},
};

TEST_F(AudioAssetsTest, EveryEffectLoadsIsShortAudibleAndNotClipped) {
  for (const Effect& e : kEffects) {
    SCOPED_TRACE(e.file);
    ASSERT_NE(qm::LoadSoundEffect(e.slot, kData + "/sfx/" + e.file), 0);
    const int maxFrames = int(e.maxSeconds * 44100) + 441;
    std::vector<int16_t> mix = PlayToEnd(e.slot, maxFrames * 2);
    EXPECT_FALSE(qm::SoundSlotPlaying(e.slot)) << "still playing after " << e.maxSeconds << " s";
    EXPECT_LE(mix.size() / 2, size_t(maxFrames));
    EXPECT_GT(Peak(mix), 32768 / 8) << "too quiet to hear over the music";
    EXPECT_LT(Peak(mix), 32767) << "clipped";
  }
}

TEST_F(AudioAssetsTest, ClickStaysShortAndCleanAtEveryGameRate) {
  ASSERT_NE(qm::LoadSoundEffect(0, kData + "/sfx/1.wav"), 0);
  for (int rate : {12000, 16000, 20000, 30000}) {
    SCOPED_TRACE(rate);
    qm::SetSoundFrequency(0, rate);
    EXPECT_EQ(qm::SoundSlotRate(0), rate);
    std::vector<int16_t> mix = PlayToEnd(0, 44100);
    EXPECT_FALSE(qm::SoundSlotPlaying(0));
    // Even slowed to 12,000 Hz the tick is over within a fifth of a second.
    EXPECT_LE(mix.size() / 2, size_t(44100 / 5));
    EXPECT_GT(Peak(mix), 32768 / 8);
    EXPECT_LT(Peak(mix), 32767);
  }
}

TEST(AudioAssetFiles, WavesArePlain16BitPcmWithFormatFirst) {
  for (const char* name : {"1.wav", "2.wav", "3.wav", "4.wav"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> b = ReadBytes(kData + "/sfx/" + name);
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(Le16(b, 20), 1);   // PCM
    EXPECT_EQ(Le16(b, 34), 16);  // bits
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(Le32(b, 40), b.size() - 44);
  }
  // The click is recorded at 22,050 Hz so that 12,000 to 30,000 Hz all sound like a tick.
  EXPECT_EQ(Le32(ReadBytes(kData + "/sfx/1.wav"), 24), 22050u);
}

TEST_F(AudioAssetsTest, EveryModuleLoadsAndPlaysThroughTheEngine) {
  for (int track = 0; track <= 12; ++track) {
    SCOPED_TRACE(track);
    ASSERT_NE(qm::LoadMusicModule(1, kData + "/zik/" + std::to_string(track) + ".mod"), 0);
    ASSERT_NE(qm::PlayMusicModule(1), 0);
    std::vector<int16_t> mix(2 * 44100);
    qm::MixAudioForTest(mix.data(), 44100);
    qm::StopMusicModule(1);
    EXPECT_GT(Peak(mix), 32768 / 16) << "the first second is silent";
  }
}

// The player settings the game uses, to measure each module the way it will be heard.
ModPlugFile* LoadWithGameSettings(const std::vector<uint8_t>& bytes) {
  ModPlug_Settings settings;
  ModPlug_GetSettings(&settings);
  settings.mFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION;
  settings.mChannels = 2;
  settings.mBits = 16;
  settings.mFrequency = 44100;
  settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
  settings.mStereoSeparation = 128;
  settings.mMaxMixChannels = 32;
  settings.mLoopCount = 0;
  ModPlug_SetSettings(&settings);
  ModPlugFile* module = ModPlug_Load(bytes.data(), int(bytes.size()));
  if (module) ModPlug_SetMasterVolume(module, 512);
  return module;
}

TEST(AudioAssetFiles, ModulesAreFourChannelTracksOfAMinuteOrMoreThatNeverClip) {
  std::vector<std::string> titles;
  for (int track = 0; track <= 12; ++track) {
    SCOPED_TRACE(track);
    const std::vector<uint8_t> bytes = ReadBytes(kData + "/zik/" + std::to_string(track) + ".mod");
    ASSERT_GT(bytes.size(), 1084u);
    EXPECT_EQ(std::string(bytes.begin() + 1080, bytes.begin() + 1084), "M.K.");
    titles.emplace_back(bytes.begin(), bytes.begin() + 20);
    ModPlugFile* module = LoadWithGameSettings(bytes);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModPlug_NumChannels(module), 4);
    const int lengthMs = ModPlug_GetLength(module);
    EXPECT_GE(lengthMs, 60000);
    // The whole track, rendered as the game renders it: nothing reaches full scale.
    std::vector<int16_t> pcm(size_t(lengthMs / 1000.0 * 44100 + 44100) * 2);
    const int bytesRead = ModPlug_Read(module, pcm.data(), int(pcm.size() * 2));
    pcm.resize(size_t(bytesRead) / 2);
    int peak = 0;
    double energy = 0;
    for (int16_t s : pcm) {
      peak = std::max(peak, std::abs(int(s)));
      energy += double(s) * s;
    }
    EXPECT_LT(peak, 32000) << "too close to clipping";
    const double rms = std::sqrt(energy / double(std::max<size_t>(1, pcm.size()))) / 32768.0;
    EXPECT_GT(rms, 0.03) << "too quiet beside the effects";
    ModPlug_Unload(module);
  }
  // Each track has its own character, starting with its name.
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(std::unique(titles.begin(), titles.end()), titles.end());
}

}  // namespace
