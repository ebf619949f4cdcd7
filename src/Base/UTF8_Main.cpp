#include "Base/UTF8_Main.h"

uint16_t UTF8_GetChar(const char*& p) {
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  unsigned b0 = s[0];
  if (b0 < 0x80) {
    if (b0 != 0) ++p;  // never step over the terminator
    return static_cast<uint16_t>(b0);
  }
  if ((b0 & 0x20) == 0) {
    unsigned code = (b0 & 0x1F) << 6;
    if (s[1] == 0) {
      p += 1;
      return static_cast<uint16_t>(code);
    }
    p += 2;
    return static_cast<uint16_t>(code + (s[1] & 0x3F));
  }
  unsigned code = (b0 & 0x0F) << 12;
  if (s[1] == 0) {
    p += 1;
    return static_cast<uint16_t>(code);
  }
  code += (s[1] & 0x3F) << 6;
  if (s[2] == 0) {
    p += 2;
    return static_cast<uint16_t>(code);
  }
  p += 3;
  return static_cast<uint16_t>(code + (s[2] & 0x3F));
}

int UTF8_CharSize(uint16_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : 3; }

void UTF8_AddChar(char*& p, uint16_t c) {
  auto* s = reinterpret_cast<unsigned char*>(p);
  if (c < 0x80) {
    s[0] = static_cast<unsigned char>(c);
  } else if (c < 0x800) {
    s[0] = static_cast<unsigned char>(0xC0 + (c >> 6));
    s[1] = static_cast<unsigned char>(0x80 + (c & 0x3F));
  } else {
    s[0] = static_cast<unsigned char>(0xE0 + (c >> 12));
    s[1] = static_cast<unsigned char>(0x80 + ((c >> 6) & 0x3F));
    s[2] = static_cast<unsigned char>(0x80 + (c & 0x3F));
  }
  p += UTF8_CharSize(c);
}

int64_t UTF8_Length(const char* text) {
  if (!text) return 0;
  int64_t count = 0;
  while (*text) {
    UTF8_GetChar(text);
    ++count;
  }
  return count;
}

int64_t UTF8_Offset(const char* text, int64_t index) {
  if (!text) return 0;
  const char* p = text;
  for (int64_t i = 0; i < index && *p; ++i) UTF8_GetChar(p);
  return p - text;
}
