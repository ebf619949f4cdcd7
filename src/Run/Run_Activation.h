// Deactivating and activating instances, and copying one, as the game
// built-ins ask.
#pragma once

class CInstance;

// A new instance of self's object at self's place with every field of self
// but its own id; its create event runs with perform. Null without a room.
CInstance* Run_CopyInstance(CInstance* self, bool perform);

// Deactivation: the flags are set, then the room moves the instances.
void Run_DeactivateAll(CInstance* self, bool notme);
void Run_DeactivateObject(CInstance* self, CInstance* other, int target);
void Run_ActivateAll();
void Run_ActivateObject(CInstance* self, CInstance* other, int target);
// The region runs from (left, top) to (left + width, top + height). Inside
// true acts on the instances touching it, false on those outside it.
void Run_DeactivateRegion(CInstance* self, float left, float top, float width, float height, bool inside, bool notme);
void Run_ActivateRegion(float left, float top, float width, float height, bool inside);
