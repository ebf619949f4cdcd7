// What running code asks of the game world: instances by id and by target,
// and resource names. Defined by the game world.
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

// The instance with that id, or null (marked instances included).
CInstance* CInstance_Find(int id);
// Appends the unmarked instances a target names: self, other, all, an instance
// id (100000 and up) or an object index with its descendants, in list order.
void Run_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out);
// The index of the resource of that name (any kind); false when none.
bool Resource_FindByName(const char* name, int* index);
