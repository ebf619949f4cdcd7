#include "Run/Run_Place.h"

#include "Run/Run_Target.h"

namespace {
// Runs the test with the instance put at (x, y), then puts it back.
template <class Test>
auto PlacedAt(CInstance* inst, float x, float y, Test&& test) {
  float sx = inst->x, sy = inst->y;
  inst->SetPosition(x, y);
  auto result = test();
  inst->SetPosition(sx, sy);
  return result;
}

// The instance's box, for a cheap first look at each candidate: boxes that
// do not meet need no full collision test.
struct Box {
  explicit Box(CInstance* inst) { inst->GetBoundingBox(&l, &t, &r, &b); }
  bool Meets(CInstance* other) const {
    int ol, ot, or_, ob;
    other->GetBoundingBox(&ol, &ot, &or_, &ob);
    return !(ol > r || l > or_ || ot > b || t > ob);
  }
  int l, t, r, b;
};

// The first instance of the target that the instance overlaps.
CInstance* Meeting(CInstance* inst, int target, bool solid_only) {
  Box box(inst);
  return Target_Find(target, [&](CInstance* other) {
    return (!solid_only || other->solid) && box.Meets(other) && inst->Collision_Instance(other, true);
  });
}

bool Overlaps(CInstance* inst, bool solid_only) { return Meeting(inst, TARGET_ALL, solid_only) != nullptr; }

template <class Test>
CInstance* CollisionFind(CInstance* self, int target, bool notme, Test&& test) {
  if (notme && self && target == self->id) return nullptr;
  return Target_Find(target, [&](CInstance* inst) { return !(notme && inst == self) && test(inst); });
}

float SquaredDistance(const CInstance* inst, float x, float y) {
  double dx = static_cast<double>(inst->x) - x, dy = static_cast<double>(inst->y) - y;
  return static_cast<float>(dx * dx + dy * dy);
}

// The first instance whose squared distance (kept in single precision)
// beats all before it. Any distance counts: there is no search radius.
template <class Better>
CInstance* Extreme(float x, float y, int target, Better&& better) {
  if (target != TARGET_ALL && (target < 0 || target >= INSTANCE_ID_FIRST)) return nullptr;
  CInstance* best = nullptr;
  float best_d = 0;
  Target_ForEach(target, [&](CInstance* inst) {
    float d = SquaredDistance(inst, x, y);
    if (!best || better(d, best_d)) best = inst, best_d = d;
  });
  return best;
}
}  // namespace

bool Run_PlaceFree(CInstance* inst, float x, float y) {
  return PlacedAt(inst, x, y, [&] { return !Overlaps(inst, true); });
}

bool Run_PlaceEmpty(CInstance* inst, float x, float y) {
  return PlacedAt(inst, x, y, [&] { return !Overlaps(inst, false); });
}

bool Run_SpotFree(CInstance* inst, float x, float y, bool all) {
  return all ? Run_PlaceEmpty(inst, x, y) : Run_PlaceFree(inst, x, y);
}

CInstance* Run_PlaceMeeting(CInstance* inst, float x, float y, int target) {
  return PlacedAt(inst, x, y, [&] { return Meeting(inst, target, false); });
}

bool Run_PlaceMeetingBool(CInstance* inst, int target, float x, float y) {
  return Run_PlaceMeeting(inst, x, y, target) != nullptr;
}

CInstance* Run_CollisionPoint(CInstance* self, float x, float y, int target, bool precise, bool notme) {
  return CollisionFind(self, target, notme, [&](CInstance* i) { return i->Collision_Point(x, y, precise); });
}

CInstance* Run_CollisionRectangle(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                  bool notme) {
  return CollisionFind(self, target, notme,
                       [&](CInstance* i) { return i->Collision_Rectangle(x1, y1, x2, y2, precise); });
}

CInstance* Run_CollisionEllipse(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                bool notme) {
  return CollisionFind(self, target, notme,
                       [&](CInstance* i) { return i->Collision_Ellipse(x1, y1, x2, y2, precise); });
}

CInstance* Run_CollisionLine(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                             bool notme) {
  return CollisionFind(self, target, notme, [&](CInstance* i) { return i->Collision_Line(x1, y1, x2, y2, precise); });
}

CInstance* Run_InstancePosition(float x, float y, int target) {
  return Target_Find(target, [&](CInstance* i) { return i->Collision_Point(x, y, true); });
}

bool Run_PositionMeeting(float x, float y, int target) { return Run_InstancePosition(x, y, target) != nullptr; }

int Run_InstanceNumber(int target) {
  int n = 0;
  Target_ForEach(target, [&](CInstance*) { n++; });
  return n;
}

CInstance* Run_InstanceFind(int target, int n) {
  if (n < 0 || (target >= INSTANCE_ID_FIRST && n != 0)) return nullptr;
  return Target_Find(target, [&](CInstance*) { return n-- == 0; });
}

CInstance* Run_InstanceNearest(float x, float y, int target) {
  return Extreme(x, y, target, [](float d, float best) { return d < best; });
}

CInstance* Run_InstanceFurthest(float x, float y, int target) {
  return Extreme(x, y, target, [](float d, float best) { return d > best; });
}
