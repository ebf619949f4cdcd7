// The world's operations on instances that the game built-ins call:
// collision and placement queries, changing, moving and destroying.
// A target is -3 (every active instance), an instance id (100000 and up)
// or an object index (its instances and those of its descendants); marked
// and deactivated instances are never found.
#pragma once

class CInstance;

// The first instance of the target whose shape meets the point, rectangle,
// ellipse (inscribed in the box) or line; self is skipped when notme is set
// (and an id equal to self's then finds nothing). Null when none.
CInstance* Run_CollisionPoint(CInstance* self, float x, float y, int target, bool precise, bool notme);
CInstance* Run_CollisionRectangle(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                  bool notme);
CInstance* Run_CollisionEllipse(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                                bool notme);
CInstance* Run_CollisionLine(CInstance* self, float x1, float y1, float x2, float y2, int target, bool precise,
                             bool notme);

int Run_InstanceNumber(int target);
// The first instance of the target whose precise shape holds the point.
CInstance* Run_InstancePosition(float x, float y, int target);
bool Run_PositionMeeting(float x, float y, int target);

// Placement tests of the instance put at (x, y); its position is restored.
bool Run_PlaceEmpty(CInstance* inst, float x, float y);  // meets no active instance
bool Run_PlaceFree(CInstance* inst, float x, float y);   // meets no solid active instance
CInstance* Run_PlaceMeeting(CInstance* inst, float x, float y, int target);
bool Run_PlaceMeetingBool(CInstance* inst, int target, float x, float y);

// Sets the sprite (the image index goes back to 0 when it lies past the new
// sprite's images); a missing sprite is reported and changes nothing.
void Run_SetSprite(CInstance* inst, int sprite);
// Turns the instance into another object (destroy event first and create
// event after when perform is set); it misses the rest of the pass under way.
void Run_ChangeInstance(CInstance* inst, int object, bool perform);
// Changes every active instance whose precise shape holds the point.
void Run_PositionChange(float x, float y, int object, bool perform);
// Marks and destroys every active instance whose precise shape holds the point.
void Run_PositionDestroy(float x, float y);

// Moves one pixel at a time in the direction until it would meet something
// (contact) or until it meets nothing (outside), at most round(maxdist)
// steps, 1000 when maxdist is 0 or less; all: every instance, else solids.
void Run_MoveContact(CInstance* inst, float direction, float maxdist, bool all);
void Run_MoveOutside(CInstance* inst, float direction, float maxdist, bool all);
void Run_MoveSnap(CInstance* inst, float hsnap, float vsnap);
void Run_MoveTowardsPoint(CInstance* inst, float x, float y, float speed);
void Run_MoveWrap(CInstance* inst, bool horizontal, bool vertical, float margin);

// The nearest and the furthest unmarked instance of the target (-3 or an
// object index; an instance id finds nothing) from the point, by the
// distance of their positions. Nearest looks no further than 10000; on equal
// distances the first in list order wins.
CInstance* Run_InstanceNearest(float x, float y, int target);
CInstance* Run_InstanceFurthest(float x, float y, int target);
// Bounces the instance off solid (or, with all, every) instances: back to
// its previous position when it stands in one, then the speeds reflected
// by three tests, or with advanced by probing directions 10 degrees apart.
void Run_Bounce(CInstance* inst, bool advanced, bool all);
