// A variable's rows: how elements are found, added in place and grown, and
// that clearing gives every block back.
#include <gtest/gtest.h>

#include "Base/RValue.h"
#include "Platform/MemoryManager.h"
#include "Variable/Variable_List.h"

namespace {
class VariableRows : public ::testing::Test {
 protected:
  void TearDown() override { Variable_Clear(&v); }
  CVariable v{};
};

TEST_F(VariableRows, RealsGoInPlaceOnlyWhereNothingIsFreedOrGrown) {
  EXPECT_TRUE(Variable_SetRealInPlace(&v, 0, 0, 4));  // the element kept inline
  EXPECT_EQ(v.value.val, 4);
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 0, 1, 1));  // no row yet
  RValue_SetReal(Variable_ElementGrow(&v, 0, 1), 1);
  ASSERT_EQ(v.rows, 1);
  int room = v.row[0].capacity;
  ASSERT_GT(room, 3);
  // The column just past the end is added; one further would leave a gap.
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 0, 3, 3));
  EXPECT_EQ(v.row[0].length, 2);
  EXPECT_TRUE(Variable_SetRealInPlace(&v, 0, 2, 2));
  EXPECT_EQ(v.row[0].length, 3);
  for (int j = 3; j < room; ++j) EXPECT_TRUE(Variable_SetRealInPlace(&v, 0, j, j));
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 0, room, 0));  // the row is full
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 1, 0, 0));     // past the rows
  for (int j = 1; j < room; ++j) EXPECT_EQ(Variable_Element(&v, 0, j)->val, j);
  // An element holding a text is left to the general way, which frees it.
  RValue_SetString(Variable_Element(&v, 0, 1), "text");
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 0, 1, 5));
  EXPECT_STREQ(RValue_Text(*Variable_Element(&v, 0, 1)), "text");
  RValue_SetString(&v.value, "inline");
  EXPECT_FALSE(Variable_SetRealInPlace(&v, 0, 0, 5));
}

TEST_F(VariableRows, ColumnsAddedOverAGapAreZero) {
  RValue_SetReal(Variable_ElementGrow(&v, 2, 6), 9);
  EXPECT_EQ(v.rows, 3);
  EXPECT_EQ(v.row[0].length, 0);
  EXPECT_EQ(Variable_Element(&v, 1, 0), nullptr);
  for (int j = 0; j < 6; ++j) {
    ASSERT_NE(Variable_Element(&v, 2, j), nullptr);
    EXPECT_EQ(Variable_Element(&v, 2, j)->kind, VALUE_REAL);
    EXPECT_EQ(Variable_Element(&v, 2, j)->str, nullptr);
    EXPECT_EQ(Variable_Element(&v, 2, j)->val, 0);
  }
  // Within the room, too.
  RValue_SetString(Variable_ElementGrow(&v, 4, 1), "a");
  int room = v.row[4].capacity;
  ASSERT_GE(room, 4);
  RValue_SetReal(Variable_ElementGrow(&v, 4, room - 1), 1);
  EXPECT_EQ(v.row[4].capacity, room);
  for (int j = 2; j < room - 1; ++j) EXPECT_EQ(Variable_Element(&v, 4, j)->val, 0);
  EXPECT_STREQ(RValue_Text(*Variable_Element(&v, 4, 1)), "a");
  EXPECT_EQ(Variable_Element(&v, 2, 7), nullptr);
  EXPECT_EQ(Variable_Element(&v, -1, 0), nullptr);
  EXPECT_EQ(Variable_Element(&v, 2, -1), nullptr);
}

TEST_F(VariableRows, ARowAfterALongerOneGetsItsRoomAtOnce) {
  for (int j = 0; j < 1000; ++j) RValue_SetReal(Variable_ElementGrow(&v, 0, j), j);
  // A row filled after it is made with that room, and is never moved.
  RValue_SetReal(Variable_ElementGrow(&v, 1, 0), 0);
  EXPECT_GE(v.row[1].capacity, 1000);
  const RValue* items = v.row[1].items;
  for (int j = 1; j < 1000; ++j) RValue_SetReal(Variable_ElementGrow(&v, 1, j), j);
  EXPECT_EQ(v.row[1].items, items);
  // A row after a short one starts small, and doubles as it fills.
  RValue_SetReal(Variable_ElementGrow(&v, 3, 0), 1);
  EXPECT_LT(v.row[3].capacity, 16);
  for (int j = 1; j < 100; ++j) RValue_SetReal(Variable_ElementGrow(&v, 3, j), j);
  EXPECT_LT(v.row[3].capacity, 256);
  RValue_SetReal(Variable_ElementGrow(&v, 4, 0), 1);
  EXPECT_LT(v.row[4].capacity, 256);
  for (int j = 0; j < 1000; ++j) EXPECT_EQ(Variable_Element(&v, 1, j)->val, j);
}

TEST_F(VariableRows, TheLastColumnIsTheLimitOfTheRoom) {
  RValue_SetReal(Variable_ElementGrow(&v, 0, 20000), 1);
  RValue_SetReal(Variable_ElementGrow(&v, 0, ARRAY_DIMENSION - 1), 2);
  EXPECT_EQ(v.row[0].capacity, ARRAY_DIMENSION);
  EXPECT_EQ(v.row[0].length, ARRAY_DIMENSION);
  // A row after it is made with the same room, no more.
  RValue_SetReal(Variable_ElementGrow(&v, 1, 5), 1);
  EXPECT_EQ(v.row[1].capacity, ARRAY_DIMENSION);
  RValue_SetReal(Variable_ElementGrow(&v, ARRAY_DIMENSION - 1, 0), 4);
  EXPECT_EQ(v.rows, ARRAY_DIMENSION);
  EXPECT_EQ(Variable_Element(&v, ARRAY_DIMENSION - 1, 0)->val, 4);
}

TEST_F(VariableRows, ClearingGivesEveryBlockBackAndLeavesTheRealZero) {
  int64_t before = MemoryManager::LiveBlocks();
  RValue_SetString(&v.value, "first");
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 20; ++j) RValue_SetString(Variable_ElementGrow(&v, i, j), "piece");
  Variable_Clear(&v);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
  EXPECT_EQ(v.rows, 0);
  EXPECT_EQ(v.value.kind, VALUE_REAL);
  EXPECT_EQ(v.value.val, 0);
  EXPECT_EQ(Variable_Element(&v, 0, 1), nullptr);
  // And grows again from nothing.
  RValue_SetReal(Variable_ElementGrow(&v, 1, 1), 7);
  EXPECT_EQ(Variable_Element(&v, 1, 1)->val, 7);
}
}  // namespace
