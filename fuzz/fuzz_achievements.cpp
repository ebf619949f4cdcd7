// Achievement cache files through the record parser: every record it hands
// on must lie inside the data, and the records must cover it in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Kivo/Kivo_Achievements.h"

namespace {
struct Walk {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void Check(uint32_t kind, const char* name, size_t length, uint32_t value, void* context) {
  Walk& w = *static_cast<Walk*>(context);
  const uint8_t* record = w.data + w.pos;
  uint32_t storedKind, storedValue;
  std::memcpy(&storedKind, record, 4);
  std::memcpy(&storedValue, record + 4 + length + 1, 4);
  if (reinterpret_cast<const uint8_t*>(name) != record + 4 || name[length] != 0 || storedKind != kind ||
      storedValue != value || w.pos + length + 9 > w.size)
    std::abort();
  w.pos += length + 9;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Walk w{data, size, 0};
  Achievements_Parse(data, size, Check, &w);
  return 0;
}
