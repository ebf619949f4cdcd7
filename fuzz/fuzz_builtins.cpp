// Calls the maths, string, date and variables-by-name built-ins with arguments built
// from the input: each call takes one byte for the function, one for the
// argument count and one per argument, which picks an awkward value (not a
// number, infinities, numbers beyond every integer range, negative and huge
// counts, empty, long and broken UTF-8 texts). No call may crash.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"

// The registrations of the maths and string built-ins, and of the code,
// variable, date and native-call built-ins.
void Function_Math_Init();
void Function_Misc_Init();

namespace {
// Built-ins that run code, load libraries, touch the process, the window or
// the clipboard, and string_repeat, which builds texts of up to 2 GB on
// request: not for blind calls.
bool Callable(const char* name) {
  static const char* kPrefixes[] = {"execute_", "external_", "event_", "clipboard_", "set_", "window_"};
  for (const char* p : kPrefixes)
    if (std::strncmp(name, p, std::strlen(p)) == 0) return false;
  return std::strcmp(name, "randomize") != 0 && std::strcmp(name, "string_repeat") != 0;
}

std::vector<int> g_ids;

RValue Pick(uint8_t byte) {
  const double inf = std::numeric_limits<double>::infinity();
  static const double kReals[] = {0, 1, -1, 0.5, -0.5, 2.5, 31999, 32000, -32000, 2147483647.0, 2147483648.0,
                                  -2147483649.0, 9.3e18, -9.3e18, 1e300, -1e300, inf, -inf,
                                  std::numeric_limits<double>::quiet_NaN(), 4.9e-324, 100000, 1e6};
  static const std::string kTexts[] = {"", "a", "abc", "12.5", "-3e5", "  7  ", "#\\#", "\xC3\xA9t\xC3\xA9",
                                       "\xFF\xFE\x80", "\xE2\x82", std::string(5000, 'x'), "a,b;c", "%s%n%d"};
  RValue v{};
  constexpr size_t reals = sizeof kReals / sizeof kReals[0];
  constexpr size_t texts = sizeof kTexts / sizeof kTexts[0];
  size_t i = byte % (reals + texts);
  if (i < reals) RValue_SetReal(&v, kReals[i]);
  else RValue_SetString(&v, kTexts[i - reals].c_str());
  return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    Code_Init();
    Function_Math_Init();
    Function_Misc_Init();
    g_GameOptions.show_errors = false;
    for (int i = 0; i < Function_Count(); i++)
      if (Callable(Function_Get(i)->name)) g_ids.push_back(i);
    return true;
  }();
  (void)ready;
  CInstance self{0, 0, 190001, -1};
  size_t at = 0;
  while (at + 2 <= size) {
    const RFunction* f = Function_Get(g_ids[data[at] % g_ids.size()]);
    int argc = f->argnumb >= 0 ? f->argnumb : data[at + 1] % (MAX_ARGUMENTS + 1);
    at += 2;
    RValue args[MAX_ARGUMENTS] = {};
    for (int i = 0; i < argc; i++) args[i] = Pick(at < size ? data[at++] : 0);
    RValue result{VALUE_REAL, nullptr, 0.0};
    f->routine(result, &self, &self, argc, args);
    RValue_Free(&result);
    for (int i = 0; i < argc; i++) RValue_Free(&args[i]);
  }
  return 0;
}
