// Statement and operator rules where a faster path or a shared helper could
// go wrong: steps of fields and elements, compound assignment through
// targets, with and its nesting, flow through switch, strings growing in place.
#include "Code_TestSupport.h"

using codetest::CodeTest;

namespace {
// Counts its calls and names the test's other instance.
int g_targetCalls = 0;
void F_TestTarget(RValue& result, CInstance*, CInstance*, int, const RValue*) {
  ++g_targetCalls;
  RValue_SetReal(&result, 190002);
}
}  // namespace

class CodeSemantics : public CodeTest {
 protected:
  void SetUp() override {
    CodeTest::SetUp();
    static bool added = false;
    if (!added) Function_Add("test_target", F_TestTarget, 0);
    added = true;
    g_targetCalls = 0;
  }
};

TEST_F(CodeSemantics, StepsEvaluateIndicesAndTargetsOnce) {
  // a[k++]++ steps a[0] and moves k once.
  EXPECT_EQ(Run("var k; k = 0; a[0] = 5; a[1] = 7; a[k++]++; return k * 100 + a[0] * 10 + a[1];"), "167");
  EXPECT_EQ(Run("var l; l[2] = 4; x = l[2]++; y = ++l[2]; return x * 100 + y * 10 + l[2];"), "466");
  EXPECT_EQ(Run("other.n = 1; test_target().n++; ++test_target().n; return other.n;"), "3");
  EXPECT_EQ(g_targetCalls, 2);
  EXPECT_EQ(Run("other.m = 2; v = other.m--; return v * 10 + other.m;"), "21");
  EXPECT_EQ(Run("global.g = 1; w = ++global.g; return w * 10 + global.g;"), "22");
  EXPECT_EQ(Run("x = 5; y = x++ + x; return y;"), "11");
  EXPECT_EQ(Run("argument3 = 1; argument3++; return argument3;"), "2");
  codetest::g_builtinValue[2] = 7;
  EXPECT_EQ(Run("u = test_var[2]++; return u * 10 + test_var[2];"), "78");
}

TEST_F(CodeSemantics, StepsKeepTheirErrors) {
  EXPECT_EQ(Run("a[1] = \"s\"; a[1]++;"), "error: Test (line 1): Cannot increment the string a.");
  EXPECT_EQ(Run("other.s = \"t\";\nother.s--;"), "error: Test (line 2): Cannot decrement the string s.");
  EXPECT_EQ(Run("never_stepped++;"), "error: Test (line 1): Unknown variable never_stepped");
  EXPECT_EQ(Run("b[0] = 1; b[3]++;"), "error: Test (line 1): Unknown array element b[0,3]");
  EXPECT_EQ(Run("global.none_g++;"), "error: Test (line 1): Unknown variable none_g");
  g_GameOptions.unknown_variables_zero = true;
  EXPECT_EQ(Run("fresh++; return fresh;"), "1");
}

TEST_F(CodeSemantics, CompoundAssignmentThroughTargets) {
  EXPECT_EQ(Run("other.v = 2; other.v += 3; other.v *= 2; other.v -= 1; return other.v;"), "9");
  EXPECT_EQ(Run("w = 1; with (other) other.w += 4; return w;"), "5");
  EXPECT_EQ(Run("other.q = 1; (190002).q |= 6; return other.q;"), "7");
  EXPECT_EQ(Run("other.e = 1; other.e += \"s\";"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("other.never_c += 1;"), "error: Test (line 1): Unknown variable never_c");
}

TEST_F(CodeSemantics, NestedWithRestoresSelfAndOther) {
  // Inside with (other), other is the outer self; a second with goes back to it.
  EXPECT_EQ(Run("with (other) with (other) z = 1; return z;"), "1");
  EXPECT_EQ(other.vars, nullptr);
  EXPECT_EQ(Run("var i; for (i = 0; i < 3; i += 1) { with (other) { inner = i; break; } after = i; } return after;"),
            "2");
  EXPECT_EQ(other.vars->Find(Code_Variable_Find("inner"))->value.val, 2);
  // A script run inside with sees the new self; exit in it ends the script only.
  Script_Add("sem_exit_in_with", "with (other) { mark = 1; exit; } mark = 2;");
  ASSERT_TRUE(Script_PrepareAll());
  EXPECT_EQ(Run("with (other) sem_exit_in_with(); done = 1; return done;"), "1");
  EXPECT_EQ(self.vars->Find(Code_Variable_Find("mark"))->value.val, 1);  // other of other: self
  EXPECT_EQ(other.vars->Find(Code_Variable_Find("mark")), nullptr);
  EXPECT_EQ(Run("with (other) { exit; } done = 5;"), "0");
  EXPECT_EQ(Run("return done;"), "1");  // exit left the unit before done = 5
}

TEST_F(CodeSemantics, BreakAndContinueInsideSwitchInsideLoops) {
  EXPECT_EQ(Run("var i, n; i = 0; n = 0;\n"
                "while (i < 3) { i += 1; switch (i) { case 2: break; default: n += 10; } n += 1; }\n"
                "return n;"),
            "23");
  EXPECT_EQ(Run("var n; n = 0; repeat (4) { n += 1; switch (n mod 2) { case 0: continue; } n += 100; } return n;"),
            "204");
  EXPECT_EQ(Run("var n; n = 0; do { n += 1; switch (n) { case 2: continue; case 3: break; } } until (n >= 3) return n;"),
            "3");
  EXPECT_EQ(Run("var i, n; n = 0; for (i = 0; i < 5; i += 1) switch (i) { case 3: exit; default: n += 1; }"), "0");
}

TEST_F(CodeSemantics, TruthIsAboveHalfInEveryCondition) {
  EXPECT_EQ(Run("var w, n; w = 1; n = 0; while (w) { w -= 0.25; n += 1; } return n;"), "2");
  EXPECT_EQ(Run("var w; w = 2; do w -= 0.5 until (!(w > 0.5) || w == 0.5) return w;"), "0.5");
  EXPECT_EQ(Run("var i; for (i = 1; i; i -= 0.5) {} return i;"), "0.5");
  EXPECT_EQ(Run("var h; h = 0.5; if (h && 1) return 1; if (h || 0) return 2; return 3;"), "3");
  EXPECT_EQ(Run("s = \"1\"; if (s) return 1; if (!s) return 2;"), "2");
  // An arithmetic result of exactly 0.5 is false in each shape of operands:
  // two instance variables, a variable and a constant, a local and a constant.
  EXPECT_EQ(Run("a = 0.25; b = 0.25; if (a + b) return 1; if (a + 0.25) return 2; return 3;"), "3");
  EXPECT_EQ(Run("var h; h = 0.25; if (h + 0.25) return 1; if (h + h) return 2; while (h * 2) return 3; return 4;"), "4");
  EXPECT_EQ(Run("a = 0.25; b = 0.2500001; if (a + b) return 1; return 2;"), "1");
}

TEST_F(CodeSemantics, StringsGrowInPlaceWithoutSharing) {
  EXPECT_EQ(Run("s = \"ab\"; t = s; s += \"c\"; return t + \"|\" + s;"), "\"ab|abc\"");
  std::string doubled = "var s; s = \"x\"; repeat (5) s += s; return s == \"" + std::string(32, 'x') + "\";";
  EXPECT_EQ(Run(doubled.c_str()), "1");
  EXPECT_EQ(Run("var l; l[3] = \"a\"; repeat (100) l[3] += \"bc\"; global.gs = \"\"; global.gs += l[3]; "
                "return global.gs == l[3] && l[3] != \"a\";"),
            "1");
  EXPECT_EQ(Run("s = 1; s += \"x\";"), "error: Test (line 1): Wrong type of arguments to +.");
}

TEST_F(CodeSemantics, LocalShortcutsKeepMarksStringsAndErrors) {
  EXPECT_EQ(Run("var a; a = \"s\"; a = 2; a += 1; a -= 0.5; return a;"), "2.5");
  EXPECT_EQ(Run("var a; a = \"s\"; a -= 1;"), "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(Run("var a; a = \"s\"; a++;"), "error: Test (line 1): Cannot increment the string a.");
  EXPECT_EQ(Run("var a, b; b = \"t\"; a = 1; a = b; a += \"u\"; return a;"), "\"tu\"");
  EXPECT_EQ(Run("var a; a = 1; ++a; a--; --a; return a;"), "0");
}

TEST_F(CodeSemantics, ConditionsOnLocalsAndArgumentsCompareLikeTheOperators) {
  const char* each =
      "var a, n; n = 0; a = %s;\n"
      "if (a < 2) n += 1; if (a <= 2) n += 10; if (a > 2) n += 100;\n"
      "if (a >= 2) n += 1000; if (a == 2) n += 10000; if (a != 2) n += 100000;\n"
      "return n;";
  char text[512];
  for (auto [value, expected] : {std::pair{"1", "100011"}, {"2", "11010"}, {"3", "101100"}}) {
    std::snprintf(text, sizeof text, each, value);
    EXPECT_EQ(Run(text), expected) << value;
  }
  // A string in the local: equality is false, ordering an error, in && too.
  EXPECT_EQ(Run("var a; a = \"2\"; if (a == 2) return 1; if (a != 2 && 1) return 2;"), "2");
  EXPECT_EQ(Run("var a; a = \"2\";\nwhile (a < 3) {}"), "error: Test (line 2): Wrong type of arguments to <.");
  Script_Add("sem_countdown", "var n; n = 0; while (argument0 > 0.5) { argument0 -= 1; n += 1; } return n;");
  ASSERT_TRUE(Script_PrepareAll());
  EXPECT_EQ(Run("return sem_countdown(3) * 10 + sem_countdown(\"s\" == 1);"), "30");
  EXPECT_EQ(Run("return sem_countdown(\"s\");"), "error: Script.sem_countdown (line 1): Wrong type of arguments to >.");
}

TEST_F(CodeSemantics, ComparisonsWithTextConstantsMeetEveryKindOfValue) {
  const char* each =
      "var a, n; n = 0; a = %s;\n"
      "if (a == \"e\") n += 1; if (a != \"e\") n += 10; n += (a == \"\") * 100 + (a != \"\") * 1000;\n"
      "return n;";
  char text[512];
  for (auto [value, expected] : {std::pair{"\"e\"", "1001"}, {"\"ee\"", "1010"}, {"\"\"", "110"}, {"0", "1010"}}) {
    std::snprintf(text, sizeof text, each, value);
    EXPECT_EQ(Run(text), expected) << value;
  }
  // Any node on the left: calls, fields, array elements; the left keeps its errors.
  EXPECT_EQ(Run("w = \"ab\"; v[2] = \"ab\"; return (add3(\"a\", \"b\", \"\") == \"ab\") + (w == \"ab\") + (v[2] != \"ab\");"), "2");
  EXPECT_EQ(Run("return (nothing_here == \"x\");"), "error: Test (line 1): Unknown variable nothing_here");
}

TEST_F(CodeSemantics, JoinsWithTextConstantsMeetEveryKindOfValue) {
  EXPECT_EQ(Run("var s; s = \"a\"; w = \"b\"; v[1] = \"c\"; return \"k\" + s + \"-\" + w + (v[1] + \"!\") + \"\";"), "\"ka-bc!\"");
  EXPECT_EQ(Run("var s; s = \"a\"; s = s + \"b\"; s = \"c\" + s; return s + add3(\"x\", \"y\", \"\") + \"\";"), "\"cabxy\"");
  EXPECT_EQ(Run("var s; s = 2;\nreturn \"k\" + s;"), "error: Test (line 2): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var s; s = 2;\n\nreturn s + \"k\";"), "error: Test (line 3): Wrong type of arguments to +.");
  EXPECT_EQ(Run("return \"k\" + nothing_here;"), "error: Test (line 1): Unknown variable nothing_here");
  EXPECT_EQ(Run("if (\"k\" + \"\") return 1; return 2;"), "2");  // a text is false
  EXPECT_EQ(Run("var s; s = \"\"; return \"\" + add3(\"1\", \"2\", s) + \"\" + s + (\"\" + \"\");"), "\"12\"");
  // A call's text joined where it lies, while it has room, and past it.
  const std::string tens = "0123456789012345678901234567890123456789012345678";
  for (const char* more : {"", "ab", "abcdefghijklmnop"}) {
    std::string call = "add3(\"" + tens + "\", \"" + more + "\", \"\")";
    EXPECT_EQ(Run(("return \"<-\" + " + call + " + \"->\";").c_str()), "\"<-" + tens + more + "->\"");
  }
}

TEST_F(CodeSemantics, ArrayRowsAndColumnsGrowKeepingWhatTheyHold) {
  EXPECT_EQ(Run("var a, i; for (i = 0; i < 40; i += 1) a[i, i * 3] = i; "
                "s = 0; for (i = 0; i < 40; i += 1) s += a[i, i * 3] + a[i, 0]; return s;"),
            "780");  // the columns before a written one read 0
  EXPECT_EQ(Run("var a; a[5, 0] = 1; a[2, 1] = 2; return a[3, 0];"), "error: Test (line 1): Unknown array element a[3,0]");
  EXPECT_EQ(Run("var a; a[1, 2] = 1; return a[6, 0];"), "error: Test (line 1): Unknown array element a[6,0]");
  EXPECT_EQ(Run("g[3, 1] = \"x\"; g[17, 0] = \"y\"; g[3, 1] += \"z\"; return g[3, 1] + g[17, 0];"), "\"xzy\"");
}
