// Calls every physics built-in in an order and with arguments taken from
// the input (not a number, infinities, huge, negative and stale ids), mixed
// with the run loop's own calls: stepping the world, destroying, adding and
// deactivating instances, dropping the world and leaving the room. Box2D
// asserts abort the process, so any value that reaches one is a failure.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Option/Option_Main.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_World.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"
#include "Run/Run_Physics.h"

namespace {
std::vector<int> g_physics;  // function ids of the physics built-ins
int g_room = -1;

double Pick(uint8_t byte) {
  const double inf = std::numeric_limits<double>::infinity();
  static const double kReals[] = {0, 1, 2, 3, 4, 5, -1, -2, -3, -4, 0.5, -0.5, 0.4, 8, 10, 16, 90, -90, 180,
                                  100000, 100001, 100002, 100003, 100005, 99999, 1e-7, 1e-3, 1e6, 1e30, -1e30,
                                  1e300, inf, -inf, std::numeric_limits<double>::quiet_NaN(), 32767, 32768,
                                  -32769, 2147483648.0, 0.0001, 300, -300};
  return kReals[byte % (sizeof kReals / sizeof kReals[0])];
}

CInstance* Nth(uint8_t byte) {
  if (!g_RunRoom || g_RunRoom->active.empty()) return nullptr;
  return g_RunRoom->active[byte % g_RunRoom->active.size()];
}

void AddInstance(float x, float y, int object) {
  CInstance* inst = g_RunRoom->AddInstance(x, y, object);
  Run_PhysicsMakeBody(inst);
}

void Setup() {
  Code_Init();
  InitCWLFunctions();
  g_GameOptions.show_errors = false;
  for (int i = 0; i < Function_Count(); i++)
    if (std::strncmp(Function_Get(i)->name, "physics_", 8) == 0) g_physics.push_back(i);
  int plain = Object_Add("plain"), ball = Object_Add("ball"), crate = Object_Add("crate");
  (void)plain;
  Object_Find(ball)->physics.enabled = true;
  Object_Find(ball)->physics.radius = 8;
  ObjectPhysics& box = Object_Find(crate)->physics;
  box.enabled = true, box.shape = 1, box.width = 16, box.height = 10;
  g_room = Room_Add("room");
  Room_Data(g_room)->physics_def.enabled = true;
  // The tables are freed before the leak check at exit.
  std::atexit([] {
    Run_ClearInstances();
    Room_FreeAll();
    Object_FreeAll();
  });
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;
  Run_ClearInstances();
  PhysicsFixture_DeleteAll();  // their ids stay taken: stale ids keep finding nothing
  g_RoomIndex = g_room;
  g_RunRoom = Room_Restart(g_room);
  if (size > 0 && data[0] & 1) Run_PhysicsRoomStart(g_RunRoom);
  for (int i = 0; i < 4; i++) AddInstance(40.0f * i, 20.0f * i, i % 3);
  CInstance nobody(0, 0, 0, -1, false);

  const int ops = static_cast<int>(g_physics.size()) + 6;
  size_t at = 1;
  while (at + 2 <= size) {
    int op = data[at] % ops;
    CInstance* self = Nth(data[at + 1]);
    if (!self) self = &nobody;
    at += 2;
    if (op < static_cast<int>(g_physics.size())) {
      const RFunction* f = Function_Get(g_physics[op]);
      RValue args[MAX_ARGUMENTS] = {};
      for (int i = 0; i < f->argnumb; i++) RValue_SetReal(&args[i], Pick(at < size ? data[at++] : 0));
      RValue result{VALUE_REAL, nullptr, 0.0};
      f->routine(result, self, Nth(at < size ? data[at] : 0), f->argnumb, args);
      RValue_Free(&result);
      continue;
    }
    if (!g_RunRoom) {
      g_RunRoom = Room_Running(g_room);  // back in the room
      continue;
    }
    switch (op - static_cast<int>(g_physics.size())) {
      case 0:
        Run_PhysicsStep();
        Run_PhysicsCollisions();
        break;
      case 1:
        if (self != &nobody) self->marked = true;
        g_RunRoom->DeleteMarked();
        break;
      case 2:
        AddInstance(static_cast<float>(Pick(at < size ? data[at++] : 0)), 10, data[at - 1] % 3);
        break;
      case 3:
        if (self != &nobody) self->deactivated = !self->deactivated;
        g_RunRoom->ApplyActivation();
        break;
      case 4:
        delete g_RunRoom->physics;
        g_RunRoom->physics = nullptr;
        break;
      default:
        g_RunRoom = nullptr;  // no current room
        break;
    }
  }
  g_RunRoom = Room_Running(g_room);
  return 0;
}
