// 2D primitives and user primitives. Points and lines are moved onto the
// pixel centres, so that a point or line at integer (x, y) lights pixel
// (x, y) and a line leaves out its last pixel whatever its direction (the
// small extra keeps segments off the corners of the pixels' diamonds, where
// the rasterizer's choice depends on the direction); filled shapes cover the
// pixels whose centres lie inside them.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

constexpr float kPixel = 0.5f + 1.0f / 128;

// 2D drawing lies at the depth the 3D state gives it.
void Vert(SVertex* v, float x, float y, uint32_t argb) { *v = {x, y, D3D_GetDepth(), argb, 0, 0}; }

uint32_t Current() { return GR_ColourToARGB(GR_GetColor(), GR_GetAlpha()); }
uint32_t WithAlpha(uint32_t bgr) { return GR_ColourToARGB(bgr, GR_GetAlpha()); }

void Line(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2) {
  SVertex* v = Batch_AllocVerts(PR_LINELIST, -1, VERTEX_SIZE_2D, 2);
  if (!v) return;
  Vert(v, x1 + kPixel, y1 + kPixel, c1);
  Vert(v + 1, x2 + kPixel, y2 + kPixel, c2);
}

void Point(float x, float y, uint32_t c) {
  SVertex* v = Batch_AllocVerts(PR_POINTLIST, -1, VERTEX_SIZE_2D, 1);
  if (v) Vert(v, x + kPixel, y + kPixel, c);
}

void Triangle(float x1, float y1, float x2, float y2, float x3, float y3, uint32_t c1, uint32_t c2, uint32_t c3) {
  SVertex* v = Batch_AllocVerts(PR_TRIANGLELIST, -1, VERTEX_SIZE_2D, 3);
  if (!v) return;
  Vert(v, x1, y1, c1);
  Vert(v + 1, x2, y2, c2);
  Vert(v + 2, x3, y3, c3);
}

// A closed outline through the points; the last segment ends on the first
// point, which the line rule leaves unlit, so every corner is lit once.
void Outline(const std::vector<float>& xy, uint32_t c) {
  size_t n = xy.size() / 2;
  for (size_t i = 0; i < n; i++) {
    size_t j = (i + 1) % n;
    Line(xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], c, c);
  }
}

// A filled shape as a fan of triangles from its centre.
void Fan(float cx, float cy, const std::vector<float>& xy, uint32_t centre, uint32_t edge) {
  size_t n = xy.size() / 2;
  for (size_t i = 0; i < n; i++) {
    size_t j = (i + 1) % n;
    Triangle(cx, cy, xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], centre, edge, edge);
  }
}

std::vector<float> EllipsePoints(float cx, float cy, float rx, float ry) {
  int n = GR_GetCirclePrecision();
  std::vector<float> xy(size_t(n) * 2);
  for (int i = 0; i < n; i++) {
    double a = 2 * M_PI * i / n;
    xy[size_t(2 * i)] = cx + float(rx * std::cos(a));
    xy[size_t(2 * i + 1)] = cy + float(ry * std::sin(a));
  }
  return xy;
}

void Ellipse(float cx, float cy, float rx, float ry, uint32_t c1, uint32_t c2, bool outline) {
  std::vector<float> xy = EllipsePoints(cx, cy, rx, ry);
  if (outline) Outline(xy, c2);
  else Fan(cx, cy, xy, c1, c2);
}

void RoundRect(float x1, float y1, float x2, float y2, float rx, float ry, uint32_t c1, uint32_t c2, bool outline) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  rx = std::min(std::fabs(rx), (x2 - x1) / 2);
  ry = std::min(std::fabs(ry), (y2 - y1) / 2);
  int quarter = GR_GetCirclePrecision() / 4;
  float cxs[4] = {x2 - rx, x1 + rx, x1 + rx, x2 - rx}, cys[4] = {y2 - ry, y2 - ry, y1 + ry, y1 + ry};
  std::vector<float> xy;
  for (int k = 0; k < 4; k++)
    for (int i = 0; i <= quarter; i++) {
      double a = M_PI / 2 * (k + double(i) / quarter);
      xy.push_back(cxs[k] + float(rx * std::cos(a)));
      xy.push_back(cys[k] + float(ry * std::sin(a)));
    }
  if (outline) Outline(xy, c2);
  else Fan((x1 + x2) / 2, (y1 + y2) / 2, xy, c1, c2);
}

void Rectangle(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4, bool outline) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (outline) {
    Outline({x1, y1, x2, y1, x2, y2, x1, y2}, c1);
    return;
  }
  // Both corners are inclusive pixels.
  x2 += 1;
  y2 += 1;
  Triangle(x1, y1, x2, y1, x2, y2, c1, c2, c3);
  Triangle(x2, y2, x1, y2, x1, y1, c3, c4, c1);
}

void WideLine(float x1, float y1, float x2, float y2, float w, uint32_t c1, uint32_t c2) {
  float dx = x2 - x1, dy = y2 - y1, len = std::sqrt(dx * dx + dy * dy);
  if (len == 0) return;
  float nx = -dy / len * w / 2, ny = dx / len * w / 2;
  x1 += kPixel; y1 += kPixel; x2 += kPixel; y2 += kPixel;
  Triangle(x1 + nx, y1 + ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny, c1, c2, c2);
  Triangle(x2 - nx, y2 - ny, x1 - nx, y1 - ny, x1 + nx, y1 + ny, c2, c1, c1);
}

struct UserPrimitive {
  int kind = 0;
  int texture = -1;
  std::vector<SVertex> verts;
};

UserPrimitive g_Primitive;

}  // namespace

void GR_Draw_Point(float x, float y) { Point(x, y, Current()); }
void GR_Draw_Point_Color(float x, float y, uint32_t col) { Point(x, y, WithAlpha(col)); }
void GR_Draw_Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, Current(), Current()); }
void GR_Draw_Line_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2) {
  Line(x1, y1, x2, y2, WithAlpha(c1), WithAlpha(c2));
}
void GR_Draw_Line_Width(float x1, float y1, float x2, float y2, float w) {
  WideLine(x1, y1, x2, y2, w, Current(), Current());
}
void GR_Draw_Line_Width_Color(float x1, float y1, float x2, float y2, float w, uint32_t c1, uint32_t c2) {
  WideLine(x1, y1, x2, y2, w, WithAlpha(c1), WithAlpha(c2));
}

void GR_Draw_Rectangle(float x1, float y1, float x2, float y2, bool outline) {
  uint32_t c = Current();
  Rectangle(x1, y1, x2, y2, c, c, c, c, outline);
}

void GR_Draw_Rectangle_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2,
                             uint32_t c3, uint32_t c4, bool outline) {
  Rectangle(x1, y1, x2, y2, WithAlpha(c1), WithAlpha(c2), WithAlpha(c3), WithAlpha(c4), outline);
}

void GR_Draw_RoundRect(float x1, float y1, float x2, float y2, float rx, float ry, bool outline) {
  RoundRect(x1, y1, x2, y2, rx, ry, Current(), Current(), outline);
}

void GR_Draw_RoundRect_Color(float x1, float y1, float x2, float y2, float rx, float ry,
                             uint32_t c1, uint32_t c2, bool outline) {
  RoundRect(x1, y1, x2, y2, rx, ry, WithAlpha(c1), WithAlpha(c2), outline);
}

void GR_Draw_Triangle(float x1, float y1, float x2, float y2, float x3, float y3, bool outline) {
  GR_Draw_Triangle_Color(x1, y1, x2, y2, x3, y3, GR_GetColor(), GR_GetColor(), GR_GetColor(), outline);
}

void GR_Draw_Triangle_Color(float x1, float y1, float x2, float y2, float x3, float y3,
                            uint32_t c1, uint32_t c2, uint32_t c3, bool outline) {
  uint32_t a = WithAlpha(c1), b = WithAlpha(c2), c = WithAlpha(c3);
  if (outline) {
    Line(x1, y1, x2, y2, a, b);
    Line(x2, y2, x3, y3, b, c);
    Line(x3, y3, x1, y1, c, a);
  } else {
    Triangle(x1, y1, x2, y2, x3, y3, a, b, c);
  }
}

void GR_Draw_Circle(float x, float y, float r, bool outline) { Ellipse(x, y, r, r, Current(), Current(), outline); }

void GR_Draw_Circle_Color(float x, float y, float r, uint32_t c1, uint32_t c2, bool outline) {
  Ellipse(x, y, r, r, WithAlpha(c1), WithAlpha(c2), outline);
}

void GR_Draw_Ellipse(float x1, float y1, float x2, float y2, bool outline) {
  GR_Draw_Ellipse_Color(x1, y1, x2, y2, GR_GetColor(), GR_GetColor(), outline);
}

void GR_Draw_Ellipse_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2, bool outline) {
  Ellipse((x1 + x2) / 2, (y1 + y2) / 2, std::fabs(x2 - x1) / 2, std::fabs(y2 - y1) / 2, WithAlpha(c1),
          WithAlpha(c2), outline);
}

void GR_Draw_Arrow(float x1, float y1, float x2, float y2, float size) {
  float dx = x2 - x1, dy = y2 - y1, len = std::sqrt(dx * dx + dy * dy);
  if (len == 0) return;
  uint32_t c = Current();
  Line(x1, y1, x2, y2, c, c);
  size = std::min(size, len);
  dx /= len;
  dy /= len;
  // The head: a triangle from the tip, size long and two thirds of it wide.
  float bx = x2 - dx * size, by = y2 - dy * size, w = size / 3;
  Triangle(x2, y2, bx - dy * w, by + dx * w, bx + dy * w, by - dx * w, c, c, c);
}

void GR_Draw_Button(float x1, float y1, float x2, float y2, bool up) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  uint32_t base = GR_GetColor();
  uint32_t light = WithAlpha(Colour_Merge(base, 0xFFFFFF, 0.5f)), dark = WithAlpha(Colour_Merge(base, 0, 0.5f));
  uint32_t c = Current();
  Rectangle(x1, y1, x2, y2, c, c, c, c, false);
  uint32_t tl = up ? light : dark, br = up ? dark : light;
  for (int i = 0; i < 2; i++) {
    Rectangle(x1 + i, y1 + i, x2 - i, y1 + i, tl, tl, tl, tl, false);
    Rectangle(x1 + i, y1 + i, x1 + i, y2 - i, tl, tl, tl, tl, false);
    Rectangle(x1 + i, y2 - i, x2 - i, y2 - i, br, br, br, br, false);
    Rectangle(x2 - i, y1 + i, x2 - i, y2 - i, br, br, br, br, false);
  }
}

void GR_Draw_HealthBar(float x1, float y1, float x2, float y2, float amount, uint32_t back,
                       uint32_t minc, uint32_t midc, uint32_t maxc, int direction, bool showBack,
                       bool showBorder) {
  amount = std::clamp(amount, 0.0f, 100.0f);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (showBack) {
    uint32_t b = WithAlpha(back);
    Rectangle(x1, y1, x2, y2, b, b, b, b, false);
  }
  uint32_t col = amount < 50 ? Colour_Merge(minc, midc, amount / 50) : Colour_Merge(midc, maxc, (amount - 50) / 50);
  uint32_t c = WithAlpha(col);
  float f = amount / 100;
  float l = x1, t = y1, r = x2, b = y2;
  switch (direction) {
    case 1: l = x2 - (x2 - x1) * f; break;
    case 2: b = y1 + (y2 - y1) * f; break;
    case 3: t = y2 - (y2 - y1) * f; break;
    default: r = x1 + (x2 - x1) * f; break;
  }
  if (amount > 0) Rectangle(l, t, r, b, c, c, c, c, false);
  if (showBorder) {
    uint32_t k = WithAlpha(0);
    Rectangle(x1, y1, x2, y2, k, k, k, k, true);
  }
}

void GR_Primitive_Begin(int kind, int texture) {
  g_Primitive.kind = kind;
  g_Primitive.texture = texture;
  g_Primitive.verts.clear();
}

void GR_Primitive_Vertex(float x, float y) { GR_Primitive_Vertex_Texture_Color(x, y, 0, 0, GR_GetColor(), GR_GetAlpha()); }

void GR_Primitive_Vertex_Color(float x, float y, uint32_t col, float alpha) {
  GR_Primitive_Vertex_Texture_Color(x, y, 0, 0, col, alpha);
}

void GR_Primitive_Vertex_Texture(float x, float y, float u, float v) {
  GR_Primitive_Vertex_Texture_Color(x, y, u, v, GR_GetColor(), GR_GetAlpha());
}

void GR_Primitive_Vertex_Texture_Color(float x, float y, float u, float v, uint32_t col, float alpha) {
  g_Primitive.verts.push_back({x, y, D3D_GetDepth(), GR_ColourToARGB(col, alpha), u, v});
}

void GR_Primitive_End() {
  UserPrimitive& p = g_Primitive;
  int n = int(p.verts.size());
  int texture = GR_Texture_Exists(p.texture) ? p.texture : -1;
  if (n > 0 && p.kind >= PR_POINTLIST && p.kind <= PR_TRIANGLEFAN) {
    // Only whole primitives are drawn.
    if (p.kind == PR_LINELIST) n -= n % 2;
    if (p.kind == PR_TRIANGLELIST) n -= n % 3;
    SVertex* v = n > 0 ? Batch_AllocVerts(p.kind, texture, VERTEX_SIZE_2D, n) : nullptr;
    if (v) {
      float shift = p.kind <= PR_LINESTRIP ? kPixel : 0;
      for (int i = 0; i < n; i++) {
        v[i] = p.verts[size_t(i)];
        v[i].x += shift;
        v[i].y += shift;
      }
    }
  }
  p.verts.clear();
  p.kind = 0;
}

uint32_t GR_GetPixel(int x, int y) {
  uint32_t p = 0;
  if (x < 0 || y < 0 || x >= GR_Window_GetWidth() || y >= GR_Window_GetHeight()) return 0;
  Graphics_ReadPixels(-1, x, y, 1, 1, &p);
  return p;
}
