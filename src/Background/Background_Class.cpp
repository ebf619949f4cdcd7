#include "Background/Background_Class.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Graphics_Texture.h"

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

bool CBackground::LoadFromFile(const char* path, bool transparent_, bool smooth_, bool preload_) {
  std::vector<CBitmap32> frames;
  if (!GR_Image_Load(path, frames) || frames.empty()) return false;
  return CreateFromBitmap(std::move(frames[0]), transparent_, smooth_, preload_);
}

bool CBackground::CreateFromBitmap(CBitmap32&& image, bool transparent_, bool smooth_, bool preload_) {
  if (transparent_) GR_Image_MakeTransparent(image);
  if (!SetFromBitmap(std::move(image))) return false;
  transparent = transparent_;
  smooth = smooth_;
  preload = preload_;
  return true;
}

bool CBackground::CreateColor(int w, int h, uint32_t colour, bool preload_) {
  return CreateGradient(w, h, colour, colour, 0, preload_);
}

bool CBackground::CreateGradient(int w, int h, uint32_t c1, uint32_t c2, int kind, bool preload_) {
  if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  CBitmap32 image(w, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      float fx = w > 1 ? float(x) / float(w - 1) : 0, fy = h > 1 ? float(y) / float(h - 1) : 0;
      float t;
      switch (kind) {
        case 1: t = fy; break;
        case 2: t = 1 - std::max(std::fabs(2 * fx - 1), std::fabs(2 * fy - 1)); break;
        case 3: t = 1 - std::min(1.0f, std::sqrt((2 * fx - 1) * (2 * fx - 1) + (2 * fy - 1) * (2 * fy - 1))); break;
        case 4: t = 1 - std::fabs(2 * fx - 1); break;
        case 5: t = 1 - std::fabs(2 * fy - 1); break;
        default: t = fx; break;
      }
      image.Row(y)[x] = GR_ColourToARGB(Colour_Merge(c1, c2, t), 1);
    }
  return CreateFromBitmap(std::move(image), false, false, preload_);
}

bool CBackground::GetBitmap(CBitmap32& out) const {
  if (!bitmap.pixels.empty()) {
    out = bitmap;
    return true;
  }
  return HasImage() && Graphics_GrabTPage(tpe, out);
}

bool CBackground::CopyFrom(const CBackground& src) {
  if (&src == this) return true;
  CBitmap32 image;
  if (src.HasImage()) {
    if (!src.GetBitmap(image) || !SetFromBitmap(std::move(image))) return false;
  } else {
    GR_Texture_Free(ownTexture);
    ownTexture = -1;
    tpe = TPageEntry();
    bitmap = CBitmap32();
    width = src.width;
    height = src.height;
  }
  transparent = src.transparent;
  smooth = src.smooth;
  preload = src.preload;
  return true;
}

bool CBackground::SetAlphaFromBackground(const CBackground& src) {
  CBitmap32 image, alpha;
  if (!GetBitmap(image) || !src.GetBitmap(alpha)) return false;
  GR_Image_AlphaFromIntensity(image, alpha);
  return SetFromBitmap(std::move(image));
}
