#include "Font/Font_Class.h"

#include <algorithm>

#include "Graphics_API/Graphics_Texture.h"

CFontCW::~CFontCW() { GR_Texture_Free(ownTexture); }

const FontGlyph* CFontCW::Find(uint32_t code) const {
  auto it = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                             [](const FontGlyph& g, uint32_t c) { return g.code < c; });
  return it != glyphs.end() && it->code == code ? &*it : nullptr;
}

int CFontCW::LineHeight() const {
  const FontGlyph* m = Find('M');
  if (m) return m->h;
  return glyphs.empty() ? 0 : glyphs.front().h;
}
