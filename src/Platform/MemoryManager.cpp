#include "Platform/MemoryManager.h"

#include <cstdlib>
#include <cstring>
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
#define MEMORY_KEEP_SMALL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEMORY_KEEP_SMALL 0
#endif
#endif
#ifndef MEMORY_KEEP_SMALL
#define MEMORY_KEEP_SMALL 1
#endif

// Freed small blocks (the texts of running code come and go by the million)
// are kept for reuse in lists by size class of 16 bytes, a bounded number
// each, rather than handed back to the C heap. Sanitizer builds keep none,
// so that a use after free is still caught.
class SmallBlocks {
 public:
  static constexpr size_t kLargest = 64;
  // The class of a block of size bytes (size at most kLargest).
  static size_t ClassOf(size_t size) { return (size - 1) / 16; }
  static size_t Capacity(size_t cls) { return (cls + 1) * 16; }
  BlockHeader* Take(size_t cls) {
    Link* l = free_[cls];
    if (!l) return nullptr;
    free_[cls] = l->next;
    --count_[cls];
    return reinterpret_cast<BlockHeader*>(l);
  }
  // True when the block was kept.
  bool Keep(BlockHeader* h, size_t cls) {
    if (!MEMORY_KEEP_SMALL || count_[cls] >= kKept) return false;
    auto* l = reinterpret_cast<Link*>(h);
    l->next = free_[cls];
    free_[cls] = l;
    ++count_[cls];
    return true;
  }

 private:
  static constexpr size_t kKept = 1024;
  struct Link {
    Link* next;
  };
  Link* free_[kLargest / 16] = {};
  size_t count_[kLargest / 16] = {};
};
SmallBlocks g_small;

// Never destroyed: blocks may be freed by other globals' destructors at exit.
LiveTable& LiveSet() {
  static auto* live = new LiveTable();
  return *live;
}

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(BlockHeader));
}

// The header of a live block of ours, else null; *slot gets its slot in
// the live table.
BlockHeader* LiveHeader(const void* block, size_t* slot = nullptr) {
  if (!block) return nullptr;
  // Compare as integers: a foreign pointer near address 0 must not wrap.
  if (reinterpret_cast<uintptr_t>(block) < sizeof(BlockHeader)) return nullptr;
  BlockHeader* h = HeaderOf(block);
  size_t at = LiveSet().Find(h);
  if (at == LiveTable::kNone) return nullptr;
  if (slot) *slot = at;
  if (h->magic1 != kMagic1 || h->magic2 != kMagic2) {
    Console_Printf("MemoryManager: the header of block %p was overwritten\n", block);
  }
  return h;
}
}  // namespace

namespace MemoryManager {

void* Alloc(size_t size, const char* file, int line, bool clear) {
  if (size == 0) return nullptr;
  if (size > kMaxSize) {
    Console_Printf("MemoryManager: refused a block of %zu bytes (%s:%d)\n", size, file ? file : "?", line);
    return nullptr;
  }
  BlockHeader* h;
  if (size <= SmallBlocks::kLargest) {
    size_t cls = SmallBlocks::ClassOf(size);
    h = g_small.Take(cls);
    if (!h) h = static_cast<BlockHeader*>(std::malloc(SmallBlocks::Capacity(cls) + sizeof(BlockHeader)));
    if (h && clear) std::memset(h + 1, 0, size);
  } else {
    h = static_cast<BlockHeader*>(clear ? std::calloc(1, size + sizeof(BlockHeader))
                                        : std::malloc(size + sizeof(BlockHeader)));
  }
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

void Free(void* block) {
  if (!block) return;
  size_t slot;
  BlockHeader* h = LiveHeader(block, &slot);
  if (!h) {
    Console_Printf("MemoryManager: ignored a free of a block that is not live (%p)\n", block);
    return;
  }
  LiveSet().EraseAt(slot);
  h->magic1 = 0;
  h->magic2 = 0;
  if (h->size <= SmallBlocks::kLargest && g_small.Keep(h, SmallBlocks::ClassOf(h->size))) return;
  std::free(h);
}

size_t GetSize(const void* block) {
  const BlockHeader* h = LiveHeader(block);
  return h ? static_cast<size_t>(h->size) : 0;
}

void* ReAlloc(void* block, size_t size, const char* file, int line) {
  if (size == 0) {
    Free(block);
    return nullptr;
  }
  if (!block) return Alloc(size, file, line, true);
  size_t old = GetSize(block);
  if (old == size) return block;
  void* fresh = Alloc(size, file, line, false);
  if (!fresh) return nullptr;
  size_t keep = old < size ? old : size;
  if (keep) std::memcpy(fresh, block, keep);
  if (size > keep) std::memset(static_cast<char*>(fresh) + keep, 0, size - keep);
  Free(block);
  return fresh;
}

void SetLength(void** ptr, size_t size, const char* file, int line) {
  void* fresh = ReAlloc(*ptr, size, file, line);
  // A refused resize keeps the old block rather than losing it.
  if (fresh || size == 0) *ptr = fresh;
}

int64_t LiveBlocks() { return static_cast<int64_t>(LiveSet().Size()); }

}  // namespace MemoryManager
