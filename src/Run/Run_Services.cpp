#include "Run/Run_Services.h"

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "TimeLine/TimeLine_Main.h"

void Run_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out) {
  auto add = [&out](CInstance* inst) {
    if (inst && !inst->marked) out.push_back(inst);
  };
  if (target == TARGET_SELF) {
    add(self);
  } else if (target == TARGET_OTHER) {
    add(other);
  } else if (target == TARGET_ALL) {
    if (g_RunRoom)
      for (CInstance* inst : g_RunRoom->active) add(inst);
  } else if (target >= INSTANCE_ID_FIRST) {
    CInstance* inst = CInstance_Find(target);
    if (inst && !inst->deactivated) add(inst);
  } else if (CObject* obj = Object_Find(target)) {
    for (CInstance* inst : obj->instances_recursive)
      if (!inst->deactivated) add(inst);
  }
}

bool Resource_FindByName(const char* name, int* index) {
  if (!name) return false;
  // The resource kinds of the world; each name is looked up kind by kind.
  int (*const finders[])(const char*) = {Object_FindByName, Room_FindByName, TimeLine_FindByName};
  for (auto find : finders) {
    int found = find(name);
    if (found >= 0) {
      *index = found;
      return true;
    }
  }
  return false;
}
