#include "Run/Run_Services.h"

#include "Object/Instance_Class.h"

CInstance* CInstance_Find(int id) { return nullptr; }

void Run_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out) {
  CInstance* one = target == TARGET_SELF ? self : target == TARGET_OTHER ? other : nullptr;
  if (one && !one->marked) out.push_back(one);
}

bool Resource_FindByName(const char* name, int* index) { return false; }
