// Feeds arbitrary text to the compiler, as a program and as an expression,
// and runs the expressions that compile (they cannot loop) and the programs
// that cannot loop either (no loop keyword) nor grow a string past a few
// doublings. Malformed text must give a compile error, never a crash.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>

#include "Code/Code_Main.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"
#include "Variable/Variable_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    Code_Init();
    g_GameOptions.show_errors = false;
    return true;
  }();
  (void)ready;
  std::string text(reinterpret_cast<const char*>(data), size);
  CCode program(text.c_str(), false);
  bool runnable = program.Compile("Fuzz") && std::count(text.begin(), text.end(), '+') < 16;
  for (const char* loop : {"while", "do", "for", "repeat", "until"})
    runnable = runnable && text.find(loop) == std::string::npos;
  if (runnable) {
    CInstance self{0, 0, 190001, -1};
    CInstance other{0, 0, 190002, -1};
    RValue result{};
    CodeArgumentSave slots;  // what one run leaves in globals and slots must not feed the next
    Code_Arguments_Save(&slots);
    Code_Evaluate(&self, &other, &program, &result);
    Code_Arguments_Restore(&slots);
    RValue_Free(&result);
    Variable_Globals().Clear();  // the instances free their own variables
  }
  CCode expression(text.c_str(), true);
  if (expression.Compile("FuzzExpr")) {
    CInstance self{0, 0, 190001, -1};
    RValue result{};
    Code_Evaluate(&self, &self, &expression, &result);
    RValue_Free(&result);
  }
  return 0;
}
