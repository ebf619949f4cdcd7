// Placement and collision queries of the game built-ins. Each test that puts
// an instance somewhere else puts it back afterwards.
#pragma once

class CInstance;

// True when the instance at (x, y) overlaps no solid active instance.
bool Run_PlaceFree(CInstance* inst, float x, float y);
// True when the instance at (x, y) overlaps no active instance at all.
bool Run_PlaceEmpty(CInstance* inst, float x, float y);
// The first instance of the target that the instance at (x, y) overlaps.
CInstance* Run_PlaceMeeting(CInstance* inst, float x, float y, int target);
bool Run_PlaceMeetingBool(CInstance* inst, int target, float x, float y);
// The solid or the any-instance free test, by the all flag.
bool Run_SpotFree(CInstance* inst, float x, float y, bool all);

// The first instance of the target whose shape holds the test; with notme
// self is skipped (and an instance id equal to self's finds nothing).
CInstance* Run_CollisionPoint(CInstance* self, float x, float y, int target, bool precise, bool notme);
CInstance* Run_CollisionRectangle(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                  bool notme);
CInstance* Run_CollisionEllipse(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                bool notme);
CInstance* Run_CollisionLine(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                             bool notme);

// The first instance of the target whose precise shape holds the point.
CInstance* Run_InstancePosition(float x, float y, int target);
bool Run_PositionMeeting(float x, float y, int target);
// The number of instances of the target.
int Run_InstanceNumber(int target);
// The n-th (from 0) instance of the target; an instance id only for n 0.
CInstance* Run_InstanceFind(int target, int n);
// The instance of -3 or an object whose (x, y) lies nearest to or furthest
// from the point, at any distance; on equal distances the first in the list.
// An instance id or any other value finds nothing.
CInstance* Run_InstanceNearest(float x, float y, int target);
CInstance* Run_InstanceFurthest(float x, float y, int target);
