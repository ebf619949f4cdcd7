// BMP files, read by a reader of our own: the format is small, and every
// field is checked against the file's size before a pixel is read.
//
// Read: the header sizes 12, 40, 56, 108 and 124; 1, 4 and 8 bits a pixel
// through a palette, 16 and 32 bits through bit fields (given, or the usual
// 5-5-5 and 8-8-8-8) and 24 bits; rows bottom-up or top-down (a negative
// height). Refused: run-length and embedded JPEG or PNG data, and fields of
// more than 8 bits.
#include <cstring>

#include "Graphics/Graphics_ImageDecode.h"

namespace {

constexpr size_t kFileHeader = 14;

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// One colour channel held in a bit field, as a shift and a width.
struct Field {
  uint32_t mask = 0;
  int shift = 0, bits = 0;

  explicit Field(uint32_t m) : mask(m) {
    if (!m) return;
    int high = 31;
    while (!(m >> high)) high--;
    shift = high - 7;  // puts the field's highest bit at bit 7
    bits = __builtin_popcount(m);
  }
  // The field's value widened to 8 bits by repeating its bits.
  uint8_t Read(uint32_t v) const {
    static const unsigned kMul[9] = {0, 0xff, 0x55, 0x49, 0x11, 0x21, 0x41, 0x81, 0x01};
    static const unsigned kShift[9] = {0, 0, 0, 1, 0, 2, 4, 6, 0};
    v &= mask;
    v = shift < 0 ? v << -shift : v >> shift;
    v >>= 8 - bits;
    return uint8_t((v * kMul[bits]) >> kShift[bits]);
  }
};

struct Header {
  int width = 0, height = 0, bpp = 0;
  bool topDown = false;
  uint32_t compression = 0, offset = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  size_t end = 0;                    // where the headers (and masks) end
};

// Reads and checks the headers; false for a file this reader refuses.
bool ReadHeader(const uint8_t* p, size_t size, Header& h) {
  if (size < kFileHeader + 4 || p[0] != 'B' || p[1] != 'M') return false;
  h.offset = Get32(p + 10);
  uint32_t hsz = Get32(p + 14);
  if (hsz != 12 && hsz != 40 && hsz != 56 && hsz != 108 && hsz != 124) return false;
  if (size < kFileHeader + hsz) return false;
  const uint8_t* info = p + kFileHeader;
  int64_t w, hh;
  if (hsz == 12) {
    w = Get16(info + 4);
    hh = Get16(info + 6);
    if (Get16(info + 8) != 1) return false;
    h.bpp = Get16(info + 10);
  } else {
    w = int32_t(Get32(info + 4));
    hh = int32_t(Get32(info + 8));
    if (Get16(info + 12) != 1) return false;
    h.bpp = Get16(info + 14);
    h.compression = Get32(info + 16);
  }
  h.topDown = hh < 0;
  if (hh < 0) hh = -hh;
  if (!Image_SizeFits(w, hh)) return false;
  h.width = int(w);
  h.height = int(hh);
  h.end = kFileHeader + hsz;

  bool fields = h.compression == 3;
  if (h.compression != 0 && !fields) return false;  // run-length, JPEG, PNG or unknown
  bool wide = h.bpp == 16 || h.bpp == 32;
  if (fields && !wide) return false;
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24 && !wide) return false;
  if (fields) {
    if (hsz == 40) {  // the three masks follow the header
      if (size < h.end + 12) return false;
      for (int i = 0; i < 3; i++) h.masks[i] = Get32(p + h.end + 4 * i);
      h.end += 12;
    } else {
      for (int i = 0; i < 4; i++) h.masks[i] = Get32(info + 40 + 4 * i);
    }
    if (h.masks[0] == h.masks[1] && h.masks[1] == h.masks[2]) return false;
  } else if (h.bpp == 16) {
    h.masks[0] = 31u << 10, h.masks[1] = 31u << 5, h.masks[2] = 31u;
  } else if (h.bpp == 32) {
    h.masks[0] = 0xFFu << 16, h.masks[1] = 0xFFu << 8, h.masks[2] = 0xFFu, h.masks[3] = 0xFFu << 24;
  }
  return h.offset >= h.end && h.offset <= size;
}

// The bytes of one row of pixels, without and with its padding to 4 bytes.
size_t RowBytes(const Header& h) { return (size_t(h.width) * size_t(h.bpp) + 7) / 8; }
size_t RowStride(const Header& h) { return (RowBytes(h) + 3) & ~size_t(3); }

void ReadPaletteRows(const uint8_t* p, const Header& h, const uint32_t* palette, CBitmap32& out) {
  int perByte = 8 / h.bpp, mask = (1 << h.bpp) - 1;
  for (int y = 0; y < h.height; y++) {
    const uint8_t* row = p + h.offset + size_t(y) * RowStride(h);
    uint32_t* dst = out.Row(h.topDown ? y : h.height - 1 - y);
    for (int x = 0; x < h.width; x++) {
      int shift = 8 - h.bpp * (x % perByte + 1);
      dst[x] = palette[(row[x / perByte] >> shift) & mask];
    }
  }
}

void ReadFieldRows(const uint8_t* p, const Header& h, CBitmap32& out) {
  Field r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3]);
  int bytes = h.bpp / 8;
  bool usual32 = h.bpp == 32 && h.masks[0] == 0xFF0000u && h.masks[1] == 0xFF00u && h.masks[2] == 0xFFu;
  for (int y = 0; y < h.height; y++) {
    const uint8_t* row = p + h.offset + size_t(y) * RowStride(h);
    uint32_t* dst = out.Row(h.topDown ? y : h.height - 1 - y);
    for (int x = 0; x < h.width; x++) {
      const uint8_t* s = row + size_t(x) * bytes;
      if (h.bpp == 24) {
        dst[x] = 0xFF000000u | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0];
      } else if (usual32 && h.masks[3] == 0xFF000000u) {
        dst[x] = Get32(s);
      } else {
        uint32_t v = bytes == 2 ? Get16(s) : Get32(s);
        uint32_t alpha = a.mask ? a.Read(v) : 255;
        dst[x] = alpha << 24 | uint32_t(r.Read(v)) << 16 | uint32_t(g.Read(v)) << 8 | b.Read(v);
      }
    }
  }
}

}  // namespace

bool Image_DecodeBMP(const uint8_t* p, size_t size, CBitmap32& out) {
  Header h;
  if (!ReadHeader(p, size, h)) return false;
  // The last row may come without its padding.
  if (RowStride(h) * size_t(h.height - 1) + RowBytes(h) > size - h.offset) return false;
  if (h.bpp <= 8) {
    // The palette fills the space between the headers and the pixels.
    size_t entry = h.end == kFileHeader + 12 ? 3 : 4;
    size_t count = (h.offset - h.end) / entry;
    if (count == 0 || count > 256) return false;
    uint32_t palette[256];
    for (uint32_t& c : palette) c = 0xFF000000u;  // an index past the palette is black
    for (size_t i = 0; i < count; i++) {
      const uint8_t* e = p + h.end + i * entry;
      palette[i] = 0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
    }
    out = CBitmap32(h.width, h.height);
    ReadPaletteRows(p, h, palette, out);
    return true;
  }
  for (int i = 0; i < 3; i++)
    if (h.bpp != 24 && (!h.masks[i] || __builtin_popcount(h.masks[i]) > 8)) return false;
  if (__builtin_popcount(h.masks[3]) > 8) return false;
  out = CBitmap32(h.width, h.height);
  ReadFieldRows(p, h, out);
  // 32-bit pixels stored without bit fields whose fourth bytes are all 0 are
  // opaque: that byte was left unused.
  if (h.bpp == 32 && h.compression == 0) {
    bool anyAlpha = false;
    for (uint32_t px : out.pixels) anyAlpha |= (px >> 24) != 0;
    if (!anyAlpha)
      for (uint32_t& px : out.pixels) px |= 0xFF000000u;
  }
  return true;
}
