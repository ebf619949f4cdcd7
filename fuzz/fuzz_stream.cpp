// Hex text into a stream, then a mix of reads chosen by the input itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Platform/MemoryManager.h"
#include "Support/Support_Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CStream s;
  s.ConvertFromString(text.c_str());
  // The first decoded byte picks the read order; the rest is the data.
  uint8_t plan = s.GetSize() > 0 ? s.GetMemory()[0] : 0;
  for (int i = 0; i < 64 && s.GetPosition() < s.GetSize(); ++i) {
    switch ((plan >> (i % 4 * 2)) & 3) {
      case 0: s.ReadInteger(); break;
      case 1: s.ReadReal(); break;
      case 2: MEM_FREE(s.ReadString()); break;
      case 3: s.ReadBoolean(); break;
    }
  }
  s.SetPosition(s.GetSize());
  MEM_FREE(s.ConvertToString());
  if (s.Decompress()) s.Compress();
  return 0;
}
