// The engine's side of the script data structures: making maps and lists for
// scripts (asynchronous events, the JSON decoder), reaching them by index and
// freeing them. Indices are those the ds_* built-ins use; a new structure
// takes the lowest free index of its kind.
#pragma once
#include <cstdint>

class CDS_Map;
class CDS_List;

// Makes an empty map or list and gives its index.
int DS_Map_Create();
int DS_List_Create();
// Puts a structure made by the caller into the lowest free index and gives
// the index; the table owns it from then on.
int DS_Map_FreeSlot(CDS_Map* map);
int DS_List_FreeSlot(CDS_List* list);
// The structure at an index; none when the index holds none.
CDS_Map* DS_Map_Get(int index);
CDS_List* DS_List_Get(int index);
// Destroys the structure at an index and frees the index for reuse; nothing
// when the index holds none.
void DS_Map_Destroy(int index);
void DS_List_Destroy(int index);

// Add under a text key through "ds_map_add", or append to a list; a bad
// index is reported as the built-ins report it.
void DS_Map_AddReal(int index, const char* key, double value);
void DS_Map_AddString(int index, const char* key, const char* value);
void DS_List_AddReal(int index, double value);
void DS_List_AddString(int index, const char* value);

// One pair of an engine map: a text key with a text value, or, when text is
// none, the real.
struct DS_MapPair {
  const char* key;
  double real;
  const char* text;
};
// Makes a map of the pairs in order (a repeated key keeps its first value)
// and gives its index.
int DS_Map_CreateFromPairs(int count, const DS_MapPair* pairs);

// An asynchronous event's map: the step takes a hold on it before the event
// and frees it afterwards, but only when its index still holds that same map
// (the event's code may have destroyed it and made another in its place).
struct DS_MapHold {
  int index;
  uint64_t serial;
};
DS_MapHold DS_Map_Hold(int index);
void DS_Map_FreeHeld(DS_MapHold hold);
