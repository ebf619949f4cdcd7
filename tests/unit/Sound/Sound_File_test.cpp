// Sound files whose stated lengths do not match what they hold, and sounds
// loaded again and again.
#include <AL/alut.h>

#include "Audio_Test.h"
#include "Function_Call.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Image.h"
#include "Sound/Sound_Wave.h"

namespace {
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v, bool bigEndian = false) {
  for (int i = 0; i < 4; i++) b[at + size_t(i)] = uint8_t(v >> (8 * (bigEndian ? 3 - i : i)));
}

// The WAV image with its data chunk claiming `claim` bytes and holding `keep`.
std::vector<uint8_t> CutWav(std::vector<uint8_t> wav, uint32_t claim, size_t keep) {
  PutU32(wav, 40, claim);
  wav.resize(44 + keep);
  return wav;
}

// An AU image of 16-bit mono samples of one level.
std::vector<uint8_t> MakeAu(uint32_t frames, uint32_t claim, uint32_t offset = 24) {
  std::vector<uint8_t> au(offset + frames * 2, 0x10);
  std::memcpy(au.data(), ".snd", 4);
  PutU32(au, 4, offset, true);
  PutU32(au, 8, claim, true);
  PutU32(au, 12, 3, true);  // 16-bit linear
  PutU32(au, 16, 22050, true);
  PutU32(au, 20, 1, true);
  return au;
}

uint32_t DataLength(const std::vector<uint8_t>& image, size_t at) {
  return uint32_t(image[at]) | uint32_t(image[at + 1]) << 8 | uint32_t(image[at + 2]) << 16 | uint32_t(image[at + 3]) << 24;
}

TEST(SoundImage, DataChunksAreCutToWhatTheFileHolds) {
  std::vector<uint8_t> out;
  ALenum error = -1;
  // Stereo 16-bit: 1000 bytes claimed, 402 there, 400 of them whole frames.
  std::vector<uint8_t> wav = CutWav(Sound_MakeWavOf(0.1, 0.5, 22050, 2, 16), 1000, 402);
  ASSERT_TRUE(SoundImage_Check(wav.data(), wav.size(), out, error));
  EXPECT_EQ(error, ALUT_ERROR_NO_ERROR);
  EXPECT_EQ(DataLength(out, 40), 400u);
  EXPECT_EQ(out.size(), 444u);
  EXPECT_EQ(DataLength(out, 4), 436u);
  EXPECT_TRUE(std::equal(out.begin() + 44, out.end(), wav.begin() + 44));
  // A whole file comes through unchanged.
  wav = Sound_MakeWavOf(0.1, 0.5, 8000, 1, 8);
  ASSERT_TRUE(SoundImage_Check(wav.data(), wav.size(), out, error));
  EXPECT_EQ(out, wav);
  // Chunks before the format and padding of odd chunks are walked over.
  wav = Sound_MakeWav(0.01, 0.5);
  std::vector<uint8_t> extra = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  wav.insert(wav.begin() + 12, extra.begin(), extra.end());
  ASSERT_TRUE(SoundImage_Check(wav.data(), wav.size(), out, error));
  EXPECT_EQ(out, Sound_MakeWav(0.01, 0.5));
  // AU: a size beyond the end, and the size "unknown", both give what is there;
  // the header's notes before the data are dropped.
  std::vector<uint8_t> au = MakeAu(100, 100000, 32);
  ASSERT_TRUE(SoundImage_Check(au.data(), au.size(), out, error));
  EXPECT_EQ(out.size(), 224u);
  au = MakeAu(100, 0xFFFFFFFF);
  au.push_back(0);  // half a sample
  ASSERT_TRUE(SoundImage_Check(au.data(), au.size(), out, error));
  EXPECT_EQ(out.size(), 224u);
}

TEST(SoundImage, FilesWithoutAFrameOrWithBrokenChunksAreRefused) {
  std::vector<uint8_t> out;
  ALenum error = 0;
  auto refused = [&](std::vector<uint8_t> image, ALenum expected) {
    error = 0;
    bool ok = SoundImage_Check(image.data(), image.size(), out, error);
    return !ok && error == expected;
  };
  const ALenum corrupt = ALUT_ERROR_CORRUPT_OR_TRUNCATED_DATA;
  std::vector<uint8_t> wav = Sound_MakeWavOf(0.1, 0.5, 22050, 2, 16);
  EXPECT_TRUE(refused(CutWav(wav, 1000, 0), corrupt));
  EXPECT_TRUE(refused(CutWav(wav, 1000, 3), corrupt));  // less than one stereo frame
  EXPECT_TRUE(refused({wav.begin(), wav.begin() + 36}, corrupt));  // no data chunk
  EXPECT_TRUE(refused({wav.begin(), wav.begin() + 12}, corrupt));  // no chunk at all
  EXPECT_TRUE(refused({wav.begin(), wav.begin() + 30}, corrupt));  // the format cut short
  std::vector<uint8_t> shortFormat = wav;
  PutU32(shortFormat, 16, 12);
  EXPECT_TRUE(refused(shortFormat, corrupt));
  std::vector<uint8_t> hugeChunk = wav;
  PutU32(hugeChunk, 16, 0xFFFFFFF0);
  EXPECT_TRUE(refused(hugeChunk, corrupt));
  std::vector<uint8_t> noChannels = wav;
  noChannels[22] = 0;
  EXPECT_TRUE(refused(noChannels, corrupt));
  EXPECT_TRUE(refused(MakeAu(0, 0), corrupt));
  std::vector<uint8_t> farOffset = MakeAu(10, 20);
  PutU32(farOffset, 4, 100000, true);
  EXPECT_TRUE(refused(farOffset, corrupt));
  EXPECT_TRUE(refused({'O', 'g', 'g', 'S', 0, 0}, ALUT_ERROR_UNSUPPORTED_FILE_TYPE));
  EXPECT_TRUE(refused({'R', 'I'}, ALUT_ERROR_UNSUPPORTED_FILE_TYPE));
  EXPECT_TRUE(refused({}, ALUT_ERROR_UNSUPPORTED_FILE_TYPE));
}

TEST_F(SoundTest, ASoundCutShortLoadsWhatItHoldsAndOneWithoutSamplesIsRefused) {
  std::vector<uint8_t> wav = Sound_MakeWavOf(0.5, 0.25, 22050, 2, 16);
  Sound_WriteFile(dir + "cut.wav", CutWav(wav, 1u << 30, 4000));
  int s = Sound_Add((dir + "cut.wav").c_str(), 0, true);
  ASSERT_GE(s, 0);
  Call("sound_play", {s});
  EXPECT_TRUE(Wave_IsPlaying(Sound_Data(s)->PlayName(), Sound_Data(s)->slot));
  Sound_WriteFile(dir + "empty.wav", CutWav(wav, 1u << 30, 0));
  testing::internal::CaptureStdout();
  int e = Sound_Add((dir + "empty.wav").c_str(), 0, true);
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("ALUT error on load 00000211(529) : "), std::string::npos) << log;
  ASSERT_GE(Sound_Data(e)->slot, 0);  // a slot without a sound: plays nothing
  Call("sound_play", {e});
  EXPECT_FALSE(Wave_IsPlaying(Sound_Data(e)->PlayName(), Sound_Data(e)->slot));
  // A header and nothing after it: the loader would read the first chunk past the end.
  Sound_WriteFile(dir + "header.wav", {wav.begin(), wav.begin() + 12});
  testing::internal::CaptureStdout();
  int h = Sound_Add((dir + "header.wav").c_str(), 0, true);
  log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("ALUT error on load 00000211(529) : "), std::string::npos) << log;
  EXPECT_GE(h, 0);
}

// The package's sounds with blobs of their own: 0 a stereo 16-bit WAV whose
// data is cut short, 1 a stereo 8-bit WAV, 2 an AU cut short, 3 a WAV
// without samples.
class AudioFileTest : public AudioTest {
 protected:
  void SetUp() override {
    std::vector<uint8_t> stereo = Sound_MakeWavOf(1.0, 0.25, 22050, 2, 16);
    pkg.files = {CutWav(stereo, uint32_t(stereo.size()), 44100), Sound_MakeWavOf(0.8, 0.25, 10000, 2, 8),
                 MakeAu(11025, 1u << 20), CutWav(stereo, 64, 2)};
    pkg.audio.clear();
    for (auto& f : pkg.files) pkg.audio.emplace_back(f.data(), f.size());
    pkg.sounds.resize(4);
    for (uint32_t i = 0; i < 4; i++) pkg.sounds[i] = AudioPackage::Entry("snd", "a.wav", 0, i, 1.0f);
    AudioTest::SetUp();
  }
};

TEST_F(AudioFileTest, BuffersHoldWhatTheBlobsHoldAndLengthsCountEveryChannel) {
  EXPECT_FLOAT_EQ(Audio_SoundLength(0), 0.5f);  // 44100 bytes of 4-byte frames at 22050 Hz
  EXPECT_FLOAT_EQ(Audio_SoundLength(1), 0.8f);
  EXPECT_FLOAT_EQ(Audio_SoundLength(2), 0.5f);
  EXPECT_EQ(Audio_SoundLength(3), -1.0f);
  int h = Audio_PlaySimple(0, 1, 0);
  EXPECT_FLOAT_EQ(float(CallReal("audio_sound_length", {h})), 0.5f);
  EXPECT_TRUE(Audio_IsPlaying(h));
}

TEST_F(SoundTest, RestoringALoadedSoundKeepsWhatItHolds) {
  int s = Sound_Add(Wav("a.wav", 0.5).c_str(), 0, true);
  int slot = Sound_Data(s)->slot;
  int slots = Wave_SlotCount();
  // Four sources a load: far more restores than the device has room for.
  for (int i = 0; i < 1500; i++) Call("sound_restore", {s});
  EXPECT_EQ(Wave_SlotCount(), slots);
  EXPECT_EQ(Sound_Data(s)->slot, slot);
  Call("sound_play", {s});
  EXPECT_TRUE(Wave_IsPlaying(Sound_Data(s)->PlayName(), Sound_Data(s)->slot));
  // After a discard the sound is loaded again, and other sounds still load.
  Call("sound_discard", {s});
  Call("sound_restore", {s});
  EXPECT_GE(Sound_Data(s)->slot, 0);
  int t = Sound_Add(Wav("b.wav").c_str(), 0, true);
  Call("sound_play", {t});
  EXPECT_TRUE(Wave_IsPlaying(Sound_Data(t)->PlayName(), Sound_Data(t)->slot));
}
}  // namespace
