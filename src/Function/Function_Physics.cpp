// The physics built-ins: the current room's world, fixtures bound to
// instances as bodies, forces, joints, overlap tests and debug drawing. Ids,
// codes, counts and flags are rounded (halves to even); lengths and positions
// in room pixels are multiplied by the world's scale; angles in degrees become
// radians with pi as a single. Every failure is a non-fatal script error.
#include <cstdio>

#include <box2d/b2_math.h>

#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_Joint.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Physics.h"
#include "Run/Run_Services.h"

namespace {
const char* const NO_ROOM = "No room is available to create a physics world for";
const char* const NO_WORLD = "The current room does not have a physics world representation";
const char* const NO_FIXTURE = "The physics fixture does not exist";
const char* const NO_BODY = "The instance does not have an associated physics representation";
const char* const NO_JOINT = "A joint does not exist";
const char* const BAD_POLYGON =
    "The fixture must be a polygon shape, convex, ordered clockwise and have no more than 8 points";

int I(const RValue& v) { return RValue_RoundInt(v); }
float F(const RValue& v) { return RValue_Single(v); }
// A flag rounded first, true above 0.5.
bool RoundedFlag(const RValue& v) { return I(v) > 0.5; }
float Radians(const RValue& v) { return F(v) * 3.1415927f / 180.0f; }

// Reports a failure; false when there was one.
bool Check(const char* error) {
  if (error) Error_Show_Action(error, false);
  return !error;
}

CPhysicsWorld* World() { return g_RunRoom ? g_RunRoom->physics : nullptr; }

// The current room's world, or null after reporting that there is none.
CPhysicsWorld* NeedWorld(const char* message = NO_WORLD) {
  CPhysicsWorld* w = World();
  if (!w) Check(message);
  return w;
}

CPhysicsFixture* NeedFixture(const RValue& id) {
  CPhysicsFixture* f = PhysicsFixture_Find(I(id));
  if (!f) Check(NO_FIXTURE);
  return f;
}

CPhysicsJoint* NeedJoint(const RValue& id) {
  CPhysicsJoint* j = PhysicsJoint_Find(I(id));
  if (!j) Check(NO_JOINT);
  return j;
}

// Self's body, or null after reporting that it has none.
CPhysicsObject* NeedBody(CInstance* self) {
  CPhysicsObject* body = self ? self->physics : nullptr;
  if (!body) Check(NO_BODY);
  return body;
}

// Calls visit on the instances a bind or overlap target names: -3 the room's
// active list, an instance id (false when none), another value an object's
// instances; marked instances are skipped. visit returns true to stop.
template <class Visit>
bool ForTarget(int target, Visit&& visit) {
  if (target == TARGET_ALL) {
    if (!g_RunRoom) return true;
    std::vector<CInstance*> list = g_RunRoom->active;
    for (CInstance* inst : list)
      if (!inst->marked && visit(inst)) break;
  } else if (target >= INSTANCE_ID_FIRST) {
    CInstance* inst = CInstance_Find(target);
    if (!inst) return false;
    visit(inst);
  } else if (CObject* obj = Object_Find(target)) {
    std::vector<CInstance*> list = obj->instances_recursive;
    for (CInstance* inst : list)
      if (!inst->marked && visit(inst)) break;
  }
  return true;
}

// ---- World ----

void F_PhysicsWorldCreate(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (!g_RunRoom) return void(Check(NO_ROOM));
  float scale = F(arg[0]);
  if (!CPhysicsWorld::ScaleValid(scale)) return void(Check("The physics world's scale must be a finite number above 0"));
  if (CPhysicsWorld* w = g_RunRoom->physics) {
    w->scale = scale;
    w->update_speed = g_RunRoom->speed;
  } else {
    g_RunRoom->physics = new CPhysicsWorld(scale, g_RunRoom->speed);
  }
}

void F_PhysicsWorldGravity(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (!g_RunRoom) return void(Check(NO_ROOM));
  if (CPhysicsWorld* w = NeedWorld()) Check(w->SetGravity(F(arg[0]), F(arg[1])));
}

// Values of 0 or less would stop the world or make Box2D divide by zero.
void F_PhysicsWorldUpdateSpeed(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsWorld* w = NeedWorld(); w && I(arg[0]) > 0) w->update_speed = I(arg[0]);
}

void F_PhysicsWorldUpdateIterations(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsWorld* w = NeedWorld(); w && I(arg[0]) > 0) w->iterations = I(arg[0]);
}

void F_PhysicsWorldDrawDebug(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsWorld* w = NeedWorld()) w->DrawDebug(Convert_RoundInt64(RValue_Real(arg[0])));
}

void F_PhysicsPauseEnable(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsWorld* w = NeedWorld("physics_pause_enable() The current room does not have a physics world representation"))
    w->paused = RValue_IsTrueAbove(arg[0]);
}

// ---- Fixtures ----

void F_PhysicsFixtureCreate(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, PhysicsFixture_Create()->id);
}

void F_PhysicsFixtureSetKinematic(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) f->kinematic = true;
}

void F_PhysicsFixtureSetAwake(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) f->awake = RValue_IsTrueAbove(arg[1]);
}

void F_PhysicsFixtureSetCircleShape(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CPhysicsFixture* f = NeedFixture(arg[0]);
  CPhysicsWorld* w = f ? NeedWorld() : nullptr;
  if (w) Check(f->SetCircleShape(F(arg[1]) * w->scale));
}

void F_PhysicsFixtureSetBoxShape(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CPhysicsFixture* f = NeedFixture(arg[0]);
  CPhysicsWorld* w = f ? NeedWorld() : nullptr;
  if (w) Check(f->SetBoxShape(F(arg[1]) * w->scale, F(arg[2]) * w->scale));
}

void F_PhysicsFixtureSetPolygonShape(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) f->SetPolygonShape();
}

void F_PhysicsFixtureAddPoint(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CPhysicsFixture* f = NeedFixture(arg[0]);
  CPhysicsWorld* w = f ? NeedWorld() : nullptr;
  if (w && !f->AddPolygonPoint(F(arg[1]) * w->scale, F(arg[2]) * w->scale)) Check(BAD_POLYGON);
}

void F_PhysicsFixtureSetDensity(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetDensity(F(arg[1])));
}

void F_PhysicsFixtureSetRestitution(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetMaterial(&f->restitution, F(arg[1])));
}

void F_PhysicsFixtureSetFriction(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetMaterial(&f->friction, F(arg[1])));
}

void F_PhysicsFixtureSetCollisionGroup(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetCollisionGroup(I(arg[1])));
}

void F_PhysicsFixtureSetSensor(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) f->sensor = RValue_IsTrueAbove(arg[1]);
}

void F_PhysicsFixtureSetLinearDamping(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetDamping(&f->linear_damping, F(arg[1])));
}

void F_PhysicsFixtureSetAngularDamping(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsFixture* f = NeedFixture(arg[0])) Check(f->SetDamping(&f->angular_damping, F(arg[1])));
}

void F_PhysicsFixtureBind(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  CPhysicsFixture* f = NeedFixture(arg[0]);
  CPhysicsWorld* w = f ? NeedWorld("Cannot bind a fixture if no physics world exists for the current room") : nullptr;
  if (!w) return;
  int target = I(arg[1]);
  if (target == TARGET_SELF) {
    if (!self) return;
    target = self->id;
  }
  // The first instance that cannot take the fixture stops the binding.
  if (!ForTarget(target, [&](CInstance* inst) { return !Check(Run_PhysicsBind(w, *f, inst)); }))
    Check("  is not valid.");
}

void F_PhysicsFixtureDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) { PhysicsFixture_Delete(I(arg[0])); }

// ---- Bodies ----

void F_PhysicsMassProperties(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  CPhysicsObject* body = NeedBody(self);
  CPhysicsWorld* w = body ? NeedWorld() : nullptr;
  if (w) Check(body->SetMassProperties(F(arg[0]), F(arg[1]) * w->scale, F(arg[2]) * w->scale, F(arg[3])));
}

void F_PhysicsApplyTorque(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  if (CPhysicsObject* body = NeedBody(self)) Check(body->ApplyTorque(F(arg[0])));
}

using Push = const char* (CPhysicsObject::*)(float, float, float, float);
template <Push push>
void F_PhysicsApply(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  CPhysicsObject* body = NeedBody(self);
  CPhysicsWorld* w = body ? NeedWorld() : nullptr;
  if (w) Check((body->*push)(F(arg[0]) * w->scale, F(arg[1]) * w->scale, F(arg[2]), F(arg[3])));
}

void F_PhysicsDrawDebug(RValue&, CInstance* self, CInstance*, int, const RValue*) {
  CPhysicsWorld* w = NeedWorld();
  if (w && self && self->physics) self->physics->DrawDebug(1.0f / w->scale);
}

void F_PhysicsTestOverlap(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  CPhysicsObject* body = NeedBody(self);
  CPhysicsWorld* w = body ? NeedWorld() : nullptr;
  if (!w) return;
  float x = F(arg[0]) * w->scale, y = F(arg[1]) * w->scale, angle = Radians(arg[2]);
  int target = I(arg[3]);
  if (target == TARGET_SELF) target = self->id;
  bool hit = false;
  bool found = ForTarget(target, [&](CInstance* inst) {
    hit = inst->physics && w->TestOverlap(body, inst->physics, x, y, angle);
    return hit;
  });
  if (!found) Check("physics_test_overlap:   is not valid.");
  RValue_SetReal(&Result, hit ? 1 : 0);
}

// ---- Joints ----

void F_PhysicsJointEnableMotor(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsJoint* j = NeedJoint(arg[0])) j->EnableMotor(RoundedFlag(arg[1]));
}

void F_PhysicsJointGetValue(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsJoint* j = NeedJoint(arg[0])) RValue_SetReal(&Result, j->GetValue(I(arg[1])));
}

void F_PhysicsJointSetValue(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsJoint* j = NeedJoint(arg[0])) Check(j->SetValue(I(arg[1]), RValue_Real(arg[2])));
}

void F_PhysicsJointDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPhysicsWorld* w = NeedWorld()) w->DeleteJoint(I(arg[0]));
}

// The two instances a joint joins, both with bodies, in the current world;
// false after the report when not.
bool JointBodies(const char* name, CInstance* self, CInstance* other, const RValue* arg, CPhysicsObject** a,
                 CPhysicsObject** b) {
  CInstance* found[2] = {};
  for (int i = 0; i < 2; i++) {
    int n = I(arg[i]);
    if (n == TARGET_SELF) found[i] = self;
    else if (n == TARGET_OTHER) found[i] = other;
    else if (n >= INSTANCE_ID_FIRST) found[i] = CInstance_Find(n);
    else if (n >= 0) ForTarget(n, [&](CInstance* inst) { return (found[i] = inst) != nullptr; });  // an object
    if (!found[i]) {
      char text[256];
      std::snprintf(text, sizeof text, "Unable to find instance: %d", n);
      return Check(text);
    }
  }
  *a = found[0]->physics, *b = found[1]->physics;
  if (*a && *b && World()) return true;
  if (!World()) return Check(NO_WORLD);
  char text[256];
  std::snprintf(text, sizeof text, "%s: An instance does not have an associated physics representation", name);
  return Check(text);
}

// Makes a joint between the first two arguments' bodies: the result is -1,
// or the new joint's id; make(world, a, b, scale, error) returns the id.
template <class Make>
void CreateJoint(RValue& Result, const char* name, CInstance* self, CInstance* other, const RValue* arg, Make make) {
  RValue_SetReal(&Result, -1);
  CPhysicsObject *a, *b;
  if (!JointBodies(name, self, other, arg, &a, &b)) return;
  const char* error = nullptr;
  int id = make(World(), a, b, World()->scale, &error);
  if (id >= 0) RValue_SetReal(&Result, id);
  Check(error);
}

void F_PhysicsJointDistanceCreate(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CreateJoint(Result, "physics_joint_distance_create", self, other, arg, [&](auto* w, auto* a, auto* b, float s, auto e) {
    return w->CreateDistanceJoint(a, b, F(arg[2]) * s, F(arg[3]) * s, F(arg[4]) * s, F(arg[5]) * s,
                                  RoundedFlag(arg[6]), e);
  });
}

void F_PhysicsJointRevoluteCreate(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CreateJoint(Result, "physics_joint_revolute_create", self, other, arg, [&](auto* w, auto* a, auto* b, float s, auto e) {
    return w->CreateRevoluteJoint(a, b, F(arg[2]) * s, F(arg[3]) * s, Radians(arg[4]), Radians(arg[5]),
                                  RoundedFlag(arg[6]), F(arg[7]), F(arg[8]), RoundedFlag(arg[9]), RoundedFlag(arg[10]),
                                  e);
  });
}

void F_PhysicsJointPrismaticCreate(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CreateJoint(Result, "physics_joint_prismatic_create", self, other, arg, [&](auto* w, auto* a, auto* b, float s, auto e) {
    return w->CreatePrismaticJoint(a, b, F(arg[2]) * s, F(arg[3]) * s, F(arg[4]), F(arg[5]), F(arg[6]) * s,
                                   F(arg[7]) * s, RoundedFlag(arg[8]), F(arg[9]), F(arg[10]), RoundedFlag(arg[11]),
                                   RoundedFlag(arg[12]), e);
  });
}

void F_PhysicsJointPulleyCreate(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CreateJoint(Result, "physics_joint_pulley_create", self, other, arg, [&](auto* w, auto* a, auto* b, float s, auto e) {
    const b2Vec2 ground[2] = {{F(arg[2]) * s, F(arg[3]) * s}, {F(arg[4]) * s, F(arg[5]) * s}};
    const b2Vec2 local[2] = {{F(arg[6]) * s, F(arg[7]) * s}, {F(arg[8]) * s, F(arg[9]) * s}};
    return w->CreatePulleyJoint(a, b, ground, local, F(arg[10]), F(arg[11]) * s, F(arg[12]) * s, RoundedFlag(arg[13]),
                                e);
  });
}

// The gear's result stays -1 even when it is made.
void F_PhysicsJointGearCreate(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CreateJoint(Result, "physics_joint_gear_create", self, other, arg, [&](auto* w, auto* a, auto* b, float, auto e) {
    CPhysicsJoint* j1 = NeedJoint(arg[2]);
    CPhysicsJoint* j2 = j1 ? NeedJoint(arg[3]) : nullptr;
    if (j2) w->CreateGearJoint(a, b, j1, j2, F(arg[4]), e);
    return -1;
  });
}
}  // namespace

void Function_Physics_Init() {
  Function_Add("physics_world_create", F_PhysicsWorldCreate, 1);
  Function_Add("physics_world_gravity", F_PhysicsWorldGravity, 2);
  Function_Add("physics_world_update_speed", F_PhysicsWorldUpdateSpeed, 1);
  Function_Add("physics_world_update_iterations", F_PhysicsWorldUpdateIterations, 1);
  Function_Add("physics_world_draw_debug", F_PhysicsWorldDrawDebug, 1);
  Function_Add("physics_pause_enable", F_PhysicsPauseEnable, 1);
  Function_Add("physics_fixture_create", F_PhysicsFixtureCreate, 0);
  Function_Add("physics_fixture_set_kinematic", F_PhysicsFixtureSetKinematic, 1);
  Function_Add("physics_fixture_set_awake", F_PhysicsFixtureSetAwake, 2);
  Function_Add("physics_fixture_set_circle_shape", F_PhysicsFixtureSetCircleShape, 2);
  Function_Add("physics_fixture_set_box_shape", F_PhysicsFixtureSetBoxShape, 3);
  Function_Add("physics_fixture_set_polygon_shape", F_PhysicsFixtureSetPolygonShape, 1);
  Function_Add("physics_fixture_add_point", F_PhysicsFixtureAddPoint, 3);
  Function_Add("physics_fixture_set_density", F_PhysicsFixtureSetDensity, 2);
  Function_Add("physics_fixture_set_restitution", F_PhysicsFixtureSetRestitution, 2);
  Function_Add("physics_fixture_set_friction", F_PhysicsFixtureSetFriction, 2);
  Function_Add("physics_fixture_set_collision_group", F_PhysicsFixtureSetCollisionGroup, 2);
  Function_Add("physics_fixture_set_sensor", F_PhysicsFixtureSetSensor, 2);
  Function_Add("physics_fixture_set_linear_damping", F_PhysicsFixtureSetLinearDamping, 2);
  Function_Add("physics_fixture_set_angular_damping", F_PhysicsFixtureSetAngularDamping, 2);
  Function_Add("physics_fixture_bind", F_PhysicsFixtureBind, 2);
  Function_Add("physics_fixture_delete", F_PhysicsFixtureDelete, 1);
  Function_Add("physics_mass_properties", F_PhysicsMassProperties, 4);
  Function_Add("physics_apply_torque", F_PhysicsApplyTorque, 1);
  Function_Add("physics_apply_force", F_PhysicsApply<&CPhysicsObject::ApplyForce>, 4);
  Function_Add("physics_apply_impulse", F_PhysicsApply<&CPhysicsObject::ApplyImpulse>, 4);
  Function_Add("physics_apply_local_force", F_PhysicsApply<&CPhysicsObject::ApplyLocalForce>, 4);
  Function_Add("physics_apply_local_impulse", F_PhysicsApply<&CPhysicsObject::ApplyLocalImpulse>, 4);
  Function_Add("physics_draw_debug", F_PhysicsDrawDebug, 0);
  Function_Add("physics_test_overlap", F_PhysicsTestOverlap, 4);
  Function_Add("physics_joint_distance_create", F_PhysicsJointDistanceCreate, 7);
  Function_Add("physics_joint_revolute_create", F_PhysicsJointRevoluteCreate, 11);
  Function_Add("physics_joint_prismatic_create", F_PhysicsJointPrismaticCreate, 13);
  Function_Add("physics_joint_pulley_create", F_PhysicsJointPulleyCreate, 14);
  Function_Add("physics_joint_gear_create", F_PhysicsJointGearCreate, 5);
  Function_Add("physics_joint_enable_motor", F_PhysicsJointEnableMotor, 2);
  Function_Add("physics_joint_get_value", F_PhysicsJointGetValue, 2);
  Function_Add("physics_joint_set_value", F_PhysicsJointSetValue, 3);
  Function_Add("physics_joint_delete", F_PhysicsJointDelete, 1);
}
