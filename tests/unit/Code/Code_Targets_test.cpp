// obj.name on objects with several instances: reading takes the first,
// writing, compound assignment and steps act on each instance on its own.
#include <gtest/gtest.h>

#include "Code/Code_Main.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class CodeTargets : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    int a = Object_Add("tgt_a");
    Object_Add("tgt_none");
    int b = Object_Add("tgt_b");
    AddRoom({{a, {0, 0}}, {a, {10, 0}}, {b, {20, 0}}});
    ASSERT_TRUE(StartGame());
    self = g_RunRoom->active[2];
  }
  void TearDown() override { Reset(); }
  std::string Run(const char* text) {
    CCode code(text, false);
    if (!code.Compile("Test")) return "compile: " + Code_ErrorText;
    RValue r{};
    bool ok = Code_Evaluate(self, self, &code, &r);
    std::string shown = ok ? std::to_string(static_cast<long long>(r.val)) : "error: " + Code_ErrorText;
    RValue_Free(&r);
    return shown;
  }
  CInstance* self = nullptr;
};

TEST_F(CodeTargets, StepsAndCompoundAssignmentsActOnEachInstance) {
  const char* sum = "var s; s = 0; with (tgt_a) s = s * 100 + hp; return s;";
  EXPECT_EQ(Run("var k; k = 1; with (tgt_a) { hp = k; k += 1; } return tgt_a.hp;"), "1");  // the first
  EXPECT_EQ(Run("tgt_a.hp++; return tgt_a.hp;"), "2");
  EXPECT_EQ(Run(sum), "203");
  EXPECT_EQ(Run("v = tgt_a.hp--; return v;"), "2");  // the first's old value
  EXPECT_EQ(Run(sum), "102");
  EXPECT_EQ(Run("tgt_a.hp += 10; tgt_a.hp *= 2; return 0;"), "0");
  EXPECT_EQ(Run(sum), "2224");
  EXPECT_EQ(Run("all.seen = 7; return tgt_b.seen + tgt_a.seen;"), "14");
}

TEST_F(CodeTargets, NoInstanceIsAnErrorOnlyWhenReading) {
  EXPECT_EQ(Run("tgt_none.x = 1; tgt_none.x += 1; tgt_none.x++; return 5;"), "5");
  EXPECT_EQ(Run("return tgt_none.x;"), "error: Test (line 1): Unable to find any instance for object index 1 to read x");
}
}  // namespace
