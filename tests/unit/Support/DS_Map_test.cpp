#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "DS_Test.h"
#include "Support/Support_Data_Structures_Map.h"

namespace {
std::string Key(const CDS_MapEntry* e) {
  if (!e) return "<none>";
  RValue k;
  e->GetKey(&k);
  return Describe(&k);
}

std::string ValueOf(const CDS_Map& m, const RValue* key) {
  const CDS_MapEntry* e = m.FindEntry(key);
  if (!e) return "<none>";
  RValue v;
  e->GetValue(&v);
  return Describe(&v);
}

std::vector<std::string> Walk(const CDS_Map& m) {
  std::vector<std::string> out;
  CDS_MapIterator it(&m);
  while (const CDS_MapEntry* e = it.Next()) out.push_back(Key(e));
  return out;
}
}  // namespace

TEST(DS_Map, KeysHashAsTheRunnerHashes) {
  EXPECT_EQ(DS_Map_Hash(&Val("abc")), 0xCADBBE3Du);
  EXPECT_EQ(DS_Map_Hash(&Val(1.0)), 0x3807EC16u);
  EXPECT_EQ(DS_Map_Hash(&Val("")), 0xFFFFFFFFu);
}

TEST(DS_Map, AddReplaceDeleteExists) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Map m;
    EXPECT_TRUE(m.Add(&Val("a"), &Val(1.0)));
    EXPECT_FALSE(m.Add(&Val("a"), &Val(2.0)));
    EXPECT_EQ(ValueOf(m, &Val("a")), "1");
    EXPECT_FALSE(m.Replace(&Val("b"), &Val("x")));
    EXPECT_TRUE(m.Replace(&Val("b"), &Val("y")));
    EXPECT_EQ(ValueOf(m, &Val("b")), "\"y\"");
    // The real 1 and the text "1" are two keys.
    EXPECT_TRUE(m.Add(&Val(1.0), &Val("real")));
    EXPECT_TRUE(m.Add(&Val("1"), &Val("text")));
    EXPECT_EQ(ValueOf(m, &Val(1.0)), "\"real\"");
    EXPECT_EQ(m.Size(), 4);
    EXPECT_TRUE(m.Delete(&Val("1")));
    EXPECT_FALSE(m.Delete(&Val("1")));
    EXPECT_TRUE(m.Exists(&Val(1.0)));
    EXPECT_FALSE(m.Exists(&Val("1")));
    EXPECT_EQ(m.Size(), 3);
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_Map, KeysWithTheSameHashAreTwoKeys) {
  Val a("tNXiGIdL"), b("Y9ehY8mR");
  ASSERT_EQ(DS_Map_Hash(&a), DS_Map_Hash(&b));
  CDS_Map m;
  EXPECT_TRUE(m.Add(&a, &Val(1.0)));
  EXPECT_FALSE(m.Exists(&b));
  EXPECT_TRUE(m.Add(&b, &Val(2.0)));
  EXPECT_EQ(ValueOf(m, &a), "1");
  EXPECT_EQ(ValueOf(m, &b), "2");
  // Same bucket: they walk in the order they were added.
  EXPECT_EQ(Walk(m), (std::vector<std::string>{"\"tNXiGIdL\"", "\"Y9ehY8mR\""}));
  EXPECT_TRUE(m.Delete(&a));
  EXPECT_EQ(ValueOf(m, &b), "2");
  EXPECT_EQ(ValueOf(m, &a), "<none>");
}

TEST(DS_Map, WalksByBucketThenByAddingOrder) {
  CDS_Map m;
  m.Add(&Val("abc"), &Val(0.0));  // bucket 3645
  m.Add(&Val(1.0), &Val(0.0));    // bucket 3094
  EXPECT_EQ(Key(m.FindFirst()), "1");
  EXPECT_EQ(Key(m.FindNext(&Val(1.0))), "\"abc\"");
  EXPECT_EQ(Key(m.FindLast()), "\"abc\"");
  EXPECT_EQ(Key(m.FindPrevious(&Val("abc"))), "1");
  EXPECT_EQ(m.FindNext(&Val("abc")), nullptr);
  EXPECT_EQ(m.FindPrevious(&Val(1.0)), nullptr);
  EXPECT_EQ(m.FindNext(&Val("missing")), nullptr);
  EXPECT_EQ(m.FindPrevious(&Val("missing")), nullptr);
  // Next and previous compare reals with ==: -0 finds 0, NaN finds nothing.
  m.Add(&Val(0.0), &Val(0.0));
  EXPECT_NE(m.FindNext(&Val(-0.0)), nullptr);
  m.Add(&Val(NAN), &Val(0.0));
  EXPECT_TRUE(m.Exists(&Val(NAN)));
  EXPECT_EQ(m.FindNext(&Val(NAN)), nullptr);
}

TEST(DS_Map, LargeMapsKeepTheWalkingOrderThroughAddsAndDeletes) {
  std::mt19937 rng(3);
  CDS_Map m;
  // Expected walk: by bucket, then by the order of adding.
  std::vector<std::pair<std::pair<int, int>, std::string>> expected;
  std::vector<std::string> keys;
  for (int i = 0; i < 6000; ++i) {
    std::string k = "k" + std::to_string(rng());
    Val key(k.c_str());
    bool isReal = i % 3 == 0;
    Val real(double(rng() % 100000) / 7.0);
    const RValue* chosen = isReal ? &real : &key;
    if (!m.Add(chosen, &Val(double(i)))) continue;
    expected.push_back({{int(DS_Map_Hash(chosen) & 4095), i}, Describe(chosen)});
    keys.push_back(Describe(chosen));
  }
  std::sort(expected.begin(), expected.end());
  std::vector<std::string> walk;
  for (auto& e : expected) walk.push_back(e.second);
  EXPECT_EQ(Walk(m), walk);
  EXPECT_EQ(m.Size(), int(walk.size()));
  // Delete every other entry in walking order, then walk backwards.
  std::vector<std::string> kept;
  CDS_MapIterator it(&m);
  std::vector<RValue> toDelete;
  int n = 0;
  while (const CDS_MapEntry* e = it.Next()) {
    RValue k;
    e->GetKey(&k);
    (n++ % 2 ? toDelete.push_back(k) : kept.push_back(Key(e)));
  }
  std::vector<Val> owned;
  for (RValue& k : toDelete) owned.push_back(k.kind == VALUE_STRING ? Val(k.str) : Val(k.val));
  for (Val& k : owned) EXPECT_TRUE(m.Delete(&k));
  EXPECT_EQ(Walk(m), kept);
  std::vector<std::string> backwards;
  for (const CDS_MapEntry* e = m.FindLast(); e;) {
    backwards.push_back(Key(e));
    RValue k;
    e->GetKey(&k);
    e = m.FindPrevious(&k);
  }
  std::reverse(backwards.begin(), backwards.end());
  EXPECT_EQ(backwards, kept);
  for (Val& k : owned) EXPECT_FALSE(m.Exists(&k));
}

TEST(DS_Map, CopyKeepsTheOrderAndCopyOntoItselfKeepsEverything) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Map m, copy;
    m.Add(&Val("abc"), &Val("v"));
    m.Add(&Val(1.0), &Val(2.0));
    copy.Add(&Val("old"), &Val(0.0));
    copy.Copy(&m);
    EXPECT_EQ(Walk(copy), Walk(m));
    EXPECT_EQ(ValueOf(copy, &Val("abc")), "\"v\"");
    m.Copy(&m);
    EXPECT_EQ(m.Size(), 2);
    EXPECT_EQ(Walk(m), (std::vector<std::string>{"1", "\"abc\""}));
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_Map, NestingMarksAreKeptAndNeverFollowed) {
  CDS_Map m;
  m.Add(&Val("child"), &Val(KIND_MARK_MAP, 3.0));
  const CDS_MapEntry* e = m.FindEntry(&Val("child"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->valueKind, KIND_MARK_MAP);
  EXPECT_EQ(e->value, 3.0);
  EXPECT_TRUE(m.Delete(&Val("child")));
  EXPECT_TRUE(m.Empty());
}

TEST(DS_Map, KeysOfEveryLengthAreFoundOnlyByTheirOwnBytes) {
  // Keys that share all but one byte, or are a prefix of one another: each
  // length (the index hashes and compares short tails apart from long
  // ones) and each position of the differing byte.
  CDS_Map m;
  std::vector<std::string> keys;
  for (size_t length = 0; length <= 20; ++length) {
    std::string base(length, 'a');
    keys.push_back(base);
    for (size_t at = 0; at < length; ++at) {
      std::string k = base;
      k[at] = 'b';
      keys.push_back(k);
    }
  }
  for (size_t i = 0; i < keys.size(); ++i) ASSERT_TRUE(m.Add(&Val(keys[i].c_str()), &Val(double(i)))) << keys[i];
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(ValueOf(m, &Val(keys[i].c_str())), std::to_string(i)) << keys[i];
  EXPECT_EQ(ValueOf(m, &Val("aaaaaaaaaaaaaaaaaaaaa")), "<none>");
  EXPECT_EQ(ValueOf(m, &Val("c")), "<none>");
  // Deleting shifts the index's probe runs; every other key stays found.
  for (size_t i = 0; i < keys.size(); i += 2) EXPECT_TRUE(m.Delete(&Val(keys[i].c_str())));
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(ValueOf(m, &Val(keys[i].c_str())), i % 2 ? std::to_string(i) : "<none>") << keys[i];
}

TEST(DS_Map, RealKeysAreTheirBytesAndNeverTheirText) {
  CDS_Map m;
  EXPECT_TRUE(m.Add(&Val(0.0), &Val("zero")));
  EXPECT_TRUE(m.Add(&Val(-0.0), &Val("minus zero")));
  EXPECT_TRUE(m.Add(&Val("0"), &Val("text")));
  EXPECT_TRUE(m.Add(&Val(1e20), &Val("big")));
  EXPECT_TRUE(m.Add(&Val(-1.0), &Val("minus one")));
  EXPECT_EQ(ValueOf(m, &Val(0.0)), "\"zero\"");
  EXPECT_EQ(ValueOf(m, &Val(-0.0)), "\"minus zero\"");
  EXPECT_EQ(ValueOf(m, &Val("0")), "\"text\"");
  EXPECT_EQ(ValueOf(m, &Val(1e20)), "\"big\"");
  EXPECT_EQ(ValueOf(m, &Val(-1.0)), "\"minus one\"");
  EXPECT_EQ(ValueOf(m, &Val("1e+20")), "<none>");
  EXPECT_EQ(ValueOf(m, &Val(1.0)), "<none>");
  // Reals that differ in the exponent alone, or in the lowest bit.
  for (int e = -60; e <= 60; ++e) EXPECT_TRUE(m.Add(&Val(std::ldexp(1.0, e)), &Val(double(e)))) << e;
  EXPECT_TRUE(m.Add(&Val(std::nextafter(1.0, 2.0)), &Val(-1000.0)));
  for (int e = -60; e <= 60; ++e) EXPECT_EQ(ValueOf(m, &Val(std::ldexp(1.0, e))), std::to_string(e)) << e;
  EXPECT_EQ(ValueOf(m, &Val(std::nextafter(1.0, 2.0))), "-1000");
}

TEST(DS_Map, KeysSharingTheIndexHashAreTwoKeys) {
  // Pairs of one length that share the index's own hash (found by search),
  // so only the comparison of their bytes tells them apart: a short key, a
  // key whose first four bytes agree, and a key longer than eight bytes.
  const char* pairs[][2] = {{"c95", "dep"}, {"kaxnC", "kaDSc"}, {"key:cWk1", "key:dc1m"}, {"long keyafOA", "long keyatVJ"}};
  CDS_Map m;
  for (auto& p : pairs) {
    EXPECT_TRUE(m.Add(&Val(p[0]), &Val(p[0])));
    EXPECT_EQ(ValueOf(m, &Val(p[1])), "<none>") << p[1];
    EXPECT_TRUE(m.Add(&Val(p[1]), &Val(p[1])));
  }
  for (auto& p : pairs)
    for (const char* k : p) EXPECT_EQ(ValueOf(m, &Val(k)), "\"" + std::string(k) + "\"");
  for (auto& p : pairs) {
    EXPECT_TRUE(m.Delete(&Val(p[0])));
    EXPECT_EQ(ValueOf(m, &Val(p[1])), "\"" + std::string(p[1]) + "\"");
  }
}

TEST(DS_Map, TextKeysOfKnownLengthAreTheStringKeys) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Map m;
    const char buffer[] = "k12|rest";  // the key is the first three bytes
    EXPECT_TRUE(m.AddText(buffer, 3, &Val(1.0)));
    EXPECT_FALSE(m.AddText(buffer, 3, &Val(2.0)));
    EXPECT_EQ(ValueOf(m, &Val("k12")), "1");
    EXPECT_TRUE(m.ReplaceText(buffer, 3, &Val("one")));
    EXPECT_FALSE(m.ReplaceText(buffer, 2, &Val(3.0)));  // "k1", a key of its own
    EXPECT_EQ(ValueOf(m, &Val("k12")), "\"one\"");
    EXPECT_EQ(ValueOf(m, &Val("k1")), "3");
    EXPECT_EQ(m.FindText("k12", 3), m.FindEntry(&Val("k12")));
    EXPECT_EQ(m.FindText("", 0), nullptr);
    EXPECT_TRUE(m.Add(&Val(12.0), &Val(4.0)));
    EXPECT_EQ(ValueOf(m, &Val(12.0)), "4");
    EXPECT_EQ(m.FindText("12", 2), nullptr);
    // The walk has the keys as the text form wrote them.
    EXPECT_EQ(Walk(m).size(), 3u);
    char* text = m.WriteToString();
    CDS_Map read;
    EXPECT_TRUE(read.ReadFromString(text));
    MEM_FREE(text);
    EXPECT_EQ(Walk(read), Walk(m));
    EXPECT_NE(read.FindText("k12", 3), nullptr);
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}
