// UTF-8 as the runner holds text: characters are 16-bit codes of one to
// three bytes; there are no four-byte characters.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Decodes the character at p and moves p past it. The lead byte alone says
// how long the character is (below 0x80 one byte; bit 0x20 clear two bytes;
// set three); only the low six bits of the following bytes count. A character
// that the terminating zero cuts short yields the bits read so far and leaves
// p on the zero.
uint16_t UTF8_GetChar(const char*& p);
inline uint16_t UTF8_GetChar(char*& p) {
  const char* q = p;
  uint16_t c = UTF8_GetChar(q);
  p = const_cast<char*>(q);
  return c;
}

// Writes the one to three bytes of c at p and moves p past them; writes no
// terminating zero.
void UTF8_AddChar(char*& p, uint16_t c);

// The number of bytes UTF8_AddChar writes for c.
int UTF8_CharSize(uint16_t c);

// The number of characters before the terminating zero (0 for none).
int64_t UTF8_Length(const char* text);

// The byte offset of character `index` (0-based), or of the terminating zero
// when the text has no more characters.
int64_t UTF8_Offset(const char* text, int64_t index);

// The text as valid UTF-8 (one to four bytes a character): every byte that
// does not belong to a well-formed character becomes U+FFFD. None gives "".
std::string UTF8_MakeValid(const char* text);

// The length of the longest start of the text, at most max bytes, that ends
// on a character boundary (a character the limit would split is left out).
size_t UTF8_CutLength(const char* text, size_t max);
// The length of the byte order mark that editors may put at the start of a
// UTF-8 text: 3 when the bytes begin with it, else 0.
inline size_t UTF8_MarkLength(const void* data, size_t size) {
  return size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}
