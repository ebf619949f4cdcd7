// A font: its face, size, style, character range and glyphs on a texture page.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Graphics_TPage.h"

struct FontGlyph {
  uint16_t code = 0;
  int16_t x = 0, y = 0, w = 0, h = 0;  // region on the font's sheet
  int16_t shift = 0;                   // advance to the next glyph
  int16_t offset = 0;                  // horizontal offset of the image
};

class CFontCW {
 public:
  std::string name;  // typeface
  int size = 0;
  bool bold = false, italic = false;
  int first = 32, last = 127;
  TPageEntry tpe;  // the glyph sheet
  std::vector<FontGlyph> glyphs;  // sorted by code
  int ownTexture = -1;

  CFontCW() = default;
  ~CFontCW();
  CFontCW(const CFontCW&) = delete;
  CFontCW& operator=(const CFontCW&) = delete;

  const FontGlyph* Find(uint32_t code) const;  // null when the font has none
  int LineHeight() const;  // the height of "M"
  const char* GetName() const { return name.c_str(); }
  int GetSize() const { return size; }
  bool GetBold() const { return bold; }
  bool GetItalic() const { return italic; }
  int GetFirst() const { return first; }
  int GetLast() const { return last; }
};
