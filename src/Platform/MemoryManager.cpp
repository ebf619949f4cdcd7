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
  bool Contains(const void* p) const {
    if (slots_.empty()) return false;
    for (size_t i = Home(p);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i] == kEmpty) return false;
      if (slots_[i] == reinterpret_cast<uintptr_t>(p)) return true;
    }
  }
  void Insert(const void* p) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash();
    size_t i = Home(p);
    while (slots_[i] != kEmpty && slots_[i] != kGone) i = (i + 1) & (slots_.size() - 1);
    if (slots_[i] == kEmpty) ++used_;
    slots_[i] = reinterpret_cast<uintptr_t>(p);
    ++count_;
  }
  void Erase(const void* p) {
    if (slots_.empty()) return;
    for (size_t i = Home(p);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i] == kEmpty) return;
      if (slots_[i] == reinterpret_cast<uintptr_t>(p)) {
        slots_[i] = kGone;
        --count_;
        return;
      }
    }
  }
  size_t Size() const { return count_; }

 private:
  static constexpr uintptr_t kEmpty = 0, kGone = 1;  // headers are never at 0 or 1
  size_t Home(const void* p) const {
    uint64_t h = (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)) >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> shift_);
  }
  // Grows when live blocks fill a quarter of the table, else only sweeps the
  // slots of freed blocks.
  void Rehash() {
    size_t cap = slots_.empty() ? 1024 : (count_ * 4 >= slots_.size() ? slots_.size() * 2 : slots_.size());
    std::vector<uintptr_t> old;
    old.swap(slots_);
    slots_.assign(cap, kEmpty);
    shift_ = 64;
    for (size_t c = cap; c > 1; c >>= 1) --shift_;
    used_ = count_ = 0;
    for (uintptr_t v : old)
      if (v != kEmpty && v != kGone) Insert(reinterpret_cast<const void*>(v));
  }
  std::vector<uintptr_t> slots_;
  size_t count_ = 0, used_ = 0;  // used_ counts the slots of freed blocks too
  int shift_ = 64;
};

// Never destroyed: blocks may be freed by other globals' destructors at exit.
LiveTable& LiveSet() {
  static auto* live = new LiveTable();
  return *live;
}

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(BlockHeader));
}

// The header of a live block of ours, else null.
BlockHeader* LiveHeader(const void* block) {
  if (!block) return nullptr;
  // Compare as integers: a foreign pointer near address 0 must not wrap.
  if (reinterpret_cast<uintptr_t>(block) < sizeof(BlockHeader)) return nullptr;
  BlockHeader* h = HeaderOf(block);
  if (!LiveSet().Contains(h)) return nullptr;
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

void Free(void* block) {
  if (!block) return;
  BlockHeader* h = LiveHeader(block);
  if (!h) {
    Console_Printf("MemoryManager: ignored a free of a block that is not live (%p)\n", block);
    return;
  }
  LiveSet().Erase(h);
  h->magic1 = 0;
  h->magic2 = 0;
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
