// A sprite: frames as texture page entries, an origin, a bounding box with
// its mode, and (when precise) a collision mask per frame.
#pragma once
#include <cstdint>
#include <vector>

#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_TPage.h"

enum { BBOX_AUTOMATIC = 0, BBOX_FULL = 1, BBOX_MANUAL = 2 };

class CSprite {
 public:
  // The fields the game world and the built-ins read, in this order.
  int bboxMode = BBOX_AUTOMATIC;
  int bboxLeft = 0, bboxTop = 0, bboxRight = 0, bboxBottom = 0;  // inclusive
  int numb = 0;  // image count
  int width = 0, height = 0;
  int xorig = 0, yorig = 0;
  uint8_t precise = 0, transparent = 0, smooth = 0, preload = 0;

  std::vector<TPageEntry> frames;  // one per image
  // Pixels of frames made at run time (empty for package sprites that carry
  // no bitmaps); and the textures this sprite made, freed with it.
  std::vector<CBitmap32> bitmaps;
  std::vector<int> ownTextures;
  // One byte per pixel (width by height), non-zero where solid; one mask per
  // frame when precise.
  std::vector<std::vector<uint8_t>> masks;

  CSprite() = default;
  ~CSprite();
  CSprite(const CSprite&) = delete;
  CSprite& operator=(const CSprite&) = delete;

  // The frame index of a sub-image (modulo the image count, negative
  // numbers wrapped into range); -1 when the sprite has no frames.
  int Frame(int subimg) const;
  int GetTexture(int subimg) const;  // -1 when the sprite has no frames
  const TPageEntry* GetFrame(int subimg) const;

  // Frames from ARGB bitmaps of equal size (each becomes a texture); the
  // box and, when precise, the masks are rebuilt.
  bool SetFromBitmaps(std::vector<CBitmap32>&& images);
  std::vector<CBitmap32> AllFrameBitmaps() const;  // empty when one cannot be read
  // Images from a file: the frames of an animated GIF, else the picture cut
  // into imageCount images side by side. False when it cannot be read.
  bool LoadFromFile(const char* path, int imageCount, bool precise, bool transparent, bool smooth,
                    bool preload, int xorig, int yorig);
  bool LoadFromMemory(const void* data, size_t size, int imageCount, bool precise, bool transparent,
                      bool smooth, bool preload, int xorig, int yorig);
  // The same from decoded frames.
  bool SetFromImage(std::vector<CBitmap32>&& decoded, int imageCount, bool precise, bool transparent,
                    bool smooth, bool preload, int xorig, int yorig);
  // One image from a grabbed bitmap, replacing the images.
  bool CreateFromBitmap(CBitmap32&& image, bool precise, bool transparent, bool smooth, bool preload,
                        int xorig, int yorig);
  // Appends an image (placed at the top-left of a frame of the sprite's size).
  bool AddBitmap(const CBitmap32& image);
  // A copy of a frame's pixels, read back from its texture page when the
  // sprite keeps none; false when the frame does not exist or cannot be read.
  bool GetFrameBitmap(int index, CBitmap32& out) const;
  // Becomes a copy of another sprite, with textures of its own.
  bool CopyFrom(const CSprite& src);
  // Appends the images of another sprite.
  bool Merge(const CSprite& src);
  // Each image takes the intensity of the other sprite's image as alpha.
  bool SetAlphaFromSprite(const CSprite& src);
  void SetBboxMode(int mode);
  void SetBbox(int left, int top, int right, int bottom);  // honoured in manual mode
  void SetPrecise(bool on);
  void ComputeBoundingBox();  // from the mode (and the pixels when automatic)
  void CreateMask();          // masks from the bitmaps, or solid boxes without them

  // Collision queries. MaskBit tests a pixel of a frame's own image (false
  // outside it); PointHits maps a room point into the frame of an instance
  // drawn at (x, y) with that scale and angle and tests the mask there
  // (true inside the image when the sprite is not precise).
  bool MaskBit(int subimg, int px, int py) const;
  bool HasPreciseMask() const { return precise && !masks.empty(); }
  bool PointHits(int subimg, float x, float y, float xscale, float yscale, float angle,
                 float px, float py) const;
  // The precise part of the line test against an instance's bounding box:
  // the line is walked one pixel at a time along its longer axis and each
  // pixel met is tested at its centre (the instance tests straight lines as
  // rectangles).
  bool CollisionLine(float x1, float y1, float x2, float y2, int subimg, float x, float y,
                     float xscale, float yscale, float angle, int bl, int bt, int br, int bb) const;

  // Drawing; colours are script colours.
  void Draw(int subimg, float x, float y, float xscale, float yscale, float angle,
            uint32_t colour, float alpha) const;
  void DrawSimple(int subimg, float x, float y) const;
  void DrawPos(int subimg, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
               float y4, uint32_t colour, float alpha) const;
  void DrawPart(int subimg, float left, float top, float w, float h, float x, float y,
                float xscale, float yscale, uint32_t colour, float alpha) const;
  void DrawGeneral(int subimg, float left, float top, float w, float h, float x, float y,
                   float xscale, float yscale, float angle, uint32_t c1, uint32_t c2,
                   uint32_t c3, uint32_t c4, float alpha) const;
  void DrawStretched(int subimg, float x, float y, float w, float h, uint32_t colour, float alpha) const;
  void DrawTiled(int subimg, float x, float y, float xscale, float yscale, bool htiled,
                 bool vtiled, float areaLeft, float areaTop, float areaWidth, float areaHeight,
                 uint32_t colour, float alpha) const;
};
