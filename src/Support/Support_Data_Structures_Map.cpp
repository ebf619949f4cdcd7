#include "Support/Support_Data_Structures_Map.h"

#include <cstring>
#include <string>
#include <utility>

#include "Base/Crc32.h"
#include "Platform/MemoryManager.h"

// A key as the map looks it up: its kind, its text and length or its real,
// and its hash in the map's index. The index has a hash of its own, cheaper
// than the CRC-32 that orders the walk, which is made only for a new entry.
struct CDS_MapKey {
  uint32_t kind;
  const char* text;  // a string key's text, else null
  size_t length;
  double real;
  uint32_t probe;

  uint32_t Crc() const { return text ? Crc32_Buffer(text, length) : Crc32_Buffer(&real, sizeof real); }
};

static_assert(sizeof(CDS_MapEntry) == 64, "an entry with a real key fills one cache line");

namespace {
// Below this many entries a new entry finds its place by walking back from
// the end; from there on the map keeps the last entry of every bucket.
constexpr int kBucketTailFrom = 32;
constexpr uint32_t kIndexMinBits = 4;

uint32_t Load32(const char* p) {
  uint32_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

uint64_t Load64(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Long keys are compared by memcmp out of line: the lookup stays free of calls.
[[gnu::noinline]] bool SameLongBytes(const char* a, const char* b, size_t n) { return std::memcmp(a, b, n) == 0; }

// Short keys, the usual ones, are compared in place: memcmp is a call.
bool SameBytes(const char* a, const char* b, size_t n) {
  if (n > 8) return SameLongBytes(a, b, n);
  if (n >= 4) return Load32(a) == Load32(b) && Load32(a + n - 4) == Load32(b + n - 4);
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

bool SameKey(const CDS_MapEntry* e, const CDS_MapKey& key) {
  if (key.text) return e->keyLength == key.length && e->keyKind == VALUE_STRING && SameBytes(e->KeyText(), key.text, key.length);
  return e->keyKind != VALUE_STRING && std::memcmp(&e->key, &key.real, sizeof(double)) == 0;
}

// ---- The index's hash ----
// Eight bytes at a time (a short tail by overlapping loads), each step a
// multiply; the last folds the high half in so every bit reaches the top
// bits, which pick the slot.

constexpr uint64_t kMix = 0x9E3779B97F4A7C15u;

uint32_t Fold(uint64_t h) {
  h *= kMix;
  h ^= h >> 32;
  h *= kMix;
  return static_cast<uint32_t>(h >> 32);
}

inline uint32_t TextProbe(const char* p, size_t n) {
  uint64_t h = n;
  for (; n > 8; n -= 8, p += 8) h = (h ^ Load64(p)) * kMix;
  if (n >= 4) {
    h ^= Load32(p) | uint64_t(Load32(p + n - 4)) << 32;
  } else if (n) {
    h ^= uint8_t(p[0]) | uint32_t(uint8_t(p[n / 2])) << 8 | uint32_t(uint8_t(p[n - 1])) << 16;
  }
  return Fold(h);
}

uint32_t RealProbe(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return Fold(bits ^ 0x5851F42D4C957F2Du);
}

inline CDS_MapKey TextKey(const char* text, size_t length) {
  return {VALUE_STRING, text, length, 0.0, TextProbe(text, length)};
}

inline CDS_MapKey KeyOf(const RValue* key) {
  if (key->kind != VALUE_STRING) return {key->kind, nullptr, 0, key->val, RealProbe(key->val)};
  const char* text = RValue_Text(*key);
  return TextKey(text, std::strlen(text));
}

// Stores a value's kind with its real or a copy of its text.
void StoreField(uint32_t* kind, double* real, char** text, const RValue* v) {
  *kind = v->kind;
  if (v->kind == VALUE_STRING) {
    *text = String_Duplicate(RValue_Text(*v));
    *real = 0.0;
  } else {
    *text = nullptr;
    *real = v->val;
  }
}

// A string key never changes, so its text lives in the entry's own block,
// right behind the entry.
CDS_MapEntry* NewEntry(const CDS_MapKey& key, uint32_t hash, const RValue* value) {
  size_t keyBytes = key.text ? key.length + 1 : 0;
  auto* e = static_cast<CDS_MapEntry*>(MEM_ALLOC_CLEAR(sizeof(CDS_MapEntry) + keyBytes));
  if (!e) return nullptr;
  e->keyKind = key.kind;
  if (key.text) {
    std::memcpy(e->KeyText(), key.text, key.length);
    e->KeyText()[key.length] = '\0';
    e->keyLength = static_cast<uint32_t>(key.length);
  } else {
    e->key = key.real;
  }
  StoreField(&e->valueKind, &e->value, &e->valueStr, value);
  e->hash = hash;
  e->probe = key.probe;
  return e;
}

void FreeEntry(CDS_MapEntry* e) {
  MEM_FREE(e->valueStr);
  MEM_FREE(e);
}
}  // namespace

uint32_t DS_Map_Hash(const RValue* key) { return KeyOf(key).Crc(); }

CDS_MapEntry* CDS_MapIterator::Next() {
  if (bucket < 0) return nullptr;
  node = node ? node->next : table->FindFirst();
  if (!node) {
    bucket = -1;
    return nullptr;
  }
  bucket = node->Bucket();
  return node;
}

CDS_Map::~CDS_Map() { Destroy(); }

// ---- The key index ----

namespace {
uint32_t IndexSlot(uint32_t probe, uint32_t bits) { return probe >> (32 - bits); }
}  // namespace

[[gnu::always_inline]] inline CDS_MapEntry* CDS_Map::Lookup(const CDS_MapKey& key) const {
  if (!m_Index) return nullptr;
  uint32_t mask = (1u << m_IndexBits) - 1;
  for (uint32_t i = IndexSlot(key.probe, m_IndexBits);; i = (i + 1) & mask) {
    CDS_MapEntry* e = m_Index[i];
    if (!e) return nullptr;
    if (e->probe == key.probe && SameKey(e, key)) return e;
  }
}

void CDS_Map::IndexGrow() {
  uint32_t bits = m_Index ? m_IndexBits + 1 : kIndexMinBits;
  auto** fresh = static_cast<CDS_MapEntry**>(MEM_ALLOC_CLEAR(sizeof(CDS_MapEntry*) << bits));
  if (!fresh) return;
  CDS_MapEntry** old = m_Index;
  uint32_t oldSize = m_Index ? (1u << m_IndexBits) : 0;
  m_Index = fresh;
  m_IndexBits = bits;
  m_IndexUsed = 0;
  for (uint32_t i = 0; i < oldSize; ++i)
    if (old[i]) IndexInsert(old[i]);
  MEM_FREE(old);
}

void CDS_Map::IndexInsert(CDS_MapEntry* e) {
  // Kept at most half full, so probes stay short and always end.
  if (!m_Index || uint64_t(m_IndexUsed + 1) * 2 > (uint64_t(1) << m_IndexBits)) IndexGrow();
  if (!m_Index) return;
  uint32_t mask = (1u << m_IndexBits) - 1;
  uint32_t i = IndexSlot(e->probe, m_IndexBits);
  while (m_Index[i]) i = (i + 1) & mask;
  m_Index[i] = e;
  ++m_IndexUsed;
}

void CDS_Map::IndexRemove(CDS_MapEntry* e) {
  if (!m_Index) return;
  uint32_t mask = (1u << m_IndexBits) - 1;
  uint32_t i = IndexSlot(e->probe, m_IndexBits);
  while (m_Index[i] && m_Index[i] != e) i = (i + 1) & mask;
  if (!m_Index[i]) return;
  // Backward-shift deletion: pull later members of the probe run into the
  // hole when their home slot does not lie between the hole and them.
  uint32_t hole = i;
  for (uint32_t j = (hole + 1) & mask; m_Index[j]; j = (j + 1) & mask) {
    uint32_t home = IndexSlot(m_Index[j]->probe, m_IndexBits);
    if (((j - home) & mask) >= ((j - hole) & mask)) {
      m_Index[hole] = m_Index[j];
      hole = j;
    }
  }
  m_Index[hole] = nullptr;
  --m_IndexUsed;
}

// ---- Walking order ----

void CDS_Map::Append(CDS_MapEntry* e, bool keyIsNew) {
  int b = e->Bucket();
  CDS_MapEntry* after = m_Last;
  if (after && after->Bucket() > b) {
    if (m_BucketTail) {
      after = nullptr;
      for (int k = b; k >= 0 && !after; --k) after = m_BucketTail[k];
    } else {
      while (after && after->Bucket() > b) after = after->prev;
    }
  }
  e->prev = after;
  e->next = after ? after->next : m_First;
  (e->prev ? e->prev->next : m_First) = e;
  (e->next ? e->next->prev : m_Last) = e;
  ++m_Count;
  if (!m_BucketTail && m_Count > kBucketTailFrom) {
    m_BucketTail = static_cast<CDS_MapEntry**>(MEM_ALLOC_CLEAR(sizeof(CDS_MapEntry*) * DS_MAP_BUCKETS));
    if (m_BucketTail)
      for (CDS_MapEntry* n = m_First; n; n = n->next) m_BucketTail[n->Bucket()] = n;
  } else if (m_BucketTail) {
    m_BucketTail[b] = e;
  }
  // Only the first entry of a key is indexed (a text may hold a key twice).
  if (keyIsNew) {
    IndexInsert(e);
  } else {
    RValue key;
    e->GetKey(&key);
    if (!Lookup(KeyOf(&key))) IndexInsert(e);
  }
}

void CDS_Map::Unlink(CDS_MapEntry* e) {
  int b = e->Bucket();
  if (m_BucketTail && m_BucketTail[b] == e) m_BucketTail[b] = (e->prev && e->prev->Bucket() == b) ? e->prev : nullptr;
  (e->prev ? e->prev->next : m_First) = e->next;
  (e->next ? e->next->prev : m_Last) = e->prev;
  --m_Count;
}

// ---- Entries ----

CDS_MapEntry* CDS_Map::FindEntry(const RValue* key) const { return Lookup(KeyOf(key)); }
CDS_MapEntry* CDS_Map::FindText(const char* text, size_t length) const { return Lookup(TextKey(text, length)); }

bool CDS_Map::AddNew(const CDS_MapKey& key, const RValue* value) {
  CDS_MapEntry* e = NewEntry(key, key.Crc(), value);
  if (!e) return false;
  Append(e, true);
  return true;
}

inline bool CDS_Map::AddKey(const CDS_MapKey& key, const RValue* value) { return !Lookup(key) && AddNew(key, value); }
bool CDS_Map::Add(const RValue* key, const RValue* value) { return AddKey(KeyOf(key), value); }
bool CDS_Map::AddText(const char* text, size_t length, const RValue* value) {
  return AddKey(TextKey(text, length), value);
}

inline bool CDS_Map::ReplaceKey(const CDS_MapKey& key, const RValue* value) {
  CDS_MapEntry* e = Lookup(key);
  if (!e) {
    AddNew(key, value);
    return false;
  }
  char* old = e->valueStr;
  StoreField(&e->valueKind, &e->value, &e->valueStr, value);
  if (old) MEM_FREE(old);
  return true;
}

bool CDS_Map::Replace(const RValue* key, const RValue* value) { return ReplaceKey(KeyOf(key), value); }
bool CDS_Map::ReplaceText(const char* text, size_t length, const RValue* value) {
  return ReplaceKey(TextKey(text, length), value);
}

bool CDS_Map::Delete(const RValue* key) {
  CDS_MapKey k = KeyOf(key);
  CDS_MapEntry* e = Lookup(k);
  if (!e) return false;
  IndexRemove(e);
  // A second entry with this key (read from a text) becomes the visible one.
  for (CDS_MapEntry* n = e->next; n && n->Bucket() == e->Bucket(); n = n->next) {
    if (n->probe == e->probe && SameKey(n, k)) {
      IndexInsert(n);
      break;
    }
  }
  Unlink(e);
  FreeEntry(e);
  return true;
}

// The first entry in walking order whose key has k's kind and equals it: the
// same text, or a real that is == (so no NaN ever matches).
CDS_MapEntry* CDS_Map::MatchInWalk(const RValue* key) const {
  for (CDS_MapEntry* e = m_First; e; e = e->next) {
    if (e->keyKind != key->kind) continue;
    if (key->kind == VALUE_STRING ? std::strcmp(e->KeyText(), RValue_Text(*key)) == 0 : e->key == key->val) return e;
  }
  return nullptr;
}

namespace {
// Whether == on the real coincides with the key identity (the same bytes):
// not for NaN, nor for 0 and -0.
bool RealKeyIsPlain(const RValue* key) { return key->kind == VALUE_STRING || (key->val == key->val && key->val != 0); }
}  // namespace

CDS_MapEntry* CDS_Map::FindNext(const RValue* key) const {
  CDS_MapEntry* e = RealKeyIsPlain(key) ? FindEntry(key) : nullptr;
  if (!e || e->keyKind != key->kind) e = MatchInWalk(key);
  return e ? e->next : nullptr;
}

CDS_MapEntry* CDS_Map::FindPrevious(const RValue* key) const {
  CDS_MapEntry* e = RealKeyIsPlain(key) ? FindEntry(key) : nullptr;
  if (!e || e->keyKind != key->kind) e = MatchInWalk(key);
  return e ? e->prev : nullptr;
}

void CDS_Map::Clear() {
  for (CDS_MapEntry* e = m_First; e;) {
    CDS_MapEntry* next = e->next;
    FreeEntry(e);
    e = next;
  }
  m_First = m_Last = nullptr;
  m_Count = 0;
  MEM_FREE(m_BucketTail);
  m_BucketTail = nullptr;
  MEM_FREE(m_Index);
  m_Index = nullptr;
  m_IndexBits = 0;
  m_IndexUsed = 0;
}

void CDS_Map::Destroy() { Clear(); }

void CDS_Map::Copy(const CDS_Map* source) {
  if (source == this) return;
  Clear();
  if (!source) return;
  for (CDS_MapEntry* s = source->m_First; s; s = s->next) {
    RValue key, value;
    s->GetKey(&key);
    s->GetValue(&value);
    CDS_MapEntry* e = NewEntry(KeyOf(&key), s->hash, &value);
    if (e) Append(e, false);
  }
}

void CDS_Map::SwapWith(CDS_Map& other) {
  std::swap(m_First, other.m_First);
  std::swap(m_Last, other.m_Last);
  std::swap(m_Count, other.m_Count);
  std::swap(m_BucketTail, other.m_BucketTail);
  std::swap(m_Index, other.m_Index);
  std::swap(m_IndexBits, other.m_IndexBits);
  std::swap(m_IndexUsed, other.m_IndexUsed);
}

// ---- Text form ----
// Each entry is "T:K:V" with T the hex digit 2 * (value is a string) + (key
// is a string); a string is its bytes in hex, a real the bytes of its double
// from the most significant down, leaving out the zero bytes at the end.

namespace {
const char kHex[] = "0123456789ABCDEF";

void PutByte(std::string& out, uint8_t b) {
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

void PutField(std::string& out, uint32_t kind, double real, const char* text) {
  if (kind == VALUE_STRING) {
    for (const char* p = text; *p; ++p) PutByte(out, static_cast<uint8_t>(*p));
    return;
  }
  uint64_t bits;
  std::memcpy(&bits, &real, sizeof bits);
  for (int shift = 56; shift >= 0 && (bits << (56 - shift)) != 0; shift -= 8) PutByte(out, uint8_t(bits >> shift));
}

int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads digit pairs up to one of the stop characters (or the end) into
// bytes; false on a character that is neither, or an odd count.
bool TakeBytes(const char*& p, const char* stops, std::string& bytes) {
  bytes.clear();
  while (*p && !std::strchr(stops, *p)) {
    int hi = Digit(p[0]);
    int lo = hi < 0 ? -1 : Digit(p[1]);
    if (lo < 0) return false;
    bytes += static_cast<char>(hi * 16 + lo);
    p += 2;
  }
  return true;
}

// A field of the given kind from its bytes: a string, or a real whose bytes
// fill the double from the most significant down (at most eight).
bool MakeField(bool isString, const std::string& bytes, RValue* out, std::string& text) {
  if (isString) {
    text.assign(bytes.c_str());  // the text ends at a zero byte, as a stored text does
    *out = RValue{VALUE_STRING, text.data(), 0.0};
    return true;
  }
  if (bytes.size() > 8) return false;
  uint64_t bits = 0;
  for (size_t i = 0; i < bytes.size(); ++i) bits |= uint64_t(uint8_t(bytes[i])) << (56 - 8 * i);
  *out = RValue{VALUE_REAL, nullptr, 0.0};
  std::memcpy(&out->val, &bits, sizeof bits);
  return true;
}
}  // namespace

char* CDS_Map::WriteToString() const {
  std::string out;
  for (CDS_MapEntry* e = m_First; e; e = e->next) {
    if (e != m_First) out += ',';
    out += kHex[(e->valueKind == VALUE_STRING ? 2 : 0) + (e->keyKind == VALUE_STRING ? 1 : 0)];
    out += ':';
    PutField(out, e->keyKind, e->key, e->KeyText());
    out += ':';
    PutField(out, e->valueKind, e->value, e->valueStr);
  }
  return String_DuplicateLen(out.data(), static_cast<int64_t>(out.size()));
}

bool CDS_Map::ReadFromString(const char* text) {
  CDS_Map read;
  const char* p = text ? text : "";
  std::string bytes, keyText, valueText;
  while (*p) {
    if (*p < '0' || *p > '3' || p[1] != ':') return false;
    int type = *p - '0';
    p += 2;
    RValue key, value;
    if (!TakeBytes(p, ":,", bytes) || *p != ':' || !MakeField(type & 1, bytes, &key, keyText)) return false;
    ++p;
    if (!TakeBytes(p, ",", bytes) || !MakeField(type & 2, bytes, &value, valueText)) return false;
    CDS_MapKey k = KeyOf(&key);
    CDS_MapEntry* e = NewEntry(k, k.Crc(), &value);
    if (!e) return false;
    read.Append(e, false);  // a key given twice gives two entries; the first is found
    if (*p == ',' && !*++p) return false;  // a comma must lead to another entry
  }
  SwapWith(read);
  return true;
}
