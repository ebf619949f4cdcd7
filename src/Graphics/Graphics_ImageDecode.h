// The image decoders behind GR_Image_Decode, one a format. Each takes a whole
// file in memory and gives ARGB pixels, rows top to bottom; each refuses a
// file it cannot read whole, and one larger than the limits below, before it
// sizes a buffer for the pixels.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Graphics/Graphics_Bitmap.h"

// The PNG and JPEG decoders write each pixel as the bytes B, G, R, A.
static_assert(std::endian::native == std::endian::little, "an ARGB word must be B, G, R, A in memory");

// The largest image read: a side no longer than the largest texture's, and
// no more pixels than that, all frames together. A file of a few bytes may
// announce gigabytes.
constexpr int IMAGE_MAX_SIDE = 8192;
constexpr int64_t IMAGE_MAX_PIXELS = int64_t(IMAGE_MAX_SIDE) * IMAGE_MAX_SIDE;

// Whether a width and height read from a header can be decoded.
inline bool Image_SizeFits(int64_t w, int64_t h) {
  return w >= 1 && h >= 1 && w <= IMAGE_MAX_SIDE && h <= IMAGE_MAX_SIDE;
}

// A file held in memory, read from the front by the libraries' callbacks.
struct ImageReader {
  const uint8_t* data;
  size_t size, at;

  // Copies up to n bytes to out; gives how many there were.
  size_t Read(void* out, size_t n) {
    n = n < size - at ? n : size - at;
    if (n) std::memcpy(out, data + at, n);
    at += n;
    return n;
  }
};

// The format a file's first bytes name.
enum class ImageFormat { None, PNG, JPEG, GIF, BMP };
ImageFormat Image_Sniff(const uint8_t* data, size_t size);

// PNG through libpng: 16-bit channels keep their high byte, grey becomes
// RGB, transparency chunks become alpha; gamma and colour profiles are not
// applied.
bool Image_DecodePNG(const uint8_t* data, size_t size, CBitmap32& out);
// JPEG through libjpeg-turbo: grey, YCbCr, RGB, CMYK and YCCK files.
bool Image_DecodeJPEG(const uint8_t* data, size_t size, CBitmap32& out);
// BMP of 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or with bit
// fields, in every header size from the first (12 bytes) to the fifth.
bool Image_DecodeBMP(const uint8_t* data, size_t size, CBitmap32& out);
// Every frame of a GIF through giflib, each drawn over the ones before as the
// file's disposal methods say. A frame that will not decode ends the frames;
// false when the first will not, or when the frames together hold more than
// max_pixels (then no frames).
bool Image_DecodeGIF(const uint8_t* data, size_t size, std::vector<CBitmap32>& frames,
                     int64_t max_pixels = IMAGE_MAX_PIXELS);
