// Shared by the sound benchmarks: a silent WAV file image and a main that
// closes the sound output after the runs.
#pragma once
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "Run/Run_Hooks.h"

inline std::vector<uint8_t> Bench_SilentWav(uint32_t frames, uint32_t rate = 22050) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  auto tag = [&](const char* t) { for (int i = 0; i < 4; i++) out.push_back(uint8_t(t[i])); };
  tag("RIFF"); u32(36 + 2 * frames); tag("WAVE");
  tag("fmt "); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
  tag("data"); u32(2 * frames);
  out.resize(out.size() + 2 * frames, 0);
  return out;
}

#define SOUND_BENCHMARK_MAIN()                  \
  int main(int argc, char** argv) {             \
    benchmark::Initialize(&argc, argv);         \
    benchmark::RunSpecifiedBenchmarks();        \
    benchmark::Shutdown();                      \
    Sound_Quit();                               \
    Sound_FreeAll();                            \
    return 0;                                   \
  }
