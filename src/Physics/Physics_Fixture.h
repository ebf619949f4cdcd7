// Fixture templates: the shape and material that binding gives a body.
// Lengths are kept in metres, as the world's scale made them. A fixture is
// only a description: changing or deleting it changes no body.
#pragma once
#include <vector>

#include <box2d/b2_math.h>

enum PhysicsShape { PHYSICS_SHAPE_NONE = -1, PHYSICS_SHAPE_CIRCLE = 0, PHYSICS_SHAPE_BOX = 1, PHYSICS_SHAPE_POLYGON = 2 };

constexpr int PHYSICS_MAX_POINTS = 8;

class CPhysicsFixture {
 public:
  int id = -1;  // -1 for a template that is in no table
  int shape = PHYSICS_SHAPE_NONE;
  float radius = 0;                   // circle
  float half_width = 0, half_height = 0;  // box
  std::vector<b2Vec2> points;         // polygon, clockwise on the screen
  float density = 0.5f, friction = 0.2f, restitution = 0.1f;
  float linear_damping = 0.1f, angular_damping = 0.1f;
  int collision_group = 0;
  bool sensor = false, awake = true, kinematic = false;

  // Each returns null, or the reason the value is refused (nothing changes).
  const char* SetCircleShape(float radius_m);
  const char* SetBoxShape(float width_m, float height_m);
  void SetPolygonShape();
  // False when the fixture is no polygon, has 8 points already, or the
  // point would leave it not convex or not clockwise.
  bool AddPolygonPoint(float x_m, float y_m);
  const char* SetDensity(float v);
  const char* SetMaterial(float* field, float v);  // friction, restitution
  const char* SetDamping(float* field, float v);
  const char* SetCollisionGroup(int group);
  // Null when the shape can be given to a body.
  const char* CheckShape() const;
};

// The fixture table: ids from 0, never reused.
CPhysicsFixture* PhysicsFixture_Create();
CPhysicsFixture* PhysicsFixture_Find(int id);
bool PhysicsFixture_Delete(int id);
void PhysicsFixture_DeleteAll();
