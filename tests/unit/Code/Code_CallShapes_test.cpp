// The shapes script calls and returns are made inline: arguments that are a
// slot with a constant, ifs that return a slot, returns of an operator. Each
// must give what the general path gives, texts and errors included.
#include "Code_TestSupport.h"
#include "Platform/MemoryManager.h"

using codetest::CodeTest;

class CodeCallShapes : public CodeTest {
 protected:
  static void SetUpTestSuite() {
    CodeTest::SetUpTestSuite();
    Script_Add("ident", "return argument0;");
    Script_Add("fib", "if (argument0 < 2) return argument0; return fib(argument0 - 1) + fib(argument0 - 2);");
    Script_Add("twice", "return ident(argument0 * 2);");
    Script_Add("mul_add", "return argument0 + argument1 * argument2;");
    Script_Add("one", "return 1;");
    Script_Add("nothing", "x = 1;");
    Script_Add("pick", "if (argument0 == 1) return argument1; else return argument2;");
    Script_Add("sign", "\nif (argument0 < 0)\n  return -1;\nreturn 1;");
    Script_Add("shout", "var s; s = argument0 + \"!\"; if (argument1 > 0) return s; return 0;");
    ASSERT_TRUE(Script_PrepareAll()) << Code_ErrorText;
  }
};

TEST_F(CodeCallShapes, SlotArgumentsWithAConstantAreTheOperatorsValues) {
  EXPECT_EQ(Run("return fib(15);"), "610");
  EXPECT_EQ(Run("var i; i = 4; return ident(i - 1) + ident(i * 2) + ident(i + 0.5);"), "15.5");
  EXPECT_EQ(Run("return twice(21);"), "42");
  // -0 stays -0 through a call, as it does without one.
  EXPECT_EQ(Run("var z; z = -1; z = z * 0;\n"
                "test_log(ident(z - 0), ident(z + 0), ident(z * 1), ident(z * 0));\n"
                "test_log(z - 0, z + 0, z * 1, z * 0); return 1;"),
            "1");
  EXPECT_EQ(codetest::g_log, "-0,0,-0,-0;-0,0,-0,-0;");
  // A slot holding a text meets the operator's error, on the caller's line.
  EXPECT_EQ(Run("var s;\ns = \"a\";\nreturn ident(s - 1);"), "error: Test (line 3): Wrong type of arguments to -.");
  EXPECT_EQ(Run("return twice(\"x\");"), "error: Script.twice (line 1): Wrong type of arguments to *.");
  EXPECT_EQ(Run("var s; s = \"a\"; return ident(s + 1);"), "error: Test (line 1): Wrong type of arguments to +.");
}

TEST_F(CodeCallShapes, IfsReturningASlotGiveItsValueOrDecideByTheNode) {
  const int64_t live = MemoryManager::LiveBlocks();
  // An argument's text is copied out, a local's moved out; none is lost or kept.
  EXPECT_EQ(Run("return pick(1, \"a\", \"b\") + pick(0, \"a\", \"b\");"), "\"ab\"");
  EXPECT_EQ(Run("return shout(\"hi\", 1) + shout(\"ho\", 1);"), "\"hi!ho!\"");
  EXPECT_EQ(Run("return shout(\"hi\", 0);"), "0");
  EXPECT_EQ(Run("var i; i = 3; if (i >= 3) return \"big\"; return \"small\";"), "\"big\"");
  EXPECT_EQ(Run("var i; i = 2; if (i >= 3) return \"big\"; return \"small\";"), "\"small\"");
  EXPECT_EQ(Run("return sign(-5) * 10 + sign(5);"), "-9");
  // A text tested against a real: the comparison's error, on the if's line.
  EXPECT_EQ(Run("return sign(\"x\");"), "error: Script.sign (line 2): Wrong type of arguments to <.");
  EXPECT_EQ(Run("return pick(\"1\", 2, 3);"), "3");  // a text is never equal to a real
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

TEST_F(CodeCallShapes, ReturnedOperatorsMeetTextsAndCallsAsElsewhere) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("return mul_add(1, 2, 3);"), "7");
  EXPECT_EQ(Run("return mul_add(\"a\", 2, 3);"), "error: Script.mul_add (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("return mul_add(1, \"b\", 3);"), "error: Script.mul_add (line 1): Wrong type of arguments to *.");
  // The right side's value starts as the real 0 whatever the left one left.
  EXPECT_EQ(Run("return one() + nothing();"), "1");
  EXPECT_EQ(Run("return test_count(\"a\") * 10 + nothing();"), "10");
  EXPECT_EQ(Run("return nothing() + one();"), "1");
  // A text on either side of a call on the right.
  EXPECT_EQ(Run("var s; s = \"a\"; return s + ident(\"b\");"), "\"ab\"");
  EXPECT_EQ(Run("var x; x = 2; return x + ident(\"b\");"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("return ident(\"a\") + ident(\"b\");"), "\"ab\"");
  EXPECT_EQ(Run("return ident(\"a\") < ident(\"b\");"), "1");
  EXPECT_EQ(Run("return ident(2) == ident(\"2\");"), "0");
  EXPECT_EQ(Run("return ident(2) - ident(\"2\");"), "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(Run("return ident(1) / (ident(1) - 1);"), "error: Test (line 1): Division by zero.");
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}

TEST_F(CodeCallShapes, LocalsStoringACallsValueTakeTextsAsAnyStore) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("var i, s; s = 0; for (i = 0; i < 10; i += 1) s += mul_add(i, 2, 3); return s;"), "105");
  EXPECT_EQ(Run("var s; s = 10; s -= ident(3); s -= nothing(); return s;"), "7");
  EXPECT_EQ(Run("var s; s = \"a\"; s += ident(\"b\"); s += pick(1, \"c\", 0); return s;"), "\"abc\"");
  EXPECT_EQ(Run("var s; s = \"a\"; s = ident(2); return s;"), "2");
  EXPECT_EQ(Run("var s; s = 1; s = ident(\"t\"); return s;"), "\"t\"");
  EXPECT_EQ(Run("var s;\ns = 1;\ns += ident(\"b\");"), "error: Test (line 3): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var s; s = \"a\"; s -= ident(1);"), "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}
