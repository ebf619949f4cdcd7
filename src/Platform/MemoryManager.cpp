#include "Platform/MemoryManager.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "Base/Console.h"

namespace {
// Every block starts with this header; the caller sees the bytes behind it.
struct BlockHeader {
  uint64_t size;
  uint32_t magic1;
  uint32_t magic2;
};
static_assert(sizeof(BlockHeader) == 16, "the block header is 16 bytes");

constexpr uint32_t kMagic1 = 0xDEADC0DE;
constexpr uint32_t kMagic2 = 0xBAADB00B;
// Far above any real request, and far enough below SIZE_MAX that adding the
// header can never wrap.
constexpr size_t kMaxSize = size_t(1) << 47;

// The headers of the live blocks, in an open-addressing table (linear
// probing, no allocation per block). A pointer is looked up here before its
// header is read, so a double free or a block that is not ours is caught
// without touching freed or foreign memory.
class LiveTable {
 public:
  static constexpr size_t kNone = ~size_t(0);
  // The slot holding p, else kNone.
  size_t Find(const void* p) const {
    if (slots_.empty()) return kNone;
    for (size_t i = Home(reinterpret_cast<uintptr_t>(p));; i = (i + 1) & Mask()) {
      if (slots_[i] == kEmpty) return kNone;
      if (slots_[i] == reinterpret_cast<uintptr_t>(p)) return i;
    }
  }
  void Insert(const void* p) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    size_t i = Home(reinterpret_cast<uintptr_t>(p));
    while (slots_[i] != kEmpty) i = (i + 1) & Mask();
    slots_[i] = reinterpret_cast<uintptr_t>(p);
    ++count_;
  }
  // Empties slot i, moving later entries of its run back into the hole so
  // that every entry stays reachable from its home slot without tombstones.
  void EraseAt(size_t i) {
    for (size_t j = i;;) {
      j = (j + 1) & Mask();
      if (slots_[j] == kEmpty) break;
      size_t home = Home(slots_[j]);
      if (((j - home) & Mask()) >= ((j - i) & Mask())) {
        slots_[i] = slots_[j];
        i = j;
      }
    }
    slots_[i] = kEmpty;
    --count_;
  }
  size_t Size() const { return count_; }

 private:
  static constexpr uintptr_t kEmpty = 0;  // headers are never at 0
  size_t Mask() const { return slots_.size() - 1; }
  size_t Home(uintptr_t p) const {
    uint64_t h = (static_cast<uint64_t>(p) >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> shift_);
  }
  // Doubles the table when live blocks would fill half of it.
  void Grow() {
    size_t cap = slots_.empty() ? 1024 : slots_.size() * 2;
    std::vector<uintptr_t> old;
    old.swap(slots_);
    slots_.assign(cap, kEmpty);
    shift_ = 64;
    for (size_t c = cap; c > 1; c >>= 1) --shift_;
    count_ = 0;
    for (uintptr_t v : old)
      if (v != kEmpty) Insert(reinterpret_cast<const void*>(v));
  }
  std::vector<uintptr_t> slots_;
  size_t count_ = 0;
  int shift_ = 64;
};

#if defined(__SANITIZE_ADDRESS__)
#define MEMORY_SLABS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEMORY_SLABS 0
#endif
#endif
#ifndef MEMORY_SLABS
#define MEMORY_SLABS 1
#endif

// Never destroyed: blocks may be freed by other globals' destructors at exit.
LiveTable& LiveSet() {
  static auto* live = new LiveTable();
  return *live;
}

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(BlockHeader));
}

void CheckMagic(const BlockHeader* h, const void* block) {
  if (h->magic1 != kMagic1 || h->magic2 != kMagic2) {
    Console_Printf("MemoryManager: the header of block %p was overwritten\n", block);
  }
}

// Small blocks (the texts of running code come and go by the million) are
// carved from slabs of 64 KiB, one size class of 16 bytes per slab, each
// block with its header in front. A block's slab is its address masked, a
// fixed table of slab addresses says whether the slab is ours, and a bit per
// block whether the block is live: a double free or a foreign pointer is
// caught without reading memory that is not ours, at a fraction of the cost
// of the registry of single blocks. Sanitizer builds keep no slabs, so that
// a use after free is still caught.
class Slabs {
 public:
  static constexpr size_t kLargest = MEMORY_SLABS ? 64 : 0;
  static constexpr size_t kSlabSize = size_t(1) << 16;
  static constexpr size_t kMostBlocks = kSlabSize / 32;
  static constexpr uint32_t kNoBlock = ~uint32_t(0);
  struct Slab {
    uint32_t cls;
    uint32_t stride;             // bytes from one block to the next, header included
    uint32_t reciprocal;         // 2^32 / stride rounded up: offset / stride by a multiplication
    uint32_t capacity;           // blocks the slab holds
    uint32_t fresh;              // blocks from here on were never handed out
    uint32_t free;               // the first freed block, whose body holds the next
    uint32_t used;               // live blocks
    Slab* prev;                  // in the list of slabs of the class with room
    Slab* next;
    uint64_t live[kMostBlocks / 64];  // a bit per live block
  };

  // A block of size bytes (1 to kLargest), its header filled in; null when
  // no slab can be had.
  BlockHeader* Take(size_t size) {
    size_t cls = (size - 1) / 16;
    Slab* s = partial_[cls];
    if (!s && !(s = NewSlab(cls))) return nullptr;
    uint32_t index = s->free;
    if (index != kNoBlock) s->free = *reinterpret_cast<uint32_t*>(BlockAt(s, index) + 1);
    else index = s->fresh++;
    s->live[index / 64] |= uint64_t(1) << (index % 64);
    if (s->used++ == 0) --empty_[cls];
    if (s->free == kNoBlock && s->fresh == s->capacity) Unlink(s);
    BlockHeader* h = BlockAt(s, index);
    h->size = size;
    h->magic1 = kMagic1;
    h->magic2 = kMagic2;
    return h;
  }

  // The slab of an address, null when it lies in none of ours.
  Slab* SlabOf(const void* block) const {
    uintptr_t base = reinterpret_cast<uintptr_t>(block) & ~(kSlabSize - 1);
    for (size_t i = Home(base);; i = (i + 1) & (kTable - 1)) {
      if (table_[i] == base) return reinterpret_cast<Slab*>(base);
      if (table_[i] == 0) return nullptr;
    }
  }
  // The index of the live block of slab s at address block, else kNoBlock.
  static uint32_t LiveIndex(const Slab* s, const void* block) {
    size_t offset = static_cast<size_t>(static_cast<const char*>(block) - reinterpret_cast<const char*>(s)) -
                    (kFirst + sizeof(BlockHeader));  // wraps to a huge offset before the first block
    size_t i = static_cast<size_t>((uint64_t(offset) * s->reciprocal) >> 32);
    if (offset >= kSlabSize || i * s->stride != offset || i >= s->fresh || !(s->live[i / 64] >> (i % 64) & 1))
      return kNoBlock;
    return static_cast<uint32_t>(i);
  }

  void Give(Slab* s, uint32_t index) {
    BlockHeader* h = BlockAt(s, index);
    h->magic1 = 0;
    h->magic2 = 0;
    s->live[index / 64] &= ~(uint64_t(1) << (index % 64));
    if (s->free == kNoBlock && s->fresh == s->capacity) Link(s);  // it was full
    *reinterpret_cast<uint32_t*>(h + 1) = s->free;
    s->free = index;
    // One empty slab a class is kept for the next block; more go back.
    if (--s->used == 0 && empty_[s->cls]++ > 0) Release(s);
  }

  static BlockHeader* BlockAt(Slab* s, size_t index) {
    return reinterpret_cast<BlockHeader*>(reinterpret_cast<char*>(s) + kFirst + index * s->stride);
  }
  // Counted when asked (by tests and the debugger), not on every block.
  int64_t LiveCount() const {
    int64_t count = 0;
    for (uintptr_t base : table_)
      if (base) count += reinterpret_cast<const Slab*>(base)->used;
    return count;
  }

 private:
  static constexpr size_t kClasses = 4;
  static constexpr size_t kFirst = (sizeof(Slab) + 15) & ~size_t(15);  // where the blocks start
  // Slots of the table of slabs: at most half of them used, so small blocks
  // take up to 128 MiB of slabs; beyond that they come from the C heap.
  static constexpr size_t kTable = 4096;

  static size_t Home(uintptr_t base) { return static_cast<size_t>((uint64_t(base) * 0x9E3779B97F4A7C15ull) >> 52); }
  void TableInsert(uintptr_t base) {
    size_t i = Home(base);
    while (table_[i]) i = (i + 1) & (kTable - 1);
    table_[i] = base;
  }
  void TableErase(uintptr_t base) {
    size_t i = Home(base);
    while (table_[i] != base) i = (i + 1) & (kTable - 1);
    table_[i] = 0;
    // The rest of the run is placed again, so that none is cut off from its home.
    for (i = (i + 1) & (kTable - 1); table_[i]; i = (i + 1) & (kTable - 1)) {
      uintptr_t moved = table_[i];
      table_[i] = 0;
      TableInsert(moved);
    }
  }

  // Slabs come and go rarely: kept out of line, off the paths of Take and Give.
  [[gnu::noinline]] Slab* NewSlab(size_t cls) {
    if ((slabs_ + 1) * 2 > kTable) return nullptr;
    void* memory = std::aligned_alloc(kSlabSize, kSlabSize);
    if (!memory) return nullptr;
    auto* s = new (memory) Slab{};
    s->cls = static_cast<uint32_t>(cls);
    s->stride = static_cast<uint32_t>(sizeof(BlockHeader) + (cls + 1) * 16);
    s->reciprocal = static_cast<uint32_t>(((uint64_t(1) << 32) + s->stride - 1) / s->stride);
    s->capacity = static_cast<uint32_t>((kSlabSize - kFirst) / s->stride);
    s->free = kNoBlock;
    TableInsert(reinterpret_cast<uintptr_t>(s));
    ++slabs_;
    ++empty_[cls];
    Link(s);
    return s;
  }
  [[gnu::noinline]] void Release(Slab* s) {
    --empty_[s->cls];
    Unlink(s);
    TableErase(reinterpret_cast<uintptr_t>(s));
    --slabs_;
    std::free(s);
  }
  void Link(Slab* s) {
    s->prev = nullptr;
    s->next = partial_[s->cls];
    if (s->next) s->next->prev = s;
    partial_[s->cls] = s;
  }
  void Unlink(Slab* s) {
    if (s->prev) s->prev->next = s->next;
    else partial_[s->cls] = s->next;
    if (s->next) s->next->prev = s->prev;
    s->prev = s->next = nullptr;
  }

  uintptr_t table_[kTable] = {};  // slab addresses by hash, 0 for none
  size_t slabs_ = 0;
  Slab* partial_[kClasses] = {};  // per class, the slabs with room for a block
  int empty_[kClasses] = {};      // per class, the slabs holding no live block
};
// Constant-initialised and never destroyed: blocks are taken and freed by
// other globals' constructors and destructors.
constinit Slabs g_slabs;

// The header of the live block of slab s at address block, else null;
// *index gets its index in the slab.
BlockHeader* SmallHeader(Slabs::Slab* s, const void* block, uint32_t* index) {
  *index = Slabs::LiveIndex(s, block);
  if (*index == Slabs::kNoBlock) return nullptr;
  BlockHeader* h = Slabs::BlockAt(s, *index);
  CheckMagic(h, block);
  return h;
}

// The header of a live block of ours that lies in no slab, else null;
// *slot gets its slot in the live table.
BlockHeader* SingleHeader(const void* block, size_t* slot) {
  // Compare as integers: a foreign pointer near address 0 must not wrap.
  if (reinterpret_cast<uintptr_t>(block) < sizeof(BlockHeader)) return nullptr;
  BlockHeader* h = HeaderOf(block);
  size_t at = LiveSet().Find(h);
  if (at == LiveTable::kNone) return nullptr;
  *slot = at;
  CheckMagic(h, block);
  return h;
}

// The header of any live block of ours, else null.
BlockHeader* LiveHeader(const void* block) {
  if (!block) return nullptr;
  uint32_t index;
  if (Slabs::Slab* s = g_slabs.SlabOf(block)) return SmallHeader(s, block, &index);
  size_t slot;
  return SingleHeader(block, &slot);
}

// The C heap's policy, set before its first block of ours: freed memory at
// the top of the heap is kept up to kHeapKept rather than given back to the
// system at once, as code that drops a big array often builds the next one
// soon after, and memory given back is faulted in again page by page. Blocks
// from kOwnMapping up are mappings of their own, given back when freed.
constexpr int kHeapKept = 64 << 20;
constexpr int kOwnMapping = 4 << 20;
bool SetHeapPolicy() {
  mallopt(M_MMAP_THRESHOLD, kOwnMapping);
  mallopt(M_TRIM_THRESHOLD, kHeapKept);
  return true;
}

// A block of its own from the C heap, registered in the live table.
[[gnu::noinline]] void* AllocSingle(size_t size, const char* file, int line, bool clear) {
  static const bool policy = SetHeapPolicy();
  (void)policy;
  if (size == 0) return nullptr;
  if (size > kMaxSize) {
    Console_Printf("MemoryManager: refused a block of %zu bytes (%s:%d)\n", size, file ? file : "?", line);
    return nullptr;
  }
  auto* h = static_cast<BlockHeader*>(clear ? std::calloc(1, size + sizeof(BlockHeader))
                                            : std::malloc(size + sizeof(BlockHeader)));
  if (!h) {
    Console_Printf("MemoryManager: out of memory for %zu bytes (%s:%d)\n", size, file ? file : "?", line);
    return nullptr;
  }
  h->size = size;
  h->magic1 = kMagic1;
  h->magic2 = kMagic2;
  LiveSet().Insert(h);
  return h + 1;
}

// Resizes a live single block (header h in the given slot of the live table)
// through the C heap, which extends a block where it lies when it can and
// else moves it; null, the block unchanged, when no memory can be had.
[[gnu::noinline]] void* ReAllocSingle(BlockHeader* h, size_t slot, size_t size, const char* file, int line) {
  if (size > kMaxSize) {
    Console_Printf("MemoryManager: refused a block of %zu bytes (%s:%d)\n", size, file ? file : "?", line);
    return nullptr;
  }
  // The entry goes first: a moved block's old address is freed memory.
  LiveSet().EraseAt(slot);
  auto* moved = static_cast<BlockHeader*>(std::realloc(h, size + sizeof(BlockHeader)));
  if (!moved) {
    Console_Printf("MemoryManager: out of memory for %zu bytes (%s:%d)\n", size, file ? file : "?", line);
    LiveSet().Insert(h);
    return nullptr;
  }
  moved->size = size;
  LiveSet().Insert(moved);
  return moved + 1;
}

// Frees what is not a live small block: a single block, or what is not ours
// or no longer live (logged and ignored).
[[gnu::noinline]] void FreeOther(void* block) {
  size_t slot;
  BlockHeader* h = g_slabs.SlabOf(block) ? nullptr : SingleHeader(block, &slot);
  if (!h) {
    Console_Printf("MemoryManager: ignored a free of a block that is not live (%p)\n", block);
    return;
  }
  LiveSet().EraseAt(slot);
  h->magic1 = 0;
  h->magic2 = 0;
  std::free(h);
}
}  // namespace

namespace MemoryManager {

void* Alloc(size_t size, const char* file, int line, bool clear) {
  if (size - 1 < Slabs::kLargest) {  // size 0 wraps and fails the test
    if (BlockHeader* h = g_slabs.Take(size)) {
      if (clear) std::memset(h + 1, 0, size);
      return h + 1;
    }
  }
  return AllocSingle(size, file, line, clear);
}

void Free(void* block) {
  if (!block) return;
  if (Slabs::Slab* s = g_slabs.SlabOf(block)) {
    uint32_t index;
    if (SmallHeader(s, block, &index)) {
      g_slabs.Give(s, index);
      return;
    }
  }
  FreeOther(block);
}

size_t GetSize(const void* block) {
  const BlockHeader* h = LiveHeader(block);
  return h ? static_cast<size_t>(h->size) : 0;
}

bool ResizeInPlace(void* block, size_t size) {
  if (!block || size == 0) return false;
  Slabs::Slab* s = g_slabs.SlabOf(block);
  uint32_t index;
  BlockHeader* h = s ? SmallHeader(s, block, &index) : nullptr;
  if (!h || size > s->stride - sizeof(BlockHeader)) return false;
  h->size = size;
  return true;
}

void* ReAlloc(void* block, size_t size, const char* file, int line, bool clear) {
  if (size == 0) {
    Free(block);
    return nullptr;
  }
  if (!block) return Alloc(size, file, line, clear);
  size_t old, slot;
  void* fresh;
  BlockHeader* single = g_slabs.SlabOf(block) ? nullptr : SingleHeader(block, &slot);
  if (single && size - 1 >= Slabs::kLargest) {
    // A single block that stays one: the C heap resizes it.
    old = static_cast<size_t>(single->size);
    if (old == size) return block;
    if (!(fresh = ReAllocSingle(single, slot, size, file, line))) return nullptr;
  } else {
    old = GetSize(block);
    if (old == size) return block;
    if (!(fresh = Alloc(size, file, line, false))) return nullptr;
    if (old) std::memcpy(fresh, block, old < size ? old : size);
    Free(block);
  }
  if (clear && size > old) std::memset(static_cast<char*>(fresh) + old, 0, size - old);
  return fresh;
}

void SetLength(void** ptr, size_t size, const char* file, int line) {
  void* fresh = ReAlloc(*ptr, size, file, line);
  // A refused resize keeps the old block rather than losing it.
  if (fresh || size == 0) *ptr = fresh;
}

int64_t LiveBlocks() { return static_cast<int64_t>(LiveSet().Size()) + g_slabs.LiveCount(); }

}  // namespace MemoryManager
