#include "Run/Run_Instance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Grid.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"
#include "Run/Run_Services.h"
#include "Run/Run_Target.h"
#include "Sprite/Sprite_Main.h"

namespace {
bool Usable(const CInstance* inst) { return !inst->marked && !inst->deactivated; }

// Where instances stand on a list, remembered between queries: a place is
// trusted only when the list holds the instance there, and the whole list
// is looked at again when one is not.
class CListPlaces {
 public:
  // The place of the instance on the list; -1 when it is not on it.
  long Find(const std::vector<CInstance*>& list, CInstance* inst) {
    auto it = places_.find(inst);
    if (it != places_.end() && it->second < list.size() && list[it->second] == inst) return static_cast<long>(it->second);
    if (fresh_) return -1;
    places_.clear();
    for (size_t i = list.size(); i-- > 0;) places_[list[i]] = i;  // the first place wins
    fresh_ = true;
    return Find(list, inst);
  }
  // A new query may find the list changed.
  void Age() { fresh_ = false; }

 private:
  std::unordered_map<const CInstance*, size_t> places_;
  bool fresh_ = false;
};

// The list a target names (-3 or an object index), or null.
const std::vector<CInstance*>* TargetList(int target) {
  if (target == TARGET_ALL) return g_RunRoom ? &g_RunRoom->active : nullptr;
  CObject* obj = Object_Find(target);
  return obj ? &obj->instances_recursive : nullptr;
}

// The places of the lists queried last (rooms and objects come and go, so
// only a few are kept; the oldest gives way).
CListPlaces& PlacesOn(const std::vector<CInstance*>& list) {
  constexpr size_t KEPT = 16;
  static std::vector<std::pair<const void*, CListPlaces>> known;
  static size_t next = 0;
  auto it = std::find_if(known.begin(), known.end(), [&](const auto& k) { return k.first == &list; });
  if (it == known.end()) {
    if (known.size() < KEPT) {
      known.emplace_back(&list, CListPlaces());
      it = known.end() - 1;
    } else {
      it = known.begin() + static_cast<long>(next++ % KEPT);
      *it = {&list, CListPlaces()};
    }
  }
  it->second.Age();
  return it->second;
}

// The instances of the target's list that are in the set, in list order;
// with first, only the first of them.
std::vector<CInstance*> InListOrder(int target, const std::vector<CInstance*>& set, bool first) {
  std::vector<CInstance*> out;
  const std::vector<CInstance*>* list = TargetList(target);
  if (!list) return out;
  CListPlaces& places = PlacesOn(*list);
  std::vector<std::pair<long, CInstance*>> found;
  for (CInstance* inst : set) {
    long at = places.Find(*list, inst);
    if (at >= 0) found.emplace_back(at, inst);
  }
  std::sort(found.begin(), found.end());
  for (auto& [at, inst] : found) {
    out.push_back(inst);
    if (first) break;
  }
  return out;
}

// The usable instances of the target that pass the test and may meet the
// box, in list order (only the first with first). The grid gives every
// filed instance near the box, a superset of the target's near instances;
// the exact test and the list then decide as a walk of the list would.
template <class Test>
std::vector<CInstance*> Hits(int target, const GridBox& box, bool first, Test test) {
  std::vector<CInstance*> near;
  Grid_Candidates(box, near);
  near.erase(std::remove_if(near.begin(), near.end(), [&](CInstance* i) { return !Usable(i) || !test(i); }), near.end());
  if (near.empty()) return near;
  return InListOrder(target, near, first);
}

// The first instance of the target that passes the test; box, when given,
// holds every shape the test can accept.
template <class Test>
CInstance* FindFirst(int target, const GridBox* box, Test test) {
  if (!box || target >= INSTANCE_ID_FIRST || (target != TARGET_ALL && target < 0)) return Target_Find(target, test);
  std::vector<CInstance*> hits = Hits(target, *box, true, test);
  return hits.empty() ? nullptr : hits.front();
}

template <class Test>
CInstance* FirstHit(CInstance* self, int target, bool notme, const GridBox* box, Test test) {
  if (target == TARGET_SELF || target == TARGET_OTHER) return nullptr;
  if (notme && self && target == self->id) return nullptr;
  Grid_Flush();
  return FindFirst(target, box, [&](CInstance* inst) { return !(notme && inst == self) && test(inst); });
}

// The area of a shape between two points; null when it has none.
const GridBox* AreaOf(double x1, double y1, double x2, double y2, GridBox* box) {
  return Grid_BoxOf(x1, y1, x2, y2, box) ? box : nullptr;
}

// Whether the instance put at (x, y) meets one of the target's instances.
// The tests run no code, so the lists are walked as they stand.
template <class Accept>
CInstance* MeetsAt(CInstance* inst, float x, float y, int target, Accept accept) {
  if (target == TARGET_SELF || target == TARGET_OTHER) return nullptr;
  // Filed before the move: inst itself is never a candidate.
  Grid_Flush();
  float sx = inst->x, sy = inst->y;
  inst->SetPosition(x, y);
  // The boxes are compared here first, so that most candidates cost no call.
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  GridBox box{l, t, r, b};
  CInstance* found = FindFirst(target, &box, [&](CInstance* other) {
    if (other == inst || !accept(other)) return false;
    int l2, t2, r2, b2;
    other->GetBoundingBox(&l2, &t2, &r2, &b2);
    if (l2 > r || l > r2 || t2 > b || t > b2) return false;
    return inst->Collision_Instance(other, true);
  });
  inst->SetPosition(sx, sy);
  return found;
}

// The active instances whose precise shape holds the point, gathered before
// any of them is acted on.
std::vector<CInstance*> InstancesAt(float x, float y) {
  GridBox box;
  auto holds = [&](CInstance* inst) { return inst->Collision_Point(x, y, true); };
  Grid_Flush();
  if (Grid_BoxOf(x, y, x, y, &box)) return Hits(TARGET_ALL, box, false, holds);
  std::vector<CInstance*> out;
  Target_ForEach(TARGET_ALL, [&](CInstance* inst) {
    if (holds(inst)) out.push_back(inst);
  });
  return out;
}

bool FreeAt(CInstance* inst, float x, float y, bool all) {
  return all ? Run_PlaceEmpty(inst, x, y) : Run_PlaceFree(inst, x, y);
}

int Steps(float maxdist) { return maxdist > 0 ? Convert_RoundInt(maxdist) : 1000; }
}  // namespace

CInstance* Run_CollisionPoint(CInstance* self, float x, float y, int target, bool precise, bool notme) {
  GridBox box;
  return FirstHit(self, target, notme, AreaOf(x, y, x, y, &box),
                  [&](CInstance* i) { return i->Collision_Point(x, y, precise); });
}

CInstance* Run_CollisionRectangle(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                  bool notme) {
  GridBox box;
  return FirstHit(self, target, notme, AreaOf(x1, y1, x2, y2, &box),
                  [&](CInstance* i) { return i->Collision_Rectangle(x1, y1, x2, y2, precise); });
}

CInstance* Run_CollisionEllipse(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                bool notme) {
  GridBox box;
  return FirstHit(self, target, notme, AreaOf(x1, y1, x2, y2, &box),
                  [&](CInstance* i) { return i->Collision_Ellipse(x1, y1, x2, y2, precise); });
}

CInstance* Run_CollisionLine(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                             bool notme) {
  GridBox box;
  return FirstHit(self, target, notme, AreaOf(x1, y1, x2, y2, &box),
                  [&](CInstance* i) { return i->Collision_Line(x1, y1, x2, y2, precise); });
}

int Run_InstanceNumber(int target) {
  if (target == TARGET_SELF || target == TARGET_OTHER) return 0;
  int n = 0;
  Target_ForEach(target, [&n](CInstance*) { ++n; });
  return n;
}

CInstance* Run_InstancePosition(float x, float y, int target) { return Run_CollisionPoint(nullptr, x, y, target, true, false); }

bool Run_PositionMeeting(float x, float y, int target) { return Run_InstancePosition(x, y, target) != nullptr; }

bool Run_PlaceEmpty(CInstance* inst, float x, float y) {
  return !MeetsAt(inst, x, y, TARGET_ALL, [](CInstance*) { return true; });
}

bool Run_PlaceFree(CInstance* inst, float x, float y) {
  return !MeetsAt(inst, x, y, TARGET_ALL, [](CInstance* o) { return o->solid; });
}

CInstance* Run_PlaceMeeting(CInstance* inst, float x, float y, int target) {
  return MeetsAt(inst, x, y, target, [](CInstance*) { return true; });
}

bool Run_PlaceMeetingBool(CInstance* inst, int target, float x, float y) {
  return Run_PlaceMeeting(inst, x, y, target) != nullptr;
}

void Run_SetSprite(CInstance* inst, int sprite) {
  const CSprite* s = Sprite_Data(sprite);
  if (!s) {
    char text[96];
    std::snprintf(text, sizeof text, "Setting instance to non-existing sprite: %d", sprite);
    Error_Show_Action(text, false);
    return;
  }
  inst->SetSpriteIndex(sprite);
  if (inst->image_index >= s->numb) inst->image_index = 0;
}

static bool ChangeTargetExists(int object) {
  if (Object_Exists(object)) return true;
  char text[96];
  std::snprintf(text, sizeof text, "Asking to change into non-existing object: %d", object);
  Error_Show_Action(text, false);
  return false;
}

void Run_ChangeInstance(CInstance* inst, int object, bool perform) {
  if (!ChangeTargetExists(object)) return;
  if (perform) Event_Perform(inst, inst, EV_DESTROY, 0);
  inst->SetObject(object);
  inst->creation_serial = g_EventSerial;
  if (perform) {
    Event_Perform(inst, inst, EV_CREATE, 0);
    inst->create_performed = true;
  }
}

void Run_PositionChange(float x, float y, int object, bool perform) {
  if (!ChangeTargetExists(object)) return;
  for (CInstance* inst : InstancesAt(x, y)) Run_ChangeInstance(inst, object, perform);
}

void Run_PositionDestroy(float x, float y) {
  for (CInstance* inst : InstancesAt(x, y)) Run_DestroyInstance(inst);
}

void Run_MoveContact(CInstance* inst, float direction, float maxdist, bool all) {
  if (!FreeAt(inst, inst->x, inst->y, all)) return;
  double a = direction * M_PI / 180.0;
  float dx = static_cast<float>(std::cos(a)), dy = static_cast<float>(-std::sin(a));
  for (int n = Steps(maxdist); n > 0; n--) {
    if (!FreeAt(inst, inst->x + dx, inst->y + dy, all)) break;
    inst->SetPosition(inst->x + dx, inst->y + dy);
  }
}

void Run_MoveOutside(CInstance* inst, float direction, float maxdist, bool all) {
  double a = direction * M_PI / 180.0;
  float dx = static_cast<float>(std::cos(a)), dy = static_cast<float>(-std::sin(a));
  for (int n = Steps(maxdist); n > 0 && !FreeAt(inst, inst->x, inst->y, all); n--)
    inst->SetPosition(inst->x + dx, inst->y + dy);
}

void Run_MoveSnap(CInstance* inst, float hsnap, float vsnap) {
  float x = inst->x, y = inst->y;
  if (hsnap > 0) x = static_cast<float>(Convert_RoundInt(x / hsnap)) * hsnap;
  if (vsnap > 0) y = static_cast<float>(Convert_RoundInt(y / vsnap)) * vsnap;
  inst->SetPosition(x, y);
}

void Run_MoveTowardsPoint(CInstance* inst, float x, float y, float speed) {
  inst->SetHSpeed(x - inst->x);
  inst->SetVSpeed(y - inst->y);
  inst->SetSpeed(speed);
}

void Run_MoveWrap(CInstance* inst, bool horizontal, bool vertical, float margin) {
  if (!g_RunRoom) return;
  float x = inst->x, y = inst->y, w = static_cast<float>(g_RunRoom->width), h = static_cast<float>(g_RunRoom->height);
  if (horizontal) {
    if (x < -margin) x += w + 2 * margin;
    if (x > w + margin) x -= w + 2 * margin;
  }
  if (vertical) {
    if (y < -margin) y += h + 2 * margin;
    if (y > h + margin) y -= h + 2 * margin;
  }
  inst->SetPosition(x, y);
}

namespace {
// The squared distance, kept in single precision.
float DistanceTo(const CInstance* inst, float x, float y) {
  double dx = static_cast<double>(inst->x) - x, dy = static_cast<double>(inst->y) - y;
  return static_cast<float>(dx * dx + dy * dy);
}

// The nearest instance of the list found ring by ring outwards from the
// point; false when the rings grow too wide and the walk must decide.
bool NearestByRings(const std::vector<CInstance*>& list, float x, float y, CInstance** result) {
  // The first instance of the list stays the answer when its distance is
  // not a number (nothing compares below it); other such are never taken.
  auto first = std::find_if(list.begin(), list.end(), [](CInstance* i) { return i && Usable(i); });
  *result = nullptr;
  if (first == list.end()) return true;
  if (std::isnan(DistanceTo(*first, x, y))) {
    *result = *first;
    return true;
  }
  CListPlaces& places = PlacesOn(list);
  Grid_Flush();
  CGridRings rings(x, y);
  float best = 0;
  long best_at = -1;
  std::vector<CInstance*> met;
  // Until no later ring can hold an instance as near (or as near and
  // earlier in the list).
  while (!*result || best >= rings.Reach() * rings.Reach() * (1 - 1e-6)) {
    met.clear();
    if (!rings.Next(met)) return false;
    for (CInstance* inst : met) {
      if (!Usable(inst)) continue;
      float d = DistanceTo(inst, x, y);
      if (std::isnan(d) || (*result && d > best)) continue;
      long at = places.Find(list, inst);
      if (at < 0 || (*result && d == best && at > best_at)) continue;
      best = d, best_at = at, *result = inst;
    }
  }
  return true;
}

CInstance* Extreme(float x, float y, int target, bool nearest) {
  if (target != TARGET_ALL && (target < 0 || target >= INSTANCE_ID_FIRST)) return nullptr;
  // A short list is walked at once.
  const std::vector<CInstance*>* list = TargetList(target);
  CInstance* near = nullptr;
  if (nearest && list && list->size() > 32 && std::isfinite(x) && std::isfinite(y) &&
      NearestByRings(*list, x, y, &near))
    return near;
  // Any distance counts; on equal distances the first in list order wins.
  float best = 0;
  CInstance* found = nullptr;
  Target_ForEach(target, [&](CInstance* inst) {
    float d = DistanceTo(inst, x, y);
    if (!found || (nearest ? d < best : d > best)) {
      best = d;
      found = inst;
    }
  });
  return found;
}
}  // namespace

CInstance* Run_InstanceNearest(float x, float y, int target) { return Extreme(x, y, target, true); }
CInstance* Run_InstanceFurthest(float x, float y, int target) { return Extreme(x, y, target, false); }

void Run_Bounce(CInstance* inst, bool advanced, bool all) {
  bool put_back = false;
  if (!FreeAt(inst, inst->x, inst->y, all)) {
    inst->SetPosition(inst->xprevious, inst->yprevious);
    put_back = true;
  }
  if (!advanced) {
    float x = inst->x, y = inst->y, h = inst->hspeed, v = inst->vspeed;
    bool first = !FreeAt(inst, x + h, y, all);
    bool second = !FreeAt(inst, x, y + v, all);
    bool third = !FreeAt(inst, x + h, y + v, all);
    if (first) {
      inst->SetHSpeed(-h);
      if (second) inst->SetVSpeed(-v);
    } else if (second) {
      inst->SetVSpeed(-v);
    } else if (third) {
      inst->SetHSpeed(-h);
      inst->SetVSpeed(-v);
    }
    return;
  }
  int start = Convert_RoundInt(inst->direction / 10.0) * 10;
  bool blocked = false;
  // The first free direction on each side of the start, at most 35 away.
  auto probe = [&](int side) {
    for (int k = 0; k <= 35; k++) {
      int d = start + side * 10 * k;
      double a = d * M_PI / 180.0;
      if (FreeAt(inst, static_cast<float>(inst->x + inst->speed * std::cos(a)),
                 static_cast<float>(inst->y - inst->speed * std::sin(a)), all))
        return d;
      blocked = true;
    }
    return start + side * 360;
  };
  int upper = probe(1), lower = probe(-1);
  if (blocked || put_back) inst->SetDirection(static_cast<float>(upper + lower + 180 - start));
}
