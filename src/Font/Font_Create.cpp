// Fonts made at run time: from a typeface name, or from a sprite's images.
#include <algorithm>
#include <string>
#include <vector>

#include "Base/UTF8_Main.h"
#include "Font/Font_Main.h"
#include "Font/Font_Raster.h"
#include "Graphics/Graphics_TPage.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Sprite/Sprite_Main.h"

namespace {

void Clear(CFontCW& f) {
  GR_Texture_Free(f.ownTexture);
  f.ownTexture = -1;
  f.tpe = TPageEntry();
  f.glyphs.clear();
}

// The typeface's glyphs on a sheet of the font's own; without a face the
// font keeps no glyphs and text falls back on the built-in ones.
void SetTypeface(CFontCW& f, const char* typeface, int size, bool bold, bool italic, int first, int last) {
  Clear(f);
  FontRaster raster;
  if (Font_Rasterise(typeface, size, bold, italic, first, last, raster) && !raster.glyphs.empty()) {
    int texture = GR_Texture_Create(raster.sheet.width, raster.sheet.height, raster.sheet.pixels.data());
    if (texture >= 0) {
      f.ownTexture = texture;
      f.tpe = TPage_Whole(texture, raster.sheet.width, raster.sheet.height);
      f.glyphs = std::move(raster.glyphs);
    }
  }
  f.name = typeface ? typeface : "";
  f.size = size;
  f.bold = bold;
  f.italic = italic;
  f.first = first;
  f.last = last;
}

// The glyph sheet: the images side by side, the gap between them filled
// with their edges (TPage_Extrude), wrapping to a new row when a row would
// pass the largest texture side.
bool SetFromSprite(CFontCW& f, int sprite, const std::vector<uint32_t>& codes, bool proportional, int sep) {
  const CSprite* s = Sprite_Data(sprite);
  if (!s) return false;
  std::vector<CBitmap32> images = s->AllFrameBitmaps();
  if (images.empty() || s->width < 1 || s->height < 1) return false;
  constexpr int kSide = 8192;
  int w = s->width, h = s->height, n = int(std::min(images.size(), codes.size()));
  int columns = std::max(1, std::min(n, (kSide + kTPageGap) / (w + kTPageGap))), rows = (n + columns - 1) / columns;
  if (rows * (h + kTPageGap) - kTPageGap > kSide) return false;
  CBitmap32 sheet(columns * (w + kTPageGap) - kTPageGap, rows * (h + kTPageGap) - kTPageGap);
  std::vector<FontGlyph> glyphs;
  for (int i = 0; i < n; i++) {
    const CBitmap32& img = images[size_t(i)];
    int ox = (i % columns) * (w + kTPageGap), oy = (i / columns) * (h + kTPageGap);
    int left = w, right = -1;
    for (int y = 0; y < h && y < img.height; y++)
      for (int x = 0; x < w && x < img.width; x++) {
        sheet.Row(oy + y)[ox + x] = img.Row(y)[x];
        if (img.Row(y)[x] >> 24) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    TPage_Extrude(sheet.pixels.data(), sheet.width, sheet.height, ox, oy, w, h);
    FontGlyph g;
    g.code = uint16_t(codes[size_t(i)]);
    g.x = int16_t(ox);
    g.y = int16_t(oy);
    g.w = int16_t(w);
    g.h = int16_t(h);
    if (proportional) {
      if (right < left) {
        left = 0;  // an empty image (a blank) keeps half the width
        right = w / 2 - 1;
      }
      g.x = int16_t(ox + left);
      g.w = int16_t(right - left + 1);
    }
    g.shift = int16_t(g.w + sep);
    glyphs.push_back(g);
  }
  int texture = GR_Texture_Create(sheet.width, sheet.height, sheet.pixels.data());
  if (texture < 0) return false;
  Clear(f);
  f.ownTexture = texture;
  f.tpe = TPage_Whole(texture, sheet.width, sheet.height);
  std::sort(glyphs.begin(), glyphs.end(), [](const FontGlyph& a, const FontGlyph& b) { return a.code < b.code; });
  // A character given twice keeps its first image.
  glyphs.erase(std::unique(glyphs.begin(), glyphs.end(), [](const FontGlyph& a, const FontGlyph& b) { return a.code == b.code; }),
               glyphs.end());
  f.glyphs = std::move(glyphs);
  f.size = h;
  f.first = f.glyphs.front().code;
  f.last = f.glyphs.back().code;
  return true;
}

std::vector<uint32_t> CodesFrom(int first, int count) {
  std::vector<uint32_t> codes;
  for (int i = 0; i < count && first + i <= 0xFFFF; i++) codes.push_back(uint32_t(std::max(first, 0) + i));
  return codes;
}

std::vector<uint32_t> CodesOf(const char* text) {
  std::vector<uint32_t> codes;
  for (const char* p = text ? text : ""; *p;) codes.push_back(UTF8_GetChar(p));
  return codes;
}

std::string NewName() { return "__newfont" + std::to_string(Font_Count()); }

int SpriteImages(int sprite) { return Sprite_Data(sprite) ? Sprite_Data(sprite)->numb : 0; }

int AddFromSprite(int sprite, const std::vector<uint32_t>& codes, bool proportional, int sep) {
  CFontCW* f = new CFontCW();
  if (!SetFromSprite(*f, sprite, codes, proportional, sep)) {
    delete f;
    return -1;
  }
  return Font_Append(f, NewName().c_str());
}

}  // namespace

int Font_Add(const char* typeface, int size, bool bold, bool italic, int first, int last) {
  CFontCW* f = new CFontCW();
  SetTypeface(*f, typeface, size, bold, italic, first, last);
  return Font_Append(f, NewName().c_str());
}

bool Font_Replace(int index, const char* typeface, int size, bool bold, bool italic, int first, int last) {
  CFontCW* f = Font_Get(index);
  if (!f) return false;
  SetTypeface(*f, typeface, size, bold, italic, first, last);
  return true;
}

int Font_AddSprite(int sprite, int first, bool proportional, int sep) {
  return AddFromSprite(sprite, CodesFrom(first, SpriteImages(sprite)), proportional, sep);
}

int Font_AddSpriteExt(int sprite, const char* chars, bool proportional, int sep) {
  return AddFromSprite(sprite, CodesOf(chars), proportional, sep);
}

bool Font_ReplaceSprite(int index, int sprite, int first, bool proportional, int sep) {
  CFontCW* f = Font_Get(index);
  return f && SetFromSprite(*f, sprite, CodesFrom(first, SpriteImages(sprite)), proportional, sep);
}

bool Font_ReplaceSpriteExt(int index, int sprite, const char* chars, bool proportional, int sep) {
  CFontCW* f = Font_Get(index);
  return f && SetFromSprite(*f, sprite, CodesOf(chars), proportional, sep);
}
