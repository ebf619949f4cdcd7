// The vertex batch: vertices of one kind, texture and size gathered and
// drawn with one call. Lists of the same kind, texture and size share a
// batch; strips and fans always get a batch of their own.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

// The store holds a full batch of the larger vertex.
constexpr size_t kStoreBytes = size_t(BATCH_MAX_VERTS) * VERTEX_SIZE_3D;

struct Batch {
  std::vector<unsigned char> bytes = std::vector<unsigned char>(kStoreBytes);
  int count = 0;
  int primType = 0;
  int texture = -1;
  int vertexSize = 0;
  // BATCH_MAX_VERTS, or more while the store is grown for one large request.
  size_t Capacity() const { return bytes.size() == kStoreBytes ? BATCH_MAX_VERTS : bytes.size() / size_t(vertexSize); }
};

Batch g_Batch;

bool Mergeable(int primType) {
  return primType == PR_POINTLIST || primType == PR_LINELIST || primType == PR_TRIANGLELIST;
}

void* Reserve(int primType, int texture, int vertexSize, int count) {
  if (!GR_D3D_IsReady() || count <= 0 || primType < PR_POINTLIST || primType > PR_TRIANGLEFAN) return nullptr;
  Batch& b = g_Batch;
  if (b.count > 0 && (b.primType != primType || b.texture != texture || b.vertexSize != vertexSize ||
                      !Mergeable(primType) || size_t(b.count) + size_t(count) > b.Capacity()))
    Batch_Flush();
  b.primType = primType;
  b.texture = texture;
  b.vertexSize = vertexSize;
  // A request larger than a whole batch gets a store of its size, so the
  // caller never writes past the end.
  if (size_t(count) > b.Capacity()) b.bytes.resize(std::max(kStoreBytes + 1, size_t(count) * size_t(vertexSize)));
  void* v = b.bytes.data() + size_t(b.count) * size_t(vertexSize);
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
  Device_Draw(b.primType, b.texture, b.bytes.data(), b.vertexSize, n);
  if (b.bytes.size() != kStoreBytes) {
    b.bytes.resize(kStoreBytes);
    b.bytes.shrink_to_fit();
  }
}

void Batch_Unreserve(int count) {
  if (count <= 0) return;
  g_Batch.count = count >= g_Batch.count ? 0 : g_Batch.count - count;
}
