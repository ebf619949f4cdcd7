// One game step: the event phases in their fixed order. A room change or
// the end of the game requested during a phase ends the step after it.
#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Debug/Debug_Profiler.h"
#include "Kivo/Kivo_Pause.h"
#include "IO/HTTP_Main.h"
#include "IO/IO_Main.h"
#include "Option/Option_Main.h"
#include "Particle/Particle_Main.h"
#include "Path/Path_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Grid.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Sprite/Sprite_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Main.h"
#include "Run/Run_Mouse.h"
#include "Run/Run_Physics.h"
#include "TimeLine/TimeLine_Main.h"

namespace {
bool Pending() { return g_PendingTransition != TRANSITION_NONE; }

// The active instances at the start of a phase that take part in it. The
// list is made again only after an instance joined, left or was destroyed,
// so most steps reuse the last one; a phase holds its own reference while
// its events make a new one.
using InstanceList = std::shared_ptr<const std::vector<CInstance*>>;
InstanceList Snapshot() {
  static InstanceList cached;
  static const CRoom* room = nullptr;
  static uint64_t version = 0;
  if (!cached || room != g_RunRoom || version != g_InstanceListVersion) {
    auto list = std::make_shared<std::vector<CInstance*>>();
    if (g_RunRoom)
      for (CInstance* inst : g_RunRoom->active)
        if (!inst->marked && !inst->deactivated) list->push_back(inst);
    cached = std::move(list);
    room = g_RunRoom, version = g_InstanceListVersion;
  }
  return cached;
}

void SavePositions() {
  InstanceList list = Snapshot();
  for (CInstance* inst : *list) {
    inst->xprevious = inst->x;
    inst->yprevious = inst->y;
    inst->path_positionprevious = inst->path_position;
  }
}

void TimeLines() {
  uint64_t serial = Event_NextPass();
  InstanceList list = Snapshot();
  for (CInstance* inst : *list)
    if (inst->timeline_index >= 0 && inst->creation_serial < serial) TimeLine_Step(inst);
}

// The places in the phase's list of the instances with an alarm set. Kept
// while no instance joined or left and no alarm was set since: counting
// down only ever turns alarms off.
const std::vector<uint32_t>& AlarmCandidates(const InstanceList& list) {
  static std::vector<uint32_t> places;
  static InstanceList of;
  static uint64_t alarms = 0;
  if (of != list || alarms != g_InstanceAlarmVersion) {
    places.clear();
    for (uint32_t k = 0; k < list->size(); k++) {
      const int* a = (*list)[k]->alarm;
      if (std::any_of(a, a + ALARM_COUNT, [](int v) { return v >= 0; })) places.push_back(k);
    }
    of = list, alarms = g_InstanceAlarmVersion;
  }
  return places;
}

// Counts down alarm n of one instance and runs its event when it runs out;
// false when the event asked for a room change.
bool Alarm(CInstance* inst, int n, uint64_t serial) {
  if (inst->creation_serial >= serial || inst->marked || inst->alarm[n] < 0) return true;
  if (--inst->alarm[n] == 0) {
    inst->alarm[n] = -1;
    Event_Perform(inst, inst, EV_ALARM, n);
    return !Pending();
  }
  if (inst->alarm[n] < 0) inst->alarm[n] = -1;
  return true;
}

// Each alarm number is one pass over the instances. Only those with an
// alarm set are visited; once an event sets an alarm, the rest of that pass
// visits every instance, as an instance without one may have just got one.
void Alarms() {
  for (int n = 0; n < ALARM_COUNT; n++) {
    uint64_t serial = Event_NextPass();
    InstanceList list = Snapshot();
    uint64_t alarms = g_InstanceAlarmVersion;
    size_t next = 0;  // the first place not yet visited
    for (uint32_t k : AlarmCandidates(list)) {
      if (!Alarm((*list)[k], n, serial)) return;
      next = k + 1;
      if (g_InstanceAlarmVersion != alarms) break;
    }
    if (g_InstanceAlarmVersion == alarms) continue;
    for (; next < list->size(); next++)
      if (!Alarm((*list)[next], n, serial)) return;
  }
}

// keyboard_key is the pass's key; in the any-key and no-key passes, and so
// for the rest of the step, the key held.
void KeyPass(int type, int key) {
  IO_SetCurrentKey(key == VK_ANYKEY || key == VK_NOKEY ? IO_Key_Held() : key);
  Event_PerformPass(type, key);
}

void Keyboard() {
  const int types[3] = {EV_KEYBOARD, EV_KEYPRESS, EV_KEYRELEASE};
  uint8_t (*const tests[3])(int) = {IO_Key_Check, IO_Key_CheckPressed, IO_Key_CheckReleased};
  for (int t = 0; t < 3; t++) {
    for (int key = 8; key < IO_KEY_COUNT; key++) {
      if (!tests[t](key) || Object_EventList(types[t], key).empty()) continue;
      KeyPass(types[t], key);
      if (Pending()) return;
    }
  }
  bool any[3] = {IO_Key_AnyHeld(), IO_Key_AnyPressed(), IO_Key_AnyReleased()};
  for (int t = 0; t < 3; t++) {
    KeyPass(types[t], any[t] ? VK_ANYKEY : VK_NOKEY);
    if (Pending()) return;
  }
}

// The instances whose path reached an end during this step's motion.
std::vector<CInstance*> g_PathEnded;

// In a room whose world steps, the world moves the instances with a body.
void Motion() {
  g_PathEnded.clear();
  bool physics = Run_PhysicsActive();
  InstanceList list = Snapshot();
  for (CInstance* inst : *list) {
    if (physics && inst->physics) continue;
    if (inst->friction != 0 || inst->gravity != 0 || inst->hspeed != 0 || inst->vspeed != 0) inst->Move();
    if (inst->path_index >= 0 && Path_StepInstance(inst)) g_PathEnded.push_back(inst);
  }
  if (physics) Run_PhysicsStep();
}

void PathEnds() {
  for (CInstance* inst : g_PathEnded) {
    if (!inst->marked) Event_Perform(inst, inst, EV_OTHER, EV_OTHER_END_OF_PATH);
    if (Pending()) break;
  }
  g_PathEnded.clear();
}

// Where an instance's box lies against a rectangle: fully outside, crossing
// an edge, or inside.
enum Place { INSIDE, CROSSING, OUTSIDE };
struct Area {
  float left, top, right, bottom;  // right and bottom exclusive
};

Place PlaceOf(CInstance* inst, float x, float y, const Area& a) {
  float sx = inst->x, sy = inst->y;
  inst->SetPosition(x, y);
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  inst->SetPosition(sx, sy);
  if (r < a.left || l >= a.right || b < a.top || t >= a.bottom) return OUTSIDE;
  if (l < a.left || t < a.top || r >= a.right || b >= a.bottom) return CROSSING;
  return INSIDE;
}

// The outside and boundary events of the room (0 and 1) and of each
// visible view n (40 + n and 50 + n): each fires when the instance comes
// into that place.
void OutsideAndBoundary() {
  struct Check {
    Area area;
    int outside, boundary;
  };
  std::vector<Check> checks;
  auto add = [&checks](const Area& a, int outside, int boundary) {
    bool o = !Object_EventList(EV_OTHER, outside).empty(), b = !Object_EventList(EV_OTHER, boundary).empty();
    if (o || b) checks.push_back({a, o ? outside : -1, b ? boundary : -1});
  };
  add({0, 0, static_cast<float>(g_RunRoom->width), static_cast<float>(g_RunRoom->height)}, EV_OTHER_OUTSIDE,
      EV_OTHER_BOUNDARY);
  if (g_RunRoom->views_enabled) {
    for (int n = 0; n < ROOM_VIEWS; n++) {
      const RoomView& v = g_RunRoom->views[n];
      if (v.visible)
        add({v.xview, v.yview, v.xview + v.wview, v.yview + v.hview}, EV_OTHER_OUTSIDE_VIEW0 + n,
            EV_OTHER_BOUNDARY_VIEW0 + n);
    }
  }
  if (checks.empty()) return;
  uint64_t serial = Event_NextPass();
  InstanceList list = Snapshot();
  for (CInstance* inst : *list) {
    if (inst->creation_serial >= serial) continue;
    for (const Check& c : checks) {
      if (inst->marked) break;
      Place now = PlaceOf(inst, inst->x, inst->y, c.area), before = PlaceOf(inst, inst->xprevious, inst->yprevious, c.area);
      if (c.outside >= 0 && now == OUTSIDE && before != OUTSIDE) Event_Perform(inst, inst, EV_OTHER, c.outside);
      if (c.boundary >= 0 && now != INSIDE && before == INSIDE) Event_Perform(inst, inst, EV_OTHER, c.boundary);
      if (Pending()) return;
    }
  }
}

// The others that may meet the instance, from the given place of the list
// on, as (place, instance) in list order. The grid narrows the walk: an
// other it does not give has no box in common with the instance.
std::vector<std::pair<size_t, CInstance*>> MayMeet(CInstance* inst, const std::unordered_map<CInstance*, size_t>& place,
                                                   size_t from) {
  std::vector<std::pair<size_t, CInstance*>> out;
  Grid_Flush();
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  std::vector<CInstance*> near;
  Grid_Candidates(GridBox{l, t, r, b}, near);
  for (CInstance* o : near) {
    auto it = place.find(o);
    if (it != place.end() && it->second >= from) out.emplace_back(it->second, o);
  }
  std::sort(out.begin(), out.end());
  return out;
}

void Collisions() {
  // A room with a physics world has its bodies' contacts instead.
  if (g_RunRoom->physics) {
    Run_PhysicsCollisions();
    return;
  }
  // A copy: a collision event may change parents, which rebuilds the pairs.
  const std::vector<std::pair<int, int>> pairs = Object_CollisionPairs();
  for (const auto& [self_obj, other_obj] : pairs) {
    CObject* a = Object_Find(self_obj);
    CObject* b = Object_Find(other_obj);
    if (!a || !b) continue;
    uint64_t serial = Event_NextPass();
    std::vector<CInstance*> selves = a->instances, others = b->instances_recursive;
    std::unordered_map<CInstance*, size_t> place;
    for (size_t k = 0; k < others.size(); k++) place.emplace(others[k], k);
    for (CInstance* i : selves) {
      // The others in list order; after an event has run (and may have
      // moved anything) the rest of the list is looked at anew.
      size_t from = 0;
      for (bool again = true; again;) {
        again = false;
        for (auto& [k, o] : MayMeet(i, place, from)) {
          if (i == o || i->marked || o->marked || i->deactivated || o->deactivated) continue;
          if (i->creation_serial >= serial || o->creation_serial >= serial) continue;
          if (!i->Collision_Instance(o, true)) continue;
          // Against a solid instance both go back to where they were first.
          bool solid = i->solid || o->solid;
          if (solid) {
            i->SetPosition(i->xprevious, i->yprevious);
            o->SetPosition(o->xprevious, o->yprevious);
          }
          Event_PerformObject(i, o, self_obj, EV_COLLISION, other_obj);
          if (solid && !i->marked) {
            i->SetPosition(i->x + i->hspeed, i->y + i->vspeed);
            if (i->Collision_Instance(o, true)) i->SetPosition(i->xprevious, i->yprevious);
          }
          if (Pending()) return;
          from = k + 1;
          again = true;
          break;
        }
      }
    }
  }
}

void Animation() {
  uint64_t serial = Event_NextPass();
  InstanceList list = Snapshot();
  for (CInstance* inst : *list) {
    if (inst->creation_serial >= serial) continue;
    const CSprite* s = Sprite_Data(inst->sprite_index);
    if (!s || s->numb <= 0) continue;
    float frames = static_cast<float>(s->numb);
    inst->image_index += inst->image_speed;
    if (inst->image_index >= frames) {
      inst->image_index -= frames;
      Event_Perform(inst, inst, EV_OTHER, EV_OTHER_ANIMATION_END);
    } else if (inst->image_index < 0) {
      inst->image_index += frames;
      Event_Perform(inst, inst, EV_OTHER, EV_OTHER_ANIMATION_END);
    }
    if (Pending()) return;
  }
}

void ScrollBackgrounds() {
  for (RoomBackground& bg : g_RunRoom->backgrounds) {
    bg.x += bg.hspeed;
    bg.y += bg.vspeed;
  }
}
}  // namespace

namespace {
void StepPhases() {
  Profiler_Begin("IO&Kivo", 0xFF00FF00u);
  IO_Update();
  IO_StartStep();
  Achievements_Process();
  Kivo_OSPauseEvent_Tick();
  Profiler_End();
  if (!g_RunRoom) return;
  if (!Run_WindowActive && g_GameOptions.freeze_when_inactive) return;

  Profiler_Begin("Update", 0xFF0000FFu);
  SavePositions();
  // Each phase may request a room change, which ends the step.
  using Phase = void (*)();
  const Phase phases[] = {
      [] { Event_PerformPass(EV_STEP, EV_STEP_BEGIN); },
      TimeLines,
      Alarms,
      Keyboard,
      Run_MouseEvents,
      [] { Event_PerformPass(EV_STEP, EV_STEP_NORMAL); },
      Motion,
      PathEnds,
      OutsideAndBoundary,
      HTTP_DeliverFinished,
      Collisions,
      [] { Event_PerformPass(EV_STEP, EV_STEP_END); },
      Particle_Step,
  };
  for (Phase phase : phases) {
    phase();
    if (Pending() || !g_RunRoom) {
      Profiler_End();
      return;
    }
  }
  g_RunRoom->DeleteMarked();
  Profiler_End();

  Profiler_Begin("Draw", 0xFF00FFFFu);
  g_RunRoom->UpdateViews();
  if (Run_AutomaticDraw) g_RunRoom->Draw();
  Profiler_End();
  if (Pending()) return;

  Profiler_Begin("Scroll", 0xFF008080u);
  ScrollBackgrounds();
  Animation();
  Profiler_End();
  Run_StepCount++;
}
}  // namespace

void Run_Step() {
  StepPhases();
  Debug_Update();
}
