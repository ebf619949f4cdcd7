// The ds_* built-ins: the handlers that check an index into the tables,
// convert their arguments and drive the
// structure. Every handler but the create ones and ds_set_precision takes the
// structure's index first (rounded, halves to even) and reports a bad or
// destroyed index as a script error without doing anything else.
#include "Function/Function_Data_Structures.h"

#include <cstddef>

#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Data_Structures_Grid.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Priority.h"
#include "Support/Support_Data_Structures_Sequence.h"
#include "Support/Support_Data_Structures_Table.h"

namespace {
const char kNoIndex[] = "Data structure with index does not exist.";

// ---- Arguments and results ----

// The index an argument names, rounded (halves to even) or truncated; a
// whole number, the usual index, is taken as it is.
int32_t IndexOf(const RValue& a, bool truncate) {
  double d = RValue_Real(a);
  if (d >= 0 && d < 2147483648.0 && d == static_cast<int32_t>(d)) return static_cast<int32_t>(d);
  return truncate ? RValue_TruncInt(a) : RValue_RoundInt(a);
}

// The structure named by an argument, or none after reporting the error.
template <class T>
T* Find(const DS_Table<T>& table, const RValue& a, bool truncate = false) {
  T* object = table.Get(IndexOf(a, truncate));
  if (!object) Error_Show_Action(kNoIndex, false);
  return object;
}

// A copy of a stored value (kind, real and text), or the real 0 for none.
void GiveValue(RValue& result, const RValue* v) {
  if (!v) {
    RValue_SetReal(&result, 0.0);
  } else if (v->kind == VALUE_STRING) {
    DS_Slot_Store(&result, v);
  } else {
    if (result.str) DS_Slot_DropText(&result);
    result.kind = v->kind;
    result.val = v->val;
  }
}

void GiveText(RValue& result, char* text) {
  if (text) {
    RValue_SetStringOwned(&result, text);
  } else {
    RValue_SetString(&result, "");
  }
}

// ---- What every kind shares ----

template <class T>
void Create(DS_Table<T>& table, RValue& result) {
  Give(result, table.Put(new T()));
}

template <class T>
void Destroy(DS_Table<T>& table, const RValue* arg) {
  if (Find(table, arg[0])) table.Free(RValue_RoundInt(arg[0]));
}

template <class T>
void Copy(DS_Table<T>& table, const RValue* arg) {
  T* dest = Find(table, arg[0]);
  if (!dest) return;
  if (T* source = Find(table, arg[1])) dest->Copy(source);
}

template <class T>
void Size(DS_Table<T>& table, RValue& result, const RValue* arg) {
  if (T* object = Find(table, arg[0])) Give(result, object->Size());
}

template <class T>
void Empty(DS_Table<T>& table, RValue& result, const RValue* arg) {
  if (T* object = Find(table, arg[0])) Give(result, object->Empty() ? 1.0 : 0.0);
}

template <class T>
void Write(DS_Table<T>& table, RValue& result, const RValue* arg) {
  if (T* object = Find(table, arg[0])) GiveText(result, object->WriteToString());
}

// A value that is not a string reads as the empty text.
template <class T>
void Read(DS_Table<T>& table, const RValue* arg) {
  if (T* object = Find(table, arg[0])) object->ReadFromString(RValue_Text(arg[1]));
}
}  // namespace

#define DS_HANDLER(name) static void name(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg)

DS_HANDLER(F_DsSetPrecision) { DS_SetPrecision(RValue_Real(arg[0])); }

// ---- Stacks ----

DS_HANDLER(F_DsStackCreate) { Create(g_DS_Stacks, Result); }
DS_HANDLER(F_DsStackDestroy) { Destroy(g_DS_Stacks, arg); }
DS_HANDLER(F_DsStackClear) {
  if (CDS_Stack* s = Find(g_DS_Stacks, arg[0])) s->Clear();
}
DS_HANDLER(F_DsStackCopy) { Copy(g_DS_Stacks, arg); }
DS_HANDLER(F_DsStackSize) { Size(g_DS_Stacks, Result, arg); }
DS_HANDLER(F_DsStackEmpty) { Empty(g_DS_Stacks, Result, arg); }
DS_HANDLER(F_DsStackPush) {
  if (CDS_Stack* s = Find(g_DS_Stacks, arg[0])) s->Push(&arg[1]);
}
DS_HANDLER(F_DsStackPop) {
  if (CDS_Stack* s = Find(g_DS_Stacks, arg[0])) GiveValue(Result, s->Pop());
}
DS_HANDLER(F_DsStackTop) {
  if (CDS_Stack* s = Find(g_DS_Stacks, arg[0])) GiveValue(Result, s->Top());
}
DS_HANDLER(F_DsStackWrite) { Write(g_DS_Stacks, Result, arg); }
DS_HANDLER(F_DsStackRead) { Read(g_DS_Stacks, arg); }

// ---- Queues ----

DS_HANDLER(F_DsQueueCreate) { Create(g_DS_Queues, Result); }
DS_HANDLER(F_DsQueueDestroy) { Destroy(g_DS_Queues, arg); }
DS_HANDLER(F_DsQueueClear) {
  if (CDS_Queue* q = Find(g_DS_Queues, arg[0])) q->Clear();
}
DS_HANDLER(F_DsQueueCopy) { Copy(g_DS_Queues, arg); }
DS_HANDLER(F_DsQueueSize) { Size(g_DS_Queues, Result, arg); }
DS_HANDLER(F_DsQueueEmpty) { Empty(g_DS_Queues, Result, arg); }
DS_HANDLER(F_DsQueueEnqueue) {
  if (CDS_Queue* q = Find(g_DS_Queues, arg[0])) q->Enqueue(&arg[1]);
}
DS_HANDLER(F_DsQueueDequeue) {
  if (CDS_Queue* q = Find(g_DS_Queues, arg[0])) GiveValue(Result, q->Dequeue());
}
DS_HANDLER(F_DsQueueHead) {
  if (CDS_Queue* q = Find(g_DS_Queues, arg[0])) GiveValue(Result, q->Head());
}
DS_HANDLER(F_DsQueueTail) {
  if (CDS_Queue* q = Find(g_DS_Queues, arg[0])) GiveValue(Result, q->Tail());
}
DS_HANDLER(F_DsQueueWrite) { Write(g_DS_Queues, Result, arg); }
DS_HANDLER(F_DsQueueRead) { Read(g_DS_Queues, arg); }

// ---- Lists ----

DS_HANDLER(F_DsListCreate) { Create(g_DS_Lists, Result); }
DS_HANDLER(F_DsListDestroy) { Destroy(g_DS_Lists, arg); }
DS_HANDLER(F_DsListClear) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Clear();
}
DS_HANDLER(F_DsListCopy) { Copy(g_DS_Lists, arg); }
DS_HANDLER(F_DsListSize) { Size(g_DS_Lists, Result, arg); }
DS_HANDLER(F_DsListEmpty) { Empty(g_DS_Lists, Result, arg); }
DS_HANDLER(F_DsListAdd) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Add(&arg[1]);
}
DS_HANDLER(F_DsListInsert) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Insert(RValue_RoundInt(arg[1]), &arg[2]);
}
DS_HANDLER(F_DsListReplace) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Replace(RValue_RoundInt(arg[1]), &arg[2]);
}
DS_HANDLER(F_DsListDelete) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Delete(RValue_RoundInt(arg[1]));
}
DS_HANDLER(F_DsListFindIndex) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0], true)) Give(Result, l->FindIndex(&arg[1]));
}
DS_HANDLER(F_DsListFindValue) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) GiveValue(Result, l->FindValue(RValue_RoundInt(arg[1])));
}
DS_HANDLER(F_DsListSort) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Sort(RValue_IsTrue(arg[1]));
}
DS_HANDLER(F_DsListShuffle) {
  if (CDS_List* l = Find(g_DS_Lists, arg[0])) l->Shuffle();
}
DS_HANDLER(F_DsListWrite) { Write(g_DS_Lists, Result, arg); }
DS_HANDLER(F_DsListRead) { Read(g_DS_Lists, arg); }

// ---- Maps ----

namespace {
// A copy of an entry's key, or of its value with the nesting marks cleared.
void GiveKey(RValue& result, const CDS_MapEntry* e) {
  if (!e) return GiveValue(result, nullptr);
  RValue key;
  e->GetKey(&key);
  GiveValue(result, &key);
}

// The key a map built-in takes as argument 1: the argument, or a text of
// known length that a call made (the text-key form).
struct MapKey {
  const RValue* value;
  const char* text;
  size_t length;

  CDS_MapEntry* FindIn(const CDS_Map* m) const { return value ? m->FindEntry(value) : m->FindText(text, length); }
  bool AddTo(CDS_Map* m, const RValue* v) const { return value ? m->Add(value, v) : m->AddText(text, length, v); }
  bool ReplaceIn(CDS_Map* m, const RValue* v) const {
    return value ? m->Replace(value, v) : m->ReplaceText(text, length, v);
  }
};

void MapAdd(RValue& result, const RValue* arg, const MapKey& key) {
  CDS_Map* m = Find(g_DS_Maps, arg[0]);
  Give(result, m && key.AddTo(m, &arg[2]) ? 1.0 : 0.0);
}
void MapReplace(RValue& result, const RValue* arg, const MapKey& key) {
  CDS_Map* m = Find(g_DS_Maps, arg[0]);
  Give(result, m && key.ReplaceIn(m, &arg[2]) ? 1.0 : 0.0);
}
void MapExists(RValue& result, const RValue* arg, const MapKey& key) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) Give(result, key.FindIn(m) ? 1.0 : 0.0);
}
void MapFindValue(RValue& result, const RValue* arg, const MapKey& key) {
  CDS_Map* m = Find(g_DS_Maps, arg[0]);
  if (!m) return;
  const CDS_MapEntry* e = key.FindIn(m);
  if (!e) return GiveValue(result, nullptr);
  RValue value;
  e->GetValue(&value);
  GiveValue(result, &value);
  result.kind &= 0xFFFFFFu;  // a nested map or list reaches scripts as its plain index
}
}  // namespace

#define DS_TEXT_KEY_HANDLER(name) static void name(RValue& Result, const RValue* arg, const char* key, size_t length)

DS_HANDLER(F_DsMapCreate) { Create(g_DS_Maps, Result); }
DS_HANDLER(F_DsMapDestroy) { Destroy(g_DS_Maps, arg); }
DS_HANDLER(F_DsMapClear) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) m->Clear();
}
DS_HANDLER(F_DsMapCopy) { Copy(g_DS_Maps, arg); }
DS_HANDLER(F_DsMapSize) { Size(g_DS_Maps, Result, arg); }
DS_HANDLER(F_DsMapEmpty) { Empty(g_DS_Maps, Result, arg); }
DS_HANDLER(F_DsMapAdd) { MapAdd(Result, arg, {&arg[1], nullptr, 0}); }
DS_TEXT_KEY_HANDLER(F_DsMapAddTextKey) { MapAdd(Result, arg, {nullptr, key, length}); }
DS_HANDLER(F_DsMapReplace) { MapReplace(Result, arg, {&arg[1], nullptr, 0}); }
DS_TEXT_KEY_HANDLER(F_DsMapReplaceTextKey) { MapReplace(Result, arg, {nullptr, key, length}); }
DS_HANDLER(F_DsMapDelete) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) m->Delete(&arg[1]);
}
DS_HANDLER(F_DsMapExists) { MapExists(Result, arg, {&arg[1], nullptr, 0}); }
DS_TEXT_KEY_HANDLER(F_DsMapExistsTextKey) { MapExists(Result, arg, {nullptr, key, length}); }
DS_HANDLER(F_DsMapFindValue) { MapFindValue(Result, arg, {&arg[1], nullptr, 0}); }
DS_TEXT_KEY_HANDLER(F_DsMapFindValueTextKey) { MapFindValue(Result, arg, {nullptr, key, length}); }
DS_HANDLER(F_DsMapFindPrevious) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) GiveKey(Result, m->FindPrevious(&arg[1]));
}
DS_HANDLER(F_DsMapFindNext) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) GiveKey(Result, m->FindNext(&arg[1]));
}
DS_HANDLER(F_DsMapFindFirst) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) GiveKey(Result, m->FindFirst());
}
DS_HANDLER(F_DsMapFindLast) {
  if (CDS_Map* m = Find(g_DS_Maps, arg[0])) GiveKey(Result, m->FindLast());
}
DS_HANDLER(F_DsMapWrite) { Write(g_DS_Maps, Result, arg); }
DS_HANDLER(F_DsMapRead) { Read(g_DS_Maps, arg); }

// ---- Priority queues ----

DS_HANDLER(F_DsPriorityCreate) { Create(g_DS_Priorities, Result); }
DS_HANDLER(F_DsPriorityDestroy) { Destroy(g_DS_Priorities, arg); }
DS_HANDLER(F_DsPriorityClear) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->Clear();
}
DS_HANDLER(F_DsPriorityCopy) { Copy(g_DS_Priorities, arg); }
DS_HANDLER(F_DsPrioritySize) { Size(g_DS_Priorities, Result, arg); }
DS_HANDLER(F_DsPriorityEmpty) { Empty(g_DS_Priorities, Result, arg); }
DS_HANDLER(F_DsPriorityAdd) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->Add(&arg[1], &arg[2]);
}
DS_HANDLER(F_DsPriorityChangePriority) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->ChangePriority(&arg[1], &arg[2]);
}
DS_HANDLER(F_DsPriorityFindPriority) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) GiveValue(Result, p->FindPriority(&arg[1]));
}
DS_HANDLER(F_DsPriorityDeleteValue) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->DeleteValue(&arg[1]);
}
DS_HANDLER(F_DsPriorityDeleteMin) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->DeleteMin(&Result);
}
DS_HANDLER(F_DsPriorityFindMin) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) GiveValue(Result, p->FindMin());
}
DS_HANDLER(F_DsPriorityDeleteMax) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) p->DeleteMax(&Result);
}
DS_HANDLER(F_DsPriorityFindMax) {
  if (CDS_Priority* p = Find(g_DS_Priorities, arg[0])) GiveValue(Result, p->FindMax());
}
DS_HANDLER(F_DsPriorityWrite) { Write(g_DS_Priorities, Result, arg); }
DS_HANDLER(F_DsPriorityRead) { Read(g_DS_Priorities, arg); }

// ---- Grids ----

DS_HANDLER(F_DsGridCreate) {
  Give(Result, g_DS_Grids.Put(new CDS_Grid(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]))));
}
DS_HANDLER(F_DsGridDestroy) { Destroy(g_DS_Grids, arg); }
DS_HANDLER(F_DsGridCopy) { Copy(g_DS_Grids, arg); }
DS_HANDLER(F_DsGridResize) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) g->Resize(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
DS_HANDLER(F_DsGridWidth) {
  Give(Result, 0.0);
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) Give(Result, g->Width());
}
DS_HANDLER(F_DsGridHeight) {
  Give(Result, 0.0);
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) Give(Result, g->Height());
}
DS_HANDLER(F_DsGridClear) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) g->Clear(&arg[1]);
}

namespace {
void CellOp(int op, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) g->CellOp(op, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), &arg[3]);
}
void RegionOp(int op, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    g->RegionOp(op, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]),
                &arg[5]);
}
void DiskOp(int op, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    g->DiskOp(op, RValue_Real(arg[1]), RValue_Real(arg[2]), RValue_Real(arg[3]), &arg[4]);
}
void GridRegionOp(int op, const RValue* arg) {
  CDS_Grid* dest = Find(g_DS_Grids, arg[0]);
  if (!dest) return;
  if (CDS_Grid* source = Find(g_DS_Grids, arg[1]))
    dest->GridRegionOp(op, source, RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]),
                       RValue_RoundInt(arg[5]), RValue_RoundInt(arg[6]), RValue_RoundInt(arg[7]));
}

using RegionQuery = double (CDS_Grid::*)(int, int, int, int) const;
using DiskQuery = double (CDS_Grid::*)(double, double, double) const;
void Region(RegionQuery query, RValue& result, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    Give(result, (g->*query)(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]),
                                 RValue_RoundInt(arg[4])));
}
void Disk(DiskQuery query, RValue& result, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    Give(result, (g->*query)(RValue_Real(arg[1]), RValue_Real(arg[2]), RValue_Real(arg[3])));
}

template <class R>
void RegionSearch(R (CDS_Grid::*query)(int, int, int, int, const RValue*) const, RValue& result, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    Give(result, (g->*query)(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]),
                                 RValue_RoundInt(arg[4]), &arg[5]));
}
template <class R>
void DiskSearch(R (CDS_Grid::*query)(double, double, double, const RValue*) const, RValue& result, const RValue* arg) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0]))
    Give(result, (g->*query)(RValue_Real(arg[1]), RValue_Real(arg[2]), RValue_Real(arg[3]), &arg[4]));
}
}  // namespace

DS_HANDLER(F_DsGridSet) { CellOp(DS_OP_SET, arg); }
DS_HANDLER(F_DsGridAdd) { CellOp(DS_OP_ADD, arg); }
DS_HANDLER(F_DsGridMultiply) { CellOp(DS_OP_MULTIPLY, arg); }
DS_HANDLER(F_DsGridSetRegion) { RegionOp(DS_OP_SET, arg); }
DS_HANDLER(F_DsGridAddRegion) { RegionOp(DS_OP_ADD, arg); }
DS_HANDLER(F_DsGridMultiplyRegion) { RegionOp(DS_OP_MULTIPLY, arg); }
DS_HANDLER(F_DsGridSetDisk) { DiskOp(DS_OP_SET, arg); }
DS_HANDLER(F_DsGridAddDisk) { DiskOp(DS_OP_ADD, arg); }
DS_HANDLER(F_DsGridMultiplyDisk) { DiskOp(DS_OP_MULTIPLY, arg); }
DS_HANDLER(F_DsGridSetGridRegion) { GridRegionOp(DS_OP_SET, arg); }
DS_HANDLER(F_DsGridAddGridRegion) { GridRegionOp(DS_OP_ADD, arg); }
DS_HANDLER(F_DsGridMultiplyGridRegion) { GridRegionOp(DS_OP_MULTIPLY, arg); }
DS_HANDLER(F_DsGridGet) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) GiveValue(Result, g->Get(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2])));
}
DS_HANDLER(F_DsGridGetSum) { Region(&CDS_Grid::GetSum, Result, arg); }
DS_HANDLER(F_DsGridGetMax) { Region(&CDS_Grid::GetMax, Result, arg); }
DS_HANDLER(F_DsGridGetMin) { Region(&CDS_Grid::GetMin, Result, arg); }
DS_HANDLER(F_DsGridGetMean) { Region(&CDS_Grid::GetMean, Result, arg); }
DS_HANDLER(F_DsGridGetDiskSum) { Disk(&CDS_Grid::GetDiskSum, Result, arg); }
DS_HANDLER(F_DsGridGetDiskMax) { Disk(&CDS_Grid::GetDiskMax, Result, arg); }
DS_HANDLER(F_DsGridGetDiskMin) { Disk(&CDS_Grid::GetDiskMin, Result, arg); }
DS_HANDLER(F_DsGridGetDiskMean) { Disk(&CDS_Grid::GetDiskMean, Result, arg); }
DS_HANDLER(F_DsGridValueExists) { RegionSearch(&CDS_Grid::ValueExists, Result, arg); }
DS_HANDLER(F_DsGridValueX) { RegionSearch(&CDS_Grid::ValueX, Result, arg); }
DS_HANDLER(F_DsGridValueY) { RegionSearch(&CDS_Grid::ValueY, Result, arg); }
DS_HANDLER(F_DsGridValueDiskExists) { DiskSearch(&CDS_Grid::ValueDiskExists, Result, arg); }
DS_HANDLER(F_DsGridValueDiskX) { DiskSearch(&CDS_Grid::ValueDiskX, Result, arg); }
DS_HANDLER(F_DsGridValueDiskY) { DiskSearch(&CDS_Grid::ValueDiskY, Result, arg); }
DS_HANDLER(F_DsGridShuffle) {
  if (CDS_Grid* g = Find(g_DS_Grids, arg[0])) g->Shuffle();
}
DS_HANDLER(F_DsGridWrite) { Write(g_DS_Grids, Result, arg); }
DS_HANDLER(F_DsGridRead) { Read(g_DS_Grids, arg); }

// ---- The engine's helpers that report as the built-ins do ----

void DS_Map_AddReal(int index, const char* key, double value) {
  RValue args[3] = {{VALUE_REAL, nullptr, double(index)}, {VALUE_STRING, const_cast<char*>(key), 0.0},
                    {VALUE_REAL, nullptr, value}};
  RValue result{VALUE_REAL, nullptr, 0.0};
  F_DsMapAdd(result, nullptr, nullptr, 3, args);
}

void DS_Map_AddString(int index, const char* key, const char* value) {
  RValue args[3] = {{VALUE_REAL, nullptr, double(index)}, {VALUE_STRING, const_cast<char*>(key), 0.0},
                    {VALUE_STRING, const_cast<char*>(value), 0.0}};
  RValue result{VALUE_REAL, nullptr, 0.0};
  F_DsMapAdd(result, nullptr, nullptr, 3, args);
}

void DS_List_AddReal(int index, double value) {
  RValue v{VALUE_REAL, nullptr, value};
  if (CDS_List* l = Find(g_DS_Lists, RValue{VALUE_REAL, nullptr, double(index)})) l->Add(&v);
}

void DS_List_AddString(int index, const char* value) {
  RValue v{VALUE_STRING, const_cast<char*>(value), 0.0};
  if (CDS_List* l = Find(g_DS_Lists, RValue{VALUE_REAL, nullptr, double(index)})) l->Add(&v);
}

// ---- Registration ----

void Function_Data_Structures_Init() {
  static bool done = false;
  if (done) return;
  done = true;
  Function_Add("ds_set_precision", F_DsSetPrecision, 1);

  Function_Add("ds_stack_create", F_DsStackCreate, 0);
  Function_Add("ds_stack_destroy", F_DsStackDestroy, 1);
  Function_Add("ds_stack_clear", F_DsStackClear, 1);
  Function_Add("ds_stack_copy", F_DsStackCopy, 2);
  Function_Add("ds_stack_size", F_DsStackSize, 1);
  Function_Add("ds_stack_empty", F_DsStackEmpty, 1);
  Function_Add("ds_stack_push", F_DsStackPush, 2);
  Function_Add("ds_stack_pop", F_DsStackPop, 1);
  Function_Add("ds_stack_top", F_DsStackTop, 1);
  Function_Add("ds_stack_write", F_DsStackWrite, 1);
  Function_Add("ds_stack_read", F_DsStackRead, 2);

  Function_Add("ds_queue_create", F_DsQueueCreate, 0);
  Function_Add("ds_queue_destroy", F_DsQueueDestroy, 1);
  Function_Add("ds_queue_clear", F_DsQueueClear, 1);
  Function_Add("ds_queue_copy", F_DsQueueCopy, 2);
  Function_Add("ds_queue_size", F_DsQueueSize, 1);
  Function_Add("ds_queue_empty", F_DsQueueEmpty, 1);
  Function_Add("ds_queue_enqueue", F_DsQueueEnqueue, 2);
  Function_Add("ds_queue_dequeue", F_DsQueueDequeue, 1);
  Function_Add("ds_queue_head", F_DsQueueHead, 1);
  Function_Add("ds_queue_tail", F_DsQueueTail, 1);
  Function_Add("ds_queue_write", F_DsQueueWrite, 1);
  Function_Add("ds_queue_read", F_DsQueueRead, 2);

  Function_Add("ds_list_create", F_DsListCreate, 0);
  Function_Add("ds_list_destroy", F_DsListDestroy, 1);
  Function_Add("ds_list_clear", F_DsListClear, 1);
  Function_Add("ds_list_copy", F_DsListCopy, 2);
  Function_Add("ds_list_size", F_DsListSize, 1);
  Function_Add("ds_list_empty", F_DsListEmpty, 1);
  Function_Add("ds_list_add", F_DsListAdd, 2);
  Function_Add("ds_list_insert", F_DsListInsert, 3);
  Function_Add("ds_list_replace", F_DsListReplace, 3);
  Function_Add("ds_list_delete", F_DsListDelete, 2);
  Function_Add("ds_list_find_index", F_DsListFindIndex, 2);
  Function_Add("ds_list_find_value", F_DsListFindValue, 2);
  Function_Add("ds_list_sort", F_DsListSort, 2);
  Function_Add("ds_list_shuffle", F_DsListShuffle, 1);
  Function_Add("ds_list_write", F_DsListWrite, 1);
  Function_Add("ds_list_read", F_DsListRead, 2);

  Function_Add("ds_map_create", F_DsMapCreate, 0);
  Function_Add("ds_map_destroy", F_DsMapDestroy, 1);
  Function_Add("ds_map_clear", F_DsMapClear, 1);
  Function_Add("ds_map_copy", F_DsMapCopy, 2);
  Function_Add("ds_map_size", F_DsMapSize, 1);
  Function_Add("ds_map_empty", F_DsMapEmpty, 1);
  Function_Add("ds_map_add", F_DsMapAdd, 3);
  Function_Add("ds_map_replace", F_DsMapReplace, 3);
  Function_Add("ds_map_delete", F_DsMapDelete, 2);
  Function_Add("ds_map_exists", F_DsMapExists, 2);
  Function_Add("ds_map_find_value", F_DsMapFindValue, 2);
  Function_Add("ds_map_find_previous", F_DsMapFindPrevious, 2);
  Function_Add("ds_map_find_next", F_DsMapFindNext, 2);
  Function_Add("ds_map_find_first", F_DsMapFindFirst, 1);
  Function_Add("ds_map_find_last", F_DsMapFindLast, 1);
  Function_Add("ds_map_write", F_DsMapWrite, 1);
  Function_Add("ds_map_read", F_DsMapRead, 2);
  Function_SetTextKeyForm("ds_map_add", F_DsMapAddTextKey);
  Function_SetTextKeyForm("ds_map_replace", F_DsMapReplaceTextKey);
  Function_SetTextKeyForm("ds_map_exists", F_DsMapExistsTextKey);
  Function_SetTextKeyForm("ds_map_find_value", F_DsMapFindValueTextKey);

  Function_Add("ds_priority_create", F_DsPriorityCreate, 0);
  Function_Add("ds_priority_destroy", F_DsPriorityDestroy, 1);
  Function_Add("ds_priority_clear", F_DsPriorityClear, 1);
  Function_Add("ds_priority_copy", F_DsPriorityCopy, 2);
  Function_Add("ds_priority_size", F_DsPrioritySize, 1);
  Function_Add("ds_priority_empty", F_DsPriorityEmpty, 1);
  Function_Add("ds_priority_add", F_DsPriorityAdd, 3);
  Function_Add("ds_priority_change_priority", F_DsPriorityChangePriority, 3);
  Function_Add("ds_priority_find_priority", F_DsPriorityFindPriority, 2);
  Function_Add("ds_priority_delete_value", F_DsPriorityDeleteValue, 2);
  Function_Add("ds_priority_delete_min", F_DsPriorityDeleteMin, 1);
  Function_Add("ds_priority_find_min", F_DsPriorityFindMin, 1);
  Function_Add("ds_priority_delete_max", F_DsPriorityDeleteMax, 1);
  Function_Add("ds_priority_find_max", F_DsPriorityFindMax, 1);
  Function_Add("ds_priority_write", F_DsPriorityWrite, 1);
  Function_Add("ds_priority_read", F_DsPriorityRead, 2);

  Function_Add("ds_grid_create", F_DsGridCreate, 2);
  Function_Add("ds_grid_destroy", F_DsGridDestroy, 1);
  Function_Add("ds_grid_copy", F_DsGridCopy, 2);
  Function_Add("ds_grid_resize", F_DsGridResize, 3);
  Function_Add("ds_grid_width", F_DsGridWidth, 1);
  Function_Add("ds_grid_height", F_DsGridHeight, 1);
  Function_Add("ds_grid_clear", F_DsGridClear, 2);
  Function_Add("ds_grid_set", F_DsGridSet, 4);
  Function_Add("ds_grid_add", F_DsGridAdd, 4);
  Function_Add("ds_grid_multiply", F_DsGridMultiply, 4);
  Function_Add("ds_grid_set_region", F_DsGridSetRegion, 6);
  Function_Add("ds_grid_add_region", F_DsGridAddRegion, 6);
  Function_Add("ds_grid_multiply_region", F_DsGridMultiplyRegion, 6);
  Function_Add("ds_grid_set_disk", F_DsGridSetDisk, 5);
  Function_Add("ds_grid_add_disk", F_DsGridAddDisk, 5);
  Function_Add("ds_grid_multiply_disk", F_DsGridMultiplyDisk, 5);
  Function_Add("ds_grid_set_grid_region", F_DsGridSetGridRegion, 8);
  Function_Add("ds_grid_add_grid_region", F_DsGridAddGridRegion, 8);
  Function_Add("ds_grid_multiply_grid_region", F_DsGridMultiplyGridRegion, 8);
  Function_Add("ds_grid_get", F_DsGridGet, 3);
  Function_Add("ds_grid_get_sum", F_DsGridGetSum, 5);
  Function_Add("ds_grid_get_max", F_DsGridGetMax, 5);
  Function_Add("ds_grid_get_min", F_DsGridGetMin, 5);
  Function_Add("ds_grid_get_mean", F_DsGridGetMean, 5);
  Function_Add("ds_grid_get_disk_sum", F_DsGridGetDiskSum, 4);
  Function_Add("ds_grid_get_disk_max", F_DsGridGetDiskMax, 4);
  Function_Add("ds_grid_get_disk_min", F_DsGridGetDiskMin, 4);
  Function_Add("ds_grid_get_disk_mean", F_DsGridGetDiskMean, 4);
  Function_Add("ds_grid_value_exists", F_DsGridValueExists, 6);
  Function_Add("ds_grid_value_x", F_DsGridValueX, 6);
  Function_Add("ds_grid_value_y", F_DsGridValueY, 6);
  Function_Add("ds_grid_value_disk_exists", F_DsGridValueDiskExists, 5);
  Function_Add("ds_grid_value_disk_x", F_DsGridValueDiskX, 5);
  Function_Add("ds_grid_value_disk_y", F_DsGridValueDiskY, 5);
  Function_Add("ds_grid_shuffle", F_DsGridShuffle, 1);
  Function_Add("ds_grid_write", F_DsGridWrite, 1);
  Function_Add("ds_grid_read", F_DsGridRead, 2);
}
