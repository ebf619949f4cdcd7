// The game world's answers to running code (installed into the engine with
// Code_SetWorld at start-up), also called directly by the world's areas.
#pragma once
#include <vector>

#include "Code/Code_World.h"
#include "Object/Instance_Main.h"

// Appends the unmarked instances a target names: self, other, all, an
// instance id (100000 and up) or an object index with its descendants, in
// list order.
void Run_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out);
// The index of the resource of that name (any kind); false when none.
bool Resource_FindByName(const char* name, int* index);
