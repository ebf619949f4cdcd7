#include "Run/Run_Main.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <initializer_list>
#include <vector>

#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Support/Support_Data_Structures_Table.h"
#include "Graphics_API/Window_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Option/Option_CommandLine.h"
#include "Physics/Physics_Object.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Physics.h"
#include "Run/Run_Screen.h"
#include "Run/Run_Services.h"

char* Run_PendingLoadFile = nullptr;
int Run_Running = 0;
bool Run_Paused = false;
bool Run_WindowActive = true;
bool Run_AutomaticDraw = true;
int64_t Run_StepCount = 0;
int Run_Fps = 0;
int Run_TransitionKind = 0;

int g_Score = 0, g_Lives = -1;
double g_Health = 100;
bool g_ShowScore = true, g_ShowLives = false, g_ShowHealth = false;
char* g_CaptionScore = nullptr;
char* g_CaptionLives = nullptr;
char* g_CaptionHealth = nullptr;
int g_CursorSprite = -1;
int g_AsyncLoad = -1;

namespace {
bool g_stoppedByError = false;

// Persistent instances on their way from one room to the next.
std::vector<CInstance*> g_carried;

// The self of room creation code.
CInstance* RoomCodeSelf() {
  static CInstance dummy(0, 0, 0, -1, false);
  return &dummy;
}

void StartRoom(int index, bool game_start) {
  // A persistent room comes back as it was left; any other starts as its
  // resource defines it.
  CRoom* room = Room_Running(index);
  bool returning = room && room->persistent && room->visited;
  if (!returning) room = Room_Restart(index);
  if (!room) return;
  g_RoomIndex = index;
  g_RunRoom = room;
  if (room->caption && *room->caption) Window_SetCaption(room->caption);
  Run_FitWindowToRoom(*room);
  // The physics world stands before the instances are made.
  Run_PhysicsRoomStart(room);
  // New instances with their creation code.
  std::vector<std::pair<CInstance*, CCode*>> fresh;
  if (returning) {
    for (CInstance* inst : room->active) inst->Attach();
    for (CInstance* inst : room->deactivated) inst->Attach();
  } else {
    for (const RoomInstanceDef& def : room->instance_defs) {
      // A persistent instance brought along keeps its place.
      if (CInstance_Find(def.id) || !Object_Exists(def.object)) continue;
      auto* inst = new CInstance(def.x, def.y, def.id, def.object);
      inst->creation_serial = g_EventSerial;
      room->Join(inst);
      Run_PhysicsMakeBody(inst);
      fresh.emplace_back(inst, def.code);
    }
  }
  for (CInstance* inst : g_carried) {
    room->Join(inst);
    Run_PhysicsMakeBody(inst);
  }
  g_carried.clear();
  for (auto& [inst, code] : fresh) {
    if (inst->marked) continue;
    Event_Perform(inst, inst, EV_CREATE, 0);
    inst->create_performed = true;
    if (code && !inst->marked && g_PendingTransition == TRANSITION_NONE) Code_ExecuteUnit(code, inst, inst);
  }
  if (game_start) Event_PerformAll(EV_OTHER, EV_OTHER_GAME_START);
  if (!returning && room->code && g_PendingTransition == TRANSITION_NONE) Code_ExecuteUnit(room->code, RoomCodeSelf(), RoomCodeSelf());
  Event_PerformAll(EV_OTHER, EV_OTHER_ROOM_START);
}

void EndRoom(bool game_end) {
  CRoom* room = g_RunRoom;
  if (!room) return;
  Event_PerformAll(EV_OTHER, EV_OTHER_ROOM_END);
  if (game_end) Event_PerformAll(EV_OTHER, EV_OTHER_GAME_END);
  room->DeleteMarked();
  if (!game_end) {
    for (auto* list : {&room->active, &room->deactivated}) {
      for (CInstance* inst : *list)
        if (inst->persistent) g_carried.push_back(inst);
    }
    for (CInstance* inst : g_carried) {
      room->RemoveInstance(inst);
      // Its body stays behind with the room's world.
      delete inst->physics;
    }
  }
  if (room->persistent && !game_end) {
    for (CInstance* inst : room->active) inst->Detach();
    for (CInstance* inst : room->deactivated) inst->Detach();
    room->visited = true;
  } else {
    Room_Discard(g_RoomIndex);
  }
  g_RunRoom = nullptr;
}
}  // namespace

bool StartGame() {
  Console_Printf("StartGame()\n");
  Run_Timing_Reset();
  Object_LinkParents();
  Object_BuildEventLists();
  g_Score = 0;
  g_Lives = -1;
  g_Health = 100;
  Run_StepCount = 0;
  g_PendingTransition = TRANSITION_NONE;
  if (Debug_Mode) {
    if (!Debug_FormExists()) Console_Printf("Create Debug Form\n");
    Debug_Create();
  }
  if (!Extension_Initialize()) return false;
  int first = Room_First();
  if (!Room_Exists(first)) {
    Console_Printf("The game has no rooms.\n");
    return false;
  }
  StartRoom(first, true);
  return true;
}

void Run_Start() {
  Run_Running = 1;
  Run_Paused = false;
  Console_Printf("Entering main loop.\n");
}

void Run_Pause() { Run_Paused = true; }

void Run_StepWhilePaused() {
  if (!Run_Paused) return;
  Run_Step();
  Run_HandleTransition();
}

void Run_Quit() {
  Run_Running = 0;
  if (!Debug_Mode) Run_EndGame();
  DebugForm_SetVisible(false);
}

void EndGame() {
  // A request still pending when the loop stopped does not hold back the
  // last events.
  g_PendingTransition = TRANSITION_NONE;
  Debug_SaveSettings();
  if (g_RunRoom) EndRoom(true);
  Run_ClearInstances();
  Extension_Finalize();
}

void Run_ClearInstances() {
  // Instances waiting in persistent rooms are detached: deleting them with
  // their rooms touches no list they are not on.
  Room_DiscardAll();
  for (CInstance* inst : g_carried) delete inst;
  g_carried.clear();
  g_RoomIndex = -1;
  g_RunRoom = nullptr;
}

static void ReportNumber(const char* prefix, int number, bool fatal) {
  char text[128];
  std::snprintf(text, sizeof text, "%s%d", prefix, number);
  Error_Show_Action(text, fatal);
}

int Run_ExitStatus() { return g_stoppedByError ? 1 : 0; }


void Run_EndGame() { g_PendingTransition = TRANSITION_END; }
void Run_RestartGame() { g_PendingTransition = TRANSITION_RESTART; }

void Run_GotoRoom(int room) {
  if (!Room_Exists(room)) {
    ReportNumber("Unexisting room number: ", room, true);
    g_PendingTransition = TRANSITION_FATAL;
    return;
  }
  g_PendingTransition = room;
  Run_TransitionKind = 0;
}

void Run_GotoNextRoom() {
  int next = Room_Next(g_RoomIndex);
  if (next < 0) {
    Error_Show_Action("Moving to next room after the last room.", true);
    g_PendingTransition = TRANSITION_FATAL;
    return;
  }
  Run_GotoRoom(next);
}

void Run_GotoPreviousRoom() {
  int prev = Room_Previous(g_RoomIndex);
  if (prev < 0) {
    Error_Show_Action("Moving to previous room before the first room.", true);
    g_PendingTransition = TRANSITION_FATAL;
    return;
  }
  Run_GotoRoom(prev);
}

void Run_RestartRoom() { Run_GotoRoom(g_RoomIndex); }

void Run_HandleTransition() {
  int t = g_PendingTransition;
  if (t == TRANSITION_NONE) return;
  g_PendingTransition = TRANSITION_NONE;
  if (t >= 0) {
    EndRoom(false);
    StartRoom(t, false);
  } else if (t == TRANSITION_END || t == TRANSITION_FATAL) {
    if (t == TRANSITION_FATAL) g_stoppedByError = true;
    Run_Running = 0;
  } else if (t == TRANSITION_RESTART) {
    EndGame();
    if (!StartGame()) Run_Running = 0;
  } else if (t == TRANSITION_LOAD) {
    char* file = Run_PendingLoadFile;
    Run_PendingLoadFile = nullptr;
    // A load request without a name fails as a missing file does.
    if (!file || !Run_LoadGame(file)) Console_Printf("Failed to load the saved game.\n");
    MEM_FREE(file);
  }
}

namespace {
struct StartMotion {
  float speed, direction;
};

CInstance* CreateInstance(int object, float x, float y, const StartMotion* motion) {
  if (!Object_Exists(object)) {
    ReportNumber("Creating instance for non-existing object: ", object, false);
    return nullptr;
  }
  if (!g_RunRoom) return nullptr;
  CInstance* inst = g_RunRoom->AddInstance(x, y, object);
  inst->creation_serial = g_EventSerial;
  if (motion) {
    inst->SetSpeed(motion->speed);
    inst->SetDirection(motion->direction);
  }
  Run_PhysicsMakeBody(inst);
  Event_Perform(inst, inst, EV_CREATE, 0);
  inst->create_performed = true;
  return inst;
}
}  // namespace

CInstance* Run_CreateInstance(int object, float x, float y) { return CreateInstance(object, x, y, nullptr); }

CInstance* Run_CreateInstanceMoving(int object, float x, float y, float speed, float direction) {
  StartMotion motion{speed, direction};
  return CreateInstance(object, x, y, &motion);
}

void Run_DestroyInstance(CInstance* inst) {
  if (!inst || inst->marked) return;
  inst->SetMarked();
  Event_Perform(inst, inst, EV_DESTROY, 0);
}

void Run_OtherEvent(int number) { Event_PerformPass(EV_OTHER, number); }

void Run_AsyncEvent(int event, int mapIndex) {
  DS_MapHold hold = DS_Map_Hold(mapIndex);
  if (event >= EV_OTHER_IMAGE_LOADED) {
    g_AsyncLoad = mapIndex;
    Run_OtherEvent(event);
  }
  g_AsyncLoad = -1;
  DS_Map_FreeHeld(hold);
}

namespace {
std::vector<std::string> g_Arguments;
}  // namespace

const std::vector<std::string>& Run_Arguments() { return g_Arguments; }
void Run_SetArguments(int argc, char** argv) { g_Arguments.assign(argv, argv + argc); }
