// The effects. Each kind is one or two particle types per size, made on
// first use, and a number of particles made at once in the effect's colour
// (s below is 1, 2 or 3 for small, medium and large):
//  explosion: a growing ragged blast fading in 10-14 steps, and 6/12/24
//             smoke puffs drifting out from it;
//  ring, ellipse: a soft ring growing and fading in 12 steps (the ellipse
//             half as high as wide);
//  firework:  30/60/100 flares flying out in every direction, slowing and
//             falling a little, gone in 25-35 steps;
//  smoke, smokeup: 3/6/10 slowly growing puffs around the point, fading in
//             30-40 steps; smokeup's rise;
//  star, spark, flare: one spinning star, one shrinking spark, one glow,
//             fading in 20, 15 and 20 steps;
//  cloud:     one large puff that fades in and out over 80-100 steps;
//  rain, snow: 2/4/8 drops or 1/2/4 flakes from above the area, at random
//             across it, falling until they have crossed it.
#include "Particle/Particle_Effect.h"

#include <algorithm>
#include <cmath>

#include "Base/Random_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

namespace {
void (*g_AreaSize)(float* width, float* height) = nullptr;
CParticleSystem* g_Below = nullptr;
CParticleSystem* g_Above = nullptr;
CParticleType* g_Types[EF_KIND_COUNT][3][2] = {};

CParticleSystem& System(bool below) {
  CParticleSystem*& s = below ? g_Below : g_Above;
  if (!s) s = new CParticleSystem();
  return *s;
}

void Area(float* width, float* height) {
  if (g_AreaSize) {
    g_AreaSize(width, height);
  } else {
    *width = float(GR_Window_GetWidth());
    *height = float(GR_Window_GetHeight());
  }
}

void Motion(CParticleType& t, float speedMin, float speedMax, float dirMin, float dirMax) {
  t.speedMin = speedMin;
  t.speedMax = speedMax;
  t.dirMin = dirMin;
  t.dirMax = dirMax;
}

// The settings of part 0 or 1 of a kind at scale s.
void Setup(CParticleType& t, int kind, int part, float s) {
  switch (kind) {
    case EF_EXPLOSION:
      if (part == 0) {
        t.shape = PT_SHAPE_EXPLOSION;
        t.SetSize(0.1f * s, 0.1f * s, 0.05f * s, 0);
        t.SetLife(10, 14);
        t.SetAlpha(1, 0.8f, 0);
      } else {
        t.shape = PT_SHAPE_SMOKE;
        t.SetSize(0.15f * s, 0.25f * s, 0.01f * s, 0);
        Motion(t, 0.5f * s, 1.2f * s, 0, 360);
        t.speedIncr = -0.02f * s;
        t.SetLife(20, 30);
        t.SetAlpha(0.6f, 0.3f, 0);
      }
      break;
    case EF_RING:
    case EF_ELLIPSE:
      t.shape = PT_SHAPE_RING;
      t.SetSize(0.1f * s, 0.1f * s, 0.08f * s, 0);
      if (kind == EF_ELLIPSE) t.yscale = 0.5f;
      t.SetLife(12, 12);
      t.SetAlpha(1, 0.6f, 0);
      break;
    case EF_FIREWORK:
      t.shape = PT_SHAPE_FLARE;
      t.SetSize(0.08f * s, 0.12f * s, 0, 0);
      Motion(t, 1.5f * s, 3 * s, 0, 360);
      t.speedIncr = -0.03f * s;
      t.SetGravity(0.05f, 270);
      t.SetLife(25, 35);
      t.SetAlpha(1, 1, 0);
      break;
    case EF_SMOKE:
    case EF_SMOKEUP:
      t.shape = PT_SHAPE_SMOKE;
      t.SetSize(0.2f * s, 0.3f * s, 0.005f * s, 0);
      if (kind == EF_SMOKE) Motion(t, 0, 0.2f * s, 0, 360);
      else Motion(t, 0.5f * s, 1 * s, 80, 100);
      t.SetLife(30, 40);
      t.SetAlpha(0.8f, 0.4f, 0);
      break;
    case EF_STAR:
      t.shape = PT_SHAPE_STAR;
      t.SetSize(0.3f * s, 0.3f * s, -0.01f * s, 0);
      t.angMax = 360;
      t.angIncr = 5;
      t.SetLife(20, 20);
      t.SetAlpha(1, 1, 0);
      break;
    case EF_SPARK:
      t.shape = PT_SHAPE_SPARK;
      t.SetSize(0.3f * s, 0.3f * s, -0.015f * s, 0);
      t.angMax = 360;
      t.SetLife(15, 15);
      t.SetAlpha(1, 0.8f, 0);
      break;
    case EF_FLARE:
      t.shape = PT_SHAPE_FLARE;
      t.SetSize(0.6f * s, 0.6f * s, 0, 0);
      t.SetLife(20, 20);
      t.SetAlpha(1, 0.5f, 0);
      break;
    case EF_CLOUD:
      t.shape = PT_SHAPE_CLOUD;
      t.SetSize(1 * s, 1.2f * s, 0, 0);
      t.yscale = 0.6f;
      Motion(t, 0.1f, 0.2f, 0, 0);
      t.SetLife(80, 100);
      t.SetAlpha(0, 0.5f, 0);
      break;
    case EF_RAIN:
      t.shape = PT_SHAPE_LINE;
      t.SetSize(0.2f * s, 0.2f * s, 0, 0);
      Motion(t, 7, 9, 260, 260);
      t.angRelative = true;
      t.SetAlpha(0.8f, 0.8f, 0.8f);
      break;
    case EF_SNOW:
      t.shape = PT_SHAPE_SNOW;
      t.SetSize(0.08f * s, 0.12f * s, 0, 0);
      Motion(t, 1, 2, 260, 280);
      t.dirWiggle = 10;
      t.angMax = 360;
      t.angIncr = 1;
      break;
  }
}

CParticleType* TypeOf(int kind, int size, int part) {
  CParticleType*& t = g_Types[kind][size][part];
  if (!t) {
    t = new CParticleType();
    Setup(*t, kind, part, float(size + 1));
  }
  return t;
}

// Rain and snow start above the area, spread across it (and as far to the
// side as their slant carries them), and live until they have crossed it.
void Fall(CParticleSystem& ps, CParticleType* t, int number, uint32_t colour) {
  float width, height;
  Area(&width, &height);
  float slowest = std::max(0.5f, t->speedMin * 0.9f);
  int life = int(std::min(std::ceil((height + 40) / slowest), 1e6f));
  t->lifeMin = t->lifeMax = life;
  float drift = (height + 40) * 0.2f;
  for (int i = 0; i < number; i++) {
    float x = -drift + (width + 2 * drift) * Random_Real();
    ps.Create(t, x, -20, 1, true, colour);
  }
}
}  // namespace

void Effect_SetAreaSize(void (*areaSize)(float* width, float* height)) { g_AreaSize = areaSize; }

void Effect_Create(bool below, int kind, double x, float y, int size, uint32_t colour) {
  if (kind < 0 || kind >= EF_KIND_COUNT) return;
  size = std::clamp(size, 0, 2);
  CParticleSystem& ps = System(below);
  float px = float(x);
  auto make = [&](int part, int number) { ps.Create(TypeOf(kind, size, part), px, y, number, true, colour); };
  static const int kExplosionSmoke[3] = {6, 12, 24}, kFirework[3] = {30, 60, 100}, kSmoke[3] = {3, 6, 10};
  static const int kRain[3] = {2, 4, 8}, kSnow[3] = {1, 2, 4};
  switch (kind) {
    case EF_EXPLOSION:
      make(1, kExplosionSmoke[size]);
      make(0, 1);
      break;
    case EF_FIREWORK:
      make(0, kFirework[size]);
      break;
    case EF_SMOKE:
    case EF_SMOKEUP:
      for (int i = 0; i < kSmoke[size]; i++) {
        float spread = 4.0f * float(size + 1);
        ps.Create(TypeOf(kind, size, 0), px + spread * (2 * Random_Real() - 1), y + spread * (2 * Random_Real() - 1), 1,
                  true, colour);
      }
      break;
    case EF_RAIN:
      Fall(ps, TypeOf(kind, size, 0), kRain[size], colour);
      break;
    case EF_SNOW:
      Fall(ps, TypeOf(kind, size, 0), kSnow[size], colour);
      break;
    default:
      make(0, 1);
      break;
  }
}

void Effect_Clear() {
  for (CParticleSystem* s : {g_Below, g_Above})
    if (s) s->particles.clear();
}

void Effect_Update() {
  for (CParticleSystem* s : {g_Below, g_Above})
    if (s) s->Update();
}

void Effect_Draw(bool below) {
  if (CParticleSystem* s = below ? g_Below : g_Above) s->Draw();
}

void Effect_FreeAll() {
  delete g_Below;
  delete g_Above;
  g_Below = g_Above = nullptr;
  for (auto& kind : g_Types)
    for (auto& size : kind)
      for (CParticleType*& t : size) {
        delete t;
        t = nullptr;
      }
}
