// The texture table: a texture id indexes an entry holding the device
// texture, its size and reciprocals and a used flag. Surfaces own a texture
// that is also a render target.
//
// Whatever keeps texture ids (surfaces, the built-in font, sprites,
// backgrounds, fonts, the package's texture pages) registers as an owner
// with a release callback that lets go of all of them; the table walks the
// owners before it frees, so a slot is only reused once nobody holds it.
#pragma once
#include <cstddef>
#include <cstdint>

struct GRTexture {
  uint32_t glTexture = 0;  // device texture
  uint32_t glTarget = 0;   // framebuffer when the texture is a render target
  int width = 0, height = 0;          // texture size
  int imageWidth = 0, imageHeight = 0;
  float oneOverWidth = 1, oneOverHeight = 1;
  bool used = false;
};

// Makes a texture from ARGB pixels (rows top to bottom; null leaves it
// cleared to transparent black); the id takes the first unused slot. -1 on failure.
int GR_Texture_Create(int width, int height, const uint32_t* argb);
// Makes a texture that can also be drawn into; -1 on failure.
int GR_Texture_CreateTarget(int width, int height);
void GR_Texture_Free(int id);
bool GR_Texture_Exists(int id);
GRTexture* GR_Texture_Get(int id);  // null for an unused id
float GR_Texture_GetWidth(int id);  // image width / texture width; 1 for an unused id
float GR_Texture_GetHeight(int id);
void GR_Texture_Preload(int id);
void GR_Texture_SetPriority(int id, int priority);
// Registers an owner (once per callback). GR_Texture_Flush asks the owners
// registered with releaseOnFlush (surfaces: their contents do not survive a
// flush); GR_Texture_FreeAll asks every owner. Returns true, so that an
// owner can register from a static initialiser.
bool GR_Texture_AddOwner(void (*release)(), bool releaseOnFlush = false);
// Drops the device's hold on every texture; surface textures and their
// render targets are freed and their surface slots emptied.
void GR_Texture_Flush();
// Every owner lets go, then every texture is freed (the device is going). A
// debug build reports the textures no owner released.
void GR_Texture_FreeAll();
