// Steps per second of the world with many moving, colliding instances whose
// step events run a line of script, headless (nothing drawn).
#include <benchmark/benchmark.h>

#include <string>

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Main.h"
#include "StartUp/StartUp_Main.h"
#include "Sprite/Sprite_Main.h"

#include "Game_Bench.h"

namespace {
void BuildWorld(int count) {
  Bench_ClearGame();
  Sprite_FreeAll();
  auto* s = new CSprite;
  s->width = s->height = 8, s->numb = 1, s->bboxRight = s->bboxBottom = 7;
  s->frames.resize(1);
  int sprite = Sprite_Append(s, "box");
  int mover = Object_Add("mover");
  int wall = Object_Add("wall");
  Object_Find(mover)->sprite_index = sprite;
  Object_Find(wall)->sprite_index = sprite;
  Object_Find(wall)->flags |= OBJECT_SOLID;
  auto* step = new CEvent;
  step->code = Code_CompileUnit("if (x > room_width) x = 0; else x += 1;", "bench.step", false);
  Object_Find(mover)->SetEvent(3, 0, step);
  auto* hit = new CEvent;
  hit->code = Code_CompileUnit("hspeed = -hspeed;", "bench.hit", false);
  Object_Find(mover)->SetEvent(4, wall, hit);
  int room = Room_Add("bench");
  Room_Data(room)->width = 2000;
  Room_Data(room)->height = 2000;
  for (int i = 0; i < count; i++) Room_Data(room)->AddInstanceDef(float(i * 37 % 2000), float(i * 53 % 2000), i % 10 ? mover : wall);
  Object_LinkParents();
  StartGame();
  for (CInstance* inst : g_RunRoom->active) inst->SetHSpeed(2);
}

void BM_WorldStep(benchmark::State& state) {
  BuildWorld(static_cast<int>(state.range(0)));
  for (auto _ : state) Run_Step();
  state.SetItemsProcessed(state.iterations() * state.range(0));
  Run_ClearInstances();
}
BENCHMARK(BM_WorldStep)->Arg(100)->Arg(1000);
}  // namespace

BENCHMARK_MAIN();
