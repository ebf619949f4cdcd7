#include <gtest/gtest.h>

#include <string>

#include "Base/String_Helpers.h"
#include "Platform/MemoryManager.h"

TEST(Strings, MessageWithNumberReusesOneBoundedBuffer) {
  const char* first = Message_WithNumber("Room ", -12);
  EXPECT_STREQ(first, "Room -12");
  const char* second = Message_WithNumber(nullptr, 7);
  EXPECT_EQ(first, second);
  EXPECT_STREQ(second, "7");
  std::string huge(5000, 'x');
  EXPECT_EQ(std::string(Message_WithNumber(huge.c_str(), 1)).size(), 1023u);
}

TEST(Strings, PosIsOneBasedAndZeroWhenMissing) {
  EXPECT_EQ(String_Pos("lo", "hello lo"), 4);
  EXPECT_EQ(String_Pos("", "abc"), 1);
  EXPECT_EQ(String_Pos("", ""), 1);
  EXPECT_EQ(String_Pos("x", "abc"), 0);
  EXPECT_EQ(String_Pos(nullptr, "abc"), 0);
  EXPECT_EQ(String_Pos("a", nullptr), 0);
}

TEST(Strings, TrimDropsControlsBlanksAndHighBytes) {
  char* out = nullptr;
  String_Trim(&out, " \t\r\nab c\x01 ");
  EXPECT_STREQ(out, "ab c");
  String_Trim(&out, "\xC3\xA9x\xC3\xA9");  // bytes of 128 and more count as blanks
  EXPECT_STREQ(out, "x");
  String_Trim(&out, " \xFF\x7F ");  // 127 is kept: only values below 33 are dropped
  EXPECT_STREQ(out, "\x7F");
  String_Trim(&out, "  \x80 ");
  EXPECT_STREQ(out, "");
  String_Trim(&out, nullptr);
  EXPECT_STREQ(out, "");
  MEM_FREE(out);
}

TEST(Strings, HashToNewlineHonoursTheEscape) {
  char text[] = "a#b\\#c##\\x";
  String_HashToNewline(text);
  EXPECT_STREQ(text, "a\rb#c\r\r\\x");
  char lead[] = "#\\#";
  String_HashToNewline(lead);
  EXPECT_STREQ(lead, "\r#");
  String_HashToNewline(nullptr);
}

TEST(Strings, WidenCopiesBytesAsUnits) {
  char16_t* wide = String_Widen("A\xC3\xA9");
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide[0], u'A');
  EXPECT_EQ(wide[1], 0xC3);  // no UTF-8 decoding
  EXPECT_EQ(wide[2], 0xA9);
  EXPECT_EQ(wide[3], 0);
  MEM_FREE(wide);
  EXPECT_EQ(String_Widen(nullptr), nullptr);
}
