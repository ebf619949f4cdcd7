// The 2D drawing core: the draw state (colour, alpha, blend mode), images
// from texture page entries, primitives and user primitives. Colours given
// here are script colours (BGR, red in the low byte) unless a name says ARGB.
#pragma once
#include <cstdint>

#include "Graphics/Graphics_TPage.h"

// Draw state.
void GR_SetColor(uint32_t bgr);
uint32_t GR_GetColor();
void GR_SetAlpha(float alpha);
float GR_GetAlpha();
void GR_SetBlendMode(int mode);  // 0 normal, 1 add, 2 max, 3 subtract
void GR_SetBlendModeExt(int src, int dest);  // blend factors 1..11
void GR_Draw_Clear(uint32_t bgr);            // opaque
void GR_Draw_ClearAlpha(uint32_t bgr, float alpha);
void GR_SetCirclePrecision(int n);  // clamped to 4..64, a multiple of 4
int GR_GetCirclePrecision();

// A script colour and an alpha as a vertex colour.
uint32_t GR_ColourToARGB(uint32_t bgr, float alpha);

// Images. The frame described by the entry is drawn with its origin
// (xorig, yorig) at (x, y); angle in degrees, counter-clockwise on screen.
void GR_TPage_Draw(const TPageEntry* tpe, float xorig, float yorig, float x, float y,
                   float xscale, float yscale, float angle, uint32_t colour, float alpha);
// The four corners of the frame placed at the given points.
void GR_TPage_DrawPos(const TPageEntry* tpe, float x1, float y1, float x2, float y2,
                      float x3, float y3, float x4, float y4, uint32_t colour, float alpha);
// A region (left, top, w, h) of the frame with its top-left corner at (x, y).
void GR_TPage_DrawPart(const TPageEntry* tpe, float left, float top, float w, float h, float x,
                       float y, float xscale, float yscale, uint32_t colour, float alpha);
// A region scaled and rotated about (x, y), with corner colours top-left,
// top-right, bottom-right, bottom-left.
void GR_TPage_DrawGeneral(const TPageEntry* tpe, float left, float top, float w, float h, float x,
                          float y, float xscale, float yscale, float angle, uint32_t c1,
                          uint32_t c2, uint32_t c3, uint32_t c4, float alpha);
// Copies of the frame repeated so that one lies at (x, y) (its origin at
// that point), over the area (left, top, width, height) in each tiled direction.
void GR_TPage_DrawTiled(const TPageEntry* tpe, float xorig, float yorig, float x, float y,
                        float xscale, float yscale, bool htiled, bool vtiled, float areaLeft,
                        float areaTop, float areaWidth, float areaHeight, uint32_t colour,
                        float alpha);

// Primitives in the current colour and alpha, and their _Color forms.
void GR_Draw_Point(float x, float y);
void GR_Draw_Point_Color(float x, float y, uint32_t col);
void GR_Draw_Line(float x1, float y1, float x2, float y2);
void GR_Draw_Line_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2);
void GR_Draw_Line_Width(float x1, float y1, float x2, float y2, float w);
void GR_Draw_Line_Width_Color(float x1, float y1, float x2, float y2, float w, uint32_t c1, uint32_t c2);
void GR_Draw_Rectangle(float x1, float y1, float x2, float y2, bool outline);
void GR_Draw_Rectangle_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2,
                             uint32_t c3, uint32_t c4, bool outline);
void GR_Draw_RoundRect(float x1, float y1, float x2, float y2, float rx, float ry, bool outline);
void GR_Draw_RoundRect_Color(float x1, float y1, float x2, float y2, float rx, float ry,
                             uint32_t c1, uint32_t c2, bool outline);
void GR_Draw_Triangle(float x1, float y1, float x2, float y2, float x3, float y3, bool outline);
void GR_Draw_Triangle_Color(float x1, float y1, float x2, float y2, float x3, float y3,
                            uint32_t c1, uint32_t c2, uint32_t c3, bool outline);
void GR_Draw_Circle(float x, float y, float r, bool outline);
void GR_Draw_Circle_Color(float x, float y, float r, uint32_t c1, uint32_t c2, bool outline);
void GR_Draw_Ellipse(float x1, float y1, float x2, float y2, bool outline);
void GR_Draw_Ellipse_Color(float x1, float y1, float x2, float y2, uint32_t c1, uint32_t c2, bool outline);
void GR_Draw_Arrow(float x1, float y1, float x2, float y2, float size);
void GR_Draw_Button(float x1, float y1, float x2, float y2, bool up);
void GR_Draw_HealthBar(float x1, float y1, float x2, float y2, float amount, uint32_t back,
                       uint32_t minc, uint32_t midc, uint32_t maxc, int direction, bool showBack,
                       bool showBorder);

// User primitives: kind 1..6, texture id or -1.
void GR_Primitive_Begin(int kind, int texture);
void GR_Primitive_Vertex(float x, float y);
void GR_Primitive_Vertex_Color(float x, float y, uint32_t col, float alpha);
void GR_Primitive_Vertex_Texture(float x, float y, float u, float v);
void GR_Primitive_Vertex_Texture_Color(float x, float y, float u, float v, uint32_t col, float alpha);
void GR_Primitive_End();

// The back-buffer pixel at window (x, y) as an ARGB word (0 outside).
uint32_t GR_GetPixel(int x, int y);
