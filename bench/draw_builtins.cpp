// What the drawing built-ins add on top of the drawing core: draw_sprite_ext
// called through the function table (argument conversion, sprite lookup,
// instance frame) against CSprite::Draw called directly, 10,000 sprites a
// frame; and surface_getpixel, which waits for the device each time.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Code/Code_BuiltinTable.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "Sprite/Sprite_Main.h"

void Function_Graphics_Init();

namespace {
constexpr int kSprites = 10000;

int Start() {
  static int sprite = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!Window_Create("bench", 640, 480) || !Graphics_Init()) return -1;
    Function_Graphics_Init();
    std::vector<CBitmap32> frames(2, CBitmap32(32, 32));
    for (CBitmap32& f : frames)
      for (uint32_t& p : f.pixels) p = 0xFF808080;
    auto* s = new CSprite;
    s->SetFromBitmaps(std::move(frames));
    return Sprite_Append(s, "spr_bench");
  }();
  return sprite;
}

void Frame(benchmark::State& state, bool throughTable) {
  int sprite = Start();
  if (sprite < 0) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  TRoutine draw = Function_Get(Function_FindBuiltIn("draw_sprite_ext"))->routine;
  const CSprite* s = Sprite_Data(sprite);
  RValue args[9] = {};
  for (RValue& a : args) a.kind = VALUE_REAL;
  args[0].val = sprite, args[4].val = args[5].val = 1, args[7].val = 16777215, args[8].val = 1;
  for (auto _ : state) {
    GR_D3D_Start_Frame();
    for (int i = 0; i < kSprites; i++) {
      float x = float((i * 37) % 640), y = float((i * 91) % 480), angle = float(i % 360);
      if (throughTable) {
        RValue result = {VALUE_REAL, nullptr, 0};
        args[1].val = i & 1, args[2].val = x, args[3].val = y, args[6].val = angle;
        draw(result, nullptr, nullptr, 9, args);
      } else {
        s->Draw(i & 1, x, y, 1, 1, angle, 0xFFFFFF, 1);
      }
    }
    Batch_Flush();
    GR_D3D_Finish_Frame();
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}

void BM_DrawSpriteExtBuiltIn(benchmark::State& state) { Frame(state, true); }
void BM_DrawSpriteDirect(benchmark::State& state) { Frame(state, false); }

void BM_SurfaceGetPixel(benchmark::State& state) {
  if (Start() < 0) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  TRoutine get = Function_Get(Function_FindBuiltIn("surface_getpixel"))->routine;
  int surface = Surface_Create(64, 64);
  RValue args[3] = {{VALUE_REAL, nullptr, double(surface)}, {VALUE_REAL, nullptr, 5}, {VALUE_REAL, nullptr, 5}};
  for (auto _ : state) {
    RValue result = {VALUE_REAL, nullptr, 0};
    get(result, nullptr, nullptr, 3, args);
    benchmark::DoNotOptimize(result.val);
  }
  Surface_Free(surface);
}

BENCHMARK(BM_DrawSpriteExtBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSpriteDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceGetPixel)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
