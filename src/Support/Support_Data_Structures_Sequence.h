// The three sequence structures of scripts: stack, queue and list. Each keeps
// whole values in a slot array that grows 16 slots at a time; a slot that is
// taken out keeps its contents until the next value written there reuses it.
#pragma once
#include <cstdint>

#include "Base/RValue.h"

// The counted run of slots that stacks and lists keep (values 0 to
// count - 1), with their copy and their text form "header, count, values".
class CDS_CountedSlots {
 public:
  CDS_CountedSlots(const CDS_CountedSlots&) = delete;
  CDS_CountedSlots& operator=(const CDS_CountedSlots&) = delete;
  bool Empty() const { return m_Count == 0; }
  int Size() const { return m_Count; }
  // A new memory-manager text (none when it cannot be made).
  char* WriteToString() const;
  // Rebuilds from a text; false, the values unchanged, when the text is not
  // a whole record of this kind.
  bool ReadFromString(const char* text);

 protected:
  explicit CDS_CountedSlots(int32_t header) : m_Header(header) {}
  virtual ~CDS_CountedSlots();
  // Becomes a copy of source's values (source is neither null nor this).
  void CopyValues(const CDS_CountedSlots* source);

  int m_Count = 0;
  int m_Capacity = 0;
  RValue* m_Slots = nullptr;

 private:
  int32_t m_Header;
};

class CDS_Stack : public CDS_CountedSlots {
 public:
  CDS_Stack();

  void Clear();
  void Push(const RValue* v);
  // The top slot (Pop also removes it), or none when empty. The pointer stays
  // valid until the stack is next changed.
  RValue* Pop();
  RValue* Top();
  // Becomes a copy of source; none clears it; itself leaves it as it is.
  // (The slot array may outlast a capacity of 0: see Clear.)
  void Copy(const CDS_Stack* source);
};

class CDS_Queue {
 public:
  CDS_Queue() = default;
  virtual ~CDS_Queue();
  CDS_Queue(const CDS_Queue&) = delete;
  CDS_Queue& operator=(const CDS_Queue&) = delete;

  void Clear();
  void Enqueue(const RValue* v);
  // The oldest value (Dequeue also removes it) and the newest; none when
  // empty. Valid until the queue is next changed.
  RValue* Dequeue();
  RValue* Head();
  RValue* Tail();
  bool Empty() const { return m_Head == m_Tail; }
  int Size() const { return m_Tail - m_Head; }
  void Copy(const CDS_Queue* source);
  char* WriteToString() const;
  bool ReadFromString(const char* text);

  int HeadIndex() const { return m_Head; }
  int TailIndex() const { return m_Tail; }
  int Capacity() const { return m_Capacity; }

 private:
  int m_Tail = 0;  // one past the newest value
  int m_Head = 0;  // the oldest value
  int m_Capacity = 0;
  RValue* m_Slots = nullptr;
};

class CDS_List : public CDS_CountedSlots {
 public:
  CDS_List();

  void Clear();
  void Add(const RValue* v);
  // Positions out of range are ignored (insert accepts 0 to size).
  void Insert(int pos, const RValue* v);
  void Replace(int pos, const RValue* v);
  void Delete(int pos);
  // The first position whose value compares equal, -1 when none.
  int FindIndex(const RValue* v) const;
  // The value at pos, none out of range; valid until the list next changes.
  RValue* FindValue(int pos) const;
  void Sort(bool ascending);
  void Shuffle();
  void Copy(const CDS_List* source);

 private:
  void SortInsertion(bool ascending);
  bool SortOrdered(bool ascending);
  bool Grow();  // slots from m_Count on hold no text
};
