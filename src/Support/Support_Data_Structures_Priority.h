// The script priority queue: unsorted pairs of value and priority (either may
// be a string), taken out by the lowest or highest priority. Adding is
// constant time; every search is a linear scan, and a removed entry's place
// is filled by the last entry.
#pragma once
#include <cstdint>

#include "Base/RValue.h"

class CDS_Priority {
 public:
  CDS_Priority() = default;
  virtual ~CDS_Priority();
  CDS_Priority(const CDS_Priority&) = delete;
  CDS_Priority& operator=(const CDS_Priority&) = delete;

  void Clear();
  void Add(const RValue* value, const RValue* priority);
  // The first entry whose value compares equal to the given one.
  void ChangePriority(const RValue* value, const RValue* priority);
  RValue* FindPriority(const RValue* value) const;
  void DeleteValue(const RValue* value);
  // The value of the lowest (highest) priority, the first of equals; the
  // delete forms move it into result (the real 0 when empty).
  void DeleteMin(RValue* result);
  void DeleteMax(RValue* result);
  RValue* FindMin() const;
  RValue* FindMax() const;
  bool Empty() const { return m_Count == 0; }
  int Size() const { return m_Count; }
  void Copy(const CDS_Priority* source);
  char* WriteToString() const;
  bool ReadFromString(const char* text);

 private:
  int Match(const RValue* value) const;
  // The entry of the lowest (sign -1) or highest (sign 1) priority, -1 when empty.
  int Choose(int sign) const;
  void DeleteChosen(int sign, RValue* result);

  int m_Count = 0;
  int m_ValueCapacity = 0;
  RValue* m_Values = nullptr;
  int m_PriorityCapacity = 0;
  RValue* m_Priorities = nullptr;
};
