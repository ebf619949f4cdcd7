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
CFpsCounter g_fps;

int64_t Now() { return Timing_Time(); }
}  // namespace

void Run_Timing_Reset() {
  g_lastFrame = Now();
  g_fps.Start(g_lastFrame);
}

int64_t Run_FrameTime(int speed) { return 1000000 / std::max(speed, 1); }

void Run_Frame() {
  int speed = g_RunRoom ? g_RunRoom->speed : 30;
  int64_t start = Now();
  int64_t wait = std::clamp<int64_t>(g_lastFrame + Run_FrameTime(speed) - start, 0, 1000000);
  // Sleeps short of the frame's time, then pumps the window's messages
  // through the pump installed at start-up; at least once.
  if (wait > 0) Timing_Wait(wait);
  else Timing_PumpMessages();
  // A frame on time keeps to the schedule, so that the pumping's overshoot
  // does not add up; a late one starts it again.
  g_lastFrame = wait > 0 ? start + wait : Now();
  g_fps.Frame(g_lastFrame);
  Run_Fps = g_fps.fps;
  Sound_Tick();
  HTTP_Poll();
  Debug_Frame();
  if (!Run_Running) return;  // the debugger stopped the game
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
