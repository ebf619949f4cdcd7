#include "Code/Code_World.h"

namespace {
void NoTargets(int, CInstance*, CInstance*, std::vector<CInstance*>&) {}
bool NoResources(const char*, int*) { return false; }

CodeWorld g_World{NoTargets, NoResources};
}  // namespace

void Code_SetWorld(const CodeWorld& world) {
  g_World.collectTargets = world.collectTargets ? world.collectTargets : NoTargets;
  g_World.findResource = world.findResource ? world.findResource : NoResources;
}

void Code_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out) {
  g_World.collectTargets(target, self, other, out);
}

bool Code_FindResource(const char* name, int* index) { return g_World.findResource(name, index); }
