// 100,000 live particles in one system (square shape, moving, colour and
// alpha over the life): the time of one update, and of one frame drawing
// them headless, with the draw calls a frame takes.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Base/Random_Main.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "Particle/Particle_Main.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

namespace {

constexpr int kParticles = 100000;

bool Start() {
  static bool ok = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return Window_Create("bench", 640, 480) && Graphics_Init();
  }();
  return ok;
}

// A system full of small moving squares that change colour and fade over a
// life longer than the benchmark runs.
int MakeSystem() {
  Particle_FreeAll();
  Random_Seed(1);
  int t = ParticleType_Create();
  ParticleType_SetShape(t, PT_SHAPE_SQUARE);
  ParticleType_SetSize(t, 0.05f, 0.1f, 0, 0);
  ParticleType_SetLife(t, 1000000, 1000000);
  ParticleType_SetSpeed(t, 0.01f, 0.05f, 0, 0);
  ParticleType_SetDirection(t, 0, 360, 0, 0);
  ParticleType_SetColour3(t, 0x0000FF, 0x00FFFF, 0xFF0000);
  ParticleType_SetAlpha3(t, 1, 0.8f, 0.2f);
  int ps = ParticleSystem_Create();
  int e = ParticleEmitter_Create(ps);
  ParticleEmitter_Region(ps, e, 0, 640, 0, 480, PS_SHAPE_RECTANGLE, PS_DISTR_LINEAR);
  ParticleEmitter_Burst(ps, e, t, kParticles);
  return ps;
}

void BM_ParticleUpdate(benchmark::State& state) {
  int ps = MakeSystem();
  for (auto _ : state) ParticleSystem_Update(ps);
  state.counters["particles"] = ParticleSystem_ParticleCount(ps);
  state.SetItemsProcessed(state.iterations() * kParticles);
  Particle_FreeAll();
}

void BM_ParticleDrawFrame(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  int ps = MakeSystem();
  ParticleSystem_Update(ps);
  int batches = 0;
  for (auto _ : state) {
    GR_D3D_Start_Frame();
    GR_Draw_Clear(0);
    ParticleSystem_Draw(ps);
    Batch_Flush();
    batches = Graphics_FrameCounters.batches;
    GR_D3D_Finish_Frame();
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));  // waits for the frame to be drawn
  }
  state.counters["draw_calls_per_frame"] = batches;
  state.counters["particles"] = ParticleSystem_ParticleCount(ps);
  Particle_FreeAll();
}

// The vertices alone: one batch's worth of particles into the batch and
// given back, so that no device work is timed.
void BM_ParticleVerticesOnly(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  int ps = MakeSystem();
  CParticleSystem* system = ParticleSystem_Get(ps);
  system->particles.resize(BATCH_MAX_VERTS / 6);
  Batch_Flush();
  for (auto _ : state) {
    system->Draw();
    Batch_Unreserve(BATCH_MAX_VERTS);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(system->particles.size()));
  Particle_FreeAll();
}

}  // namespace

BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParticleDrawFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParticleVerticesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
