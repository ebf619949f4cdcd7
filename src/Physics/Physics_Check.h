// The checks that keep values Box2D would assert on away from it: every
// failed assertion in the library aborts the process.
#pragma once
#include <vector>

#include <box2d/b2_math.h>

class b2Body;
struct b2MassData;
class b2Shape;

// The messages of refused values.
extern const char* const PHYSICS_NOT_FINITE;
extern const char* const PHYSICS_TOO_SMALL;
extern const char* const PHYSICS_BAD_MASS;
extern const char* const PHYSICS_WORLD_BUSY;

// The shortest length (metres) a radius, side or polygon edge may have.
constexpr float PHYSICS_MIN_LENGTH = 0.005f;

bool Physics_Finite(float v);
template <class... T>
bool Physics_Finite(float v, T... more) {
  return Physics_Finite(v) && Physics_Finite(more...);
}

// Whether the points (in order) make a strictly convex polygon that turns
// clockwise on the screen (y down), with no two points too close.
bool Physics_ConvexClockwise(const std::vector<b2Vec2>& points);
// The polygon's area in square metres.
double Physics_PolygonArea(const std::vector<b2Vec2>& points);

// Whether Box2D accepts a dynamic body's mass once a shape of that density
// joins its fixtures (as its mass reset computes it).
bool Physics_MassAcceptable(const b2Body* body, const b2Shape* added, float density);
// Whether explicit mass data would be accepted.
bool Physics_MassDataAcceptable(const b2MassData& data);
