// Small text helpers shared by the engine and the built-ins.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The prefix followed by the number in decimal, in one static buffer that the
// next call overwrites (a very long prefix is cut short).
const char* Message_WithNumber(const char* prefix, int64_t number);

// The 1-based byte position of the first occurrence of sought in text; 0 when
// there is none or either text is missing; an empty sought text is found at 1.
int64_t String_Pos(const char* sought, const char* text);

// The bytes of the character at a 1-based position of a UTF-8 text, as
// string_char_at gives it: the position rounded, 0 and below giving the first
// character, none past the end.
std::string_view String_CharAt(const char* text, double position);

// *dest becomes a new memory-manager copy of source without the leading and
// trailing bytes whose signed value is below 33 (control characters, blanks
// and every byte of 128 or more); the old *dest block is freed.
void String_Trim(char** dest, const char* source);

// In place: every "#" becomes a carriage return, except "\#", which becomes "#".
void String_HashToNewline(char* text);

// A new memory-manager 16-bit text holding each byte as one unit (no UTF-8
// decoding); none for none.
char16_t* String_Widen(const char* text);

// The text with the letters A to Z made lower case; every other byte kept.
std::string String_LowerAscii(std::string text);
// True when the text ends with the ending (every text ends with "").
bool String_EndsWith(const char* text, const char* ending);
