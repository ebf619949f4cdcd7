// Feeds arbitrary text to the compiler, as a program and as an expression,
// and runs the expressions that compile (they cannot loop). Malformed text
// must give a compile error, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Code/Code_Main.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    Code_Init();
    g_GameOptions.show_errors = false;
    return true;
  }();
  (void)ready;
  std::string text(reinterpret_cast<const char*>(data), size);
  CCode program(text.c_str(), false);
  program.Compile("Fuzz");
  CCode expression(text.c_str(), true);
  if (expression.Compile("FuzzExpr")) {
    CInstance self{0, 0, 190001, -1};
    RValue result{};
    Code_Evaluate(&self, &self, &expression, &result);
    RValue_Free(&result);
  }
  return 0;
}
