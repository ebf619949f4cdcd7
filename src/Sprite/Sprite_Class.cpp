#include "Sprite/Sprite_Class.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"

CSprite::~CSprite() {
  for (int t : ownTextures) GR_Texture_Free(t);
}

int CSprite::Frame(int subimg) const {
  int n = int(frames.size());
  if (n == 0) return -1;
  int f = subimg % n;
  return f < 0 ? f + n : f;
}

const TPageEntry* CSprite::GetFrame(int subimg) const {
  int f = Frame(subimg);
  return f < 0 ? nullptr : &frames[size_t(f)];
}

int CSprite::GetTexture(int subimg) const {
  const TPageEntry* e = GetFrame(subimg);
  return e ? e->texture : -1;
}

bool CSprite::SetFromBitmaps(std::vector<CBitmap32>&& images) {
  if (images.empty()) return false;
  int w = images[0].width, h = images[0].height;
  if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  for (const CBitmap32& b : images)
    if (b.width != w || b.height != h) return false;
  std::vector<int> textures;
  for (const CBitmap32& b : images) {
    int t = GR_Texture_Create(w, h, b.pixels.data());
    if (t < 0) {
      for (int made : textures) GR_Texture_Free(made);
      return false;
    }
    textures.push_back(t);
  }
  for (int t : ownTextures) GR_Texture_Free(t);
  ownTextures = textures;
  frames.clear();
  for (int t : textures) frames.push_back(TPage_Whole(t, w, h));
  bitmaps = std::move(images);
  numb = int(frames.size());
  width = w;
  height = h;
  ComputeBoundingBox();
  CreateMask();
  return true;
}

void CSprite::SetBboxMode(int mode) {
  bboxMode = mode;
  ComputeBoundingBox();
}

void CSprite::SetBbox(int left, int top, int right, int bottom) {
  if (bboxMode != BBOX_MANUAL) return;
  bboxLeft = left;
  bboxTop = top;
  bboxRight = right;
  bboxBottom = bottom;
}

void CSprite::SetPrecise(bool on) {
  precise = on ? 1 : 0;
  CreateMask();
}

void CSprite::ComputeBoundingBox() {
  if (bboxMode == BBOX_MANUAL) return;
  bboxLeft = 0;
  bboxTop = 0;
  bboxRight = std::max(width - 1, 0);
  bboxBottom = std::max(height - 1, 0);
  if (bboxMode != BBOX_AUTOMATIC) return;
  // The smallest box holding every solid pixel of every frame (from the
  // masks when the pixels cannot be had).
  int l = width, t = height, r = -1, b = -1;
  auto take = [&](int x, int y) {
    l = std::min(l, x);
    r = std::max(r, x);
    t = std::min(t, y);
    b = std::max(b, y);
  };
  std::vector<CBitmap32> readBack;
  const std::vector<CBitmap32>& images = bitmaps.empty() ? (readBack = AllFrameBitmaps()) : bitmaps;
  if (!images.empty()) {
    for (const CBitmap32& bmp : images)
      for (int y = 0; y < bmp.height; y++)
        for (int x = 0; x < bmp.width; x++)
          if (bmp.Row(y)[x] >> 24) take(x, y);
  } else {
    for (const auto& m : masks)
      for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
          if (size_t(y) * size_t(width) + size_t(x) < m.size() && m[size_t(y) * size_t(width) + size_t(x)]) take(x, y);
  }
  if (r < 0) return;  // nothing solid: keep the whole image
  bboxLeft = l;
  bboxTop = t;
  bboxRight = r;
  bboxBottom = b;
}

void CSprite::CreateMask() {
  if (!precise) {
    if (!bitmaps.empty()) masks.clear();  // made again from the pixels when needed
    return;
  }
  std::vector<CBitmap32> readBack;
  const std::vector<CBitmap32>& images = bitmaps.empty() ? (readBack = AllFrameBitmaps()) : bitmaps;
  if (images.empty()) return;  // masks from the package stay as they are
  masks.clear();
  for (const CBitmap32& bmp : images) {
    std::vector<uint8_t> m(size_t(width) * size_t(height), 0);
    for (int y = 0; y < height && y < bmp.height; y++)
      for (int x = 0; x < width && x < bmp.width; x++) m[size_t(y) * size_t(width) + size_t(x)] = (bmp.Row(y)[x] >> 24) ? 1 : 0;
    masks.push_back(std::move(m));
  }
}

bool CSprite::MaskBit(int subimg, int px, int py) const {
  int f = Frame(subimg);
  if (f < 0 || px < 0 || py < 0 || px >= width || py >= height) return false;
  if (!precise || masks.empty()) return px >= bboxLeft && px <= bboxRight && py >= bboxTop && py <= bboxBottom;
  const std::vector<uint8_t>& m = masks[size_t(f) % masks.size()];
  size_t i = size_t(py) * size_t(width) + size_t(px);
  return i < m.size() && m[i] != 0;
}

bool CSprite::PointHits(int subimg, float x, float y, float xscale, float yscale, float angle, float px,
                        float py) const {
  if (xscale == 0 || yscale == 0) return false;
  // Undo the drawing: rotation (counter-clockwise on screen), then scale.
  float dx = px - x, dy = py - y;
  if (angle != 0) {
    float a = angle * float(M_PI) / 180.0f, c = std::cos(a), s = std::sin(a);
    float rx = dx * c - dy * s, ry = dx * s + dy * c;
    dx = rx;
    dy = ry;
  }
  float fx = dx / xscale + float(xorig), fy = dy / yscale + float(yorig);
  // Outside the image (or not a number): no pixel to test.
  if (!(fx >= 0 && fx < float(width) && fy >= 0 && fy < float(height))) return false;
  return MaskBit(subimg, int(fx), int(fy));
}

bool CSprite::CollisionLine(float x1, float y1, float x2, float y2, int subimg, float x, float y,
                            float xscale, float yscale, float angle, int bl, int bt, int br, int bb) const {
  if (!HasPreciseMask() || Frame(subimg) < 0) return true;
  float dx = x2 - x1, dy = y2 - y1;
  bool alongX = std::fabs(dx) >= std::fabs(dy);
  float from = alongX ? std::min(x1, x2) : std::min(y1, y2);
  float to = alongX ? std::max(x1, x2) : std::max(y1, y2);
  from = std::max(from, float(alongX ? bl : bt));
  to = std::min(to, float(alongX ? br : bb));
  // Whole steps counted in 64 bits: a float would stop advancing on a long line.
  if (!(from <= to)) return false;
  for (int64_t i = int64_t(std::ceil(from)), last = int64_t(std::floor(to)); i <= last; i++) {
    float s = float(i);
    float px = alongX ? s : x1 + (s - y1) * dx / dy;
    float py = alongX ? y1 + (s - x1) * dy / dx : s;
    if (!(px >= bl && px < br + 1 && py >= bt && py < bb + 1)) continue;
    if (PointHits(subimg, x, y, xscale, yscale, angle, std::floor(px) + 0.5f, std::floor(py) + 0.5f)) return true;
  }
  return false;
}

void CSprite::Draw(int subimg, float x, float y, float xscale, float yscale, float angle, uint32_t colour,
                   float alpha) const {
  const TPageEntry* e = GetFrame(subimg);
  if (!e) return;
  if (angle == 0) {
    // Nothing to do for an unrotated image wholly outside an unrotated view.
    float vx, vy, vw, vh, va;
    Graphics_GetView(&vx, &vy, &vw, &vh, &va);
    float l = x - xorig * xscale, r = l + width * xscale, t = y - yorig * yscale, b = t + height * yscale;
    if (va == 0 && (std::max(l, r) < vx || std::min(l, r) > vx + vw || std::max(t, b) < vy || std::min(t, b) > vy + vh))
      return;
  }
  GR_TPage_Draw(e, float(xorig), float(yorig), x, y, xscale, yscale, angle, colour, alpha);
}

void CSprite::DrawSimple(int subimg, float x, float y) const { Draw(subimg, x, y, 1, 1, 0, 0xFFFFFF, GR_GetAlpha()); }

void CSprite::DrawPos(int subimg, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                      uint32_t colour, float alpha) const {
  if (const TPageEntry* e = GetFrame(subimg)) GR_TPage_DrawPos(e, x1, y1, x2, y2, x3, y3, x4, y4, colour, alpha);
}

void CSprite::DrawPart(int subimg, float left, float top, float w, float h, float x, float y, float xscale,
                       float yscale, uint32_t colour, float alpha) const {
  if (const TPageEntry* e = GetFrame(subimg)) GR_TPage_DrawPart(e, left, top, w, h, x, y, xscale, yscale, colour, alpha);
}

void CSprite::DrawGeneral(int subimg, float left, float top, float w, float h, float x, float y, float xscale,
                          float yscale, float angle, uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4,
                          float alpha) const {
  if (const TPageEntry* e = GetFrame(subimg))
    GR_TPage_DrawGeneral(e, left, top, w, h, x, y, xscale, yscale, angle, c1, c2, c3, c4, alpha);
}

void CSprite::DrawStretched(int subimg, float x, float y, float w, float h, uint32_t colour, float alpha) const {
  const TPageEntry* e = GetFrame(subimg);
  if (!e || width <= 0 || height <= 0) return;
  GR_TPage_Draw(e, 0, 0, x, y, w / float(width), h / float(height), 0, colour, alpha);
}

void CSprite::DrawTiled(int subimg, float x, float y, float xscale, float yscale, bool htiled, bool vtiled,
                        float areaLeft, float areaTop, float areaWidth, float areaHeight, uint32_t colour,
                        float alpha) const {
  if (const TPageEntry* e = GetFrame(subimg))
    GR_TPage_DrawTiled(e, float(xorig), float(yorig), x, y, xscale, yscale, htiled, vtiled, areaLeft, areaTop,
                       areaWidth, areaHeight, colour, alpha);
}

namespace {

// The sprite's settings that survive a change of images.
struct Settings {
  bool precise, transparent, smooth, preload;
  int xorig, yorig;
};

void Apply(CSprite& s, const Settings& k) {
  s.precise = k.precise;
  s.transparent = k.transparent;
  s.smooth = k.smooth;
  s.preload = k.preload;
  s.xorig = k.xorig;
  s.yorig = k.yorig;
}

// A copy of the image on a canvas of another size (top-left kept).
CBitmap32 Fit(const CBitmap32& image, int w, int h) {
  if (image.width == w && image.height == h) return image;
  CBitmap32 out(w, h);
  for (int y = 0; y < std::min(h, image.height); y++)
    for (int x = 0; x < std::min(w, image.width); x++) out.Row(y)[x] = image.Row(y)[x];
  return out;
}

}  // namespace

bool CSprite::LoadFromFile(const char* path, int imageCount, bool precise_, bool transparent_, bool smooth_,
                           bool preload_, int xorig_, int yorig_) {
  std::vector<CBitmap32> decoded;
  return GR_Image_Load(path, decoded) &&
         SetFromImage(std::move(decoded), imageCount, precise_, transparent_, smooth_, preload_, xorig_, yorig_);
}

bool CSprite::LoadFromMemory(const void* data, size_t size, int imageCount, bool precise_, bool transparent_,
                             bool smooth_, bool preload_, int xorig_, int yorig_) {
  std::vector<CBitmap32> decoded;
  return GR_Image_Decode(data, size, decoded) &&
         SetFromImage(std::move(decoded), imageCount, precise_, transparent_, smooth_, preload_, xorig_, yorig_);
}

bool CSprite::SetFromImage(std::vector<CBitmap32>&& decoded, int imageCount, bool precise_, bool transparent_,
                           bool smooth_, bool preload_, int xorig_, int yorig_) {
  if (decoded.empty()) return false;
  // The key colour is the whole picture's, before it is cut into images.
  if (transparent_)
    for (CBitmap32& b : decoded) GR_Image_MakeTransparent(b);
  std::vector<CBitmap32> images;
  if (decoded.size() > 1) {
    images = std::move(decoded);
  } else {
    const CBitmap32& strip = decoded[0];
    int n = std::clamp(imageCount, 1, std::max(strip.width, 1));
    int w = strip.width / n;
    if (w < 1) return false;
    for (int i = 0; i < n; i++) {
      CBitmap32 frame(w, strip.height);
      for (int y = 0; y < strip.height; y++)
        std::copy(strip.Row(y) + i * w, strip.Row(y) + (i + 1) * w, frame.Row(y));
      images.push_back(std::move(frame));
    }
  }
  Settings keep{precise_, transparent_, smooth_, preload_, xorig_, yorig_};
  precise = precise_;
  if (!SetFromBitmaps(std::move(images))) return false;
  Apply(*this, keep);
  return true;
}

bool CSprite::CreateFromBitmap(CBitmap32&& image, bool precise_, bool transparent_, bool smooth_, bool preload_,
                               int xorig_, int yorig_) {
  if (transparent_) GR_Image_MakeTransparent(image);
  std::vector<CBitmap32> images;
  images.push_back(std::move(image));
  precise = precise_;
  if (!SetFromBitmaps(std::move(images))) return false;
  Apply(*this, {precise_, transparent_, smooth_, preload_, xorig_, yorig_});
  return true;
}

bool CSprite::AddBitmap(const CBitmap32& image) {
  std::vector<CBitmap32> images = AllFrameBitmaps();
  if (images.size() != frames.size()) return false;
  images.push_back(images.empty() ? image : Fit(image, width, height));
  return SetFromBitmaps(std::move(images));
}

bool CSprite::GetFrameBitmap(int index, CBitmap32& out) const {
  if (index < 0 || size_t(index) >= frames.size()) return false;
  if (size_t(index) < bitmaps.size()) {
    out = bitmaps[size_t(index)];
    return true;
  }
  return Graphics_GrabTPage(frames[size_t(index)], out);
}

std::vector<CBitmap32> CSprite::AllFrameBitmaps() const {
  std::vector<CBitmap32> out(frames.size());
  for (size_t i = 0; i < frames.size(); i++)
    if (!GetFrameBitmap(int(i), out[i])) return {};
  return out;
}

bool CSprite::CopyFrom(const CSprite& src) {
  if (&src == this) return true;
  std::vector<CBitmap32> images = src.AllFrameBitmaps();
  if (images.size() != src.frames.size()) return false;
  bboxMode = src.bboxMode;
  precise = src.precise;
  if (images.empty()) {
    for (int t : ownTextures) GR_Texture_Free(t);
    ownTextures.clear();
    frames.clear();
    bitmaps.clear();
    masks.clear();
    numb = 0;
    width = src.width;
    height = src.height;
  } else if (!SetFromBitmaps(std::move(images))) {
    return false;
  }
  bboxLeft = src.bboxLeft;
  bboxTop = src.bboxTop;
  bboxRight = src.bboxRight;
  bboxBottom = src.bboxBottom;
  Apply(*this, {bool(src.precise), bool(src.transparent), bool(src.smooth), bool(src.preload), src.xorig, src.yorig});
  return true;
}

bool CSprite::Merge(const CSprite& src) {
  std::vector<CBitmap32> images = AllFrameBitmaps(), more = src.AllFrameBitmaps();
  if (images.size() != frames.size() || more.size() != src.frames.size()) return false;
  int w = images.empty() ? src.width : width, h = images.empty() ? src.height : height;
  for (const CBitmap32& b : more) images.push_back(Fit(b, w, h));
  return images.empty() || SetFromBitmaps(std::move(images));
}

bool CSprite::SetAlphaFromSprite(const CSprite& src) {
  std::vector<CBitmap32> images = AllFrameBitmaps(), alpha = src.AllFrameBitmaps();
  if (images.empty() || alpha.empty()) return false;
  for (size_t i = 0; i < images.size(); i++) GR_Image_AlphaFromIntensity(images[i], alpha[i % alpha.size()]);
  return SetFromBitmaps(std::move(images));
}
