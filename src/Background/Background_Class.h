// A background image: its size and flags, its texture page entry, and its
// bitmap when it was made at run time.
#pragma once
#include <cstdint>

#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_TPage.h"

class CBackground {
 public:
  int width = 0, height = 0;
  uint8_t transparent = 0, smooth = 0, preload = 0;
  TPageEntry tpe;         // texture -1 while the background holds no image
  CBitmap32 bitmap;       // run-time images only
  int ownTexture = -1;    // the texture it made, freed with it

  CBackground() = default;
  ~CBackground();
  CBackground(const CBackground&) = delete;
  CBackground& operator=(const CBackground&) = delete;

  bool HasImage() const { return tpe.texture >= 0; }
  int GetTexture() const { return tpe.texture; }
  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  // Makes the image from an ARGB bitmap (one texture).
  bool SetFromBitmap(CBitmap32&& image);
  bool LoadFromFile(const char* path, bool transparent, bool smooth, bool preload);
  bool CreateFromBitmap(CBitmap32&& image, bool transparent, bool smooth, bool preload);
  bool CreateColor(int w, int h, uint32_t colour, bool preload);
  // Kinds: 0 left to right, 1 top to bottom, 2 rectangle and 3 ellipse
  // (colour 1 outside, colour 2 in the centre), 4 and 5 double horizontal and
  // vertical (colour 2 in the middle).
  bool CreateGradient(int w, int h, uint32_t c1, uint32_t c2, int kind, bool preload);
  // The image's pixels (read back from its page when it keeps none).
  bool GetBitmap(CBitmap32& out) const;
  bool CopyFrom(const CBackground& src);
  // Takes the intensity of another background's image as alpha.
  bool SetAlphaFromBackground(const CBackground& src);

  // Drawing; colours are script colours.
  void Draw(float x, float y) const;
  void DrawExt(float x, float y, float xscale, float yscale, float angle, uint32_t colour, float alpha) const;
  void DrawPart(float left, float top, float w, float h, float x, float y, float xscale,
                float yscale, uint32_t colour, float alpha) const;
  void DrawGeneral(float left, float top, float w, float h, float x, float y, float xscale,
                   float yscale, float angle, uint32_t c1, uint32_t c2, uint32_t c3,
                   uint32_t c4, float alpha) const;
  void DrawStretched(float x, float y, float w, float h, uint32_t colour, float alpha) const;
  void DrawTiled(float x, float y, float xscale, float yscale, bool htiled, bool vtiled,
                 float areaLeft, float areaTop, float areaWidth, float areaHeight,
                 uint32_t colour, float alpha) const;
};
