#include "Particle/Particle_Shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Particle/Particle_Type.h"

namespace {
constexpr int kSize = PARTICLE_SHAPE_SIZE;
// Each image sits in a cell with its own half of the gap about it, which
// repeats its edge (TPage_Extrude).
constexpr int kBorder = kTPageGap / 2;
constexpr int kCell = kSize + kTPageGap;
constexpr int kColumns = 4;
constexpr int kRows = (PT_SHAPE_COUNT + kColumns - 1) / kColumns;
// Samples per pixel along each axis: edges come out smooth.
constexpr int kSamples = 4;

int g_Texture = -1;
bool g_Filled = false;  // the texture holds the shapes' pixels
TPageEntry g_Entries[PT_SHAPE_COUNT];

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// Value noise on a grid of the given cell count, smooth between grid points;
// the same numbers on every run.
float Hash(int x, int y) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float Noise(float x, float y) {
  int ix = int(std::floor(x)), iy = int(std::floor(y));
  float fx = x - ix, fy = y - iy;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  float a = Hash(ix, iy), b = Hash(ix + 1, iy), c = Hash(ix, iy + 1), d = Hash(ix + 1, iy + 1);
  return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}

// Three octaves of noise over the image (x, y in -1..1): 0..1.
float Turbulence(float x, float y, int seed) {
  float sum = 0, amp = 0.5f, freq = 3;
  for (int i = 0; i < 3; i++) {
    sum += amp * Noise((x + 1) * freq + seed * 17, (y + 1) * freq + seed * 31);
    amp /= 2;
    freq *= 2;
  }
  return sum / 0.875f;
}

// Distance from (x, y) to the segment from the centre to (ex, ey).
float ToArm(float x, float y, float ex, float ey) {
  float t = Clamp01((x * ex + y * ey) / (ex * ex + ey * ey));
  float dx = x - ex * t, dy = y - ey * t;
  return std::sqrt(dx * dx + dy * dy);
}

// Coverage of one sample point; x and y run from -1 to 1 over the image.
float Sample(int shape, float x, float y) {
  float r = std::sqrt(x * x + y * y);
  float a = std::atan2(y, x);
  switch (shape) {
    case PT_SHAPE_PIXEL:  // the two by two pixels at the centre
      return std::fabs(x) < 2.0f / kSize && std::fabs(y) < 2.0f / kSize ? 1 : 0;
    case PT_SHAPE_DISK:
      return r <= 1 ? 1 : 0;
    case PT_SHAPE_SQUARE:
      return 1;
    case PT_SHAPE_LINE:  // a horizontal bar fading at its ends
      return std::fabs(y) <= 3.0f / kSize ? Clamp01((1 - std::fabs(x)) * 4) : 0;
    case PT_SHAPE_STAR: {  // five points, one upwards
      float period = 2 * float(M_PI) / 5;
      float f = std::fmod(a + float(M_PI) / 2 + 4 * float(M_PI), period) / period;
      float edge = 0.38f + (0.98f - 0.38f) * std::fabs(1 - 2 * f);
      return r <= edge ? 1 : 0;
    }
    case PT_SHAPE_CIRCLE:  // a thin outline
      return std::fabs(r - 0.9f) <= 0.07f ? 1 : 0;
    case PT_SHAPE_RING:  // a soft, thick ring
      return std::exp(-((r - 0.65f) / 0.17f) * ((r - 0.65f) / 0.17f)) * (r < 1 ? 1 : 0);
    case PT_SHAPE_SPHERE:  // a ball, solid at the centre and thinning to its edge
      return r < 1 ? std::sqrt(1 - r * r) : 0;
    case PT_SHAPE_FLARE: {  // a glow with a faint cross of rays
      float glow = std::pow(Clamp01(1 - r), 3.0f);
      float rays = Clamp01(1 - std::min(std::fabs(x), std::fabs(y)) * 24) * Clamp01(1 - r) * 0.6f;
      return Clamp01(glow + rays);
    }
    case PT_SHAPE_SPARK: {  // four thin points and a small bright core
      auto ray = [](float along, float across) {
        float reach = 1 - std::fabs(along);
        return reach <= 0 ? 0.0f : Clamp01(1 - std::fabs(across) / (0.12f * reach + 0.01f)) * reach;
      };
      return Clamp01(std::max(ray(x, y), ray(y, x)) + std::pow(Clamp01(1 - r * 4), 2.0f));
    }
    case PT_SHAPE_EXPLOSION: {  // a ragged, dense blob
      float edge = 0.62f + 0.35f * Turbulence(std::cos(a), std::sin(a), 1);
      float inside = Clamp01((edge - r) * 8);
      return inside * (0.7f + 0.3f * Turbulence(x, y, 2));
    }
    case PT_SHAPE_CLOUD:  // a soft, lumpy puff
      return Clamp01((1 - r) * 2) * Clamp01(0.3f + Turbulence(x, y, 3));
    case PT_SHAPE_SMOKE:  // thinner and more broken than a cloud
      return Clamp01((1 - r) * 1.5f) * Clamp01(Turbulence(x, y, 4) * 1.4f - 0.3f) * 0.8f;
    case PT_SHAPE_SNOW: {  // six arms, each with a pair of twigs
      float d = 1;
      for (int k = 0; k < 6; k++) {
        float ang = float(k) * float(M_PI) / 3, c = std::cos(ang), s = std::sin(ang);
        d = std::min(d, ToArm(x, y, c * 0.95f, s * 0.95f));
        for (int side = -1; side <= 1; side += 2) {
          float tc = std::cos(ang + side * 0.8f), ts = std::sin(ang + side * 0.8f);
          d = std::min(d, ToArm(x - c * 0.5f, y - s * 0.5f, tc * 0.3f, ts * 0.3f));
        }
      }
      return d <= 0.06f ? 1 : 0;
    }
    default:
      return 0;
  }
}
}  // namespace

uint8_t Particle_ShapeAlpha(int shape, int x, int y) {
  float sum = 0;
  for (int sy = 0; sy < kSamples; sy++)
    for (int sx = 0; sx < kSamples; sx++) {
      float fx = (x + (sx + 0.5f) / kSamples) * 2 / kSize - 1;
      float fy = (y + (sy + 0.5f) / kSamples) * 2 / kSize - 1;
      sum += Sample(shape, fx, fy);
    }
  return uint8_t(std::lround(Clamp01(sum / (kSamples * kSamples)) * 255));
}

// The texture is made at start-up, so that its id comes before the game's
// own; its pixels take a while to work out and are drawn in at first use.
void Particle_CreateTextures() {
  Particle_FreeTextures();
  g_Texture = GR_Texture_Create(kColumns * kCell, kRows * kCell, nullptr);
  g_Filled = false;
  if (g_Texture < 0) return;
  for (int s = 0; s < PT_SHAPE_COUNT; s++) {
    TPageEntry& e = g_Entries[s];
    e = TPage_Whole(g_Texture, kSize, kSize);
    e.x = int16_t((s % kColumns) * kCell + kBorder);
    e.y = int16_t((s / kColumns) * kCell + kBorder);
  }
}

namespace {
void FillTexture() {
  const int width = kColumns * kCell, height = kRows * kCell;
  std::vector<uint32_t> argb(size_t(width) * height, 0x00FFFFFFu);
  for (int s = 0; s < PT_SHAPE_COUNT; s++) {
    const TPageEntry& e = g_Entries[s];
    for (int y = 0; y < kSize; y++)
      for (int x = 0; x < kSize; x++)
        argb[size_t(e.y + y) * width + size_t(e.x + x)] = uint32_t(Particle_ShapeAlpha(s, x, y)) << 24 | 0xFFFFFFu;
    TPage_Extrude(argb.data(), width, height, e.x, e.y, kSize, kSize);
  }
  Device_Texture_Update(GR_Texture_Get(g_Texture)->glTexture, 0, 0, width, height, argb.data());
  g_Filled = true;
}
}  // namespace

void Particle_FreeTextures() {
  if (g_Texture >= 0) GR_Texture_Free(g_Texture);
  g_Texture = -1;
}
// The shapes' texture goes when the textures do; it is made again on use.
static const bool g_OwnsTextures = GR_Texture_AddOwner(Particle_FreeTextures);

const TPageEntry* Particle_ShapeEntry(int shape) {
  if (shape < 0 || shape >= PT_SHAPE_COUNT) return nullptr;
  if (g_Texture < 0 || !GR_Texture_Exists(g_Texture)) Particle_CreateTextures();
  if (g_Texture >= 0 && !g_Filled) FillTexture();
  return g_Texture >= 0 ? &g_Entries[shape] : nullptr;
}
