// Variables: instance, global, globalvar, built-in, arrays and the
// unknown-variable rule, and the access by id that built-ins use.
#include "Code_TestSupport.h"

using codetest::CodeTest;

class CodeVariables : public CodeTest {};

TEST_F(CodeVariables, UnknownVariablesErrorUnlessTheOptionSaysZero) {
  EXPECT_EQ(Run("return never_set;"), "error: Test (line 1): Unknown variable never_set");
  EXPECT_EQ(Run("never_set += 1;"), "error: Test (line 1): Unknown variable never_set");
  EXPECT_EQ(Run("global.never_g = global.never_g2;"), "error: Test (line 1): Unknown variable never_g2");
  g_GameOptions.unknown_variables_zero = true;
  EXPECT_EQ(Run("return never_set + global.never_g;"), "0");
  EXPECT_EQ(Run("arr[2] = 1; return arr[5];"), "0");
}

TEST_F(CodeVariables, InstanceVariablesLiveInSelf) {
  EXPECT_EQ(Run("hp = 10; self.hp += 5; return hp;"), "15");
  ASSERT_NE(self.vars, nullptr);
  CVariable* v = self.vars->Find(Code_Variable_Find("hp"));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->value.val, 15);
  EXPECT_EQ(Run("other.hp = 3; return other.hp + hp;"), "18");
  EXPECT_EQ(other.vars->Find(Code_Variable_Find("hp"))->value.val, 3);
}

TEST_F(CodeVariables, TargetsThatNameNoInstance) {
  EXPECT_EQ(Run("noone.x = 1; return 5;"), "5");  // writing to nobody does nothing
  EXPECT_EQ(Run("return noone.x;"),
            "error: Test (line 1): Unable to find any instance for object index -4 to read x");
  EXPECT_EQ(Run("t = \"text\"; return t.x;"), "error: Test (line 1): Instance or object expected, not a string.");
}

TEST_F(CodeVariables, GlobalDotAndGlobalvar) {
  EXPECT_EQ(Run("global.score_g = 7; return global.score_g;"), "7");
  EXPECT_EQ(self.vars, nullptr);
  // Code compiled before the declaration still finds the global once it ran.
  CCode early("return gv_later;", false);
  ASSERT_TRUE(early.Compile("Early"));
  EXPECT_EQ(Run("globalvar gv_later; gv_later = 3; return global.gv_later;"), "3");
  RValue r{};
  ASSERT_TRUE(Code_Evaluate(&self, &other, &early, &r));
  EXPECT_EQ(r.val, 3);
  EXPECT_EQ(self.vars, nullptr);
}

TEST_F(CodeVariables, TwoIndexArrays) {
  EXPECT_EQ(Run("a[2, 3] = 5; a[1] = 2; return a[2, 3] * 10 + a[0, 1];"), "52");
  EXPECT_EQ(Run("b[3] = 1; return b[1] + b;"), "0");  // stored columns read as 0
  EXPECT_EQ(Run("c[1] = 1; return c[2];"), "error: Test (line 1): Unknown array element c[0,2]");
  EXPECT_EQ(Run("d[0, 31999] = 9; return d[0, 31999];"), "9");
  EXPECT_EQ(Run("d[32000] = 1;"), "error: Test (line 1): Array index >= 32000 for d.");
  EXPECT_EQ(Run("i = -1;\nd[i] = 1;"), "error: Test (line 2): Negative array index for d.");
  EXPECT_EQ(Run("d[\"x\"] = 1;"), "error: Test (line 1): Array index of d must be a number.");
  EXPECT_EQ(Run("var l; l[4, 2] = \"s\"; l[4, 2] += \"t\"; return l[4, 2];"), "\"st\"");
  EXPECT_EQ(Run("global.ga[1, 1] = 4; return global.ga[1, 1];"), "4");
}

TEST_F(CodeVariables, BuiltInVariablesGoThroughGetterAndSetter) {
  codetest::g_builtinValue[0] = 1;
  EXPECT_EQ(Run("test_var += 2; test_var[3] = 8; return test_var * 10 + test_var[3];"), "38");
  EXPECT_EQ(codetest::g_builtinValue[0], 3);
  EXPECT_EQ(Expr("test_readonly"), "42");
  EXPECT_EQ(Run("test_readonly = 1;"), "compile: Test (line 1): cannot assign to the read-only variable test_readonly");
}

TEST_F(CodeVariables, AccessByIdFollowsTheUnknownRule) {
  int id = Code_Variable_Find("by_id_var");
  EXPECT_GE(id, VARIABLE_ID_USER);
  EXPECT_EQ(Code_Variable_Find("by_id_var"), id);
  EXPECT_STREQ(Code_Variable_Name(id), "by_id_var");
  EXPECT_EQ(Code_Variable_Find("test_var"), Variable_BuiltIn_Find("test_var"));

  RValue v{VALUE_STRING, String_Duplicate("left"), 0};
  // Never set: true with 0 normally, false when unknown variables read as 0.
  EXPECT_TRUE(Variable_Global_GetValue(id, 0, &v));
  EXPECT_EQ(v.kind, VALUE_REAL);
  g_GameOptions.unknown_variables_zero = true;
  EXPECT_FALSE(Variable_Global_GetValue(id, 0, &v));
  g_GameOptions.unknown_variables_zero = false;

  RValue five{VALUE_REAL, nullptr, 5};
  Variable_Global_SetValue(id, 2 * ARRAY_DIMENSION + 1, &five);
  EXPECT_TRUE(Variable_Global_GetValue(id, 2 * ARRAY_DIMENSION + 1, &v));
  EXPECT_EQ(v.val, 5);
  EXPECT_FALSE(Variable_Global_GetValue(id, 2 * ARRAY_DIMENSION + 2, &v));  // outside the stored columns
  EXPECT_FALSE(Variable_Global_GetValue(id, 3 * ARRAY_DIMENSION, &v));      // outside the stored rows

  Variable_SetValue(&self, id, 0, &five);
  EXPECT_TRUE(Variable_GetValue(&self, id, 0, &v));
  EXPECT_EQ(v.val, 5);
  Variable_SetValue(&self, Code_Variable_Find("test_var"), 1, &five);
  EXPECT_EQ(codetest::g_builtinValue[1], 5);
  RValue_Free(&v);
}

TEST(CodeVariableList, WalksBucketsInOrderAndKeepsInsertionOrderInABucket) {
  CVariableList list;
  for (int id : {100064, 100001, 100000, 100128}) list.FindOrAdd(id)->value.val = id;
  std::vector<int> seen;
  list.ForEach([&](int id, const CVariable* v) {
    EXPECT_EQ(v->value.val, id);
    seen.push_back(id);
  });
  EXPECT_EQ(seen, (std::vector<int>{100064, 100000, 100128, 100001}));
  EXPECT_EQ(list.Count(), 4);
  list.Clear();
  EXPECT_EQ(list.Find(100001), nullptr);
}

TEST_F(CodeVariables, InstanceIdTargetsReadAndWriteThatInstance) {
  EXPECT_EQ(Run("id_o = 190002; id_o.hp = 5; (190002).hp += 1; with (id_o) hp *= 2; return id_o.hp;"), "12");
  EXPECT_EQ(other.vars->Find(Code_Variable_Find("hp"))->value.val, 12);
  other.marked = true;  // destroyed: never found
  EXPECT_EQ(Run("(190002).hp = 1; return 190002.hp;"),
            "error: Test (line 1): Unable to find any instance for object index 190002 to read hp");
  other.marked = false;
  EXPECT_EQ(other.vars->Find(Code_Variable_Find("hp"))->value.val, 12);
}
