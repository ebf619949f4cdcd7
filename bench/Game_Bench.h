// Shared by the benchmarks that build a game in code: the runner's hooks, the
// script engine and the built-in variables set up once, then an empty world
// (no instances, rooms, objects or compiled code) for each build.
#pragma once
#include "Code/Code_Main.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Main.h"
#include "StartUp/StartUp_Main.h"

void Variable_Init_World();

inline void Bench_ClearGame() {
  static bool registered = [] {
    StartUp_InstallHooks();
    Code_Init();
    Variable_Init_World();
    return true;
  }();
  (void)registered;
  Run_ClearInstances();
  Room_FreeAll();
  Object_FreeAll();
  Code_FreeUnits();
}
