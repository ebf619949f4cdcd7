// Tests that listen: each scenario runs in a process of its own (the sound
// library reads its configuration once a process) whose output goes to a
// WAV file through OpenAL Soft's "wave" driver; the file is read once that
// process has closed the device.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>
#include <thread>

#include <sndfile.h>

#include "Function_Call.h"
#include "Sound/Sound_Class.h"
#include "Sound_Test.h"

namespace {
constexpr int kRate = 44100;

struct Recording {
  std::vector<float> samples;  // mono, -1 to 1
  // The mean level over [from, to) seconds.
  double Level(double from, double to) const {
    size_t a = size_t(from * kRate), b = std::min(samples.size(), size_t(to * kRate));
    double sum = 0;
    for (size_t i = a; i < b; i++) sum += std::fabs(samples[i]);
    return b > a ? sum / double(b - a) : 0.0;
  }
  // The first time the level passes a threshold, -1 when never.
  double Onset(double threshold = 0.01) const {
    for (size_t i = 0; i < samples.size(); i++)
      if (std::fabs(samples[i]) > threshold) return double(i) / kRate;
    return -1;
  }
  // The last time it is above the threshold.
  double End(double threshold = 0.01) const {
    for (size_t i = samples.size(); i-- > 0;)
      if (std::fabs(samples[i]) > threshold) return double(i) / kRate;
    return -1;
  }
};

bool ReadWav(const std::string& path, Recording& out) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24; };
  auto u16 = [&](size_t at) { return uint16_t(b[at] | b[at + 1] << 8); };
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return false;
  int bits = 0, channels = 0;
  for (size_t at = 12; at + 8 <= b.size();) {
    uint32_t size = u32(at + 4);
    if (std::memcmp(&b[at], "fmt ", 4) == 0) {
      channels = u16(at + 10);
      bits = u16(at + 22);
    } else if (std::memcmp(&b[at], "data", 4) == 0) {
      size_t end = std::min(b.size(), at + 8 + size_t(size));
      size_t step = size_t(bits / 8) * size_t(channels);
      if (!step) return false;
      for (size_t p = at + 8; p + step <= end; p += step) {
        float v;
        if (bits == 16) v = float(int16_t(u16(p))) / 32768.0f;
        else std::memcpy(&v, &b[p], 4);
        out.samples.push_back(v);
      }
      return true;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

// Steps frames at room speed 30 for a time.
void Frames(double seconds) {
  for (int i = 0; i < int(seconds * 30); i++) {
    std::this_thread::sleep_for(std::chrono::microseconds(33333));
    Sound_Tick();
  }
}

class SoundListen : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/soundlistenXXXXXX";
    dir = mkdtemp(tmpl);
    dir += "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Runs a scenario in a new process with the sound output going to a file:
  // the test program starts again with only this test, which then runs the
  // scenario and ends.
  Recording Listen(const std::function<void()>& scenario) {
    if (getenv("SOUND_LISTEN_CHILD")) {
      Sound_Clear();
      Sound_Prepare();
      scenario();
      Sound_Quit();
      Sound_FreeAll();
      std::filesystem::remove_all(dir);
      _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    std::string conf = dir + "alsoft.conf", wav = dir + "out.wav";
    std::ofstream(conf) << "drivers=wave\nchannels=mono\nsample-type=int16\nfrequency=" << kRate
                        << "\n[wave]\nfile=" << wav << "\n";
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    pid_t child = fork();
    if (child == 0) {
      unsetenv("ALSOFT_DRIVERS");
      setenv("ALSOFT_CONF", conf.c_str(), 1);
      setenv("SOUND_LISTEN_CHILD", "1", 1);
      char* args[] = {const_cast<char*>("unit_tests"), filter.data(), nullptr};
      execv("/proc/self/exe", args);
      _exit(127);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the scenario failed";
    Recording r;
    EXPECT_TRUE(ReadWav(wav, r));
    return r;
  }
  std::string Wav(const char* name, double seconds, double level) {
    Sound_WriteFile(dir + name, Sound_MakeWav(seconds, level));
    return dir + name;
  }
  std::string dir;
};

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
