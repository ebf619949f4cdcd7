// What the debug overlay costs a frame, headless: the profiler's sections,
// the fps line, the bar and the caption panel drawn and read back, with the
// draw calls they add to the frame.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Debug/Debug_Overlay.h"
#include "Debug/Debug_Profiler.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "Option/Option_CommandLine.h"

namespace {

bool Start() {
  static bool ok = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!Window_Create("bench", 640, 480) || !Graphics_Init()) return false;
    Profiler_Init();
    DebugOverlay_SetGame("bench", 1, 0);
    return true;
  }();
  return ok;
}

// flags: 0 nothing shown, 2 the fps line and bar, 3 with the panel.
void BM_Overlay(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  Debug_Flags = unsigned(state.range(0));
  const char* names[] = {"IO&Kivo", "Update", "Draw", "Scroll"};
  int batches = 0;
  for (auto _ : state) {
    GR_D3D_Start_Frame();
    Profiler_Total();
    for (const char* name : names) {
      Profiler_Begin(name, 0xFF00FF00u);
      Profiler_End();
    }
    DebugOverlay_Draw();
    Batch_Flush();
    batches = Graphics_FrameCounters.batches;
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));  // waits for the frame to be drawn
  }
  state.counters["batches_added"] = batches;
}

}  // namespace

BENCHMARK(BM_Overlay)->Arg(0)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_MAIN();
