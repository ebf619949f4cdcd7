// Sprites drawn per second through the whole road (sprite, drawing core,
// vertex batch, device), headless; with the draw calls and texture swaps
// each frame of 10,000 sprites costs.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "Sprite/Sprite_Class.h"

namespace {

constexpr int kSprites = 10000;

bool Start() {
  static bool ok = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    return Window_Create("bench", 640, 480) && Graphics_Init();
  }();
  return ok;
}

// Two 32 by 32 sprites, on one texture page or on two.
void MakeSprites(CSprite& a, CSprite& b, bool onePage) {
  CBitmap32 page(64, 32);
  for (int y = 0; y < 32; y++)
    for (int x = 0; x < 64; x++) page.Row(y)[x] = 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 8);
  int t1 = GR_Texture_Create(64, 32, page.pixels.data());
  int t2 = onePage ? t1 : GR_Texture_Create(64, 32, page.pixels.data());
  TPageEntry e = TPage_Whole(t1, 32, 32);
  a.frames = {e};
  e.x = 32;
  e.texture = int16_t(t2);
  b.frames = {e};
  for (CSprite* s : {&a, &b}) {
    s->numb = 1;
    s->width = s->height = 32;
    s->xorig = s->yorig = 16;
  }
}

void Frames(benchmark::State& state, bool onePage) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  CSprite a, b;
  MakeSprites(a, b, onePage);
  int batches = 0, swaps = 0;
  for (auto _ : state) {
    GR_D3D_Start_Frame();
    GR_Draw_Clear(0);
    for (int i = 0; i < kSprites; i++) {
      const CSprite& s = (i & 1) ? b : a;
      s.Draw(0, float((i * 37) % 640), float((i * 91) % 480), 1, 1, float(i % 360), 0xFFFFFF, 1);
    }
    Batch_Flush();
    batches = Graphics_FrameCounters.batches;
    swaps = Graphics_FrameCounters.textureSwaps;
    GR_D3D_Finish_Frame();
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));  // waits for the frame to be drawn
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
  state.counters["draw_calls_per_frame"] = batches;
  state.counters["texture_swaps_per_frame"] = swaps;
  GR_Texture_Free(a.GetTexture(0));
  GR_Texture_Free(b.GetTexture(0));
}

void BM_SpritesOnePage(benchmark::State& state) { Frames(state, true); }
void BM_SpritesTwoPagesAlternating(benchmark::State& state) { Frames(state, false); }

// The drawing core alone: vertices into the batch, no device work.
void BM_SpriteVerticesOnly(benchmark::State& state) {
  if (!Start()) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  CSprite a, b;
  MakeSprites(a, b, true);
  const int perBatch = BATCH_MAX_VERTS / 6;  // never reaches the device
  for (auto _ : state) {
    for (int i = 0; i < perBatch; i++) a.Draw(0, float(i % 640), float(i % 480), 1, 1, 0, 0xFFFFFF, 1);
    Batch_Unreserve(BATCH_MAX_VERTS);
  }
  state.SetItemsProcessed(state.iterations() * perBatch);
  GR_Texture_Free(a.GetTexture(0));
}

}  // namespace

BENCHMARK(BM_SpritesOnePage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpritesTwoPagesAlternating)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpriteVerticesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
