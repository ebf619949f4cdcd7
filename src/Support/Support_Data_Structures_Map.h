// The script map: key/value pairs of reals and strings. A key is hashed with
// the runner's CRC-32 and falls in bucket (hash AND 4095); the map is walked
// bucket by bucket from 0 to 4095 and, within a bucket, in the order its
// entries were added. A key is identified by its kind and its text (or the
// bytes of its real), so two keys that share a hash stay two keys.
#pragma once
#include <cstddef>
#include <cstdint>

#include "Base/RValue.h"

constexpr int DS_MAP_BUCKETS = 4096;

struct CDS_MapEntry {
  uint32_t keyKind;
  uint32_t valueKind;
  double key;  // a non-string key's real
  double value;
  char* valueStr;
  uint32_t hash;  // DS_Map_Hash of the key
  uint32_t keyLength;  // a string key's length in bytes
  uint32_t probe;  // the key's hash in the map's index
  CDS_MapEntry* prev;  // walking order
  CDS_MapEntry* next;

  int Bucket() const { return static_cast<int>(hash & (DS_MAP_BUCKETS - 1)); }
  // A string key's text, kept in the entry's own block right behind it (so
  // that an entry with a real key fills one cache line).
  char* KeyText() const { return reinterpret_cast<char*>(const_cast<CDS_MapEntry*>(this) + 1); }
  // Fill a value record with the key or value: its kind; for a string the
  // entry's own text (borrowed, not a copy) and the real 0; otherwise the
  // real and no text. The record must not be freed.
  void GetKey(RValue* out) const { Fill(out, keyKind, key, KeyText()); }
  void GetValue(RValue* out) const { Fill(out, valueKind, value, valueStr); }

 private:
  static void Fill(RValue* out, uint32_t kind, double real, char* text) {
    bool isText = kind == VALUE_STRING;
    *out = RValue{kind, isText ? text : nullptr, isText ? 0.0 : real};
  }
};

struct CDS_MapKey;  // a key as the map looks it up

class CDS_Map {
 public:
  CDS_Map() = default;
  ~CDS_Map();
  CDS_Map(const CDS_Map&) = delete;
  CDS_Map& operator=(const CDS_Map&) = delete;

  CDS_MapEntry* FindEntry(const RValue* key) const;
  // True when added; false, the map unchanged, when the key exists.
  bool Add(const RValue* key, const RValue* value);
  // True when an existing key's value was replaced; false when the pair was
  // added instead.
  bool Replace(const RValue* key, const RValue* value);
  // The same for a string key given as its first length bytes (which hold
  // no zero byte; what follows them does not count).
  CDS_MapEntry* FindText(const char* text, size_t length) const;
  bool AddText(const char* text, size_t length, const RValue* value);
  bool ReplaceText(const char* text, size_t length, const RValue* value);
  bool Delete(const RValue* key);
  bool Exists(const RValue* key) const { return FindEntry(key) != nullptr; }
  bool Empty() const { return m_Count == 0; }
  int Size() const { return m_Count; }

  // In walking order; none when there is no such entry.
  CDS_MapEntry* FindFirst() const { return m_First; }
  CDS_MapEntry* FindLast() const { return m_Last; }
  CDS_MapEntry* FindNext(const RValue* key) const;
  CDS_MapEntry* FindPrevious(const RValue* key) const;

  void Clear();
  // Becomes a copy of source, walking in the same order; itself leaves it as
  // it is.
  void Copy(const CDS_Map* source);
  // A new memory-manager text: "type:key:value" entries joined by ",".
  char* WriteToString() const;
  // Replaces the entries with the text's; false, the map unchanged, when the
  // text is malformed. The empty text (or none) empties the map.
  bool ReadFromString(const char* text);
  // Frees every entry and the map's tables.
  void Destroy();

 private:
  CDS_MapEntry* MatchInWalk(const RValue* key) const;
  CDS_MapEntry* Lookup(const CDS_MapKey& key) const;
  // Adds an entry for a key no entry has.
  bool AddNew(const CDS_MapKey& key, const RValue* value);
  bool AddKey(const CDS_MapKey& key, const RValue* value);
  bool ReplaceKey(const CDS_MapKey& key, const RValue* value);
  // Puts a new entry at the tail of its bucket in walking order; keyIsNew
  // when the caller knows no entry has its key.
  void Append(CDS_MapEntry* e, bool keyIsNew);
  void Unlink(CDS_MapEntry* e);
  void IndexInsert(CDS_MapEntry* e);
  void IndexRemove(CDS_MapEntry* e);
  void IndexGrow();
  void SwapWith(CDS_Map& other);

  CDS_MapEntry* m_First = nullptr;
  CDS_MapEntry* m_Last = nullptr;
  int m_Count = 0;
  // The last entry of each bucket, kept once the map is large enough for a
  // backward walk to cost more than the table.
  CDS_MapEntry** m_BucketTail = nullptr;
  // Open-addressing index of the distinct keys (the first entry of each).
  CDS_MapEntry** m_Index = nullptr;
  uint32_t m_IndexBits = 0;
  int m_IndexUsed = 0;
};

// Walks a map in walking order: Next gives the first entry, then each
// following one, then none.
struct CDS_MapIterator {
  explicit CDS_MapIterator(const CDS_Map* map) : table(map) {}
  CDS_MapEntry* Next();

  int bucket = 0;  // -1 once past the end
  CDS_MapEntry* node = nullptr;
  const CDS_Map* table;
};

// The key's hash: CRC-32 of a string key's bytes, or of a real key's 8 bytes.
uint32_t DS_Map_Hash(const RValue* key);
