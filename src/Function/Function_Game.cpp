// The game built-ins: rooms, instances and game control.
#include "Base/Console.h"
#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Function_Main.h"
#include "IO/LoadSave_Main.h"
#include "Object/Instance_Class.h"
#include "Platform/MemoryManager.h"
#include "Run/Run_Main.h"
#include "Run/Run_SaveGame.h"
#include "Support/Support_File.h"

namespace {
void F_GameEnd(RValue&, CInstance*, CInstance*, int, RValue*) { Run_EndGame(); }

void F_RoomGoto(RValue&, CInstance*, CInstance*, int, RValue* arg) { Run_GotoRoom(RValue_RoundInt(arg[0])); }

void F_RoomGotoNext(RValue&, CInstance*, CInstance*, int, RValue*) { Run_GotoNextRoom(); }

void F_InstanceCreate(RValue& result, CInstance*, CInstance*, int argc, RValue* arg) {
  RValue_SetReal(&result, -1);
  for (int i = 0; i < argc; i++) {
    if (RValue_IsString(arg[i])) {
      Error_Show_Action("instance_create( ) error: Illegal type", false);
      return;
    }
  }
  CInstance* inst = Run_CreateInstance(RValue_TruncInt(arg[2]), RValue_Single(arg[0]), RValue_Single(arg[1]));
  if (inst) RValue_SetReal(&result, inst->id);
}

void F_InstanceDestroy(RValue&, CInstance* self, CInstance*, int, RValue*) { Run_DestroyInstance(self); }

constexpr size_t PATH_MAX_GAME = 1024;

void F_GameSave(RValue& result, CInstance*, CInstance*, int argc, RValue* arg) {
  RValue_SetReal(&result, -1);
  if (argc != 1 || !RValue_IsString(arg[0])) return;
  char path[PATH_MAX_GAME];
  if (LoadSave_MakeSavePath(path, sizeof path, RValue_Text(arg[0]))) Run_SaveGame(path);
}

void F_GameLoad(RValue& result, CInstance*, CInstance*, int argc, RValue* arg) {
  RValue_SetReal(&result, -1);
  if (argc != 1 || !RValue_IsString(arg[0])) return;
  const char* name = RValue_Text(arg[0]);
  char path[PATH_MAX_GAME];
  bool found = (LoadSave_MakeSavePath(path, sizeof path, name) && File_Exists(path)) ||
               (LoadSave_MakeBundlePath(path, sizeof path, name) && File_Exists(path));
  if (!found) {
    g_Console.Output("game_load - unable to find file %s\n", name);
    RValue_SetReal(&result, 0);
    return;
  }
  MEM_FREE(Run_PendingLoadFile);
  Run_PendingLoadFile = String_Duplicate(path);
  g_PendingTransition = TRANSITION_LOAD;
  RValue_SetReal(&result, 1);
}
}  // namespace

void Function_Game_Init() {
  Function_Add("game_end", F_GameEnd, 0);
  Function_Add("room_goto", F_RoomGoto, 1);
  Function_Add("room_goto_next", F_RoomGotoNext, 0);
  Function_Add("instance_create", F_InstanceCreate, 3);
  Function_Add("instance_destroy", F_InstanceDestroy, 0);
  Function_Add("game_save", F_GameSave, 1);
  Function_Add("game_load", F_GameLoad, 1);
}
