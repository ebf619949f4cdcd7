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
// A font of a typeface: the glyphs of the nearest installed face (built-in
// glyphs when no face can be loaded). Result the new index.
int Font_Add(const char* typeface, int size, bool bold, bool italic, int first, int last);
bool Font_Replace(int index, const char* typeface, int size, bool bold, bool italic, int first, int last);
// A font from a sprite's images, one character each: from `first` on, or
// the characters of a text in image order. Proportional glyphs are cut to
// their solid columns; sep is added to every advance. -1 / false on failure.
int Font_AddSprite(int sprite, int first, bool proportional, int sep);
int Font_AddSpriteExt(int sprite, const char* chars, bool proportional, int sep);
bool Font_ReplaceSprite(int index, int sprite, int first, bool proportional, int sep);
bool Font_ReplaceSpriteExt(int index, int sprite, const char* chars, bool proportional, int sep);
// The built-in font, used when the current font does not exist or has no
// glyphs of its own (then enlarged to about its size).
CFontCW* Font_Default();
void Font_FreeDefault();  // before the device goes
// The eight rows of a built-in glyph, top first, bit 0 the leftmost pixel;
// null outside 32 to 126.
const uint8_t* Font_DefaultGlyphRows(uint32_t c);

// Each Text_Draw and Text_DrawTransformed is timed as a "Text" section by
// the profiler that start-up installs here.
void Text_SetProfiler(void (*begin)(const char* name, uint32_t colour), void (*end)());

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
