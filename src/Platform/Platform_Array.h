// Growable arrays over memory-manager blocks:
//   cARRAY_CLASS<T>           pointers to objects it owns (deleted when dropped)
//   cARRAY_CLASS_NO_DELETE<T> pointers to objects owned elsewhere
//   cARRAY_MEMORY<T>          pointers to memory-manager blocks it owns (freed when dropped)
//   cARRAY_STRUCTURE<T>       plain records stored by value (new slots zero-filled)
// A longer length leaves the new slots empty for the owner to fill; a shorter
// one releases the dropped items; length 0 releases every item and the array.
#pragma once
#include <cstring>
#include <type_traits>

#include "Platform/MemoryManager.h"

namespace ArrayRelease {
template <class T> struct Delete { static void Release(T* item) { delete item; } };
template <class T> struct Keep { static void Release(T*) {} };
template <class T> struct Free { static void Release(T* item) { MEM_FREE(item); } };
}  // namespace ArrayRelease

template <class T, class Policy>
class cARRAY_POINTERS {
 public:
  cARRAY_POINTERS() = default;
  ~cARRAY_POINTERS() { SetLength(0); }
  cARRAY_POINTERS(const cARRAY_POINTERS&) = delete;
  cARRAY_POINTERS& operator=(const cARRAY_POINTERS&) = delete;

  int GetLength() const { return m_Length; }
  T** GetItems() const { return m_Items; }
  // The item at index, none outside the array.
  T* Get(int index) const { return index >= 0 && index < m_Length ? m_Items[index] : nullptr; }
  // Puts an item in a slot, releasing the one it replaces; false outside.
  bool Set(int index, T* item) {
    if (index < 0 || index >= m_Length) return false;
    if (m_Items[index] != item) Policy::Release(m_Items[index]);
    m_Items[index] = item;
    return true;
  }
  // Appends an item; its index, or -1 when the array cannot grow.
  int Add(T* item) {
    int index = m_Length;
    if (!SetLength(m_Length + 1)) return -1;
    m_Items[index] = item;
    return index;
  }
  // Growing gives false (and changes nothing) when the memory cannot be had;
  // shrinking always succeeds.
  bool SetLength(int length) {
    if (length < 0) length = 0;
    if (length < m_Length) {
      for (int i = length; i < m_Length; ++i) {
        Policy::Release(m_Items[i]);
        m_Items[i] = nullptr;  // a kept larger block must hold no stale pointer
      }
    }
    if (length == 0) {
      MEM_FREE(m_Items);
      m_Items = nullptr;
      m_Length = 0;
      return true;
    }
    auto* items = static_cast<T**>(MEM_REALLOC(m_Items, sizeof(T*) * static_cast<size_t>(length)));
    if (items) {
      m_Items = items;
    } else if (length > m_Length) {
      return false;
    }
    m_Length = length;
    return true;
  }

 private:
  T** m_Items = nullptr;
  int m_Length = 0;
};

template <class T> using cARRAY_CLASS = cARRAY_POINTERS<T, ArrayRelease::Delete<T>>;
template <class T> using cARRAY_CLASS_NO_DELETE = cARRAY_POINTERS<T, ArrayRelease::Keep<T>>;
template <class T> using cARRAY_MEMORY = cARRAY_POINTERS<T, ArrayRelease::Free<T>>;

template <class T>
class cARRAY_STRUCTURE {
  static_assert(std::is_trivially_copyable_v<T>, "records are moved as bytes");

 public:
  cARRAY_STRUCTURE() = default;
  ~cARRAY_STRUCTURE() { SetLength(0); }
  cARRAY_STRUCTURE(const cARRAY_STRUCTURE&) = delete;
  cARRAY_STRUCTURE& operator=(const cARRAY_STRUCTURE&) = delete;

  int GetLength() const { return m_Length; }
  T* GetItems() const { return m_Items; }
  // The record at index, none outside the array.
  T* Get(int index) const { return index >= 0 && index < m_Length ? &m_Items[index] : nullptr; }
  // Appends a record; its index, or -1 when the array cannot grow.
  int Add(const T& item) {
    int index = m_Length;
    if (!SetLength(m_Length + 1)) return -1;
    m_Items[index] = item;
    return index;
  }
  // Growing gives false (and changes nothing) when the memory cannot be had.
  bool SetLength(int length) {
    if (length < 0) length = 0;
    if (length < m_Length)  // a kept larger block must read as zero when regrown
      std::memset(static_cast<void*>(m_Items + length), 0, sizeof(T) * static_cast<size_t>(m_Length - length));
    auto* items = static_cast<T*>(MEM_REALLOC(m_Items, sizeof(T) * static_cast<size_t>(length)));
    if (!items && length > m_Length) return false;
    if (items || length == 0) m_Items = items;
    m_Length = length;
    return true;
  }

 private:
  T* m_Items = nullptr;
  int m_Length = 0;
};
