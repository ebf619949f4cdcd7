// Walking the instances a target names, as the game built-ins take it: -3
// every instance of the current room's active list, 100000 and up the
// instance with that id, 0 to 99999 the instances of that object and of its
// descendants. Marked and deactivated instances are never visited; any other
// value names nothing.
#pragma once
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Services.h"

// Calls visit(instance) in list order until it returns true; returns that
// instance, or null when none did. visit must not add or remove instances.
template <class Visit>
CInstance* Target_Find(int target, Visit&& visit) {
  auto usable = [](CInstance* inst) { return inst && !inst->marked && !inst->deactivated; };
  if (target == TARGET_ALL) {
    if (!g_RunRoom) return nullptr;
    for (CInstance* inst : g_RunRoom->active)
      if (usable(inst) && visit(inst)) return inst;
  } else if (target >= INSTANCE_ID_FIRST) {
    CInstance* inst = CInstance_Find(target);
    if (usable(inst) && visit(inst)) return inst;
  } else if (CObject* obj = Object_Find(target)) {
    for (CInstance* inst : obj->instances_recursive)
      if (usable(inst) && visit(inst)) return inst;
  }
  return nullptr;
}

// Calls visit(instance) for every instance of the target.
template <class Visit>
void Target_ForEach(int target, Visit&& visit) {
  Target_Find(target, [&](CInstance* inst) {
    visit(inst);
    return false;
  });
}
