#include <string>

#include <gtest/gtest.h>

#include "DS_Test.h"
#include "Support/Support_Data_Structures.h"

namespace {
struct PrecisionGuard {
  ~PrecisionGuard() { DS_SetPrecision(1e-08); }
};
}  // namespace

TEST(DS_Compare, RealsAreComparedInSinglePrecisionWithinTheTolerance) {
  PrecisionGuard guard;
  Val a(0.1), b(0.1 + 1e-9), c(0.1 + 2e-8);
  EXPECT_EQ(DS_Compare(&a, &b), 0);
  EXPECT_EQ(DS_Compare(&a, &c), -1);
  EXPECT_EQ(DS_Compare(&c, &a), 1);
  // Doubles that differ far below single precision are equal even with a
  // tolerance of 0, as long as it is above 0...
  DS_SetPrecision(-1e-30);
  EXPECT_EQ(DS_GetPrecision(), 1e-30);
  EXPECT_EQ(DS_Compare(&a, &b), 0);
  // ...but with no tolerance, equal reals compare as 1.
  DS_SetPrecision(0);
  EXPECT_EQ(DS_Compare(&a, &a), 1);
  DS_SetPrecision(0.5);
  Val one(1.0), onePoint4(1.4), onePoint6(1.6);
  EXPECT_EQ(DS_Compare(&one, &onePoint4), 0);
  EXPECT_EQ(DS_Compare(&one, &onePoint6), -1);
}

TEST(DS_Compare, AnythingButTwoRealsIsComparedAsText) {
  Val five(5.0), fiveText("5"), empty(""), a("a"), high("\xC3\xA9");
  EXPECT_EQ(DS_Compare(&five, &fiveText), 1);
  EXPECT_EQ(DS_Compare(&fiveText, &five), 1);
  EXPECT_EQ(five.v.kind, VALUE_REAL);
  EXPECT_EQ(fiveText.v.kind, VALUE_STRING);
  EXPECT_EQ(DS_Compare(&a, &high), -1);  // bytes are unsigned
  EXPECT_EQ(DS_Compare(&high, &a), 1);
  EXPECT_EQ(DS_Compare(&a, &a), 0);
  // A string value without text is the empty text.
  RValue noText{VALUE_STRING, nullptr, 0.0};
  EXPECT_EQ(DS_Compare(&noText, &empty), 0);
  EXPECT_EQ(DS_Compare(&empty, &noText), 0);
  EXPECT_EQ(DS_Compare(&noText, &a), -1);
  // A marked real has no text: it never equals anything.
  Val marked(KIND_MARK_MAP, 5.0);
  EXPECT_EQ(DS_Compare(&marked, &marked), 1);
  EXPECT_EQ(DS_Compare(&marked, &five), 1);
}

TEST(DS_Combine, AddJoinsMultipliesAndSets) {
  Val cell(2.0), three(3.0);
  DS_Combine(DS_OP_ADD, &cell, &three);
  EXPECT_EQ(cell.v.val, 5.0);
  DS_Combine(DS_OP_MULTIPLY, &cell, &three);
  EXPECT_EQ(cell.v.val, 15.0);
  DS_Combine(7, &cell, &three);
  EXPECT_EQ(cell.v.val, 15.0);

  // Adding a string to a real makes the cell that string; multiplying it
  // changes nothing; adding joins.
  Val ab("ab");
  DS_Combine(DS_OP_ADD, &cell, &ab);
  EXPECT_EQ(Describe(&cell), "\"ab\"");
  DS_Combine(DS_OP_MULTIPLY, &cell, &ab);
  DS_Combine(DS_OP_ADD, &cell, &ab);
  EXPECT_EQ(Describe(&cell), "\"abab\"");
  DS_Combine(DS_OP_ADD, &cell, &cell);
  EXPECT_EQ(Describe(&cell), "\"abababab\"");
  DS_Combine(DS_OP_ADD, &cell, &three);
  EXPECT_EQ(Describe(&cell), "3");
}

TEST(DS_Combine, JoinedTextsKeepTheirWholeLength) {
  std::string left(1500, 'x'), right(900, 'y');
  Val cell(left.c_str()), more(right.c_str());
  DS_Combine(DS_OP_ADD, &cell, &more);
  EXPECT_EQ(std::string(RValue_Text(cell.v)), left + right);
}

TEST(DS_Combine, SetCopiesTextOnlyFromStrings) {
  // A string source leaves the destination's real as it was.
  Val cell(4.0), text("t");
  DS_Combine(DS_OP_SET, &cell, &text);
  EXPECT_EQ(cell.v.kind, VALUE_STRING);
  EXPECT_EQ(cell.v.val, 4.0);
  EXPECT_STREQ(cell.v.str, "t");
  // A marked real brings its kind and real, never a text it happens to hold.
  RValue marked{KIND_MARK_LIST, String_Duplicate("stale"), 9.0};
  DS_Combine(DS_OP_SET, &cell, &marked);
  EXPECT_EQ(cell.v.kind, KIND_MARK_LIST);
  EXPECT_EQ(cell.v.val, 9.0);
  EXPECT_EQ(cell.v.str, nullptr);
  RValue slot{VALUE_STRING, String_Duplicate("old"), 0.0};
  DS_Slot_Store(&slot, &marked);
  EXPECT_EQ(slot.kind, KIND_MARK_LIST);
  EXPECT_EQ(slot.str, nullptr);
  RValue_Free(&marked);
  cell.v.kind = VALUE_REAL;
}
