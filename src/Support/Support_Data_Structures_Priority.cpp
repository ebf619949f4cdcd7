#include "Support/Support_Data_Structures_Priority.h"

#include "Support/Support_Data_Structures.h"
#include "Support/Support_Stream.h"

CDS_Priority::~CDS_Priority() { Clear(); }

void CDS_Priority::Clear() {
  DS_Slots_Free(&m_Values);
  DS_Slots_Free(&m_Priorities);
  m_Count = m_ValueCapacity = m_PriorityCapacity = 0;
}

void CDS_Priority::Add(const RValue* value, const RValue* priority) {
  if (m_Count == m_ValueCapacity) {
    int64_t grown = int64_t(m_Count) + 16;
    if (grown > INT32_MAX || !DS_Slots_Resize(&m_Values, m_ValueCapacity, grown)) return;
    m_ValueCapacity = static_cast<int>(grown);
    if (!DS_Slots_Resize(&m_Priorities, m_PriorityCapacity, grown)) return;
    m_PriorityCapacity = static_cast<int>(grown);
  }
  if (m_Count >= m_PriorityCapacity) return;
  DS_Slot_Store(&m_Values[m_Count], value);
  DS_Slot_Store(&m_Priorities[m_Count], priority);
  ++m_Count;
}

int CDS_Priority::Match(const RValue* value) const {
  for (int i = 0; i < m_Count; ++i)
    if (DS_Compare(&m_Values[i], value) == 0) return i;
  return -1;
}

void CDS_Priority::ChangePriority(const RValue* value, const RValue* priority) {
  int i = Match(value);
  if (i >= 0) DS_Slot_Store(&m_Priorities[i], priority);
}

RValue* CDS_Priority::FindPriority(const RValue* value) const {
  int i = Match(value);
  return i >= 0 ? &m_Priorities[i] : nullptr;
}

void CDS_Priority::DeleteValue(const RValue* value) {
  int i = Match(value);
  if (i < 0) return;
  --m_Count;
  DS_Slot_Store(&m_Values[i], &m_Values[m_Count]);
  DS_Slot_Store(&m_Priorities[i], &m_Priorities[m_Count]);
}

int CDS_Priority::Choose(int sign) const {
  if (m_Count == 0) return -1;
  int best = 0;
  for (int i = 1; i < m_Count; ++i)
    if (DS_Compare(&m_Priorities[i], &m_Priorities[best]) * sign > 0) best = i;
  return best;
}

RValue* CDS_Priority::FindMin() const {
  int i = Choose(-1);
  return i >= 0 ? &m_Values[i] : nullptr;
}

RValue* CDS_Priority::FindMax() const {
  int i = Choose(1);
  return i >= 0 ? &m_Values[i] : nullptr;
}

void CDS_Priority::DeleteMin(RValue* result) { DeleteChosen(-1, result); }
void CDS_Priority::DeleteMax(RValue* result) { DeleteChosen(1, result); }

void CDS_Priority::DeleteChosen(int sign, RValue* result) {
  RValue_Free(result);
  int best = Choose(sign);
  if (best < 0) return;
  int last = m_Count - 1;
  // The value's text passes to the result; the last entry's slots move into
  // the hole and give up their texts, so each text keeps exactly one owner
  // (also when the chosen entry is the last one).
  *result = m_Values[best];
  m_Values[best].str = nullptr;
  DS_Slot_DropText(&m_Priorities[best]);
  if (best != last) {
    m_Values[best] = m_Values[last];
    m_Priorities[best] = m_Priorities[last];
    m_Values[last].str = nullptr;
    m_Priorities[last].str = nullptr;
  }
  m_Count = last;
}

void CDS_Priority::Copy(const CDS_Priority* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  if (!DS_Slots_Resize(&m_Values, DS_Slots_Length(m_Values), source->m_ValueCapacity) ||
      !DS_Slots_Resize(&m_Priorities, DS_Slots_Length(m_Priorities), source->m_PriorityCapacity)) {
    Clear();
    return;
  }
  for (int i = 0; i < source->m_ValueCapacity; ++i) DS_Slot_Store(&m_Values[i], &source->m_Values[i]);
  for (int i = 0; i < source->m_PriorityCapacity; ++i) DS_Slot_Store(&m_Priorities[i], &source->m_Priorities[i]);
  m_Count = source->m_Count;
  m_ValueCapacity = source->m_ValueCapacity;
  m_PriorityCapacity = source->m_PriorityCapacity;
}

char* CDS_Priority::WriteToString() const {
  CStream s;
  s.WriteInteger(DS_HEADER_PRIORITY);
  s.WriteInteger(m_Count);
  for (int i = 0; i < m_Count; ++i) DS_Stream_WriteValue(s, &m_Priorities[i]);
  for (int i = 0; i < m_Count; ++i) DS_Stream_WriteValue(s, &m_Values[i]);
  return s.ConvertToString();
}

bool CDS_Priority::ReadFromString(const char* text) {
  CStream s;
  int32_t count = 0;
  if (!DS_Stream_Open(s, text, DS_HEADER_PRIORITY) || !DS_Stream_ReadInteger(s, &count) || count < 0 ||
      !DS_Stream_Fits(s, int64_t(count) * 2))
    return false;
  RValue* priorities = nullptr;
  RValue* values = nullptr;
  if (!DS_Stream_ReadValues(s, count, &priorities)) return false;
  if (!DS_Stream_ReadValues(s, count, &values)) {
    DS_Slots_Free(&priorities);
    return false;
  }
  Clear();
  m_Values = values;
  m_Priorities = priorities;
  m_Count = m_ValueCapacity = m_PriorityCapacity = count;
  return true;
}
