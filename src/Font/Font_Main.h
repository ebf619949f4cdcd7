// The font table and text drawing in the current font, colour, alpha and
// alignment. "#" breaks a line ("\#" is a literal "#"), as do CR and LF.
#pragma once
#include <cstdint>

#include "Font/Font_Class.h"

bool Font_Exists(int index);
CFontCW* Font_Get(int index);  // null for a bad index
const char* Font_GetName(int index);  // "<undefined>" for a bad index
int Font_Count();
int Font_Append(CFontCW* font, const char* name);
bool Font_Delete(int index);
void Font_FreeAll();
// The built-in font used when the current font does not exist.
CFontCW* Font_Default();
void Font_FreeDefault();  // before the device goes

void Text_SetFont(int index);
int Text_GetFont();
void Text_SetHAlign(int align);  // 0 left, 1 centre, 2 right
void Text_SetVAlign(int align);  // 0 top, 1 middle, 2 bottom
int Text_GetHAlign();
int Text_GetVAlign();

// sep: line separation (negative: the height of "M"); width: wrap width
// (negative: no wrapping).
int Text_Width(const char* text, int sep, int width);
int Text_Height(const char* text, int sep, int width);
void Text_Draw(float x, float y, const char* text, int sep, int width);
void Text_DrawTransformed(float x, float y, const char* text, int sep, int width,
                          float xscale, float yscale, float angle);
void Text_DrawColor(float x, float y, const char* text, int sep, int width, uint32_t c1,
                    uint32_t c2, uint32_t c3, uint32_t c4, float alpha);
void Text_DrawTransformedColor(float x, float y, const char* text, int sep, int width,
                               float xscale, float yscale, float angle, uint32_t c1,
                               uint32_t c2, uint32_t c3, uint32_t c4, float alpha);
