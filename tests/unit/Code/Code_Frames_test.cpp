// Frames of script calls: argument slots and locals taken and given back on
// every path, by calls of any argument count and by errors at any depth.
#include "Code_TestSupport.h"
#include "Platform/MemoryManager.h"

using codetest::CodeTest;

namespace {
// Runs its text as code inside the running unit, as the world runs an
// event's code from a built-in: with the slots of the code that called it.
void F_TestEval(RValue& result, CInstance* self, CInstance* other, int, const RValue* arg) {
  CCode code(RValue_Text(arg[0]), false);
  if (code.Compile("Eval")) Code_Evaluate(self, other, &code, &result);
}
// The argument slot k of the running code, as a built-in reads it.
void F_TestArgument(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_Copy(&result, Code_Argument(RValue_RoundInt(arg[0])));
}
}  // namespace

class CodeFrames : public CodeTest {
 protected:
  static void SetUpTestSuite() {
    CodeTest::SetUpTestSuite();
    if (Function_FindBuiltIn("test_eval") < 0) Function_Add("test_eval", F_TestEval, 1);
    if (Function_FindBuiltIn("test_argument") < 0) Function_Add("test_argument", F_TestArgument, 1);
    Script_Add("shares", "test_eval('argument9 = \"nine\"; argument0 = argument_count * 10;');\n"
                         "test_log(argument0); return argument9 + test_argument(1);");
    Script_Add("probe", "return argument9 + argument_count;");
    Script_Add("down", "if (argument0 <= 0) return 0; return down(argument0 - 1) + 1;");
    Script_Add("shout", "var s; s = argument0 + \"!\"; return s;");
    Script_Add("leaves_text", "var s, a; s = \"local\"; a[2] = \"row\"; argument7 = \"extra\";\nreturn argument0 + 1;");
    Script_Add("sinks", "var s; s = argument0 + \"x\"; return sinks(s);");
    Script_Add("four", "return argument0 + argument1 + argument2 + argument3;");
    Script_Add("sets_more", "argument3 = \"x\"; return argument_count * 10 + (argument3 == \"x\");");
    Script_Add("keeps_args", "test_exec(\"x = nothing_here;\"); return argument0 + argument1;");
    Script_Add("early", "return late(argument0) + 1;");
    Script_Add("late", "return argument0 * 3;");
    Script_Add("array_once", "var a; a[1] = \"t\"; a[0] = argument0; return a[0];");
    Script_Add("peeks", "var b; if (argument0) return b; return b[1];");
    ASSERT_TRUE(Script_PrepareAll()) << Code_ErrorText;
  }
};

TEST_F(CodeFrames, CallsOfEveryArgumentCountGetTheirValues) {
  EXPECT_EQ(Run("return count();"), "0");
  EXPECT_EQ(Run("var a; a = \"p\"; return shout(a) + shout(\"q\");"), "\"p!q!\"");
  EXPECT_EQ(Run("var i; i = 4; return add3(i, 2, i * 10);"), "46");
  EXPECT_EQ(Run("var s; s = \"z\"; return four(\"a\", s, shout(s), \"b\");"), "\"azz!b\"");
  EXPECT_EQ(Run("var i; i = 2; return four(i, 3, i * i, add3(1, 1, 1));"), "12");
  // Arguments are made left to right, each once.
  EXPECT_EQ(Run("var i; i = 1; return four(i, i++, i, test_log(i));"), "4");
  EXPECT_EQ(codetest::g_log, "2;");
  // A script compiled after its caller is found at the first call.
  EXPECT_EQ(Run("return early(2) + early(3);"), "17");
}

// Locals and argument slots a call used are all given back: the next call
// starts from the real 0 and no text is left behind.
TEST_F(CodeFrames, ReturnsAndCallsLeaveNoTextBehind) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("var s; s = \"abc\"; s = shout(s); return shout(s);"), "\"abc!!\"");
  EXPECT_EQ(Run("return array_once(\"v\") + array_once(\"w\");"), "\"vw\"");
  // The next unit's locals take the same place and start empty.
  EXPECT_EQ(Run("array_once(\"v\"); return peeks(1);"), "0");
  EXPECT_EQ(Run("array_once(\"v\"); return peeks(0);"), "error: Script.peeks (line 1): Unknown array element b[0,1]");
  // A callee may set slots beyond those it got; they go with it.
  EXPECT_EQ(Run("return sets_more(\"a\") + argument3;"), "11");
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

TEST_F(CodeFrames, AnErrorGivesBackEveryFrameAndNamesTheCallee) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("var t; t = \"mine\"; return add3(t, leaves_text(\"a\"), 1);"),
            "error: Script.leaves_text (line 2): Wrong type of arguments to +.");
  // An error while the arguments are made frees those made so far.
  EXPECT_EQ(Run("return four(\"a\", \"b\", \"c\" + 1, \"d\");"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("\nreturn add3(\"a\", shout(\"b\"), fails());"), "error: Script.fails (line 2): Unknown variable nothing_here");
  std::string r = Run("return sinks(\"\");");
  EXPECT_EQ(r.rfind("error: Script.sinks (line 1): Recursion too deep", 0), 0u) << r;
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
  EXPECT_EQ(g_ArgumentCounts.count, 0);
  for (int k = 0; k < ARGUMENT_SLOTS; ++k) EXPECT_EQ(Code_Argument(k)->kind, VALUE_REAL);
  EXPECT_EQ(Run("return peeks(1) + array_once(5) + fact(4);"), "29");
}

// An error caught by code run from inside a call ends only that run: the
// call's own arguments and count are still there afterwards.
TEST_F(CodeFrames, AnInnerErrorLeavesTheCallerItsFrame) {
  EXPECT_EQ(Run("return keeps_args(\"a\", \"b\") + keeps_args(\"c\", \"d\");"), "\"abcd\"");
  EXPECT_NE(std::string(Error_Last()).find("Unknown variable nothing_here"), std::string::npos) << Error_Last();
  RValue args[2] = {{VALUE_STRING, String_Duplicate("x"), 0}, {VALUE_STRING, String_Duplicate("y"), 0}};
  RValue result{};
  ASSERT_TRUE(Code_CallFunction(FUNCTION_ID_SCRIPT + Script_Find("keeps_args"), &self, &other, 2, args, &result));
  EXPECT_STREQ(RValue_Text(result), "xy");
  EXPECT_FALSE(Code_CallFunction(FUNCTION_ID_SCRIPT + Script_Find("leaves_text"), &self, &other, 2, args, &result));
  EXPECT_EQ(Code_ErrorText, "Script.leaves_text (line 2): Wrong type of arguments to +.");
  EXPECT_STREQ(RValue_Text(args[0]), "x");  // the caller's values stay its own
  RValue_Free(&result);
  for (RValue& a : args) RValue_Free(&a);
}

// Code run from inside a call without slots of its own (an event's code run
// by a built-in) uses the call's frame: what it sets there goes with the
// call, and a built-in reads the running call's slots.
TEST_F(CodeFrames, CodeRunFromACallUsesTheCallsFrame) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("return shares(5, \"b\");"), "\"nineb\"");
  EXPECT_EQ(codetest::g_log, "20;");
  EXPECT_EQ(Run("shares(5, \"b\"); return probe(1);"), "1");
  EXPECT_EQ(Run("var r; argument1 = \"t\"; r = test_argument(1) + shares(1, \"u\"); argument1 = 0; return r;"),
            "\"tnineu\"");
  EXPECT_EQ(Code_Argument(9)->kind, VALUE_REAL);
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

// Recursion stops at the same depth whichever nodes run it: the program is
// one unit and each call one more.
TEST_F(CodeFrames, RecursionStopsAtTheDepthLimit) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "a sanitizer's frames use up the native stack before the depth limit";
#endif
  EXPECT_EQ(Run("return down(9998);"), "9998");
  EXPECT_EQ(Run("return down(9999);"),
            "error: Script.down (line 1): Recursion too deep: code runs inside itself 10000 times.");
  EXPECT_EQ(Run("return down(3);"), "3");
}
