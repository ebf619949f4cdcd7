#include "Support/Support_Data_Structures_Table.h"

#include "Base/RValue.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Data_Structures_Grid.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Priority.h"
#include "Support/Support_Data_Structures_Sequence.h"

DS_Table<CDS_Stack> g_DS_Stacks;
DS_Table<CDS_Queue> g_DS_Queues;
DS_Table<CDS_List> g_DS_Lists;
DS_Table<CDS_Map> g_DS_Maps;
DS_Table<CDS_Priority> g_DS_Priorities;
DS_Table<CDS_Grid> g_DS_Grids;

int DS_Map_Create() { return g_DS_Maps.Put(new CDS_Map()); }
int DS_List_Create() { return g_DS_Lists.Put(new CDS_List()); }
int DS_Map_FreeSlot(CDS_Map* map) { return g_DS_Maps.Put(map); }
int DS_List_FreeSlot(CDS_List* list) { return g_DS_Lists.Put(list); }
CDS_Map* DS_Map_Get(int index) { return g_DS_Maps.Get(index); }
CDS_List* DS_List_Get(int index) { return g_DS_Lists.Get(index); }
void DS_Map_Destroy(int index) { g_DS_Maps.Free(index); }

namespace {
template <class T>
void FreeTable(DS_Table<T>& table) {
  for (size_t i = 0; i < table.slots.size(); i++) table.Free(static_cast<int>(i));
}
}  // namespace

void DS_FreeAll() {
  FreeTable(g_DS_Stacks);
  FreeTable(g_DS_Queues);
  FreeTable(g_DS_Lists);
  FreeTable(g_DS_Maps);
  FreeTable(g_DS_Priorities);
  FreeTable(g_DS_Grids);
}
void DS_List_Destroy(int index) { g_DS_Lists.Free(index); }


int DS_Map_CreateFromPairs(int count, const DS_MapPair* pairs) {
  auto* map = new CDS_Map();
  for (int i = 0; pairs && i < count; ++i) {
    RValue key{VALUE_STRING, const_cast<char*>(pairs[i].key), 0.0};
    RValue value = pairs[i].text ? RValue{VALUE_STRING, const_cast<char*>(pairs[i].text), 0.0}
                                 : RValue{VALUE_REAL, nullptr, pairs[i].real};
    map->Add(&key, &value);
  }
  return g_DS_Maps.Put(map);
}

DS_MapHold DS_Map_Hold(int index) { return {index, g_DS_Maps.Serial(index)}; }

void DS_Map_FreeHeld(DS_MapHold hold) {
  if (hold.serial != 0 && g_DS_Maps.Serial(hold.index) == hold.serial) g_DS_Maps.Free(hold.index);
}
