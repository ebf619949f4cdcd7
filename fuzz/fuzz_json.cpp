// Fuzzes json_decode with any text, then json_encode of what it made: every
// text gives a map, the map encodes to an object that decodes to the same
// encoding, and the structures made are freed afterwards.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Function/Function_Json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  RValue arg{VALUE_STRING, text.data(), 0.0};
  int map = JSON_Decode(arg);
  if (map < 0) return 0;
  std::string encoded = JSON_Encode(map);
  if (encoded.empty() || encoded.front() != '{') std::abort();
  // Infinities and NaNs print as "inf" and "nan", which JSON cannot read back.
  bool exact = encoded.find("inf") == std::string::npos && encoded.find("nan") == std::string::npos;
  RValue again{VALUE_STRING, encoded.data(), 0.0};
  int second = JSON_Decode(again);
  if (second < 0 || (exact && JSON_Encode(second) != encoded)) std::abort();
  JSON_DestroyTree(map);
  JSON_DestroyTree(second);
  return 0;
}
