// Steps per second of a room of 2,000 moving instances whose step event
// calls place_meeting and instance_nearest through the built-in table, as
// compiled code would.
#include <benchmark/benchmark.h>

#include "Base/Random_Main.h"
#include "Code/Function_Main.h"
#include "Function/Function_Init.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Object/Object_Shape.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"

void Function_Game_Init();
extern void (*g_RunCodeHook)(CCode* code, CInstance* self, CInstance* other);

namespace {
int g_ball = -1;
TRoutine g_placeMeeting = nullptr, g_nearest = nullptr, g_wrap = nullptr;

TRoutine Routine(const char* name) { return Function_Get(Function_FindBuiltIn(name))->routine; }

double CallWith(TRoutine routine, CInstance* self, std::initializer_list<double> args) {
  RValue argv[MAX_ARGUMENTS] = {};
  int argc = 0;
  for (double a : args) RValue_SetReal(&argv[argc++], a);
  RValue result = {VALUE_REAL, nullptr, 0.0};
  routine(result, self, nullptr, argc, argv);
  return result.val;
}

// The step event: bounce off the next ball ahead, look up the nearest one,
// wrap around the room.
void StepEvent(CCode*, CInstance* self, CInstance*) {
  if (CallWith(g_placeMeeting, self, {self->x + self->hspeed, self->y + self->vspeed, static_cast<double>(g_ball)}) > 0)
    self->SetDirection(self->direction + 180);
  benchmark::DoNotOptimize(CallWith(g_nearest, self, {self->x, self->y, static_cast<double>(g_ball)}));
  CallWith(g_wrap, self, {1, 1, 0});
}

void BuildRoom(int count) {
  InitCWLFunctions();
  if (Function_FindBuiltIn("place_meeting") < 0) Function_Game_Init();
  g_placeMeeting = Routine("place_meeting");
  g_nearest = Routine("instance_nearest");
  g_wrap = Routine("move_wrap");
  g_RunCodeHook = StepEvent;
  SpriteShape s;
  s.width = s.height = 16, s.right = s.bottom = 15;
  Shape_Set(0, s);
  g_ball = Object_Add("ball");
  Object_Find(g_ball)->sprite_index = 0;
  auto* ev = new CEvent;
  ev->code = reinterpret_cast<CCode*>(1);  // any unit: the hook runs the event
  Object_Find(g_ball)->SetEvent(EV_STEP, EV_STEP_NORMAL, ev);
  int room = Room_Add("arena");
  CRoom* r = Room_Data(room);
  r->width = 1600, r->height = 1200;
  Random_Seed(7);
  for (int i = 0; i < count; i++)
    r->AddInstanceDef(static_cast<float>(Random_Int(r->width)), static_cast<float>(Random_Int(r->height)), g_ball);
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
  EndGame();
}
BENCHMARK(RoomOfMovingInstances)->Arg(2000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
