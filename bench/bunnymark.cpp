// Steps a second of a room of N scripted sprites ("bunnies"), each keeping
// its own position and velocity and bouncing inside 800 x 600 under gravity,
// updated by its step event; drawn by the default drawing through the render
// device (offscreen, Mesa's software renderer), and not drawn at all.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "Base/Random_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics/Graphics_TPage.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Window_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Room/Room_Class.h"
#include "Run/Run_Screen.h"
#include "Sprite/Sprite_Class.h"
#include "Sprite/Sprite_Main.h"
#include "Game_Bench.h"

namespace {
const char* const CREATE_CODE = "vx = random(10); vy = random(10) - 5;";
// Six lines of a bouncing sprite.
const char* const STEP_CODE =
    "x += vx; y += vy; vy += 0.5;\n"
    "if (x > 800) { vx = -vx; x = 800; } else if (x < 0) { vx = -vx; x = 0; }\n"
    "if (y > 600) { vy *= -0.85; y = 600; if (random(1) > 0.5) vy -= random(6); }\n"
    "else if (y < 0) { vy = 0; y = 0; }\n";

bool g_window = false;
int g_bunny = -1;

void AddEvent(CObject* obj, int type, int number, const char* code, const char* name) {
  auto* ev = new CEvent;
  ev->code = Code_CompileUnit(code, name, false);
  obj->SetEvent(type, number, ev);
}

// A 26 x 37 sprite: on a texture page when there is a device to draw with.
int AddSprite() {
  auto* sprite = new CSprite;
  sprite->width = 26, sprite->height = 37, sprite->numb = 1;
  sprite->bboxRight = 25, sprite->bboxBottom = 36;
  sprite->frames.resize(1);
  if (g_window) {
    CBitmap32 page(32, 64);
    for (int y = 0; y < 64; y++)
      for (int x = 0; x < 32; x++) page.Row(y)[x] = 0xFF000000u | uint32_t(x * 8) << 16 | uint32_t(y * 4);
    sprite->frames[0] = TPage_Whole(GR_Texture_Create(32, 64, page.pixels.data()), 26, 37);
  }
  return Sprite_Append(sprite, "bunny");
}

void SetUp() {
  if (g_bunny >= 0) return;
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  g_window = Window_Create("bunnymark", 800, 600) && Graphics_Init();
  Bench_ClearGame();
  InitCWLFunctions();
  int obj = Object_Add("bunny");
  CObject* o = Object_Find(obj);
  o->sprite_index = AddSprite();
  AddEvent(o, EV_CREATE, 0, CREATE_CODE, "Object.Create.0");
  AddEvent(o, EV_STEP, EV_STEP_NORMAL, STEP_CODE, "Object.Step.0");
  g_bunny = obj;
  int room = Room_Add("field");
  Room_SetOrder(&room, 1);
  Object_LinkParents();
  StartGame();
  g_RunRoom->width = 800, g_RunRoom->height = 600;
}

void Fill(int count) {
  g_RunRoom->ClearInstances();
  Random_Seed(7);
  for (int i = 0; i < count; i++)
    Run_CreateInstance(g_bunny, static_cast<float>(Random_Int(800)), static_cast<float>(Random_Int(300)));
}

void Steps(benchmark::State& state, bool drawn) {
  SetUp();
  if (drawn && !g_window) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  Fill(static_cast<int>(state.range(0)));
  Run_AutomaticDraw = drawn;
  for (auto _ : state) {
    if (!drawn) {
      Run_Step();
      continue;
    }
    Run_BeginScene();
    Run_Step();
    Run_EndScene(true);
    benchmark::DoNotOptimize(GR_GetPixel(0, 0));  // waits for the frame
  }
  state.SetItemsProcessed(state.iterations());  // items: steps
}
}  // namespace

static void BunniesNotDrawn(benchmark::State& state) { Steps(state, false); }
BENCHMARK(BunniesNotDrawn)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

static void BunniesDrawn(benchmark::State& state) { Steps(state, true); }
BENCHMARK(BunniesDrawn)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
