// The cost of the debugger's per-step refresh: 20 watches, the globals window
// and one locals window open (no display), against a step of the same small
// world without the debugger.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "Base/File_Folders.h"
#include "Debug/Debug_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Option/Option_CommandLine.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Main.h"

#include "Game_Bench.h"

namespace {
void BuildWorld(bool debug) {
  Bench_ClearGame();
  // A save folder of its own: no "Debug.ini" of an earlier run is read.
  static std::string folder = [] {
    char pattern[] = "/tmp/bench_debuggerXXXXXX";
    std::string dir = mkdtemp(pattern);
    File_SetSaveDirectory(dir.c_str());
    File_SetGameDirectory(dir.c_str());
    return dir;
  }();
  std::filesystem::remove(folder + "/Debug.ini");
  Debug_Mode = debug;
  int mover = Object_Add("mover");
  auto* step = new CEvent;
  step->code = Code_CompileUnit("if (x > room_width) x = 0; else x += 1; image_angle += x;", "bench.step", false);
  Object_Find(mover)->SetEvent(3, 0, step);
  int room = Room_Add("bench");
  for (int i = 0; i < 50; i++) Room_Data(room)->AddInstanceDef(float(i * 13), float(i * 7), mover);
  Object_LinkParents();
  StartGame();
  Run_Running = 1;
  if (!debug) return;
  DebugForm* f = g_DebugForm;
  Debug_Update();
  for (int i = 0; i < 20; i++) {
    std::string watch = "room_speed * " + std::to_string(i) + " / 3 + x";
    Debug_AddWatch(f, watch.c_str());
  }
  Debug_Command(f, DEBUG_CMD_SHOW_GLOBALS);
  Debug_OpenLocalsWindow(f, std::to_string(g_RunRoom->active[0]->id).c_str());
}

void BM_StepWithoutDebugger(benchmark::State& state) {
  BuildWorld(false);
  for (auto _ : state) Run_Step();
  Run_ClearInstances();
}
BENCHMARK(BM_StepWithoutDebugger);

void BM_DebugUpdate(benchmark::State& state) {
  BuildWorld(true);
  for (auto _ : state) Debug_Update();
  Debug_Close();
  Run_ClearInstances();
}
BENCHMARK(BM_DebugUpdate);
}  // namespace

BENCHMARK_MAIN();
