// Shared set-up for the script engine tests: test built-ins, scripts, and
// running a text to a printable result.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Code/Code_Context.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"
#include "Script/Script_Main.h"
#include "Base/Convert.h"
#include "Variable/Variable_BuiltIn.h"
#include "Variable/Variable_List.h"
#include "Variable/Variable_Main.h"

namespace codetest {

inline std::string Show(const RValue& v) {
  if (v.kind == VALUE_STRING) return std::string("\"") + RValue_Text(v) + "\"";
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", v.val);
  return text;
}

// Test built-ins.
inline std::string g_log;
inline void F_TestLog(RValue& result, CInstance*, CInstance*, int argc, const RValue* arg) {
  for (int k = 0; k < argc; ++k) {
    if (k) g_log += ",";
    g_log += Show(arg[k]);
  }
  g_log += ";";
}
// Reports its argument count and whether the slots past it read as real 0.
inline void F_TestCount(RValue& result, CInstance*, CInstance*, int argc, const RValue* arg) {
  bool clear = true;
  for (int k = argc; k < MAX_ARGUMENTS; ++k) clear = clear && arg[k].kind == VALUE_REAL && arg[k].val == 0 && !arg[k].str;
  bool preset = result.kind == VALUE_REAL && result.val == 0 && !result.str;
  RValue_SetReal(&result, clear && preset ? argc : -1);
}
inline void F_TestPair(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, arg[0].val * 10 + arg[1].val);
}
// Runs its text argument as code, like the code-execution built-ins do:
// saves the argument slots, gives the rest of its arguments, restores.
inline int g_execCounter = 0;
inline void F_TestExec(RValue& result, CInstance* self, CInstance* other, int argc, const RValue* arg) {
  if (argc < 1) return;
  CodeArgumentSave save;
  Code_Arguments_Save(&save);
  Code_Arguments_Set(argc - 1, arg + 1);
  CCode code(RValue_Text(arg[0]), false);
  std::string name = "Execute." + std::to_string(g_execCounter++);
  if (code.Compile(name.c_str())) {
    Code_ExecuteOrReport(self, other, &code, &result);
  } else {
    std::string text = "COMPILATION ERROR in string to be executed\n" + Code_ErrorText;
    Error_Show(text.c_str(), false);
  }
  Code_Arguments_Restore(&save);
}

// A settable built-in variable kept here, arrays by index.
inline double g_builtinValue[4];
inline bool GV_TestVar(CInstance*, int index, RValue* value) {
  if (index < 0 || index >= 4) return false;
  RValue_SetReal(value, g_builtinValue[index]);
  return true;
}
inline bool SV_TestVar(CInstance*, int index, RValue* value) {
  if (index < 0 || index >= 4) return false;
  g_builtinValue[index] = RValue_Real(*value);
  return true;
}
inline bool GV_TestReadOnly(CInstance*, int, RValue* value) {
  RValue_SetReal(value, 42);
  return true;
}

inline void RegisterOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  Code_Init();
  Function_Add("test_log", F_TestLog, -1);
  Function_Add("test_count", F_TestCount, -1);
  Function_Add("test_pair", F_TestPair, 2);
  Function_Add("test_exec", F_TestExec, -1);
  Variable_BuiltIn_Add("test_var", GV_TestVar, SV_TestVar, true);
  Variable_BuiltIn_Add("test_readonly", GV_TestReadOnly, nullptr, false);
}

class CodeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterOnce();
    Script_Clear();
    Script_Add("add3", "return argument0 + argument1 + argument2;");
    Script_Add("count", "return argument_count;");
    Script_Add("fact", "if (argument0 <= 1) return 1; return argument0 * fact(argument0 - 1);");
    Script_Add("forever", "return forever(argument0 + 1);");
    Script_Add("fails", "x = 1;\nreturn nothing_here;");
    Script_Add("slots", "test_log(argument0, argument1, argument2); return argument[1];");
    Script_Add("set_arg", "argument5 = \"five\"; return argument5;");
    ASSERT_TRUE(Script_PrepareAll()) << Code_ErrorText;
  }

  void SetUp() override {
    self.id = 100001;
    other.id = 100002;
    g_GameOptions = GameOptions{};
    g_GameOptions.show_errors = true;
    g_log.clear();
    Error_Reset();
    Error_SetOccurred(false);
    g_PendingTransition = -1;
    g_CodeEventContext = CodeEventContext{};
  }

  void TearDown() override {
    delete self.vars;
    delete other.vars;
    self.vars = other.vars = nullptr;
    Variable_Globals().Clear();
  }

  // Compiles and runs a program (or an expression); the returned value, or
  // "compile: ..." / "error: ..." with the message.
  std::string Run(const char* text, bool expression = false) {
    CCode code(text, expression);
    if (!code.Compile("Test")) return "compile: " + Code_ErrorText;
    RValue result{};
    bool ok = Code_Evaluate(&self, &other, &code, &result);
    std::string shown = ok ? Show(result) : "error: " + Code_ErrorText;
    RValue_Free(&result);
    return shown;
  }
  std::string Expr(const char* text) { return Run(text, true); }

  CInstance self{0, 0, 190001, -1};
  CInstance other{0, 0, 190002, -1};
};

}  // namespace codetest
