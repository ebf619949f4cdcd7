#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Base/Console.h"
#include "Platform/MemoryManager.h"

namespace {
// Counts the console lines written while it lives.
struct ConsoleCapture {
  static inline int lines = 0;
  void (*saved)(const char*);
  ConsoleCapture() : saved(g_ConsoleListener) {
    lines = 0;
    g_ConsoleListener = [](const char*) { ++lines; };
  }
  ~ConsoleCapture() { g_ConsoleListener = saved; }
};
}  // namespace

TEST(MemoryManager, BlocksCarryTheHeaderAndTheirSize) {
  int64_t before = MemoryManager::LiveBlocks();
  auto* p = static_cast<uint8_t*>(MEM_ALLOC(40));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(MemoryManager::GetSize(p), 40u);
  uint64_t size;
  uint32_t magic[2];
  std::memcpy(&size, p - 16, 8);
  std::memcpy(magic, p - 8, 8);
  EXPECT_EQ(size, 40u);
  EXPECT_EQ(magic[0], 0xDEADC0DEu);
  EXPECT_EQ(magic[1], 0xBAADB00Bu);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before + 1);
  MEM_FREE(p);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
  EXPECT_EQ(MEM_ALLOC(0), nullptr);
}

TEST(MemoryManager, HugeSizesAreRefusedNotWrapped) {
  ConsoleCapture capture;
  EXPECT_EQ(MEM_ALLOC(SIZE_MAX), nullptr);
  EXPECT_EQ(MEM_ALLOC(SIZE_MAX - 8), nullptr);
  void* p = MEM_ALLOC(8);
  void* q = p;
  MemoryManager::SetLength(&q, SIZE_MAX - 4, __FILE__, __LINE__);
  EXPECT_EQ(q, p);  // the refused resize keeps the block
  EXPECT_EQ(capture.lines, 3);
  MEM_FREE(p);
}

TEST(MemoryManager, DoubleAndForeignFreesAreLoggedAndIgnored) {
  ConsoleCapture capture;
  int64_t before = MemoryManager::LiveBlocks();
  void* p = MEM_ALLOC(16);
  MEM_FREE(p);
  MEM_FREE(p);  // freed memory is never read: the registry says it is gone
  EXPECT_EQ(MemoryManager::GetSize(p), 0u);
  char local[64] = {};
  MEM_FREE(local + 32);
  MEM_FREE(reinterpret_cast<void*>(8));
  EXPECT_EQ(capture.lines, 3);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(MemoryManager, ResizeKeepsContentsAndZeroFillsGrowth) {
  void* p = nullptr;
  MemoryManager::SetLength(&p, 4, __FILE__, __LINE__);  // missing block: zero-filled
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, "\0\0\0\0", 4), 0);
  std::memcpy(p, "abcd", 4);
  void* same = p;
  MemoryManager::SetLength(&p, 4, __FILE__, __LINE__);
  EXPECT_EQ(p, same);
  MemoryManager::SetLength(&p, 8, __FILE__, __LINE__);
  EXPECT_EQ(std::memcmp(p, "abcd\0\0\0\0", 8), 0);
  MemoryManager::SetLength(&p, 2, __FILE__, __LINE__);
  EXPECT_EQ(MemoryManager::GetSize(p), 2u);
  EXPECT_EQ(std::memcmp(p, "ab", 2), 0);
  MemoryManager::SetLength(&p, 0, __FILE__, __LINE__);
  EXPECT_EQ(p, nullptr);
}

// The live-block table grows, and sweeps the slots of freed blocks, while
// every block stays known exactly once.
TEST(MemoryManager, ManyBlocksStayKnownThroughGrowthAndSweeps) {
  int64_t before = MemoryManager::LiveBlocks();
  std::vector<void*> blocks;
  for (int round = 0; round < 3; round++) {
    for (int i = 0; i < 20000; i++) blocks.push_back(MEM_ALLOC(1 + i % 7));
    // Free every other block, oldest first, then check all the rest.
    std::vector<void*> kept;
    for (size_t i = 0; i < blocks.size(); i++) {
      if (i % 2) MEM_FREE(blocks[i]);
      else kept.push_back(blocks[i]);
    }
    blocks.swap(kept);
    for (void* b : blocks) ASSERT_GT(MemoryManager::GetSize(b), 0u);
    ASSERT_EQ(MemoryManager::LiveBlocks(), before + static_cast<int64_t>(blocks.size()));
  }
  for (void* b : blocks) MEM_FREE(b);
  for (void* b : blocks) EXPECT_EQ(MemoryManager::GetSize(b), 0u);  // freed: no longer known
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

// Small blocks of every size share slabs: contents survive the reuse of
// their neighbours, slabs fill, empty and go back, and pointers into a block
// or to a block already freed (also when its slab is gone) are refused.
TEST(MemoryManager, SmallBlocksKeepContentsAndRefuseStrayFrees) {
  ConsoleCapture capture;
  int64_t before = MemoryManager::LiveBlocks();
  std::vector<uint8_t*> blocks;
  for (int i = 0; i < 9000; i++) {
    size_t size = 1 + i % 70;  // past the largest small size too
    auto* b = static_cast<uint8_t*>(MEM_ALLOC(size));
    ASSERT_NE(b, nullptr);
    std::memset(b, i & 0xFF, size);
    blocks.push_back(b);
  }
  // Free two of every three, then take as many again: reused blocks must
  // not overlap the ones kept.
  std::vector<uint8_t*> kept;
  for (size_t i = 0; i < blocks.size(); i++) {
    if (i % 3) MEM_FREE(blocks[i]);
    else kept.push_back(blocks[i]);
  }
  std::vector<uint8_t*> again;
  for (int i = 0; i < 6000; i++) {
    auto* b = static_cast<uint8_t*>(MEM_ALLOC_CLEAR(1 + i % 64));
    for (size_t k = 0; k < size_t(1 + i % 64); k++) ASSERT_EQ(b[k], 0) << i;
    std::memset(b, 0xEE, 1 + i % 64);
    again.push_back(b);
  }
  for (size_t j = 0; j < kept.size(); j++) {
    size_t i = j * 3;
    ASSERT_EQ(MemoryManager::GetSize(kept[j]), 1 + i % 70);
    for (size_t k = 0; k < 1 + i % 70; k++) ASSERT_EQ(kept[j][k], i & 0xFF) << i;
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before + static_cast<int64_t>(kept.size() + again.size()));

  uint8_t* small = kept[1];  // 4 bytes
  MEM_FREE(small + 1);
  MEM_FREE(small + 16);
  MEM_FREE(small - 8);
  EXPECT_EQ(MemoryManager::GetSize(small + 16), 0u);
  EXPECT_EQ(capture.lines, 3);
  EXPECT_EQ(MemoryManager::GetSize(small), 4u);

  for (uint8_t* b : kept) MEM_FREE(b);
  for (uint8_t* b : again) MEM_FREE(b);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
  for (uint8_t* b : kept) EXPECT_EQ(MemoryManager::GetSize(b), 0u);
  MEM_FREE(small);  // its slab may be gone by now: refused all the same
  EXPECT_EQ(capture.lines, 4);

  // Resizing across the largest small size keeps the contents.
  void* p = MEM_ALLOC(60);
  std::memset(p, 'x', 60);
  MemoryManager::SetLength(&p, 200, __FILE__, __LINE__);
  MemoryManager::SetLength(&p, 10, __FILE__, __LINE__);
  EXPECT_EQ(std::memcmp(p, "xxxxxxxxxx", 10), 0);
  EXPECT_EQ(MemoryManager::GetSize(p), 10u);
  MEM_FREE(p);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

// Large blocks are resized by the C heap, in place or moved: the contents
// stay, growth is zero-filled unless the caller asks otherwise, a moved
// block's old address is no longer ours, and the count of live blocks holds.
TEST(MemoryManager, LargeBlocksResizeThroughTheHeapAndStayKnown) {
  ConsoleCapture capture;
  int64_t before = MemoryManager::LiveBlocks();
  // Something after the block keeps it from growing where it lies, so that
  // some steps move it.
  std::vector<void*> fences;
  auto* p = static_cast<uint8_t*>(MEM_ALLOC(100));
  for (int k = 0; k < 100; k++) p[k] = static_cast<uint8_t>(k);
  size_t size = 100;
  int moved = 0;
  for (int step = 0; step < 12; step++) {
    fences.push_back(MEM_ALLOC(200));
    uint8_t* old = p;
    size_t grown = size * 2;
    bool clear = step % 2 == 0;
    p = static_cast<uint8_t*>(clear ? MEM_REALLOC(p, grown) : MEM_REALLOC_UNCLEARED(p, grown));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(MemoryManager::GetSize(p), grown);
    if (p != old) {
      ASSERT_EQ(MemoryManager::GetSize(old), 0u);
      moved++;
    }
    for (int k = 0; k < 100; k++) ASSERT_EQ(p[k], k) << step;
    if (clear)
      for (size_t k = size; k < grown; k++) ASSERT_EQ(p[k], 0) << step;
    std::memset(p + size, 0xAB, grown - size);  // dirty, for the next uncleared step
    size = grown;
    ASSERT_EQ(MemoryManager::LiveBlocks(), before + 1 + static_cast<int64_t>(fences.size()));
  }
  EXPECT_GT(moved, 0);
  // Shrinking keeps a large block large, or makes it a small one.
  p = static_cast<uint8_t*>(MEM_REALLOC(p, 1000));
  EXPECT_EQ(MemoryManager::GetSize(p), 1000u);
  p = static_cast<uint8_t*>(MEM_REALLOC(p, 20));
  EXPECT_EQ(MemoryManager::GetSize(p), 20u);
  for (int k = 0; k < 20; k++) EXPECT_EQ(p[k], k);
  // A missing block asked for uncleared is a new block all the same.
  void* fresh = MEM_REALLOC_UNCLEARED(nullptr, 5000);
  EXPECT_EQ(MemoryManager::GetSize(fresh), 5000u);
  // A pointer that is not ours is never resized in place by the heap.
  char local[256] = {};
  void* foreign = MEM_REALLOC(local + 16, 4000);
  EXPECT_EQ(MemoryManager::GetSize(foreign), 4000u);
  EXPECT_EQ(capture.lines, 1);  // the foreign block's free is refused
  MEM_FREE(foreign);
  MEM_FREE(fresh);
  MEM_FREE(p);
  for (void* f : fences) MEM_FREE(f);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
  EXPECT_EQ(capture.lines, 1);
}
