// Crates piled in a box: the time of a game step in a room with a physics
// world (bodies created from the objects' physics, positions written back,
// contacts looked at) against Box2D alone stepping the same world.
#include <benchmark/benchmark.h>

#include <box2d/box2d.h>

#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Physics/Physics_World.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Main.h"

#include "Game_Bench.h"

namespace {
constexpr int ROOM_SPEED = 30;
constexpr int WARM_UP = 60;  // steps before timing: the crates have landed
constexpr float SCALE = 0.1f;

struct Place {
  float x, y, w, h;  // centre and size in pixels
};

// The box's walls, then the crates in rows above its floor.
std::vector<Place> Layout(int crates) {
  std::vector<Place> out = {{600, 1000, 1220, 20}, {0, 600, 20, 820}, {1200, 600, 20, 820}};
  for (int i = 0; i < crates; i++) out.push_back({float(20 + i % 93 * 12.5f), float(980 - 12 * (i / 93) - 10), 10, 10});
  return out;
}

void BuildGame(int crates) {
  Bench_ClearGame();
  int room = Room_Add("pile");
  Room_Data(room)->speed = ROOM_SPEED;
  Room_Data(room)->physics_def.enabled = true;
  Room_Data(room)->physics_def.scale = SCALE;
  int n = 0;
  for (const Place& p : Layout(crates)) {
    // An object per size: the walls are static, the crates dynamic.
    int o = Object_Add(nullptr);
    ObjectPhysics& ph = Object_Find(o)->physics;
    ph.enabled = true, ph.shape = 1, ph.width = p.w, ph.height = p.h, ph.density = n++ < 3 ? 0 : 1;
    Room_Data(room)->AddInstanceDef(p.x, p.y, o);
  }
  Object_LinkParents();
  StartGame();
}

void BM_GameStep(benchmark::State& state) {
  BuildGame(static_cast<int>(state.range(0)));
  for (int i = 0; i < WARM_UP; i++) Run_Step();
  for (auto _ : state) Run_Step();
  state.SetItemsProcessed(state.iterations() * state.range(0));
  Run_ClearInstances();
}
BENCHMARK(BM_GameStep)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// The same pile with the world asking for sub-steps and iterations (the
// arguments, clamped to the world's limits as any script value is): the
// most one step can cost.
void BM_GameStepSubSteps(benchmark::State& state) {
  BuildGame(2000);
  for (int i = 0; i < WARM_UP; i++) Run_Step();
  g_RunRoom->physics->update_speed = static_cast<int>(state.range(0)) * ROOM_SPEED;
  g_RunRoom->physics->iterations = static_cast<int>(state.range(1));
  for (auto _ : state) Run_Step();
  state.SetItemsProcessed(state.iterations() * 2000);
  Run_ClearInstances();
}
BENCHMARK(BM_GameStepSubSteps)
    ->Args({1, 10})
    ->Args({1, 20})
    ->Args({4, 10})
    ->Args({100000, 100000})  // clamped: the dearest step a script can ask for
    ->Unit(benchmark::kMillisecond);

void BM_Box2DAlone(benchmark::State& state) {
  b2World world(b2Vec2(0, 10));
  int n = 0;
  for (const Place& p : Layout(static_cast<int>(state.range(0)))) {
    b2BodyDef def;
    def.type = n++ < 3 ? b2_staticBody : b2_dynamicBody;
    def.position.Set(p.x * SCALE, p.y * SCALE);
    def.linearDamping = def.angularDamping = 0.1f;
    b2PolygonShape box;
    box.SetAsBox(p.w * SCALE / 2, p.h * SCALE / 2);
    b2FixtureDef fd;
    fd.shape = &box;
    fd.density = def.type == b2_staticBody ? 0 : 1;
    fd.friction = 0.2f, fd.restitution = 0.1f;
    world.CreateBody(&def)->CreateFixture(&fd);
  }
  for (int i = 0; i < WARM_UP; i++) world.Step(1.0f / ROOM_SPEED, 10, 10);
  for (auto _ : state) world.Step(1.0f / ROOM_SPEED, 10, 10);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Box2DAlone)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
