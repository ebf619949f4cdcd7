// Variables that code creates: one variable is an array of rows of values
// (element index = row x 32000 + column), and a list keeps an instance's (or
// the game's global) variables by id.
#pragma once
#include "Base/RValue.h"

constexpr int ARRAY_DIMENSION = 32000;  // each index runs 0 .. 31999

struct RVariableRow {
  int length;     // stored columns
  int capacity;   // room for columns; the items past the length are not set
  RValue* items;  // memory-manager block; item 0 of row 0 is unused (the real 0)
};

// A variable: element (0, 0) is kept inline, the other elements in rows.
// All-zero bits are a valid variable holding the real 0.
struct CVariable {
  RValue value;
  int rows;
  RVariableRow* row;
};

// The element (i, j), null when it lies outside the stored rows and columns.
inline RValue* Variable_Element(CVariable* v, int i, int j) {
  if ((i | j) == 0) return &v->value;
  // As unsigned, a negative index is past every count.
  if (static_cast<unsigned>(i) >= static_cast<unsigned>(v->rows)) return nullptr;
  RVariableRow& r = v->row[i];
  return static_cast<unsigned>(j) < static_cast<unsigned>(r.length) ? &r.items[j] : nullptr;
}
// The element (i, j), growing the rows and columns to hold it (new elements
// are the real 0). Indices must be 0 .. 31999.
RValue* Variable_ElementGrowRows(CVariable* v, int i, int j);
// Makes the row's length j + 1 (j at least the length, below the capacity),
// the columns it adds the real 0.
void Variable_RowExtend(RVariableRow& r, int j);
inline RValue* Variable_ElementGrow(CVariable* v, int i, int j) {
  if ((i | j) == 0) return &v->value;
  if (i < v->rows) {
    RVariableRow& r = v->row[i];
    if (j < r.capacity) {
      if (j >= r.length) {
        // A row filled in order adds one column at a time.
        if (j == r.length) [[likely]] {
          r.items[j] = RValue{VALUE_REAL, nullptr, 0.0};
          r.length = j + 1;
        } else {
          Variable_RowExtend(r, j);
        }
      }
      return &r.items[j];
    }
  }
  return Variable_ElementGrowRows(v, i, j);
}
// Stores the real d into element (i, j) when that frees no text and takes no
// memory: a stored element holding no text, or the column just past the end
// of a row that has room for it (a row filled in order). Otherwise false,
// with nothing changed: the caller takes the general way. Indices must be
// 0 .. 31999.
inline bool Variable_SetRealInPlace(CVariable* v, int i, int j, double d) {
  RValue* e = &v->value;
  if ((i | j) != 0) {
    if (i >= v->rows) return false;
    RVariableRow& r = v->row[i];
    if (j >= r.length) {
      if (j != r.length || j >= r.capacity) return false;
      r.length = j + 1;
      r.items[j] = RValue{VALUE_REAL, nullptr, d};
      return true;
    }
    e = &r.items[j];
  }
  if (e->kind == VALUE_STRING) return false;
  *e = RValue{VALUE_REAL, nullptr, d};  // no text to keep: str is null
  return true;
}
// Frees the texts and rows, leaving the real 0.
void Variable_Clear(CVariable* v);

// The first INLINE variables a list gets live in the list itself, their ids
// side by side, so reading one of an instance's few variables touches the
// list and no other block; the rest go to a table of BUCKETS chains, made
// when first needed. A variable stays where it is until the list is
// cleared or destroyed.
class alignas(64) CVariableList {
 public:
  static constexpr int BUCKETS = 64;
  static constexpr int INLINE = 8;

  CVariableList() = default;
  ~CVariableList();
  CVariableList(const CVariableList&) = delete;
  CVariableList& operator=(const CVariableList&) = delete;

  CVariable* Find(int id) const {
    // The scan is unrolled over every id slot; the count is only read when
    // an id matches (an unused slot may hold an old one).
#pragma GCC unroll 8
    for (int k = 0; k < INLINE; ++k)
      if (m_ids[k] == id && k < m_inline) return const_cast<CVariable*>(&m_vars[k]);
    if (m_bucket)
      for (Node* n = m_bucket[id & (BUCKETS - 1)]; n; n = n->next)
        if (n->id == id) return &n->var;
    return nullptr;
  }
  // The variable of that id, created as the real 0 when missing.
  CVariable* FindOrAdd(int id);
  // Removes every variable.
  void Clear();
  int Count() const { return m_count; }
  // Visits (id, variable) bucket by bucket (the id's low bits), each bucket
  // in insertion order. The inline variables came first, so in each bucket
  // they come before the chained ones.
  template <class F>
  void ForEach(F f) const {
    for (int b = 0; b < BUCKETS; ++b) {
      for (int k = 0; k < m_inline; ++k)
        if ((m_ids[k] & (BUCKETS - 1)) == b) f(m_ids[k], const_cast<CVariable*>(&m_vars[k]));
      if (m_bucket)
        for (Node* n = m_bucket[b]; n; n = n->next) f(n->id, &n->var);
    }
  }

 private:
  struct Node {
    int id;
    Node* next;
    CVariable var;
  };
  int m_count = 0;
  int m_inline = 0;  // the variables held inline
  int m_ids[INLINE] = {};
  // The first variable's value shares the cache line of the ids.
  CVariable m_vars[INLINE] = {};
  Node** m_bucket = nullptr;  // BUCKETS chains once a list outgrows INLINE
};
