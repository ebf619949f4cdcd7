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
    // The room doubles; it is not cleared, as columns are set when the
    // length reaches them. A row that is made or outgrows its room while
    // shorter than the row before it (the rows of a grid filled in order)
    // gets room for that row's length at once, not a copy at every
    // doubling; a row has at most twice the room of its own length or of
    // the one before it.
    int cap = r.capacity < 4 ? 4 : r.capacity;
    int want = i > 0 && v->row[i - 1].length > j ? v->row[i - 1].length - 1 : j;
    while (cap <= want) cap *= 2;
    if (cap > ARRAY_DIMENSION) cap = ARRAY_DIMENSION;
    r.items = static_cast<RValue*>(MEM_REALLOC_UNCLEARED(r.items, sizeof(RValue) * cap));
    r.capacity = cap;
  }
  if (j >= r.length) Variable_RowExtend(r, j);
  return &r.items[j];
}

void Variable_RowExtend(RVariableRow& r, int j) {
  std::memset(static_cast<void*>(r.items + r.length), 0, sizeof(RValue) * (j + 1 - r.length));
  r.length = j + 1;
}

namespace {
// Frees the texts of n values. Arrays mostly hold reals, so eight values at
// a time are looked at together and a run without text costs a few
// instructions a value.
void FreeTexts(RValue* items, int n) {
  int j = 0;
  for (; j + 8 <= n; j += 8) {
    const RValue* e = items + j;
    uintptr_t any = 0;
    for (int k = 0; k < 8; ++k) any |= reinterpret_cast<uintptr_t>(e[k].str);
    if (any) [[unlikely]]
      for (int k = 0; k < 8; ++k)
        if (e[k].str) MEM_FREE(e[k].str);
  }
  for (; j < n; ++j)
    if (items[j].str) MEM_FREE(items[j].str);
}
}  // namespace

void Variable_Clear(CVariable* v) {
  RValue_Free(&v->value);
  for (int i = 0; i < v->rows; ++i) {
    RVariableRow& r = v->row[i];
    FreeTexts(r.items, r.length);
    MEM_FREE(r.items);
  }
  MEM_FREE(v->row);
  v->row = nullptr;
  v->rows = 0;
}

CVariableList::~CVariableList() {
  Clear();
  delete[] m_bucket;
}

CVariable* CVariableList::FindOrAdd(int id) {
  if (CVariable* v = Find(id)) return v;
  ++m_count;
  if (m_inline < INLINE) {
    m_ids[m_inline] = id;
    return &m_vars[m_inline++];  // cleared: the real 0
  }
  if (!m_bucket) m_bucket = new Node*[BUCKETS]();
  Node** link = &m_bucket[id & (BUCKETS - 1)];
  while (*link) link = &(*link)->next;
  *link = new Node{id, nullptr, {}};
  return &(*link)->var;
}

void CVariableList::Clear() {
  for (int k = 0; k < m_inline; ++k) {
    Variable_Clear(&m_vars[k]);
    m_vars[k] = CVariable{};
  }
  m_inline = 0;
  if (m_bucket) {
    for (int b = 0; b < BUCKETS; ++b) {
      for (Node* n = m_bucket[b]; n;) {
        Node* next = n->next;
        Variable_Clear(&n->var);
        delete n;
        n = next;
      }
      m_bucket[b] = nullptr;
    }
  }
  m_count = 0;
}
