#include "Run/Run_Physics.h"

#include <utility>
#include <vector>

#include "Code/Code_Error.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"

namespace {
// The object's physics as a fixture in the world's metres; null or a reason.
const char* ObjectFixture(const ObjectPhysics& p, float scale, CPhysicsFixture& f) {
  const char* e = nullptr;
  if (p.shape == 0) {
    e = f.SetCircleShape(p.radius * scale);
  } else if (p.shape == 1) {
    e = f.SetBoxShape(p.width * scale, p.height * scale);
  } else {
    f.SetPolygonShape();
    for (auto& [x, y] : p.points)
      if (!f.AddPolygonPoint(x * scale, y * scale))
        return "The fixture must be a polygon shape, convex, ordered clockwise and have no more than 8 points";
  }
  if (!e) e = f.SetDensity(p.density);
  if (!e) e = f.SetMaterial(&f.restitution, p.restitution);
  if (!e) e = f.SetMaterial(&f.friction, p.friction);
  if (!e) e = f.SetDamping(&f.linear_damping, p.linear_damping);
  if (!e) e = f.SetDamping(&f.angular_damping, p.angular_damping);
  if (!e) e = f.SetCollisionGroup(p.collision_group);
  f.sensor = p.sensor, f.awake = p.awake, f.kinematic = p.kinematic;
  return e;
}

void MakeBodyIn(CPhysicsWorld* world, CInstance* inst) {
  CObject* obj = Object_Find(inst->object_index);
  if (!world || !obj || !obj->physics.enabled || inst->physics) return;
  CPhysicsFixture f;
  const char* e = ObjectFixture(obj->physics, world->scale, f);
  if (!e) e = Run_PhysicsBind(world, f, inst);
  if (e) Error_Show_Action(e, false);
}

// The collision events (object with the event, other object) by object.
std::vector<std::vector<int>> CollisionTargets() {
  std::vector<std::vector<int>> by(Object_Count());
  for (auto& [self, other] : Object_CollisionPairs())
    if (self >= 0 && self < static_cast<int>(by.size())) by[self].push_back(other);
  return by;
}

bool IsOrDescends(const CInstance* inst, int object) {
  if (inst->object_index == object) return true;
  CObject* obj = Object_Find(inst->object_index);
  return obj && obj->HasAncestor(object);
}
}  // namespace

void Run_PhysicsRoomStart(CRoom* room) {
  const RoomPhysicsDef& def = room->physics_def;
  if (!def.enabled || room->physics) return;
  if (!CPhysicsWorld::ScaleValid(def.scale)) {
    Error_Show_Action("The physics world's scale must be a finite number above 0", false);
    return;
  }
  room->physics = new CPhysicsWorld(def.scale, room->speed);
  if (const char* e = room->physics->SetGravity(def.gravity_x, def.gravity_y)) Error_Show_Action(e, false);
}

void Run_PhysicsMakeBody(CInstance* inst) {
  if (g_RunRoom) MakeBodyIn(g_RunRoom->physics, inst);
}

const char* Run_PhysicsBind(CPhysicsWorld* world, const CPhysicsFixture& fixture, CInstance* inst) {
  const char* e = world->CreateBody(fixture, inst, &inst->physics, inst->x, inst->y, inst->image_angle);
  if (!e && inst->deactivated) inst->physics->SetEnabled(false);
  return e;
}

bool Run_PhysicsActive() { return g_RunRoom && g_RunRoom->physics && !g_RunRoom->physics->paused; }

void Run_PhysicsStep() {
  if (!Run_PhysicsActive()) return;
  CPhysicsWorld* world = g_RunRoom->physics;
  int speed = g_RunRoom->speed > 0 ? g_RunRoom->speed : 1;
  // A kinematic body goes where its instance's speed takes it.
  for (CInstance* inst : g_RunRoom->active)
    if (inst->physics && !inst->marked) inst->physics->MoveKinematic(inst->hspeed, inst->vspeed, speed);
  world->Step(1.0 / speed);
  for (CInstance* inst : g_RunRoom->active) {
    if (!inst->physics || inst->marked) continue;
    inst->SetPosition(inst->physics->RoomX(), inst->physics->RoomY());
    inst->SetImageAngle(inst->physics->RoomAngle());
  }
}

void Run_PhysicsCollisions() {
  if (!Run_PhysicsActive() || Object_CollisionPairs().empty()) return;
  auto targets = CollisionTargets();
  uint64_t serial = Event_NextPass();
  // Taken first: an event may disable bodies, which ends their contacts.
  auto pairs = g_RunRoom->physics->TouchingPairs();
  for (auto& [a, b] : pairs) {
    for (auto [self, other] : {std::make_pair(a, b), std::make_pair(b, a)}) {
      if (self->object_index < 0 || self->object_index >= static_cast<int>(targets.size())) continue;
      for (int target : targets[self->object_index]) {
        if (self->marked || other->marked || self->deactivated || other->deactivated) break;
        if (self->creation_serial >= serial || other->creation_serial >= serial) break;
        if (!IsOrDescends(other, target)) continue;
        Event_PerformObject(self, other, self->object_index, EV_COLLISION, target);
        if (g_PendingTransition != TRANSITION_NONE) return;
      }
    }
  }
}

void Run_PhysicsAfterLoad() {
  for (int r = 0; r < Room_Count(); r++) {
    CRoom* room = Room_Running(r);
    if (!room) continue;
    Run_PhysicsRoomStart(room);
    for (auto* list : {&room->active, &room->deactivated})
      for (CInstance* inst : *list) MakeBodyIn(room->physics, inst);
  }
}
