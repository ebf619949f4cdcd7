#include <set>

#include <sndfile.h>

#include "Function_Call.h"
#include "Sound/Sound_Class.h"
#include "Sound_Listen.h"

namespace {
using SoundListen = SoundListenTest;

TEST_F(SoundListen, ASoundIsHeardForItsLength) {
  std::string file = Wav("a.wav", 0.5, 0.2);
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, true);
    Frames(0.2);
    Call("sound_play", {s});
    Frames(1.0);
  });
  double on = r.Onset(), off = r.End();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(off - on, 0.5, 0.01);
  EXPECT_NEAR(r.Level(on + 0.05, off - 0.05), 0.2, 0.005);
}

TEST_F(SoundListen, FivePlaysInARowSoundAsFourCopies) {
  std::string file = Wav("a.wav", 0.6, 0.05);
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, true);
    Frames(0.2);
    for (int i = 0; i < 5; i++) Call("sound_play", {s});
    Frames(1.0);
  });
  double on = r.Onset();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.1, on + 0.5), 0.2, 0.01);
}

TEST_F(SoundListen, AFadeOfHalfASecondAtRoomSpeed30FallsIn15Steps) {
  std::string file = Wav("a.wav", 0.5, 0.5);
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, true);
    Frames(0.2);
    Call("sound_loop", {s});
    Frames(0.3);
    Call("sound_fade", {s, 0, 500});
    Frames(1.0);
  });
  double on = r.Onset(), off = r.End(0.005);
  ASSERT_GT(on, 0);
  // Full level for the 0.3 s before the fade, then 15 steps of one frame each.
  // (late frames of a busy machine only lengthen it).
  EXPECT_GT(off - on, 0.3 + 14.0 / 30.0);
  EXPECT_LT(off - on, 0.3 + 18.0 / 30.0);
  // Each step holds a level of k / 15 of the full one for about a frame.
  std::set<int> steps;
  for (double t = on + 0.3; t < off; t += 0.005) {
    double k = r.Level(t, t + 0.005) / (0.5 / 15);
    if (std::fabs(k - std::round(k)) < 0.1) steps.insert(int(std::round(k)));
  }
  EXPECT_GE(steps.size(), 13u);
  EXPECT_LE(steps.size(), 16u);
  EXPECT_EQ(steps.count(7), 1u);
}

TEST_F(SoundListen, TheGlobalVolumeScalesTheNextPlay) {
  std::string file = Wav("a.wav", 0.3, 0.4);
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, true);
    Frames(0.2);
    Call("sound_global_volume", {0.25});
    Call("sound_play", {s});
    Frames(0.6);
  });
  double on = r.Onset(0.005);
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.05, on + 0.25), 0.1, 0.005);
}

// A 440 Hz tone of an amplitude as an MP3 file.
void WriteMp3(const std::string& path, double seconds, double amplitude) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  std::vector<float> tone(size_t(seconds * kRate));
  for (size_t i = 0; i < tone.size(); i++) tone[i] = float(amplitude * std::sin(2 * M_PI * 440 * double(i) / kRate));
  sf_writef_float(f, tone.data(), sf_count_t(tone.size()));
  sf_close(f);
}

TEST_F(SoundListen, MusicIsHeardLoopsWithRepeatAndTakesItsVolume) {
  WriteMp3(dir + "song.mp3", 0.4, 0.3);
  std::string file = dir + "song.mp3";
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, false);
    Frames(0.2);
    Call("sound_loop", {s});  // the .mp3 goes to the MCI player, from the sound's folder
    Frames(1.0);
    Call("MCI_command", {"setaudio MediaFile1 volume to 250"});
    Frames(0.5);
    Call("sound_stop", {s});
    Frames(0.3);
  });
  double on = r.Onset(), off = r.End();
  ASSERT_GT(on, 0);
  EXPECT_NEAR(off - on, 1.5, 0.1);  // far beyond the song's 0.4 s: it repeats
  double full = r.Level(on + 0.2, on + 0.9), quarter = r.Level(on + 1.15, on + 1.4);
  EXPECT_NEAR(full, 0.3 * 2 / M_PI, 0.02);
  EXPECT_NEAR(quarter / full, 0.25, 0.03);
}
}  // namespace
