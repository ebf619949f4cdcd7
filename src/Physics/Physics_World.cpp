#include "Physics/Physics_World.h"

#include <algorithm>
#include <set>

#include <box2d/b2_circle_shape.h>
#include <box2d/b2_collision.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_distance_joint.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_gear_joint.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_prismatic_joint.h>
#include <box2d/b2_pulley_joint.h>
#include <box2d/b2_revolute_joint.h>

#include "Base/Console.h"
#include "Physics/Physics_Check.h"
#include "Physics/Physics_Draw.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_Joint.h"
#include "Physics/Physics_Object.h"

namespace {
constexpr float PI_SINGLE = 3.1415927f;
// The shortest length a pulley side keeps, as the older pulley joint had it.
constexpr float MIN_PULLEY_LENGTH = 2.0f;

bool FinitePoint(const b2Vec2& p) { return Physics_Finite(p.x, p.y); }

// A distance joint that holds the two points no further apart than `length`.
b2Joint* MakeRope(b2World& world, b2Body* a, b2Vec2 localA, b2Body* b, b2Vec2 localB, float length) {
  b2DistanceJointDef d;
  d.bodyA = a, d.bodyB = b;
  d.localAnchorA = localA, d.localAnchorB = localB;
  d.minLength = 0;
  d.length = d.maxLength = std::max(length, b2_linearSlop);
  d.stiffness = 0, d.damping = 0;
  return world.CreateJoint(&d);
}
}  // namespace

CPhysicsWorld::CPhysicsWorld(float s, int speed) : scale(s), update_speed(speed > 0 ? speed : 30), m_world(b2Vec2(0, 10)) {}

CPhysicsWorld::~CPhysicsWorld() {
  for (CPhysicsJoint* j : PhysicsJoint_OfWorld(this)) PhysicsJoint_Remove(j);
  // The bodies go with the Box2D world; their owners lose them now.
  std::vector<CPhysicsObject*> objects;
  objects.swap(m_objects);
  for (CPhysicsObject* o : objects) {
    *o->m_slot = nullptr;
    o->m_worldGone = true;
    delete o;
  }
}

bool CPhysicsWorld::ScaleValid(float s) { return Physics_Finite(s) && s >= 1e-6f; }

const char* CPhysicsWorld::SetGravity(float x, float y) {
  if (!Physics_Finite(x, y)) return PHYSICS_NOT_FINITE;
  m_world.SetGravity(b2Vec2(x, y));
  return nullptr;
}

void CPhysicsWorld::DrawDebug(int64_t flags) {
  if (Busy() || !ScaleValid(scale)) return;
  CPhysicsDraw draw(1.0f / scale);
  uint32 bits = 0;
  if (flags & PHYSICS_DRAW_SHAPES) bits |= b2Draw::e_shapeBit;
  if (flags & PHYSICS_DRAW_JOINTS) bits |= b2Draw::e_jointBit;
  if (flags & PHYSICS_DRAW_BOXES) bits |= b2Draw::e_aabbBit;
  if (flags & PHYSICS_DRAW_CENTRES) bits |= b2Draw::e_centerOfMassBit;
  draw.SetFlags(bits);
  m_world.SetDebugDraw(&draw);
  m_world.DebugDraw();
  m_world.SetDebugDraw(nullptr);
}

const char* CPhysicsWorld::CreateBody(const CPhysicsFixture& f, CInstance* owner, CPhysicsObject** slot, float x,
                                      float y, float angle) {
  if (Busy()) return PHYSICS_WORLD_BUSY;
  if (const char* e = f.CheckShape()) return e;
  float px = x * scale, py = y * scale, turn = -angle * PI_SINGLE / 180.0f;
  if (!Physics_Finite(px, py, turn)) return PHYSICS_NOT_FINITE;

  b2CircleShape circle;
  b2PolygonShape polygon;
  b2Shape* shape = &polygon;
  if (f.shape == PHYSICS_SHAPE_CIRCLE) {
    circle.m_radius = f.radius;
    shape = &circle;
  } else if (f.shape == PHYSICS_SHAPE_BOX) {
    polygon.SetAsBox(f.half_width, f.half_height);
  } else {
    polygon.Set(f.points.data(), static_cast<int32>(f.points.size()));
  }

  // A body in another world (a persistent instance that changed rooms) goes.
  if (*slot && (*slot)->World() != this) delete *slot;
  b2Body* body = *slot ? (*slot)->Body() : nullptr;
  b2BodyType type = f.density == 0 ? b2_staticBody : f.kinematic ? b2_kinematicBody : b2_dynamicBody;
  if (body) type = body->GetType();
  if (type == b2_dynamicBody && !Physics_MassAcceptable(body, shape, f.density)) return PHYSICS_BAD_MASS;

  if (!body) {
    b2BodyDef def;
    def.type = type;
    def.position.Set(px, py);
    def.angle = turn;
    def.linearDamping = f.linear_damping;
    def.angularDamping = f.angular_damping;
    def.awake = f.awake;
    body = m_world.CreateBody(&def);
    *slot = new CPhysicsObject(this, body, owner, slot);
  }
  b2FixtureDef fd;
  fd.shape = shape;
  fd.density = f.density;
  fd.friction = f.friction;
  fd.restitution = f.restitution;
  fd.isSensor = f.sensor;
  fd.filter.groupIndex = static_cast<int16>(f.collision_group);
  body->CreateFixture(&fd);
  return nullptr;
}

bool CPhysicsWorld::TestOverlap(CPhysicsObject* self, CPhysicsObject* other, float x, float y, float angle) {
  if (!self || !other || self->World() != this || other->World() != this || !Physics_Finite(x, y, angle)) return false;
  b2Transform placed(b2Vec2(x, y), b2Rot(-angle));
  const b2Transform& there = other->Body()->GetTransform();
  for (b2Fixture* a = self->Body()->GetFixtureList(); a; a = a->GetNext())
    for (b2Fixture* b = other->Body()->GetFixtureList(); b; b = b->GetNext())
      if (b2TestOverlap(a->GetShape(), 0, b->GetShape(), 0, placed, there)) return true;
  return false;
}

const char* CPhysicsWorld::CheckPair(CPhysicsObject* a, CPhysicsObject* b) const {
  if (Busy()) return PHYSICS_WORLD_BUSY;
  if (!a || !b || a->World() != this || b->World() != this)
    return "The instance does not have an associated physics representation";
  if (a == b) return "A joint cannot join an instance to itself";
  return nullptr;
}

int CPhysicsWorld::AddJoint(b2Joint* joint, const char** error) {
  if (!joint) {
    *error = PHYSICS_WORLD_BUSY;
    return -1;
  }
  CPhysicsJoint* rec = PhysicsJoint_Add(this, joint);
  return rec->id;
}

int CPhysicsWorld::CreateDistanceJoint(CPhysicsObject* a, CPhysicsObject* b, float ax, float ay, float bx, float by,
                                       bool collide, const char** error) {
  if ((*error = CheckPair(a, b))) return -1;
  if (!Physics_Finite(ax, ay, bx, by)) return *error = PHYSICS_NOT_FINITE, -1;
  b2Vec2 pa(ax, ay), pb(bx, by);
  b2DistanceJointDef d;
  d.bodyA = a->Body(), d.bodyB = b->Body();
  d.localAnchorA = d.bodyA->GetLocalPoint(pa);
  d.localAnchorB = d.bodyB->GetLocalPoint(pb);
  d.length = d.minLength = d.maxLength = std::max(b2Distance(pa, pb), b2_linearSlop);
  d.stiffness = 0, d.damping = 0;
  d.collideConnected = collide;
  return AddJoint(m_world.CreateJoint(&d), error);
}

int CPhysicsWorld::CreateRevoluteJoint(CPhysicsObject* a, CPhysicsObject* b, float x, float y, float lower,
                                       float upper, bool limit, float max_torque, float speed, bool motor,
                                       bool collide, const char** error) {
  if ((*error = CheckPair(a, b))) return -1;
  if (!Physics_Finite(x, y, lower, upper) || !Physics_Finite(max_torque, speed)) return *error = PHYSICS_NOT_FINITE, -1;
  if (lower > upper) return *error = "The lower limit of a joint cannot lie above its upper limit", -1;
  b2RevoluteJointDef d;
  d.Initialize(a->Body(), b->Body(), b2Vec2(x, y));
  d.lowerAngle = lower, d.upperAngle = upper, d.enableLimit = limit;
  d.maxMotorTorque = max_torque, d.motorSpeed = speed, d.enableMotor = motor;
  d.collideConnected = collide;
  return AddJoint(m_world.CreateJoint(&d), error);
}

int CPhysicsWorld::CreatePrismaticJoint(CPhysicsObject* a, CPhysicsObject* b, float x, float y, float axis_x,
                                        float axis_y, float lower, float upper, bool limit, float max_force,
                                        float speed, bool motor, bool collide, const char** error) {
  if ((*error = CheckPair(a, b))) return -1;
  if (!Physics_Finite(x, y, axis_x, axis_y) || !Physics_Finite(lower, upper, max_force, speed))
    return *error = PHYSICS_NOT_FINITE, -1;
  b2Vec2 axis(axis_x, axis_y);
  if (!(axis.Length() > b2_epsilon)) return *error = "The axis of a prismatic joint cannot be (0, 0)", -1;
  if (lower > upper) return *error = "The lower limit of a joint cannot lie above its upper limit", -1;
  b2PrismaticJointDef d;
  d.Initialize(a->Body(), b->Body(), b2Vec2(x, y), axis);
  d.lowerTranslation = lower, d.upperTranslation = upper, d.enableLimit = limit;
  d.maxMotorForce = max_force, d.motorSpeed = speed, d.enableMotor = motor;
  d.collideConnected = collide;
  return AddJoint(m_world.CreateJoint(&d), error);
}

int CPhysicsWorld::CreatePulleyJoint(CPhysicsObject* a, CPhysicsObject* b, const b2Vec2 ground[2],
                                     const b2Vec2 local[2], float ratio, float max1, float max2, bool collide,
                                     const char** error) {
  if ((*error = CheckPair(a, b))) return -1;
  for (int i = 0; i < 2; i++)
    if (!FinitePoint(ground[i]) || !FinitePoint(local[i])) return *error = PHYSICS_NOT_FINITE, -1;
  if (!Physics_Finite(ratio, max1, max2)) return *error = PHYSICS_NOT_FINITE, -1;
  if (!(ratio > 0)) return *error = "The ratio of a pulley joint must be above 0", -1;
  b2PulleyJointDef d;
  d.bodyA = a->Body(), d.bodyB = b->Body();
  d.groundAnchorA = ground[0], d.groundAnchorB = ground[1];
  d.localAnchorA = local[0], d.localAnchorB = local[1];
  d.lengthA = b2Distance(d.bodyA->GetWorldPoint(local[0]), ground[0]);
  d.lengthB = b2Distance(d.bodyB->GetWorldPoint(local[1]), ground[1]);
  d.ratio = ratio;
  d.collideConnected = collide;
  float constant = d.lengthA + ratio * d.lengthB;
  if (!Physics_Finite(constant)) return *error = PHYSICS_NOT_FINITE, -1;
  int id = AddJoint(m_world.CreateJoint(&d), error);
  if (id < 0) return -1;
  // Each side is held to its maximum by a rope from the ground anchor.
  CPhysicsJoint* rec = PhysicsJoint_Find(id);
  float limit1 = std::min(max1, constant - ratio * MIN_PULLEY_LENGTH);
  float limit2 = std::min(max2, (constant - MIN_PULLEY_LENGTH) / ratio);
  rec->limits[0] = MakeRope(m_world, Ground(), ground[0], d.bodyA, local[0], limit1);
  rec->limits[1] = MakeRope(m_world, Ground(), ground[1], d.bodyB, local[1], limit2);
  for (b2Joint* l : rec->limits) l->GetUserData().pointer = reinterpret_cast<uintptr_t>(rec);
  return id;
}

int CPhysicsWorld::CreateGearJoint(CPhysicsObject* a, CPhysicsObject* b, CPhysicsJoint* j1, CPhysicsJoint* j2,
                                   float ratio, const char** error) {
  if ((*error = CheckPair(a, b))) return -1;
  if (!j1 || !j2 || j1->world != this || j2->world != this) return *error = "A joint does not exist", -1;
  auto geared = [](CPhysicsJoint* j) { return j->Kind() == e_revoluteJoint || j->Kind() == e_prismaticJoint; };
  if (!geared(j1) || !geared(j2)) return *error = "A gear joint needs two revolute or prismatic joints", -1;
  if (!Physics_Finite(ratio)) return *error = PHYSICS_NOT_FINITE, -1;
  b2GearJointDef d;
  d.bodyA = a->Body(), d.bodyB = b->Body();
  d.joint1 = j1->joint, d.joint2 = j2->joint;
  d.ratio = ratio;
  return AddJoint(m_world.CreateJoint(&d), error);
}

bool CPhysicsWorld::DeleteJoint(int id) {
  CPhysicsJoint* j = PhysicsJoint_Find(id);
  if (!j || j->world != this || Busy()) return false;
  // A gear keeps pointers to its two joints: it goes before either does.
  if (j->Kind() == e_revoluteJoint || j->Kind() == e_prismaticJoint) {
    for (CPhysicsJoint* g : PhysicsJoint_OfWorld(this)) {
      if (g->Kind() != e_gearJoint) continue;
      auto* gear = static_cast<b2GearJoint*>(g->joint);
      if (gear->GetJoint1() == j->joint || gear->GetJoint2() == j->joint) DeleteJoint(g->id);
    }
  }
  for (b2Joint* l : j->limits)
    if (l) m_world.DestroyJoint(l);
  m_world.DestroyJoint(j->joint);
  PhysicsJoint_Remove(j);
  return true;
}

void CPhysicsWorld::DeleteJointsOf(b2Body* body) {
  while (b2JointEdge* edge = body->GetJointList()) {
    auto* rec = reinterpret_cast<CPhysicsJoint*>(edge->joint->GetUserData().pointer);
    if (!rec || !DeleteJoint(rec->id)) {
      m_world.DestroyJoint(edge->joint);  // not one of ours: cannot happen, but never loop
    }
  }
}

b2Body* CPhysicsWorld::Ground() {
  if (!m_ground) {
    b2BodyDef def;
    m_ground = m_world.CreateBody(&def);
  }
  return m_ground;
}

void CPhysicsWorld::Step(double seconds) {
  if (Busy() || update_speed <= 0 || !(seconds > 0)) return;
  double dt = 1.0 / update_speed;
  int its = std::clamp(iterations, 1, PHYSICS_MAX_ITERATIONS);
  if (iterations > PHYSICS_MAX_ITERATIONS && iterations != m_told_iterations) {
    m_told_iterations = iterations;
    Console_Printf("Physics: %d iterations a sub-step asked for, %d solved\n", iterations, PHYSICS_MAX_ITERATIONS);
  }
  m_carry += seconds;
  int steps = 0;
  // A small tolerance: 30 steps of 1/30 s make one second, not 29.
  while (m_carry >= dt - 1e-9 && steps < PHYSICS_MAX_SUBSTEPS) {
    m_world.Step(static_cast<float>(dt), its, its);
    m_carry -= dt;
    steps++;
  }
  if (m_carry >= dt) {
    m_carry = 0;
    if (update_speed != m_told_speed) {
      m_told_speed = update_speed;
      Console_Printf("Physics: update speed %d needs more than %d sub-steps a step; the world runs slower\n",
                     update_speed, PHYSICS_MAX_SUBSTEPS);
    }
  }
}

std::vector<std::pair<CInstance*, CInstance*>> CPhysicsWorld::TouchingPairs() {
  std::vector<std::pair<CInstance*, CInstance*>> pairs;
  std::set<std::pair<b2Body*, b2Body*>> seen;
  for (b2Contact* c = m_world.GetContactList(); c; c = c->GetNext()) {
    if (!c->IsTouching()) continue;
    b2Body* a = c->GetFixtureA()->GetBody();
    b2Body* b = c->GetFixtureB()->GetBody();
    auto* oa = reinterpret_cast<CPhysicsObject*>(a->GetUserData().pointer);
    auto* ob = reinterpret_cast<CPhysicsObject*>(b->GetUserData().pointer);
    if (!oa || !ob || oa == ob) continue;
    if (!seen.insert(a < b ? std::make_pair(a, b) : std::make_pair(b, a)).second) continue;
    pairs.emplace_back(oa->Owner(), ob->Owner());
  }
  return pairs;
}
