// Drawing a particle system: each particle is its shape's image (or its
// sprite's frame) scaled by its size and the type's scale, turned by its
// orientation and tinted with its colour and alpha, at its position plus
// the system's. Every particle goes through the vertex batch, so particles
// on the same texture with the same blending share draw calls.
#include <algorithm>
#include <cmath>

#include "Graphics/Graphics_Draw.h"
#include "Graphics_API/Graphics_Device.h"
#include "Particle/Particle_Shapes.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"
#include "Sprite/Sprite_Main.h"

namespace {
// The frame of an animated sprite: one per update, or the whole animation
// spread over the life.
int SpriteFrame(const SParticle& p, const CParticleType& t, int frames) {
  if (!t.spriteAnimate) return p.frame;
  if (t.spriteStretch) return p.frame + int(int64_t(p.age) * frames / std::max(1, p.life));
  return p.frame + p.age;
}

float Direction(const SParticle& p) {
  if (p.vx == 0 && p.vy == 0) return p.dir;
  return std::atan2(-p.vy, p.vx) * float(180.0 / M_PI);
}

void DrawParticle(const SParticle& p, float ox, float oy) {
  const CParticleType& t = *p.type;
  float wave = t.sizeWiggle != 0 || t.angWiggle != 0 ? Particle_Wave(p) : 0;
  float size = std::max(0.0f, p.size + t.sizeWiggle * wave);
  float angle = p.ang + t.angWiggle * wave + (t.angRelative ? Direction(p) : 0);
  const TPageEntry* tpe = nullptr;
  float xorig = PARTICLE_SHAPE_SIZE / 2, yorig = PARTICLE_SHAPE_SIZE / 2;
  if (t.sprite >= 0) {
    const CSprite* s = Sprite_Data(t.sprite);
    if (!s || s->frames.empty()) return;
    tpe = s->GetFrame(SpriteFrame(p, t, int(s->frames.size())));
    xorig = float(s->xorig);
    yorig = float(s->yorig);
  } else {
    tpe = Particle_ShapeEntry(t.shape);
  }
  GR_TPage_Draw(tpe, xorig, yorig, ox + p.x, oy + p.y, size * t.xscale, size * t.yscale, angle, p.colour, p.alpha);
}
}  // namespace

void CParticleSystem::Draw() {
  if (particles.empty()) return;
  // Normal blending is whatever blending was in force; additive types add.
  uint32_t src = Graphics_GetRenderState(RS_SRCBLEND), dest = Graphics_GetRenderState(RS_DESTBLEND);
  bool adding = false;
  auto one = [&](const SParticle& p) {
    if (p.type->additive != adding) {
      adding = p.type->additive;
      if (adding) GR_SetBlendMode(1);
      else GR_SetBlendModeExt(int(src), int(dest));
    }
    DrawParticle(p, x, y);
  };
  if (oldToNew) std::for_each(particles.begin(), particles.end(), one);
  else std::for_each(particles.rbegin(), particles.rend(), one);
  if (adding) GR_SetBlendModeExt(int(src), int(dest));
}
