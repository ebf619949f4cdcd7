// Numbers to text and back, always with a full stop as the decimal point
// whatever the user's locale is.
#pragma once
#include <cstdint>
#include <string>

// printf-style formatting in the C locale, of any length.
std::string Text_Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The text of a real as `string` writes it: the decimal integer when the real
// equals its rounded 32-bit value, else two decimals.
std::string Real_ToText(double d);
// The same text written to out (without a terminating zero) when the real
// is a whole number, the usual case, giving its length; 0 otherwise.
size_t Real_ToWholeText(double d, char (&out)[12]);

// The text of a real as `string_format` writes it: `decimals` digits after the
// point in a field of total - decimals columns, padded with blanks on the left
// (a negative field width pads on the right). Negative decimals count as 0;
// widths and decimals are limited to a million columns.
std::string Real_ToTextFormatted(double d, double total, double decimals);

// The number at the start of a text as `real` reads it: leading bytes below 33
// or above 127 skipped, then the longest leading decimal number (sign, digits,
// point, fraction, exponent); 0 when there is none or the text is missing.
double Real_FromText(const char* text);
