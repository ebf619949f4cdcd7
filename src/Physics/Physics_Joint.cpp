#include "Physics/Physics_Joint.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <box2d/b2_distance_joint.h>
#include <box2d/b2_gear_joint.h>
#include <box2d/b2_prismatic_joint.h>
#include <box2d/b2_pulley_joint.h>
#include <box2d/b2_revolute_joint.h>

#include "Physics/Physics_Check.h"
#include "Physics/Physics_World.h"

namespace {
std::vector<std::unique_ptr<CPhysicsJoint>> g_joints;  // by id; deleted ones stay empty

constexpr double PI_SINGLE = 3.1415927f;
double Degrees(double radians) { return radians * 180.0 / PI_SINGLE; }
double Radians(double degrees) { return degrees * PI_SINGLE / 180.0; }
}  // namespace

CPhysicsJoint* PhysicsJoint_Find(int id) {
  if (id < 0 || id >= static_cast<int>(g_joints.size())) return nullptr;
  return g_joints[id].get();
}

CPhysicsJoint* PhysicsJoint_Add(CPhysicsWorld* world, b2Joint* joint) {
  auto rec = std::make_unique<CPhysicsJoint>();
  rec->id = static_cast<int>(g_joints.size());
  rec->world = world;
  rec->joint = joint;
  joint->GetUserData().pointer = reinterpret_cast<uintptr_t>(rec.get());
  g_joints.push_back(std::move(rec));
  return g_joints.back().get();
}

void PhysicsJoint_Remove(CPhysicsJoint* joint) {
  if (joint && joint->id >= 0 && joint->id < static_cast<int>(g_joints.size())) g_joints[joint->id].reset();
}

std::vector<CPhysicsJoint*> PhysicsJoint_OfWorld(const CPhysicsWorld* world) {
  std::vector<CPhysicsJoint*> out;
  for (auto& j : g_joints)
    if (j && j->world == world) out.push_back(j.get());
  return out;
}

void CPhysicsJoint::EnableMotor(bool on) {
  if (world->Busy()) return;
  if (Kind() == e_revoluteJoint) static_cast<b2RevoluteJoint*>(joint)->EnableMotor(on);
  if (Kind() == e_prismaticJoint) static_cast<b2PrismaticJoint*>(joint)->EnableMotor(on);
}

double CPhysicsJoint::GetValue(int code) const {
  const double pixels = 1.0 / world->scale;
  const float inv_dt = static_cast<float>(world->update_speed);
  auto* revolute = Kind() == e_revoluteJoint ? static_cast<b2RevoluteJoint*>(joint) : nullptr;
  auto* prismatic = Kind() == e_prismaticJoint ? static_cast<b2PrismaticJoint*>(joint) : nullptr;
  auto* distance = Kind() == e_distanceJoint ? static_cast<b2DistanceJoint*>(joint) : nullptr;
  auto* pulley = Kind() == e_pulleyJoint ? static_cast<b2PulleyJoint*>(joint) : nullptr;
  auto* gear = Kind() == e_gearJoint ? static_cast<b2GearJoint*>(joint) : nullptr;
  switch (code) {
    case JOINT_ANCHOR_1_X: return joint->GetAnchorA().x * pixels;
    case JOINT_ANCHOR_1_Y: return joint->GetAnchorA().y * pixels;
    case JOINT_ANCHOR_2_X: return joint->GetAnchorB().x * pixels;
    case JOINT_ANCHOR_2_Y: return joint->GetAnchorB().y * pixels;
    case JOINT_REACTION_FORCE_X: return joint->GetReactionForce(inv_dt).x;
    case JOINT_REACTION_FORCE_Y: return joint->GetReactionForce(inv_dt).y;
    case JOINT_REACTION_TORQUE: return joint->GetReactionTorque(inv_dt);
    case JOINT_ANGLE: return revolute ? Degrees(revolute->GetJointAngle()) : 0;
    case JOINT_TRANSLATION: return prismatic ? prismatic->GetJointTranslation() * pixels : 0;
    case JOINT_SPEED:
      return revolute ? revolute->GetJointSpeed() : prismatic ? prismatic->GetJointSpeed() : 0;
    case JOINT_MOTOR_SPEED:
      return revolute ? revolute->GetMotorSpeed() : prismatic ? prismatic->GetMotorSpeed() : 0;
    case JOINT_MOTOR_TORQUE:
      return revolute ? revolute->GetMotorTorque(inv_dt) : prismatic ? prismatic->GetMotorForce(inv_dt) : 0;
    case JOINT_MAX_MOTOR_TORQUE: return revolute ? revolute->GetMaxMotorTorque() : 0;
    case JOINT_MAX_MOTOR_FORCE: return prismatic ? prismatic->GetMaxMotorForce() : 0;
    case JOINT_LIMIT_ENABLED:
      return revolute ? revolute->IsLimitEnabled() : prismatic ? prismatic->IsLimitEnabled() : 0;
    case JOINT_LOWER_LIMIT:
      return revolute ? Degrees(revolute->GetLowerLimit()) : prismatic ? prismatic->GetLowerLimit() * pixels : 0;
    case JOINT_UPPER_LIMIT:
      return revolute ? Degrees(revolute->GetUpperLimit()) : prismatic ? prismatic->GetUpperLimit() * pixels : 0;
    case JOINT_MOTOR_ENABLED:
      return revolute ? revolute->IsMotorEnabled() : prismatic ? prismatic->IsMotorEnabled() : 0;
    case JOINT_LENGTH: return distance ? distance->GetLength() * pixels : 0;
    case JOINT_LENGTH_1: return pulley ? pulley->GetCurrentLengthA() * pixels : 0;
    case JOINT_LENGTH_2: return pulley ? pulley->GetCurrentLengthB() * pixels : 0;
    case JOINT_RATIO: return pulley ? pulley->GetRatio() : gear ? gear->GetRatio() : 0;
    default: return 0;
  }
}

const char* CPhysicsJoint::SetValue(int code, double value) {
  if (world->Busy()) return PHYSICS_WORLD_BUSY;
  float v = static_cast<float>(value);
  if (!Physics_Finite(v)) return PHYSICS_NOT_FINITE;
  const float metres = world->scale;
  auto* revolute = Kind() == e_revoluteJoint ? static_cast<b2RevoluteJoint*>(joint) : nullptr;
  auto* prismatic = Kind() == e_prismaticJoint ? static_cast<b2PrismaticJoint*>(joint) : nullptr;
  // Box2D asserts that a lower limit never lies above the upper one.
  auto limits = [&](float lower, float upper) -> const char* {
    if (lower > upper) return "The lower limit of a joint cannot lie above its upper limit";
    if (revolute) revolute->SetLimits(lower, upper);
    if (prismatic) prismatic->SetLimits(lower, upper);
    return nullptr;
  };
  switch (code) {
    case JOINT_MOTOR_SPEED:
      if (revolute) revolute->SetMotorSpeed(v);
      if (prismatic) prismatic->SetMotorSpeed(v);
      return nullptr;
    case JOINT_MAX_MOTOR_TORQUE:
      if (revolute) revolute->SetMaxMotorTorque(v);
      return nullptr;
    case JOINT_MAX_MOTOR_FORCE:
      if (prismatic) prismatic->SetMaxMotorForce(v);
      return nullptr;
    case JOINT_LIMIT_ENABLED:
      if (revolute) revolute->EnableLimit(value > 0.5);
      if (prismatic) prismatic->EnableLimit(value > 0.5);
      return nullptr;
    case JOINT_MOTOR_ENABLED: EnableMotor(value > 0.5); return nullptr;
    case JOINT_LOWER_LIMIT:
      if (revolute) return limits(static_cast<float>(Radians(value)), revolute->GetUpperLimit());
      if (prismatic) return limits(v * metres, prismatic->GetUpperLimit());
      return nullptr;
    case JOINT_UPPER_LIMIT:
      if (revolute) return limits(revolute->GetLowerLimit(), static_cast<float>(Radians(value)));
      if (prismatic) return limits(prismatic->GetLowerLimit(), v * metres);
      return nullptr;
    case JOINT_LENGTH:
      if (Kind() == e_distanceJoint) {
        auto* d = static_cast<b2DistanceJoint*>(joint);
        float length = std::max(v * metres, b2_linearSlop);
        if (!Physics_Finite(length)) return PHYSICS_NOT_FINITE;
        // Each setter clamps against the other limit: widen, then close in.
        d->SetMinLength(b2_linearSlop);
        d->SetMaxLength(length);
        d->SetMinLength(length);
        d->SetLength(length);
      }
      return nullptr;
    case JOINT_RATIO:
      if (Kind() == e_gearJoint) static_cast<b2GearJoint*>(joint)->SetRatio(v);
      return nullptr;
    default: return nullptr;
  }
}
