// Changing, copying, destroying by position, and (de)activating instances,
// as the game built-ins ask.
#pragma once

class CInstance;

// Changes the instance into the object (the destroy event before and the
// create event after with perform); reports a missing object and changes
// nothing. The instance skips the rest of the event pass under way.
void Run_ChangeInstance(CInstance* inst, int object, bool perform);
// A new instance of self's object at self's place with every field of self
// but its own id; its create event runs with perform. Null without a room.
CInstance* Run_CopyInstance(CInstance* self, bool perform);
// Sets the sprite (image index back to 0 when beyond the new sprite's
// frames); reports a missing sprite.
void Run_SetSprite(CInstance* inst, int sprite);
// The instances whose precise shape holds the point are found first, then
// each is destroyed (or changed) in turn.
void Run_PositionDestroy(float x, float y);
void Run_PositionChange(float x, float y, int object, bool perform);

// Deactivation: the flags are set, then the room moves the instances.
void Run_DeactivateAll(CInstance* self, bool notme);
void Run_DeactivateObject(CInstance* self, CInstance* other, int target);
void Run_ActivateAll();
void Run_ActivateObject(CInstance* self, CInstance* other, int target);
// The region runs from (left, top) to (left + width, top + height). Inside
// true acts on the instances touching it, false on those outside it.
void Run_DeactivateRegion(CInstance* self, float left, float top, float width, float height, bool inside, bool notme);
void Run_ActivateRegion(float left, float top, float width, float height, bool inside);
