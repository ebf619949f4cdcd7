#include "Platform/MemoryManager.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>

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

// The headers of the live blocks. A pointer is looked up here before its
// header is read, so a double free or a block that is not ours is caught
// without touching freed or foreign memory. Never destroyed: blocks may be
// freed by other globals' destructors at exit.
std::unordered_set<const void*>& LiveSet() {
  static auto* live = new std::unordered_set<const void*>();
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
  if (!LiveSet().count(h)) return nullptr;
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
  LiveSet().insert(h);
  return h + 1;
}

void Free(void* block) {
  if (!block) return;
  BlockHeader* h = LiveHeader(block);
  if (!h) {
    Console_Printf("MemoryManager: ignored a free of a block that is not live (%p)\n", block);
    return;
  }
  LiveSet().erase(h);
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

int64_t LiveBlocks() { return static_cast<int64_t>(LiveSet().size()); }

}  // namespace MemoryManager
