#include "Font/Font_Raster.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>

#include "Graphics/Graphics_TPage.h"

namespace {

constexpr int DPI = 96;
constexpr int SHEET_WIDTH = 2048;   // a packed page's side
constexpr int SHEET_HEIGHT = 8192;  // the largest texture side

FT_Library Library() {
  static FT_Library lib = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
  }
  return lib;
}

// The file (and face index) fontconfig finds nearest to the request;
// remembered, as matching reads the configuration.
bool MatchFace(const std::string& name, bool bold, bool italic, std::string* file, int* index) {
  static std::map<std::tuple<std::string, bool, bool>, std::pair<std::string, int>> cache;
  auto key = std::make_tuple(name, bold, italic);
  auto it = cache.find(key);
  if (it == cache.end()) {
    std::pair<std::string, int> found{"", 0};
    if (FcInit()) {
      FcPattern* pat = FcPatternCreate();
      if (!name.empty()) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
      FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
      FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
      FcConfigSubstitute(nullptr, pat, FcMatchPattern);
      FcDefaultSubstitute(pat);
      FcResult result;
      FcPattern* match = FcFontMatch(nullptr, pat, &result);
      FcChar8* path = nullptr;
      int faceIndex = 0;
      if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex);
        found = {reinterpret_cast<const char*>(path), faceIndex};
      }
      if (match) FcPatternDestroy(match);
      FcPatternDestroy(pat);
    }
    it = cache.emplace(key, found).first;
  }
  *file = it->second.first;
  *index = it->second.second;
  return !file->empty();
}

int Ceil26(FT_Pos v) { return int((v + 63) >> 6); }
int Floor26(FT_Pos v) { return int(v >> 6); }

// One rendered character before it is placed on the sheet.
struct Rendered {
  uint16_t code;
  int width, rows, left, top, advance;
  std::vector<uint8_t> coverage;  // width * rows
};

bool RenderChar(FT_Face face, uint32_t code, bool embolden, bool oblique, Rendered& out) {
  FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (oblique) FT_GlyphSlot_Oblique(slot);
  if (embolden) FT_GlyphSlot_Embolden(slot);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bm = slot->bitmap;
  out.code = uint16_t(code);
  out.width = int(bm.width);
  out.rows = int(bm.rows);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.advance = int((slot->advance.x + 32) >> 6);
  out.coverage.assign(size_t(out.width) * size_t(out.rows), 0);
  for (int y = 0; y < out.rows; y++) {
    const uint8_t* row = bm.buffer + (bm.pitch >= 0 ? y * bm.pitch : (out.rows - 1 - y) * -bm.pitch);
    std::copy(row, row + out.width, out.coverage.begin() + long(y) * out.width);
  }
  return true;
}

}  // namespace

bool Font_Rasterise(const char* typeface, int size, bool bold, bool italic, int first, int last, FontRaster& out) {
  out = FontRaster();
  FT_Library lib = Library();
  std::string file;
  int faceIndex;
  if (!lib || size <= 0 || !MatchFace(typeface ? typeface : "", bold, italic, &file, &faceIndex)) return false;
  FT_Face face;
  if (FT_New_Face(lib, file.c_str(), faceIndex, &face) != 0) return false;
  bool ok = FT_Set_Char_Size(face, 0, FT_F26Dot6(size) * 64, DPI, DPI) == 0;
  bool embolden = bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
  bool oblique = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
  int ascent = Ceil26(face->size->metrics.ascender);
  int lineHeight = std::max(1, ascent - Floor26(face->size->metrics.descender));
  first = std::max(first, 0);
  last = std::min(last, 0xFFFF);
  // Each character is placed as it is drawn, on shelves one line high
  // filled left to right, kTPageGap apart with its edges copied into its
  // side of the gap (TPage_Extrude); drawing stops as soon as the sheet
  // would pass the largest texture, so a huge size costs no more than that.
  std::vector<Rendered> chars;
  std::vector<FontGlyph> glyphs;
  int x = 0, y = 0, sheetWidth = 1;
  ok = ok && lineHeight <= SHEET_HEIGHT;
  for (int c = first; ok && c <= last; c++) {
    Rendered r;
    if (!RenderChar(face, uint32_t(c), embolden, oblique, r)) continue;
    int w = std::min(r.width, SHEET_WIDTH);
    if (x + w > SHEET_WIDTH) {
      x = 0;
      y += lineHeight + kTPageGap;
      ok = y + lineHeight <= SHEET_HEIGHT;
    }
    FontGlyph g;
    g.code = r.code;
    g.x = int16_t(x);
    g.y = int16_t(y);
    g.w = int16_t(w);
    g.h = int16_t(lineHeight);
    g.shift = int16_t(std::clamp(r.advance, -32768, 32767));
    g.offset = int16_t(std::clamp(r.left, -32768, 32767));
    glyphs.push_back(g);
    chars.push_back(std::move(r));
    x += w + (w > 0 ? kTPageGap : 0);
    sheetWidth = std::max(sheetWidth, x);
  }
  FT_Done_Face(face);
  if (!ok) return false;
  out.sheet = CBitmap32(sheetWidth, y + lineHeight);
  std::fill(out.sheet.pixels.begin(), out.sheet.pixels.end(), 0x00FFFFFFu);
  for (size_t i = 0; i < chars.size(); i++) {
    const Rendered& r = chars[i];
    const FontGlyph& g = glyphs[i];
    for (int row = 0; row < r.rows; row++) {
      int sy = ascent - r.top + row;  // rows above or below the line are cut
      if (sy < 0 || sy >= lineHeight) continue;
      uint32_t* dst = out.sheet.Row(g.y + sy) + g.x;
      const uint8_t* src = r.coverage.data() + size_t(row) * size_t(r.width);
      for (int col = 0; col < g.w; col++) dst[col] = uint32_t(src[col]) << 24 | 0xFFFFFFu;
    }
    TPage_Extrude(out.sheet.pixels.data(), out.sheet.width, out.sheet.height, g.x, g.y, g.w, g.h);
  }
  out.glyphs = std::move(glyphs);
  out.file = file;
  return true;
}
