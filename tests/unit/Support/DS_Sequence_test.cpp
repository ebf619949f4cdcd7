#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Base/Random_Main.h"
#include "DS_Test.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
std::string Exact(const RValue& v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v.val);
  return Describe(&v) + "@" + buf;
}

std::vector<std::string> Contents(CDS_List& l) {
  std::vector<std::string> out;
  for (int i = 0; i < l.Size(); ++i) out.push_back(Describe(l.FindValue(i)));
  return out;
}

// The sort's rule, written out plainly: an insertion sort by adjacent swaps.
std::vector<std::string> ReferenceSort(std::vector<RValue> v, bool ascending) {
  for (size_t i = 1; i < v.size(); ++i) {
    for (size_t j = i; j > 0; --j) {
      int c = DS_Compare(&v[j - 1], &v[j]);
      if (ascending ? c <= 0 : c > 0) break;
      std::swap(v[j - 1], v[j]);
    }
  }
  std::vector<std::string> out;
  for (const RValue& x : v) out.push_back(Exact(x));
  return out;
}

std::vector<std::string> Tagged(CDS_List& l) {
  std::vector<std::string> out;
  for (int i = 0; i < l.Size(); ++i) out.push_back(Exact(*l.FindValue(i)));
  return out;
}
}  // namespace

TEST(DS_Stack, PushPopTopAndClearWithoutDoubleFrees) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Stack s;
    EXPECT_EQ(s.Pop(), nullptr);
    EXPECT_EQ(s.Top(), nullptr);
    for (int i = 0; i < 40; ++i) s.Push(&Val(("v" + std::to_string(i)).c_str()));
    EXPECT_EQ(s.Size(), 40);
    EXPECT_EQ(Describe(s.Pop()), "\"v39\"");
    EXPECT_EQ(Describe(s.Top()), "\"v38\"");
    // Clearing keeps the array; later pushes and the final free must find no
    // text of the old values left behind.
    s.Clear();
    EXPECT_TRUE(s.Empty());
    s.Push(&Val(1.0));
    s.Push(&Val("again"));
    EXPECT_EQ(Describe(s.Pop()), "\"again\"");
    EXPECT_EQ(Describe(s.Pop()), "1");
    s.Clear();
    s.Clear();
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_Queue, CompactsOnceMostSlotsLieBeforeTheHead) {
  CDS_Queue q;
  for (int i = 0; i < 20; ++i) q.Enqueue(&Val(("q" + std::to_string(i)).c_str()));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(Describe(q.Dequeue()), "\"q" + std::to_string(i) + "\"");
  EXPECT_EQ(q.HeadIndex(), 16);
  RValue* taken = q.Dequeue();  // head 17 > 20 / 2: the rest moves down
  EXPECT_EQ(q.HeadIndex(), 0);
  EXPECT_EQ(q.TailIndex(), 3);
  EXPECT_EQ(Describe(taken), "\"q16\"");
  EXPECT_EQ(Describe(q.Head()), "\"q17\"");
  EXPECT_EQ(Describe(q.Tail()), "\"q19\"");
  EXPECT_EQ(q.Size(), 3);
  q.Enqueue(&Val(20.0));
  EXPECT_EQ(Describe(q.Tail()), "20");
}

TEST(DS_Queue, ClearThenReuseAndCopies) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Queue q, copy;
    for (int i = 0; i < 16; ++i) q.Enqueue(&Val(("s" + std::to_string(i)).c_str()));
    copy.Copy(&q);  // a full array: all 16 values, the last included
    EXPECT_EQ(copy.Size(), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Describe(copy.Dequeue()), "\"s" + std::to_string(i) + "\"");
    std::string text = Take(q.WriteToString());
    q.Copy(&q);
    EXPECT_EQ(Take(q.WriteToString()), text);
    q.Clear();
    EXPECT_EQ(q.Dequeue(), nullptr);
    q.Enqueue(&Val("x"));
    EXPECT_EQ(Describe(q.Head()), "\"x\"");
    q.Copy(nullptr);
    EXPECT_TRUE(q.Empty());
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_List, InsertReplaceDeleteAndPositionsOutOfRange) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_List l;
    l.Add(&Val("b"));
    l.Insert(0, &Val("a"));
    l.Insert(2, &Val(3.0));  // at the count: appends
    l.Insert(4, &Val(9.0));
    l.Insert(-1, &Val(9.0));
    EXPECT_EQ(Contents(l), (std::vector<std::string>{"\"a\"", "\"b\"", "3"}));
    l.Replace(1, &Val("B"));
    l.Replace(3, &Val(9.0));
    l.Delete(0);
    l.Delete(5);
    EXPECT_EQ(Contents(l), (std::vector<std::string>{"\"B\"", "3"}));
    EXPECT_EQ(l.FindValue(2), nullptr);
    EXPECT_EQ(l.FindValue(-1), nullptr);
    for (int i = 0; i < 50; ++i) l.Insert(1, &Val(std::to_string(i).c_str()));
    EXPECT_EQ(l.Size(), 52);
    EXPECT_EQ(Describe(l.FindValue(1)), "\"49\"");
    while (!l.Empty()) l.Delete(0);
    l.Add(&Val("z"));
    l.Clear();
    l.Add(&Val("after"));
    EXPECT_EQ(Contents(l), std::vector<std::string>{"\"after\""});
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_List, FindIndexUsesThePrecision) {
  CDS_List l;
  l.Add(&Val("5"));
  l.Add(&Val(0.1));
  l.Add(&Val(5.0));
  EXPECT_EQ(l.FindIndex(&Val(5.0)), 2);
  EXPECT_EQ(l.FindIndex(&Val("5")), 0);
  EXPECT_EQ(l.FindIndex(&Val(0.1 + 1e-9)), 1);
  EXPECT_EQ(l.FindIndex(&Val(0.1 + 2e-8)), -1);
  DS_SetPrecision(0);
  EXPECT_EQ(l.FindIndex(&Val(5.0)), -1);
  DS_SetPrecision(1e-08);
  // A string without text (as read back from a text) is the empty text.
  l.Add(&Val(""));
  RValue noText{VALUE_STRING, nullptr, 0.0};
  EXPECT_EQ(l.FindIndex(&noText), 3);
}

TEST(DS_List, SortsByInsertionRules) {
  CDS_List l;
  l.Add(&Val(3.0));
  l.FindValue(0)->val = 3.0;
  l.Add(&Val(1.0));
  l.Add(&Val(3.0 + 1e-9));  // the second 3, a hair above (equal in single precision)
  l.Sort(false);
  // Descending reverses values that compare equal: the second 3 comes first.
  EXPECT_EQ(l.FindValue(0)->val, 3.0 + 1e-9);
  EXPECT_EQ(l.FindValue(1)->val, 3.0);
  EXPECT_EQ(l.FindValue(2)->val, 1.0);
  l.Sort(true);
  EXPECT_EQ(l.FindValue(0)->val, 1.0);
  EXPECT_EQ(l.FindValue(1)->val, 3.0 + 1e-9);  // ascending keeps the order of equals

  // With a wide tolerance the rule is not an ordering: neighbours within it
  // stay as they are.
  DS_SetPrecision(0.5);
  CDS_List w;
  for (double d : {1.0, 1.3, 1.2}) w.Add(&Val(d));
  w.Sort(true);
  EXPECT_EQ(Contents(w), (std::vector<std::string>{"1", "1.3", "1.2"}));
  DS_SetPrecision(1e-08);
}

TEST(DS_List, SortMatchesTheInsertionSortOnManyLists) {
  std::mt19937 rng(7);
  for (int round = 0; round < 120; ++round) {
    double precision = std::vector<double>{1e-08, 0.0, 0.3, 1e-06}[round % 4];
    int kinds = round / 4 % 3;  // reals, strings, both
    DS_SetPrecision(precision);
    CDS_List l;
    std::vector<RValue> plain;
    int n = 1 + rng() % 60;
    for (int i = 0; i < n; ++i) {
      bool text = kinds == 1 || (kinds == 2 && rng() % 3 == 0);
      Val v = text ? Val(std::string(1, char('a' + rng() % 4)).c_str()) : Val(double(rng() % 8) * 0.25 + (rng() % 2) * 1e-9);
      v.v.val = text ? double(i) : v.v.val;  // a string's real tags its place
      l.Add(&v);
      plain.push_back(*l.FindValue(i));
    }
    bool ascending = round % 2 == 0;
    std::vector<std::string> expected = ReferenceSort(plain, ascending);
    l.Sort(ascending);
    EXPECT_EQ(Tagged(l), expected) << "round " << round;
  }
  DS_SetPrecision(1e-08);
}

TEST(DS_List, ShuffleRepeatsWithTheSeedAndKeepsTheValues) {
  auto shuffled = [](uint32_t seed) {
    CDS_List l;
    for (int i = 0; i < 30; ++i) l.Add(&Val(double(i)));
    Random_Seed(seed);
    l.Shuffle();
    std::vector<std::string> out = Contents(l);
    return out;
  };
  std::vector<std::string> a = shuffled(5), b = shuffled(5), c = shuffled(6);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  std::sort(a.begin(), a.end());
  std::vector<std::string> all;
  for (int i = 0; i < 30; ++i) all.push_back(std::to_string(i));
  std::sort(all.begin(), all.end());
  EXPECT_EQ(a, all);
  CDS_List empty;
  empty.Shuffle();
  EXPECT_TRUE(empty.Empty());
}

TEST(DS_List, CopyOntoItselfAndFromAnother) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_List l, other;
    l.Add(&Val("a"));
    l.Add(&Val(2.0));
    l.Copy(&l);
    EXPECT_EQ(Contents(l), (std::vector<std::string>{"\"a\"", "2"}));
    other.Add(&Val("zzz"));
    other.Copy(&l);
    EXPECT_EQ(Contents(other), Contents(l));
    CDS_Stack s;
    s.Push(&Val("p"));
    s.Copy(&s);
    EXPECT_EQ(Describe(s.Top()), "\"p\"");
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}
