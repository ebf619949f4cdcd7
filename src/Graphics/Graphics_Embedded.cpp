#include "Graphics/Graphics_Embedded.h"

#include "Font/Font_Main.h"
#include "Graphics/Graphics_Bitmap.h"
#include "Graphics/Graphics_TPage.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

// The debug font is laid out from the built-in 8 by 8 glyphs, one to a
// 16-pixel cell with a blank row above; each glyph is cut to its solid
// columns plus one column of spacing. The characters past 126 have no
// built-in glyph and show a box.
constexpr int kCell = 16, kColumns = EMBEDDED_FONT_WIDTH / kCell;
constexpr int kCount = EMBEDDED_FONT_LAST - EMBEDDED_FONT_FIRST + 1;
constexpr int kBlankWidth = 4;
const uint8_t kBox[8] = {0x00, 0x1F, 0x11, 0x11, 0x11, 0x11, 0x1F, 0x00};

const uint8_t* Rows(uint32_t c) {
  const uint8_t* rows = Font_DefaultGlyphRows(c);
  return rows ? rows : kBox;
}

struct GlyphTable {
  EmbeddedGlyph glyphs[kCount];
  GlyphTable() {
    for (int i = 0; i < kCount; i++) {
      const uint8_t* rows = Rows(uint32_t(EMBEDDED_FONT_FIRST + i));
      uint8_t used = 0;
      for (int y = 0; y < 8; y++) used |= rows[y];
      int left = 0, right = kBlankWidth - 2;
      if (used) {
        while (!(used & (1 << left))) left++;
        right = 7;
        while (!(used & (1 << right))) right--;
      }
      glyphs[i] = {int16_t((i % kColumns) * kCell + left), int16_t((i / kColumns) * kCell),
                   int16_t(right - left + 2), int16_t(EMBEDDED_FONT_LINE)};
    }
  }
};

const GlyphTable& Table() {
  static const GlyphTable table;
  return table;
}

}  // namespace

const EmbeddedGlyph* EmbeddedImage_FontGlyph(uint32_t c) {
  if (c < uint32_t(EMBEDDED_FONT_FIRST) || c > uint32_t(EMBEDDED_FONT_LAST)) return nullptr;
  return &Table().glyphs[c - EMBEDDED_FONT_FIRST];
}

int EmbeddedImage_CreateTexture(int index) {
  if (index != EMBEDDED_DEBUG_FONT) return -1;
  CBitmap32 sheet(EMBEDDED_FONT_WIDTH, EMBEDDED_FONT_HEIGHT);
  for (int i = 0; i < kCount; i++) {
    const uint8_t* rows = Rows(uint32_t(EMBEDDED_FONT_FIRST + i));
    int cx = (i % kColumns) * kCell, cy = (i / kColumns) * kCell + 1;
    for (int y = 0; y < 8; y++)
      for (int x = 0; x < 8; x++)
        if (rows[y] & (1 << x)) sheet.Row(cy + y)[cx + x] = 0xFFFFFFFFu;
    // The cell keeps room about the glyph for its edges.
    const EmbeddedGlyph& g = Table().glyphs[i];
    TPage_Extrude(sheet.pixels.data(), sheet.width, sheet.height, g.u, g.v, g.width, g.height);
  }
  return GR_Texture_Create(sheet.width, sheet.height, sheet.pixels.data());
}
