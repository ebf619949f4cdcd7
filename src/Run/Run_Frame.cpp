// One frame: wait for its time at the room speed, tick the sound, run one
// step, present, then act on the pending transition.
#include <algorithm>
#include <chrono>
#include <thread>

#include "IO/HTTP_Main.h"
#include "Support/Support_Timing.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Main.h"
#include "Run/Run_Screen.h"

namespace {
int64_t g_lastFrame = 0;
int64_t g_fpsSecond = 0;
int g_fpsCount = 0;

int64_t Now() { return Timing_Time(); }
}  // namespace

void Run_Timing_Reset() {
  g_lastFrame = Now();
  g_fpsSecond = g_lastFrame;
  g_fpsCount = 0;
}

int64_t Run_FrameTime(int speed) { return 1000000 / std::max(speed, 1); }

void Run_Frame() {
  int speed = g_RunRoom ? g_RunRoom->speed : 30;
  int64_t wait = std::clamp<int64_t>(g_lastFrame + Run_FrameTime(speed) - Now(), 0, 1000000);
  if (wait >= 2000) std::this_thread::sleep_for(std::chrono::milliseconds((wait - 1000) / 1000));
  int64_t until = Now() + (wait >= 2000 ? 1000 : wait);
  while (Now() < until) Run_ProcessMessages();
  g_lastFrame = Now();
  g_fpsCount++;
  if (g_lastFrame - g_fpsSecond >= 1000000) {
    Run_Fps = g_fpsCount;
    g_fpsCount = 0;
    g_fpsSecond = g_lastFrame;
  }
  Sound_Tick();
  HTTP_Poll();
  if (Run_Paused) {
    Debug_Update();
    return;
  }
  Run_BeginScene();
  Run_Step();
  bool present = g_PendingTransition == TRANSITION_NONE && Run_AutomaticDraw;
  Run_EndScene(present);
  Run_HandleTransition();
}
