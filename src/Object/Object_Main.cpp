#include "Object/Object_Main.h"

#include <algorithm>
#include <map>
#include <memory>

#include "Object/Object_Class.h"
#include "Platform/Platform_ResourceTable.h"

namespace {
CResourceTable<CObject, ResourceNaming::InItem> g_objects;
std::vector<std::unique_ptr<CObject>> g_retired;  // deleted objects, freed with the rest
std::map<int, std::vector<int>> g_eventLists[EV_TYPE_COUNT];
std::vector<std::pair<int, int>> g_collisionPairs;
}  // namespace

CObject* Object_Find(int index) { return g_objects.Get(index); }
bool Object_Exists(int index) { return Object_Find(index) != nullptr; }
const char* Object_Name(int index) { return g_objects.Name(index); }
int Object_Count() { return g_objects.Count(); }
int Object_FindByName(const char* name) { return g_objects.FindByName(name); }

int Object_Add(const char* name) {
  int index = name ? g_objects.Append(new CObject, name) : g_objects.Create("__newobject");
  g_objects.Get(index)->index = index;
  return index;
}

namespace {
// Takes the instances of an object and of its descendants off the lists of
// the object's ancestors, or puts them back at the tail.
void LeaveAncestors(CObject* o) {
  for (CObject* a = o->parent; a; a = a->parent)
    for (CInstance* inst : o->instances_recursive) {
      auto it = std::find(a->instances_recursive.begin(), a->instances_recursive.end(), inst);
      if (it != a->instances_recursive.end()) a->instances_recursive.erase(it);
    }
}
void JoinAncestors(CObject* o) {
  for (CObject* a = o->parent; a; a = a->parent)
    a->instances_recursive.insert(a->instances_recursive.end(), o->instances_recursive.begin(),
                                  o->instances_recursive.end());
}
}  // namespace

// The object may be deleted from one of its own events: it is kept, out of
// the table, until every object is freed.
bool Object_Delete(int index) {
  CObject* o = Object_Find(index);
  if (!o) return false;
  LeaveAncestors(o);
  for (CObject* other : g_objects)
    if (other && other->parent == o) {
      other->parent = nullptr;
      other->parent_index = -1;
    }
  g_retired.emplace_back(g_objects.Release(index));
  Object_BuildEventLists();
  return true;
}

void Object_SetParent(int index, int parent) {
  CObject* o = Object_Find(index);
  if (!o) return;
  LeaveAncestors(o);
  o->parent_index = parent < 0 ? -1 : parent;
  Object_LinkParents();
  JoinAncestors(o);
  Object_BuildEventLists();
}

void Object_FreeAll() {
  g_objects.FreeAll();
  g_retired.clear();
  for (auto& lists : g_eventLists) lists.clear();
  g_collisionPairs.clear();
}

void Object_LinkParents() {
  for (CObject* o : g_objects)
    if (o) o->parent = Object_Find(o->parent_index);
  // A parent chain that comes back to an object is cut at that object.
  for (CObject* o : g_objects) {
    if (!o) continue;
    int steps = 0;
    for (CObject* p = o->parent; p; p = p->parent) {
      if (p == o || ++steps > g_objects.Count()) {
        o->parent = nullptr;
        o->parent_index = -1;
        break;
      }
    }
  }
}

void Object_BuildEventLists() {
  for (auto& lists : g_eventLists) lists.clear();
  g_collisionPairs.clear();
  for (CObject* o : g_objects) {
    if (!o) continue;
    // Every (type, number) handled by the object or an ancestor, once.
    std::map<int, bool> seen[EV_TYPE_COUNT];
    for (CObject* a = o; a; a = a->parent)
      for (int type = 0; type < EV_TYPE_COUNT; type++)
        for (auto& entry : a->events[type]) seen[type][entry.first] = true;
    for (int type = 0; type < EV_TYPE_COUNT; type++) {
      for (auto& entry : seen[type]) {
        g_eventLists[type][entry.first].push_back(o->index);
        if (type == EV_COLLISION && Object_Exists(entry.first))
          g_collisionPairs.emplace_back(o->index, entry.first);
      }
    }
  }
}

const std::vector<int>& Object_EventList(int type, int number) {
  static const std::vector<int> none;
  if (type < 0 || type >= EV_TYPE_COUNT) return none;
  auto it = g_eventLists[type].find(number);
  return it == g_eventLists[type].end() ? none : it->second;
}

bool Object_HasEventsOfType(int type) { return type >= 0 && type < EV_TYPE_COUNT && !g_eventLists[type].empty(); }

const std::vector<std::pair<int, int>>& Object_CollisionPairs() { return g_collisionPairs; }
