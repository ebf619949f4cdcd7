#include "Audio_Test.h"
#include "Base/File_Folders.h"
#include "Run/Run_Hooks.h"
#include "Sound_Listen.h"

namespace {
using AudioListen = SoundListenTest;

// The audio system's sounds (see AudioPackage) at a level, option on.
std::function<void()> Sounds(const AudioPackage& pkg) {
  return [&pkg] { pkg.Load(); };
}

TEST_F(AudioListen, AVoiceSoundsForItsLengthAndStopsWhenStopped) {
  AudioPackage pkg(0.2);
  Recording r = Listen(
      [] {
        Frames(0.2);
        Audio_PlaySimple(0, 1, 0);
        Frames(1.0);
        int h = Audio_PlaySimple(3, 1, 1);
        Frames(0.5);
        Audio_StopSound(h);
        Frames(0.5);
      },
      false, Sounds(pkg));
  double on = r.Onset();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.05, on + 0.45), 0.2, 0.005);
  EXPECT_LT(r.Level(on + 0.52, on + 0.95), 0.001);
  EXPECT_NEAR(r.Level(on + 1.1, on + 1.4), 0.1, 0.005);  // the long sound has volume 0.5
  EXPECT_NEAR(r.End() - on, 1.0 + 0.5, 0.1);
}

TEST_F(AudioListen, PlacesAndEmittersAreHeardFromTheirSide) {
  AudioPackage pkg(0.2);
  Recording r = Listen(
      [] {
        Frames(0.2);
        // The listener faces +z with +y up: +x is on its left.
        Audio_PlaySoundAt(0, 10, 0, 0, 10, 1000, 1, 0, 1);
        Frames(0.7);
        int e = Audio_EmitterCreate();
        Audio_EmitterPosition(e, 10, 0, 0);
        Audio_PlaySound(e, 3, 1, 1);
        Frames(0.5);
        Audio_EmitterPosition(e, -10, 0, 0);
        Frames(0.5);
      },
      true, Sounds(pkg));
  double on = r.Onset();
  ASSERT_GT(on, 0);
  double left = r.Level(on + 0.05, on + 0.45), right = r.Level(on + 0.05, on + 0.45, true);
  EXPECT_GT(left, 0.1);
  EXPECT_LT(right, left * 0.05);
  // The emitter's voice: left, then right from the frame after the move.
  EXPECT_GT(r.Level(on + 0.8, on + 1.1), 0.03);
  EXPECT_LT(r.Level(on + 0.8, on + 1.1, true), 0.005);
  EXPECT_GT(r.Level(on + 1.3, on + 1.6, true), 0.03);
  EXPECT_LT(r.Level(on + 1.3, on + 1.6), 0.005);
}

TEST_F(AudioListen, AStolenVoiceFallsSilentAndPauseHoldsAVoice) {
  AudioPackage pkg(0.2);
  Recording r = Listen(
      [] {
        Audio_SetChannelCount(1);
        Frames(0.2);
        int low = Audio_PlaySimple(3, 1, 1);  // at 0.1 (volume 0.5)
        Frames(0.4);
        Audio_PlaySimple(0, 2, 0);  // takes the only source, at 0.2, for 0.5 s
        Frames(0.8);
        Audio_ResumeSound(low);  // stolen: nothing comes back
        Frames(0.2);
        int h = Audio_PlaySimple(3, 1, 1);
        Frames(0.3);
        Audio_PauseSound(h);
        Frames(0.4);
        Audio_ResumeSound(h);
        Frames(0.3);
      },
      false, Sounds(pkg));
  double on = r.Onset();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.05, on + 0.35), 0.1, 0.005);
  EXPECT_NEAR(r.Level(on + 0.45, on + 0.85), 0.2, 0.005);  // the new voice alone
  EXPECT_LT(r.Level(on + 0.95, on + 1.35), 0.001);         // and after it, silence
  EXPECT_NEAR(r.Level(on + 1.45, on + 1.65), 0.1, 0.01);
  EXPECT_LT(r.Level(on + 1.8, on + 2.0), 0.001);  // paused
  EXPECT_NEAR(r.Level(on + 2.2, on + 2.4), 0.1, 0.01);
}

TEST_F(AudioListen, TheMasterGainScalesVoicesAndMusic) {
  AudioPackage pkg(0.2);
  Recording r = Listen(
      [this] {
        File_SetGameDirectory(dir.c_str());
        Frames(0.2);
        Audio_PlaySimple(3, 1, 1);
        Frames(0.4);
        Audio_SetMasterGain(0.5f);
        Frames(0.4);
        Audio_StopAll();
        Frames(0.2);
        Audio_SetMasterGain(1.0f);
        Frames(0.1);
        Audio_PlayMusic(1, true);  // theme.mp3 from the game's folder
        Frames(0.4);
        Audio_SetMasterGain(0.25f);
        Frames(0.4);
        Audio_StopMusic();
      },
      false,
      [&pkg, this] {
        Sound_WriteFile(dir + "theme.mp3", Sound_MakeWav(0.3, 0.4));
        pkg.Load();
      });
  double on = r.Onset();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.05, on + 0.35), 0.1, 0.005);
  EXPECT_NEAR(r.Level(on + 0.5, on + 0.75), 0.05, 0.005);
  // The music starts louder than any voice did; found where it starts, so that
  // a slow machine's late frames do not move the windows.
  double music = r.Onset(0.2, on + 0.5);
  ASSERT_GT(music, 0);
  EXPECT_NEAR(r.Level(music + 0.1, music + 0.35), 0.4, 0.02);  // the listener's gain is not the music's
  EXPECT_NEAR(r.Level(music + 0.5, music + 0.75), 0.1, 0.01);
}

TEST_F(AudioListen, BeyondTheMaximumALinearClampedFalloffIsSilent) {
  AudioPackage pkg(0.2);
  Recording r = Listen(
      [] {
        Audio_SetFalloffModel(4);
        Frames(0.2);
        Audio_PlaySoundAt(0, 0, 0, 55, 10, 100, 1, 0, 1);  // half way: half the level
        Frames(0.7);
        Audio_PlaySoundAt(0, 0, 0, 200, 10, 100, 1, 0, 1);
        Frames(0.7);
      },
      false, Sounds(pkg));
  double on = r.Onset();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.05, on + 0.45), 0.1, 0.005);
  EXPECT_LT(r.Level(on + 0.6, on + 1.4), 0.001);
}
}  // namespace
