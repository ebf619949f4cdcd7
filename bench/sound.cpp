// The sound system's costs that a frame feels: opening a three-minute MP3 as
// MCI music (decoded whole before the command returns) and the per-frame
// tick with 1,000 slots fading. Runs on OpenAL Soft's null output unless
// ALSOFT_DRIVERS says otherwise.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "Run/Run_Hooks.h"
#include "Sound/MCI_Main.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Wave.h"
#include "Sound_Bench.h"

namespace {
void StartSound() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("ALSOFT_DRIVERS", "null", 0);
  Sound_Prepare();
}

// A stereo 44.1 kHz MP3 of three minutes of a moving tone, made once.
const std::string& ThreeMinuteMp3() {
  static std::string path;
  if (!path.empty()) return path;
  path = "/tmp/bench_sound_" + std::to_string(getpid()) + ".mp3";
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> block(2 * 44100);
  for (int second = 0; second < 180; second++) {
    for (int i = 0; i < 44100; i++)
      block[2 * i] = block[2 * i + 1] = float(0.3 * std::sin(2 * M_PI * (220 + second) * i / 44100.0));
    sf_writef_float(f, block.data(), 44100);
  }
  sf_close(f);
  return path;
}

void BM_MCIOpenThreeMinuteMp3(benchmark::State& state) {
  StartSound();
  std::string open = "open \"" + ThreeMinuteMp3() + "\" type mpegvideo alias song";
  for (auto _ : state) {
    if (MCI_SendString(open.c_str(), nullptr, 0) != MCI_OK) state.SkipWithError("the MP3 did not open");
    state.PauseTiming();
    MCI_SendString("close song", nullptr, 0);
    state.ResumeTiming();
  }
  unlink(ThreeMinuteMp3().c_str());
}
BENCHMARK(BM_MCIOpenThreeMinuteMp3)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SoundTickThousandFades(benchmark::State& state) {
  StartSound();
  std::vector<uint8_t> wav = Bench_SilentWav(2205);
  std::vector<int> slots;
  for (int i = 0; i < 1000; i++) slots.push_back(Wave_Create(wav.data(), int64_t(wav.size()), 0));
  // Fades of about two years of frames: every tick steps every slot.
  for (int slot : slots) Wave_SetVolume(slot, (slot & 1) ? 0.0 : 1.0, 2000000000);
  for (auto _ : state) Sound_Tick();
  for (int slot : slots) Wave_Release(slot);
  Sound_Tick();
}
BENCHMARK(BM_SoundTickThousandFades)->Unit(benchmark::kMicrosecond);
}  // namespace

SOUND_BENCHMARK_MAIN()
