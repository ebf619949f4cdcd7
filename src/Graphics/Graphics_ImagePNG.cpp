// PNG files through libpng: reading any PNG into ARGB words, and writing
// ARGB words as an RGBA PNG.
//
// libpng reports errors by longjmp: every function that calls it with a
// setjmp of its own holds only plain values, so that the jump skips no
// destructor; the buffers it fills are made by its caller.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_ImageDecode.h"

namespace {

// Text and other ancillary chunks libpng keeps in memory: at most this many
// bytes each (a chunk may announce up to 2 GiB), and at most this many of
// them.
constexpr png_alloc_size_t kChunkMallocMax = 8u << 20;
constexpr png_uint_32 kChunkCacheMax = 1000;

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  if (static_cast<ImageReader*>(png_get_io_ptr(png))->Read(out, length) != length) png_error(png, "file ends early");
}

// Warnings (a damaged ancillary chunk, say) are dropped: the picture is read
// or refused as a whole.
void IgnoreWarning(png_structp, png_const_charp) {}
void RaiseError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Reads the header and sets the steps that turn every kind of pixel into
// B, G, R, A bytes (an ARGB word in memory), and gives the passes to read;
// false on an error or a size past the limits.
bool ReadHeader(png_structp png, png_infop info, int* w, int* h, int* passes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, IMAGE_MAX_SIDE, IMAGE_MAX_SIDE);
  png_set_chunk_malloc_max(png, kChunkMallocMax);
  png_set_chunk_cache_max(png, kChunkCacheMax);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (!Image_SizeFits(width, height)) return false;
  int type = png_get_color_type(png, info), depth = png_get_bit_depth(png, info);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  *passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) return false;
  *w = int(width);
  *h = int(height);
  return true;
}

// Reads every row (every pass of an interlaced file) into w*h words.
bool ReadPixels(png_structp png, int passes, uint32_t* pixels, int w, int h) {
  if (setjmp(png_jmpbuf(png))) return false;
  for (int pass = 0; pass < passes; pass++)
    for (int y = 0; y < h; y++) png_read_row(png, reinterpret_cast<png_bytep>(pixels + size_t(y) * size_t(w)), nullptr);
  png_read_end(png, nullptr);
  return true;
}

// Writes the PNG to an open stream; false when libpng fails.
bool WritePNG(FILE* f, const uint32_t* argb, int w, int h, unsigned char* row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
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
        unsigned char* d = row + size_t(x) * 4;
        d[0] = (p >> 16) & 255;
        d[1] = (p >> 8) & 255;
        d[2] = p & 255;
        d[3] = p >> 24;
      }
      png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return ok;
}

bool WritePNG(FILE* f, const uint32_t* argb, int w, int h) {
  std::vector<unsigned char> row(size_t(w) * 4);
  return WritePNG(f, argb, w, h, row.data());
}

}  // namespace

bool Image_DecodePNG(const uint8_t* data, size_t size, CBitmap32& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ImageReader reader{data, size, 0};
  bool ok = false;
  int w = 0, h = 0, passes = 1;
  if (info) {
    png_set_read_fn(png, &reader, ReadFromMemory);
    if (ReadHeader(png, info, &w, &h, &passes)) {
      out = CBitmap32(w, h);
      ok = ReadPixels(png, passes, out.pixels.data(), w, h);
    }
  }
  png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
  if (!ok) out = CBitmap32();
  return ok;
}

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
