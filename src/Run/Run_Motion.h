// Moving an instance to a random spot, and box distances, for the game
// built-ins (the other moves are the world's, Run/Run_Instance.h).
#pragma once

class CInstance;

// Up to `tries` tries at a random free spot (snapped when a snap is above
// 0) that keeps the bounding box in the room; stays put when all fail.
void Run_MoveRandom(CInstance* inst, int hsnap, int vsnap, int tries);
// True when, for each snap above 0, the coordinate lies less than 0.001
// from its nearest multiple of the snap (a snap of 0 or less always passes).
bool Run_IsSnapped(const CInstance* inst, double hsnap, double vsnap);

// The distance from the instance's bounding box to a point (0 inside).
double Run_DistanceToPoint(CInstance* inst, double x, double y);
// The smallest box-to-box distance from self to an instance of the target
// (-2 other, -3 all, an object, an instance id); 1000000 when none counts.
float Run_DistanceToObject(CInstance* self, CInstance* other, int target);
