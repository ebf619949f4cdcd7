// What running code asks of the game world: the instances a target names
// and the index of a resource by name. The world installs its answers at
// start-up; until then no target names an instance and no name is a resource.
#pragma once
#include <vector>

class CInstance;

// Special targets.
constexpr int TARGET_SELF = -1;
constexpr int TARGET_OTHER = -2;
constexpr int TARGET_ALL = -3;
constexpr int TARGET_NOONE = -4;
constexpr int TARGET_GLOBAL = -5;
constexpr int TARGET_NOT_SPECIFIED = -6;
constexpr int TARGET_LOCAL = -7;

struct CodeWorld {
  // Appends the unmarked instances a target names: self, other, all, an
  // instance id (100000 and up) or an object index with its descendants, in
  // list order.
  void (*collectTargets)(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out);
  // The index of the resource of that name (any kind); false when none.
  bool (*findResource)(const char* name, int* index);
};
void Code_SetWorld(const CodeWorld& world);

// The engine's calls through what the world installed.
void Code_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out);
bool Code_FindResource(const char* name, int* index);
