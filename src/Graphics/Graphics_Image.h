// Image files: decoding (PNG, JPEG, BMP, GIF with its frames) and writing
// (PNG, 24-bit BMP), and grabbing rectangles of the screen or a surface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Graphics/Graphics_Bitmap.h"

// Every frame of an image file held in memory (one for all but animated
// GIFs); false when it cannot be decoded.
bool GR_Image_Decode(const void* data, size_t size, std::vector<CBitmap32>& frames);
bool GR_Image_Load(const char* path, std::vector<CBitmap32>& frames);
// Writes ARGB pixels (rows top to bottom) as a PNG file.
bool GR_Image_SavePNG(const char* path, const uint32_t* argb, int w, int h);
// A 24-bit BMP image in memory (bottom-up rows padded to 4 bytes).
std::vector<uint8_t> GR_Image_SaveBMP(const uint32_t* argb, int w, int h);

// A new bitmap of a back-buffer rectangle, clipped to the buffer; null when
// nothing is left.
CBitmap32* Graphics_GrabScreenRect(int bufw, int bufh, int x, int y, int w, int h);
// The same for a rectangle of a texture (a surface's).
CBitmap32* Graphics_GrabSurfaceRect(int texture, int x, int y, int w, int h);
