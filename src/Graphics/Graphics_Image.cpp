// Image decoding through stb_image, PNG writing through libpng, and BMP
// writing of our own.
#include "Graphics/Graphics_Image.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Graphics/Graphics_ImageStb.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Support/Support_File.h"

#define STBI_NO_STDIO
#include "stb_image.h"

namespace {

// stb gives R, G, B, A bytes; an ARGB word in memory is B, G, R, A.
void RGBAToARGB(const unsigned char* src, int w, int h, CBitmap32& out) {
  out = CBitmap32(w, h);
  size_t n = size_t(w) * size_t(h);
  for (size_t i = 0; i < n; i++) {
    const unsigned char* p = src + i * 4;
    out.pixels[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
}

// The frames of a GIF, counted by walking its blocks (0 when it is cut
// short: the decoder then decides).
int64_t GifFrameCount(const uint8_t* p, size_t size) {
  size_t at = 13;
  if (size < at) return 0;
  if (p[10] & 0x80) at += size_t(3) << ((p[10] & 7) + 1);  // global colour table
  // Skips the sub-blocks that follow, up to their empty terminator.
  auto skipBlocks = [&] {
    while (at < size && p[at] != 0) at += size_t(p[at]) + 1;
    at++;
  };
  int64_t frames = 0;
  while (at < size) {
    uint8_t kind = p[at];
    if (kind == 0x21) {  // extension: label, then sub-blocks
      at += 2;
      skipBlocks();
    } else if (kind == 0x2C) {  // image: descriptor, colour table, code size, data
      if (at + 10 > size) break;
      uint8_t flags = p[at + 9];
      at += 10;
      if (flags & 0x80) at += size_t(3) << ((flags & 7) + 1);
      at++;
      skipBlocks();
      frames++;
    } else {
      break;  // the trailer, or something the decoder will refuse
    }
  }
  return frames;
}

// Whether every chunk of a PNG file lies inside the file: the decoder grows
// its buffer by a chunk's stated length before it reads the chunk, so a tiny
// damaged file could ask for gigabytes.
bool PngChunksFit(const stbi_uc* bytes, size_t len) {
  static const stbi_uc signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (len < 8 || memcmp(bytes, signature, 8) != 0) return true;  // not a PNG: not ours to judge
  for (size_t pos = 8; pos + 8 <= len;) {
    uint64_t length = (uint64_t(bytes[pos]) << 24) | (uint64_t(bytes[pos + 1]) << 16) |
                      (uint64_t(bytes[pos + 2]) << 8) | uint64_t(bytes[pos + 3]);
    if (pos + 12 + length > len) return false;
    if (memcmp(bytes + pos + 4, "IEND", 4) == 0) return true;
    pos += 12 + size_t(length);
  }
  return true;
}

// Whether the header's size, times the GIF's frames, keeps to the limits; a
// header this cannot read is left to the decoder, which keeps to them too.
bool FitsLimits(const stbi_uc* bytes, int len, bool gif) {
  if (!PngChunksFit(bytes, size_t(len))) return false;
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(bytes, len, &w, &h, &comp)) return true;  // the decoder reports it
  if (w > IMAGE_MAX_SIDE || h > IMAGE_MAX_SIDE) return false;
  int64_t frames = gif ? std::max<int64_t>(GifFrameCount(bytes, size_t(len)), 1) : 1;
  return int64_t(w) * h * frames <= IMAGE_MAX_PIXELS;
}

}  // namespace

bool GR_Image_Decode(const void* data, size_t size, std::vector<CBitmap32>& frames) {
  frames.clear();
  if (!data || size == 0 || size > size_t(INT_MAX)) return false;
  const stbi_uc* bytes = static_cast<const stbi_uc*>(data);
  int len = int(size);
  int w = 0, h = 0, comp = 0;
  bool gif = size >= 6 && memcmp(bytes, "GIF", 3) == 0;
  if (!FitsLimits(bytes, len, gif)) return false;
  if (gif) {
    std::vector<unsigned char> all;
    int count = 0;
    if (!Image_DecodeGifFrames(bytes, len, all, &w, &h, &count)) return false;
    frames.resize(size_t(count));
    for (int i = 0; i < count; i++) RGBAToARGB(all.data() + size_t(i) * size_t(w) * size_t(h) * 4, w, h, frames[size_t(i)]);
    return true;
  }
  stbi_uc* pixels = stbi_load_from_memory(bytes, len, &w, &h, &comp, 4);
  if (!pixels) return false;
  frames.resize(1);
  RGBAToARGB(pixels, w, h, frames[0]);
  stbi_image_free(pixels);
  return true;
}

bool GR_Image_Load(const char* path, std::vector<CBitmap32>& frames) {
  frames.clear();
  std::vector<uint8_t> data;
  if (!path || !File_ReadWhole(path, data)) return false;
  return GR_Image_Decode(data.data(), data.size(), frames);
}

void GR_Image_MakeTransparent(CBitmap32& image) {
  if (image.pixels.empty()) return;
  for (uint32_t p : image.pixels)
    if ((p >> 24) != 255) return;  // the image has alpha of its own
  uint32_t key = image.Row(image.height - 1)[0];
  for (uint32_t& p : image.pixels)
    if (p == key) p = 0;
}

void GR_Image_AlphaFromIntensity(CBitmap32& image, const CBitmap32& source) {
  if (source.width < 1 || source.height < 1) return;
  for (int y = 0; y < image.height; y++)
    for (int x = 0; x < image.width; x++) {
      uint32_t p = source.Row(int(int64_t(y) * source.height / image.height))[int64_t(x) * source.width / image.width];
      uint32_t level = (((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255)) / 3;
      image.Row(y)[x] = (image.Row(y)[x] & 0xFFFFFF) | (level << 24);
    }
}

namespace {
// Writes the PNG to an open stream; false when libpng fails.
bool WritePNG(FILE* f, const uint32_t* argb, int w, int h) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<unsigned char> row(size_t(w) * 4);
  bool ok = false;
  if (info && !setjmp(png_jmpbuf(png))) {
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++) {
      const uint32_t* src = argb + size_t(y) * size_t(w);
      for (int x = 0; x < w; x++) {
        uint32_t p = src[x];
        unsigned char* d = &row[size_t(x) * 4];
        d[0] = (p >> 16) & 255;
        d[1] = (p >> 8) & 255;
        d[2] = p & 255;
        d[3] = p >> 24;
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return ok;
}
}  // namespace

bool GR_Image_SavePNG(const char* path, const uint32_t* argb, int w, int h) {
  if (!path || !*path || !argb || w < 1 || h < 1) return false;
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = WritePNG(f, argb, w, h);
  return fclose(f) == 0 && ok;
}

std::vector<uint8_t> GR_Image_EncodePNG(const uint32_t* argb, int w, int h) {
  std::vector<uint8_t> out;
  if (!argb || w < 1 || h < 1) return out;
  char* buffer = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buffer, &size);
  if (!f) return out;
  bool ok = WritePNG(f, argb, w, h);
  if (fclose(f) == 0 && ok) out.assign(buffer, buffer + size);
  free(buffer);
  return out;
}

bool CBitmap32::SavePNG(const char* path) const { return GR_Image_SavePNG(path, pixels.data(), width, height); }

std::vector<uint8_t> GR_Image_SaveBMP(const uint32_t* argb, int w, int h) {
  std::vector<uint8_t> out;
  if (!argb || w < 1 || h < 1) return out;
  size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
  size_t imageSize = stride * size_t(h), fileSize = 54 + imageSize;
  if (fileSize > 0xFFFFFFFFu) return out;
  out.assign(fileSize, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) out[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, uint32_t(fileSize));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  out[26] = 1;   // planes
  out[28] = 24;  // bits per pixel
  put32(34, uint32_t(imageSize));
  put32(38, 2835);  // 72 dots per inch
  put32(42, 2835);
  // Rows bottom to top, pixels as B, G, R.
  for (int y = 0; y < h; y++) {
    const uint32_t* src = argb + size_t(h - 1 - y) * size_t(w);
    uint8_t* d = out.data() + 54 + size_t(y) * stride;
    for (int x = 0; x < w; x++) {
      d[3 * x] = src[x] & 255;
      d[3 * x + 1] = (src[x] >> 8) & 255;
      d[3 * x + 2] = (src[x] >> 16) & 255;
    }
  }
  return out;
}

namespace {

// Clips (x, y, w, h) to a bw by bh buffer; false when nothing is left.
bool Clip(int bw, int bh, int* x, int* y, int* w, int* h) {
  // In 64 bits: the numbers come from scripts.
  int64_t l = std::max<int64_t>(*x, 0), t = std::max<int64_t>(*y, 0);
  int64_t r = std::min<int64_t>(int64_t(*x) + *w, bw), b = std::min<int64_t>(int64_t(*y) + *h, bh);
  if (r <= l || b <= t) return false;
  *x = int(l);
  *y = int(t);
  *w = int(r - l);
  *h = int(b - t);
  return true;
}

CBitmap32* Grab(int texture, int bw, int bh, int x, int y, int w, int h) {
  if (!Clip(bw, bh, &x, &y, &w, &h)) return nullptr;
  CBitmap32* bmp = new CBitmap32(w, h);
  if (!Graphics_ReadPixels(texture, x, y, w, h, bmp->pixels.data())) {
    delete bmp;
    return nullptr;
  }
  return bmp;
}

}  // namespace

CBitmap32* Graphics_GrabScreenRect(int bufw, int bufh, int x, int y, int w, int h) {
  bufw = std::min(bufw, GR_Window_GetWidth());
  bufh = std::min(bufh, GR_Window_GetHeight());
  return Grab(-1, bufw, bufh, x, y, w, h);
}

CBitmap32* Graphics_GrabSurfaceRect(int texture, int x, int y, int w, int h) {
  const GRTexture* t = GR_Texture_Get(texture);
  return t ? Grab(texture, t->width, t->height, x, y, w, h) : nullptr;
}

bool Graphics_GrabTPage(const TPageEntry& e, CBitmap32& out) {
  if (e.width <= 0 || e.height <= 0 || e.width != e.drawWidth || e.height != e.drawHeight) return false;
  CBitmap32 part(e.width, e.height);
  if (!Graphics_ReadPixels(e.texture, e.x, e.y, e.width, e.height, part.pixels.data())) return false;
  out = CBitmap32(std::max<int>(e.frameWidth, 1), std::max<int>(e.frameHeight, 1));
  for (int y = 0; y < e.height; y++)
    for (int x = 0; x < e.width; x++) {
      int fx = x + e.xoffset, fy = y + e.yoffset;
      if (fx >= 0 && fy >= 0 && fx < out.width && fy < out.height) out.Row(fy)[fx] = part.Row(y)[x];
    }
  return true;
}

int GR_Texture_CreateFromImage(const void* data, size_t size) {
  std::vector<CBitmap32> frames;
  if (!GR_Image_Decode(data, size, frames) || frames.empty()) return -1;
  return GR_Texture_Create(frames[0].width, frames[0].height, frames[0].pixels.data());
}
