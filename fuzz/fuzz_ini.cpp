// INI text through the parser, then lookups, changes and deletes on the result.
#include <cstddef>
#include <cstdint>

#include "Base/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IniFile ini(nullptr, false);
  ini.Parse(reinterpret_cast<const char*>(data), size);
  for (IniSection* s = ini.GetSections(); s; s = s->next) {
    for (IniKey* k = s->keys; k; k = k->next) ini.GetKey(s->name, k->name);
  }
  if (IniSection* s = ini.GetSections()) {
    ini.SetKey(s->name, "fuzz", "1");
    if (s->keys) ini.DeleteKey(s->name, s->keys->name);
    ini.DeleteSection(s->name);
  }
  ini.Clear();
  return 0;
}
