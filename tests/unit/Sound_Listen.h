// Test helpers that listen: each scenario runs in a process of its own (the
// sound library reads its configuration once a process) whose output goes
// to a WAV file through OpenAL Soft's "wave" driver; the file is read once
// that process has closed the device.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

#include "Run/Run_Hooks.h"
#include "Sound_Test.h"

constexpr int kRate = 44100;

struct Recording {
  std::vector<float> samples;  // -1 to 1; mono, or the left channel of stereo
  std::vector<float> right;    // the right channel of stereo
  // The mean level over [from, to) seconds (of the right channel when asked).
  double Level(double from, double to, bool ofRight = false) const {
    const std::vector<float>& s = ofRight ? right : samples;
    size_t a = size_t(std::max(0.0, from) * kRate), b = std::min(s.size(), size_t(std::max(0.0, to) * kRate));
    double sum = 0;
    for (size_t i = a; i < b; i++) sum += std::fabs(s[i]);
    return b > a ? sum / double(b - a) : 0.0;
  }
  // The first time from `from` seconds on that the level passes a threshold,
  // -1 when never.
  double Onset(double threshold = 0.01, double from = 0) const {
    for (size_t i = size_t(std::max(0.0, from) * kRate); i < samples.size(); i++)
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

inline bool ReadWav(const std::string& path, Recording& out) {
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
      auto sample = [&](size_t p) {
        float v;
        if (bits == 16) v = float(int16_t(u16(p))) / 32768.0f;
        else std::memcpy(&v, &b[p], 4);
        return v;
      };
      for (size_t p = at + 8; p + step <= end; p += step) {
        out.samples.push_back(sample(p));
        if (channels == 2) out.right.push_back(sample(p + size_t(bits / 8)));
      }
      return true;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

// Steps frames at room speed 30 for a time.
// Frames keep to a schedule from the first one, so that late wake-ups of a
// busy machine do not add up over a scenario.
inline void Frames(double seconds) {
  static auto next = std::chrono::steady_clock::now();
  for (int i = 0; i < int(std::lround(seconds * 30)); i++) {
    next += std::chrono::microseconds(33333);
    std::this_thread::sleep_until(next);
    Sound_Tick();
  }
}

class SoundListenTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/soundlistenXXXXXX";
    dir = mkdtemp(tmpl);
    dir += "/";
    File_SetGameDirectory(dir.c_str());  // files are read from the save and game folders only
  }
  void TearDown() override {
    File_SetGameDirectory("");
    std::filesystem::remove_all(dir);
  }

  // Runs a scenario in a new process with the sound output going to a file:
  // the test program starts again with only this test, which then runs the
  // scenario and ends.
  // `prepare` runs before the sound output opens.
  Recording Listen(const std::function<void()>& scenario, bool stereo = false,
                   const std::function<void()>& prepare = [] {}) {
    if (getenv("SOUND_LISTEN_CHILD")) {
      prepare();
      Sound_Prepare();
      Audio_CreateBuffers();
      scenario();
      Sound_Quit();
      Sound_FreeAll();
      std::filesystem::remove_all(dir);
      _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    std::string conf = dir + "alsoft.conf", wav = dir + "out.wav";
    std::ofstream(conf) << "drivers=wave\nchannels=" << (stereo ? "stereo" : "mono")
                        << "\nsample-type=int16\nhrtf=false\nfrequency=" << kRate
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

