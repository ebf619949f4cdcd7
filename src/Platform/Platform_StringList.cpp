#include "Platform/Platform_StringList.h"

#include <cstring>

#include "Base/RValue.h"

int TStringList::Add(const char* text) {
  char* copy = String_Duplicate(text ? text : "");
  if (!copy) return -1;
  int index = m_Items.Add(copy);
  if (index < 0) MEM_FREE(copy);
  return index;
}

bool TStringList::Delete(int index) {
  int count = m_Items.GetLength();
  if (index < 0 || index >= count) return false;
  char** items = m_Items.GetItems();
  MEM_FREE(items[index]);
  std::memmove(items + index, items + index + 1, sizeof(char*) * static_cast<size_t>(count - index - 1));
  items[count - 1] = nullptr;
  m_Items.SetLength(count - 1);
  return true;
}
