// The action built-ins that move self, make and remove instances, set
// sprites, alarms and time lines; and the registration of every action.
#include "Function/Function_Action.h"

#include <algorithm>
#include <cstring>

#include "Base/Random_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Graphics.h"
#include "Motion/Motion_Plan.h"
#include "Object/Object_Main.h"
#include "Path/Path_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Main.h"
#include "Run/Run_Motion.h"
#include "Run/Run_Services.h"

using namespace action;

namespace {
// ---- Motion ----

void F_SetRelative(ACTION_ARGS) { g_ActionRelative = RValue_IsTrue(arg[0]) ? 1 : 0; }

// The direction of each cell of the pattern, a 3 x 3 grid read bottom row
// first; the centre (-1) stops.
constexpr float PATTERN_DIRECTION[9] = {225, 270, 315, 180, -1, 0, 135, 90, 45};
constexpr size_t PATTERN_LENGTH = 9;

void F_Move(ACTION_ARGS) {
  if (!RValue_IsString(arg[0]) || std::strlen(RValue_Text(arg[0])) != PATTERN_LENGTH) {
    Error_Show_Action("Wrong argument to action_move().", false);
    return;
  }
  const char* pattern = RValue_Text(arg[0]);
  if (!self || !std::strchr(pattern, '1')) return;
  self->SetSpeed(RelativeSingle(self->speed, arg[1]));
  int cell;
  do {
    cell = Random_Int(PATTERN_LENGTH);
  } while (pattern[cell] != '1');
  if (PATTERN_DIRECTION[cell] < 0) {
    self->SetDirection(0);
    self->SetSpeed(0);
  } else {
    self->SetDirection(PATTERN_DIRECTION[cell]);
  }
}

void F_SetMotion(ACTION_ARGS) {
  if (!self) return;
  if (g_ActionRelative) {
    self->AddMotion(RValue_Single(arg[0]), RValue_Single(arg[1]));
    return;
  }
  self->SetDirection(RValue_Single(arg[0]));
  self->SetSpeed(RValue_Single(arg[1]));
}

void F_SetHSpeed(ACTION_ARGS) {
  if (self) self->SetHSpeed(RelativeSingle(self->hspeed, arg[0]));
}

void F_SetVSpeed(ACTION_ARGS) {
  if (self) self->SetVSpeed(RelativeSingle(self->vspeed, arg[0]));
}

void F_SetGravity(ACTION_ARGS) {
  if (!self) return;
  self->gravity_direction = RelativeSingle(self->gravity_direction, arg[0]);
  self->gravity = RelativeSingle(self->gravity, arg[1]);
}

void F_SetFriction(ACTION_ARGS) {
  if (self) self->friction = RelativeSingle(self->friction, arg[0]);
}

void F_MovePoint(ACTION_ARGS) {
  if (self) Run_MoveTowardsPoint(self, RelX(self, arg[0]), RelY(self, arg[1]), RValue_Single(arg[2]));
}

void F_MoveTo(ACTION_ARGS) {
  if (self) self->SetPosition(RelX(self, arg[0]), RelY(self, arg[1]));
}

void F_MoveStart(ACTION_ARGS) {
  if (self) self->SetPosition(self->xstart, self->ystart);
}

// One try fewer than move_random, as the action always had.
constexpr int MOVE_RANDOM_TRIES = 99;

void F_MoveRandom(ACTION_ARGS) {
  if (self) Run_MoveRandom(self, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), MOVE_RANDOM_TRIES);
}

void F_Snap(ACTION_ARGS) {
  if (self) Run_MoveSnap(self, RValue_Single(arg[0]), RValue_Single(arg[1]));
}

void F_Wrap(ACTION_ARGS) {
  if (!self) return;
  int kind = RValue_RoundInt(arg[0]);
  Run_MoveWrap(self, kind == 0 || kind == 2, kind == 1 || kind == 2, 0);
}

void F_ReverseXDir(ACTION_ARGS) {
  if (self) self->SetHSpeed(-self->hspeed);
}

void F_ReverseYDir(ACTION_ARGS) {
  if (self) self->SetVSpeed(-self->vspeed);
}

void F_MoveContact(ACTION_ARGS) {
  if (self) Run_MoveContact(self, RValue_Single(arg[0]), RValue_Single(arg[1]), RValue_IsTrue(arg[2]));
}

// Against every instance only for exactly 1, unlike the other flags.
void F_Bounce(ACTION_ARGS) {
  if (self) Run_Bounce(self, RValue_IsTrue(arg[0]), RValue_Real(arg[1]) == 1);
}

void F_Path(ACTION_ARGS) {
  if (self)
    Path_StartInstance(self, RValue_RoundInt(arg[0]), RValue_Single(arg[1]), 1, 0, RValue_IsTrue(arg[3]),
                       RValue_RoundInt(arg[2]));
}

void F_PathEnd(ACTION_ARGS) {
  if (!self) return;
  self->path_index = -1;
  self->path_speed = 0;
  self->path_scale = 1;
}

void F_PathPosition(ACTION_ARGS) {
  if (self) self->path_position = std::clamp(RelativeSingle(self->path_position, arg[0]), 0.0f, 1.0f);
}

void F_PathSpeed(ACTION_ARGS) {
  if (self) self->path_speed = RelativeSingle(self->path_speed, arg[0]);
}

void F_LinearStep(ACTION_ARGS) {
  if (self)
    MotionPlan_LinearStep(self, RelX(self, arg[0]), RelY(self, arg[1]), RValue_Single(arg[2]), TARGET_ALL,
                          RValue_IsTrue(arg[3]));
}

void F_PotentialStep(ACTION_ARGS) {
  if (self)
    MotionPlan_PotentialStep(self, RelX(self, arg[0]), RelY(self, arg[1]), RValue_Single(arg[2]), TARGET_ALL,
                             RValue_IsTrue(arg[3]));
}

// ---- Instances ----

void F_CreateObject(ACTION_ARGS) {
  Run_CreateInstance(RValue_RoundInt(arg[0]), RelX(self, arg[1]), RelY(self, arg[2]));
}

// Only the position is relative; the motion is taken as given.
void F_CreateObjectMotion(ACTION_ARGS) {
  Run_CreateInstanceMoving(RValue_RoundInt(arg[0]), RelX(self, arg[1]), RelY(self, arg[2]), RValue_Single(arg[3]),
                           RValue_Single(arg[4]));
}

constexpr int RANDOM_OBJECT_CHOICES = 4;

void F_CreateObjectRandom(ACTION_ARGS) {
  int objects[RANDOM_OBJECT_CHOICES];
  bool any = false;
  for (int i = 0; i < RANDOM_OBJECT_CHOICES; i++) {
    objects[i] = RValue_RoundInt(arg[i]);
    any = any || Object_Exists(objects[i]);
  }
  if (!any) return;
  int pick;
  do {
    pick = objects[Random_Int(RANDOM_OBJECT_CHOICES)];
  } while (!Object_Exists(pick));
  Run_CreateInstance(pick, RelX(self, arg[4]), RelY(self, arg[5]));
}

void F_ChangeObject(ACTION_ARGS) {
  if (self) Run_ChangeInstance(self, RValue_RoundInt(arg[0]), RValue_IsTrue(arg[1]));
}

// Self is marked before its destroy event runs, so that the event calling
// this action again does not run a second time.
void F_KillObject(ACTION_ARGS) { Run_DestroyInstance(self); }

void F_KillPosition(ACTION_ARGS) { Run_PositionDestroy(RelX(self, arg[0]), RelY(self, arg[1])); }

// ---- Sprites ----

void F_SetSprite(ACTION_ARGS) {
  if (!self) return;
  int sprite = RValue_RoundInt(arg[0]);
  Run_SetSprite(self, sprite);
  if (self->sprite_index != sprite) return;  // reported as missing
  float scale = RValue_Single(arg[1]);
  if (scale > 0) {
    self->SetImageXScale(scale);
    self->SetImageYScale(scale);
  }
}

void F_SpriteSet(ACTION_ARGS) {
  if (!self) return;
  int sprite = RValue_RoundInt(arg[0]);
  Run_SetSprite(self, sprite);
  if (self->sprite_index != sprite) return;
  float subimage = RValue_Single(arg[1]);
  if (subimage >= 0) self->image_index = subimage;
  self->image_speed = RValue_Single(arg[2]);
}

void F_SpriteTransform(ACTION_ARGS) {
  if (!self) return;
  self->SetImageXScale(RValue_Single(arg[0]));
  self->SetImageYScale(RValue_Single(arg[1]));
  self->SetImageAngle(RValue_Single(arg[2]));
  double mirror = RValue_Real(arg[3]);
  if (mirror == 1 || mirror == 3) self->SetImageXScale(-self->image_xscale);
  if (mirror == 2 || mirror == 3) self->SetImageYScale(-self->image_yscale);
}

void F_SpriteColor(ACTION_ARGS) {
  if (!self) return;
  self->image_blend = Arg_Colour(arg[0]);
  self->image_alpha = RValue_Single(arg[1]);
}

// ---- Alarms and time lines ----

// Relative adds only to an alarm that runs (0 or more); one that is off is set.
void F_SetAlarm(ACTION_ARGS) {
  if (!self) return;
  int alarm = RValue_RoundInt(arg[1]), steps = RValue_RoundInt(arg[0]);
  int current = self->GetAlarm(alarm);
  self->SetAlarm(alarm, g_ActionRelative && current >= 0 ? current + steps : steps);
}

void StartTimeline(CInstance* self, const RValue& timeline, const RValue& position, bool running) {
  self->timeline_index = RValue_RoundInt(timeline);
  self->timeline_position = static_cast<float>(RValue_RoundInt(position));
  self->timeline_running = running;
}

void F_SetTimeline(ACTION_ARGS) {
  if (self) StartTimeline(self, arg[0], arg[1], true);
}

// Start 0 runs the time line; any other start leaves it paused.
void F_TimelineSet(ACTION_ARGS) {
  if (!self) return;
  StartTimeline(self, arg[0], arg[1], RValue_RoundInt(arg[2]) == 0);
  self->timeline_loop = RValue_RoundInt(arg[3]) == 1;
}

void F_SetTimelinePosition(ACTION_ARGS) {
  if (!self) return;
  int position = RValue_RoundInt(arg[0]);
  self->timeline_position = g_ActionRelative ? self->timeline_position + position : static_cast<float>(position);
}

void F_SetTimelineSpeed(ACTION_ARGS) {
  if (self) self->timeline_speed = RelativeSingle(self->timeline_speed, arg[0]);
}

void F_TimelineStart(ACTION_ARGS) {
  if (self) self->timeline_running = true;
}

void F_TimelinePause(ACTION_ARGS) {
  if (self) self->timeline_running = false;
}

void F_TimelineStop(ACTION_ARGS) {
  if (!self) return;
  self->timeline_running = false;
  self->timeline_position = 0;
}

// The obsolete actions.
void F_SaveGame(ACTION_ARGS) {}
}  // namespace

void Function_Action_Motion_Init() {
  Function_Add("action_path_old", F_Nothing, 3);
  Function_Add("action_draw_font", F_Nothing, 1);
  Function_Add("action_draw_font_old", F_Nothing, 6);
  Function_Add("action_fill_color", F_Nothing, 1);
  Function_Add("action_line_color", F_Nothing, 1);
  Function_Add("action_highscore", F_Nothing, 0);
  Function_Add("action_save_game", F_SaveGame, 1);

  Function_Add("action_set_relative", F_SetRelative, 1);
  Function_Add("action_move", F_Move, 2);
  Function_Add("action_set_motion", F_SetMotion, 2);
  Function_Add("action_set_hspeed", F_SetHSpeed, 1);
  Function_Add("action_set_vspeed", F_SetVSpeed, 1);
  Function_Add("action_set_gravity", F_SetGravity, 2);
  Function_Add("action_set_friction", F_SetFriction, 1);
  Function_Add("action_move_point", F_MovePoint, 3);
  Function_Add("action_move_to", F_MoveTo, 2);
  Function_Add("action_move_start", F_MoveStart, 0);
  Function_Add("action_move_random", F_MoveRandom, 2);
  Function_Add("action_snap", F_Snap, 2);
  Function_Add("action_wrap", F_Wrap, 1);
  Function_Add("action_reverse_xdir", F_ReverseXDir, 0);
  Function_Add("action_reverse_ydir", F_ReverseYDir, 0);
  Function_Add("action_move_contact", F_MoveContact, 3);
  Function_Add("action_bounce", F_Bounce, 2);
  Function_Add("action_path", F_Path, 4);
  Function_Add("action_path_end", F_PathEnd, 0);
  Function_Add("action_path_position", F_PathPosition, 1);
  Function_Add("action_path_speed", F_PathSpeed, 1);
  Function_Add("action_linear_step", F_LinearStep, 4);
  Function_Add("action_potential_step", F_PotentialStep, 4);

  Function_Add("action_create_object", F_CreateObject, 3);
  Function_Add("action_create_object_motion", F_CreateObjectMotion, 5);
  Function_Add("action_create_object_random", F_CreateObjectRandom, 6);
  Function_Add("action_change_object", F_ChangeObject, 2);
  Function_Add("action_kill_object", F_KillObject, 0);
  Function_Add("action_kill_position", F_KillPosition, 2);

  Function_Add("action_set_sprite", F_SetSprite, 2);
  Function_Add("action_sprite_set", F_SpriteSet, 3);
  Function_Add("action_sprite_transform", F_SpriteTransform, 4);
  Function_Add("action_sprite_color", F_SpriteColor, 2);

  Function_Add("action_set_alarm", F_SetAlarm, 2);
  Function_Add("action_set_timeline", F_SetTimeline, 2);
  Function_Add("action_timeline_set", F_TimelineSet, 4);
  Function_Add("action_set_timeline_position", F_SetTimelinePosition, 1);
  Function_Add("action_set_timeline_speed", F_SetTimelineSpeed, 1);
  Function_Add("action_timeline_start", F_TimelineStart, 0);
  Function_Add("action_timeline_pause", F_TimelinePause, 0);
  Function_Add("action_timeline_stop", F_TimelineStop, 0);
}

void Function_Action_Init() {
  Function_Action_Motion_Init();
  Function_Action_Control_Init();
  Function_Action_Score_Init();
  Function_Action_Draw_Init();
  Function_Action_Particle_Init();
}
