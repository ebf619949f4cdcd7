// One frame: wait for its time at the room speed, tick the sound, run one
// step, present, then act on the pending transition.
#include <algorithm>

#include "IO/HTTP_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Main.h"
#include "Run/Run_Screen.h"
#include "Support/Support_Timing.h"

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
  // The wait answers the window through the pump installed at start-up.
  Timing_Wait(std::clamp<int64_t>(g_lastFrame + Run_FrameTime(speed) - Now(), 0, 1000000));
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
