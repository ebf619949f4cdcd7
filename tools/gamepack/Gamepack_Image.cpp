#include "gamepack/Gamepack_Image.h"

#include <png.h>

#include <algorithm>
#include <climits>

#include "Graphics/Graphics_Image.h"
#include "Support/Support_File.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Applies the transparent rule to a decoded image and keeps it as RGBA bytes.
void ToPackImage(CBitmap32& bitmap, bool transparent, PackImage& out) {
  if (transparent) GR_Image_MakeTransparent(bitmap);
  out.width = bitmap.width;
  out.height = bitmap.height;
  out.rgba.resize(bitmap.pixels.size() * 4);
  for (size_t i = 0; i < bitmap.pixels.size(); i++) {
    uint32_t p = bitmap.pixels[i];
    out.rgba[i * 4] = (uint8_t)(p >> 16), out.rgba[i * 4 + 1] = (uint8_t)(p >> 8);
    out.rgba[i * 4 + 2] = (uint8_t)p, out.rgba[i * 4 + 3] = (uint8_t)(p >> 24);
  }
}

}  // namespace

bool DataFile_DecodeImage(const std::string& path, bool transparent, PackImage& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!File_ReadWhole(path, bytes)) {
    error = "cannot open image file \"" + path + "\"";
    return false;
  }
  std::vector<CBitmap32> frames;
  if (!GR_Image_Decode(bytes.data(), bytes.size(), frames)) {
    error = "cannot decode image file \"" + path + "\" (PNG, JPEG, BMP and GIF are read)";
    return false;
  }
  ToPackImage(frames[0], transparent, out);
  return true;
}

bool DataFile_ParseColour(const std::string& text, uint8_t rgba[4], bool& hasAlpha) {
  if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9)) return false;
  hasAlpha = text.size() == 9;
  rgba[3] = 255;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    rgba[i / 2] = (uint8_t)(hi * 16 + lo);
  }
  return true;
}

bool DataFile_SolidImage(int width, int height, const std::string& colour, bool transparent, PackImage& out,
                         std::string& error) {
  uint8_t rgba[4];
  bool hasAlpha;
  if (!DataFile_ParseColour(colour, rgba, hasAlpha)) {
    error = "colour \"" + colour + "\" is not of the form #RRGGBB or #RRGGBBAA";
    return false;
  }
  if (width < 1 || height < 1 || width > kTexturePageMax || height > kTexturePageMax) {
    error = "image size " + std::to_string(width) + "x" + std::to_string(height) + " is not between 1 and " +
            std::to_string(kTexturePageMax);
    return false;
  }
  CBitmap32 bitmap(width, height);
  uint32_t argb = (uint32_t)rgba[3] << 24 | (uint32_t)rgba[0] << 16 | (uint32_t)rgba[1] << 8 | rgba[2];
  std::fill(bitmap.pixels.begin(), bitmap.pixels.end(), argb);
  ToPackImage(bitmap, transparent, out);
  return true;
}

void DataFile_AutoBox(const std::vector<const PackImage*>& frames, int32_t box[4]) {
  int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
  for (const PackImage* image : frames)
    for (int y = 0; y < image->height; y++)
      for (int x = 0; x < image->width; x++)
        if (image->Alpha(x, y)) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
  if (right < 0) {
    int w = frames.empty() ? 0 : frames[0]->width, h = frames.empty() ? 0 : frames[0]->height;
    left = 0, top = 0, right = std::max(w - 1, 0), bottom = std::max(h - 1, 0);
  }
  box[0] = left, box[1] = top, box[2] = right, box[3] = bottom;
}

PackageMask DataFile_MaskOf(const PackImage& image) {
  PackageMask mask((size_t)image.width * image.height);
  for (size_t i = 0; i < mask.size(); i++) mask[i] = image.rgba[i * 4 + 3] ? 1 : 0;
  return mask;
}

PackageMask DataFile_SharedMask(const std::vector<const PackImage*>& frames) {
  PackageMask mask = DataFile_MaskOf(*frames.at(0));
  for (const PackImage* image : frames) {
    PackageMask own = DataFile_MaskOf(*image);
    for (size_t i = 0; i < mask.size(); i++) mask[i] |= own[i];
  }
  return mask;
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = (std::vector<uint8_t>*)png_get_io_ptr(png);
  out->insert(out->end(), data, data + length);
}

void FlushPng(png_structp) {}

}  // namespace

bool DataFile_EncodePNG(const PackImage& image, std::vector<uint8_t>& out, std::string& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "cannot start the PNG encoder";
    return false;
  }
  std::vector<png_bytep> rows(image.height);
  for (int y = 0; y < image.height; y++) rows[y] = (png_bytep)&image.rgba[(size_t)y * image.width * 4];
  out.clear();
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = "cannot encode a texture page as PNG";
    return false;
  }
  png_set_write_fn(png, &out, AppendPng, FlushPng);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
