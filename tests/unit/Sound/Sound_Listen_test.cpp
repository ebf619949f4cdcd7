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

// A 440 Hz tone as a sound file of a format, of an amplitude on each channel.
void WriteTone(const std::string& path, int format, double seconds, const std::vector<double>& amplitudes,
               int rate = kRate) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = int(amplitudes.size());
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  std::vector<float> tone(size_t(seconds * rate) * amplitudes.size());
  for (size_t i = 0; i < tone.size(); i++) {
    size_t frame = i / amplitudes.size();
    tone[i] = float(amplitudes[i % amplitudes.size()] * std::sin(2 * M_PI * 440 * double(frame) / rate));
  }
  sf_writef_float(f, tone.data(), sf_count_t(tone.size() / amplitudes.size()));
  sf_close(f);
}

void WriteMp3(const std::string& path, double seconds, double amplitude) {
  WriteTone(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, seconds, {amplitude});
}

// The mean level of a 440 Hz tone of an amplitude.
double ToneLevel(double amplitude) { return amplitude * 2 / M_PI; }

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

namespace {
// Plays files through the MCI player one after another, a second each.
void PlayInTurn(const std::vector<std::string>& files) {
  Frames(0.2);
  for (size_t i = 0; i < files.size(); i++) {
    std::string alias = "song" + std::to_string(i);
    Call("MCI_command", {("open \"" + files[i] + "\" type mpegvideo alias " + alias).c_str()});
    Call("MCI_command", {("play " + alias).c_str()});
    Frames(1.0);
    Call("MCI_command", {("close " + alias).c_str()});
  }
}

TEST_F(SoundListen, MusicOfEveryFormatPlaysAtItsOwnLevel) {
  std::vector<std::pair<int, const char*>> formats = {{SF_FORMAT_WAV | SF_FORMAT_PCM_16, "q16.wav"},
                                                      {SF_FORMAT_WAV | SF_FORMAT_FLOAT, "qfloat.wav"},
                                                      {SF_FORMAT_OGG | SF_FORMAT_VORBIS, "q.ogg"},
                                                      {SF_FORMAT_OGG | SF_FORMAT_OPUS, "q.opus"},
                                                      {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "q.flac"}};
  std::vector<std::string> files;
  for (auto& [format, name] : formats) {
    WriteTone(dir + name, format, 0.8, {0.1}, 48000);  // a rate every format takes
    files.push_back(dir + name);
  }
  Recording r = Listen([&] { PlayInTurn(files); });
  double on = r.Onset(0.02);
  ASSERT_GT(on, 0);
  for (size_t i = 0; i < files.size(); i++)
    EXPECT_NEAR(r.Level(on + double(i) + 0.2, on + double(i) + 0.6), ToneLevel(0.1), 0.006) << files[i];
}

TEST_F(SoundListen, MusicOfMoreThanTwoChannelsIsMixedToStereo) {
  // 5.1: the front left alone in a WAV with a channel mask, the front right
  // alone in an Ogg file (whose order puts the centre second), every channel
  // but the low-frequency one in a WAV without a mask.
  WriteTone(dir + "left.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 0.8, {0.3, 0, 0, 0, 0, 0});
  WriteTone(dir + "right.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0.8, {0, 0, 0.3, 0, 0, 0});
  WriteTone(dir + "all.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.8, {0.1, 0.1, 0.1, 0.1, 0.1, 0.1});
  Recording r = Listen([&] { PlayInTurn({dir + "left.wav", dir + "right.ogg", dir + "all.wav"}); }, true);
  double on = r.Onset(0.02);
  ASSERT_GT(on, 0);
  EXPECT_NEAR(r.Level(on + 0.2, on + 0.6), ToneLevel(0.3), 0.01);
  EXPECT_LT(r.Level(on + 0.2, on + 0.6, true), 0.002);
  EXPECT_LT(r.Level(on + 1.2, on + 1.6), 0.002);
  EXPECT_NEAR(r.Level(on + 1.2, on + 1.6, true), ToneLevel(0.3), 0.01);
  // Each side: its front channel, and the centre and its rear channel at -3 dB.
  double side = ToneLevel(0.1 * (1 + 2 * M_SQRT1_2));
  EXPECT_NEAR(r.Level(on + 2.2, on + 2.6), side, 0.01);
  EXPECT_NEAR(r.Level(on + 2.2, on + 2.6, true), side, 0.01);
}

TEST_F(SoundListen, VolumesThatAreNotNumbersChangeNothingAndInfinitiesAreClamped) {
  std::string file = Wav("a.wav", 0.3, 0.4);
  WriteMp3(dir + "song.mp3", 0.4, 0.3);
  std::string song = dir + "song.mp3";
  Recording r = Listen([&] {
    int s = Sound_Add(file.c_str(), 0, true), m = Sound_Add(song.c_str(), 1, false);
    Frames(0.2);
    Call("sound_volume", {s, NAN});
    Call("sound_global_volume", {NAN});
    Frames(0.1);
    Call("sound_play", {s});  // at its own volume
    Frames(0.4);
    Call("sound_volume", {s, 0.5});
    Frames(0.1);
    Call("sound_play", {s});
    Frames(0.4);
    Call("sound_volume", {s, INFINITY});  // as 1
    Frames(0.1);
    Call("sound_play", {s});
    Frames(0.4);
    Call("sound_loop", {m});
    Call("sound_volume", {m, NAN});
    Call("sound_fade", {m, INFINITY, 300});
    Frames(0.5);
    Call("sound_fade", {m, 0.5, 0});
    Frames(0.5);
    Call("sound_stop", {m});
  });
  // Three plays of 0.3 s, each found by where it starts.
  double on = r.Onset();
  ASSERT_GT(on, 0);
  double second = r.Onset(0.01, on + 0.35), third = r.Onset(0.01, second + 0.35);
  EXPECT_NEAR(r.Level(on + 0.02, on + 0.28), 0.4, 0.005);
  EXPECT_NEAR(r.Level(second + 0.02, second + 0.28), 0.2, 0.005);
  EXPECT_NEAR(r.Level(third + 0.02, third + 0.28), 0.4, 0.005);
  // The music: at full volume, then at half.
  double music = r.Onset(0.01, third + 0.32);
  ASSERT_GT(music, 0);
  EXPECT_NEAR(r.Level(music + 0.1, music + 0.4), ToneLevel(0.3), 0.02);
  EXPECT_NEAR(r.Level(music + 0.6, music + 0.9), ToneLevel(0.15), 0.01);
}
}  // namespace
