// Feeds arbitrary bytes to the string built-ins and the number reader: two
// texts (split at the first zero byte) and positions taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Base/Text_Real.h"
#include "Base/UTF8_Main.h"
#include "Function/Function_String.h"

namespace {
double Number(const uint8_t* data, size_t size, size_t at) {
  return size > at ? static_cast<double>(static_cast<int8_t>(data[at])) : 0.0;
}

void Run(TRoutine routine, int argc, RValue* argv) {
  RValue result = {VALUE_REAL, nullptr, 0.0};
  routine(result, nullptr, nullptr, argc, argv);
  RValue_Free(&result);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  double a = Number(data, size, 0), b = Number(data, size, 1);
  std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t zero = input.find('\0');
  std::string first = input.substr(0, zero);
  std::string second = zero == std::string::npos ? std::string() : input.substr(zero + 1);
  second = second.substr(0, second.find('\0'));

  UTF8_Length(first.c_str());
  Real_FromText(first.c_str());
  // What the boxes show: valid UTF-8, cut only between characters.
  std::string shown = UTF8_MakeValid(first.c_str());
  if (UTF8_MakeValid(shown.c_str()) != shown) __builtin_trap();
  size_t cut = UTF8_CutLength(shown.c_str(), static_cast<size_t>(data[0]));
  if (cut > shown.size() || UTF8_MakeValid(shown.substr(0, cut).c_str()) != shown.substr(0, cut)) __builtin_trap();

  RValue text{}, other{}, pa{}, pb{};
  RValue_SetString(&text, first.c_str());
  RValue_SetString(&other, second.c_str());
  RValue_SetReal(&pa, a);
  RValue_SetReal(&pb, b);
  RValue textPos[3] = {text, pa, pb};
  RValue twoTexts[3] = {other, text, pa};
  RValue replace[3] = {text, other, other};
  for (TRoutine r : {F_StringCopy, F_StringCharAt, F_StringByteAt, F_StringDelete, F_StringLength, F_Ord,
                     F_StringLower, F_StringLettersDigits})
    Run(r, 3, textPos);
  for (TRoutine r : {F_StringPos, F_StringCount, F_StringInsert}) Run(r, 3, twoTexts);
  for (TRoutine r : {F_StringReplace, F_StringReplaceAll}) Run(r, 3, replace);
  RValue numbers[3] = {pa, pb, pa};
  for (TRoutine r : {F_String, F_StringFormat, F_Chr}) Run(r, 3, numbers);
  RValue repeat[2] = {text, pa};
  Run(F_StringRepeat, 2, repeat);
  RValue_Free(&text);
  RValue_Free(&other);
  return 0;
}
