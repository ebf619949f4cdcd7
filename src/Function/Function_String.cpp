// The string built-ins. Texts are UTF-8; most functions count and index
// characters, the string_byte_ functions and the replacing and counting
// searches work on bytes. Every function that makes a text returns a string,
// the empty text when it fails or finds nothing; none reports an error.
#include "Function/Function_String.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "Base/Console.h"
#include "Base/String_Helpers.h"
#include "Base/Convert.h"
#include "Base/Text_Real.h"
#include "Base/UTF8_Main.h"

namespace {
// The text of an argument; a real reads as a missing text (null).

// Positions and counts: rounded, halves to even, in 64 bits.
int64_t IntArg(const RValue& v) { return Convert_RoundInt64(v.val); }

void SetText(RValue& result, std::string_view text) {
  RValue_SetStringLen(&result, text.data(), static_cast<int64_t>(text.size()));
}

void SetEmpty(RValue& result) { SetText(result, std::string_view()); }

// The bytes of `count` characters from character `start` (0-based) on.
std::string_view Characters(const char* text, int64_t start, int64_t count) {
  int64_t from = UTF8_Offset(text, start);
  int64_t length = UTF8_Offset(text + from, count);
  return std::string_view(text + from, static_cast<size_t>(length));
}

// True when the whole of `sought` agrees, character by character, with the
// text from p on; a text that ends first is no match.
bool MatchesAt(const char* p, const char* sought) {
  while (*sought) {
    if (!*p) return false;
    if (UTF8_GetChar(p) != UTF8_GetChar(sought)) return false;
  }
  return true;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Keeps the bytes of the text that `keep` accepts; the argument must be a string.
void Filter(RValue& result, const RValue& arg, bool (*keep)(char)) {
  if (arg.kind != VALUE_STRING) {
    SetEmpty(result);
    return;
  }
  std::string out;
  for (const char* p = RValue_Text(arg); *p; ++p) {
    if (keep(*p)) out += *p;
  }
  SetText(result, out);
}

// Changes the ASCII letters from..from+25 by `shift`; the argument must be a string.
void ChangeCase(RValue& result, const RValue& arg, char from, int shift) {
  if (arg.kind != VALUE_STRING) {
    SetEmpty(result);
    return;
  }
  std::string out = RValue_Text(arg);
  for (char& c : out) {
    if (c >= from && c <= from + 25) c = static_cast<char>(c + shift);
  }
  SetText(result, out);
}

// Byte-wise replacement of the first or every occurrence; the search goes on
// after each replaced occurrence, so a replacement is never searched again.
void Replace(RValue& result, const RValue* arg, bool all) {
  const char* text = RValue_TextOrNull(arg[0]);
  if (!text) {
    SetEmpty(result);
    return;
  }
  const char* sought = RValue_TextOrNull(arg[1]);
  const char* replacement = RValue_TextOrNull(arg[2]);
  // Every position holds the empty text: replacing all of them cannot end,
  // so the text stays as it is.
  if (!sought || (all && !*sought)) {
    SetText(result, text);
    return;
  }
  size_t soughtLength = std::strlen(sought);
  std::string out;
  const char* rest = text;  // the part still to search
  while (*rest) {
    int64_t at = String_Pos(sought, rest);
    if (at == 0) break;
    out.append(rest, static_cast<size_t>(at - 1));
    if (replacement) out += replacement;
    rest += at - 1 + static_cast<int64_t>(soughtLength);
    if (!all) break;
  }
  out.append(rest);
  SetText(result, out);
}

// Results longer than this are refused: no text the runner works with comes
// near it, and a wrong count must not eat the memory.
constexpr int64_t kMaxTextBytes = INT32_MAX;
}  // namespace

void F_String(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  char digits[12];
  if (arg[0].kind == VALUE_STRING) SetText(Result, RValue_Text(arg[0]));
  else if (size_t length = Real_ToWholeText(arg[0].val, digits)) SetText(Result, std::string_view(digits, length));
  else SetText(Result, Real_ToText(arg[0].val));
}

void F_StringFormat(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (arg[0].kind == VALUE_STRING) SetText(Result, RValue_Text(arg[0]));
  else SetText(Result, Real_ToTextFormatted(arg[0].val, arg[1].val, arg[2].val));
}

// Codes up to 127 (negative ones included) keep their low 7 bits, codes up to
// 2047 take two bytes, and larger ones always the three-byte form of their
// low 16 bits (65601 gives three bytes that decode to 65).
void F_Chr(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int32_t x = Convert_TruncInt(arg[0].val);
  unsigned char bytes[3];
  size_t size = 0;
  if (x <= 127) {
    bytes[size++] = static_cast<unsigned char>(x & 0x7F);
    if (bytes[0] == 0) size = 0;
  } else if (x <= 2047) {
    char* p = reinterpret_cast<char*>(bytes);
    UTF8_AddChar(p, static_cast<uint16_t>(x));
    size = 2;
  } else {
    bytes[0] = static_cast<unsigned char>(0xE0 + ((x >> 12) & 0x0F));
    bytes[1] = static_cast<unsigned char>(0x80 + ((x >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 + (x & 0x3F));
    size = 3;
  }
  SetText(Result, std::string_view(reinterpret_cast<char*>(bytes), size));
}

// One raw byte, not UTF-8 encoded.
void F_AnsiChar(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  char byte = static_cast<char>(Convert_RoundInt(arg[0].val) & 0xFF);
  SetText(Result, std::string_view(&byte, byte ? 1 : 0));
}

void F_Ord(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = RValue_TextOrNull(arg[0]);
  if (!text || !*text) return;
  RValue_SetReal(&Result, UTF8_GetChar(text));
}

void F_StringLength(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, static_cast<double>(UTF8_Length(RValue_TextOrNull(arg[0]))));
}

void F_StringByteLength(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = RValue_TextOrNull(arg[0]);
  RValue_SetReal(&Result, text ? static_cast<double>(std::strlen(text)) : 0.0);
}

// The character position of the first whole occurrence (a sought text that
// would run past the end is not found).
void F_StringPos(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* sought = RValue_TextOrNull(arg[0]);
  const char* text = RValue_TextOrNull(arg[1]);
  if (!sought || !text) return;
  int64_t position = 1;
  for (const char* p = text; *p; ++position) {
    if (MatchesAt(p, sought)) {
      RValue_SetReal(&Result, static_cast<double>(position));
      return;
    }
    UTF8_GetChar(p);
  }
}

void F_StringCopy(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc != 3 || arg[0].kind != VALUE_STRING || arg[1].kind != VALUE_REAL || arg[2].kind != VALUE_REAL) {
    SetEmpty(Result);
    return;
  }
  const char* text = RValue_Text(arg[0]);
  int64_t start = std::max<int64_t>(IntArg(arg[1]), 1) - 1;
  int64_t count = std::max<int64_t>(IntArg(arg[2]), 0);
  int64_t length = UTF8_Length(text);
  if (start >= length) {
    SetEmpty(Result);
    return;
  }
  SetText(Result, Characters(text, start, std::min(count, length - start)));
}

// Positions of 0 and below give the first character.
void F_StringCharAt(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc != 2 || arg[0].kind != VALUE_STRING || arg[1].kind != VALUE_REAL) {
    SetEmpty(Result);
    return;
  }
  SetText(Result, String_CharAt(RValue_Text(arg[0]), arg[1].val));
}

void F_StringByteAt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = RValue_TextOrNull(arg[0]);
  int64_t at = std::max<int64_t>(IntArg(arg[1]), 1) - 1;
  int64_t length = text ? static_cast<int64_t>(std::strlen(text)) : 0;
  if (at >= length) SetEmpty(Result);
  else SetText(Result, std::string_view(text + at, 1));
}

// A position outside the text, or a count of 0 or less, leaves it unchanged.
void F_StringDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = RValue_TextOrNull(arg[0]);
  if (!text) text = "";
  int64_t position = IntArg(arg[1]);
  int64_t count = IntArg(arg[2]);
  int64_t length = UTF8_Length(text);
  if (position < 1 || position > length || count <= 0) {
    SetText(Result, text);
    return;
  }
  int64_t start = position - 1;
  int64_t from = UTF8_Offset(text, start);
  int64_t to = from + UTF8_Offset(text + from, std::min(count, length - start));
  std::string out(text, static_cast<size_t>(from));
  out += text + to;
  SetText(Result, out);
}

// The inserted text goes before the character at the position, limited to
// the text's ends.
void F_StringInsert(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* inserted = RValue_TextOrNull(arg[0]);
  const char* text = RValue_TextOrNull(arg[1]);
  if (!text) text = "";
  if (!inserted || !*inserted) {
    SetText(Result, text);
    return;
  }
  int64_t at = std::max<int64_t>(IntArg(arg[2]), 1) - 1;
  int64_t offset = UTF8_Offset(text, at);  // stops at the end of the text
  std::string out(text, static_cast<size_t>(offset));
  out += inserted;
  out += text + offset;
  SetText(Result, out);
}

void F_StringLower(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { ChangeCase(Result, arg[0], 'A', 'a' - 'A'); }
void F_StringUpper(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { ChangeCase(Result, arg[0], 'a', 'A' - 'a'); }

void F_StringRepeat(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = RValue_TextOrNull(arg[0]);
  int64_t times = IntArg(arg[1]);
  int64_t length = text ? static_cast<int64_t>(std::strlen(text)) : 0;
  if (length == 0 || times <= 0) {
    SetEmpty(Result);
    return;
  }
  if (times > kMaxTextBytes / length) {
    Console_Printf("string_repeat: %lld copies of %lld bytes is too long\n", static_cast<long long>(times),
                   static_cast<long long>(length));
    SetEmpty(Result);
    return;
  }
  std::string out;
  out.reserve(static_cast<size_t>(times * length));
  for (int64_t i = 0; i < times; ++i) out.append(text, static_cast<size_t>(length));
  SetText(Result, out);
}

void F_StringLetters(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { Filter(Result, arg[0], IsLetter); }

void F_StringDigits(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc != 1) {
    SetEmpty(Result);
    return;
  }
  Filter(Result, arg[0], IsDigit);
}

void F_StringLettersDigits(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Filter(Result, arg[0], [](char c) { return IsLetter(c) || IsDigit(c); });
}

void F_StringReplace(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { Replace(Result, arg, false); }
void F_StringReplaceAll(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { Replace(Result, arg, true); }

// Byte-wise occurrences, overlapping ones included; an empty sought text
// occurs nowhere.
void F_StringCount(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* sought = RValue_TextOrNull(arg[0]);
  const char* text = RValue_TextOrNull(arg[1]);
  if (!sought || !*sought || !text || !*text) return;
  std::string_view haystack(text);
  size_t soughtLength = std::strlen(sought);
  int64_t count = 0;
  for (size_t start = 0; start < haystack.size(); ++count) {
    size_t at = haystack.find(sought, start, soughtLength);
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  RValue_SetReal(&Result, static_cast<double>(count));
}

void Function_String_Init() {
  Function_Add("string", F_String, 1);
  Function_Add("string_format", F_StringFormat, 3);
  Function_Add("chr", F_Chr, 1);
  Function_Add("ansi_char", F_AnsiChar, 1);
  Function_Add("ord", F_Ord, 1);
  Function_Add("string_length", F_StringLength, 1);
  Function_Add("string_byte_length", F_StringByteLength, 1);
  Function_Add("string_pos", F_StringPos, 2);
  Function_Add("string_copy", F_StringCopy, 3);
  Function_Add("string_char_at", F_StringCharAt, 2);
  Function_Add("string_byte_at", F_StringByteAt, 2);
  Function_Add("string_delete", F_StringDelete, 3);
  Function_Add("string_insert", F_StringInsert, 3);
  Function_Add("string_lower", F_StringLower, 1);
  Function_Add("string_upper", F_StringUpper, 1);
  Function_Add("string_repeat", F_StringRepeat, 2);
  Function_Add("string_letters", F_StringLetters, 1);
  Function_Add("string_digits", F_StringDigits, 1);
  Function_Add("string_lettersdigits", F_StringLettersDigits, 1);
  Function_Add("string_replace", F_StringReplace, 3);
  Function_Add("string_replace_all", F_StringReplaceAll, 3);
  Function_Add("string_count", F_StringCount, 2);
}
