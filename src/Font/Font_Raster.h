// Glyphs of an installed typeface: the face nearest to a name, weight and
// slant (fontconfig) drawn with FreeType onto one sheet. Shared by the
// runner (font_add, font_replace) and the package builder (fonts without an
// image of their own).
#pragma once
#include <string>
#include <vector>

#include "Font/Font_Class.h"
#include "Graphics/Graphics_Bitmap.h"

struct FontRaster {
  // White pixels with the anti-aliased coverage as alpha. Every glyph's
  // region is one line high (the face's ascent plus descent) with the
  // character on a common baseline, so glyphs draw at the line's top.
  CBitmap32 sheet;
  std::vector<FontGlyph> glyphs;  // by code; shift = advance, offset = left bearing
  std::string file;               // the face file used
};

// Draws characters first to last (clamped to 0..65535) at size points and
// 96 dots per inch. A missing name takes the nearest installed face; a face
// without the asked weight or slant has it made up. False, with nothing in
// out, when no face can be loaded or the size is not positive.
bool Font_Rasterise(const char* typeface, int size, bool bold, bool italic, int first, int last, FontRaster& out);
