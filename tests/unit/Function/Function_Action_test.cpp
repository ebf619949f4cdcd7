// The action built-ins without a game world: their registration, and the
// ones that answer from their arguments alone.
#include <cstring>
#include <string>

#include "Code/Code_Context.h"
#include "Function_Call.h"

namespace {
bool IsAction(const RFunction* f) { return std::strncmp(f->name, "action_", 7) == 0; }

// Registered together, right after the drawing built-ins and before the
// file built-ins, each name once.
TEST(FunctionAction, AllNamesRegisteredInOneBlockAfterTheDrawing) {
  InitCWLFunctions();
  int first = -1, last = -1, count = 0;
  for (int i = 0; i < Function_Count(); i++) {
    if (!IsAction(Function_Get(i))) continue;
    if (first < 0) first = i;
    last = i;
    count++;
  }
  EXPECT_EQ(count, 131);
  EXPECT_EQ(last - first + 1, count);
  EXPECT_LT(Function_FindBuiltIn("screen_save"), first);
  EXPECT_GT(Function_FindBuiltIn("file_exists"), last);
}

TEST(FunctionAction, IfGivesItsArgumentBack) {
  EXPECT_EQ(CallReal("action_if", {2.5}), 2.5);
  EXPECT_EQ(CallText("action_if", {"yes"}), "yes");
}

// The flag follows the truth rule and reads back as argument_relative does.
TEST(FunctionAction, RelativeFlagTrueFromOneHalf) {
  CallReal("action_set_relative", {0.5});
  EXPECT_EQ(g_ActionRelative, 1);
  CallReal("action_set_relative", {0.49});
  EXPECT_EQ(g_ActionRelative, 0);
}

TEST(FunctionAction, DiceOfOneSideOrLessAlwaysTrue) {
  for (double sides : {1.0, 0.5, 0.0, -4.0}) EXPECT_EQ(CallReal("action_if_dice", {sides}), 1) << sides;
}
}  // namespace
