// Steps per second of a room of 2,000 moving instances whose step event
// code calls place_meeting and instance_nearest, and of a room of 10,000
// that call place_meeting alone.
#include <benchmark/benchmark.h>

#include <cmath>

#include "Base/Random_Main.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Main.h"
#include "StartUp/StartUp_Main.h"
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
const char* const PLACE_CODE =
    "if (place_meeting(x + hspeed, y + vspeed, runner)) direction += 180;"
    "move_wrap(true, true, 0);";

int AddMover(const char* name, int sprite, const char* code) {
  int obj = Object_Add(name);
  Object_Find(obj)->sprite_index = sprite;
  auto* ev = new CEvent;
  ev->code = Code_CompileUnit(code, "Object.Step.0", false);
  Object_Find(obj)->SetEvent(EV_STEP, EV_STEP_NORMAL, ev);
  return obj;
}

// The room holds count instances of the object, spread at the density of
// 2,000 in 1600 x 1200, each moving at speed 2 in a random direction.
void FillRoom(int count, int obj) {
  g_RunRoom->ClearInstances();
  double side = std::sqrt(count / 2000.0);
  g_RunRoom->width = static_cast<int>(1600 * side), g_RunRoom->height = static_cast<int>(1200 * side);
  Random_Seed(7);
  for (int i = 0; i < count; i++) {
    CInstance* inst = g_RunRoom->AddInstance(static_cast<float>(Random_Int(g_RunRoom->width)),
                                             static_cast<float>(Random_Int(g_RunRoom->height)), obj);
    inst->SetSpeed(2);
    inst->SetDirection(static_cast<float>(Random_Int(360)));
  }
}

// The game is set up once: the benchmark runner calls each benchmark
// several times; a room is filled anew for each benchmark.
int g_ball = -1, g_runner = -1;
void SetUp() {
  if (g_ball >= 0) return;
  StartUp_InstallHooks();
  Code_Init();
  Variable_Init_World();
  InitCWLFunctions();
  if (Function_FindBuiltIn("place_meeting") < 0) Function_Game_Init();
  auto* sprite = new CSprite;
  sprite->width = sprite->height = 16, sprite->numb = 1;
  sprite->bboxRight = sprite->bboxBottom = 15;
  sprite->frames.resize(1);
  int box = Sprite_Append(sprite, "box");
  g_ball = AddMover("ball", box, STEP_CODE);
  g_runner = AddMover("runner", box, PLACE_CODE);
  int room = Room_Add("arena");
  Room_SetOrder(&room, 1);
  Object_LinkParents();
  StartGame();
}

void Steps(benchmark::State& state, const int* obj) {
  SetUp();
  FillRoom(static_cast<int>(state.range(0)), *obj);
  for (auto _ : state) Run_Step();
  state.SetItemsProcessed(state.iterations());  // items: steps
}
}  // namespace

static void RoomOfMovingInstances(benchmark::State& state) { Steps(state, &g_ball); }
BENCHMARK(RoomOfMovingInstances)->Arg(2000)->Unit(benchmark::kMillisecond);

static void RoomOfPlaceMeeting(benchmark::State& state) { Steps(state, &g_runner); }
BENCHMARK(RoomOfPlaceMeeting)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
