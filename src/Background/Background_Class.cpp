#include "Background/Background_Class.h"

#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Texture.h"

CBackground::~CBackground() { GR_Texture_Free(ownTexture); }

bool CBackground::SetFromBitmap(CBitmap32&& image) {
  if (image.width < 1 || image.height < 1 || image.width > 16384 || image.height > 16384) return false;
  int t = GR_Texture_Create(image.width, image.height, image.pixels.data());
  if (t < 0) return false;
  GR_Texture_Free(ownTexture);
  ownTexture = t;
  width = image.width;
  height = image.height;
  tpe = TPage_Whole(t, width, height);
  bitmap = std::move(image);
  return true;
}

void CBackground::Draw(float x, float y) const {
  if (HasImage()) GR_TPage_Draw(&tpe, 0, 0, x, y, 1, 1, 0, 0xFFFFFF, GR_GetAlpha());
}

void CBackground::DrawExt(float x, float y, float xscale, float yscale, float angle, uint32_t colour, float alpha) const {
  if (HasImage()) GR_TPage_Draw(&tpe, 0, 0, x, y, xscale, yscale, angle, colour, alpha);
}

void CBackground::DrawPart(float left, float top, float w, float h, float x, float y, float xscale, float yscale,
                           uint32_t colour, float alpha) const {
  if (HasImage()) GR_TPage_DrawPart(&tpe, left, top, w, h, x, y, xscale, yscale, colour, alpha);
}

void CBackground::DrawGeneral(float left, float top, float w, float h, float x, float y, float xscale,
                              float yscale, float angle, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4,
                              float alpha) const {
  if (HasImage()) GR_TPage_DrawGeneral(&tpe, left, top, w, h, x, y, xscale, yscale, angle, c1, c2, c3, c4, alpha);
}

void CBackground::DrawStretched(float x, float y, float w, float h, uint32_t colour, float alpha) const {
  if (HasImage() && width > 0 && height > 0)
    GR_TPage_Draw(&tpe, 0, 0, x, y, w / float(width), h / float(height), 0, colour, alpha);
}

void CBackground::DrawTiled(float x, float y, float xscale, float yscale, bool htiled, bool vtiled,
                            float areaLeft, float areaTop, float areaWidth, float areaHeight, uint32_t colour,
                            float alpha) const {
  if (HasImage())
    GR_TPage_DrawTiled(&tpe, 0, 0, x, y, xscale, yscale, htiled, vtiled, areaLeft, areaTop, areaWidth, areaHeight,
                       colour, alpha);
}
