#include "Support/Support_Data_Structures_Sequence.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "Base/Random_Main.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Stream.h"

namespace {
constexpr int kGrowth = 16;

// Drops the texts of the first count slots; kinds and reals stay, so no text
// is left behind that a later write or free could release a second time.
void DropTexts(RValue* slots, int64_t count) {
  for (int64_t i = 0; i < count; ++i) DS_Slot_DropText(&slots[i]);
}

// Grows an array that may be longer than its capacity (a cleared stack or
// queue keeps its array) to capacity + 16 slots.
bool GrowTo(RValue** slots, int* capacity, int used) {
  int64_t wanted = static_cast<int64_t>(used) + kGrowth;
  if (wanted > INT32_MAX) return false;
  if (!DS_Slots_Resize(slots, DS_Slots_Length(*slots), wanted)) return false;
  *capacity = static_cast<int>(wanted);
  return true;
}

// Makes dest's array a copy of count slots of source's array.
bool CopySlots(RValue** dest, const RValue* source, int64_t count) {
  if (!DS_Slots_Resize(dest, DS_Slots_Length(*dest), count)) return false;
  for (int64_t i = 0; i < count; ++i) DS_Slot_Store(&(*dest)[i], &source[i]);
  return true;
}

char* WriteValues(CStream& s, const RValue* slots, int64_t count) {
  for (int64_t i = 0; i < count; ++i) DS_Stream_WriteValue(s, &slots[i]);
  return s.ConvertToString();
}

// Reads "count, then count records" after the header.
bool ReadCounted(const char* text, int32_t header, int32_t* count, RValue** values) {
  CStream s;
  if (!DS_Stream_Open(s, text, header) || !DS_Stream_ReadInteger(s, count) || *count < 0) return false;
  return DS_Stream_ReadValues(s, *count, values);
}
}  // namespace

// ---- Stacks and lists ----

CDS_CountedSlots::~CDS_CountedSlots() { DS_Slots_Free(&m_Slots); }

void CDS_CountedSlots::CopyValues(const CDS_CountedSlots* source) {
  if (!CopySlots(&m_Slots, source->m_Slots, source->m_Capacity)) return;
  m_Count = source->m_Count;
  m_Capacity = source->m_Capacity;
}

char* CDS_CountedSlots::WriteToString() const {
  CStream s;
  s.WriteInteger(m_Header);
  s.WriteInteger(m_Count);
  return WriteValues(s, m_Slots, m_Count);
}

bool CDS_CountedSlots::ReadFromString(const char* text) {
  int32_t count = 0;
  RValue* values = nullptr;
  if (!ReadCounted(text, m_Header, &count, &values)) return false;
  DS_Slots_Free(&m_Slots);
  m_Slots = values;
  m_Count = m_Capacity = count;
  return true;
}

// ---- Stack ----

CDS_Stack::CDS_Stack() : CDS_CountedSlots(DS_HEADER_STACK) {}

void CDS_Stack::Clear() {
  DropTexts(m_Slots, DS_Slots_Length(m_Slots));
  m_Count = 0;
  m_Capacity = 0;
}

void CDS_Stack::Push(const RValue* v) {
  if (m_Count == m_Capacity && !GrowTo(&m_Slots, &m_Capacity, m_Count)) return;
  DS_Slot_Store(&m_Slots[m_Count++], v);
}

RValue* CDS_Stack::Pop() {
  if (m_Count == 0) return nullptr;
  return &m_Slots[--m_Count];
}

RValue* CDS_Stack::Top() { return m_Count == 0 ? nullptr : &m_Slots[m_Count - 1]; }

void CDS_Stack::Copy(const CDS_Stack* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  CopyValues(source);
}

// ---- Queue ----

CDS_Queue::~CDS_Queue() { DS_Slots_Free(&m_Slots); }

void CDS_Queue::Clear() {
  DropTexts(m_Slots, DS_Slots_Length(m_Slots));
  m_Head = m_Tail = 0;
  m_Capacity = 0;
}

void CDS_Queue::Enqueue(const RValue* v) {
  if (m_Tail == m_Capacity && !GrowTo(&m_Slots, &m_Capacity, m_Tail)) return;
  DS_Slot_Store(&m_Slots[m_Tail++], v);
}

RValue* CDS_Queue::Dequeue() {
  if (m_Head == m_Tail) return nullptr;
  RValue* taken = &m_Slots[m_Head++];
  // Compact once most of the used slots lie before the head. The moved block
  // ends below the taken slot, so the caller's pointer stays good.
  if (m_Head >= 17 && m_Head > m_Tail / 2) {
    for (int i = m_Head; i < m_Tail; ++i) DS_Slot_Store(&m_Slots[i - m_Head], &m_Slots[i]);
    m_Tail -= m_Head;
    m_Head = 0;
  }
  return taken;
}

RValue* CDS_Queue::Head() { return m_Head == m_Tail ? nullptr : &m_Slots[m_Head]; }
RValue* CDS_Queue::Tail() { return m_Head == m_Tail ? nullptr : &m_Slots[m_Tail - 1]; }

void CDS_Queue::Copy(const CDS_Queue* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  if (!CopySlots(&m_Slots, source->m_Slots, source->m_Capacity)) return;
  m_Tail = source->m_Tail;
  m_Head = source->m_Head;
  m_Capacity = source->m_Capacity;
}

char* CDS_Queue::WriteToString() const {
  CStream s;
  s.WriteInteger(DS_HEADER_QUEUE);
  s.WriteInteger(m_Tail);
  s.WriteInteger(m_Head);
  s.WriteInteger(m_Capacity);
  return WriteValues(s, m_Slots, m_Capacity);
}

bool CDS_Queue::ReadFromString(const char* text) {
  CStream s;
  int32_t tail = 0, head = 0, capacity = 0;
  if (!DS_Stream_Open(s, text, DS_HEADER_QUEUE) || !DS_Stream_ReadInteger(s, &tail) ||
      !DS_Stream_ReadInteger(s, &head) || !DS_Stream_ReadInteger(s, &capacity))
    return false;
  if (head < 0 || head > tail || tail > capacity) return false;
  RValue* values = nullptr;
  if (!DS_Stream_ReadValues(s, capacity, &values)) return false;
  DS_Slots_Free(&m_Slots);
  m_Slots = values;
  m_Tail = tail;
  m_Head = head;
  m_Capacity = capacity;
  return true;
}

// ---- List ----

CDS_List::CDS_List() : CDS_CountedSlots(DS_HEADER_LIST) {}

bool CDS_List::Grow() { return m_Count < m_Capacity || GrowTo(&m_Slots, &m_Capacity, m_Count); }

void CDS_List::Clear() {
  DropTexts(m_Slots, m_Capacity);
  m_Count = 0;
}

void CDS_List::Add(const RValue* v) {
  if (!Grow()) return;
  DS_Slot_Store(&m_Slots[m_Count++], v);
}

void CDS_List::Insert(int pos, const RValue* v) {
  if (pos < 0 || pos > m_Count || !Grow()) return;
  for (int i = m_Count; i > pos; --i) m_Slots[i] = m_Slots[i - 1];
  // The slot's old text moved up with its value: start from a fresh buffer.
  m_Slots[pos].str = nullptr;
  DS_Slot_Store(&m_Slots[pos], v);
  ++m_Count;
}

void CDS_List::Replace(int pos, const RValue* v) {
  if (pos < 0 || pos >= m_Count) return;
  DS_Slot_Store(&m_Slots[pos], v);
}

void CDS_List::Delete(int pos) {
  if (pos < 0 || pos >= m_Count) return;
  DS_Slot_DropText(&m_Slots[pos]);
  for (int i = pos; i < m_Count - 1; ++i) m_Slots[i] = m_Slots[i + 1];
  m_Slots[--m_Count] = RValue{VALUE_REAL, nullptr, 0.0};
}

int CDS_List::FindIndex(const RValue* v) const {
  for (int i = 0; i < m_Count; ++i)
    if (DS_Compare(&m_Slots[i], v) == 0) return i;
  return -1;
}

RValue* CDS_List::FindValue(int pos) const { return (pos < 0 || pos >= m_Count) ? nullptr : &m_Slots[pos]; }

void CDS_List::Copy(const CDS_List* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  CopyValues(source);
}

// ---- List order ----

// The sort is an insertion sort by adjacent swaps: ascending, a value moves
// left past every neighbour that compares above it; descending, past every
// neighbour that compares below or equal. Under the tolerance that is not an
// ordering in general (a string and a real each compare above the other), so
// the insertion sort is the rule; SortOrdered gives the same result in
// n log n time when the values do form an ordering.
void CDS_List::Sort(bool ascending) {
  if (m_Count < 2 || SortOrdered(ascending)) return;
  SortInsertion(ascending);
}

void CDS_List::SortInsertion(bool ascending) {
  for (int i = 1; i < m_Count; ++i) {
    for (int j = i; j > 0; --j) {
      int c = DS_Compare(&m_Slots[j - 1], &m_Slots[j]);
      if (ascending ? c <= 0 : c > 0) break;
      std::swap(m_Slots[j - 1], m_Slots[j]);
    }
  }
}

// When every value is a plain real with a finite single-precision value and
// no two different ones lie within the tolerance, or every value is a
// string, the comparison is a true ordering and the insertion sort's result
// is a stable sort in which values that compare as ties keep or reverse their
// order. Gives false, the list untouched, when that does not hold.
bool CDS_List::SortOrdered(bool ascending) {
  bool reals = std::all_of(m_Slots, m_Slots + m_Count, [](const RValue& v) {
    return v.kind == VALUE_REAL && std::isfinite(static_cast<float>(v.val));
  });
  bool strings = !reals && std::all_of(m_Slots, m_Slots + m_Count, [](const RValue& v) { return v.kind == VALUE_STRING; });
  if (!reals && !strings) return false;
  double precision = DS_GetPrecision();
  // With no tolerance, equal reals compare as 1, not as ties.
  bool tiesCompareEqual = strings || precision > 0;
  // The values are sorted aside (whole slots, texts not copied) and kept only
  // when they turn out to be ordered. Ascending moves a value past ties only
  // when ties compare above (1); descending only when they compare equal (0).
  std::vector<RValue> sorted(m_Slots, m_Slots + m_Count);
  if (ascending != tiesCompareEqual) std::reverse(sorted.begin(), sorted.end());
  if (reals) {
    std::stable_sort(sorted.begin(), sorted.end(), [ascending](const RValue& a, const RValue& b) {
      float fa = static_cast<float>(a.val), fb = static_cast<float>(b.val);
      return ascending ? fa < fb : fa > fb;
    });
    // Ordered unless two different reals lie within the tolerance (the
    // closest such pair is a neighbouring one).
    for (int i = 1; i < m_Count; ++i) {
      float d = static_cast<float>(sorted[i].val) - static_cast<float>(sorted[i - 1].val);
      if (d != 0 && precision > std::fabs(d)) return false;
    }
  } else {
    std::stable_sort(sorted.begin(), sorted.end(), [ascending](const RValue& a, const RValue& b) {
      int c = std::strcmp(RValue_Text(a), RValue_Text(b));
      return ascending ? c < 0 : c > 0;
    });
  }
  std::copy(sorted.begin(), sorted.end(), m_Slots);
  return true;
}

void CDS_List::Shuffle() {
  if (m_Count == 0) return;
  for (int64_t k = 0; k < int64_t(m_Count) * 8; ++k) {
    int a = Random_Int(m_Count);
    int b = Random_Int(m_Count);
    std::swap(m_Slots[a], m_Slots[b]);
  }
}
