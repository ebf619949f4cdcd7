// Fuzzes the data structures' text readers. The first byte chooses the
// structure and how the rest is given: the stream forms get the rest as hex
// digits (so every byte layout is reachable) or as raw text; the map gets it
// as raw text. A text that reads must write back to a text that reads back
// to the same text.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "Platform/MemoryManager.h"
#include "Support/Support_Data_Structures_Grid.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Priority.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
std::string Take(char* text) {
  std::string s = text ? text : "";
  MEM_FREE(text);
  return s;
}

template <class T>
std::unique_ptr<T> Fresh() {
  if constexpr (std::is_same_v<T, CDS_Grid>) {
    return std::make_unique<CDS_Grid>(0, 0);
  } else {
    return std::make_unique<T>();
  }
}

template <class T>
void Check(T& target, const std::string& text) {
  // Give the structure something of its own first, which a rejected text must keep.
  std::string before = Take(target.WriteToString());
  if (!target.ReadFromString(text.c_str())) {
    if (Take(target.WriteToString()) != before) std::abort();
    return;
  }
  std::string written = Take(target.WriteToString());
  std::unique_ptr<T> again = Fresh<T>();
  if (!again->ReadFromString(written.c_str()) || Take(again->WriteToString()) != written) std::abort();
}

template <class T>
void Seeded(T& target) {
  RValue v{VALUE_STRING, const_cast<char*>("seed"), 0.0};
  if constexpr (requires { target.Push(&v); }) target.Push(&v);
  if constexpr (requires { target.Enqueue(&v); }) target.Enqueue(&v);
  if constexpr (requires { target.Add(&v); }) target.Add(&v);
  if constexpr (requires { target.Add(&v, &v); }) target.Add(&v, &v);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  uint8_t mode = data[0];
  std::string text;
  if (mode & 8) {
    static const char kHex[] = "0123456789ABCDEF";
    for (size_t i = 1; i < size; ++i) {
      text += kHex[data[i] >> 4];
      text += kHex[data[i] & 15];
    }
  } else {
    text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    text = text.c_str();  // a text ends at its first zero byte
  }
  switch (mode % 6) {
    case 0: { CDS_Stack s; Seeded(s); Check(s, text); break; }
    case 1: { CDS_Queue q; Seeded(q); Check(q, text); break; }
    case 2: { CDS_List l; Seeded(l); Check(l, text); break; }
    case 3: { CDS_Priority p; Seeded(p); Check(p, text); break; }
    case 4: {
      CDS_Grid g(2, 1);
      Check(g, text);
      break;
    }
    default: {
      CDS_Map m;
      RValue k{VALUE_STRING, const_cast<char*>("seed"), 0.0};
      m.Add(&k, &k);
      Check(m, text);
      break;
    }
  }
  return 0;
}
