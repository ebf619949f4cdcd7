// The instance-id table.
#pragma once

class CInstance;

// The next id a new instance gets (ids start at 100000).
int Instance_NextId();
int Instance_PeekNextId();
// Sets the next id (after loading a game or the room definitions).
void Instance_SetNextId(int id);
// Raises the next id above an id in use.
void Instance_ReserveId(int id);

// The instance with that id, or null (marked instances included).
CInstance* CInstance_Find(int id);

void Instance_Register(CInstance* inst);
void Instance_Unregister(CInstance* inst);
