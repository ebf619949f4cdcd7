#include "Support/Support_Data_Structures.h"

#include <cmath>
#include <cstring>

#include "Platform/MemoryManager.h"
#include "Support/Support_Stream.h"

namespace {
double g_Precision = 1e-08;

// Sets the slot's text to the given bytes, reusing its buffer when it is
// large enough. The bytes may lie inside the slot's own buffer.
void SetText(RValue* slot, const char* text, size_t length) {
  if (slot->str && MemoryManager::GetSize(slot->str) >= length + 1) {
    std::memmove(slot->str, text, length);
    slot->str[length] = '\0';
    return;
  }
  char* block = String_DuplicateLen(text, static_cast<int64_t>(length));
  if (!block) return;  // out of memory: the slot keeps its old text
  MEM_FREE(slot->str);
  slot->str = block;
}

// A real's comparison in single precision: the difference of the narrowed
// values, narrowed again, against the tolerance.
int CompareReals(double a, double b) {
  float d = static_cast<float>(static_cast<float>(a) - static_cast<float>(b));
  if (g_Precision > std::fabs(d)) return 0;
  return d < 0 ? -1 : 1;
}
}  // namespace

void DS_SetPrecision(double precision) { g_Precision = std::fabs(precision); }
double DS_GetPrecision() { return g_Precision; }

int DS_Compare(const RValue* a, const RValue* b) {
  if (a->kind == VALUE_REAL && b->kind == VALUE_REAL) return CompareReals(a->val, b->val);
  if (a->kind != VALUE_STRING || b->kind != VALUE_STRING) return 1;
  int c = std::strcmp(RValue_Text(*a), RValue_Text(*b));  // strcmp orders bytes as unsigned
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void DS_Slot_Store(RValue* slot, const RValue* src) {
  if (slot == src) return;
  if (src->kind == VALUE_STRING) {
    const char* text = RValue_Text(*src);
    SetText(slot, text, std::strlen(text));
  } else {
    DS_Slot_DropText(slot);
  }
  slot->kind = src->kind;
  slot->val = src->val;
}

void DS_Slot_DropText(RValue* slot) {
  MEM_FREE(slot->str);
  slot->str = nullptr;
}

void DS_Combine(int op, RValue* dest, const RValue* src) {
  switch (op) {
    case DS_OP_ADD:
      if (dest->kind != src->kind) break;  // differing kinds: set, below
      if (dest->kind == VALUE_REAL) {
        dest->val += src->val;
      } else if (dest->kind == VALUE_STRING) {
        // The whole joined text, however long; src may be dest itself.
        const char* left = RValue_Text(*dest);
        const char* right = RValue_Text(*src);
        size_t ll = std::strlen(left), lr = std::strlen(right);
        char* joined = static_cast<char*>(MEM_ALLOC(ll + lr + 1));
        if (!joined) return;
        std::memcpy(joined, left, ll);
        std::memcpy(joined + ll, right, lr + 1);
        MEM_FREE(dest->str);
        dest->str = joined;
      }
      return;
    case DS_OP_MULTIPLY:
      if (dest->kind == VALUE_REAL && src->kind == VALUE_REAL) dest->val *= src->val;
      return;
    case DS_OP_SET:
      break;
    default:
      return;
  }
  // Set: dest takes src's kind; a string's text is copied and dest keeps its
  // real, any other kind gives its real and leaves dest without text.
  if (dest == src) return;
  if (src->kind == VALUE_STRING) {
    const char* text = RValue_Text(*src);
    SetText(dest, text, std::strlen(text));
  } else {
    DS_Slot_DropText(dest);
    dest->val = src->val;
  }
  dest->kind = src->kind;
}

bool DS_Slots_Resize(RValue** slots, int64_t oldCount, int64_t newCount) {
  if (newCount < 0) newCount = 0;
  if (newCount == oldCount) return true;
  if (static_cast<uint64_t>(newCount) > SIZE_MAX / sizeof(RValue)) return false;
  for (int64_t i = newCount; i < oldCount; ++i) DS_Slot_DropText(&(*slots)[i]);
  void* block = *slots;
  MemoryManager::SetLength(&block, static_cast<size_t>(newCount) * sizeof(RValue), __FILE__, __LINE__);
  if (newCount > 0 && block == *slots && MemoryManager::GetSize(block) != static_cast<size_t>(newCount) * sizeof(RValue))
    return false;  // refused: the array stays as it was
  *slots = static_cast<RValue*>(block);
  return true;
}

void DS_Slots_Free(RValue** slots) {
  int64_t count = DS_Slots_Length(*slots);
  for (int64_t i = 0; i < count; ++i) DS_Slot_DropText(&(*slots)[i]);
  MEM_FREE(*slots);
  *slots = nullptr;
}

int64_t DS_Slots_Length(const RValue* slots) {
  return static_cast<int64_t>(MemoryManager::GetSize(slots) / sizeof(RValue));
}

// ---- The stream text form ----

void DS_Stream_WriteValue(CStream& s, const RValue* v) {
  s.WriteInteger(static_cast<int32_t>(v->kind));
  s.WriteReal(v->val);
  s.WriteString(v->kind == VALUE_STRING ? v->str : nullptr);
}

bool DS_Stream_ReadInteger(CStream& s, int32_t* out) {
  if (s.GetSize() - s.GetPosition() < 4) return false;
  *out = s.ReadInteger();
  return true;
}

bool DS_Stream_Fits(const CStream& s, int64_t records) {
  if (records < 0) return false;
  return records <= (s.GetSize() - s.GetPosition()) / DS_RECORD_MIN;
}

bool DS_Stream_ReadValue(CStream& s, RValue* slot) {
  if (!DS_Stream_Fits(s, 1)) return false;
  int64_t start = s.GetPosition();
  uint32_t kind = static_cast<uint32_t>(s.ReadInteger());
  double val = s.ReadReal();
  int32_t length = s.ReadInteger();
  if (length < 0 || length > s.GetSize() - s.GetPosition()) {
    s.SetPosition(start);
    return false;
  }
  // Only a string keeps its text; the bytes of any other kind are skipped.
  if (kind == VALUE_STRING && length > 0) {
    slot->str = String_DuplicateLen(reinterpret_cast<const char*>(s.GetMemory() + s.GetPosition()), length);
  }
  s.SetPosition(s.GetPosition() + length);
  slot->kind = kind;
  slot->val = val;
  return true;
}

bool DS_Stream_ReadValues(CStream& s, int64_t n, RValue** out) {
  *out = nullptr;
  if (!DS_Stream_Fits(s, n)) return false;
  if (n == 0) return true;
  auto* values = static_cast<RValue*>(MEM_ALLOC_CLEAR(static_cast<size_t>(n) * sizeof(RValue)));
  if (!values) return false;
  for (int64_t i = 0; i < n; ++i) {
    if (!DS_Stream_ReadValue(s, &values[i])) {
      DS_Slots_Free(&values);
      return false;
    }
  }
  *out = values;
  return true;
}

bool DS_Stream_Open(CStream& s, const char* text, int32_t header) {
  s.ConvertFromString(text ? text : "");
  int32_t found = 0;
  return DS_Stream_ReadInteger(s, &found) && found == header;
}
