// 3D drawing headless: a 10,000-triangle model drawn 100 times a frame,
// and 1,000 shapes a frame, lit, with depth testing; with the draw calls a
// frame costs. A model's vertices are built once, so a frame only copies
// them into the batch.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_D3D_Model.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"

namespace {

bool Start() {
  static bool ok = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return Window_Create("bench", 640, 480) && Graphics_Init();
  }();
  return ok;
}

void Scene() {
  D3D_Start(true);
  D3D_SetLighting(true);
  Graphics_LightDefineAmbient(0x404040);
  Graphics_LightDefineDirection(0, -1, -1, -2, 0xFFFFFF);
  Graphics_LightEnable(0, true);
  float from[3] = {0, -400, 300}, to[3] = {0, 0, 0}, up[3] = {0, 0, 1};
  D3D_SetProjection(from, to, up);
}

void Command(int model, int kind, std::initializer_list<double> args) {
  D3DModelCommand c;
  c.kind = kind;
  int i = 0;
  for (double a : args) c.args[i++] = a;
  D3D_Model_Add(model, c);
}

// A 100 by 50 grid of quads: 10,000 triangles in one triangle list.
int GridModel() {
  int m = D3D_Model_Create();
  Command(m, MODEL_BEGIN, {PR_TRIANGLELIST});
  for (int y = 0; y < 50; y++)
    for (int x = 0; x < 100; x++) {
      double corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
      for (auto& c : corners) Command(m, MODEL_VERTEX_NORMAL, {x + c[0], y + c[1], double((x + y) % 3), 0, 0, 1});
    }
  Command(m, MODEL_END, {});
  return m;
}

template <typename Draw>
void Frames(benchmark::State& state, Draw draw, int triangles) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  Scene();
  int batches = 0;
  for (auto _ : state) {
    GR_D3D_Start_Frame();
    GR_Draw_Clear(0);
    draw();
    Batch_Flush();
    batches = Graphics_FrameCounters.batches;
    GR_D3D_Finish_Frame();
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));  // waits for the frame to be drawn
  }
  state.SetItemsProcessed(state.iterations() * triangles);
  state.counters["draw_calls_per_frame"] = batches;
  D3D_Start(false);
  D3D_SetLighting(false);
}

void BM_Model10kTrianglesDrawn100Times(benchmark::State& state) {
  int m = GridModel();
  Frames(
      state,
      [m] {
        for (int i = 0; i < 100; i++) D3D_Model_Draw(m, float(i % 10) * 30 - 150, float(i / 10) * 30 - 150, 0, -1);
      },
      100 * 10000);
  D3D_Model_Destroy(m);
}

void BM_1000ShapesPerFrame(benchmark::State& state) {
  Frames(
      state,
      [] {
        for (int i = 0; i < 1000; i++) {
          float x = float(i % 40) * 10 - 200, y = float(i / 40) * 10 - 125;
          if (i % 2) D3D_Draw_Block(x, y, 0, x + 6, y + 6, 6, -1, 1, 1);
          else D3D_Draw_Cylinder(x, y, 0, x + 6, y + 6, 8, -1, 1, 1, true, 12);
        }
      },
      500 * 12 + 500 * 48);
}

// The model's vertices without the device: the copy into the batch alone.
void BM_ModelCopyOnly(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  int m = GridModel();
  D3D_Model_Draw(m, 0, 0, 0, -1);  // built here, once
  for (auto _ : state) {
    D3D_Model_Draw(m, 0, 0, 0, -1);
    Batch_Unreserve(30000);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
  D3D_Model_Destroy(m);
}

}  // namespace

BENCHMARK(BM_Model10kTrianglesDrawn100Times)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_1000ShapesPerFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelCopyOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
