// Reading UTF-8 text one character at a time.
#pragma once
#include <cstdint>

// The character at p (advancing p past it); a stray byte reads as itself.
inline uint32_t GR_UTF8_Next(const char*& p) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(p);
  uint32_t c = *s++;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra) c &= 0x3Fu >> extra;
  for (; extra > 0 && (*s & 0xC0) == 0x80; extra--) c = (c << 6) | (*s++ & 0x3Fu);
  p = reinterpret_cast<const char*>(s);
  return c;
}
