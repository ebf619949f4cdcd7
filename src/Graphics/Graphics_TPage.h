// A texture page entry: where one image (a sprite frame, a background, a
// font's glyph sheet) lies on a texture page, and how it sits in its frame.
#pragma once
#include <cstdint>

struct TPageEntry {
  int16_t x = 0, y = 0;                   // region on the page
  int16_t width = 0, height = 0;          // region size on the page
  int16_t xoffset = 0, yoffset = 0;       // where the region starts inside the frame
  int16_t drawWidth = 0, drawHeight = 0;  // size the region covers in the frame
  int16_t frameWidth = 0, frameHeight = 0;
  int16_t texture = -1;                   // texture id (texture table)
};

// An entry covering a whole texture of that size.
TPageEntry TPage_Whole(int texture, int width, int height);

// Pixels left between images placed on one page: each image owns the one
// beside it, which TPage_Extrude fills, so that filtering never reaches a
// neighbour.
constexpr int kTPageGap = 2;

// Copies the edge pixels of the width x height image at (x, y) on a page of
// 4-byte pixels, pageWidth x pageHeight, rows one after another, into the
// ring of pixels around it (edge rows above and below, edge columns left and
// right, corner pixels at the corners), leaving out what falls off the page:
// a sample that lands on the image's edge then reads the image, not what lies
// beside it. The texture's clamped addressing does the same at the page's
// own edges.
void TPage_Extrude(void* page, int pageWidth, int pageHeight, int x, int y, int width, int height);
