#include "Run/Run_Activation.h"

#include "Object/Object_Event.h"
#include "Run/Run_Physics.h"
#include "Run/Run_Target.h"

namespace {
void SetFlag(CInstance* inst, bool deactivated) {
  if (inst && !inst->marked) inst->deactivated = deactivated;
}

// Outside the region: by the bounding box for an instance with a shape, by
// its position otherwise.
bool Outside(CInstance* inst, float left, float top, float right, float bottom) {
  if (!inst->HasShape()) return inst->x < left || inst->x > right || inst->y < top || inst->y > bottom;
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  return left > r || l > right || top > b || t > bottom;
}

void Apply() {
  if (g_RunRoom) g_RunRoom->ApplyActivation();
}
}  // namespace

CInstance* Run_CopyInstance(CInstance* self, bool perform) {
  if (!g_RunRoom || !self) return nullptr;
  CInstance* copy = g_RunRoom->AddCopy(self);
  copy->creation_serial = g_EventSerial;
  Run_PhysicsMakeBody(copy);
  if (perform) {
    Event_Perform(copy, copy, EV_CREATE, 0);
    copy->create_performed = true;
  }
  return copy;
}

void Run_DeactivateAll(CInstance* self, bool notme) {
  if (!g_RunRoom) return;
  for (CInstance* inst : g_RunRoom->active) SetFlag(inst, true);
  if (notme && self) self->deactivated = false;
  Apply();
}

void Run_DeactivateObject(CInstance* self, CInstance* other, int target) {
  if (!g_RunRoom) return;
  if (target == TARGET_SELF)
    SetFlag(self, true);
  else if (target == TARGET_OTHER)
    SetFlag(other, true);
  else
    Target_ForEach(target, [](CInstance* inst) { inst->deactivated = true; });
  Apply();
}

void Run_ActivateAll() {
  if (!g_RunRoom) return;
  for (CInstance* inst : g_RunRoom->deactivated) inst->deactivated = false;
  Apply();
}

void Run_ActivateObject(CInstance* self, CInstance* other, int target) {
  if (!g_RunRoom) return;
  if (target == TARGET_SELF) {
    SetFlag(self, false);
  } else if (target == TARGET_OTHER) {
    SetFlag(other, false);
  } else if (target >= INSTANCE_ID_FIRST) {
    SetFlag(CInstance_Find(target), false);
  } else {
    for (CInstance* inst : g_RunRoom->deactivated) {
      if (target == TARGET_ALL || inst->object_index == target) {
        inst->deactivated = false;
      } else if (CObject* obj = Object_Find(inst->object_index); obj && target >= 0 && obj->HasAncestor(target)) {
        inst->deactivated = false;
      }
    }
  }
  Apply();
}

void Run_DeactivateRegion(CInstance* self, float left, float top, float width, float height, bool inside, bool notme) {
  if (!g_RunRoom) return;
  float right = left + width, bottom = top + height;
  for (CInstance* inst : g_RunRoom->active)
    if (!inst->marked && Outside(inst, left, top, right, bottom) != inside) inst->deactivated = true;
  if (notme && self) self->deactivated = false;
  Apply();
}

void Run_ActivateRegion(float left, float top, float width, float height, bool inside) {
  if (!g_RunRoom) return;
  float right = left + width, bottom = top + height;
  for (CInstance* inst : g_RunRoom->deactivated)
    if (Outside(inst, left, top, right, bottom) != inside) inst->deactivated = false;
  Apply();
}
