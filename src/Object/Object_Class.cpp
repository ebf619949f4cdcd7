#include "Object/Object_Class.h"

#include <algorithm>

#include "Platform/MemoryManager.h"

CObject::~CObject() {
  for (auto& table : events)
    for (auto& entry : table) delete entry.second;
  MEM_FREE(name);
}

CEvent* CObject::GetOwnEvent(int type, int number) const {
  if (type < 0 || type >= EV_TYPE_COUNT) return nullptr;
  auto it = events[type].find(number);
  return it == events[type].end() ? nullptr : it->second;
}

CEvent* CObject::FindEvent(int type, int number, int* owner) const {
  for (const CObject* o = this; o; o = o->parent) {
    if (CEvent* ev = o->GetOwnEvent(type, number)) {
      if (owner) *owner = o->index;
      return ev;
    }
  }
  if (owner) *owner = -1;
  return nullptr;
}

bool CObject::HasAncestor(int ancestor) const {
  for (const CObject* o = parent; o; o = o->parent)
    if (o->index == ancestor) return true;
  return false;
}

void CObject::SetEvent(int type, int number, CEvent* ev) {
  if (type < 0 || type >= EV_TYPE_COUNT) {
    delete ev;
    return;
  }
  CEvent*& slot = events[type][number];
  if (slot != ev) delete slot;
  slot = ev;
}

CEvent* CObject::TakeEvent(int type, int number) {
  CEvent* ev = GetOwnEvent(type, number);
  if (ev) events[type].erase(number);
  return ev;
}

void CObject::AddInstance(CInstance* inst) {
  instances.push_back(inst);
  for (CObject* o = this; o; o = o->parent) o->instances_recursive.push_back(inst);
}

static void Erase(std::vector<CInstance*>& list, CInstance* inst) {
  auto it = std::find(list.begin(), list.end(), inst);
  if (it != list.end()) list.erase(it);
}

void CObject::RemoveInstance(CInstance* inst) {
  Erase(instances, inst);
  for (CObject* o = this; o; o = o->parent) Erase(o->instances_recursive, inst);
}
