// The room table, the room order and the current room.
#pragma once

class CRoom;

extern int g_RoomIndex;    // the current room's index (-1 before the first room)
extern CRoom* g_RunRoom;   // the current room, null before the first room

// A room resource: what the room is each time it starts. Changes made while
// a room runs go to its running copy (g_RunRoom), which only a persistent
// room keeps between visits.
CRoom* Room_Data(int index);
// The running copy of a room (the current room or a persistent room kept
// since its last visit); null when it has none.
CRoom* Room_Running(int index);
// Replaces the room's running copy by a fresh copy of its resource; null
// when the room does not exist.
CRoom* Room_Restart(int index);
// Frees the running copy of one room, or of every room (their instances with
// them).
void Room_Discard(int index);
void Room_DiscardAll();
bool Room_Exists(int index);
const char* Room_Name(int index);
int Room_Count();
int Room_FindByName(const char* name);
// Appends a room (named "__newroom%d" when name is null); returns its index.
int Room_Add(const char* name = nullptr);
// Appends a copy of a room's definition; -1 when it does not exist.
int Room_Duplicate(int index);
// Copies room src's definition into room dst; 0 or less on failure.
int Room_Assign(int dst, int src);
void Room_FreeAll();

// The room order: the first entry is the first room.
void Room_SetOrder(const int* rooms, int count);
int Room_First();
int Room_Last();
// The room before or after one in the order; -1 when the order has fewer
// than two rooms or there is none.
int Room_Previous(int room);
int Room_Next(int room);
