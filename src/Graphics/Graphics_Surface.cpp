// Surfaces: render-target textures in a table whose free slots are reused.
#include "Graphics/Graphics_Surface.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

struct SurfaceSlot {
  int texture = -1;
  int width = 0, height = 0;
  bool used = false;
};

std::vector<SurfaceSlot> g_Surfaces;

// The one current target and what it replaced.
struct TargetState {
  int surface = -1;
  GraphicsViewState saved;
};
TargetState g_Target;

const SurfaceSlot* Slot(int id) {
  if (id < 0 || size_t(id) >= g_Surfaces.size() || !g_Surfaces[size_t(id)].used) return nullptr;
  return &g_Surfaces[size_t(id)];
}

TPageEntry Whole(const SurfaceSlot* s) { return TPage_Whole(s->texture, s->width, s->height); }

const bool g_OwnsTextures = GR_Texture_AddOwner(Surface_DropAll, true);

}  // namespace

int Surface_Create(int w, int h) {
  // Texture page entries hold 16-bit sizes.
  if (w < 1 || h < 1 || w > 8192 || h > 8192) return -1;
  int texture = GR_Texture_CreateTarget(w, h);
  if (texture < 0) return -1;
  size_t id = 0;
  while (id < g_Surfaces.size() && g_Surfaces[id].used) id++;
  if (id == g_Surfaces.size()) g_Surfaces.emplace_back();
  g_Surfaces[id] = {texture, w, h, true};
  return int(id);
}

bool Surface_Exists(int id) { return Slot(id) != nullptr; }
int Surface_GetWidth(int id) { return Slot(id) ? Slot(id)->width : -1; }
int Surface_GetHeight(int id) { return Slot(id) ? Slot(id)->height : -1; }
int Surface_GetTexture(int id) { return Slot(id) ? Slot(id)->texture : -1; }
int Surface_GetTarget() { return g_Target.surface; }

void Surface_Free(int id) {
  if (!Slot(id)) return;
  Batch_Flush();
  if (g_Target.surface == id) Surface_ResetTarget();
  GR_Texture_Free(g_Surfaces[size_t(id)].texture);
  g_Surfaces[size_t(id)] = SurfaceSlot();
}

void Surface_DropAll() {
  for (size_t i = 0; i < g_Surfaces.size(); i++) Surface_Free(int(i));
}

bool Surface_SetTarget(int id) {
  if (!GR_D3D_IsReady()) return false;
  Batch_Flush();
  const SurfaceSlot* s = Slot(id);
  if (!s) return false;
  if (g_Target.surface == id) return true;
  if (g_Target.surface >= 0) Surface_ResetTarget();
  g_Target.saved = Graphics_SaveView();
  if (!Graphics_PushRenderTarget(s->texture)) return false;
  Graphics_SetViewPortAndView(0, 0, s->width, s->height, 0, 0, float(s->width), float(s->height), 0);
  g_Target.surface = id;
  return true;
}

bool Surface_ResetTarget() {
  if (!GR_D3D_IsReady()) return false;
  Batch_Flush();
  bool had = Graphics_PopRenderTarget();
  if (g_Target.surface >= 0) Graphics_RestoreView(g_Target.saved);
  g_Target.surface = -1;
  return had;
}

void Surface_Draw(int id, float x, float y) { Surface_Draw_Ext(id, x, y, 1, 1, 0, 0xFFFFFF, GR_GetAlpha()); }

void Surface_Draw_Ext(int id, float x, float y, float xscale, float yscale, float angle, uint32_t colour, float alpha) {
  const SurfaceSlot* s = Slot(id);
  if (!s) return;
  TPageEntry e = Whole(s);
  GR_TPage_Draw(&e, 0, 0, x, y, xscale, yscale, angle, colour, alpha);
}

void Surface_Draw_Part(int id, float left, float top, float w, float h, float x, float y,
                       float xscale, float yscale, uint32_t colour, float alpha) {
  const SurfaceSlot* s = Slot(id);
  if (!s) return;
  TPageEntry e = Whole(s);
  GR_TPage_DrawPart(&e, left, top, w, h, x, y, xscale, yscale, colour, alpha);
}

void Surface_Draw_General(int id, float left, float top, float w, float h, float x, float y,
                          float xscale, float yscale, float angle, uint32_t c1, uint32_t c2,
                          uint32_t c3, uint32_t c4, float alpha) {
  const SurfaceSlot* s = Slot(id);
  if (!s) return;
  TPageEntry e = Whole(s);
  GR_TPage_DrawGeneral(&e, left, top, w, h, x, y, xscale, yscale, angle, c1, c2, c3, c4, alpha);
}

void Surface_Draw_Stretched(int id, float x, float y, float w, float h, uint32_t colour, float alpha) {
  const SurfaceSlot* s = Slot(id);
  if (!s) return;
  TPageEntry e = Whole(s);
  GR_TPage_Draw(&e, 0, 0, x, y, w / float(s->width), h / float(s->height), 0, colour, alpha);
}

void Surface_Draw_Tiled(int id, float x, float y, float xscale, float yscale, bool htiled,
                        bool vtiled, float areaLeft, float areaTop, float areaWidth,
                        float areaHeight, uint32_t colour, float alpha) {
  const SurfaceSlot* s = Slot(id);
  if (!s) return;
  TPageEntry e = Whole(s);
  GR_TPage_DrawTiled(&e, 0, 0, x, y, xscale, yscale, htiled, vtiled, areaLeft, areaTop, areaWidth,
                     areaHeight, colour, alpha);
}

bool Surface_Copy(int dest, int x, int y, int src, int xs, int ys, int ws, int hs) {
  const SurfaceSlot* d = Slot(dest);
  const SurfaceSlot* s = Slot(src);
  if (!d || !s || dest == src) return false;
  // Clip the source rectangle, then the destination, in 64 bits: the
  // numbers come from scripts.
  int64_t sx = xs, sy = ys, dx = x, dy = y, w = ws, h = hs;
  if (sx < 0) { w += sx; dx -= sx; sx = 0; }
  if (sy < 0) { h += sy; dy -= sy; sy = 0; }
  w = std::min<int64_t>(w, s->width - sx);
  h = std::min<int64_t>(h, s->height - sy);
  if (dx < 0) { w += dx; sx -= dx; dx = 0; }
  if (dy < 0) { h += dy; sy -= dy; dy = 0; }
  w = std::min<int64_t>(w, d->width - dx);
  h = std::min<int64_t>(h, d->height - dy);
  if (w < 1 || h < 1) return false;
  xs = int(sx); ys = int(sy); x = int(dx); y = int(dy); ws = int(w); hs = int(h);
  std::vector<uint32_t> pixels(size_t(ws) * size_t(hs));
  if (!Graphics_ReadPixels(s->texture, xs, ys, ws, hs, pixels.data())) return false;
  const GRTexture* t = GR_Texture_Get(d->texture);
  Device_Texture_Update(t->glTexture, x, y, ws, hs, pixels.data());
  return true;
}
