#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Base/UTF8_Main.h"

TEST(UTF8, EncodesAndDecodesOneTwoAndThreeByteCharacters) {
  struct { uint16_t code; int size; } cases[] = {
      {0x41, 1}, {0x7F, 1}, {0x80, 2}, {0xE9, 2}, {0x7FF, 2}, {0x800, 3}, {0x20AC, 3}, {0xD800, 3}, {0xFFFF, 3}};
  for (auto& c : cases) {
    char buffer[8] = {};
    char* w = buffer;
    UTF8_AddChar(w, c.code);
    EXPECT_EQ(w - buffer, c.size) << c.code;
    EXPECT_EQ(UTF8_CharSize(c.code), c.size);
    EXPECT_EQ(static_cast<int>(std::strlen(buffer)), c.size) << "no terminating zero written";
    const char* r = buffer;
    EXPECT_EQ(UTF8_GetChar(r), c.code);
    EXPECT_EQ(r - buffer, c.size);
  }
  char e[] = "\xC3\xA9";
  char* p = e;  // the non-const overload moves the same way
  EXPECT_EQ(UTF8_GetChar(p), 0xE9);
  EXPECT_EQ(p, e + 2);
}

TEST(UTF8, TheLeadByteAloneDecidesTheLength) {
  // 0x80 to 0x9F lead two bytes, 0xA0 to 0xBF three; follow bytes are not checked.
  const char* p = "\x81\x41Z";
  EXPECT_EQ(UTF8_GetChar(p), (0x01 << 6) + 0x01);
  EXPECT_EQ(*p, 'Z');
  p = "\xA1\x41\x42Z";
  EXPECT_EQ(UTF8_GetChar(p), (0x1 << 12) + (0x01 << 6) + 0x02);
  EXPECT_EQ(*p, 'Z');
  // A four-byte sequence reads as a three-byte character and one more.
  EXPECT_EQ(UTF8_Length("\xF0\x9F\x98\x80"), 2);
  EXPECT_EQ(UTF8_Length("a\xC3\xA9\xE2\x82\xAC"), 3);
  EXPECT_EQ(UTF8_Length(""), 0);
  EXPECT_EQ(UTF8_Length(nullptr), 0);
}

TEST(UTF8, ACharacterCutShortStopsAtTheTerminator) {
  // Bytes behind the terminator must never be read or stepped onto.
  const char two[] = {'\xC3', '\0', '\x80', '\x80'};
  const char* p = two;
  EXPECT_EQ(UTF8_GetChar(p), 0xC0);
  EXPECT_EQ(p, two + 1);
  EXPECT_EQ(UTF8_GetChar(p), 0);  // at the terminator: stays there
  EXPECT_EQ(p, two + 1);

  const char three[] = {'\xE2', '\x82', '\0', '\xBF'};
  p = three;
  EXPECT_EQ(UTF8_GetChar(p), 0x2080);
  EXPECT_EQ(p, three + 2);
  const char lead[] = {'\xE2', '\0', '\xBF', '\xBF'};
  p = lead;
  EXPECT_EQ(UTF8_GetChar(p), 0x2000);
  EXPECT_EQ(p, lead + 1);

  EXPECT_EQ(UTF8_Length(two), 1);
  EXPECT_EQ(UTF8_Length("a\xE2\x82"), 2);
}

TEST(UTF8, OffsetsOfCharacters) {
  const char* text = "a\xC3\xA9\xE2\x82\xAC" "b";
  EXPECT_EQ(UTF8_Offset(text, 0), 0);
  EXPECT_EQ(UTF8_Offset(text, 1), 1);
  EXPECT_EQ(UTF8_Offset(text, 2), 3);
  EXPECT_EQ(UTF8_Offset(text, 3), 6);
  EXPECT_EQ(UTF8_Offset(text, 4), 7);
  EXPECT_EQ(UTF8_Offset(text, 100), 7);  // past the end: the terminator
  EXPECT_EQ(UTF8_Offset("\xE2", 5), 1);
}

TEST(UTF8, MakeValidReplacesEveryStrayByte) {
  EXPECT_EQ(UTF8_MakeValid(nullptr), "");
  EXPECT_EQ(UTF8_MakeValid("h\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "h\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  const std::string bad = "\xEF\xBF\xBD";
  EXPECT_EQ(UTF8_MakeValid("a\xE9z"), "a" + bad + "z");          // a Latin-1 byte
  EXPECT_EQ(UTF8_MakeValid("\xC3"), bad);                          // cut short
  EXPECT_EQ(UTF8_MakeValid("\xC0\xAF"), bad + bad);                // overlong
  EXPECT_EQ(UTF8_MakeValid("\xED\xA0\x80"), bad + bad + bad);      // a surrogate
  EXPECT_EQ(UTF8_MakeValid("\xF4\x90\x80\x80"), bad + bad + bad + bad);  // beyond U+10FFFF
}

TEST(UTF8, CutLengthNeverSplitsACharacter) {
  EXPECT_EQ(UTF8_CutLength("abc", 10), 3u);
  EXPECT_EQ(UTF8_CutLength("abc", 2), 2u);
  EXPECT_EQ(UTF8_CutLength("a\xC3\xA9", 2), 1u);         // é would be split
  EXPECT_EQ(UTF8_CutLength("a\xC3\xA9", 3), 3u);
  EXPECT_EQ(UTF8_CutLength("\xE2\x82\xAC\xE2\x82\xAC", 5), 3u);
  EXPECT_EQ(UTF8_CutLength(nullptr, 5), 0u);
}

TEST(UTF8, OffsetsPastLongPlainRunsMatchACharacterWalk) {
  // Plain runs longer than a block, a character of two and of three bytes at
  // every place around the block edges, and the end of the text.
  for (size_t at = 0; at < 70; at++) {
    for (const char* wide : {"\xC3\xA9", "\xE2\x82\xAC", ""}) {
      std::string text = std::string(at, 'a') + wide + std::string(40, 'b');
      int64_t chars = UTF8_Length(text.c_str());
      for (int64_t index = 0; index <= chars + 3; index++) {
        const char* p = text.c_str();
        for (int64_t i = 0; i < index && *p; ++i) UTF8_GetChar(p);
        ASSERT_EQ(UTF8_Offset(text.c_str(), index), p - text.c_str()) << at << " " << index;
      }
    }
  }
}

// The plain run is looked for in aligned blocks: texts starting at every
// place within a block, runs past several groups of blocks, a wide character
// or the end anywhere, all give what a character walk gives.
TEST(UTF8, OffsetsAtEveryAlignmentMatchACharacterWalk) {
  alignas(128) char buffer[640];
  for (size_t shift = 0; shift < 16; shift++) {
    for (size_t run = 0; run < 420; run += run < 40 ? 1 : 13) {
      for (const char* wide : {"\xC3\xA9", "\xE2\x82\xAC", ""}) {
        std::string text = std::string(run, 'a') + wide + "bc";
        std::memcpy(buffer + shift, text.c_str(), text.size() + 1);
        const char* start = buffer + shift;
        int64_t chars = UTF8_Length(start);
        for (int64_t index : {int64_t(1), int64_t(run) - 1, int64_t(run), int64_t(run) + 1, int64_t(run) + 2, chars,
                              chars + 7}) {
          if (index < 0) continue;
          const char* p = start;
          for (int64_t i = 0; i < index && *p; ++i) UTF8_GetChar(p);
          ASSERT_EQ(UTF8_Offset(start, index), p - start) << shift << " " << run << " " << index;
        }
      }
    }
  }
}
