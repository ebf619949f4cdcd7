#include "Run/Run_Query.h"

#include "Run/Run_Target.h"

CInstance* Run_InstanceFind(int target, int n) {
  if (n < 0 || (target >= INSTANCE_ID_FIRST && n != 0)) return nullptr;
  return Target_Find(target, [&](CInstance*) { return n-- == 0; });
}
