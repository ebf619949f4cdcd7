// The game built-ins: motion, placement, collisions, motion planning,
// instances, rooms and game control. Self is the instance that calls them;
// every move or test works on self.
#include <algorithm>
#include <cmath>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Graphics/Graphics_Transition.h"
#include "IO/LoadSave_Main.h"
#include "Motion/Motion_Grid.h"
#include "Motion/Motion_Plan.h"
#include "Object/Instance_Class.h"
#include "Path/Path_Main.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Main.h"
#include "Run/Run_Activation.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Main.h"
#include "Run/Run_Motion.h"
#include "Run/Run_Query.h"
#include "Run/Run_SaveGame.h"
#include "Run/Run_Services.h"
#include "Support/Support_Timing.h"

#define ARGS RValue &result, CInstance *self, CInstance *other, int argc, const RValue *arg

namespace {
void SetInstance(RValue& result, const CInstance* inst) { RValue_SetReal(&result, inst ? inst->id : TARGET_NOONE); }

// -1 and -2 as self's or other's id, where a built-in takes them so.
int SelfOrOther(int target, CInstance* self, CInstance* other) {
  if (target == TARGET_SELF && self) return self->id;
  if (target == TARGET_OTHER && other) return other->id;
  return target;
}

// ---- Motion and placement ----

void F_MoveRandom(ARGS) {
  if (self) Run_MoveRandom(self, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), 100);
}

void F_PlaceFree(ARGS) {
  if (self) SetBool(result, Run_PlaceFree(self, RValue_Single(arg[0]), RValue_Single(arg[1])));
}

void F_PlaceEmpty(ARGS) {
  if (self) SetBool(result, Run_PlaceEmpty(self, RValue_Single(arg[0]), RValue_Single(arg[1])));
}

void F_PlaceMeeting(ARGS) {
  if (!self) return;
  int target = SelfOrOther(RValue_RoundInt(arg[2]), self, other);
  SetBool(result, Run_PlaceMeetingBool(self, target, RValue_Single(arg[0]), RValue_Single(arg[1])));
}

void F_PlaceSnapped(ARGS) {
  if (self) SetBool(result, Run_IsSnapped(self, RValue_Real(arg[0]), RValue_Real(arg[1])));
}

void F_MoveSnap(ARGS) {
  if (self) Run_MoveSnap(self, RValue_Single(arg[0]), RValue_Single(arg[1]));
}

void F_MoveTowardsPoint(ARGS) {
  if (self) Run_MoveTowardsPoint(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]));
}

void F_MoveContact(ARGS) {
  if (!self) return;
  float dir = RValue_Single(arg[0]);
  if (Run_PlaceFree(self, self->x, self->y))
    Run_MoveContact(self, dir, 0, false);
  else
    Run_MoveOutside(self, dir, 0, false);
}

void F_MoveContactSolid(ARGS) {
  if (self) Run_MoveContact(self, RValue_Single(arg[0]), RValue_Single(arg[1]), false);
}

void F_MoveContactAll(ARGS) {
  if (self) Run_MoveContact(self, RValue_Single(arg[0]), RValue_Single(arg[1]), true);
}

void F_MoveOutsideSolid(ARGS) {
  if (self) Run_MoveOutside(self, RValue_Single(arg[0]), RValue_Single(arg[1]), false);
}

void F_MoveOutsideAll(ARGS) {
  if (self) Run_MoveOutside(self, RValue_Single(arg[0]), RValue_Single(arg[1]), true);
}

void F_MoveBounceSolid(ARGS) {
  if (self) Run_Bounce(self, RValue_IsTrue(arg[0]), false);
}

void F_MoveBounceAll(ARGS) {
  if (self) Run_Bounce(self, RValue_IsTrue(arg[0]), true);
}

void F_MoveWrap(ARGS) {
  if (self) Run_MoveWrap(self, RValue_IsTrue(arg[0]), RValue_IsTrue(arg[1]), RValue_Single(arg[2]));
}

void F_MotionSet(ARGS) {
  if (!self) return;
  self->SetDirection(RValue_Single(arg[0]));
  self->SetSpeed(RValue_Single(arg[1]));
}

void F_MotionAdd(ARGS) {
  if (self) self->AddMotion(RValue_Single(arg[0]), RValue_Single(arg[1]));
}

void F_DistanceToPoint(ARGS) {
  if (self) Give(result, Run_DistanceToPoint(self, RValue_Real(arg[0]), RValue_Real(arg[1])));
}

void F_DistanceToObject(ARGS) {
  Give(result, 1000000);
  if (self) Give(result, Run_DistanceToObject(self, other, RValue_TruncInt(arg[0])));
}

void F_PathStart(ARGS) {
  if (self)
    Path_StartInstance(self, RValue_RoundInt(arg[0]), RValue_Single(arg[1]), 1, 0, RValue_IsTrue(arg[3]),
                       RValue_RoundInt(arg[2]));
}

void F_PathEnd(ARGS) {
  if (self) self->path_index = -1;
}

// ---- Motion planning ----

void F_MpLinearStep(ARGS) {
  if (self)
    SetBool(result, MotionPlan_LinearStep(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                          TARGET_ALL, RValue_IsTrue(arg[3])));
}

void F_MpLinearStepObject(ARGS) {
  if (self)
    SetBool(result, MotionPlan_LinearStep(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                          RValue_RoundInt(arg[3]), false));
}

void F_MpPotentialStep(ARGS) {
  if (self)
    SetBool(result, MotionPlan_PotentialStep(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                             TARGET_ALL, RValue_IsTrue(arg[3])));
}

void F_MpPotentialStepObject(ARGS) {
  if (self)
    SetBool(result, MotionPlan_PotentialStep(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                             RValue_RoundInt(arg[3]), false));
}

void F_MpPotentialSettings(ARGS) {
  MotionPlan_SetPotentialSettings(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                  RValue_IsTrue(arg[3]));
}

// The planners write into an existing path only.
bool PlannerPath(int path) {
  if (Path_Exists(path)) return true;
  Error_Show_Action("Trying to assign to a non-existing path.", false);
  return false;
}

void F_MpLinearPath(ARGS) {
  int path = RValue_RoundInt(arg[0]);
  if (!PlannerPath(path) || !self) return;
  SetBool(result, MotionPlan_LinearPath(self, path, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                                        TARGET_ALL, RValue_IsTrue(arg[4])));
}

void F_MpLinearPathObject(ARGS) {
  int path = RValue_RoundInt(arg[0]);
  if (!PlannerPath(path) || !self) return;
  SetBool(result, MotionPlan_LinearPath(self, path, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                                        RValue_RoundInt(arg[4]), false));
}

void F_MpPotentialPath(ARGS) {
  int path = RValue_RoundInt(arg[0]);
  if (!PlannerPath(path) || !self) return;
  SetBool(result,
          MotionPlan_PotentialPath(self, path, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                                   RValue_Single(arg[4]), TARGET_ALL, RValue_IsTrue(arg[5])));
}

void F_MpPotentialPathObject(ARGS) {
  int path = RValue_RoundInt(arg[0]);
  if (!PlannerPath(path) || !self) return;
  SetBool(result,
          MotionPlan_PotentialPath(self, path, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                                   RValue_Single(arg[4]), RValue_RoundInt(arg[5]), false));
}

void F_MpGridCreate(ARGS) {
  Give(result, MotionGrid_Create(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                                    RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5])));
}

void F_MpGridDestroy(ARGS) { MotionGrid_Destroy(RValue_RoundInt(arg[0])); }
void F_MpGridClearAll(ARGS) { MotionGrid_ClearAll(RValue_RoundInt(arg[0])); }
void F_MpGridClearCell(ARGS) {
  MotionGrid_ClearCell(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
void F_MpGridAddCell(ARGS) {
  MotionGrid_AddCell(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}

void F_MpGridClearRectangle(ARGS) {
  MotionGrid_ClearRectangle(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                            RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]));
}

void F_MpGridAddRectangle(ARGS) {
  MotionGrid_AddRectangle(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                          RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]));
}

void F_MpGridAddInstances(ARGS) {
  MotionGrid_AddInstances(RValue_RoundInt(arg[0]), self, other, RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2]));
}

void F_MpGridDraw(ARGS) { MotionGrid_Draw(RValue_RoundInt(arg[0])); }

void F_MpGridPath(ARGS) {
  int path = RValue_RoundInt(arg[1]);
  if (!PlannerPath(path)) return;
  SetBool(result, MotionGrid_Path(RValue_RoundInt(arg[0]), path, RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]),
                                  RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5]), RValue_IsTrue(arg[6])));
}

// ---- Collisions ----

void F_CollisionPoint(ARGS) {
  SetInstance(result, Run_CollisionPoint(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_RoundInt(arg[2]),
                                         RValue_IsTrue(arg[3]), RValue_IsTrue(arg[4])));
}

void F_CollisionRectangle(ARGS) {
  SetInstance(result, Run_CollisionRectangle(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                             RValue_Single(arg[3]), RValue_RoundInt(arg[4]), RValue_IsTrue(arg[5]),
                                             RValue_IsTrue(arg[6])));
}

void F_CollisionEllipse(ARGS) {
  SetInstance(result, Run_CollisionEllipse(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                           RValue_Single(arg[3]), RValue_RoundInt(arg[4]), RValue_IsTrue(arg[5]),
                                           RValue_IsTrue(arg[6])));
}

void F_CollisionCircle(ARGS) {
  float x = RValue_Single(arg[0]), y = RValue_Single(arg[1]), r = RValue_Single(arg[2]);
  SetInstance(result, Run_CollisionEllipse(self, x - r, y - r, x + r, y + r, RValue_RoundInt(arg[3]),
                                           RValue_IsTrue(arg[4]), RValue_IsTrue(arg[5])));
}

void F_CollisionLine(ARGS) {
  SetInstance(result, Run_CollisionLine(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                                        RValue_Single(arg[3]), RValue_RoundInt(arg[4]), RValue_IsTrue(arg[5]),
                                        RValue_IsTrue(arg[6])));
}

// ---- Instances ----

void F_InstanceFind(ARGS) { SetInstance(result, Run_InstanceFind(RValue_TruncInt(arg[0]), RValue_TruncInt(arg[1]))); }

bool Usable(const CInstance* inst) { return inst && !inst->marked; }

void F_InstanceExists(ARGS) {
  int target = RValue_TruncInt(arg[0]);
  if (target == TARGET_SELF) return SetBool(result, Usable(self));
  if (target == TARGET_OTHER) return SetBool(result, Usable(other));
  if (target < 0) return SetBool(result, false);
  SetBool(result, Run_InstanceNumber(target) > 0);
}

void F_InstanceNumber(ARGS) {
  int target = RValue_RoundInt(arg[0]);
  if (target == TARGET_SELF) return SetBool(result, Usable(self));
  if (target == TARGET_OTHER) return SetBool(result, Usable(other));
  Give(result, Run_InstanceNumber(target));
}

void F_InstancePosition(ARGS) {
  SetInstance(result, Run_InstancePosition(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_TruncInt(arg[2])));
}

void F_InstanceNearest(ARGS) {
  SetInstance(result, Run_InstanceNearest(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_TruncInt(arg[2])));
}

void F_InstanceFurthest(ARGS) {
  SetInstance(result, Run_InstanceFurthest(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_TruncInt(arg[2])));
}

void F_InstancePlace(ARGS) {
  SetInstance(
      result,
      self ? Run_PlaceMeeting(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_TruncInt(arg[2])) : nullptr);
}

void F_InstanceCreate(ARGS) {
  Give(result, -1);
  for (int i = 0; i < argc; i++) {
    if (RValue_IsString(arg[i])) {
      Error_Show_Action("instance_create( ) error: Illegal type", false);
      return;
    }
  }
  if (CInstance* inst = Run_CreateInstance(RValue_TruncInt(arg[2]), RValue_Single(arg[0]), RValue_Single(arg[1])))
    Give(result, inst->id);
}

void F_InstanceCopy(ARGS) {
  if (CInstance* copy = Run_CopyInstance(self, RValue_IsTrue(arg[0]))) Give(result, copy->id);
}

void F_InstanceChange(ARGS) {
  if (self) Run_ChangeInstance(self, RValue_TruncInt(arg[0]), RValue_IsTrue(arg[1]));
}

void F_InstanceDestroy(ARGS) { Run_DestroyInstance(self); }

void F_InstanceSprite(ARGS) {
  if (self) Run_SetSprite(self, RValue_TruncInt(arg[0]));
}

void F_PositionEmpty(ARGS) {
  SetBool(result, !Run_PositionMeeting(RValue_Single(arg[0]), RValue_Single(arg[1]), TARGET_ALL));
}

void F_PositionMeeting(ARGS) {
  int target = SelfOrOther(RValue_TruncInt(arg[2]), self, other);
  SetBool(result, Run_PositionMeeting(RValue_Single(arg[0]), RValue_Single(arg[1]), target));
}

void F_PositionDestroy(ARGS) { Run_PositionDestroy(RValue_Single(arg[0]), RValue_Single(arg[1])); }

void F_PositionChange(ARGS) {
  Run_PositionChange(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_TruncInt(arg[2]), RValue_IsTrue(arg[3]));
}

void F_InstanceDeactivateAll(ARGS) { Run_DeactivateAll(self, RValue_IsTrue(arg[0])); }
void F_InstanceDeactivateObject(ARGS) { Run_DeactivateObject(self, other, RValue_RoundInt(arg[0])); }

void F_InstanceDeactivateRegion(ARGS) {
  Run_DeactivateRegion(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                       RValue_IsTrue(arg[4]), RValue_IsTrue(arg[5]));
}

void F_InstanceActivateAll(ARGS) { Run_ActivateAll(); }
void F_InstanceActivateObject(ARGS) { Run_ActivateObject(self, other, RValue_RoundInt(arg[0])); }

void F_InstanceActivateRegion(ARGS) {
  Run_ActivateRegion(RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                     RValue_IsTrue(arg[4]));
}

// ---- Rooms and game control ----

void F_RoomGoto(ARGS) { Run_GotoRoom(RValue_RoundInt(arg[0])); }

// Room moves relative to the current room need one.
void F_RoomGotoPrevious(ARGS) {
  if (g_RunRoom) Run_GotoPreviousRoom();
}

void F_RoomGotoNext(ARGS) {
  if (g_RunRoom) Run_GotoNextRoom();
}

void F_RoomRestart(ARGS) {
  if (g_RunRoom) Run_RestartRoom();
}

void F_RoomPrevious(ARGS) {
  int room = RValue_RoundInt(arg[0]);
  Give(result, Room_Exists(room) ? Room_Previous(room) : -1);
}

void F_RoomNext(ARGS) {
  int room = RValue_RoundInt(arg[0]);
  Give(result, Room_Exists(room) ? Room_Next(room) : -1);
}

void F_GameEnd(ARGS) { Run_EndGame(); }
void F_GameRestart(ARGS) { Run_RestartGame(); }

void F_TransitionDefine(ARGS) {
  SetBool(result, Transition_DefineScript(RValue_RoundInt(arg[0]), RValue_Text(arg[1])));
}
void F_TransitionExists(ARGS) { SetBool(result, TransFunctionExists(RValue_RoundInt(arg[0]))); }

constexpr size_t SAVE_PATH_MAX = 1024;

void F_GameLoad(ARGS) {
  Give(result, -1);
  if (argc != 1 || !RValue_IsString(arg[0])) return;
  const char* name = RValue_Text(arg[0]);
  char path[SAVE_PATH_MAX];
  bool found = (LoadSave_SaveFileExists(name) && LoadSave_MakeSavePath(path, sizeof path, name)) ||
               (LoadSave_BundleFileExists(name) && LoadSave_MakeBundlePath(path, sizeof path, name));
  if (!found) {
    Give(result, 0);
    g_Console.Output("game_load - unable to find file %s\n", name);
    return;
  }
  Give(result, 1);
  MEM_FREE(Run_PendingLoadFile);
  Run_PendingLoadFile = String_Duplicate(path);
  g_PendingTransition = TRANSITION_LOAD;
}

void F_GameSave(ARGS) {
  Give(result, -1);
  if (argc != 1 || !RValue_IsString(arg[0])) return;
  char path[SAVE_PATH_MAX];
  // The result stays -1 either way; a failed write is at least told.
  if (!LoadSave_MakeSavePath(path, sizeof path, RValue_Text(arg[0])) || !Run_SaveGame(path))
    g_Console.Output("game_save - unable to write file %s\n", RValue_Text(arg[0]));
}

// One wait lasts 0 to 3 seconds, whatever the script asks.
constexpr int64_t SLEEP_MAX_MICROSECONDS = 3000000;

void F_Sleep(ARGS) {
  double us = RValue_Real(arg[0]) * 1000.0;
  if (!(us > 0)) return;
  Timing_Wait(std::min<int64_t>(Convert_RoundInt64(std::min<double>(us, SLEEP_MAX_MICROSECONDS)), SLEEP_MAX_MICROSECONDS));
}
}  // namespace

void Function_Game_Init() {
  // Motion and placement.
  Function_Add("move_random", F_MoveRandom, 2);
  Function_Add("place_free", F_PlaceFree, 2);
  Function_Add("place_empty", F_PlaceEmpty, 2);
  Function_Add("place_meeting", F_PlaceMeeting, 3);
  Function_Add("place_snapped", F_PlaceSnapped, 2);
  Function_Add("move_snap", F_MoveSnap, 2);
  Function_Add("move_towards_point", F_MoveTowardsPoint, 3);
  Function_Add("move_contact", F_MoveContact, 1);
  Function_Add("move_contact_solid", F_MoveContactSolid, 2);
  Function_Add("move_contact_all", F_MoveContactAll, 2);
  Function_Add("move_outside_solid", F_MoveOutsideSolid, 2);
  Function_Add("move_outside_all", F_MoveOutsideAll, 2);
  Function_Add("move_bounce_solid", F_MoveBounceSolid, 1);
  Function_Add("move_bounce", F_MoveBounceSolid, 1);
  Function_Add("move_bounce_all", F_MoveBounceAll, 1);
  Function_Add("move_wrap", F_MoveWrap, 3);
  Function_Add("motion_set", F_MotionSet, 2);
  Function_Add("motion_add", F_MotionAdd, 2);
  Function_Add("distance_to_point", F_DistanceToPoint, 2);
  Function_Add("distance_to_object", F_DistanceToObject, 1);
  Function_Add("path_start", F_PathStart, 4);
  Function_Add("path_end", F_PathEnd, 0);
  // Motion planning.
  Function_Add("mp_linear_step", F_MpLinearStep, 4);
  Function_Add("mp_linear_step_object", F_MpLinearStepObject, 4);
  Function_Add("mp_potential_step", F_MpPotentialStep, 4);
  Function_Add("mp_potential_step_object", F_MpPotentialStepObject, 4);
  Function_Add("mp_potential_settings", F_MpPotentialSettings, 4);
  Function_Add("mp_linear_path", F_MpLinearPath, 5);
  Function_Add("mp_linear_path_object", F_MpLinearPathObject, 5);
  Function_Add("mp_potential_path", F_MpPotentialPath, 6);
  Function_Add("mp_potential_path_object", F_MpPotentialPathObject, 6);
  Function_Add("mp_grid_create", F_MpGridCreate, 6);
  Function_Add("mp_grid_destroy", F_MpGridDestroy, 1);
  Function_Add("mp_grid_clear_all", F_MpGridClearAll, 1);
  Function_Add("mp_grid_clear_cell", F_MpGridClearCell, 3);
  Function_Add("mp_grid_clear_rectangle", F_MpGridClearRectangle, 5);
  Function_Add("mp_grid_add_cell", F_MpGridAddCell, 3);
  Function_Add("mp_grid_add_rectangle", F_MpGridAddRectangle, 5);
  Function_Add("mp_grid_add_instances", F_MpGridAddInstances, 3);
  Function_Add("mp_grid_path", F_MpGridPath, 7);
  Function_Add("mp_grid_draw", F_MpGridDraw, 1);
  // Collisions.
  Function_Add("collision_point", F_CollisionPoint, 5);
  Function_Add("collision_rectangle", F_CollisionRectangle, 7);
  Function_Add("collision_ellipse", F_CollisionEllipse, 7);
  Function_Add("collision_circle", F_CollisionCircle, 6);
  Function_Add("collision_line", F_CollisionLine, 7);
  // Instances.
  Function_Add("instance_find", F_InstanceFind, 2);
  Function_Add("instance_exists", F_InstanceExists, 1);
  Function_Add("instance_number", F_InstanceNumber, 1);
  Function_Add("instance_position", F_InstancePosition, 3);
  Function_Add("instance_nearest", F_InstanceNearest, 3);
  Function_Add("instance_furthest", F_InstanceFurthest, 3);
  Function_Add("instance_place", F_InstancePlace, 3);
  Function_Add("instance_create", F_InstanceCreate, 3);
  Function_Add("instance_copy", F_InstanceCopy, 1);
  Function_Add("instance_change", F_InstanceChange, 2);
  Function_Add("instance_destroy", F_InstanceDestroy, 0);
  Function_Add("instance_sprite", F_InstanceSprite, 1);
  Function_Add("position_empty", F_PositionEmpty, 2);
  Function_Add("position_meeting", F_PositionMeeting, 3);
  Function_Add("position_destroy", F_PositionDestroy, 2);
  Function_Add("position_change", F_PositionChange, 4);
  Function_Add("instance_deactivate_all", F_InstanceDeactivateAll, 1);
  Function_Add("instance_deactivate_object", F_InstanceDeactivateObject, 1);
  Function_Add("instance_deactivate_region", F_InstanceDeactivateRegion, 6);
  Function_Add("instance_activate_all", F_InstanceActivateAll, 0);
  Function_Add("instance_activate_object", F_InstanceActivateObject, 1);
  Function_Add("instance_activate_region", F_InstanceActivateRegion, 5);
  // Rooms and game control.
  Function_Add("room_goto", F_RoomGoto, 1);
  Function_Add("room_goto_previous", F_RoomGotoPrevious, 0);
  Function_Add("room_goto_next", F_RoomGotoNext, 0);
  Function_Add("room_restart", F_RoomRestart, 0);
  Function_Add("room_previous", F_RoomPrevious, 1);
  Function_Add("room_next", F_RoomNext, 1);
  Function_Add("game_end", F_GameEnd, 0);
  Function_Add("game_restart", F_GameRestart, 0);
  Function_Add("game_load", F_GameLoad, 1);
  Function_Add("game_save", F_GameSave, 1);
  Function_Add("transition_define", F_TransitionDefine, 2);
  Function_Add("transition_exists", F_TransitionExists, 1);
  Function_Add("sleep", F_Sleep, 1);
}
