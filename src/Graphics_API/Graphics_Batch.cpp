// The vertex batch: vertices of one kind and size gathered and drawn with
// one call. Lists of the same kind and size share a batch, textured ones
// from up to BATCH_MAX_PAGES textures; strips and fans always get a batch of
// their own.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

// The store holds a full batch of the larger vertex.
constexpr size_t kStoreBytes = size_t(BATCH_MAX_VERTS) * VERTEX_SIZE_3D;

struct Batch {
  std::vector<unsigned char> bytes = std::vector<unsigned char>(kStoreBytes);
  std::vector<uint8_t> pages = std::vector<uint8_t>(BATCH_MAX_VERTS);  // each vertex's place in textures
  int count = 0;
  int primType = 0;
  int textures[BATCH_MAX_PAGES] = {};
  int textureCount = 0;  // 0: untextured
  int vertexSize = 0;
  // BATCH_MAX_VERTS, or more while the store is grown for one large request.
  size_t Capacity() const { return bytes.size() == kStoreBytes ? BATCH_MAX_VERTS : bytes.size() / size_t(vertexSize); }
};

Batch g_Batch;

bool Mergeable(int primType) {
  return primType == PR_POINTLIST || primType == PR_LINELIST || primType == PR_TRIANGLELIST;
}

// The texture's place among the open batch's pages, joining it when there
// is room; -1 when it cannot join. A texture id that names no texture draws
// untextured, as the device would draw it.
int PageOf(Batch& b, int texture) {
  if (texture < 0) return b.textureCount == 0 ? 0 : -1;
  if (b.textureCount == 0) return -1;
  for (int i = 0; i < b.textureCount; i++)
    if (b.textures[i] == texture) return i;
  if (b.textureCount == BATCH_MAX_PAGES) return -1;
  b.textures[b.textureCount] = texture;
  return b.textureCount++;
}

void* Reserve(int primType, int texture, int vertexSize, int count) {
  if (!GR_D3D_IsReady() || count <= 0 || primType < PR_POINTLIST || primType > PR_TRIANGLEFAN) return nullptr;
  Batch& b = g_Batch;
  if (texture >= 0 && !GR_Texture_Get(texture)) texture = -1;
  int page = -1;
  if (b.count > 0 && b.primType == primType && b.vertexSize == vertexSize && Mergeable(primType) &&
      size_t(b.count) + size_t(count) <= b.Capacity())
    page = PageOf(b, texture);
  if (page < 0) {
    Batch_Flush();
    b.primType = primType;
    b.vertexSize = vertexSize;
    b.textureCount = texture >= 0 ? 1 : 0;
    b.textures[0] = texture;
    page = 0;
  }
  // A request larger than a whole batch gets a store of its size, so the
  // caller never writes past the end.
  if (size_t(count) > b.Capacity()) {
    b.bytes.resize(std::max(kStoreBytes + 1, size_t(count) * size_t(vertexSize)));
    b.pages.resize(b.Capacity());
  }
  void* v = b.bytes.data() + size_t(b.count) * size_t(vertexSize);
  std::memset(b.pages.data() + b.count, page, size_t(count));
  b.count += count;
  return v;
}

}  // namespace

SVertex* Batch_AllocVerts(int primType, int texture, int vertexSize, int count) {
  if (vertexSize != VERTEX_SIZE_2D) {
    g_Console.Output("Vertex size %d is not supported by the batch\n", vertexSize);
    return nullptr;
  }
  return static_cast<SVertex*>(Reserve(primType, texture, vertexSize, count));
}

SVertex3D* Batch_AllocVerts3D(int primType, int texture, int count) {
  return static_cast<SVertex3D*>(Reserve(primType, texture, VERTEX_SIZE_3D, count));
}

void Batch_Flush() {
  Batch& b = g_Batch;
  if (b.count == 0) return;
  int n = b.count;
  b.count = 0;
  Device_Draw(b.primType, b.textures, b.textureCount, b.pages.data(), b.bytes.data(), b.vertexSize, n);
  if (b.bytes.size() != kStoreBytes) {
    b.bytes.resize(kStoreBytes);
    b.bytes.shrink_to_fit();
    b.pages.resize(BATCH_MAX_VERTS);
    b.pages.shrink_to_fit();
  }
}

void Batch_Unreserve(int count) {
  if (count <= 0) return;
  g_Batch.count = count >= g_Batch.count ? 0 : g_Batch.count - count;
}
