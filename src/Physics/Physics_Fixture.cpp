#include "Physics/Physics_Fixture.h"

#include <memory>

#include "Physics/Physics_Check.h"

namespace {
std::vector<std::unique_ptr<CPhysicsFixture>> g_fixtures;  // by id; deleted ones stay empty
}  // namespace

const char* CPhysicsFixture::SetCircleShape(float r) {
  if (!Physics_Finite(r)) return PHYSICS_NOT_FINITE;
  if (r < PHYSICS_MIN_LENGTH) return PHYSICS_TOO_SMALL;
  shape = PHYSICS_SHAPE_CIRCLE;
  radius = r;
  points.clear();
  return nullptr;
}

const char* CPhysicsFixture::SetBoxShape(float w, float h) {
  if (!Physics_Finite(w, h)) return PHYSICS_NOT_FINITE;
  if (w < PHYSICS_MIN_LENGTH || h < PHYSICS_MIN_LENGTH) return PHYSICS_TOO_SMALL;
  shape = PHYSICS_SHAPE_BOX;
  half_width = w / 2;
  half_height = h / 2;
  points.clear();
  return nullptr;
}

void CPhysicsFixture::SetPolygonShape() {
  shape = PHYSICS_SHAPE_POLYGON;
  points.clear();
}

bool CPhysicsFixture::AddPolygonPoint(float x, float y) {
  if (shape != PHYSICS_SHAPE_POLYGON || points.size() >= PHYSICS_MAX_POINTS || !Physics_Finite(x, y)) return false;
  points.emplace_back(x, y);
  if (Physics_ConvexClockwise(points)) return true;
  points.pop_back();
  return false;
}

const char* CPhysicsFixture::SetDensity(float v) {
  if (!Physics_Finite(v)) return PHYSICS_NOT_FINITE;
  if (v < 0) return "The density of a fixture cannot be negative";
  density = v;
  return nullptr;
}

const char* CPhysicsFixture::SetMaterial(float* field, float v) {
  if (!Physics_Finite(v)) return PHYSICS_NOT_FINITE;
  *field = v;
  return nullptr;
}

const char* CPhysicsFixture::SetDamping(float* field, float v) {
  if (!Physics_Finite(v)) return PHYSICS_NOT_FINITE;
  if (v < 0) return "The damping of a fixture cannot be negative";
  *field = v;
  return nullptr;
}

const char* CPhysicsFixture::SetCollisionGroup(int group) {
  if (group < -32768 || group > 32767) return "The collision group must lie between -32768 and 32767";
  collision_group = group;
  return nullptr;
}

const char* CPhysicsFixture::CheckShape() const {
  switch (shape) {
    case PHYSICS_SHAPE_CIRCLE:
    case PHYSICS_SHAPE_BOX: return nullptr;
    case PHYSICS_SHAPE_POLYGON:
      if (points.size() < 3) return "A polygon fixture needs at least 3 points";
      if (Physics_PolygonArea(points) < double(PHYSICS_MIN_LENGTH) * PHYSICS_MIN_LENGTH) return PHYSICS_TOO_SMALL;
      return nullptr;
    default: return "The physics fixture has no shape";
  }
}

CPhysicsFixture* PhysicsFixture_Create() {
  auto f = std::make_unique<CPhysicsFixture>();
  f->id = static_cast<int>(g_fixtures.size());
  g_fixtures.push_back(std::move(f));
  return g_fixtures.back().get();
}

CPhysicsFixture* PhysicsFixture_Find(int id) {
  if (id < 0 || id >= static_cast<int>(g_fixtures.size())) return nullptr;
  return g_fixtures[id].get();
}

bool PhysicsFixture_Delete(int id) {
  if (!PhysicsFixture_Find(id)) return false;
  g_fixtures[id].reset();
  return true;
}

void PhysicsFixture_DeleteAll() {
  // Ids stay taken: a script's old id must not find a new fixture.
  for (auto& f : g_fixtures) f.reset();
}
