// A room's physics world over Box2D. Positions reach it in metres (room
// pixels times the scale); y grows down the screen as in the room, so a
// positive Box2D angle turns clockwise on the screen. Every operation checks
// its values first and answers with a message instead of letting Box2D
// assert; bodies and joints change only outside the world's step.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include <box2d/b2_world.h>

class CInstance;
class CPhysicsFixture;
class CPhysicsObject;
class CPhysicsJoint;

// The bits of physics_world_draw_debug.
enum : int64_t {
  PHYSICS_DRAW_SHAPES = 1,
  PHYSICS_DRAW_JOINTS = 2,
  PHYSICS_DRAW_BOXES = 4,
  PHYSICS_DRAW_CENTRES = 16,
};

// The most sub-steps one game step takes, and the most iterations one
// sub-step solves, whatever the script asked for: together they keep a
// world of 2,000 bodies inside a frame of 30 a second (bench/physics).
constexpr int PHYSICS_MAX_SUBSTEPS = 4;
constexpr int PHYSICS_MAX_ITERATIONS = 20;

class CPhysicsWorld {
 public:
  CPhysicsWorld(float scale, int update_speed);
  ~CPhysicsWorld();
  CPhysicsWorld(const CPhysicsWorld&) = delete;
  CPhysicsWorld& operator=(const CPhysicsWorld&) = delete;

  float scale;        // metres per room pixel
  int update_speed;   // sub-steps per second
  int iterations = 10;
  uint8_t paused = 0;

  // A scale Box2D can work with: finite and not below 1e-6.
  static bool ScaleValid(float scale);
  const char* SetGravity(float x, float y);
  // Draws the world with the 2D primitives; flags: the PHYSICS_DRAW_ bits.
  void DrawDebug(int64_t flags);

  // Binds the fixture to the instance: the first fixture makes its body at
  // (x, y) room pixels turned by angle degrees (counter-clockwise on the
  // screen), kept in *slot; another adds to the same body. Null, or the reason
  // nothing was made.
  const char* CreateBody(const CPhysicsFixture& fixture, CInstance* owner, CPhysicsObject** slot, float x, float y,
                         float angle);
  // Whether self's body, placed at (x, y) metres turned by angle radians
  // (counter-clockwise on the screen), overlaps the other's body.
  bool TestOverlap(CPhysicsObject* self, CPhysicsObject* other, float x, float y, float angle);

  // Joints: the new joint's id, or -1 with *error set. Points in metres,
  // angles in radians.
  int CreateDistanceJoint(CPhysicsObject* a, CPhysicsObject* b, float ax, float ay, float bx, float by,
                          bool collide, const char** error);
  int CreateRevoluteJoint(CPhysicsObject* a, CPhysicsObject* b, float x, float y, float lower, float upper,
                          bool limit, float max_torque, float speed, bool motor, bool collide, const char** error);
  int CreatePrismaticJoint(CPhysicsObject* a, CPhysicsObject* b, float x, float y, float axis_x, float axis_y,
                           float lower, float upper, bool limit, float max_force, float speed, bool motor,
                           bool collide, const char** error);
  int CreatePulleyJoint(CPhysicsObject* a, CPhysicsObject* b, const b2Vec2 ground[2], const b2Vec2 local[2],
                        float ratio, float max1, float max2, bool collide, const char** error);
  int CreateGearJoint(CPhysicsObject* a, CPhysicsObject* b, CPhysicsJoint* j1, CPhysicsJoint* j2, float ratio,
                      const char** error);
  // Deletes the joint (first the gear joints that use it); false when the
  // id names no joint of this world.
  bool DeleteJoint(int id);
  // Deletes every joint attached to the body.
  void DeleteJointsOf(b2Body* body);

  // Advances the world by the seconds in sub-steps of 1 / update speed; the
  // part left over is carried to the next call. Past the limits above the
  // rest is dropped (the world runs slower), told once a setting.
  void Step(double seconds);
  // The owners of each pair of bodies that touch (sensors too), each once.
  std::vector<std::pair<CInstance*, CInstance*>> TouchingPairs();

  b2World& World() { return m_world; }
  bool Busy() const { return m_world.IsLocked(); }

 private:
  friend class CPhysicsObject;
  b2Body* Ground();
  int AddJoint(b2Joint* joint, const char** error);
  const char* CheckPair(CPhysicsObject* a, CPhysicsObject* b) const;

  b2World m_world;
  b2Body* m_ground = nullptr;  // static anchor of the pulleys' limits
  double m_carry = 0;          // seconds not yet stepped
  // The last settings past a limit that the log has told of.
  int m_told_speed = 0;
  int m_told_iterations = 0;
  std::vector<CPhysicsObject*> m_objects;
};
