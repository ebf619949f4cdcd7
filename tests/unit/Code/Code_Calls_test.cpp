// Calls: built-ins, scripts, argument slots, recursion limits, extensions.
#include "Code_TestSupport.h"
#include "Platform/MemoryManager.h"

using codetest::CodeTest;

class CodeCalls : public CodeTest {};

TEST_F(CodeCalls, BuiltInsGetAClearedArrayAndAPresetResult) {
  EXPECT_EQ(Run("return test_count(\"a\", \"b\", 3);"), "3");
  EXPECT_EQ(Run("return test_count();"), "0");
  EXPECT_EQ(Run("return test_pair(4, 2);"), "42");
}

// A local's text is handed to built-ins without a copy: it must come back
// whole however often it is passed and when the built-in runs code of its own.
TEST_F(CodeCalls, LocalTextsPassedToBuiltInsStayTheLocals) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("var s, t; s = \"abc\"; test_log(s, s, 1); test_log(s); t = \"xyz\"; return s + s;"), "\"abcabc\"");
  EXPECT_EQ(codetest::g_log, "\"abc\",\"abc\",1;\"abc\";");
  EXPECT_EQ(Run("var s, t; s = \"test_log(argument0); return 5;\"; t = test_exec(s, s); test_log(t); return s;"),
            "\"test_log(argument0); return 5;\"");
  EXPECT_EQ(codetest::g_log, "\"abc\",\"abc\",1;\"abc\";\"test_log(argument0); return 5;\";5;");
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

// Built-ins nested in each other's arguments, deeper than the arrays kept
// for them, and left by an error: every call still finds the entries past
// its arguments cleared, and no text is lost or kept.
TEST_F(CodeCalls, ArgumentArraysStayClearedThroughNestingDepthAndErrors) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("test_log(\"a\", \"b\", \"c\", 4); return test_count(1);"), "1");
  EXPECT_EQ(Run("return test_count(test_count(\"x\", \"y\" + \"\"), test_pair(test_count(), 1), test_count(\"z\"));"),
            "3");
  // Each level runs code that calls test_exec again, one call deeper.
  EXPECT_EQ(Run("var s; s = \"if (argument1 <= 0) return test_count('x'); "
                "return test_exec(argument0, argument0, argument1 - 1) + 1;\"; return test_exec(s, s, 90);"),
            "91");
  EXPECT_EQ(Run("return test_count(\"a\", test_pair(1, \"b\" + 1));"),
            "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("return test_count(\"a\", \"b\") * 10 + test_count();"), "20");
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

TEST_F(CodeCalls, CompileTimeChecksOfCalls) {
  EXPECT_EQ(Run("test_pair(1);"),
            "compile: Test (line 1): wrong number of arguments to test_pair: 2 expected, 1 given");
  EXPECT_EQ(Run("\n\nno_such_function(1);"), "compile: Test (line 3): unknown function or script: no_such_function");
  EXPECT_EQ(Run("test_count(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16);"), "0");
  EXPECT_EQ(Run("test_count(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17);"),
            "compile: Test (line 1): too many arguments to test_count (at most 16)");
}

TEST_F(CodeCalls, ScriptsGetTheirArgumentsAndCount) {
  EXPECT_EQ(Run("return add3(1, 2, 3);"), "6");
  EXPECT_EQ(Run("return count(1, 2) * 10 + count();"), "20");
  EXPECT_EQ(Run("return fact(10);"), "3628800");
  EXPECT_EQ(Run("return slots(\"a\", \"b\");"), "\"b\"");
  EXPECT_EQ(codetest::g_log, "\"a\",\"b\",0;");  // argument2 beyond the count reads 0
  EXPECT_EQ(Expr("add3"), "0");                      // a script's name is its index
}

TEST_F(CodeCalls, CallerArgumentsSurviveCallsAndNestedRuns) {
  const char* outer =
      "r = add3(10, 20, 30);\n"
      "set_arg();\n"
      "test_exec(\"test_log(argument0, argument1, argument_count); return 1;\", \"x\");\n"
      "test_log(argument0, argument1, argument5, argument_count);\n"
      "return r;";
  std::string program = std::string("return test_exec('") + outer + "', 7, \"s\");";
  EXPECT_EQ(Run(program.c_str()), "60");
  // The nested run saw only its own argument (argument_count stays a script's count).
  EXPECT_EQ(codetest::g_log, "\"x\",0,0;7,\"s\",0,0;");
  EXPECT_EQ(Code_Argument(0)->kind, VALUE_REAL);
  EXPECT_EQ(Code_Argument(0)->val, 0);
}

TEST_F(CodeCalls, ArgumentSlotsCanBeAssignedAndIndexed) {
  EXPECT_EQ(Run("return set_arg();"), "\"five\"");
  EXPECT_EQ(Code_Argument(5)->kind, VALUE_REAL);  // the callee's slots went away with it
  EXPECT_EQ(Run("argument[2] = 4; return argument2 + argument[2];"), "8");
  EXPECT_EQ(Run("i = 16; return argument[i];"), "error: Test (line 1): Argument index 16 out of range.");
}

TEST_F(CodeCalls, UnboundedRecursionEndsInAnError) {
  std::string r = Run("return forever(0);");
  EXPECT_NE(r.find("error: Script.forever (line 1): Recursion too deep"), std::string::npos) << r;
  // Code run from code inside itself ends the same way, as a reported error.
  r = Run("test_exec(\"test_exec(argument0, argument0)\", \"test_exec(argument0, argument0)\"); return 1;");
  EXPECT_EQ(r, "1");
  EXPECT_NE(std::string(Error_Last()).find("Recursion too deep"), std::string::npos) << Error_Last();
  EXPECT_EQ(Run("return fact(5);"), "120");  // everything was unwound
}

TEST_F(CodeCalls, DeeplyNestedTextIsACompileErrorNotACrash) {
  std::string deep(5000, '(');
  deep += "1" + std::string(5000, ')');
  EXPECT_EQ(Expr(deep.c_str()).rfind("compile: Test (line 1): code nested too deeply", 0), 0u);
  std::string blocks(5000, '{');
  EXPECT_EQ(Run(blocks.c_str()).rfind("compile: Test (line 1): code nested too deeply", 0), 0u);
  std::string chain = "return x";
  for (int k = 0; k < 3000; ++k) chain += ".x";
  EXPECT_EQ(Run(chain.c_str()), "compile: Test (line 1): expression too complex");
  std::string minus(3000, '-');
  EXPECT_EQ(Expr((minus + "1").c_str()).rfind("compile:", 0), 0u);
}

// Long runs of one operator are flat, not deep: they compile and run in a loop.
TEST_F(CodeCalls, LongFlatExpressionsCompileAndRun) {
  auto repeat = [](std::string head, const char* term, int n, const char* tail = "") {
    for (int k = 0; k < n; ++k) head += term;
    return head + tail;
  };
  EXPECT_EQ(Run(repeat("var x; x = 2; return 1", " + x", 1000).c_str()), "2001");
  EXPECT_EQ(Run(repeat("var x; x = 2; return 1", " + x", 200000).c_str()), "400001");
  EXPECT_EQ(Run(repeat("return 1", " + 1", 1000).c_str()), "1001");
  EXPECT_EQ(Run(repeat("var x; x = 3; return 100", " - x + 1", 500).c_str()), "-900");
  EXPECT_EQ(Run(repeat("var x; x = 2; return x", " * x / x", 600).c_str()), "2");
  std::string joined = Run(repeat("var s; s = \"ab\"; return \"<\"", " + s", 1000).c_str());
  EXPECT_EQ(joined, "\"<" + repeat("", "ab", 1000) + "\"");
  EXPECT_EQ(Run(repeat("var t; t = 1; return 0", " || 0", 1000, " || t").c_str()), "1");
  EXPECT_EQ(Run(repeat("var t; t = 1; return t", " && t", 1000, " && 0").c_str()), "0");
  EXPECT_EQ(Run(repeat("var t; t = 1; return t", " ^^ t", 1001).c_str()), "0");
  // Evaluation stops as soon as the result is known.
  EXPECT_EQ(Run(repeat("var t; t = 0; return t", " && nothing_here", 1000).c_str()), "0");
  EXPECT_EQ(Run(repeat("var t; t = 1; return t", " || nothing_here", 1000).c_str()), "1");
  // Errors inside a run are reported as from a short one.
  EXPECT_EQ(Run(repeat("var x; x = 1; return 1", " + x", 999, " + \"a\"").c_str()),
            "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run(repeat("var x; x = 0; return 1", " div 1", 999, " div x").c_str()),
            "error: Test (line 1): Division by zero.");
}

TEST_F(CodeCalls, ScriptExecuteReportsFailureWithTheScriptName) {
  RValue result{VALUE_STRING, String_Duplicate("old"), 0};
  RValue args[3] = {{VALUE_REAL, nullptr, 1}, {VALUE_REAL, nullptr, 2}, {VALUE_REAL, nullptr, 3}};
  ASSERT_TRUE(Script_Execute(Script_Find("add3"), &self, &other, 3, args, &result));
  EXPECT_EQ(result.val, 6);
  EXPECT_FALSE(Code_ErrorPending());
  EXPECT_FALSE(Script_Execute(Script_Find("fails"), &self, &other, 0, nullptr, &result));
  EXPECT_EQ(Code_ErrorText, "In script fails:\nScript.fails (line 2): Unknown variable nothing_here");
  EXPECT_TRUE(Code_ErrorPending());
  EXPECT_TRUE(Code_RuntimeError);
  Code_ErrorClear();
  RValue_Free(&result);
}

TEST_F(CodeCalls, ExtensionIdsFromExactly500000GoToTheExtension) {
  RValue result{};
  // The stand-in extension layer knows no function: the call fails.
  EXPECT_FALSE(Code_CallFunction(FUNCTION_ID_EXTENSION, &self, &other, 0, nullptr, &result));
  EXPECT_EQ(Function_ArgCount(FUNCTION_ID_EXTENSION), -100);
  RValue args[2] = {{VALUE_REAL, nullptr, 3}, {VALUE_REAL, nullptr, 4}};
  ASSERT_TRUE(Code_CallFunction(Function_FindBuiltIn("test_pair"), &self, &other, 2, args, &result));
  EXPECT_EQ(result.val, 34);
  ASSERT_TRUE(Code_CallFunction(FUNCTION_ID_SCRIPT + Script_Find("add3"), &self, &other, 2, args, &result));
  EXPECT_EQ(result.val, 7);
  EXPECT_EQ(args[0].val, 3);  // the caller's arguments stay
}

TEST_F(CodeCalls, SavedSlotsComeBackAfterARunWithFifteenArguments) {
  RValue outer[2] = {{VALUE_STRING, String_Duplicate("keep"), 0}, {VALUE_REAL, nullptr, 2}};
  CodeArgumentSave first;
  Code_Arguments_Save(&first);
  Code_Arguments_Set(2, outer);
  RValue args[15];
  for (int k = 0; k < 15; ++k) args[k] = RValue{VALUE_STRING, String_Duplicate(std::to_string(k).c_str()), 0};
  CodeArgumentSave inner;
  Code_Arguments_Save(&inner);
  Code_Arguments_Set(15, args);
  EXPECT_EQ(Run("return argument14 + string_of(argument15);"), "compile: Test (line 1): unknown function or script: string_of");
  EXPECT_EQ(Run("return argument14;"), "\"14\"");
  EXPECT_EQ(Run("return argument15;"), "0");
  Code_Arguments_Restore(&inner);
  EXPECT_STREQ(RValue_Text(*Code_Argument(0)), "keep");
  EXPECT_EQ(Code_Argument(1)->val, 2);
  EXPECT_EQ(Code_Argument(2)->val, 0);
  Code_Arguments_Restore(&first);
  EXPECT_EQ(Code_Argument(0)->kind, VALUE_REAL);
  for (RValue& a : args) RValue_Free(&a);
  RValue_Free(&outer[0]);
}

TEST_F(CodeCalls, ScriptExecuteTakesAtMostSixteenAndRestoresTheCount) {
  RValue args[20];
  for (int k = 0; k < 20; ++k) args[k] = RValue{VALUE_REAL, nullptr, static_cast<double>(k)};
  RValue result{};
  ASSERT_TRUE(Script_Execute(Script_Find("count"), &self, &other, 20, args, &result));
  EXPECT_EQ(result.val, 16);
  EXPECT_EQ(g_ArgumentCounts.count, 0);
  EXPECT_EQ(Run("return count(1, 2, 3) + argument_count;"), "3");
}

TEST_F(CodeCalls, ArgumentRelativeReadsTheActionsFlag) {
  g_ActionRelative = 1;
  EXPECT_EQ(Expr("argument_relative"), "1");
  g_ActionRelative = 0;
  EXPECT_EQ(Expr("argument_relative"), "0");
  EXPECT_EQ(Run("argument_count = 3;"), "compile: Test (line 1): cannot assign to the read-only variable argument_count");
}

TEST_F(CodeCalls, ScriptsComeBeforeBuiltInsOfTheSameName) {
  Script_Add("test_pair", "return \"script\";");
  ASSERT_TRUE(Script_PrepareAll());
  EXPECT_EQ(Run("return test_pair();"), "\"script\"");  // no count check: it is a script now
  SetUpTestSuite();
  EXPECT_EQ(Run("return test_pair(1, 2);"), "12");
}
