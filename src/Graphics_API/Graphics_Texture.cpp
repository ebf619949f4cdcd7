#include "Graphics_API/Graphics_Texture.h"

#include <vector>

#include "Base/Console.h"

#include "Graphics_API/Graphics_Device.h"

namespace {

std::vector<GRTexture> g_Textures;

struct TextureOwner {
  void (*release)();
  bool onFlush;
};
// Built on first use: owners register from static initialisers.
std::vector<TextureOwner>& Owners() {
  static std::vector<TextureOwner> owners;
  return owners;
}

int NewSlot() {
  for (size_t i = 0; i < g_Textures.size(); i++)
    if (!g_Textures[i].used) return int(i);
  g_Textures.emplace_back();
  return int(g_Textures.size() - 1);
}

int Make(int width, int height, const uint32_t* argb, bool target) {
  GRTexture t;
  if (!Device_Texture_Create(width, height, argb, target, &t.glTexture, &t.glTarget)) return -1;
  t.width = t.imageWidth = width;
  t.height = t.imageHeight = height;
  t.oneOverWidth = 1.0f / float(width);
  t.oneOverHeight = 1.0f / float(height);
  t.used = true;
  int id = NewSlot();
  g_Textures[size_t(id)] = t;
  return id;
}

}  // namespace

int GR_Texture_Create(int width, int height, const uint32_t* argb) { return Make(width, height, argb, false); }

int GR_Texture_CreateTarget(int width, int height) { return Make(width, height, nullptr, true); }

void GR_Texture_Free(int id) {
  GRTexture* t = GR_Texture_Get(id);
  if (!t) return;
  Device_Texture_Free(t->glTexture, t->glTarget);
  *t = GRTexture();
}

bool GR_Texture_Exists(int id) { return GR_Texture_Get(id) != nullptr; }

GRTexture* GR_Texture_Get(int id) {
  if (id < 0 || size_t(id) >= g_Textures.size() || !g_Textures[size_t(id)].used) return nullptr;
  return &g_Textures[size_t(id)];
}

float GR_Texture_GetWidth(int id) {
  const GRTexture* t = GR_Texture_Get(id);
  return t ? float(t->imageWidth) * t->oneOverWidth : 1.0f;
}

float GR_Texture_GetHeight(int id) {
  const GRTexture* t = GR_Texture_Get(id);
  return t ? float(t->imageHeight) * t->oneOverHeight : 1.0f;
}

// The device keeps every texture resident; there is nothing to load early
// and no priority to keep.
void GR_Texture_Preload(int) {}
void GR_Texture_SetPriority(int, int) {}

bool GR_Texture_AddOwner(void (*release)(), bool releaseOnFlush) {
  for (const TextureOwner& o : Owners())
    if (o.release == release) return true;
  Owners().push_back({release, releaseOnFlush});
  return true;
}

void GR_Texture_Flush() {
  Batch_Flush();
  for (const TextureOwner& o : Owners())
    if (o.onFlush) o.release();
}

void GR_Texture_FreeAll() {
  for (const TextureOwner& o : Owners()) o.release();
  for (size_t i = 0; i < g_Textures.size(); i++) {
#ifndef NDEBUG
    if (g_Textures[i].used)
      g_Console.Output("Texture %d (%dx%d) is still held at exit\n", int(i), g_Textures[i].width, g_Textures[i].height);
#endif
    GR_Texture_Free(int(i));
  }
  g_Textures.clear();
}
