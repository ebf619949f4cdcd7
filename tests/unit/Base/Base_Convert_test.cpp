#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "Base/Convert.h"
#include "Platform/MemoryManager.h"

TEST(Convert, RoundsHalvesToEven) {
  EXPECT_EQ(Convert_RoundInt(2.5), 2);
  EXPECT_EQ(Convert_RoundInt(3.5), 4);
  EXPECT_EQ(Convert_RoundInt(-0.7), -1);
  EXPECT_EQ(Convert_RoundInt(-2.5), -2);
  EXPECT_EQ(Convert_TruncInt(-0.7), 0);
  EXPECT_EQ(Convert_TruncInt(2.9), 2);
}

TEST(Convert, OutOfRangeAndNaNAreDefined) {
  EXPECT_EQ(Convert_RoundInt(NAN), INT32_MIN);
  EXPECT_EQ(Convert_RoundInt(1e300), INT32_MIN);
  EXPECT_EQ(Convert_TruncInt(-3e9), INT32_MIN);
  EXPECT_EQ(Convert_RoundInt64(NAN), INT64_MIN);
  EXPECT_EQ(Convert_RoundInt(2147483647.0), 2147483647);
  EXPECT_TRUE(std::isinf(Convert_ToSingle(1e300)));
  EXPECT_EQ(Convert_ToSingle(0.1), 0.1f);
}

TEST(RValue, StringsAreOwnedAndCopiedDeeply) {
  int64_t before = MemoryManager::LiveBlocks();
  RValue a{}, b{};
  RValue_SetString(&a, "hello");
  RValue_Copy(&b, &a);
  EXPECT_NE(a.str, b.str);
  EXPECT_STREQ(RValue_Text(b), "hello");
  RValue_SetStringLen(&a, a.str + 1, 3);  // from its own text
  EXPECT_STREQ(RValue_Text(a), "ell");
  RValue_SetReal(&a, 2.0);
  EXPECT_EQ(a.str, nullptr);
  RValue marked{VALUE_REAL | KIND_MARK_MAP, nullptr, 3.0};
  RValue_Copy(&b, &marked);
  EXPECT_EQ(b.kind, VALUE_REAL | KIND_MARK_MAP);
  EXPECT_EQ(b.str, nullptr);
  EXPECT_STREQ(RValue_Text(b), "");
  RValue_Free(&a);
  RValue_Free(&b);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}
