#include "Variable/Variable_List.h"

#include <cstring>

#include "Platform/MemoryManager.h"

RValue* Variable_ElementGrowRows(CVariable* v, int i, int j) {
  if (i >= v->rows) {
    // The row table doubles; the memory manager zero-fills the grown part, so
    // the rows past the count are empty.
    size_t room = MemoryManager::GetSize(v->row) / sizeof(RVariableRow);
    if (static_cast<size_t>(i) >= room) {
      size_t grown = room * 2 > static_cast<size_t>(i) ? room * 2 : static_cast<size_t>(i) + 1;
      v->row = static_cast<RVariableRow*>(MEM_REALLOC(v->row, sizeof(RVariableRow) * grown));
    }
    v->rows = i + 1;
  }
  RVariableRow& r = v->row[i];
  if (j >= r.capacity) {
    int cap = r.capacity < 4 ? 4 : r.capacity;
    while (cap <= j) cap *= 2;
    if (cap > ARRAY_DIMENSION) cap = ARRAY_DIMENSION;
    r.items = static_cast<RValue*>(MEM_REALLOC(r.items, sizeof(RValue) * cap));
    r.capacity = cap;
  }
  if (j >= r.length) r.length = j + 1;
  return &r.items[j];
}

void Variable_Clear(CVariable* v) {
  RValue_Free(&v->value);
  for (int i = 0; i < v->rows; ++i) {
    RVariableRow& r = v->row[i];
    for (int j = 0; j < r.length; ++j)
      if (r.items[j].str) MEM_FREE(r.items[j].str);
    MEM_FREE(r.items);
  }
  MEM_FREE(v->row);
  v->row = nullptr;
  v->rows = 0;
}

CVariableList::~CVariableList() { Clear(); }

CVariable* CVariableList::FindOrAdd(int id) {
  Node** link = &m_bucket[id & (BUCKETS - 1)];
  for (; *link; link = &(*link)->next)
    if ((*link)->id == id) return &(*link)->var;
  Node* n = new Node{id, nullptr, {}};
  *link = n;
  ++m_count;
  return &n->var;
}

void CVariableList::Clear() {
  for (Node*& b : m_bucket) {
    while (b) {
      Node* next = b->next;
      Variable_Clear(&b->var);
      delete b;
      b = next;
    }
  }
  m_count = 0;
}
