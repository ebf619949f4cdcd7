// Joints between two bodies, found by id (from 0, never reused). A joint
// goes when either body goes; the gear joints that use a joint go first.
#pragma once
#include <vector>

#include <box2d/b2_joint.h>

class CPhysicsWorld;

// The codes of physics_joint_get_value and physics_joint_set_value
// (docs/physics.md): lengths and points in room pixels, angles in degrees.
enum PhysicsJointValue {
  JOINT_ANCHOR_1_X = 0,
  JOINT_ANCHOR_1_Y = 1,
  JOINT_ANCHOR_2_X = 2,
  JOINT_ANCHOR_2_Y = 3,
  JOINT_REACTION_FORCE_X = 4,
  JOINT_REACTION_FORCE_Y = 5,
  JOINT_REACTION_TORQUE = 6,
  JOINT_ANGLE = 7,
  JOINT_TRANSLATION = 8,
  JOINT_SPEED = 9,
  JOINT_MOTOR_SPEED = 10,
  JOINT_MOTOR_TORQUE = 11,  // the torque (revolute) or force (prismatic) the motor gives now
  JOINT_MAX_MOTOR_TORQUE = 12,
  JOINT_MAX_MOTOR_FORCE = 13,
  JOINT_LIMIT_ENABLED = 14,
  JOINT_LOWER_LIMIT = 15,
  JOINT_UPPER_LIMIT = 16,
  JOINT_MOTOR_ENABLED = 17,
  JOINT_LENGTH = 18,
  JOINT_LENGTH_1 = 19,
  JOINT_LENGTH_2 = 20,
  JOINT_RATIO = 21,
};

class CPhysicsJoint {
 public:
  int id = -1;
  CPhysicsWorld* world = nullptr;
  b2Joint* joint = nullptr;
  b2Joint* limits[2] = {nullptr, nullptr};  // a pulley's two length limits

  b2JointType Kind() const { return joint->GetType(); }
  void EnableMotor(bool on);
  // 0 for a code the joint's kind does not have.
  double GetValue(int code) const;
  // Does nothing for a code the kind does not have or a value Box2D would
  // refuse; null, or the reason.
  const char* SetValue(int code, double value);
};

CPhysicsJoint* PhysicsJoint_Find(int id);
// Used by the world: a new record with the next id, and the end of one.
CPhysicsJoint* PhysicsJoint_Add(CPhysicsWorld* world, b2Joint* joint);
void PhysicsJoint_Remove(CPhysicsJoint* joint);
// Every joint of the world, in id order.
std::vector<CPhysicsJoint*> PhysicsJoint_OfWorld(const CPhysicsWorld* world);
