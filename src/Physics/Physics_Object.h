// One instance's body in its room's world. The instance owns it; deleting it
// destroys the body and the joints attached to it.
#pragma once
#include <box2d/b2_body.h>

class CInstance;
class CPhysicsWorld;

class CPhysicsObject {
 public:
  CPhysicsObject(CPhysicsWorld* world, b2Body* body, CInstance* owner, CPhysicsObject** slot);
  ~CPhysicsObject();
  CPhysicsObject(const CPhysicsObject&) = delete;
  CPhysicsObject& operator=(const CPhysicsObject&) = delete;

  CPhysicsWorld* World() const { return m_world; }
  b2Body* Body() const { return m_body; }
  CInstance* Owner() const { return m_owner; }

  // Mass (kg), centre (metres, local), rotational inertia; null or a reason.
  const char* SetMassProperties(float mass, float x, float y, float inertia);
  const char* ApplyTorque(float torque);
  // A force or impulse at a world point (metres); the local forms take a
  // point and a vector in the body's own frame.
  const char* ApplyForce(float x, float y, float fx, float fy);
  const char* ApplyImpulse(float x, float y, float ix, float iy);
  const char* ApplyLocalForce(float x, float y, float fx, float fy);
  const char* ApplyLocalImpulse(float x, float y, float fx, float fy);
  // Draws the body's shapes, each metre drawn as scale pixels.
  void DrawDebug(float scale);
  // A kinematic body's velocity from its instance's motion, hspeed and vspeed
  // in room pixels a step at that many steps a second; other bodies keep
  // theirs.
  void MoveKinematic(float hspeed, float vspeed, int steps_per_second);
  // A disabled body takes no part in the world (its instance is deactivated).
  void SetEnabled(bool enabled);

  // The body's place in room pixels and its turn in degrees, counter-clockwise
  // on the screen.
  float RoomX() const;
  float RoomY() const;
  float RoomAngle() const;

 private:
  friend class CPhysicsWorld;
  CPhysicsWorld* m_world;
  b2Body* m_body;
  CInstance* m_owner;
  CPhysicsObject** m_slot;  // the owner's field that points here
  bool m_worldGone = false;  // the world freed the body already
};
