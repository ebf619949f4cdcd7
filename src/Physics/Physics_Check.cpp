#include "Physics/Physics_Check.h"

#include <cmath>

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_shape.h>

const char* const PHYSICS_NOT_FINITE = "A physics value must be a finite number";
const char* const PHYSICS_TOO_SMALL = "The physics shape is too small once in metres";
const char* const PHYSICS_BAD_MASS = "The physics body's mass and inertia are not valid";
const char* const PHYSICS_WORLD_BUSY = "The physics world is stepping and cannot change";

namespace {
// What is left of the inertia about the centre of mass must stand clear of
// rounding: Box2D computes it by subtraction and asserts it is above 0.
bool InertiaLeft(float inertia, float mass, b2Vec2 centre) {
  float left = inertia - mass * b2Dot(centre, centre);
  return std::isfinite(left) && left > 1e-4f * inertia;
}
}  // namespace

bool Physics_Finite(float v) { return std::isfinite(v); }

bool Physics_ConvexClockwise(const std::vector<b2Vec2>& p) {
  size_t n = p.size();
  for (size_t i = 0; i < n; i++) {
    for (size_t j = i + 1; j < n; j++) {
      double dx = double(p[j].x) - p[i].x, dy = double(p[j].y) - p[i].y;
      if (dx * dx + dy * dy < double(PHYSICS_MIN_LENGTH) * PHYSICS_MIN_LENGTH) return false;
    }
  }
  if (n < 3) return true;
  // Every other point lies clearly right of each edge: on the screen, with y
  // down, that is clockwise.
  for (size_t i = 0; i < n; i++) {
    const b2Vec2& a = p[i];
    const b2Vec2& b = p[(i + 1) % n];
    double ex = double(b.x) - a.x, ey = double(b.y) - a.y;
    for (size_t k = 0; k < n; k++) {
      if (k == i || k == (i + 1) % n) continue;
      double vx = double(p[k].x) - a.x, vy = double(p[k].y) - a.y;
      double cross = ex * vy - ey * vx;
      if (!(cross > 1e-4 * std::hypot(ex, ey) * std::hypot(vx, vy))) return false;
    }
  }
  return true;
}

double Physics_PolygonArea(const std::vector<b2Vec2>& p) {
  double twice = 0;
  for (size_t i = 0; i < p.size(); i++) {
    const b2Vec2& a = p[i];
    const b2Vec2& b = p[(i + 1) % p.size()];
    twice += double(a.x) * b.y - double(b.x) * a.y;
  }
  return twice / 2;
}

bool Physics_MassAcceptable(const b2Body* body, const b2Shape* added, float density) {
  // The sums of the body's mass reset, in its order, with the new shape last.
  float mass = 0, inertia = 0;
  b2Vec2 centre(0, 0);
  auto add = [&](const b2Shape* shape, float d) {
    if (d == 0) return;
    b2MassData md;
    shape->ComputeMass(&md, d);
    mass += md.mass;
    centre += md.mass * md.center;
    inertia += md.I;
  };
  if (body)
    for (const b2Fixture* f = body->GetFixtureList(); f; f = f->GetNext()) add(f->GetShape(), f->GetDensity());
  add(added, density);
  if (!std::isfinite(mass) || !std::isfinite(inertia)) return false;
  if (mass > 0) centre *= 1.0f / mass;
  return inertia <= 0 || InertiaLeft(inertia, mass, centre);
}

bool Physics_MassDataAcceptable(const b2MassData& d) {
  if (!Physics_Finite(d.mass, d.center.x, d.center.y, d.I)) return false;
  float mass = d.mass > 0 ? d.mass : 1.0f;
  return d.I <= 0 || InertiaLeft(d.I, mass, d.center);
}
