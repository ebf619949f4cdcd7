#include "Physics/Physics_Object.h"

#include <algorithm>

#include <box2d/b2_fixture.h>

#include "Physics/Physics_Check.h"
#include "Physics/Physics_Draw.h"
#include "Physics/Physics_World.h"

namespace {
constexpr float DEGREES_PER_RADIAN = 180.0f / 3.1415927f;
}

CPhysicsObject::CPhysicsObject(CPhysicsWorld* world, b2Body* body, CInstance* owner, CPhysicsObject** slot)
    : m_world(world), m_body(body), m_owner(owner), m_slot(slot) {
  body->GetUserData().pointer = reinterpret_cast<uintptr_t>(this);
  world->m_objects.push_back(this);
}

CPhysicsObject::~CPhysicsObject() {
  if (m_worldGone) return;
  auto& list = m_world->m_objects;
  list.erase(std::find(list.begin(), list.end(), this));
  m_world->DeleteJointsOf(m_body);
  m_world->m_world.DestroyBody(m_body);
  if (*m_slot == this) *m_slot = nullptr;
}

const char* CPhysicsObject::SetMassProperties(float mass, float x, float y, float inertia) {
  if (m_world->Busy()) return PHYSICS_WORLD_BUSY;
  b2MassData data;
  data.mass = mass;
  data.center.Set(x, y);
  data.I = inertia;
  if (!Physics_Finite(mass, x, y, inertia)) return PHYSICS_NOT_FINITE;
  if (!Physics_MassDataAcceptable(data)) return PHYSICS_BAD_MASS;
  m_body->SetMassData(&data);
  return nullptr;
}

const char* CPhysicsObject::ApplyTorque(float torque) {
  if (!Physics_Finite(torque)) return PHYSICS_NOT_FINITE;
  m_body->ApplyTorque(torque, true);
  return nullptr;
}

const char* CPhysicsObject::ApplyForce(float x, float y, float fx, float fy) {
  if (!Physics_Finite(x, y, fx, fy)) return PHYSICS_NOT_FINITE;
  m_body->ApplyForce(b2Vec2(fx, fy), b2Vec2(x, y), true);
  return nullptr;
}

const char* CPhysicsObject::ApplyImpulse(float x, float y, float ix, float iy) {
  if (!Physics_Finite(x, y, ix, iy)) return PHYSICS_NOT_FINITE;
  m_body->ApplyLinearImpulse(b2Vec2(ix, iy), b2Vec2(x, y), true);
  return nullptr;
}

const char* CPhysicsObject::ApplyLocalForce(float x, float y, float fx, float fy) {
  if (!Physics_Finite(x, y, fx, fy)) return PHYSICS_NOT_FINITE;
  m_body->ApplyForce(m_body->GetWorldVector(b2Vec2(fx, fy)), m_body->GetWorldPoint(b2Vec2(x, y)), true);
  return nullptr;
}

const char* CPhysicsObject::ApplyLocalImpulse(float x, float y, float ix, float iy) {
  if (!Physics_Finite(x, y, ix, iy)) return PHYSICS_NOT_FINITE;
  m_body->ApplyLinearImpulse(m_body->GetWorldVector(b2Vec2(ix, iy)), m_body->GetWorldPoint(b2Vec2(x, y)), true);
  return nullptr;
}

void CPhysicsObject::DrawDebug(float scale) {
  if (!Physics_Finite(scale)) return;
  CPhysicsDraw draw(scale);
  for (b2Fixture* f = m_body->GetFixtureList(); f; f = f->GetNext()) draw.DrawFixture(f, m_body->GetTransform());
}

void CPhysicsObject::MoveKinematic(float hspeed, float vspeed, int steps_per_second) {
  if (m_body->GetType() != b2_kinematicBody) return;
  float k = m_world->scale * static_cast<float>(steps_per_second);
  b2Vec2 v(hspeed * k, vspeed * k);
  if (Physics_Finite(v.x, v.y)) m_body->SetLinearVelocity(v);
}

void CPhysicsObject::SetEnabled(bool enabled) {
  if (!m_world->Busy() && m_body->IsEnabled() != enabled) m_body->SetEnabled(enabled);
}

float CPhysicsObject::RoomX() const { return m_body->GetPosition().x / m_world->scale; }
float CPhysicsObject::RoomY() const { return m_body->GetPosition().y / m_world->scale; }
float CPhysicsObject::RoomAngle() const { return -m_body->GetAngle() * DEGREES_PER_RADIAN; }
