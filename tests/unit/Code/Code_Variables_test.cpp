// Variables: instance, global, globalvar, built-in, arrays and the
// unknown-variable rule, and the access by id that built-ins use.
#include "Code_TestSupport.h"

#include <cstring>
#include <vector>

#include "Base/Console.h"
#include "Platform/MemoryManager.h"

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

// Past the first few variables a list keeps them elsewhere: the order of a
// walk, the values and the addresses handed out stay as they were, also
// when a cleared list fills again.
TEST(CodeVariableList, ManyVariablesKeepOrderAndAddresses) {
  CVariableList list;
  for (int round = 0; round < 2; ++round) {
    std::vector<int> ids;
    std::vector<CVariable*> held;
    for (int k = 0; k < 40; ++k) {
      int id = 100000 + (k * 37) % 200;  // several share a bucket
      ids.push_back(id);
      held.push_back(list.FindOrAdd(id));
      held.back()->value.val = id + round;
    }
    for (size_t k = 0; k < ids.size(); ++k) {
      EXPECT_EQ(list.Find(ids[k]), held[k]);
      EXPECT_EQ(list.FindOrAdd(ids[k]), held[k]);
      EXPECT_EQ(held[k]->value.val, ids[k] + round);
    }
    std::vector<int> expected;
    for (int b = 0; b < CVariableList::BUCKETS; ++b)
      for (int id : ids)
        if ((id & (CVariableList::BUCKETS - 1)) == b) expected.push_back(id);
    std::vector<int> seen;
    list.ForEach([&](int id, const CVariable*) { seen.push_back(id); });
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(list.Count(), 40);
    EXPECT_EQ(list.Find(99999), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    for (int id : ids) EXPECT_EQ(list.Find(id), nullptr);
    EXPECT_EQ(list.FindOrAdd(ids[0])->value.val, 0);  // a fresh variable is the real 0
    list.Clear();
  }
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

// Rows grow in room that is not cleared first: whatever the memory held
// before, the columns up to the stored length read as the real 0, those past
// it are not stored, and clearing frees every text and block, once.
TEST(CodeVariableRows, GrownRoomReadsAsZeroAndClearsWithoutLeaks) {
  // Leave freed memory full of set bits for the rows to be given.
  std::vector<void*> dirty;
  for (size_t size = 64; size <= 65536; size *= 2) {
    void* b = MEM_ALLOC(size);
    std::memset(b, 0xFF, size);
    dirty.push_back(b);
  }
  for (void* b : dirty) MEM_FREE(b);

  static int lines;
  lines = 0;
  void (*saved)(const char*) = g_ConsoleListener;
  g_ConsoleListener = [](const char*) { ++lines; };
  int64_t before = MemoryManager::LiveBlocks();
  CVariable v{};
  Variable_ElementGrow(&v, 0, 1)->val = 1;  // row 0 keeps column 0 unused
  Variable_ElementGrow(&v, 2, 3)->val = 3;
  Variable_ElementGrow(&v, 2, 40)->val = 40;     // past the room: the row grows
  Variable_ElementGrow(&v, 2, 1000)->val = 1000;  // and again, from a gap
  Variable_ElementGrow(&v, 2, 1001)->val = 1001;  // the next column
  for (int j : {0, 1, 2, 4, 39, 41, 999}) {
    const RValue* e = Variable_Element(&v, 2, j);
    ASSERT_NE(e, nullptr) << j;
    EXPECT_EQ(e->kind, VALUE_REAL) << j;
    EXPECT_EQ(e->str, nullptr) << j;
    EXPECT_EQ(e->val, 0) << j;
  }
  EXPECT_EQ(Variable_Element(&v, 2, 1001)->val, 1001);
  EXPECT_EQ(Variable_Element(&v, 2, 1002), nullptr);
  EXPECT_EQ(Variable_Element(&v, 0, 2), nullptr);
  EXPECT_EQ(Variable_Element(&v, 1, 0), nullptr);  // the row between has none
  // Texts at the edges of the runs the clearing looks at together.
  for (int j : {0, 7, 8, 15, 16, 17, 999, 1001}) RValue_SetString(Variable_ElementGrow(&v, 2, j), "t");
  RValue_SetString(Variable_ElementGrow(&v, 0, 1), "u");
  RValue_SetString(Variable_ElementGrow(&v, 5, 2), "w");
  EXPECT_GT(MemoryManager::LiveBlocks(), before + 10);
  Variable_Clear(&v);
  g_ConsoleListener = saved;
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
  EXPECT_EQ(lines, 0);  // no free of a block that is not ours
  EXPECT_EQ(v.rows, 0);
}

// The same seen from code: filled in order, with gaps and out of order.
TEST_F(CodeVariables, ArraysFilledOutOfOrderReadZeroInsideAndFailOutside) {
  const int64_t live = MemoryManager::LiveBlocks();
  EXPECT_EQ(Run("var a, i; i = 0; while (i < 300) { a[1, i] = i; i += 1; }\n"
                "a[1, 700] = \"x\"; return a[1, 299] + a[1, 500] + a[1, 0];"),
            "299");
  EXPECT_EQ(Run("var a; a[0, 9] = 1; a[3] = 2; return a[0, 5] + a[0, 9] + a[0, 3];"), "3");
  EXPECT_EQ(Run("var a; a[2, 9] = 1; return a[2, 10];"), "error: Test (line 1): Unknown array element a[2,10]");
  EXPECT_EQ(Run("var a, j; j = 0; while (j < 20) { a[4, j] = \"s\"; j += 1; } return a[4, 19] + a[4, 3];"),
            "\"ss\"");
  EXPECT_EQ(Run("b[0, 70] = 2; b[0, 30] = 1; return b[0, 50] + b[0, 70];"), "2");
  EXPECT_EQ(Run("return b[0, 71];"), "error: Test (line 1): Unknown array element b[0,71]");
  Variable_Globals().Clear();
  delete self.vars;
  self.vars = nullptr;
  EXPECT_EQ(MemoryManager::LiveBlocks(), live);
}
