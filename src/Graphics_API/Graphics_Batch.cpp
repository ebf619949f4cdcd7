// The vertex batch: vertices of one kind and texture gathered and drawn
// with one call. Lists of the same kind and texture share a batch; strips
// and fans always get a batch of their own.
#include <cstddef>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

struct Batch {
  std::vector<SVertex> verts = std::vector<SVertex>(BATCH_MAX_VERTS);
  int count = 0;
  int primType = 0;
  int texture = -1;
  int vertexSize = 0;
};

Batch g_Batch;

bool Mergeable(int primType) {
  return primType == PR_POINTLIST || primType == PR_LINELIST || primType == PR_TRIANGLELIST;
}

}  // namespace

SVertex* Batch_AllocVerts(int primType, int texture, int vertexSize, int count) {
  if (!GR_D3D_IsReady() || count <= 0 || primType < PR_POINTLIST || primType > PR_TRIANGLEFAN)
    return nullptr;
  if (vertexSize != VERTEX_SIZE_2D) {
    g_Console.Output("Vertex size %d is not supported by the batch\n", vertexSize);
    return nullptr;
  }
  Batch& b = g_Batch;
  if (b.count > 0 && (b.primType != primType || b.texture != texture || b.vertexSize != vertexSize ||
                      !Mergeable(primType) || b.count + count > int(b.verts.size())))
    Batch_Flush();
  // A request larger than a whole batch gets a store of its size, so the
  // caller never writes past the end.
  if (count > int(b.verts.size())) b.verts.resize(size_t(count));
  b.primType = primType;
  b.texture = texture;
  b.vertexSize = vertexSize;
  SVertex* v = b.verts.data() + b.count;
  b.count += count;
  return v;
}

void Batch_Flush() {
  Batch& b = g_Batch;
  if (b.count == 0) return;
  int n = b.count;
  b.count = 0;
  Device_Draw(b.primType, b.texture, b.verts.data(), n);
  if (b.verts.size() > size_t(BATCH_MAX_VERTS)) {
    b.verts.resize(BATCH_MAX_VERTS);
    b.verts.shrink_to_fit();
  }
}

void Batch_Unreserve(int count) {
  if (count <= 0) return;
  g_Batch.count = count >= g_Batch.count ? 0 : g_Batch.count - count;
}
