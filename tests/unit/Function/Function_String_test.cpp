#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Base/Text_Real.h"
#include "Function/Function_String.h"
#include "Function_Call.h"

namespace {
// Switches the process to a locale whose decimal point is a comma: an
// installed one when there is, else one generated into a temporary folder.
class CommaLocale {
 public:
  CommaLocale() {
    saved_ = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8"}) {
      if (Use(name)) return;
    }
    char dir[] = "/tmp/runner_locale_XXXXXX";
    if (!mkdtemp(dir)) return;
    folder_ = dir;
    std::string cmd = "localedef -i de_DE -f UTF-8 " + folder_ + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == -1) return;
    setenv("LOCPATH", folder_.c_str(), 1);
    Use("de_DE.UTF-8");
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, saved_.c_str());
    if (!folder_.empty()) {
      unsetenv("LOCPATH");
      std::error_code ec;
      std::filesystem::remove_all(folder_, ec);
    }
  }
  bool active() const { return active_; }

 private:
  bool Use(const char* name) {
    if (!std::setlocale(LC_ALL, name)) return false;
    char probe[16];
    snprintf(probe, sizeof probe, "%.1f", 0.5);
    active_ = std::string(probe) == "0,5";
    if (!active_) std::setlocale(LC_ALL, saved_.c_str());
    return active_;
  }
  std::string saved_;
  std::string folder_;
  bool active_ = false;
};
}  // namespace

TEST(StringNumbers, RealToText) {
  RValue args[1] = {{VALUE_REAL, nullptr, 3.5}};
  RValue result = {VALUE_REAL, nullptr, 0.0};
  F_String(result, nullptr, nullptr, 1, args);
  EXPECT_EQ(result.kind, VALUE_STRING);
  EXPECT_STREQ(RValue_Text(result), "3.50");
  RValue_Free(&result);
  EXPECT_EQ(CallText("string", {3.0}), "3");
  EXPECT_EQ(CallText("string", {-7.0}), "-7");
  EXPECT_EQ(CallText("string", {0.1}), "0.10");
  EXPECT_EQ(CallText("string", {-0.0}), "0");
  EXPECT_EQ(CallText("string", {"text"}), "text");
  EXPECT_EQ(CallText("string", {2147483647.0}), "2147483647");
  EXPECT_EQ(CallText("string", {1e15}), "1000000000000000.00");
  // Magnitudes whose text passes 255 characters come out whole.
  std::string big = CallText("string", {1e300});
  EXPECT_EQ(big.size(), 304u);
  EXPECT_EQ(big.substr(0, 4), "1000");
  EXPECT_EQ(big.substr(301), ".00");
}

TEST(StringNumbers, WholeNumbersAsPercentD) {
  for (double d : {-2147483648.0, -2147483647.0, -1000.0, -999.0, -100.0, -99.0, -10.0, -9.0, -1.0, 0.0, 1.0, 9.0,
                   10.0, 42.0, 99.0, 100.0, 101.0, 999.0, 1000.0, 99999.0, 1e9, 2147483646.0}) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d", static_cast<int>(d));
    EXPECT_EQ(CallText("string", {d}), expected);
  }
  EXPECT_EQ(CallText("string", {2147483648.0}), "2147483648.00");
  EXPECT_EQ(CallText("string", {-2147483649.0}), "-2147483649.00");
  // Near whole numbers keep their decimals.
  EXPECT_EQ(CallText("string", {-0.5}), "-0.50");
  EXPECT_EQ(CallText("string", {2147483646.5}), "2147483646.50");
  EXPECT_EQ(CallText("string", {-2147483648.5}), "-2147483648.50");
  EXPECT_EQ(CallText("string", {7.000000001}), "7.00");
}

TEST(StringNumbers, FormatWidthsAndDecimals) {
  EXPECT_EQ(CallText("string_format", {3.14159, 10.0, 2.0}), "    3.14");
  EXPECT_EQ(CallText("string_format", {3.14159, 5.0, 2.0}), "3.14");
  EXPECT_EQ(CallText("string_format", {1.5, 1.0, 4.0}), "1.5000");
  EXPECT_EQ(CallText("string_format", {1.5, 0.0, 1.0}), "1.5");
  EXPECT_EQ(CallText("string_format", {2.0, -4.0, 1.0}), "2.0  ");  // width -5 pads on the right
  EXPECT_EQ(CallText("string_format", {"as is", 10.0, 2.0}), "as is");
  // Negative decimals count as none.
  EXPECT_EQ(CallText("string_format", {2.7, 5.0, -3.0}), "    3");
  EXPECT_EQ(CallText("string_format", {2.7, 5.0, NAN}), "    3");
  // Any width and magnitude come out whole.
  std::string wide = CallText("string_format", {1.0, 302.0, 2.0});
  EXPECT_EQ(wide.size(), 300u);
  EXPECT_EQ(wide.substr(296), "1.00");
  EXPECT_EQ(CallText("string_format", {1e300, 0.0, 2.0}).size(), 304u);
  EXPECT_EQ(CallText("string_format", {0.5, 0.0, 300.0}).size(), 302u);
  // Widths are limited to a million columns; a NaN width is none.
  EXPECT_EQ(CallText("string_format", {1.0, NAN, 2.0}), "1.00");
  EXPECT_EQ(CallText("string_format", {1.0, 1e12, 0.0}).size(), 1u << 20);
}

TEST(StringNumbers, FullStopWhateverTheLocale) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale installed and localedef could not make one";
  EXPECT_EQ(CallText("string", {0.1}), "0.10");
  EXPECT_EQ(CallText("string_format", {3.14159, 10.0, 2.0}), "    3.14");
  EXPECT_EQ(CallReal("real", {" 12.5xyz"}), 12.5);
  EXPECT_EQ(CallReal("real", {"1,5"}), 1.0);
  EXPECT_EQ(Real_FromText("1e400"), HUGE_VAL);
}

TEST(StringCharacters, ChrOrdAnsiChar) {
  EXPECT_EQ(CallText("chr", {233.0}), "\xC3\xA9");
  EXPECT_EQ(CallReal("ord", {"\xC3\xA9"}), 233.0);
  EXPECT_EQ(CallReal("ord", {"\xE2\x82\xAC"}), 0x20AC);
  EXPECT_EQ(CallReal("ord", {""}), 0.0);
  EXPECT_EQ(CallReal("ord", {65.0}), 0.0);
  EXPECT_EQ(CallText("chr", {65601.0}), "\xE0\x81\x81");  // three bytes of the low 16 bits: code 65
  EXPECT_EQ(CallReal("ord", {"\xE0\x81\x81"}), 65.0);
  EXPECT_EQ(CallText("chr", {65.9}), "A");
  EXPECT_EQ(CallText("chr", {-63.0}), "A");
  EXPECT_EQ(CallText("chr", {2047.0}), "\xDF\xBF");
  TestResult none = Call("chr", {-128.0});
  EXPECT_EQ(none.kind, VALUE_STRING);
  EXPECT_EQ(none.text, "");
  EXPECT_EQ(CallText("chr", {0.0}), "");
  EXPECT_EQ(CallText("ansi_char", {65.0}), "A");
  EXPECT_EQ(CallText("ansi_char", {200.0}), "\xC8");
  EXPECT_EQ(CallText("ansi_char", {256.0}), "");
}

TEST(StringCharacters, LengthsInCharactersAndBytes) {
  struct { const char* text; double chars, bytes; } cases[] = {
      {"a", 1, 1}, {"\xC3\xA9", 1, 2}, {"\xE2\x82\xAC", 1, 3}, {"a\xC3\xA9\xE2\x82\xAC", 3, 6}, {"", 0, 0}};
  for (auto& c : cases) {
    EXPECT_EQ(CallReal("string_length", {c.text}), c.chars) << c.text;
    EXPECT_EQ(CallReal("string_byte_length", {c.text}), c.bytes) << c.text;
  }
  EXPECT_EQ(CallReal("string_length", {12.0}), 0.0);
  EXPECT_EQ(CallReal("string_byte_length", {12.0}), 0.0);
}

TEST(StringSearch, PosFindsWholeOccurrencesOnly) {
  EXPECT_EQ(CallReal("string_pos", {"b", "abcb"}), 2.0);
  EXPECT_EQ(CallReal("string_pos", {"z", "abc"}), 0.0);
  EXPECT_EQ(CallReal("string_pos", {"b", "\xC3\xA9" "b"}), 2.0);  // counted in characters
  EXPECT_EQ(CallReal("string_pos", {"", "abc"}), 1.0);
  EXPECT_EQ(CallReal("string_pos", {"a", ""}), 0.0);
  EXPECT_EQ(CallReal("string_pos", {1.0, "abc"}), 0.0);
  // A sought text that would run past the end is not there.
  EXPECT_EQ(CallReal("string_pos", {"cd", "abc"}), 0.0);
  EXPECT_EQ(CallReal("string_pos", {"abcd", "abc"}), 0.0);
}

TEST(StringSearch, CountAndReplace) {
  EXPECT_EQ(CallReal("string_count", {"aa", "aaaa"}), 3.0);
  EXPECT_EQ(CallReal("string_count", {"x", "abc"}), 0.0);
  EXPECT_EQ(CallReal("string_count", {"", "abc"}), 0.0);
  EXPECT_EQ(CallReal("string_count", {"a", ""}), 0.0);
  EXPECT_EQ(CallText("string_replace", {"aXa", "a", "bb"}), "bbXa");
  EXPECT_EQ(CallText("string_replace_all", {"aXa", "a", "bb"}), "bbXbb");
  EXPECT_EQ(CallText("string_replace_all", {"aaaa", "aa", "a"}), "aa");
  EXPECT_EQ(CallText("string_replace_all", {"abab", "b", 1.0}), "aa");  // a real replacement removes
  EXPECT_EQ(CallText("string_replace_all", {"abc", 5.0, "x"}), "abc");
  EXPECT_EQ(CallText("string_replace_all", {3.0, "a", "x"}), "");
  // An empty sought text: replacing every place would never end; the text stays.
  EXPECT_EQ(CallText("string_replace_all", {"abc", "", "x"}), "abc");
  EXPECT_EQ(CallText("string_replace", {"abc", "", "x"}), "xabc");
}

TEST(StringEdit, CopyAtAndPastBothEnds) {
  EXPECT_EQ(CallText("string_copy", {"hello", 0.0, 2.0}), "he");
  EXPECT_EQ(CallText("string_copy", {"hello", 4.0, 10.0}), "lo");
  EXPECT_EQ(CallText("string_copy", {"hello", 6.0, 1.0}), "");
  EXPECT_EQ(CallText("string_copy", {"hello", 10.0, 1.0}), "");
  EXPECT_EQ(CallText("string_copy", {"hello", 2.5, 1.5}), "el");  // both round to 2
  EXPECT_EQ(CallText("string_copy", {"hello", 2.0, -3.0}), "");
  EXPECT_EQ(CallText("string_copy", {"a\xC3\xA9" "b\xE2\x82\xAC", 2.0, 2.0}), "\xC3\xA9" "b");
  // Counts near and beyond the 32-bit range do not wrap.
  EXPECT_EQ(CallText("string_copy", {"hello", 2.0, 2147483647.0}), "ello");
  EXPECT_EQ(CallText("string_copy", {"hello", 1.0, 1e10}), "hello");
  EXPECT_EQ(CallText("string_copy", {"hello", 3e9, 5.0}), "");
  // Wrong kinds give the empty text.
  EXPECT_EQ(CallText("string_copy", {5.0, 1.0, 2.0}), "");
  EXPECT_EQ(CallText("string_copy", {"hello", "1", 2.0}), "");
}

TEST(StringEdit, CharAtAndByteAt) {
  EXPECT_EQ(CallText("string_char_at", {"abc", 0.0}), "a");
  EXPECT_EQ(CallText("string_char_at", {"abc", -5.0}), "a");
  EXPECT_EQ(CallText("string_char_at", {"abc", 3.0}), "c");
  EXPECT_EQ(CallText("string_char_at", {"abc", 4.0}), "");
  EXPECT_EQ(CallText("string_char_at", {"a\xC3\xA9", 2.0}), "\xC3\xA9");
  EXPECT_EQ(CallText("string_char_at", {1.0, 1.0}), "");
  EXPECT_EQ(CallText("string_byte_at", {"\xC3\xA9", 1.0}), "\xC3");
  EXPECT_EQ(CallText("string_byte_at", {"\xC3\xA9", 2.0}), "\xA9");
  EXPECT_EQ(CallText("string_byte_at", {"\xC3\xA9", 3.0}), "");
  EXPECT_EQ(CallText("string_byte_at", {"abc", 0.0}), "a");
}

TEST(StringEdit, DeleteAtAndPastBothEnds) {
  EXPECT_EQ(CallText("string_delete", {"abcdef", 3.0, 2.0}), "abef");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 0.0, 2.0}), "abcdef");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 3.0, 0.0}), "abcdef");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 5.0, 100.0}), "abcd");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 6.0, 1.0}), "abcde");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 7.0, 1.0}), "abcdef");
  EXPECT_EQ(CallText("string_delete", {"abcdef", 1.0, 1e12}), "");
  EXPECT_EQ(CallText("string_delete", {"a\xC3\xA9" "b", 2.0, 1.0}), "ab");
  EXPECT_EQ(CallText("string_delete", {4.0, 1.0, 1.0}), "");
}

TEST(StringEdit, InsertAtAndPastBothEnds) {
  EXPECT_EQ(CallText("string_insert", {"XY", "abc", 1.0}), "XYabc");
  EXPECT_EQ(CallText("string_insert", {"XY", "abc", 99.0}), "abcXY");
  EXPECT_EQ(CallText("string_insert", {"XY", "abc", -5.0}), "XYabc");
  EXPECT_EQ(CallText("string_insert", {"XY", "abc", 4.0}), "abcXY");
  EXPECT_EQ(CallText("string_insert", {"X", "\xC3\xA9\xC3\xA9", 2.0}), "\xC3\xA9X\xC3\xA9");
  EXPECT_EQ(CallText("string_insert", {"", "abc", 2.0}), "abc");
  EXPECT_EQ(CallText("string_insert", {7.0, "abc", 2.0}), "abc");
  EXPECT_EQ(CallText("string_insert", {"XY", 7.0, 2.0}), "XY");
  EXPECT_EQ(CallText("string_insert", {7.0, 7.0, 2.0}), "");
}

TEST(StringEdit, CaseRepeatAndFilters) {
  EXPECT_EQ(CallText("string_lower", {"\xC3\x80" "B"}), "\xC3\x80" "b");
  EXPECT_EQ(CallText("string_upper", {"abz\xC3\xA9"}), "ABZ\xC3\xA9");
  EXPECT_EQ(CallText("string_upper", {1.0}), "");
  EXPECT_EQ(CallText("string_repeat", {"ab", 3.0}), "ababab");
  EXPECT_EQ(CallText("string_repeat", {"ab", 0.0}), "");
  EXPECT_EQ(CallText("string_repeat", {"ab", -2.0}), "");
  EXPECT_EQ(CallText("string_repeat", {"", 5.0}), "");
  // A result beyond 2^31 bytes is refused rather than attempted.
  EXPECT_EQ(CallText("string_repeat", {"ab", 2e9}), "");
  EXPECT_EQ(CallText("string_letters", {"a1-b2\xC3\xA9"}), "ab");
  EXPECT_EQ(CallText("string_digits", {"a1-b2"}), "12");
  EXPECT_EQ(CallText("string_lettersdigits", {"a1-b2"}), "a1b2");
  EXPECT_EQ(CallText("string_digits", {12.0}), "");
  RValue args[2] = {{VALUE_REAL, nullptr, 0.0}, {VALUE_REAL, nullptr, 0.0}};
  RValue_SetString(&args[0], "a1");
  RValue result = {VALUE_REAL, nullptr, 0.0};
  F_StringDigits(result, nullptr, nullptr, 2, args);  // exactly one argument is required
  EXPECT_EQ(result.kind, VALUE_STRING);
  EXPECT_STREQ(RValue_Text(result), "");
  RValue_Free(&result);
  RValue_Free(&args[0]);
}
