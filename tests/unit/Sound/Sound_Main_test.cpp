#include <AL/al.h>

#include <thread>

#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Wave.h"
#include "Sound_Test.h"

namespace {
std::string Name(int index) {
  char* text = Sound_GetName(index);
  std::string s = text ? text : "<none>";
  MemoryManager::Free(text);
  return s;
}

TEST_F(SoundTest, TheListKeepsIndicesOfMissingAndDeletedSounds) {
  // A file that is not there: -1, and the index is taken all the same.
  EXPECT_EQ(Sound_Add((dir + "none.wav").c_str(), 0, true), -1);
  EXPECT_EQ(Sound_Count(), 1);
  EXPECT_EQ(Name(0), "__newsound0");
  int a = Sound_Add(Wav("a.wav").c_str(), 0, true);
  int b = Sound_Add(Wav("b.wav").c_str(), 0, false);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(Sound_Find("__newsound2"), 2);
  EXPECT_TRUE(Sound_Delete(a));
  EXPECT_FALSE(Sound_Delete(a));
  EXPECT_FALSE(Sound_Exists(a));
  EXPECT_EQ(Sound_Data(a), nullptr);
  EXPECT_EQ(Name(a), "<undefined>");
  EXPECT_EQ(Sound_Find("__newsound1"), -1);
  EXPECT_EQ(Sound_Add(Wav("c.wav").c_str(), 0, true), 3);  // never the hole
  // Replacing keeps the name; outside the list it fails.
  EXPECT_TRUE(Sound_Replace(b, Wav("d.wav").c_str(), 0, true));
  EXPECT_EQ(Name(b), "__newsound2");
  EXPECT_FALSE(Sound_Replace(9, Wav("d.wav").c_str(), 0, true));
  EXPECT_FALSE(Sound_Replace(-1, Wav("d.wav").c_str(), 0, true));
  EXPECT_EQ(Name(-1), "<undefined>");
}

TEST_F(SoundTest, ASoundIsPreparedOnFirstUse) {
  int s = Sound_Add(Wav("lazy.wav").c_str(), 0, false);
  CSound* sound = Sound_Data(s);
  EXPECT_EQ(sound->slot, -1);
  int slot = sound->GetSlot();
  EXPECT_GE(slot, 0);
  EXPECT_EQ(sound->GetSlot(), slot);  // once only
  // Multimedia sounds get a slot without a sound, which fades the music.
  int m = Sound_Add(Wav("mm.wav").c_str(), SOUND_KIND_MULTIMEDIA, true);
  EXPECT_GE(Sound_Data(m)->slot, 0);
}

TEST_F(SoundTest, ReleasedSlotsAreFreedOnceQuietAndTakenAgain) {
  int a = Sound_Add(Wav("a.wav", 2.0).c_str(), 0, true);
  int slotA = Sound_Data(a)->slot;
  Wave_Play(Sound_Data(a)->PlayName(), slotA, true);
  // Deleted while it plays: the slot waits for its sound to stop.
  Sound_Delete(a);
  Wave_Tick();
  int b = Sound_Add(Wav("b.wav").c_str(), 0, true);
  EXPECT_NE(Sound_Data(b)->slot, slotA);
  Wave_StopAll();
  Wave_Tick();
  int c = Sound_Add(Wav("c.wav").c_str(), 0, true);
  EXPECT_EQ(Sound_Data(c)->slot, slotA);
  // Discarding lets the slot go too; the next request takes a free one.
  int count = Wave_SlotCount();
  CSound* sc = Sound_Data(c);
  EXPECT_EQ(sc->Discard(), slotA);
  EXPECT_EQ(sc->GetSlot(), slotA);
  EXPECT_EQ(Wave_SlotCount(), count);
}

TEST_F(SoundTest, MusicIsChosenByTheExactLowerCaseEnding) {
  EXPECT_TRUE(Wave_IsMusic("theme.mp3"));
  EXPECT_TRUE(Wave_IsMusic("intro.mid"));
  EXPECT_TRUE(Wave_IsMusic("intro.midi"));
  EXPECT_FALSE(Wave_IsMusic("theme.MP3"));
  EXPECT_FALSE(Wave_IsMusic("theme.mp3.wav"));
  EXPECT_FALSE(Wave_IsMusic("mp3"));
  EXPECT_FALSE(Wave_IsMusic(nullptr));
}

TEST_F(SoundTest, MusicAddedFromAFilePlaysFromItsFolder) {
  Wav("song.mp3");  // a WAV under a music name: the decoder reads what it holds
  int s = Sound_Add((dir + "song.mp3").c_str(), 0, false);
  EXPECT_EQ(std::string(Sound_Data(s)->PlayName()), dir + "song.mp3");
  Wave_Play(Sound_Data(s)->PlayName(), -1, false);
  EXPECT_TRUE(Wave_IsPlaying(Sound_Data(s)->PlayName(), -1));
  // The layer keeps its own copy of the music's name: the sound may go.
  std::string name = Sound_Data(s)->PlayName();
  Sound_Delete(s);
  Wave_Stop(name.c_str(), -1);
  EXPECT_FALSE(Wave_IsPlaying(name.c_str(), -1));
  // A relative name is taken from the game's folder, wherever the program
  // was started; one that climbs out of it is missing.
  char* cwd = get_current_dir_name();
  ASSERT_EQ(chdir("/"), 0);
  int r = Sound_Add("song.mp3", 0, false);
  ASSERT_GE(r, 0);
  EXPECT_EQ(std::string(Sound_Data(r)->PlayName()), dir + "song.mp3");
  EXPECT_TRUE(Sound_Replace(r, "./sub/../song.mp3", 0, false));
  std::string folder = dir.substr(0, dir.size() - 1);
  std::string outAndBack = "../" + folder.substr(folder.rfind('/') + 1) + "/song.mp3";
  EXPECT_FALSE(Sound_Replace(r, outAndBack.c_str(), 0, false));
  EXPECT_EQ(Sound_Add(outAndBack.c_str(), 0, false), -1);
  ASSERT_EQ(chdir(cwd), 0);
  free(cwd);
}

TEST_F(SoundTest, FadesTakeOneFrameAStep) {
  std::vector<uint8_t> wav = Sound_MakeWav(0.5, 0.25);
  SoundHardware& hw = *g_SoundHardware;
  SoundHardwareSound* s = hw.Load(wav.data(), int64_t(wav.size()));
  ASSERT_NE(s, nullptr);
  hw.SetVolume(s, 0.0f, 500);  // no room: speed 30, 33 ms a step
  EXPECT_EQ(s->fade_count, 15);
  hw.SetVolume(s, 0.0f, 0);
  EXPECT_EQ(s->fade_count, 1);
  CRoom fast;
  fast.speed = 5000;  // faster than a step a millisecond
  g_RunRoom = &fast;
  hw.SetVolume(s, 0.0f, 500);
  EXPECT_EQ(s->fade_count, 500);
  fast.speed = 0;
  hw.SetVolume(s, 0.0f, 500);
  EXPECT_EQ(s->fade_count, 1);
  g_RunRoom = nullptr;
  hw.Free(s);
}

TEST_F(SoundTest, TicksStepTheVolumeWithinItsRangeAndGainsAreNeverNegative) {
  std::vector<uint8_t> wav = Sound_MakeWav(1.0, 0.25);
  SoundHardware& hw = *g_SoundHardware;
  SoundHardwareSound* s = hw.Load(wav.data(), int64_t(wav.size()));
  ASSERT_NE(s, nullptr);
  WaveSlot slot{true, false, 0, s};
  hw.Play(s, true);
  hw.SetVolume(s, -2.0f, 100);  // three steps of -1
  hw.Tick({&slot, 1});
  EXPECT_EQ(s->volume, 0.0f);
  EXPECT_EQ(s->fade_count, 2);
  ALfloat gain = -5;
  alGetSourcef(s->sources[0], AL_GAIN, &gain);
  EXPECT_EQ(gain, 0.0f);
  hw.SetVolume(s, 0.5f, 0);
  hw.Tick({&slot, 1});
  alGetSourcef(s->sources[0], AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.5f);
  // A negative master volume silences the next play rather than giving OpenAL a negative gain.
  hw.SetMasterVolume(-1.0f);
  hw.Play(s, false);
  alGetSourcef(s->sources[1], AL_GAIN, &gain);
  EXPECT_EQ(gain, 0.0f);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
  hw.SetMasterVolume(1.0f);
  hw.Free(s);
}

TEST_F(SoundTest, ASoundWithoutSourcesStaysSilentAndSaysSo) {
  std::vector<uint8_t> wav = Sound_MakeWav(0.01, 0.25);
  SoundHardware& hw = *g_SoundHardware;
  std::vector<SoundHardwareSound*> loaded;
  testing::internal::CaptureStdout();
  SoundHardwareSound* s = nullptr;
  // Four sources a sound: the context's room runs out after about a thousand.
  for (int i = 0; i < 1100 && (s = hw.Load(wav.data(), int64_t(wav.size()))); i++) loaded.push_back(s);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(s, nullptr);
  EXPECT_GE(loaded.size(), 1000u);
  EXPECT_NE(out.find("AL error creating sources"), std::string::npos) << out;
  hw.Play(s, false);  // nothing to play
  EXPECT_FALSE(hw.Playing(s));
  for (SoundHardwareSound* l : loaded) hw.Free(l);
  s = hw.Load(wav.data(), int64_t(wav.size()));
  EXPECT_NE(s, nullptr);  // the sources came back
  hw.Free(s);
}

TEST_F(SoundTest, WithoutAudioEveryOperationReturnsAtOnce) {
  Sound_Quit();
  g_NoAudio = 1;
  Sound_Prepare();
  EXPECT_FALSE(g_SoundHardware->IsOn());
  std::vector<uint8_t> wav = Sound_MakeWav(0.2, 0.25);
  EXPECT_EQ(g_SoundHardware->Load(wav.data(), int64_t(wav.size())), nullptr);
  int s = Sound_Add(Wav("a.wav").c_str(), 0, true);
  EXPECT_GE(Sound_Data(s)->slot, 0);  // slots are still made
  Wave_Play(Sound_Data(s)->PlayName(), Sound_Data(s)->slot, false);
  EXPECT_FALSE(Wave_IsPlaying(Sound_Data(s)->PlayName(), Sound_Data(s)->slot));
  g_SoundHardware->PlayMP3("theme.mp3", false);
  EXPECT_FALSE(g_SoundHardware->PlayingMP3());
}
}  // namespace
