// Frame pacing: steps per second of the timed frame loop in an empty room at
// room speed 30 and 60 (headless). The rate should match the room speed.
#include <benchmark/benchmark.h>

#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"

namespace {
void BM_FramePacing(benchmark::State& state) {
  Run_ClearInstances();
  Room_FreeAll();
  int room = Room_Add("bench");
  Room_Data(room)->speed = static_cast<int>(state.range(0));
  StartGame();
  Run_Running = 1;
  for (auto _ : state) Run_Frame();
  state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["room_speed"] = static_cast<double>(state.range(0));
  EndGame();
}
}  // namespace

// Ten seconds of frames at each speed.
BENCHMARK(BM_FramePacing)->Arg(30)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePacing)->Arg(60)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
