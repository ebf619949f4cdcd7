#include "Platform/MemoryManager.h"

#include <cstdlib>
#include <cstring>

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
constexpr uint32_t kFreed = 0xFEEEFEEE;
constexpr size_t kMaxSize = (size_t(1) << 47);

int64_t g_live = 0;

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(BlockHeader));
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
  ++g_live;
  return h + 1;
}

void Free(void* block) {
  if (!block) return;
  BlockHeader* h = HeaderOf(block);
  if (h->magic1 != kMagic1 || h->magic2 != kMagic2) {
    Console_Printf("MemoryManager: ignored a free of a block that is not live (%p)\n", block);
    return;
  }
  h->magic1 = kFreed;
  h->magic2 = kFreed;
  --g_live;
  std::free(h);
}

size_t GetSize(const void* block) {
  if (!block) return 0;
  const BlockHeader* h = HeaderOf(block);
  if (h->magic1 != kMagic1 || h->magic2 != kMagic2) return 0;
  return static_cast<size_t>(h->size);
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
  std::memcpy(fresh, block, keep);
  if (size > keep) std::memset(static_cast<char*>(fresh) + keep, 0, size - keep);
  Free(block);
  return fresh;
}

void SetLength(void** ptr, size_t size, const char* file, int line) {
  *ptr = ReAlloc(*ptr, size, file, line);
}

int64_t LiveBlocks() { return g_live; }

}  // namespace MemoryManager
