#include "Object/Object_Event.h"

#include <vector>

#include "Code/Code_Context.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"

uint64_t g_EventSerial = 0;

CEvent::~CEvent() { MEM_FREE(source); }

void CEvent::Execute(CInstance* self, CInstance* other) {
  uint8_t saved = g_ActionRelative;
  g_ActionRelative = 0;
  Code_ExecuteUnit(code, self, other);
  g_ActionRelative = saved;
}

void Event_PerformObject(CInstance* self, CInstance* other, int object_index, int type, int number) {
  CObject* obj = Object_Find(object_index);
  if (!self || !obj) return;
  int owner;
  CEvent* ev = obj->FindEvent(type, number, &owner);
  if (!ev) return;
  CodeEventContext saved = g_CodeEventContext;
  g_CodeEventContext = CodeEventContext{};
  g_CodeEventContext.object_index = owner;
  g_CodeEventContext.object_name = Object_Name(owner);
  g_CodeEventContext.event_type = type;
  g_CodeEventContext.event_number = number;
  g_CodeEventContext.action_index = 0;  // an event's code is its first and only action
  ev->Execute(self, other);
  g_CodeEventContext = saved;
}

void Event_Perform(CInstance* self, CInstance* other, int type, int number) {
  if (!self || g_PendingTransition != TRANSITION_NONE) return;
  Event_PerformObject(self, other, self->object_index, type, number);
}

// Whether an instance takes part in a pass begun with that serial.
static bool InPass(const CInstance* inst, uint64_t serial) {
  return !inst->marked && !inst->deactivated && inst->creation_serial < serial;
}

void Event_PerformAll(int type, int number) {
  if (!g_RunRoom) return;
  uint64_t serial = Event_NextPass();
  std::vector<CInstance*> list = g_RunRoom->active;
  for (CInstance* inst : list)
    if (InPass(inst, serial)) Event_Perform(inst, inst, type, number);
}

void Event_PerformPass(int type, int number) {
  uint64_t serial = Event_NextPass();
  // A copy: an event may change the objects' events or parents, which
  // rebuilds the lists.
  const std::vector<int> objects = Object_EventList(type, number);
  for (int index : objects) {
    CObject* obj = Object_Find(index);
    if (!obj) continue;
    std::vector<CInstance*> list = obj->instances;
    for (CInstance* inst : list)
      if (InPass(inst, serial)) Event_Perform(inst, inst, type, number);
  }
}
