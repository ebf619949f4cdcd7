#include "Object/Instance_Main.h"

#include <unordered_map>

#include "Object/Instance_Class.h"

namespace {
std::unordered_map<int, CInstance*> g_byId;
int g_nextId = INSTANCE_ID_FIRST;
}  // namespace

int Instance_NextId() { return g_nextId++; }
int Instance_PeekNextId() { return g_nextId; }
void Instance_SetNextId(int id) { g_nextId = id; }
void Instance_ReserveId(int id) {
  if (id >= g_nextId) g_nextId = id + 1;
}

void Instance_Register(CInstance* inst) {
  g_byId[inst->id] = inst;
  Instance_ReserveId(inst->id);
}

void Instance_Unregister(CInstance* inst) {
  auto it = g_byId.find(inst->id);
  if (it != g_byId.end() && it->second == inst) g_byId.erase(it);
}

CInstance* CInstance_Find(int id) {
  auto it = g_byId.find(id);
  return it == g_byId.end() ? nullptr : it->second;
}
