// The memory manager: every heap block other than class objects comes from
// here, tagged with the caller's source file and line. Each block carries a
// 16-byte header (64-bit size, 0xDEADC0DE, 0xBAADB00B); the live blocks are
// also kept in a registry, so a double free or a foreign pointer is logged
// and ignored without reading memory that is not ours.
#pragma once
#include <cstddef>
#include <cstdint>

namespace MemoryManager {
// A new block of size bytes (zero-filled when clear is set); size 0 gives none.
void* Alloc(size_t size, const char* file, int line, bool clear = false);
// Frees a block; none is ignored; a block freed twice or not ours is logged.
void Free(void* block);
// The size the block was allocated with (0 for none or a foreign block).
size_t GetSize(const void* block);
// A block of the new size holding the old contents up to the smaller size,
// the grown part zero-filled unless clear is false (then its bytes are left
// as they come); size 0 frees the block and gives none. When the new block
// cannot be had, gives none and the old block stays as it was. A large block
// grows through the C heap, which may extend it where it lies.
void* ReAlloc(void* block, size_t size, const char* file, int line, bool clear = true);
// Makes a live block size bytes long where it lies when its room allows (a
// small block within its size class), keeping the contents up to the smaller
// size; false, the block unchanged, otherwise.
bool ResizeInPlace(void* block, size_t size);
// Resizes *ptr through ReAlloc (a missing block gives a new zero-filled one,
// the same size gives the block back); a refused resize leaves *ptr as it was.
void SetLength(void** ptr, size_t size, const char* file, int line);
// Blocks currently allocated (for tests and the debugger).
int64_t LiveBlocks();
}  // namespace MemoryManager

#define MEM_ALLOC(size) MemoryManager::Alloc((size), __FILE__, __LINE__, false)
#define MEM_ALLOC_CLEAR(size) MemoryManager::Alloc((size), __FILE__, __LINE__, true)
#define MEM_REALLOC(block, size) MemoryManager::ReAlloc((block), (size), __FILE__, __LINE__)
#define MEM_REALLOC_UNCLEARED(block, size) MemoryManager::ReAlloc((block), (size), __FILE__, __LINE__, false)
#define MEM_FREE(block) MemoryManager::Free(block)
