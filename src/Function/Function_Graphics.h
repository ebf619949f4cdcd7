// What the drawing built-ins share: their registration parts and the
// argument conversions they use over and over.
#pragma once
#include <cstdint>
#include <string>

#include "Base/Convert.h"
#include "Base/RValue.h"

class CInstance;

// Each file of the drawing built-ins registers its own names.
void Function_Graphics_Sprite_Init();
void Function_Graphics_Surface_Init();
void Function_Graphics_Tile_Init();
void Function_Graphics_Display_Init();
void Function_Graphics_Draw_Init();
void Function_Graphics_Text_Init();

// A colour argument: rounded, as the unsigned word the drawing layer takes.
inline uint32_t Arg_Colour(const RValue& v) { return static_cast<uint32_t>(RValue_RoundInt(v)); }
// Narrowed to single precision, then rounded.
inline int32_t Arg_SingleRound(const RValue& v) { return Convert_RoundInt(RValue_Single(v)); }
// A colour argument of the primitives: narrowed to single precision first.
inline uint32_t Arg_ColourSingle(const RValue& v) { return static_cast<uint32_t>(Arg_SingleRound(v)); }

// The frame an instance shows: its image index rounded down (0 without one).
int Graphics_SelfImage(const CInstance* self);

// The text a text argument stands for in the text built-ins: a string as it
// is; a real as the decimal integer when it is whole, else with two decimals
// (no narrowing first, so large integers keep every digit).
std::string Graphics_ArgText(const RValue& v);

// The area tiled drawing covers: the current room, or the window without one.
void Graphics_TiledArea(float* width, float* height);
// A tiled draw only makes sense with scales above 0: anything else would
// never finish covering the area.
inline bool Graphics_TiledScaleOk(float xscale, float yscale) { return xscale > 0 && yscale > 0; }

// Cuts the rectangle (x, y, w, h) to the area (0, 0, areaW, areaH); false
// when nothing of it is left.
bool Graphics_ClipRect(int areaW, int areaH, int* x, int* y, int* w, int* h);

// Writes a rectangle of the back buffer, or the whole of it, clipped to it,
// as a 24-bit BMP file whatever the name's extension; an empty name is a
// script error.
void Graphics_ScreenSave(const RValue& name, int x, int y, int w, int h);
void Graphics_ScreenSave(const RValue& name);

class CBitmap32;
// Writes the bitmap as a 24-bit BMP file (whatever the name's extension),
// through the save folder; nothing without a bitmap.
void Graphics_WriteBMP(const char* name, const CBitmap32* bitmap);
