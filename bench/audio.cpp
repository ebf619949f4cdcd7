// The audio system's costs: a play when the 128 sources are busy and a few
// thousand voices are on record, and the per-frame emitter update with 100
// emitters of 10 voices each. Runs on OpenAL Soft's null output unless
// ALSOFT_DRIVERS says otherwise.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "DataFile/DataFile_Package.h"
#include "Option/Option_Main.h"
#include "Run/Run_Hooks.h"
#include "Sound/Audio_Main.h"
#include "Sound_Bench.h"

namespace {
// A fresh audio system with one looping sound (index 0).
void Start(int channels) {
  static std::vector<uint8_t> wav = Bench_SilentWav(22050);
  static bool started = false;
  if (started) {
    Sound_Quit();
    Sound_FreeAll();
  }
  started = true;
  setenv("ALSOFT_DRIVERS", "null", 0);
  g_GameOptions.new_audio = true;
  PackageSound s;
  s.exists = true, s.name = "snd", s.file_name = "snd.wav";
  Audio_Load({s});
  Audio_WAVs({PackageBytes(wav.data(), wav.size())});
  Sound_Prepare();
  Audio_CreateBuffers();
  Audio_SetChannelCount(channels);
}

// 128 busy sources and 3,000 voices on record: every play walks them all.
void FillPool() {
  Start(128);
  for (int i = 0; i < 128; i++) Audio_PlaySimple(0, 0, 1);
  for (int i = 1; i <= 2872; i++) Audio_PlaySimple(0, float(i), 1);  // each steals the lowest
}

void BM_AudioPlayRefusedByAFullPool(benchmark::State& state) {
  FillPool();
  for (auto _ : state) benchmark::DoNotOptimize(Audio_PlaySimple(0, 1, 0));
}
BENCHMARK(BM_AudioPlayRefusedByAFullPool)->Unit(benchmark::kMicrosecond);

void BM_AudioPlayStealingFromAFullPool(benchmark::State& state) {
  FillPool();
  float priority = 10000;
  for (auto _ : state) benchmark::DoNotOptimize(Audio_PlaySimple(0, priority++, 1));
}
BENCHMARK(BM_AudioPlayStealingFromAFullPool)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_AudioUpdateHundredEmitters(benchmark::State& state) {
  Start(1000);
  for (int e = 0; e < 100; e++) {
    int emitter = Audio_EmitterCreate();
    Audio_EmitterPosition(emitter, float(e), 0, 0);
    for (int v = 0; v < 10; v++) Audio_PlaySound(emitter, 0, 1, 1);
  }
  for (auto _ : state) Audio_UpdateEmitters();
}
BENCHMARK(BM_AudioUpdateHundredEmitters)->Unit(benchmark::kMicrosecond);
}  // namespace

SOUND_BENCHMARK_MAIN()
