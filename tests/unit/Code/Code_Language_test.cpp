// Operators and statements of the script language.
#include "Code/Code_Constant.h"
#include "Code_TestSupport.h"

using codetest::CodeTest;

class CodeLanguage : public CodeTest {};

TEST_F(CodeLanguage, ArithmeticPrecedenceAndNumbers) {
  EXPECT_EQ(Expr("1 + 2 * 3"), "7");
  EXPECT_EQ(Expr("(1 + 2) * 3"), "9");
  EXPECT_EQ(Expr("10 - 4 - 3"), "3");
  EXPECT_EQ(Expr("$FF + $a"), "265");
  EXPECT_EQ(Expr(".5 + 1.25"), "1.75");
  EXPECT_EQ(Expr("-2 * -3"), "6");
  EXPECT_EQ(Expr("1 + 2 < 4"), "1");       // comparison is looser than +
  EXPECT_EQ(Expr("1 | 2 == 3"), "1");      // | binds tighter than ==
}

TEST_F(CodeLanguage, DivModOnReals) {
  EXPECT_EQ(Expr("7 div 2"), "3");
  EXPECT_EQ(Expr("-7 div 2"), "-3");
  EXPECT_EQ(Expr("7 mod 3"), "1");
  EXPECT_EQ(Expr("-7 mod 3"), "-1");
  EXPECT_EQ(Expr("7.5 mod 2"), "1.5");
  EXPECT_EQ(Expr("7 % 4"), "3");
  EXPECT_EQ(Expr("7 / 2"), "3.5");
  EXPECT_EQ(Run("x = 0; return 1 / x;"), "error: Test (line 1): Division by zero.");
  EXPECT_EQ(Run("x = 0;\nreturn 5 mod x;"), "error: Test (line 2): Division by zero.");
  EXPECT_EQ(Run("return 5 div 0;"), "error: Test (line 1): Division by zero.");  // not folded away
}

TEST_F(CodeLanguage, BitwiseOn64BitIntegers) {
  EXPECT_EQ(Expr("6 & 3"), "2");
  EXPECT_EQ(Expr("6 | 3"), "7");
  EXPECT_EQ(Expr("6 ^ 3"), "5");
  EXPECT_EQ(Expr("~0"), "-1");
  EXPECT_EQ(Expr("1 << 40"), "1099511627776");
  EXPECT_EQ(Expr("-8 >> 1"), "-4");
  EXPECT_EQ(Expr("1 << 64"), "0");
  EXPECT_EQ(Expr("2.6 | 0"), "3");  // rounded
}

TEST_F(CodeLanguage, StringsJoinCompareAndRefuseMixing) {
  EXPECT_EQ(Expr("\"ab\" + 'cd'"), "\"abcd\"");
  EXPECT_EQ(Expr("\"abc\" == \"abc\""), "1");
  EXPECT_EQ(Expr("\"abc\" < \"abd\""), "1");
  EXPECT_EQ(Expr("\"1\" == 1"), "0");
  EXPECT_EQ(Expr("\"1\" != 1"), "1");
  EXPECT_EQ(Run("s = \"a\"; return s + 1;"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("s = \"a\"; return s < 1;"), "error: Test (line 1): Wrong type of arguments to <.");
  EXPECT_EQ(Run("s = \"a\"; return -s;"), "error: Test (line 1): Wrong type of argument to unary -.");
  EXPECT_EQ(Run("return \"two\nlines\";"), "\"two\nlines\"");
}

TEST_F(CodeLanguage, TruthIsAboveHalfAndLogicShortCircuits) {
  EXPECT_EQ(Run("if (0.5) return 1; return 0;"), "0");
  EXPECT_EQ(Run("if (0.51) return 1; return 0;"), "1");
  EXPECT_EQ(Run("if (\"yes\") return 1; return 0;"), "0");
  EXPECT_EQ(Expr("!0.5"), "1");
  EXPECT_EQ(Expr("2 && 3"), "1");
  EXPECT_EQ(Expr("0 || 0.4"), "0");
  EXPECT_EQ(Expr("1 xor 1"), "0");
  EXPECT_EQ(Expr("1 ^^ 0"), "1");
  EXPECT_EQ(Expr("not 1 or 1 and 1"), "1");
  EXPECT_EQ(Run("if (0 && test_log(1)) {} if (1 || test_log(2)) {} return 0;"), "0");
  EXPECT_EQ(codetest::g_log, "");
}

TEST_F(CodeLanguage, AssignmentOperatorsAndIncrements) {
  EXPECT_EQ(Run("a = 5; a += 2; a -= 1; a *= 3; a /= 2; return a;"), "9");
  EXPECT_EQ(Run("a := 12; a |= 1; a &= 7; a ^= 2; return a;"), "7");
  EXPECT_EQ(Run("s = \"x\"; s += \"y\"; return s;"), "\"xy\"");
  EXPECT_EQ(Run("var i; i = 1; j = i++; return j * 10 + i;"), "12");
  EXPECT_EQ(Run("var i; i = 1; j = ++i; return j * 10 + i;"), "22");
  EXPECT_EQ(Run("a = 3; a--; --a; return a;"), "1");
  EXPECT_EQ(Run("a = \"s\"; a++;"), "error: Test (line 1): Cannot increment the string a.");
  EXPECT_EQ(Run("a = \"s\"; a -= 1;"), "error: Test (line 1): Wrong type of arguments to -.");
}

TEST_F(CodeLanguage, IfWhileDoForRepeat) {
  EXPECT_EQ(Run("if 1 then a = 1 else a = 2 return a"), "1");
  EXPECT_EQ(Run("if (0) a = 1; else if (1) a = 2; else a = 3; return a;"), "2");
  EXPECT_EQ(Run("var i, s; i = 0; s = 0; while (i < 5) { i += 1; if (i == 2) continue; s += i; } return s;"), "13");
  EXPECT_EQ(Run("var i; i = 10; do i += 1 until (i > 3) return i;"), "11");
  EXPECT_EQ(Run("var i, s; s = 0; for (i = 0; i < 10; i += 1) { if (i == 4) break; s += i; } return s * 100 + i;"),
            "604");
  EXPECT_EQ(Run("var n; n = 0; repeat (2.5) n += 1; return n;"), "2");  // halves to even
  EXPECT_EQ(Run("var n; n = 0; repeat (3.5) n += 1; return n;"), "4");
  EXPECT_EQ(Run("var n; n = 0; repeat (-3) n += 1; return n;"), "0");
  EXPECT_EQ(Run("var n, k; n = 0; k = 3; repeat (k) { k = 10; n += 1; } return n;"), "3");  // counted once
  EXPECT_EQ(Run("begin a = 1; begin a += 1 end end return a"), "2");
}

TEST_F(CodeLanguage, SwitchFallsThroughUntilBreak) {
  const char* text =
      "switch (argument0) {\n"
      "  case 1: test_log(1);\n"
      "  case 2: test_log(2); break;\n"
      "  case \"s\": test_log(\"s\"); break;\n"
      "  default: test_log(0);\n"
      "}";
  for (const char* value : {"1", "2", "\"s\"", "7"}) {
    std::string program = std::string("test_exec('") + text + "', " + value + ");";
    Run(program.c_str());
  }
  EXPECT_EQ(codetest::g_log, "1;2;2;\"s\";0;");
  EXPECT_EQ(Run("var i, n; n = 0; for (i = 0; i < 3; i += 1) switch (i) { case 1: continue; default: n += 1; } return n;"),
            "2");
}

TEST_F(CodeLanguage, SwitchCasesNeverMatchAcrossKinds) {
  // Constant cases are compared in place, computed ones evaluated in order.
  EXPECT_EQ(Run("var n; n = 0; switch (\"1\") { case 1: n = 1; break; case \"1\": n = 2; } return n;"), "2");
  EXPECT_EQ(Run("var n; n = 0; switch (1) { case \"1\": n = 1; break; case 1: n = 2; } return n;"), "2");
  EXPECT_EQ(Run("var n; n = 0; switch (\"\") { case 0: n = 1; break; default: n = 3; } return n;"), "3");
  EXPECT_EQ(Run("var n, s; n = 0; s = \"ab\"; switch (s + \"c\") { case \"ab\" + \"c\": n = 4; } return n;"), "4");
  EXPECT_EQ(Run("var n, k; n = 0; k = 0; switch (2) { case k + 1: n = 1; break; case (k + 2): n = 2; } return n;"), "2");
  // Stored values, read in place, and a case that changes the value first.
  EXPECT_EQ(Run("var w, n; w[2] = \"b\"; n = 0; switch (w[2]) { case \"a\": n = 1; break; case \"b\": w[2] = 5; n = 2; }"
                " return n * 10 + w[2];"),
            "25");
  EXPECT_EQ(Run("var s, n; s = \"b\"; n = 0; switch (s) { case \"a\": n = 1; break; default: s = 0; n = 3; } return n + s;"), "3");
  EXPECT_EQ(Run("var w, n; w[0] = 1; n = 0; switch (w[0]) { case w[0]++: n = 1; break; case 2: n = 2; } return n;"), "1");
  EXPECT_EQ(Run("var w; w[0] = 1; switch (w[3]) { case 1: return 1; } return 0;"),
            "error: Test (line 1): Unknown array element w[0,3]");
}

TEST_F(CodeLanguage, ExitAndReturn) {
  EXPECT_EQ(Run("a = 1; exit; a = 2;"), "0");  // no value: the result stays as given
  EXPECT_EQ(Run("a = 1; if (a) return \"early\"; return \"late\";"), "\"early\"");
  EXPECT_EQ(Run("var i; for (i = 0; i < 10; i += 1) { while (1) { return i + 7; } }"), "7");
}

TEST_F(CodeLanguage, CommentsSemicolonsAndConstants) {
  EXPECT_EQ(Run("// line\n/* block\n */ a = 1 b = 2 return a + b"), "3");
  EXPECT_EQ(Expr("true + false + pi * 0"), "1");
  // pi is the single-precision value the maths built-ins use, so degtorad(180) equals it.
  EXPECT_EQ(Expr("pi == 3.1415927410125732"), "1");
  EXPECT_EQ(Expr("self + other + all + noone + global"), "-15");
  EXPECT_TRUE(Constant_Define("c_test_answer", "40 + 2"));
  EXPECT_EQ(Expr("c_test_answer"), "42");
  EXPECT_EQ(Run("c_test_answer = 1;"), "compile: Test (line 1): cannot assign to a value that is no variable");
}

TEST_F(CodeLanguage, LocalsAreFreshPerRunAndStartAtZero) {
  CCode code("var v; v += 1; return v;", false);
  ASSERT_TRUE(code.Compile("Test"));
  for (int k = 0; k < 2; ++k) {
    RValue r{};
    ASSERT_TRUE(Code_Evaluate(&self, &other, &code, &r));
    EXPECT_EQ(r.val, 1);
  }
  EXPECT_EQ(self.vars, nullptr);  // no instance variable was made
}

TEST_F(CodeLanguage, LocalFastPathsStillHandleStrings) {
  EXPECT_EQ(Run("var a, b; a = \"x\"; b = \"y\"; return a + b;"), "\"xy\"");
  EXPECT_EQ(Run("var a, b; a = \"x\"; b = \"y\"; return (a < b) * 10 + (a == \"x\");"), "11");
  EXPECT_EQ(Run("var a, b; a = \"x\"; b = 1; return a - b;"), "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(Run("var a; a = \"x\"; a += 1;"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var a, b; a = 4; b = 0; return a / b;"), "error: Test (line 1): Division by zero.");
  EXPECT_EQ(Run("s = \"p\"; s += \"q\"; t = 1; t -= 3; return s + \"\" + \"!\";"), "\"pq!\"");
  EXPECT_EQ(Run("t = 1; t -= 3; u = \"s\"; u -= 1;"), "error: Test (line 1): Wrong type of arguments to -.");
}
