// The images built into the runner. Entry 15 is the debug font: a 256 by 128
// sheet of white glyphs on transparent black, with its glyph table.
#pragma once
#include <cstdint>

constexpr int EMBEDDED_DEBUG_FONT = 15;
constexpr int EMBEDDED_FONT_FIRST = 32, EMBEDDED_FONT_LAST = 136;
constexpr int EMBEDDED_FONT_WIDTH = 256, EMBEDDED_FONT_HEIGHT = 128;
constexpr int EMBEDDED_FONT_LINE = 10;  // glyph height in pixels

// Where a character lies on the debug font's sheet, in pixels.
struct EmbeddedGlyph {
  int16_t u, v, width, height;
};

// The debug font's glyph for c; null outside 32 to 136.
const EmbeddedGlyph* EmbeddedImage_FontGlyph(uint32_t c);
// Makes a texture of an embedded image; -1 for an image the runner lacks or
// when the texture cannot be made.
int EmbeddedImage_CreateTexture(int index);
