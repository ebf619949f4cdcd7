// Numbers to text and back, always with a full stop as the decimal point
// whatever the user's locale is.
#pragma once
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

// printf-style formatting in the C locale, of any length.
std::string Text_Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The text of a real as `string` writes it: the decimal integer when the real
// equals its rounded 32-bit value, else two decimals.
std::string Real_ToText(double d);
// The same text written to out (without a terminating zero) when the real
// is a whole number, the usual case, giving its length; 0 otherwise.
size_t Real_ToWholeText(double d, char (&out)[12]);

// The digits of each number below 1000 as a word: the text's bytes from the
// lowest byte up (so that a store of the word writes the text), zeros above
// them, and their count in the top byte.
extern const std::array<uint32_t, 1000> g_SmallNumberDigits;

// The decimal digits of m written to out (room for ten, no terminating
// zero), giving their count. Numbers below 1000, the most common, take one
// store of a word.
inline size_t Text_WholeDigits(uint32_t m, char* out) {
  if (m >= 1000) return static_cast<size_t>(std::to_chars(out, out + 10, m).ptr - out);
  uint32_t w = g_SmallNumberDigits[m];
  std::memcpy(out, &w, sizeof w);
  return w >> 24;
}

// The text of a real as `string_format` writes it: `decimals` digits after the
// point in a field of total - decimals columns, padded with blanks on the left
// (a negative field width pads on the right). Negative decimals count as 0;
// widths and decimals are limited to a million columns.
std::string Real_ToTextFormatted(double d, double total, double decimals);

// The number at the start of a text as `real` reads it: leading bytes below 33
// or above 127 skipped, then the longest leading decimal number (sign, digits,
// point, fraction, exponent); 0 when there is none or the text is missing.
double Real_FromText(const char* text);
