#include "Base/RValue.h"

#include <cstring>

#include "Platform/MemoryManager.h"

void RValue_Free(RValue* v) {
  if (v->str) MEM_FREE(v->str);
  v->str = nullptr;
  v->kind = VALUE_REAL;
  v->val = 0.0;
}

void RValue_SetReal(RValue* v, double d) {
  if (v->str) MEM_FREE(v->str);
  v->str = nullptr;
  v->kind = VALUE_REAL;
  v->val = d;
}

void RValue_SetStringLen(RValue* v, const char* text, int64_t length) {
  if (!text || length < 0) length = 0;
  size_t need = static_cast<size_t>(length) + 1;
  if (v->str && MemoryManager::GetSize(v->str) >= need) {  // memmove: the text may lie in the block
    std::memmove(v->str, text ? text : "", static_cast<size_t>(length));
    v->str[length] = '\0';
  } else {
    char* block = String_DuplicateLen(text ? text : "", length);
    if (v->str) MEM_FREE(v->str);
    v->str = block;
  }
  v->kind = VALUE_STRING;
  v->val = 0.0;
}

void RValue_SetString(RValue* v, const char* text) {
  RValue_SetStringLen(v, text, text ? static_cast<int64_t>(std::strlen(text)) : 0);
}

void RValue_SetStringOwned(RValue* v, char* block) {
  if (v->str && v->str != block) MEM_FREE(v->str);
  v->str = block;
  v->kind = VALUE_STRING;
  v->val = 0.0;
}

void RValue_Copy(RValue* dst, const RValue* src) {
  if (dst == src) return;
  if (src->kind == VALUE_STRING) {
    RValue_SetString(dst, src->str);
    return;
  }
  if (dst->str) MEM_FREE(dst->str);
  dst->str = nullptr;
  dst->kind = src->kind;
  dst->val = src->val;
}

char* String_DuplicateLen(const char* text, int64_t length) {
  if (!text) return nullptr;
  if (length < 0) length = 0;
  char* block = static_cast<char*>(MEM_ALLOC(static_cast<size_t>(length) + 1));
  if (!block) return nullptr;
  std::memcpy(block, text, static_cast<size_t>(length));
  block[length] = '\0';
  return block;
}

char* String_Duplicate(const char* text) {
  if (!text) return nullptr;
  return String_DuplicateLen(text, static_cast<int64_t>(std::strlen(text)));
}
