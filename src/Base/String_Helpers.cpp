#include "Base/String_Helpers.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "Base/Convert.h"
#include "Base/RValue.h"
#include "Base/UTF8_Main.h"
#include "Platform/MemoryManager.h"

const char* Message_WithNumber(const char* prefix, int64_t number) {
  static char buffer[1024];
  snprintf(buffer, sizeof buffer, "%s%" PRId64, prefix ? prefix : "", number);
  return buffer;
}

int64_t String_Pos(const char* sought, const char* text) {
  if (!sought || !text) return 0;
  const char* found = std::strstr(text, sought);
  return found ? found - text + 1 : 0;
}

std::string_view String_CharAt(const char* text, double position) {
  int64_t at = std::max<int64_t>(Convert_RoundInt64(position), 1) - 1;
  const char* from = text + UTF8_Offset(text, at);
  const char* to = from;
  UTF8_GetChar(to);  // one character, none at the end
  return std::string_view(from, static_cast<size_t>(to - from));
}

void String_Trim(char** dest, const char* source) {
  auto kept = [](char c) { return static_cast<signed char>(c) >= 33; };
  const char* start = source ? source : "";
  const char* end = start + std::strlen(start);
  while (start < end && !kept(*start)) ++start;
  while (end > start && !kept(end[-1])) --end;
  char* copy = String_DuplicateLen(start, end - start);
  MEM_FREE(*dest);
  *dest = copy;
}

void String_HashToNewline(char* text) {
  if (!text) return;
  char* out = text;
  for (const char* in = text; *in; ++in) {
    if (*in != '#') {
      *out++ = *in;
    } else if (out > text && out[-1] == '\\') {
      out[-1] = '#';
    } else {
      *out++ = '\r';
    }
  }
  *out = '\0';
}

char16_t* String_Widen(const char* text) {
  if (!text) return nullptr;
  size_t length = std::strlen(text);
  auto* wide = static_cast<char16_t*>(MEM_ALLOC(sizeof(char16_t) * (length + 1)));
  if (!wide) return nullptr;
  for (size_t i = 0; i < length; ++i) wide[i] = static_cast<unsigned char>(text[i]);
  wide[length] = 0;
  return wide;
}

std::string String_LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool String_EndsWith(const char* text, const char* ending) {
  size_t n = std::strlen(text), e = std::strlen(ending);
  return n >= e && std::memcmp(text + n - e, ending, e) == 0;
}
