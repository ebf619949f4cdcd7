// Moving an instance to a random spot, and box distances, for the game
// built-ins (the other moves are the world's, Run/Run_Instance.h).
#pragma once

class CInstance;

// Up to 100 tries at a random free spot (snapped when a snap is above 0)
// that keeps the bounding box in the room; stays put after 100 failures.
void Run_MoveRandom(CInstance* inst, int hsnap, int vsnap);

// The distance from the instance's bounding box to a point (0 inside).
double Run_DistanceToPoint(CInstance* inst, double x, double y);
// The smallest box-to-box distance from self to an instance of the target
// (-2 other, -3 all, an object, an instance id); 1000000 when none counts.
float Run_DistanceToObject(CInstance* self, CInstance* other, int target);
