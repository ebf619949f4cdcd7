#include <AL/al.h>

#include <cmath>

#include "Audio_Test.h"
#include "Function_Call.h"
#include "Sound/Audio_State.h"

namespace {
ALuint SourceOf(int handle) {
  for (auto& v : g_Audio.voices)
    if (v->handle == handle && v->source >= 0) return g_Audio.pool[size_t(v->source)];
  return 0;
}

float SourceFloat(ALuint source, ALenum what) {
  float value = -1;
  alGetSourcef(source, what, &value);
  return value;
}

TEST_F(AudioTest, HandlesCountOnlyPlaysThatPlay) {
  EXPECT_EQ(Audio_PlaySimple(0, 1, 0), 200000);
  EXPECT_EQ(Audio_PlaySimple(2, 1, 0), -1);   // no sound there
  EXPECT_EQ(Audio_PlaySimple(99, 1, 0), -1);
  EXPECT_EQ(Audio_PlaySoundAt(-1, 0, 0, 0, 1, 100, 1, 0, 1), -1);
  EXPECT_EQ(Audio_PlaySimple(0, 1, 0), 200001);
  EXPECT_EQ(Audio_PlaySoundAt(3, 10, 0, 0, 1, 100, 1, 0, 1), 200002);
  EXPECT_TRUE(Audio_IsPlaying(200000));
  EXPECT_TRUE(Audio_IsPlaying(0));
  EXPECT_FALSE(Audio_IsPlaying(200003));
  // A streamed sound plays silence from no buffer, and still answers a handle.
  EXPECT_EQ(Audio_PlaySimple(1, 1, 0), 200003);
}

TEST_F(AudioTest, AFullPoolStealsOnlyFromLowerPriorities) {
  Audio_SetChannelCount(2);
  int a = Audio_PlaySimple(3, 5, 1), b = Audio_PlaySimple(3, 5, 1);
  EXPECT_EQ(Audio_PlaySimple(0, 5, 0), -1);  // equal priority: nothing to take
  EXPECT_EQ(Audio_PlaySimple(2, 9, 0), -1);  // a missing sound takes no source
  EXPECT_TRUE(Audio_IsPlaying(a));
  int c = Audio_PlaySimple(0, 6, 0);
  EXPECT_EQ(c, 200002);
  EXPECT_FALSE(Audio_IsPlaying(a));  // the first found of the lowest gave its source
  EXPECT_TRUE(Audio_IsPlaying(b));
  EXPECT_TRUE(Audio_IsPlaying(c));
  // The stolen voice stays active until its sound is stopped.
  Audio_StopSound(a);
  EXPECT_TRUE(Audio_IsPlaying(c));
}

TEST_F(AudioTest, StopsByHandleBySoundAndAll) {
  int a = Audio_PlaySimple(3, 1, 1), b = Audio_PlaySimple(3, 1, 1), c = Audio_PlaySimple(0, 1, 1);
  Audio_StopSound(a);
  EXPECT_FALSE(Audio_IsPlaying(a));
  EXPECT_TRUE(Audio_IsPlaying(b));
  Audio_StopSound(3);
  EXPECT_FALSE(Audio_IsPlaying(b));
  EXPECT_FALSE(Audio_IsPlaying(3));
  EXPECT_TRUE(Audio_IsPlaying(c));
  Audio_PauseSound(c);
  EXPECT_FALSE(Audio_IsPlaying(c));
  Audio_ResumeAll();
  EXPECT_TRUE(Audio_IsPlaying(c));
  Audio_PauseAll();
  EXPECT_FALSE(Audio_IsPlaying(0));
  Audio_ResumeSound(0);
  EXPECT_TRUE(Audio_IsPlaying(0));
  Audio_StopAll();
  EXPECT_FALSE(Audio_IsPlaying(c));
}

TEST_F(AudioTest, TypesAndLengthsOfSounds) {
  EXPECT_EQ(Audio_SoundIsStreamed(0), 0);
  EXPECT_EQ(Audio_SoundIsStreamed(1), 1);
  EXPECT_EQ(Audio_SoundIsStreamed(2), -1);
  EXPECT_EQ(Audio_SoundIsStreamed(9), -1);
  EXPECT_FLOAT_EQ(Audio_SoundLength(0), 0.5f);
  EXPECT_FLOAT_EQ(Audio_SoundLength(3), 2.0f);
  EXPECT_EQ(Audio_SoundLength(1), -1.0f);
  EXPECT_EQ(Audio_SoundLength(2), -1.0f);
  int h = Audio_PlaySimple(3, 1, 0);
  EXPECT_FLOAT_EQ(Audio_SoundLength(h), 2.0f);
  EXPECT_EQ(Audio_SoundLength(h + 1), -1.0f);
  EXPECT_TRUE(Audio_SoundExists(1));
  EXPECT_FALSE(Audio_SoundExists(2));
}

TEST_F(AudioTest, EmittersComeBackWithTheirSettings) {
  int e = Audio_EmitterCreate(), f = Audio_EmitterCreate();
  EXPECT_EQ(e, 0);
  EXPECT_EQ(f, 1);
  Audio_EmitterGain(e, 0.5f);
  Audio_EmitterGain(e, -1.0f);  // ignored
  Audio_EmitterPitch(e, 2.0f);
  Audio_EmitterFree(e);
  EXPECT_TRUE(Audio_EmitterExists(e));
  testing::internal::CaptureStdout();
  EXPECT_EQ(Audio_PlaySound(e, 0, 0, 1), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Audio_PlaySound Attempting to play sound on inactive emitter 0\n");
  EXPECT_EQ(Audio_PlaySound(7, 0, 0, 1), -1);
  EXPECT_EQ(Audio_PlaySound(-1, 0, 0, 1), -1);
  EXPECT_EQ(Audio_EmitterCreate(), e);
  int h = Audio_PlaySound(e, 3, 0, 1);
  ASSERT_GE(h, 200000);
  EXPECT_FLOAT_EQ(SourceFloat(SourceOf(h), AL_GAIN), 0.25f);  // emitter gain times the sound's volume
  EXPECT_FLOAT_EQ(SourceFloat(SourceOf(h), AL_PITCH), 2.0f);
  // Eight more than fit: the list grows by eight.
  for (int i = 0; i < 7; i++) Audio_EmitterCreate();
  EXPECT_EQ(Audio_EmitterCreate(), 9);
  EXPECT_FALSE(Audio_EmitterExists(16));
}

TEST_F(AudioTest, EmittersMoveTheirVoicesAtTheNextFrameOnly) {
  int e = Audio_EmitterCreate();
  Audio_EmitterPosition(e, 30, 0, 0);
  int h = Audio_PlaySound(e, 3, 1, 1);
  ALuint source = SourceOf(h);
  float p[3];
  alGetSourcefv(source, AL_POSITION, p);
  EXPECT_EQ(p[0], 30.0f);  // a new voice starts where the emitter stands
  Audio_EmitterPosition(e, 50, 0, 0);
  alGetSourcefv(source, AL_POSITION, p);
  EXPECT_EQ(p[0], 30.0f);
  Audio_UpdateEmitters();
  alGetSourcefv(source, AL_POSITION, p);
  EXPECT_EQ(p[0], 50.0f);
  // A voice record reused by a play elsewhere is no longer the emitter's.
  Audio_StopSound(h);
  int flat = Audio_PlaySimple(3, 1, 1);
  EXPECT_EQ(SourceOf(flat), source);
  Audio_EmitterPosition(e, 70, 0, 0);
  Audio_UpdateEmitters();
  alGetSourcefv(source, AL_POSITION, p);
  EXPECT_EQ(p[0], 0.0f);
  // Falloff changes reach the voices still playing.
  int g = Audio_PlaySound(e, 3, 1, 1);
  Audio_EmitterFalloff(e, 5, 50, 2);
  EXPECT_EQ(SourceFloat(SourceOf(g), AL_REFERENCE_DISTANCE), 5.0f);
  EXPECT_EQ(SourceFloat(SourceOf(g), AL_MAX_DISTANCE), 50.0f);
  EXPECT_EQ(SourceFloat(SourceOf(g), AL_ROLLOFF_FACTOR), 2.0f);
}

TEST_F(AudioTest, AReusedSourceKeepsNothingOfItsLastVoice) {
  Audio_SetChannelCount(1);
  int e = Audio_EmitterCreate();
  Audio_EmitterPitch(e, 3.0f);
  Audio_EmitterFalloff(e, 7, 70, 0.5f);
  Audio_EmitterPosition(e, 40, 5, 0);
  int h = Audio_PlaySound(e, 0, 0, 1);
  ALuint source = SourceOf(h);
  Audio_StopSound(h);
  Audio_PlaySimple(0, 1, 0);
  EXPECT_EQ(SourceFloat(source, AL_PITCH), 1.0f);
  EXPECT_EQ(SourceFloat(source, AL_ROLLOFF_FACTOR), 0.0f);  // flat: no falloff
  ALint relative = 0;
  alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
  EXPECT_EQ(relative, AL_TRUE);
  Audio_StopAll();
  Audio_PlaySoundAt(0, -8, 2, 1, 3, 30, 1, 0, 1);
  float p[3];
  alGetSourcefv(source, AL_POSITION, p);
  EXPECT_EQ(p[0], -8.0f);
  EXPECT_EQ(SourceFloat(source, AL_PITCH), 1.0f);
  EXPECT_EQ(SourceFloat(source, AL_REFERENCE_DISTANCE), 3.0f);
}

TEST_F(AudioTest, ANewPoolEndsEveryVoice) {
  int h = Audio_PlaySimple(3, 1, 1);
  Audio_SetChannelCount(4);
  EXPECT_FALSE(Audio_IsPlaying(h));
  EXPECT_FALSE(Audio_IsPlaying(3));
  Audio_StopSound(h);  // nothing left to stop, and no source of the old pool touched
  EXPECT_EQ(g_Audio.pool.size(), 4u);
  EXPECT_EQ(Audio_PlaySimple(3, 1, 1), h + 1);
  Audio_SetChannelCount(-3);
  EXPECT_EQ(Audio_PlaySimple(3, 1, 1), -1);  // no sources
  Audio_SetChannelCount(1 << 30);            // beyond the context's room: as many as it has
  EXPECT_LE(g_Audio.pool.size(), 4096u);
}

TEST_F(AudioTest, GainsAndPitchesThatAreNotNumbersOrInfiniteChangeNothing) {
  auto listenerGain = [] {
    float gain = -1;
    alGetListenerf(AL_GAIN, &gain);
    return gain;
  };
  Call("audio_master_gain", {0.5});
  Call("audio_master_gain", {NAN});
  Call("audio_master_gain", {INFINITY});
  EXPECT_EQ(listenerGain(), 0.5f);
  Call("audio_master_gain", {-INFINITY});  // negative gains are silence
  EXPECT_EQ(listenerGain(), 0.0f);
  int e = Audio_EmitterCreate();
  Call("audio_emitter_gain", {e, 0.5});
  Call("audio_emitter_pitch", {e, 2});
  for (double bad : {double(NAN), double(INFINITY), -double(INFINITY), 1e300}) {
    Call("audio_emitter_gain", {e, bad});
    Call("audio_emitter_pitch", {e, bad});
  }
  int h = Audio_PlaySound(e, 3, 0, 1);
  EXPECT_FLOAT_EQ(SourceFloat(SourceOf(h), AL_GAIN), 0.25f);
  EXPECT_FLOAT_EQ(SourceFloat(SourceOf(h), AL_PITCH), 2.0f);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(AudioTest, GainsModelsAndTheListener) {
  Audio_SetMasterGain(-2.0f);
  float gain = -1;
  alGetListenerf(AL_GAIN, &gain);
  EXPECT_EQ(gain, 0.0f);
  testing::internal::CaptureStdout();
  Audio_SetFalloffModel(7);
  Audio_SetFalloffModel(-1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Attempting to set audio falloff to unknown model\nAttempting to set audio falloff to unknown model\n");
  Audio_SetFalloffModel(4);
  EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_LINEAR_DISTANCE_CLAMPED);
  float at[6];
  alGetListenerfv(AL_ORIENTATION, at);
  EXPECT_EQ(at[2], 1.0f);  // facing +z, up +y
  EXPECT_EQ(at[4], 1.0f);
  Audio_ListenerPosition(1, 2, 3);
  Audio_ListenerOrientation(0, 0, -1, 0, 1, 0);
  Audio_UpdateEmitters();
  float p[3];
  alGetListenerfv(AL_POSITION, p);
  EXPECT_EQ(p[1], 2.0f);
  alGetListenerfv(AL_ORIENTATION, at);
  EXPECT_EQ(at[2], -1.0f);
}

TEST_F(AudioTest, TheBuiltInsConvertAndReportNothing) {
  Error_SetOccurred(false);
  EXPECT_EQ(CallReal("audio_play_sound", {0.4, 1, 0}), 200000);  // the index is rounded
  EXPECT_EQ(CallReal("audio_play_sound", {5, 1, 0}), -1);
  EXPECT_EQ(CallReal("audio_is_playing", {200000}), 1);
  EXPECT_EQ(CallReal("audio_get_type", {1}), 1);
  EXPECT_FLOAT_EQ(float(CallReal("audio_sound_length", {0})), 0.5f);
  double e = CallReal("audio_emitter_create", {});
  EXPECT_EQ(CallReal("audio_emitter_exists", {e}), 1);
  EXPECT_EQ(CallReal("audio_play_sound_on", {e, 3, 1, 1}), 200001);
  EXPECT_EQ(CallReal("audio_play_sound_at", {0, 1, 2, 3, 1, 100, 1, 0, 1}), 200002);
  Call("audio_stop_sound", {200001});
  EXPECT_EQ(CallReal("audio_is_playing", {200001}), 0);
  Call("audio_stop_all", {});
  EXPECT_EQ(CallReal("audio_is_playing", {0}), 0);
  EXPECT_FALSE(Error_Occurred());
  // The classic plays do nothing in this mode.
  Call("sound_play", {0});
  EXPECT_FALSE(Error_Occurred());
}

TEST(AudioOff, WithTheOptionOffEveryOperationFails) {
  AudioPackage pkg;
  pkg.Load();
  g_GameOptions.new_audio = false;
  Sound_Prepare();
  Audio_CreateBuffers();
  EXPECT_EQ(Audio_PlaySimple(0, 1, 0), -1);
  EXPECT_EQ(Audio_PlaySoundAt(0, 0, 0, 0, 1, 1, 1, 0, 1), -1);
  EXPECT_EQ(Audio_EmitterCreate(), -1);
  EXPECT_EQ(Audio_PlaySound(0, 0, 0, 1), -1);
  EXPECT_FALSE(Audio_EmitterExists(0));
  EXPECT_EQ(Audio_SoundIsStreamed(0), -1);
  EXPECT_EQ(Audio_SoundLength(0), -1.0f);
  EXPECT_FALSE(Audio_IsPlaying(0));
  EXPECT_TRUE(Audio_SoundExists(0));  // no switch test
  Audio_ListenerPosition(1, 1, 1);
  Audio_StopMusic();
  Sound_Quit();
  Sound_FreeAll();
}

TEST(AudioOff, WithoutSoundTheOptionStaysAndTheClassicPlaysStayQuiet) {
  AudioPackage pkg;
  pkg.Load();
  g_NoAudio = 1;
  Sound_Prepare();
  Audio_CreateBuffers();
  EXPECT_TRUE(g_GameOptions.new_audio);
  EXPECT_EQ(Audio_PlaySimple(0, 1, 0), -1);
  EXPECT_EQ(Audio_EmitterCreate(), -1);
  Error_SetOccurred(false);
  Call("sound_play", {0});
  Call("sound_stop", {0});
  EXPECT_FALSE(Error_Occurred());
  Sound_Quit();
  Sound_FreeAll();
  g_NoAudio = 0;
  g_GameOptions.new_audio = false;
}
}  // namespace
