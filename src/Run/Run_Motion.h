// Moving an instance by the game built-ins: contact, outside, bounce, random
// spot, snapping, wrapping, motion towards a point, and box distances.
#pragma once

class CInstance;

// Moves one pixel at a time in the direction while the next spot is free
// (solid instances, or all with the flag), at most round(maxdist) steps
// (1000 when maxdist is 0 or less); nothing when it is not free already.
void Run_MoveContact(CInstance* inst, float direction, float maxdist, bool all);
// Moves one pixel at a time in the direction until it is free, with the same
// step count; nothing when it is free already.
void Run_MoveOutside(CInstance* inst, float direction, float maxdist, bool all);
// Bounces off solid instances (or all): three axis tests, or with advanced
// a search of free directions 10 degrees apart on either side.
void Run_Bounce(CInstance* inst, bool advanced, bool all);
// Up to 100 tries at a random free spot (snapped when a snap is above 0)
// that keeps the bounding box in the room; stays put after 100 failures.
void Run_MoveRandom(CInstance* inst, int hsnap, int vsnap);
void Run_MoveSnap(CInstance* inst, float hsnap, float vsnap);
void Run_MoveWrap(CInstance* inst, bool horizontal, bool vertical, float margin);
void Run_MoveTowardsPoint(CInstance* inst, float x, float y, float speed);

// The distance from the instance's bounding box to a point (0 inside).
double Run_DistanceToPoint(CInstance* inst, double x, double y);
// The smallest box-to-box distance from self to an instance of the target
// (-2 other, -3 all, an object, an instance id); 1000000 when none counts.
float Run_DistanceToObject(CInstance* self, CInstance* other, int target);
