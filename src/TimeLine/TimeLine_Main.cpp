#include "TimeLine/TimeLine_Main.h"

#include <algorithm>

#include "Code/Code_Context.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Event.h"
#include "Platform/MemoryManager.h"
#include "Platform/Platform_ResourceTable.h"

namespace {
CResourceTable<CTimeLine, ResourceNaming::InItem> g_timelines;
}

CTimeLine::~CTimeLine() {
  for (auto& m : moments) delete m.event;
  MEM_FREE(name);
}

CEvent* CTimeLine::AddMoment(int step) {
  auto it = std::lower_bound(moments.begin(), moments.end(), step,
                             [](const TimeLineMoment& m, int s) { return m.step < s; });
  if (it != moments.end() && it->step == step) return it->event;
  TimeLineMoment m;
  m.step = step;
  m.event = new CEvent;
  moments.insert(it, m);
  return m.event;
}

void CTimeLine::ClearMoment(int step) {
  for (auto it = moments.begin(); it != moments.end(); ++it) {
    if (it->step == step) {
      delete it->event;
      moments.erase(it);
      return;
    }
  }
}

int TimeLine_Add() { return -1; }

int TimeLine_Create(const char* name) { return g_timelines.Append(new CTimeLine, name ? name : ""); }
CTimeLine* TimeLine_Data(int index) { return g_timelines.Get(index); }
bool TimeLine_Exists(int index) { return TimeLine_Data(index) != nullptr; }
const char* TimeLine_Name(int index) { return g_timelines.Name(index); }
bool TimeLine_Delete(int index) { return g_timelines.Delete(index); }
int TimeLine_Count() { return g_timelines.Count(); }
int TimeLine_FindByName(const char* name) { return g_timelines.FindByName(name); }
void TimeLine_FreeAll() { g_timelines.FreeAll(); }

void TimeLine_Step(CInstance* inst) {
  CTimeLine* t = TimeLine_Data(inst->timeline_index);
  if (!t && inst->timeline_index >= 0) inst->timeline_running = false;  // its time line was deleted
  if (!t || !inst->timeline_running || inst->marked) return;
  float from = inst->timeline_position;
  float to = from + inst->timeline_speed;
  inst->timeline_position = to;
  // Moments run in time order: forwards for a positive speed, backwards
  // for a negative one. The list is copied: a moment may change it.
  std::vector<TimeLineMoment> due;
  for (const TimeLineMoment& m : t->moments)
    if ((to > from && m.step >= from && m.step < to) || (to < from && m.step <= from && m.step > to)) due.push_back(m);
  if (to < from) std::reverse(due.begin(), due.end());
  for (const TimeLineMoment& m : due) {
    if (inst->marked || g_PendingTransition != TRANSITION_NONE) break;
    m.event->Execute(inst, inst);
  }
  if (inst->timeline_loop && inst->timeline_speed > 0 && inst->timeline_position > t->LastStep())
    inst->timeline_position = 0;
}
