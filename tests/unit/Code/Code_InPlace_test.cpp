// Values read and stored in place: conditions made of comparisons, operators
// reading locals where they stand, steps of locals inside statement lists,
// stores to self's names and to indexed locals. Each must give what the
// general path gives, strings, NaN, unknown variables and errors included.
#include "Code_TestSupport.h"

using codetest::CodeTest;

class CodeInPlace : public CodeTest {};

TEST_F(CodeInPlace, JoinedComparisonsShortCircuitAndMeetStrings) {
  // Every outcome of two comparisons joined by && and by ||, on locals against constants and locals.
  const char* each =
      "var a, b, n; a = %s; b = 2; n = 0;\n"
      "if (a > 1 && a != 3) n += 1; if (a < 2 || a >= 3) n += 10; if (a <= b && b == 2) n += 100;\n"
      "if (a > b || a == 1) n += 1000; if (a >= 1 && a <= 3 && a != 2 && b < 3) n += 10000;\n"
      "return n;";
  char text[512];
  for (auto [value, expected] : {std::pair{"1", "11110"}, {"2", "101"}, {"3", "11010"}, {"4", "1011"}}) {
    std::snprintf(text, sizeof text, each, value);
    EXPECT_EQ(Run(text), expected) << value;
  }
  // Five comparisons (more than are tested in place) and a mix of && and ||.
  EXPECT_EQ(Run("var a; a = 5; if (a > 1 && a > 2 && a > 3 && a > 4 && a > 5) return 1; "
                "if (a > 9 || a < 1 && a == 5 || a == 5) return 2; return 3;"),
            "2");
  // A string meets the second comparison only when the first lets it through.
  EXPECT_EQ(Run("var a, s; a = 0; s = \"t\"; if (a > 1 && s < 2) return 1; if (a < 1 || s < 2) return 2;"), "2");
  EXPECT_EQ(Run("var a, s; a = 2; s = \"t\";\nif (a > 1 && s < 2) return 1;"),
            "error: Test (line 2): Wrong type of arguments to <.");
  EXPECT_EQ(Run("var a, s; a = 2; s = \"t\"; if (a > 1 && s != 2) return 1; return 0;"), "1");
  // Two strings are ordered byte by byte, a string and a real are unequal.
  EXPECT_EQ(Run("var s, t; s = \"ab\"; t = \"b\"; if (s < t && t > s) return 1; return 0;"), "1");
  EXPECT_EQ(Run("var s, t; s = \"1\"; t = 1; if (s == t || s > t) return 1; return 0;"),
            "error: Test (line 1): Wrong type of arguments to >.");
}

TEST_F(CodeInPlace, ComparisonsWithNaNFollowTheOperators) {
  // inf - inf is NaN: only != holds, alone, joined and between two locals.
  EXPECT_EQ(Run("var a, n, b; a = 1; repeat (400) a *= 10; a -= a; b = a; n = 0;\n"
                "if (a < 1) n += 1; if (a <= 1) n += 2; if (a > 1) n += 4; if (a >= 1) n += 8;\n"
                "if (a == a) n += 16; if (a != 1) n += 32; if (a != b && a != 1) n += 64;\n"
                "if (a == b || a < b || a > b) n += 128; while (a < 1) { n += 256; break; }\n"
                "return n;"),
            "96");
}

TEST_F(CodeInPlace, SelfNamesInConditionsAndStores) {
  EXPECT_EQ(Run("hp = 0; var i; for (i = 0; i < 50; i += 1) { hp += 3; if (hp > 100) hp -= 100; } return hp;"), "50");
  EXPECT_EQ(Run("if (hp_missing > 100) return 1;"), "error: Test (line 1): Unknown variable hp_missing");
  EXPECT_EQ(Run("\nhp_missing += 1;"), "error: Test (line 2): Unknown variable hp_missing");
  EXPECT_EQ(Run("hp = \"a\";\nif (hp > 1) return 1;"), "error: Test (line 2): Wrong type of arguments to >.");
  EXPECT_EQ(Run("hp = \"a\"; if (hp != 1) hp += \"b\"; hp -= 0;"), "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(Run("hp = \"a\"; hp += \"b\"; hp = hp + \"c\"; return hp;"), "\"abc\"");
  EXPECT_EQ(Run("hp = 2; hp = \"s\"; hp = 4; hp -= 1.5; return hp;"), "2.5");
  g_GameOptions.unknown_variables_zero = true;
  EXPECT_EQ(Run("if (hp_missing > -1) hp_missing += 2; return hp_missing;"), "2");
}

TEST_F(CodeInPlace, GlobalvarDeclaredLaterMakesAPlainNameGlobal) {
  // The name is self's when the first unit compiles; a later declaration
  // makes the same compiled code read and write the global.
  CCode uses("if (late_gv > 3) late_gv += 1; return late_gv;", false);
  ASSERT_TRUE(uses.Compile("Uses"));
  EXPECT_EQ(Run("late_gv = 1;"), "0");
  RValue result{};
  ASSERT_TRUE(Code_Evaluate(&self, &other, &uses, &result));
  EXPECT_EQ(codetest::Show(result), "1");
  EXPECT_EQ(Run("globalvar late_gv; late_gv = 10;"), "0");
  ASSERT_TRUE(Code_Evaluate(&self, &other, &uses, &result));
  EXPECT_EQ(codetest::Show(result), "11");
  EXPECT_EQ(Run("return global.late_gv * 100 + self.late_gv;"), "1101");
  RValue_Free(&result);
}

TEST_F(CodeInPlace, IndexedLocalsFallBackForEveryOddIndex) {
  EXPECT_EQ(Run("var a, i, j; i = 1.4; j = 2; a[i, j] = 5; i = 1; return a[i, j] + a[1, 2];"), "10");
  EXPECT_EQ(Run("var a, i, j; i = -1; j = 0;\na[i, j] = 1;"), "error: Test (line 2): Negative array index for a.");
  EXPECT_EQ(Run("var a, i, j; i = 0; j = 32000;\n\ns = a[i, j];"),
            "error: Test (line 3): Array index >= 32000 for a.");
  EXPECT_EQ(Run("var a, i, j; i = \"0\"; j = 0; a[i, j] = 1;"), "error: Test (line 1): Array index of a must be a number.");
  EXPECT_EQ(Run("var a, i, j; i = 2; j = 3; a[i, j] = \"x\"; a[i, j] += \"y\"; a[i, j] -= 0;"),
            "error: Test (line 1): Wrong type of arguments to -.");
  EXPECT_EQ(Run("var a, i, j; i = 2; j = 3; a[i, j] = \"x\"; a[i, j] += \"y\"; a[j] = a[i, j] + a[i, j]; return a[0, 3];"),
            "\"xyxy\"");
  EXPECT_EQ(Run("var a, i, j, s; i = 2; j = 3; s = \"x\"; a[i, j] = i * j; a[j] = s + s;\na[i, i] = i - s;"),
            "error: Test (line 2): Wrong type of arguments to -.");
  EXPECT_EQ(Run("var a, i, j; i = 2; j = 3; a[i, j] = i * j; a[j, i] = i / j * 3; return a[2, 3] + a[3, 2];"), "8");
  EXPECT_EQ(Run("var a, i, j, s; i = 1; j = 1; a[i, j] = \"b\"; s = \"a\"; s += a[i, j]; s = a[i, j]; s += a[i, j]; return s;"),
            "\"bb\"");
  EXPECT_EQ(Run("var a, i, j, s; i = 1; j = 2; s = 0; a[j, i] = 1;\ns -= a[i, j];"),
            "error: Test (line 2): Unknown array element a[1,2]");
  EXPECT_EQ(Run("var a, i, j; i = 2; j = 3; a[1, 1] = 0;\ns = a[i, j];"), "error: Test (line 2): Unknown array element a[2,3]");
  EXPECT_EQ(Run("var a, i, j; i = 4; j = 0; a[i, j] += 1;"), "error: Test (line 1): Unknown array element a[4,0]");
  // Read where they stand by switch and text comparisons, with one index computed.
  EXPECT_EQ(Run("var w, i; w[0] = \"a\"; w[2] = \"c\"; i = 5; switch (w[i mod 4 + 0.6]) { case \"c\": return 1; } return 0;"),
            "1");
  EXPECT_EQ(Run("var w, i; w[0] = \"a\"; i = 5;\nswitch (w[i mod 4]) { case \"a\": return 1; }"),
            "error: Test (line 2): Unknown array element w[0,1]");
  EXPECT_EQ(Run("var w; w[0] = \"a\"; if (w[\"0\" + \"\"] == \"a\") return 1;"),
            "error: Test (line 1): Array index of w must be a number.");
  g_GameOptions.unknown_variables_zero = true;
  EXPECT_EQ(Run("var a, i, j; i = 4; j = 7; a[i, j] += 1; return a[i, j] + a[j, i];"), "1");
  EXPECT_EQ(Run("var w; w[0] = \"a\"; switch (w[3 - 1]) { case 0: return 1; case \"a\": return 2; } return 3;"), "1");
}

TEST_F(CodeInPlace, StepsInStatementListsKeepErrorsAndLines) {
  EXPECT_EQ(Run("var i, n; n = 0; i = 0; while (i < 10) { n += i; i += 1; i -= 0.5; i++; } return n * 100 + i;"), "3160.5");
  EXPECT_EQ(Run("var i, n; i = 0;\nn = 1;\ni = \"x\";\ni += 1;"), "error: Test (line 4): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var i; i = \"x\";\n{\ni++;\n}"), "error: Test (line 3): Cannot increment the string i.");
  EXPECT_EQ(Run("var i; for (i = \"a\"; i != 3;\ni += 1) {}"), "error: Test (line 2): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var i, n; n = 0; for (i = 0; i < 5; i++) { if (i == 3) continue; n += 1; } return n * 10 + i;"), "45");
}

TEST_F(CodeInPlace, OperatorsReadingLocalsInPlaceMeetStrings) {
  EXPECT_EQ(Run("var s, t; s = \"a\"; t = \"b\"; return (s + t) + t + (\"c\" + s);"), "\"abbca\"");
  EXPECT_EQ(Run("var s, i; s = \"a\"; i = 1;\nreturn i + s;"), "error: Test (line 2): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var s, i; s = \"a\"; i = 1; return (i * 2) + s;"), "error: Test (line 1): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var s, i; s = \"a\"; i = 1; return add3(s, \"\", \"\") * i;"),
            "error: Test (line 1): Wrong type of arguments to *.");
  EXPECT_EQ(Run("var i, j; i = 1; j = 0; return i / j;"), "error: Test (line 1): Division by zero.");
  EXPECT_EQ(Run("var i, j; i = 7; j = 2; return (i * j + i) mod (j + 3) + (i div j) * 10;"), "31");
  EXPECT_EQ(Run("var s, t; s = \"a\"; t = \"a\"; return (s == t) + (s != t) * 2 + (s <= t) * 4;"), "5");
}

TEST_F(CodeInPlace, SwitchTextLabelsSharingBytesAndOneStepCases) {
  // Labels sharing first bytes, prefixes of each other, the empty text and a
  // repeated label (the first one wins); each case steps n and breaks.
  const char* each =
      "var w, n; w[0] = %s; n = 0;\n"
      "switch (w[0]) { case \"pear\": n += 1; break; case \"plum\": n += 2; break; case \"p\": n += 3; break;\n"
      "case \"pea\": n += 4; break; case \"\": n += 5; break; case 7: n += 6; break; case \"plum\": n += 7; break;\n"
      "case \"pears\": n -= 1; break; default: n += 9; }\nreturn n;";
  char text[512];
  for (auto [value, expected] : {std::pair{"\"pear\"", "1"}, {"\"plum\"", "2"}, {"\"p\"", "3"}, {"\"pea\"", "4"},
                                 {"\"\"", "5"}, {"7", "6"}, {"\"pears\"", "-1"}, {"\"pl\"", "9"}, {"\"7\"", "9"}}) {
    std::snprintf(text, sizeof text, each, value);
    EXPECT_EQ(Run(text), expected) << value;
  }
  // A one-step case that falls into the next, and one ending the body.
  EXPECT_EQ(Run("var n; n = 0; switch (\"a\") { case \"a\": n += 1; case \"b\": n += 10; } return n;"), "11");
  EXPECT_EQ(Run("var n; n = 0; switch (\"b\") { case \"a\": n += 1; break; default: n += 10; } return n;"), "10");
  // The stepped local holding a text fails on the step's line.
  EXPECT_EQ(Run("var n; n = \"x\";\nswitch (\"a\") { case \"a\":\n n += 1; break; } return n;"),
            "error: Test (line 3): Wrong type of arguments to +.");
  EXPECT_EQ(Run("var n, i; n = 0; for (i = 0; i < 2; i += 1) switch (i) { case 0: n += 1; break; case 1: n += 2;\n"
                "break; } return n;"),
            "3");
}

TEST_F(CodeInPlace, SwitchRunsFromItsLabelThroughFlow) {
  const char* each =
      "var w, n, i; w = %s; n = 0;\n"
      "for (i = 0; i < 3; i += 1) switch (w) { case \"a\": n += 1; case 2: n += 10; break;\n"
      "default: n += 100; continue; case \"b\": n += 1000; }\n"
      "return n * 10 + i;";
  char text[512];
  for (auto [value, expected] : {std::pair{"\"a\"", "333"}, {"2", "303"}, {"\"b\"", "30003"}, {"\"c\"", "3003"}}) {
    std::snprintf(text, sizeof text, each, value);
    EXPECT_EQ(Run(text), expected) << value;
  }
  // Labels that are no constants are evaluated in order until one matches.
  EXPECT_EQ(Run("var a; a = 2; switch (a) { case test_pair(0, 1): test_log(1); case test_pair(0, 2): test_log(2); "
                "case test_pair(0, 3): test_log(3); } return a;"),
            "2");
  EXPECT_EQ(codetest::g_log, "2;3;");
}
