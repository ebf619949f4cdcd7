// Steps per second of a room of 2,000 moving instances whose step event
// code calls place_meeting and instance_nearest.
#include <benchmark/benchmark.h>

#include "Base/Random_Main.h"
#include "Code/Code_Main.h"
#include "Code/Function_Main.h"
#include "Function/Function_Init.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Code.h"
#include "Run/Run_Main.h"
#include "Run/Run_StartUp.h"
#include "Sprite/Sprite_Class.h"
#include "Sprite/Sprite_Main.h"

void Function_Game_Init();
void Variable_Init_World();

namespace {
// The step event: bounce off the next ball ahead, look up the nearest one,
// wrap around the room.
const char* const STEP_CODE =
    "if (place_meeting(x + hspeed, y + vspeed, ball)) direction += 180;"
    "nearest = instance_nearest(x, y, ball);"
    "move_wrap(true, true, 0);";

// Built once: the benchmark runner calls the benchmark several times.
void BuildRoom(int count) {
  static bool built = false;
  if (built) return;
  built = true;
  Run_InstallHooks();
  Code_Init();
  Variable_Init_World();
  InitCWLFunctions();
  if (Function_FindBuiltIn("place_meeting") < 0) Function_Game_Init();
  auto* sprite = new CSprite;
  sprite->width = sprite->height = 16, sprite->numb = 1;
  sprite->bboxRight = sprite->bboxBottom = 15;
  sprite->frames.resize(1);
  int box = Sprite_Append(sprite, "box");
  int ball = Object_Add("ball");
  Object_Find(ball)->sprite_index = box;
  auto* ev = new CEvent;
  ev->code = Run_CompileCode(STEP_CODE, "Object.ball.Step.0", false);
  Object_Find(ball)->SetEvent(EV_STEP, EV_STEP_NORMAL, ev);
  int room = Room_Add("arena");
  CRoom* r = Room_Data(room);
  r->width = 1600, r->height = 1200;
  Random_Seed(7);
  for (int i = 0; i < count; i++)
    r->AddInstanceDef(static_cast<float>(Random_Int(r->width)), static_cast<float>(Random_Int(r->height)), ball);
  Room_SetOrder(&room, 1);
  Object_LinkParents();
  StartGame();
  for (CInstance* inst : g_RunRoom->active) {
    inst->SetSpeed(2);
    inst->SetDirection(static_cast<float>(Random_Int(360)));
  }
}
}  // namespace

static void RoomOfMovingInstances(benchmark::State& state) {
  BuildRoom(static_cast<int>(state.range(0)));
  for (auto _ : state) Run_Step();
  state.SetItemsProcessed(state.iterations());  // items: steps
}
BENCHMARK(RoomOfMovingInstances)->Arg(2000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
