// The script value: a real or a string owned by the value.
#pragma once
#include <cstdint>

enum : uint32_t {
  VALUE_REAL = 0,
  VALUE_STRING = 1,
};

// Marks carried on the kind word of a real that holds the index of a nested
// map or list; whoever copies a value carries them unchanged.
constexpr uint32_t KIND_MARK_MAP = 0x80000000u;
constexpr uint32_t KIND_MARK_LIST = 0x40000000u;

struct RValue {
  uint32_t kind;  // VALUE_REAL, VALUE_STRING, or another kind word passed through
  char* str;      // memory-manager text owned by the value; only for VALUE_STRING
  double val;
};

// Only a value of the string kind carries text.
inline bool RValue_IsString(const RValue& v) { return v.kind == VALUE_STRING; }
// The text of a string value; the empty text for a string without text and
// for every other kind.
inline const char* RValue_Text(const RValue& v) { return (v.kind == VALUE_STRING && v.str) ? v.str : ""; }
// The text of a string value as it is (maybe none); none for every other kind.
inline const char* RValue_TextOrNull(const RValue& v) { return v.kind == VALUE_STRING ? v.str : nullptr; }

// Frees the value's text and makes it the real 0.
void RValue_Free(RValue* v);
void RValue_SetReal(RValue* v, double d);
// Copies the text (none counts as the empty text); reuses the value's own block
// when it is large enough.
void RValue_SetString(RValue* v, const char* text);
void RValue_SetStringLen(RValue* v, const char* text, int64_t length);
// Takes ownership of a memory-manager text block.
void RValue_SetStringOwned(RValue* v, char* block);
// Deep copy: kind and real always, text only for the string kind.
void RValue_Copy(RValue* dst, const RValue* src);

// A memory-manager copy of a text (null for null).
char* String_Duplicate(const char* text);
char* String_DuplicateLen(const char* text, int64_t length);
