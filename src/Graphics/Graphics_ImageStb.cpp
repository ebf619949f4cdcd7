// The image decoder's own code, compiled apart: the sanitizer build leaves
// its harmless null-pointer copies of zero bytes (an empty PNG data chunk)
// unreported, while every other file keeps the check.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#include "Graphics/Graphics_ImageStb.h"

// Every reader of the decoder refuses a longer side before it sizes a buffer,
// whatever the check before decoding could read of the header.
#define STBI_MAX_DIMENSIONS IMAGE_MAX_SIDE

#include <cstring>
#include <vector>

#include "stb_image.h"

// The decoder's own frame loop hands a frame disposed "to the previous image"
// a pointer before its buffer; this one walks the same frames and gives it the
// frame two back.
bool Image_DecodeGifFrames(const unsigned char* bytes, int len, std::vector<unsigned char>& rgba, int* w, int* h,
                           int* count, int64_t max_pixels) {
  stbi__context s;
  stbi__start_mem(&s, bytes, len);
  *count = 0;
  rgba.clear();
  if (!stbi__gif_test(&s)) return false;
  stbi__gif g;
  std::memset(&g, 0, sizeof g);
  size_t stride = 0;
  for (;;) {
    stbi_uc* two_back = *count >= 2 ? rgba.data() + size_t(*count - 2) * stride : nullptr;
    int comp = 0;
    stbi_uc* frame = stbi__gif_load_next(&s, &g, &comp, 4, two_back);
    if (!frame || frame == reinterpret_cast<stbi_uc*>(&s)) break;  // an error, or the end
    stride = size_t(g.w) * size_t(g.h) * 4;
    if (int64_t(g.w) * g.h * (*count + 1) > max_pixels) {
      *count = 0;
      break;
    }
    rgba.insert(rgba.end(), frame, frame + stride);
    ++*count;
  }
  STBI_FREE(g.out);
  STBI_FREE(g.history);
  STBI_FREE(g.background);
  *w = g.w;
  *h = g.h;
  if (*count == 0) rgba.clear();
  return *count > 0;
}
