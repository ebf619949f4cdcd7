// The draw state and the drawing of images from texture page entries.
#include "Graphics/Graphics_Draw.h"

#include <algorithm>
#include <cmath>

#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_D3D.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

uint32_t g_Colour = 0;  // script colour (black)
float g_Alpha = 1;
int g_CirclePrecision = 24;

struct Corner {
  float x, y, u, v;
  uint32_t colour;
};

// One textured quad as two triangles: top-left, top-right, bottom-right and
// bottom-right, bottom-left, top-left.
void EmitQuad(int texture, const Corner& tl, const Corner& tr, const Corner& br, const Corner& bl) {
  SVertex* v = Batch_AllocVerts(PR_TRIANGLELIST, texture, VERTEX_SIZE_2D, 6);
  if (!v) return;
  const Corner* order[6] = {&tl, &tr, &br, &br, &bl, &tl};
  float z = D3D_GetDepth();
  for (int i = 0; i < 6; i++) v[i] = {order[i]->x, order[i]->y, z, order[i]->colour, order[i]->u, order[i]->v};
}

const GRTexture* TextureOf(const TPageEntry* tpe) {
  return tpe && tpe->drawWidth > 0 && tpe->drawHeight > 0 ? GR_Texture_Get(tpe->texture) : nullptr;
}

// The part of the frame region (fl, ft)-(fr, fb) that the entry's image
// covers, with its page coordinates; false when nothing is left.
struct Crop {
  float l, t, r, b;      // frame coordinates
  float u0, v0, u1, v1;  // texture coordinates
};

bool CropRegion(const TPageEntry* tpe, const GRTexture* tex, float fl, float ft, float fr, float fb, Crop* c) {
  c->l = std::max(fl, float(tpe->xoffset));
  c->t = std::max(ft, float(tpe->yoffset));
  c->r = std::min(fr, float(tpe->xoffset + tpe->drawWidth));
  c->b = std::min(fb, float(tpe->yoffset + tpe->drawHeight));
  if (c->r <= c->l || c->b <= c->t) return false;
  float sx = float(tpe->width) / float(tpe->drawWidth), sy = float(tpe->height) / float(tpe->drawHeight);
  c->u0 = (tpe->x + (c->l - tpe->xoffset) * sx) * tex->oneOverWidth;
  c->u1 = (tpe->x + (c->r - tpe->xoffset) * sx) * tex->oneOverWidth;
  c->v0 = (tpe->y + (c->t - tpe->yoffset) * sy) * tex->oneOverHeight;
  c->v1 = (tpe->y + (c->b - tpe->yoffset) * sy) * tex->oneOverHeight;
  return true;
}

// Places a point given relative to (x, y) after scaling, rotated
// counter-clockwise on screen by the angle whose cosine and sine are given.
void Place(float x, float y, float lx, float ly, float c, float s, float* ox, float* oy) {
  *ox = x + lx * c + ly * s;
  *oy = y - lx * s + ly * c;
}

}  // namespace

uint32_t GR_ColourToARGB(uint32_t bgr, float alpha) {
  float a = alpha * 255.0f + 0.5f;
  uint32_t ab = a <= 0 ? 0 : a >= 255 ? 255 : uint32_t(a);
  return (ab << 24) | Colour_SwapRB(bgr & 0xFFFFFF);
}

void GR_SetColor(uint32_t bgr) { g_Colour = bgr & 0xFFFFFF; }
uint32_t GR_GetColor() { return g_Colour; }
void GR_SetAlpha(float alpha) { g_Alpha = alpha; }
float GR_GetAlpha() { return g_Alpha; }

void GR_SetBlendMode(int mode) {
  static const int factors[4][2] = {{BLEND_SRCALPHA, BLEND_INVSRCALPHA},
                                    {BLEND_SRCALPHA, BLEND_ONE},
                                    {BLEND_SRCALPHA, BLEND_INVSRCCOLOR},
                                    {BLEND_ZERO, BLEND_INVSRCCOLOR}};
  if (mode < 0 || mode > 3) mode = 0;
  GR_SetBlendModeExt(factors[mode][0], factors[mode][1]);
}

void GR_SetBlendModeExt(int src, int dest) {
  if (src < BLEND_ZERO || src > BLEND_SRCALPHASAT) src = BLEND_SRCALPHA;
  if (dest < BLEND_ZERO || dest > BLEND_SRCALPHASAT) dest = BLEND_INVSRCALPHA;
  Graphics_SetRenderState(RS_SRCBLEND, uint32_t(src));
  Graphics_SetRenderState(RS_DESTBLEND, uint32_t(dest));
}

void GR_Draw_Clear(uint32_t bgr) { Graphics_Clear(GR_ColourToARGB(bgr, 1)); }
void GR_Draw_ClearAlpha(uint32_t bgr, float alpha) { Graphics_Clear(GR_ColourToARGB(bgr, alpha)); }

void GR_SetCirclePrecision(int n) {
  n = std::clamp(n, 4, 64);
  g_CirclePrecision = n - n % 4;
}

int GR_GetCirclePrecision() { return g_CirclePrecision; }

void GR_TPage_Draw(const TPageEntry* tpe, float xorig, float yorig, float x, float y, float xscale,
                   float yscale, float angle, uint32_t colour, float alpha) {
  const GRTexture* tex = TextureOf(tpe);
  Crop c;
  if (!tex || !CropRegion(tpe, tex, 0, 0, tpe->frameWidth, tpe->frameHeight, &c)) return;
  uint32_t col = GR_ColourToARGB(colour, alpha);
  float l = (c.l - xorig) * xscale, r = (c.r - xorig) * xscale;
  float t = (c.t - yorig) * yscale, b = (c.b - yorig) * yscale;
  Corner tl{0, 0, c.u0, c.v0, col}, tr{0, 0, c.u1, c.v0, col}, br{0, 0, c.u1, c.v1, col}, bl{0, 0, c.u0, c.v1, col};
  if (angle == 0) {
    tl.x = bl.x = x + l;
    tr.x = br.x = x + r;
    tl.y = tr.y = y + t;
    bl.y = br.y = y + b;
  } else {
    float a = angle * float(M_PI) / 180.0f, cs = std::cos(a), sn = std::sin(a);
    Place(x, y, l, t, cs, sn, &tl.x, &tl.y);
    Place(x, y, r, t, cs, sn, &tr.x, &tr.y);
    Place(x, y, r, b, cs, sn, &br.x, &br.y);
    Place(x, y, l, b, cs, sn, &bl.x, &bl.y);
  }
  EmitQuad(tpe->texture, tl, tr, br, bl);
}

void GR_TPage_DrawPos(const TPageEntry* tpe, float x1, float y1, float x2, float y2, float x3,
                      float y3, float x4, float y4, uint32_t colour, float alpha) {
  const GRTexture* tex = TextureOf(tpe);
  Crop c;
  if (!tex || !CropRegion(tpe, tex, 0, 0, tpe->frameWidth, tpe->frameHeight, &c)) return;
  uint32_t col = GR_ColourToARGB(colour, alpha);
  // The cropped image's corners, interpolated inside the four given points
  // (top-left, top-right, bottom-right, bottom-left).
  auto at = [&](float fx, float fy, float* ox, float* oy) {
    float tx = fx / tpe->frameWidth, ty = fy / tpe->frameHeight;
    float topX = x1 + (x2 - x1) * tx, topY = y1 + (y2 - y1) * tx;
    float botX = x4 + (x3 - x4) * tx, botY = y4 + (y3 - y4) * tx;
    *ox = topX + (botX - topX) * ty;
    *oy = topY + (botY - topY) * ty;
  };
  Corner tl{0, 0, c.u0, c.v0, col}, tr{0, 0, c.u1, c.v0, col}, br{0, 0, c.u1, c.v1, col}, bl{0, 0, c.u0, c.v1, col};
  at(c.l, c.t, &tl.x, &tl.y);
  at(c.r, c.t, &tr.x, &tr.y);
  at(c.r, c.b, &br.x, &br.y);
  at(c.l, c.b, &bl.x, &bl.y);
  EmitQuad(tpe->texture, tl, tr, br, bl);
}

void GR_TPage_DrawPart(const TPageEntry* tpe, float left, float top, float w, float h, float x,
                       float y, float xscale, float yscale, uint32_t colour, float alpha) {
  GR_TPage_DrawGeneral(tpe, left, top, w, h, x, y, xscale, yscale, 0, colour, colour, colour, colour, alpha);
}

void GR_TPage_DrawGeneral(const TPageEntry* tpe, float left, float top, float w, float h, float x,
                          float y, float xscale, float yscale, float angle, uint32_t c1,
                          uint32_t c2, uint32_t c3, uint32_t c4, float alpha) {
  const GRTexture* tex = TextureOf(tpe);
  Crop c;
  if (!tex || w <= 0 || h <= 0 || !CropRegion(tpe, tex, left, top, left + w, top + h, &c)) return;
  float l = (c.l - left) * xscale, r = (c.r - left) * xscale;
  float t = (c.t - top) * yscale, b = (c.b - top) * yscale;
  float a = angle * float(M_PI) / 180.0f, cs = std::cos(a), sn = std::sin(a);
  Corner tl{0, 0, c.u0, c.v0, GR_ColourToARGB(c1, alpha)}, tr{0, 0, c.u1, c.v0, GR_ColourToARGB(c2, alpha)};
  Corner br{0, 0, c.u1, c.v1, GR_ColourToARGB(c3, alpha)}, bl{0, 0, c.u0, c.v1, GR_ColourToARGB(c4, alpha)};
  Place(x, y, l, t, cs, sn, &tl.x, &tl.y);
  Place(x, y, r, t, cs, sn, &tr.x, &tr.y);
  Place(x, y, r, b, cs, sn, &br.x, &br.y);
  Place(x, y, l, b, cs, sn, &bl.x, &bl.y);
  EmitQuad(tpe->texture, tl, tr, br, bl);
}

void GR_TPage_DrawTiled(const TPageEntry* tpe, float xorig, float yorig, float x, float y,
                        float xscale, float yscale, bool htiled, bool vtiled, float areaLeft,
                        float areaTop, float areaWidth, float areaHeight, uint32_t colour,
                        float alpha) {
  if (!TextureOf(tpe)) return;
  float tw = std::fabs(tpe->frameWidth * xscale), th = std::fabs(tpe->frameHeight * yscale);
  if (!(tw >= 0.01f) || !(th >= 0.01f)) return;
  // The on-screen left and top of the copy anchored at (x, y).
  float left = x - xorig * xscale - (xscale < 0 ? tw : 0);
  float top = y - yorig * yscale - (yscale < 0 ? th : 0);
  int nx = 1, ny = 1;
  if (htiled) {
    left -= std::ceil((left - areaLeft) / tw) * tw;
    nx = int(std::ceil((areaLeft + areaWidth - left) / tw));
  }
  if (vtiled) {
    top -= std::ceil((top - areaTop) / th) * th;
    ny = int(std::ceil((areaTop + areaHeight - top) / th));
  }
  // A pathological scale must not stall the frame.
  if (nx <= 0 || ny <= 0 || double(nx) * double(ny) > 4.0e6) return;
  for (int j = 0; j < ny; j++)
    for (int i = 0; i < nx; i++)
      GR_TPage_Draw(tpe, 0, 0, left + i * tw + (xscale < 0 ? tw : 0), top + j * th + (yscale < 0 ? th : 0),
                    xscale, yscale, 0, colour, alpha);
}

TPageEntry TPage_Whole(int texture, int width, int height) {
  TPageEntry e;
  e.width = e.drawWidth = e.frameWidth = int16_t(width);
  e.height = e.drawHeight = e.frameHeight = int16_t(height);
  e.texture = int16_t(texture);
  return e;
}
