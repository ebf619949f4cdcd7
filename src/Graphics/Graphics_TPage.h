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
