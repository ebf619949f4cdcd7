// The script data structures by index: a table per kind from the indices the
// ds_* built-ins use to the structures, and the engine's side of them (maps
// and lists made for scripts by asynchronous events, the login box and the
// JSON decoder, reached by index and freed). A new structure takes the lowest
// free index of its kind.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CDS_Grid;
class CDS_List;
class CDS_Map;
class CDS_Priority;
class CDS_Queue;
class CDS_Stack;

// Structures of one kind by index. A new structure takes the lowest empty
// slot, else one at the end. Every filling of a slot gets a new serial, so a
// holder can tell its structure from a later one in the same slot. Whoever
// puts or frees includes the kind's class (Support_Data_Structures_*.h).
template <class T>
struct DS_Table {
  struct Slot {
    T* object;
    uint64_t serial;
  };
  std::vector<Slot> slots;
  size_t firstFree = 0;  // no slot below it is empty

  int Put(T* object) {
    static uint64_t s_Serial = 0;
    size_t i = firstFree;
    while (i < slots.size() && slots[i].object) ++i;
    if (i == slots.size()) slots.push_back({nullptr, 0});
    slots[i] = {object, ++s_Serial};
    firstFree = i + 1;
    return static_cast<int>(i);
  }
  T* Get(int64_t index) const {
    return (index >= 0 && index < static_cast<int64_t>(slots.size())) ? slots[index].object : nullptr;
  }
  uint64_t Serial(int index) const { return Get(index) ? slots[index].serial : 0; }
  void Free(int index) {
    T* object = Get(index);
    if (!object) return;
    slots[index].object = nullptr;
    if (static_cast<size_t>(index) < firstFree) firstFree = index;
    delete object;
  }
};

extern DS_Table<CDS_Stack> g_DS_Stacks;
extern DS_Table<CDS_Queue> g_DS_Queues;
extern DS_Table<CDS_List> g_DS_Lists;
extern DS_Table<CDS_Map> g_DS_Maps;
extern DS_Table<CDS_Priority> g_DS_Priorities;
extern DS_Table<CDS_Grid> g_DS_Grids;

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

// Destroys every structure of every kind: the end of the run.
void DS_FreeAll();
