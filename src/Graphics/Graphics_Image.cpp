// The image files' front door: the decoder each format's first bytes name,
// the transparency steps of the loaders, BMP writing of our own, and grabs of
// the screen and of surfaces.
#include "Graphics/Graphics_Image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Graphics/Graphics_ImageDecode.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Support/Support_File.h"

ImageFormat Image_Sniff(const uint8_t* p, size_t size) {
  static const uint8_t kPNG[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && std::memcmp(p, kPNG, 8) == 0) return ImageFormat::PNG;
  if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return ImageFormat::JPEG;
  if (size >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) return ImageFormat::GIF;
  if (size >= 2 && p[0] == 'B' && p[1] == 'M') return ImageFormat::BMP;
  return ImageFormat::None;
}

bool GR_Image_Decode(const void* data, size_t size, std::vector<CBitmap32>& frames) {
  frames.clear();
  if (!data || size == 0) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  ImageFormat format = Image_Sniff(bytes, size);
  if (format == ImageFormat::GIF) return Image_DecodeGIF(bytes, size, frames);
  CBitmap32 image;
  bool ok = (format == ImageFormat::PNG && Image_DecodePNG(bytes, size, image)) ||
            (format == ImageFormat::JPEG && Image_DecodeJPEG(bytes, size, image)) ||
            (format == ImageFormat::BMP && Image_DecodeBMP(bytes, size, image));
  if (ok) frames.push_back(std::move(image));
  return ok;
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
