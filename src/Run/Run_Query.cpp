#include "Run/Run_Query.h"

#include "Run/Run_Target.h"

CInstance* Run_NearestInstance(float x, float y, int target) {
  if (target != TARGET_ALL && (target < 0 || target >= INSTANCE_ID_FIRST)) return nullptr;
  CInstance* best = nullptr;
  float best_d = 0;  // squared, kept in single precision
  Target_ForEach(target, [&](CInstance* inst) {
    double dx = static_cast<double>(inst->x) - x, dy = static_cast<double>(inst->y) - y;
    float d = static_cast<float>(dx * dx + dy * dy);
    if (!best || d < best_d) best = inst, best_d = d;
  });
  return best;
}

CInstance* Run_InstanceFind(int target, int n) {
  if (n < 0 || (target >= INSTANCE_ID_FIRST && n != 0)) return nullptr;
  return Target_Find(target, [&](CInstance*) { return n-- == 0; });
}
