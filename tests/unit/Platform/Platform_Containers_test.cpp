#include <gtest/gtest.h>

#include <vector>

#include "Platform/MemoryManager.h"
#include "Platform/Platform_Array.h"
#include "Platform/Platform_Hash.h"
#include "Platform/Platform_LinkedList.h"
#include "Platform/Platform_StringList.h"

namespace {
struct Counted {
  static inline int alive = 0;
  int id;
  explicit Counted(int i) : id(i) { ++alive; }
  ~Counted() { --alive; }
};
struct Record {
  int a;
  double b;
};
}  // namespace

TEST(Array, OwningArrayDeletesDroppedObjectsOnly) {
  Counted::alive = 0;
  {
    cARRAY_CLASS<Counted> arr;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(arr.Add(new Counted(i)), i);
    arr.SetLength(7);  // new slots are empty
    EXPECT_EQ(arr.Get(6), nullptr);
    EXPECT_EQ(Counted::alive, 5);
    arr.SetLength(3);
    EXPECT_EQ(Counted::alive, 3);
    EXPECT_EQ(arr.Get(3), nullptr);
    arr.SetLength(5);  // regrowing must not bring back the deleted objects
    EXPECT_EQ(arr.Get(3), nullptr);
    EXPECT_EQ(arr.Get(4), nullptr);
    arr.Set(0, new Counted(10));  // the replaced object is deleted
    EXPECT_EQ(Counted::alive, 3);
    EXPECT_EQ(arr.Get(-1), nullptr);
    EXPECT_FALSE(arr.Set(5, nullptr));
  }
  EXPECT_EQ(Counted::alive, 0);  // the destructor releases everything

  Counted kept(1);
  {
    cARRAY_CLASS_NO_DELETE<Counted> view;
    view.Add(&kept);
    view.SetLength(0);
    EXPECT_EQ(view.GetItems(), nullptr);
  }
  EXPECT_EQ(Counted::alive, 1);
}

TEST(Array, MemoryAndStructureArraysReleaseTheirBlocks) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    cARRAY_MEMORY<char> blocks;
    blocks.Add(static_cast<char*>(MEM_ALLOC(8)));
    blocks.Add(static_cast<char*>(MEM_ALLOC(8)));
    blocks.SetLength(1);
    EXPECT_EQ(MemoryManager::LiveBlocks(), before + 2);  // the array and one block

    cARRAY_STRUCTURE<Record> records;
    records.Add({1, 2.5});
    records.Add({3, 4.5});
    records.SetLength(1);
    records.SetLength(3);  // regrown records read as zero
    EXPECT_EQ(records.Get(0)->b, 2.5);
    EXPECT_EQ(records.Get(1)->a, 0);
    EXPECT_EQ(records.Get(3), nullptr);
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(Hash, BucketsByMaskAppendAtTailAndFindTheFirst) {
  int a = 1, b = 2, c = 3;
  Hash<int> h(6);  // rounded up to 8 buckets
  EXPECT_EQ(h.GetMask(), 7u);
  h.Insert(5, &a);
  h.Insert(13, &b);  // same bucket as 5
  h.Insert(5, &c);   // a second node with the same key, behind the first
  EXPECT_EQ(h.GetCount(), 3);
  EXPECT_EQ(h.Find(5), &a);
  EXPECT_EQ(h.Find(13), &b);
  EXPECT_EQ(h.Find(6), nullptr);
  auto& bucket = h.GetBuckets()[5];
  EXPECT_EQ(bucket.first->value, &a);
  EXPECT_EQ(bucket.last->value, &c);

  EXPECT_EQ(h.Remove(5), &a);
  EXPECT_EQ(h.Find(5), &c);
  EXPECT_EQ(h.Remove(99), nullptr);

  h.Insert(0, &a);
  std::vector<uint32_t> walked;
  for (auto* n = h.First(); n; n = h.Next(n)) walked.push_back(n->key);
  EXPECT_EQ(walked, (std::vector<uint32_t>{0, 13, 5}));  // bucket order, then chain order
  h.Clear();
  EXPECT_EQ(h.GetCount(), 0);
  EXPECT_EQ(h.First(), nullptr);
}

TEST(LinkedList, KeepsOrderAndCountAcrossRemovals) {
  int v[4] = {0, 1, 2, 3};
  SLinkedList<int> list;
  list.Add(&v[1]);
  list.Add(&v[2]);
  list.AddFront(&v[0]);
  list.Add(&v[3]);
  EXPECT_EQ(list.GetCount(), 4);
  EXPECT_TRUE(list.Remove(&v[0]));  // the head
  EXPECT_TRUE(list.Remove(&v[3]));  // the tail
  EXPECT_FALSE(list.Remove(&v[3]));
  EXPECT_EQ(list.GetFirst()->obj, &v[1]);
  EXPECT_EQ(list.GetLast()->obj, &v[2]);
  EXPECT_EQ(list.GetFirst()->next, list.GetLast());
  EXPECT_EQ(list.GetLast()->prev, list.GetFirst());
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetLast(), nullptr);
}

TEST(StringList, OwnsCopiesAndDeletesInPlace) {
  char text[] = "one";
  TStringList list;
  list.Add(text);
  list.Add(nullptr);
  list.Add("three");
  text[0] = 'X';
  EXPECT_STREQ(list.Get(0), "one");
  EXPECT_STREQ(list.Get(1), "");
  EXPECT_TRUE(list.Delete(1));
  EXPECT_FALSE(list.Delete(2));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_STREQ(list.Get(1), "three");
  EXPECT_EQ(list.Get(2), nullptr);
}
