// Error texts and the error report, and the self/other of `with`.
#include "Code_TestSupport.h"

using codetest::CodeTest;

class CodeErrors : public CodeTest {};

TEST_F(CodeErrors, CompileErrorsNameUnitLineAndWhat) {
  EXPECT_EQ(Run("a = 1;\nb + 2;"), "compile: Test (line 2): malformed assignment statement");
  EXPECT_EQ(Run("a = (1 + ;"), "compile: Test (line 1): unexpected symbol ';'");
  EXPECT_EQ(Run("if (a) {\n a = 1;\n"), "compile: Test (line 3): symbol } expected, found the end of the code");
  EXPECT_EQ(Run("a = \"open\n\n"), "compile: Test (line 1): string not closed");
  EXPECT_EQ(Run("/* open"), "compile: Test (line 1): comment not closed");
  EXPECT_EQ(Run("a = 1 @ 2;"), "compile: Test (line 1): unexpected symbol '@'");
  EXPECT_EQ(Run("a = $;"), "compile: Test (line 1): malformed hexadecimal number");
  EXPECT_EQ(Run("case 1: a = 1;"), "compile: Test (line 1): case outside a switch");
  EXPECT_EQ(Run("for (i = 0 i < 3; i += 1) {}"), "compile: Test (line 1): symbol ; expected, found 'i'");
  EXPECT_EQ(Expr("1 2"), "compile: Test (line 1): unexpected symbol '2' after the expression");
  EXPECT_EQ(Run("1.x = 2; 3 = 4;"), "compile: Test (line 1): cannot assign to a value that is no variable");
}

TEST_F(CodeErrors, EvaluateGivesErrorTextAndFlag) {
  CCode code("a = 1;\n\nreturn a + missing;", false);
  ASSERT_TRUE(code.Compile("Object.obj_test.Step.0"));
  RValue result{VALUE_REAL, nullptr, 5};
  EXPECT_FALSE(Code_Evaluate(&self, &other, &code, &result));
  EXPECT_STREQ(RValue_Text(result), "ERROR");
  EXPECT_TRUE(Code_RuntimeError);
  EXPECT_EQ(Code_ErrorText, "Object.obj_test.Step.0 (line 3): Unknown variable missing");
  CCode fine("return 1;", false);
  ASSERT_TRUE(fine.Compile("Fine"));
  EXPECT_TRUE(Code_Evaluate(&self, &other, &fine, &result));
  EXPECT_FALSE(Code_RuntimeError);  // cleared when a unit starts
  RValue_Free(&result);
}

TEST_F(CodeErrors, ExecuteOrReportFramesWithTheEventAndKeepsTheResult) {
  g_CodeEventContext = CodeEventContext{3, "obj_player", 3, 0, 1};
  CCode code("x = 1;\nx = x / 0;", false);
  ASSERT_TRUE(code.Compile("Object.obj_player.Step.0"));
  RValue result{VALUE_REAL, nullptr, 9};
  EXPECT_FALSE(Code_ExecuteOrReport(&self, &other, &code, &result));
  EXPECT_EQ(result.val, 9);
  EXPECT_STREQ(Error_Last(),
               "ERROR in\naction number 2\nof Step Event 0\nfor object obj_player:\n\n"
               "Object.obj_player.Step.0 (line 2): Division by zero.");
  EXPECT_TRUE(Error_Occurred());
  EXPECT_EQ(g_PendingTransition, -1);  // not fatal: the game goes on
  EXPECT_EQ(ErrorForm.text.rfind("\r\n" + std::string(43, '_') + "\r\nERROR in\r\naction number 2\r\n", 0), 0u);
  EXPECT_TRUE(ErrorForm.showIgnore);
}

TEST_F(CodeErrors, FatalErrorsAbortOnceAndStopTheGame) {
  Error_Show_Action("first", true);
  EXPECT_STREQ(Error_Last(), "FATAL first");
  EXPECT_EQ(g_PendingTransition, -400);
  EXPECT_TRUE(Error_Aborted());
  Error_Show_Action("second", false);  // after an abort every report returns at once
  EXPECT_STREQ(Error_Last(), "FATAL first");
  Error_Reset();
  g_GameOptions.errors_fatal = true;
  g_PendingTransition = -1;
  Error_Show_Action("made fatal", false);
  EXPECT_STREQ(Error_Last(), "FATAL made fatal");
  EXPECT_EQ(g_PendingTransition, -400);
}

TEST_F(CodeErrors, DialogTextBreaksLinesAndTabs) {
  g_GameOptions.show_errors = true;
  Error_FormatDialogText("a\nb\r\nc\rd\te", false);
  EXPECT_EQ(ErrorForm.text, "\r\n" + std::string(43, '_') + "\r\na\r\nb\r\nc\r\nd       e");
  EXPECT_FALSE(ErrorForm.showIgnore);
}

TEST_F(CodeErrors, CompileErrorsOfScriptsAreFatal) {
  Script_Add("broken_script", "a = ;");
  EXPECT_FALSE(Script_PrepareAll());
  EXPECT_STREQ(Error_Last(), "COMPILATION ERROR in Script: broken_script\nScript.broken_script (line 1): unexpected symbol ';'");
  EXPECT_EQ(g_PendingTransition, -400);
  SetUpTestSuite();  // put the good scripts back for the other tests
}

TEST_F(CodeErrors, WithSwapsSelfAndOtherAndBreaks) {
  // Locals stay the unit's inside with; plain names mean the new self.
  EXPECT_EQ(Run("var got, peer; mark = \"self\"; other.mark = \"other\";\n"
                "with (other) { got = mark; peer = other.mark; seen = 1; } return got + peer;"),
            "\"otherself\"");
  EXPECT_NE(other.vars->Find(Code_Variable_Find("seen")), nullptr);
  EXPECT_EQ(Run("n = 0; with (self) { n += 1; break; n += 10; } return n;"), "1");
  EXPECT_EQ(Run("with (noone) return 1; return 2;"), "2");
  other.marked = true;  // destroyed instances are skipped
  EXPECT_EQ(Run("k = 0; with (other) k = 1; return k;"), "0");
  other.marked = false;
  EXPECT_EQ(Run("with (other) { exit; } return 2;"), "0");
}

namespace {
std::string g_where;
void F_TestWhere(RValue&, CInstance*, CInstance*, int, const RValue*) {
  g_where += std::string(Code_CurrentUnitName()) + ":" + std::to_string(Code_CurrentLine()) + ";";
}
}  // namespace

TEST_F(CodeErrors, TheRunningUnitAndLineAreKnownWhileCodeRuns) {
  static bool added = false;
  if (!added) Function_Add("test_where", F_TestWhere, 0);
  added = true;
  g_where.clear();
  EXPECT_EQ(Run("a = 1;\nif (a)\n{\n  test_where();\n}\nrepeat (2) test_where()"), "0");
  EXPECT_EQ(g_where, "Test:4;Test:6;Test:6;");
  EXPECT_EQ(Code_CurrentUnitName(), nullptr);
  EXPECT_EQ(Code_CurrentLine(), -1);
}

TEST_F(CodeErrors, LoopConditionErrorsNameTheConditionsLine) {
  EXPECT_EQ(Run("var i; i = 0;\nwhile (i < 2 + q)\n{\n  i += 1;\n}"), "error: Test (line 2): Unknown variable q");
  EXPECT_EQ(Run("var i;\nfor (i = 0; i < 3; i += 1)\n{\n  i += 0;\n  if (i == 1) w = z;\n}"),
            "error: Test (line 5): Unknown variable z");
  EXPECT_EQ(Run("do\n{\n  n = 1;\n}\nuntil (n > zz)"), "error: Test (line 5): Unknown variable zz");
}
