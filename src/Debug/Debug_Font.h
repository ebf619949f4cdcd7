// The debug font: the runner's own bitmap font (embedded image 15), drawn
// through the vertex batch independently of the game's fonts. Colours are
// BGR words with alpha in the top byte; positions are in the overlay's
// display space (Graphics_FrameCounters.overlayWidth and overlayHeight).
#pragma once
#include <cstdint>

// The font's texture: made once; the texture table asks for it back before
// the device goes.
void DebugFont_CreateTexture();
void DebugFont_ReleaseTexture();

// Draws at most maxChars bytes of the text at (x, y) snapped to whole pixels.
// A tab moves x to the next tab stop; a blank, or a character outside 32 to
// 136, advances without drawing.
void DebugFont_DrawText(float x, float y, float xscale, float yscale, uint32_t colour, const char* text,
                        int maxChars);
// The sum of the glyph widths of at most maxChars bytes.
int DebugFont_TextWidth(const char* text, int maxChars);

// Formatted forms; a text longer than 1,023 bytes is cut there.
void DebugFont_PrintfPlain(float x, float y, uint32_t colour, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));
// The text in the outline colour one pixel around, then in its own colour.
void DebugFont_PrintfOutlined(float x, float y, uint32_t outline, uint32_t colour, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));
void DebugFont_DrawOutlined(float x, float y, uint32_t outline, uint32_t colour, const char* text, int maxChars);
// An outlined line centred in the display width.
void DebugFont_DrawCentredOutlined(float y, uint32_t outline, uint32_t colour, const char* text);
// A plain line centred in the given width.
void DebugFont_PrintfCentred(float y, int width, uint32_t colour, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));

// The x of DebugFont_Printf that centres every line.
constexpr int DEBUGFONT_CENTRE = int(0x81234567u);
// Outlined text broken at blanks and line feeds into lines that fit in the
// display width less 4, each line starting after its leading blanks and line
// feeds, one below the other.
void DebugFont_Printf(int x, float y, uint32_t outline, uint32_t colour, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));

// One line of DebugFont_Printf: its bytes and where it is drawn.
struct DebugFontLine {
  int start, length;
  int x;
  float y;
};
// Lays out DebugFont_Printf's text for a display of that width; returns the
// number of lines (at most maxLines are filled).
int DebugFont_Wrap(const char* text, int x, float y, int displayWidth, DebugFontLine* lines, int maxLines);
