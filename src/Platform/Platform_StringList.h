// A list of texts; the list owns copies of the texts it is given.
#pragma once
#include "Platform/Platform_Array.h"

class TStringList {
 public:
  int Count() const { return m_Items.GetLength(); }
  // The text at index, none outside the list.
  const char* Get(int index) const { return m_Items.Get(index); }
  // Appends a copy of the text (none counts as the empty text); its index.
  int Add(const char* text);
  // Removes the text at index; false outside the list.
  bool Delete(int index);
  void Clear() { m_Items.SetLength(0); }

 private:
  cARRAY_MEMORY<char> m_Items;
};
