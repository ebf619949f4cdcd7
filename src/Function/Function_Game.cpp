// The game built-ins: rooms, instances and game control.
#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Function_Main.h"
#include "Object/Instance_Class.h"
#include "Run/Run_Main.h"

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
}  // namespace

void Function_Game_Init() {
  Function_Add("game_end", F_GameEnd, 0);
  Function_Add("room_goto", F_RoomGoto, 1);
  Function_Add("room_goto_next", F_RoomGotoNext, 0);
  Function_Add("instance_create", F_InstanceCreate, 3);
  Function_Add("instance_destroy", F_InstanceDestroy, 0);
}
