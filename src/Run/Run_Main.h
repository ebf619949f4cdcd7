// The run loop: starting and ending the game, rooms, frames and steps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Code/Code_Context.h"

class CInstance;

// The pending transition word g_PendingTransition and its values belong to
// the engine (Code/Code_Context.h): a fatal script error sets it too.
extern char* Run_PendingLoadFile;  // owned; the save game to load on -300
extern int Run_Running;            // the main loop runs while this is 1
extern bool Run_Paused;
extern bool Run_WindowActive;      // the window has the focus
extern bool Run_AutomaticDraw;
extern int64_t Run_StepCount;
extern int Run_Fps;
extern int Run_TransitionKind;

// Game globals.
extern int g_Score, g_Lives;
extern double g_Health;
extern bool g_ShowScore, g_ShowLives, g_ShowHealth;
extern char* g_CaptionScore;
extern char* g_CaptionLives;
extern char* g_CaptionHealth;
extern int g_CursorSprite;
extern int g_AsyncLoad;  // the asynchronous event's map index, -1 outside one

// The command line the runner was started with, the program as started first.
const std::vector<std::string>& Run_Arguments();
void Run_SetArguments(int argc, char** argv);

// Starts the game once (timing, event lists, globals, the first room) and
// sets the running flag; false when the game cannot start.
bool StartGame();
void Run_Start();
// Pausing: the frame only refreshes the debugger while paused; one untimed
// step may be taken. Run_Quit stops the loop (outside debug mode it ends
// the game).
void Run_Pause();
void Run_StepWhilePaused();
void Run_Quit();
// 1 once the game stopped after a fatal error, else 0.
int Run_ExitStatus();
// The run's own temporary folder, made inside $TMPDIR (else /tmp) when first
// asked for, with a trailing "/"; the shared folder itself when none can be
// made. Run_RemoveTempDirectory removes it once it is empty again.
const char* Run_TempDirectory();
void Run_RemoveTempDirectory();
// Ends the game: room end and game end events, every room freed.
void EndGame();
// Frees the instances of every room and of no room, without events; no
// room is current afterwards.
void Run_ClearInstances();
// Microseconds a frame lasts at a room speed (a speed of 0 or less counts
// as one frame per second).
int64_t Run_FrameTime(int speed);
// Frames counted over whole seconds from the start: the frame that closes
// a second is the first of the next one.
struct CFpsCounter {
  int64_t second = 0;  // when the second being counted began (microseconds)
  int count = 0;
  int fps = 0;  // the count of the last whole second
  void Start(int64_t now) { second = now, count = 0; }
  void Frame(int64_t now) {
    if (now - second >= 1000000) {
      fps = count;
      count = 0;
      second += (now - second) / 1000000 * 1000000;
    }
    count++;
  }
};
// One timed frame, then the pending transition is acted on.
void Run_Frame();
// One game step.
void Run_Step();
// Acts on the pending transition word.
void Run_HandleTransition();

void Run_EndGame();
void Run_RestartGame();
void Run_GotoRoom(int room);
void Run_GotoNextRoom();
void Run_GotoPreviousRoom();
void Run_RestartRoom();

// A new instance of the object in the current room after its create event
// ran; null (with a report) for a missing object.
CInstance* Run_CreateInstance(int object, float x, float y);
// The same with the new instance's speed and then direction set before its
// create event runs.
CInstance* Run_CreateInstanceMoving(int object, float x, float y, float speed, float direction);
// Marks the instance and runs its destroy event (once).
void Run_DestroyInstance(CInstance* inst);
// Sends the other event of that number to every instance that has it.
void Run_OtherEvent(int number);
// Sends an asynchronous other event (60 or more) with async_load naming the
// map, then frees the map unless the event's code already replaced it; an
// event below 60 only frees the map.
void Run_AsyncEvent(int event, int mapIndex);
