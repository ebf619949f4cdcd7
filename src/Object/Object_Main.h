// The object table and the per-event lists of objects.
#pragma once
#include <utility>
#include <vector>

class CObject;

// The object of an index, or null.
CObject* Object_Find(int index);
bool Object_Exists(int index);
// The object's name, or "<undefined>".
const char* Object_Name(int index);
int Object_Count();
// Index of the object of that name, -1 when none.
int Object_FindByName(const char* name);
// Appends a new object ("__newobject" with a number when name is null);
// returns its index.
int Object_Add(const char* name = nullptr);
// Empties the object's slot; false for a bad index. Its children lose their
// parent, its instances and its descendants' leave its ancestors' lists and
// the event lists are rebuilt.
bool Object_Delete(int index);
// Sets the parent index (a negative one: none) and moves the instances of
// the object and its descendants from the old ancestors' lists to the new
// ones'; the parent links and event lists are rebuilt. The caller checks
// for cycles.
void Object_SetParent(int index, int parent);
// Frees every object.
void Object_FreeAll();
// Resolves the parent pointers from the parent indices (a bad index or a
// cycle leaves no parent).
void Object_LinkParents();
// Rebuilds, per event type and number, the objects that have the event (own
// or inherited), and the collision pairs.
void Object_BuildEventLists();
// The objects with that event, in index order.
const std::vector<int>& Object_EventList(int type, int number);
// Whether any object handles an event of the type (any number).
bool Object_HasEventsOfType(int type);
// (object, other object) pairs with a collision event, in index order.
const std::vector<std::pair<int, int>>& Object_CollisionPairs();
