#include "Debug/Debug_Font.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Embedded.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

int g_Texture = -1;
constexpr int kLineGap = 2;
constexpr int kMaxLines = 64;
constexpr float kDepth = 0.7f;

// Formatted texts are cut to this buffer whatever their arguments hold.
struct Formatted {
  char text[1024];
  Formatted(const char* fmt, va_list args) { vsnprintf(text, sizeof text, fmt, args); }
};

const EmbeddedGlyph* Blank() { return EmbeddedImage_FontGlyph(' '); }

// The glyph drawn for a byte; null for one that only advances.
const EmbeddedGlyph* Drawn(unsigned char c) { return c == ' ' ? nullptr : EmbeddedImage_FontGlyph(c); }

int Advance(unsigned char c) {
  const EmbeddedGlyph* g = EmbeddedImage_FontGlyph(c);
  return (g ? g : Blank())->width;
}

int Length(const char* text, int maxChars) {
  int n = 0;
  while (n < maxChars && text[n]) n++;
  return n;
}

float TabStop(float x) { return 64.0f * std::nearbyint((x + 63.0f) / 64.0f); }

int DisplayWidth() { return Graphics_FrameCounters.overlayWidth; }

}  // namespace

void DebugFont_CreateTexture() {
  if (g_Texture < 0) g_Texture = EmbeddedImage_CreateTexture(EMBEDDED_DEBUG_FONT);
}

void DebugFont_ReleaseTexture() {
  GR_Texture_Free(g_Texture);
  g_Texture = -1;
}

// A later device makes the texture again instead of drawing with an id that
// another texture may have taken.
static const bool g_OwnsTextures = GR_Texture_AddOwner(DebugFont_ReleaseTexture);

void DebugFont_DrawText(float x, float y, float xscale, float yscale, uint32_t colour, const char* text,
                        int maxChars) {
  if (g_Texture < 0 || !text) return;
  int n = Length(text, maxChars);
  if (n == 0) return;
  SVertex* v = Batch_AllocVerts(PR_TRIANGLELIST, g_Texture, VERTEX_SIZE_2D, 6 * n);
  if (!v) return;
  uint32_t argb = Colour_SwapRB(colour);
  x = std::floor(x);
  y = std::floor(y);
  const float su = 1.0f / EMBEDDED_FONT_WIDTH, sv = 1.0f / EMBEDDED_FONT_HEIGHT;
  int drawn = 0;
  for (int i = 0; i < n; i++) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\t') {
      x = TabStop(x);
      continue;
    }
    const EmbeddedGlyph* g = Drawn(c);
    if (!g) {
      x += float(Advance(c)) * xscale;
      continue;
    }
    float x1 = x + float(g->width) * xscale, y1 = y + float(g->height) * yscale;
    float u0 = float(g->u) * su, v0 = float(g->v) * sv;
    float u1 = float(g->u + g->width) * su, v1 = float(g->v + g->height) * sv;
    SVertex* q = v + 6 * drawn++;
    q[0] = {x, y, kDepth, argb, u0, v0};
    q[1] = {x1, y, kDepth, argb, u1, v0};
    q[2] = {x, y1, kDepth, argb, u0, v1};
    q[3] = q[1];
    q[4] = {x1, y1, kDepth, argb, u1, v1};
    q[5] = q[2];
    x = x1;
  }
  Batch_Unreserve(6 * (n - drawn));
}

int DebugFont_TextWidth(const char* text, int maxChars) {
  int width = 0;
  for (int i = 0; i < maxChars && text[i]; i++)
    if (text[i] != '\t') width += Advance(static_cast<unsigned char>(text[i]));
  return width;
}

void DebugFont_PrintfPlain(float x, float y, uint32_t colour, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  Formatted f(fmt, args);
  va_end(args);
  DebugFont_DrawText(x, y, 1, 1, colour, f.text, int(sizeof f.text));
}

void DebugFont_DrawOutlined(float x, float y, uint32_t outline, uint32_t colour, const char* text, int maxChars) {
  const float around[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 2}};
  for (const auto& d : around) DebugFont_DrawText(x + d[0], y + d[1], 1, 1, outline, text, maxChars);
  DebugFont_DrawText(x, y, 1, 1, colour, text, maxChars);
}

void DebugFont_PrintfOutlined(float x, float y, uint32_t outline, uint32_t colour, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  Formatted f(fmt, args);
  va_end(args);
  DebugFont_DrawOutlined(x, y, outline, colour, f.text, int(sizeof f.text));
}

void DebugFont_DrawCentredOutlined(float y, uint32_t outline, uint32_t colour, const char* text) {
  int width = DebugFont_TextWidth(text, int(strlen(text)));
  DebugFont_DrawOutlined(float((DisplayWidth() - width + 1) / 2), y, outline, colour, text, int(strlen(text)));
}

void DebugFont_PrintfCentred(float y, int width, uint32_t colour, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  Formatted f(fmt, args);
  va_end(args);
  int textWidth = DebugFont_TextWidth(f.text, int(sizeof f.text));
  DebugFont_DrawText(float((width + 1 - textWidth) / 2), y, 1, 1, colour, f.text, int(sizeof f.text));
}

int DebugFont_Wrap(const char* text, int x, float y, int displayWidth, DebugFontLine* lines, int maxLines) {
  const int maxWidth = displayWidth - 4;
  int count = 0, i = 0;
  for (;;) {
    while (text[i] == ' ' || text[i] == '\n') i++;
    if (!text[i]) break;
    // Take words while they fit; a word wider than the line stands alone.
    int start = i, end = i, width = 0;
    while (text[end] && text[end] != '\n') {
      int wordEnd = end;
      while (text[wordEnd] == ' ') wordEnd++;
      while (text[wordEnd] && text[wordEnd] != ' ' && text[wordEnd] != '\n') wordEnd++;
      int w = DebugFont_TextWidth(text + end, wordEnd - end);
      if (end > start && width + w > maxWidth) break;
      width += w;
      end = wordEnd;
    }
    if (count < maxLines) {
      int lx = x == DEBUGFONT_CENTRE ? (displayWidth + 1 - width) / 2 : x;
      lines[count] = {start, end - start, lx, y};
    }
    count++;
    y += float(EMBEDDED_FONT_LINE + kLineGap);
    i = end;
  }
  return count;
}

void DebugFont_Printf(int x, float y, uint32_t outline, uint32_t colour, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  Formatted f(fmt, args);
  va_end(args);
  DebugFontLine lines[kMaxLines];
  int n = DebugFont_Wrap(f.text, x, y, DisplayWidth(), lines, kMaxLines);
  if (n > kMaxLines) n = kMaxLines;
  for (int k = 0; k < n; k++)
    DebugFont_DrawOutlined(float(lines[k].x), lines[k].y, outline, colour, f.text + lines[k].start, lines[k].length);
}
