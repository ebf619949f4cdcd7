// The font table, the text state and text drawing.
#include "Font/Font_Main.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Base/String_Helpers.h"
#include "Base/UTF8_Main.h"
#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Draw.h"
#include "Platform/Platform_ResourceTable.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

CResourceTable<CFontCW> g_Fonts;
int g_Font = -1;
int g_HAlign = 0, g_VAlign = 0;
void (*g_ProfileBegin)(const char*, uint32_t) = nullptr;
void (*g_ProfileEnd)() = nullptr;

// Times one text drawing call as the profiler's "Text" section.
struct TextSection {
  TextSection() {
    if (g_ProfileBegin) g_ProfileBegin("Text", 0x00FFFF00u);
  }
  ~TextSection() {
    if (g_ProfileEnd) g_ProfileEnd();
  }
};

// The font text is drawn in, with a whole-number scale: a font without
// glyphs of its own is drawn with the built-in 8-pixel ones, enlarged to
// about its size.
struct TextFont {
  const CFontCW* font;
  int scale;
};

TextFont CurrentFont() {
  const CFontCW* f = g_Fonts.Get(g_Font);
  if (f && !f->glyphs.empty()) return {f, 1};
  return {Font_Default(), f ? std::max(1, (f->size + 4) / 8) : 1};
}

struct TextLine {
  std::vector<uint32_t> chars;
  int width = 0;
};

int Advance(const TextFont& f, uint32_t c) {
  const FontGlyph* g = f.font->Find(c);
  return g ? g->shift * f.scale : 0;
}

// Splits the text at "#" ("\#" is a literal "#"), CR, LF and CR LF.
std::vector<std::vector<uint32_t>> SplitLines(const char* text) {
  std::string copy = text ? text : "";
  String_HashToNewline(copy.data());
  std::vector<std::vector<uint32_t>> lines(1);
  const char* p = copy.c_str();
  while (*p) {
    uint32_t c = UTF8_GetChar(p);
    if (c == '\n' || c == '\r') {
      if (c == '\r' && *p == '\n') p++;
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

// Lines as drawn: broken at blanks so that none is wider than maxWidth
// (when maxWidth is not negative); a single word wider than that stays whole.
std::vector<TextLine> Layout(const TextFont& f, const char* text, int maxWidth) {
  std::vector<TextLine> out;
  for (const std::vector<uint32_t>& raw : SplitLines(text)) {
    TextLine line;
    for (size_t i = 0;;) {
      size_t end = i;
      while (end < raw.size() && raw[end] != ' ') end++;
      int wordWidth = 0;
      for (size_t k = i; k < end; k++) wordWidth += Advance(f, raw[k]);
      if (i > 0) {
        // The blank before this word, unless the line breaks there.
        int space = Advance(f, ' ');
        if (maxWidth >= 0 && !line.chars.empty() && line.width + space + wordWidth > maxWidth) {
          out.push_back(std::move(line));
          line = TextLine();
        } else {
          line.chars.push_back(' ');
          line.width += space;
        }
      }
      line.chars.insert(line.chars.end(), raw.begin() + long(i), raw.begin() + long(end));
      line.width += wordWidth;
      if (end >= raw.size()) break;
      i = end + 1;
    }
    out.push_back(std::move(line));
  }
  return out;
}

int Separation(const TextFont& f, int sep) { return sep < 0 ? f.font->LineHeight() * f.scale : sep; }

uint32_t Lerp(uint32_t a, uint32_t b, float t) { return Colour_Merge(a, b, std::clamp(t, 0.0f, 1.0f)); }

}  // namespace

bool Font_Exists(int index) { return g_Fonts.Get(index) != nullptr; }
CFontCW* Font_Get(int index) { return g_Fonts.Get(index); }
const char* Font_GetName(int index) { return g_Fonts.Name(index); }
int Font_Count() { return g_Fonts.Count(); }
int Font_Append(CFontCW* font, const char* name) { return g_Fonts.Append(font, name); }
bool Font_Delete(int index) { return g_Fonts.Delete(index); }
void Font_FreeAll() { g_Fonts.FreeAll(); }
// Fonts keep texture ids: they go when the textures do.
static const bool g_OwnsTextures = GR_Texture_AddOwner(Font_FreeAll);

void Text_SetProfiler(void (*begin)(const char*, uint32_t), void (*end)()) {
  g_ProfileBegin = begin;
  g_ProfileEnd = end;
}

void Text_SetFont(int index) { g_Font = index; }
int Text_GetFont() { return g_Font; }
void Text_SetHAlign(int align) { g_HAlign = align; }
void Text_SetVAlign(int align) { g_VAlign = align; }
int Text_GetHAlign() { return g_HAlign; }
int Text_GetVAlign() { return g_VAlign; }

int Text_Width(const char* text, int sep, int width) {
  TextFont f = CurrentFont();
  if (!f.font) return 0;
  int w = 0;
  for (const TextLine& l : Layout(f, text, width)) w = std::max(w, l.width);
  return w;
}

int Text_Height(const char* text, int sep, int width) {
  TextFont f = CurrentFont();
  return f.font ? int(Layout(f, text, width).size()) * Separation(f, sep) : 0;
}

void Text_Draw(float x, float y, const char* text, int sep, int width) {
  TextSection section;
  uint32_t c = GR_GetColor();
  Text_DrawTransformedColor(x, y, text, sep, width, 1, 1, 0, c, c, c, c, GR_GetAlpha());
}

void Text_DrawTransformed(float x, float y, const char* text, int sep, int width, float xscale, float yscale,
                          float angle) {
  TextSection section;
  uint32_t c = GR_GetColor();
  Text_DrawTransformedColor(x, y, text, sep, width, xscale, yscale, angle, c, c, c, c, GR_GetAlpha());
}

void Text_DrawColor(float x, float y, const char* text, int sep, int width, uint32_t c1, uint32_t c2, uint32_t c3,
                    uint32_t c4, float alpha) {
  Text_DrawTransformedColor(x, y, text, sep, width, 1, 1, 0, c1, c2, c3, c4, alpha);
}

void Text_DrawTransformedColor(float x, float y, const char* text, int sep, int width, float xscale, float yscale,
                               float angle, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4, float alpha) {
  TextFont tf = CurrentFont();
  const CFontCW* f = tf.font;
  if (!f) return;
  std::vector<TextLine> lines = Layout(tf, text, width);
  int lineHeight = Separation(tf, sep);
  int total = int(lines.size()) * lineHeight, boxWidth = 0;
  for (const TextLine& l : lines) boxWidth = std::max(boxWidth, l.width);
  float top = g_VAlign == 1 ? -float(total / 2) : g_VAlign == 2 ? -float(total) : 0;
  float a = angle * float(M_PI) / 180.0f, cs = std::cos(a), sn = std::sin(a);
  bool plain = c1 == c2 && c2 == c3 && c3 == c4;
  const int k = tf.scale;
  for (size_t i = 0; i < lines.size(); i++) {
    const TextLine& line = lines[i];
    float lx = g_HAlign == 1 ? -float(line.width / 2) : g_HAlign == 2 ? -float(line.width) : 0;
    float ly = top + float(i) * float(lineHeight);
    for (uint32_t ch : line.chars) {
      const FontGlyph* g = f->Find(ch);
      if (!g) continue;
      if (g->w > 0 && g->h > 0) {
        // The glyph's place relative to (x, y), scaled and rotated with the text.
        float gx = (lx + g->offset * k) * xscale, gy = ly * yscale;
        float px = x + gx * cs + gy * sn, py = y - gx * sn + gy * cs;
        TPageEntry e;
        e.x = int16_t(f->tpe.x + g->x);
        e.y = int16_t(f->tpe.y + g->y);
        e.width = e.drawWidth = e.frameWidth = g->w;
        e.height = e.drawHeight = e.frameHeight = g->h;
        e.texture = f->tpe.texture;
        uint32_t q1 = c1, q2 = c1, q3 = c1, q4 = c1;
        if (!plain && boxWidth > 0 && total > 0) {
          float u0 = (lx + g->offset * k - (g_HAlign == 1 ? -float(boxWidth / 2) : g_HAlign == 2 ? -float(boxWidth) : 0)) / boxWidth;
          float u1 = u0 + float(g->w * k) / boxWidth;
          float v0 = (ly - top) / total, v1 = v0 + float(g->h * k) / total;
          uint32_t topL = Lerp(c1, c2, u0), topR = Lerp(c1, c2, u1), botL = Lerp(c4, c3, u0), botR = Lerp(c4, c3, u1);
          q1 = Lerp(topL, botL, v0);
          q2 = Lerp(topR, botR, v0);
          q3 = Lerp(topR, botR, v1);
          q4 = Lerp(topL, botL, v1);
        }
        GR_TPage_DrawGeneral(&e, 0, 0, g->w, g->h, px, py, xscale * k, yscale * k, angle, q1, q2, q3, q4, alpha);
      }
      lx += g->shift * k;
    }
  }
}
