#include "Particle/Particle_Type.h"

#include <cmath>
#include <vector>

#include "Particle/Particle_System.h"

namespace {
std::vector<CParticleType*> g_Types;

// Runs the change on the type the id names, if any.
template <class F>
void With(int id, F change) {
  if (CParticleType* t = ParticleType_Get(id)) change(*t);
}
}  // namespace

void CParticleType::SetSize(float min, float max, float incr, float wiggle) {
  sizeMin = min;
  sizeMax = max;
  sizeIncr = incr;
  sizeWiggle = wiggle;
}

void CParticleType::SetLife(int min, int max) {
  lifeMin = min;
  lifeMax = max;
}

void CParticleType::SetAlpha(float a1, float a2, float a3) {
  alpha[0] = a1;
  alpha[1] = a2;
  alpha[2] = a3;
}

void CParticleType::SetGravity(float amount, float direction) {
  gravAmount = amount;
  gravDir = direction;
  float rad = direction * float(M_PI / 180.0);
  gravX = amount * std::cos(rad);
  gravY = -amount * std::sin(rad);
}

int ParticleType_Create() {
  size_t i = 0;
  while (i < g_Types.size() && g_Types[i]) ++i;
  if (i == g_Types.size()) g_Types.push_back(nullptr);
  g_Types[i] = new CParticleType();
  return int(i);
}

CParticleType* ParticleType_Get(int id) {
  return id >= 0 && size_t(id) < g_Types.size() ? g_Types[size_t(id)] : nullptr;
}

bool ParticleType_Exists(int id) { return ParticleType_Get(id) != nullptr; }

// Nothing may keep naming a destroyed type: a later type in the same slot
// is another type, and the old one's memory is gone.
void ParticleType_Destroy(int id) {
  CParticleType* gone = ParticleType_Get(id);
  if (!gone) return;
  for (CParticleType* t : g_Types) {
    if (!t) continue;
    if (t->stepType == gone) t->stepType = nullptr;
    if (t->deathType == gone) t->deathType = nullptr;
  }
  ParticleSystem_ForgetType(gone);
  g_Types[size_t(id)] = nullptr;
  delete gone;
}

void ParticleType_DestroyAll() {
  for (size_t i = 0; i < g_Types.size(); i++) ParticleType_Destroy(int(i));
  g_Types.clear();
}

void ParticleType_Reset(int id) {
  With(id, [](CParticleType& t) { t = CParticleType(); });
}

void ParticleType_SetShape(int id, int shape) {
  With(id, [=](CParticleType& t) {
    t.shape = shape;
    t.sprite = -1;
  });
}

void ParticleType_SetSprite(int id, int sprite, bool animate, bool stretch, bool random) {
  With(id, [=](CParticleType& t) {
    t.sprite = sprite;
    t.spriteAnimate = animate;
    t.spriteStretch = stretch;
    t.spriteRandom = random;
  });
}

void ParticleType_SetSize(int id, float sizeMin, float sizeMax, float incr, float wiggle) {
  With(id, [=](CParticleType& t) { t.SetSize(sizeMin, sizeMax, incr, wiggle); });
}

void ParticleType_SetScale(int id, float xscale, float yscale) {
  With(id, [=](CParticleType& t) {
    t.xscale = xscale;
    t.yscale = yscale;
  });
}

void ParticleType_SetLife(int id, int lifeMin, int lifeMax) {
  With(id, [=](CParticleType& t) { t.SetLife(lifeMin, lifeMax); });
}

void ParticleType_SetStep(int id, int number, int type) {
  CParticleType* made = ParticleType_Get(type);
  With(id, [=](CParticleType& t) {
    t.stepNumber = number;
    t.stepType = made;
  });
}

void ParticleType_SetDeath(int id, int number, int type) {
  CParticleType* made = ParticleType_Get(type);
  With(id, [=](CParticleType& t) {
    t.deathNumber = number;
    t.deathType = made;
  });
}

void ParticleType_SetSpeed(int id, float speedMin, float speedMax, float incr, float wiggle) {
  With(id, [=](CParticleType& t) {
    t.speedMin = speedMin;
    t.speedMax = speedMax;
    t.speedIncr = incr;
    t.speedWiggle = wiggle;
  });
}

void ParticleType_SetDirection(int id, float dirMin, float dirMax, float incr, float wiggle) {
  With(id, [=](CParticleType& t) {
    t.dirMin = dirMin;
    t.dirMax = dirMax;
    t.dirIncr = incr;
    t.dirWiggle = wiggle;
  });
}

void ParticleType_SetOrientation(int id, float angMin, float angMax, float incr, float wiggle, bool relative) {
  With(id, [=](CParticleType& t) {
    t.angMin = angMin;
    t.angMax = angMax;
    t.angIncr = incr;
    t.angWiggle = wiggle;
    t.angRelative = relative;
  });
}

void ParticleType_SetGravity(int id, float amount, float direction) {
  With(id, [=](CParticleType& t) { t.SetGravity(amount, direction); });
}

void ParticleType_SetColour1(int id, uint32_t c1) {
  With(id, [=](CParticleType& t) {
    t.colourMode = ParticleColour::One;
    t.colour[0] = t.colour[1] = t.colour[2] = c1;
  });
}

void ParticleType_SetColour2(int id, uint32_t c1, uint32_t c2) {
  With(id, [=](CParticleType& t) {
    t.colourMode = ParticleColour::Two;
    t.colour[0] = c1;
    t.colour[1] = t.colour[2] = c2;
  });
}

void ParticleType_SetColour3(int id, uint32_t c1, uint32_t c2, uint32_t c3) {
  With(id, [=](CParticleType& t) {
    t.colourMode = ParticleColour::Three;
    t.colour[0] = c1;
    t.colour[1] = c2;
    t.colour[2] = c3;
  });
}

void ParticleType_SetColourMix(int id, uint32_t c1, uint32_t c2) {
  With(id, [=](CParticleType& t) {
    t.colourMode = ParticleColour::Mix;
    t.colour[0] = c1;
    t.colour[1] = t.colour[2] = c2;
  });
}

namespace {
void SetChannels(int id, ParticleColour mode, const int (&ranges)[6]) {
  With(id, [&](CParticleType& t) {
    t.colourMode = mode;
    for (int i = 0; i < 6; i++) t.channel[i] = ranges[i];
  });
}
}  // namespace

void ParticleType_SetColourRGB(int id, int rmin, int rmax, int gmin, int gmax, int bmin, int bmax) {
  SetChannels(id, ParticleColour::RGB, {rmin, rmax, gmin, gmax, bmin, bmax});
}

void ParticleType_SetColourHSV(int id, int hmin, int hmax, int smin, int smax, int vmin, int vmax) {
  SetChannels(id, ParticleColour::HSV, {hmin, hmax, smin, smax, vmin, vmax});
}

void ParticleType_SetAlpha1(int id, float a1) { ParticleType_SetAlpha3(id, a1, a1, a1); }

// Two alphas change evenly over the whole life: the middle one lies halfway.
void ParticleType_SetAlpha2(int id, float a1, float a2) { ParticleType_SetAlpha3(id, a1, (a1 + a2) / 2, a2); }

void ParticleType_SetAlpha3(int id, float a1, float a2, float a3) {
  With(id, [=](CParticleType& t) { t.SetAlpha(a1, a2, a3); });
}

void ParticleType_SetBlend(int id, bool additive) {
  With(id, [=](CParticleType& t) { t.additive = additive; });
}
