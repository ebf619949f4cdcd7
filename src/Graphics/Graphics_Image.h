// Image files: decoding (PNG, JPEG, BMP, GIF with its frames) and writing
// (PNG, 24-bit BMP), and grabbing rectangles of the screen or a surface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_TPage.h"

// Every frame of an image file held in memory (one for all but animated
// GIFs); false when it cannot be decoded.
bool GR_Image_Decode(const void* data, size_t size, std::vector<CBitmap32>& frames);
// Decodes an image file held in memory (PNG, JPEG, BMP, GIF) into a texture;
// -1 on failure.
int GR_Texture_CreateFromImage(const void* data, size_t size);
bool GR_Image_Load(const char* path, std::vector<CBitmap32>& frames);
// The rule for images loaded with "transparent": an image without alpha
// (every pixel opaque) loses every pixel of the colour of its bottom-left one.
void GR_Image_MakeTransparent(CBitmap32& image);
// Each pixel's alpha becomes the intensity of the pixel at the same place
// of another image (stretched to this one's size).
void GR_Image_AlphaFromIntensity(CBitmap32& image, const CBitmap32& source);
// Writes ARGB pixels (rows top to bottom) as a PNG file.
bool GR_Image_SavePNG(const char* path, const uint32_t* argb, int w, int h);
// The same PNG file in memory; empty when it cannot be made.
std::vector<uint8_t> GR_Image_EncodePNG(const uint32_t* argb, int w, int h);
// A 24-bit BMP image in memory (bottom-up rows padded to 4 bytes).
std::vector<uint8_t> GR_Image_SaveBMP(const uint32_t* argb, int w, int h);

// A new bitmap of a back-buffer rectangle, clipped to the buffer; null when
// nothing is left.
CBitmap32* Graphics_GrabScreenRect(int bufw, int bufh, int x, int y, int w, int h);
// The same for a rectangle of a texture (a surface's).
CBitmap32* Graphics_GrabSurfaceRect(int texture, int x, int y, int w, int h);
// The whole frame an entry describes, read back from its page (transparent
// around the drawn part); false when it cannot be read.
bool Graphics_GrabTPage(const TPageEntry& e, CBitmap32& out);
