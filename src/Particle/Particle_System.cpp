// One update of a particle system, in this order:
//  1. Every particle lives one update more. One that has lived its life (a
//     life of 3 survives two updates and goes in the third) is removed and
//     makes its death particles where it was. The others change their speed
//     and direction by their increments (the wiggles swing around that
//     course), add the gravity to their motion, move, grow, turn, take the
//     colour and alpha for the part of their life spent, and make their step
//     particles.
//  2. The emitters' streams make their particles.
//  3. Attractors pull (or, with a negative force, push) the particles within
//     their distance; destroyers remove the particles inside them;
//     deflectors bounce the particles that entered them; changers turn the
//     particles of one type inside them into another type.
// Particles made during an update (death, step and stream particles) are
// first moved in the next update.
#include "Particle/Particle_System.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Base/Random_Main.h"
#include "Graphics/Graphics_Colour.h"
#include "Particle/Particle_Type.h"

namespace {
constexpr float kDegToRad = float(M_PI / 180.0);

std::vector<CParticleSystem*> g_Systems;

float Between(float a, float b) { return a + (b - a) * Random_Real(); }

int BetweenInt(int a, int b) {
  if (b < a) std::swap(a, b);
  return a + Random_Int(int(std::min<int64_t>(int64_t(b) - a + 1, INT32_MAX)));
}

// A number per update: a negative number -n makes one particle with the
// chance 1 in n.
int PerUpdate(int number) {
  if (number >= 0) return number;
  return double(Random_Real()) * -double(number) < 1.0 ? 1 : 0;
}

// The value at the part f (0..1) of the life, through three stops.
float Stage(const float (&v)[3], float f) {
  return f < 0.5f ? v[0] + (v[1] - v[0]) * 2 * f : v[1] + (v[2] - v[1]) * (2 * f - 1);
}

uint32_t ColourOverLife(const CParticleType& t, float f) {
  if (t.colourMode == ParticleColour::Two) return Colour_Merge(t.colour[0], t.colour[1], f);
  if (f < 0.5f) return Colour_Merge(t.colour[0], t.colour[1], 2 * f);
  return Colour_Merge(t.colour[1], t.colour[2], 2 * f - 1);
}

int Channel(const int* range) { return std::clamp(BetweenInt(range[0], range[1]), 0, 255); }

uint32_t FirstColour(const CParticleType& t) {
  switch (t.colourMode) {
    case ParticleColour::Mix:
      return Colour_Merge(t.colour[0], t.colour[1], Random_Real());
    case ParticleColour::RGB: {
      int r = Channel(&t.channel[0]), g = Channel(&t.channel[2]), b = Channel(&t.channel[4]);
      return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
    }
    case ParticleColour::HSV: {
      int h = Channel(&t.channel[0]), s = Channel(&t.channel[2]), v = Channel(&t.channel[4]);
      return Colour_FromHSV(h, s, v);
    }
    default:
      return t.colour[0];
  }
}

void SetMotion(SParticle& p, float speed, float dir) {
  p.vx = speed * std::cos(dir * kDegToRad);
  p.vy = -speed * std::sin(dir * kDegToRad);
}

void InitMotion(SParticle& p, const CParticleType& t) {
  p.speed = Between(t.speedMin, t.speedMax);
  p.dir = Between(t.dirMin, t.dirMax);
  p.courseStale = false;
  SetMotion(p, p.speed, p.dir);
}

void InitLook(SParticle& p, const CParticleType& t) {
  p.size = Between(t.sizeMin, t.sizeMax);
  p.ang = Between(t.angMin, t.angMax);
  p.phase = Random_Real();
  p.frame = t.spriteRandom ? Random_Int(1 << 15) : 0;
  if (!p.fixedColour) p.colour = FirstColour(t);
  p.alpha = t.alpha[0];
}

SParticle NewParticle(CParticleType* type, float x, float y, bool fixedColour, uint32_t colour) {
  SParticle p{};
  p.type = type;
  p.x = x;
  p.y = y;
  p.fixedColour = fixedColour;
  p.colour = colour;
  p.life = BetweenInt(type->lifeMin, type->lifeMax);
  InitMotion(p, *type);
  InitLook(p, *type);
  return p;
}

// -1..1, spread as the distribution says: even, gathered at the centre, or
// gathered at the edges.
float Spread(int distribution) {
  if (distribution != PS_DISTR_GAUSSIAN && distribution != PS_DISTR_INVGAUSSIAN) return 2 * Random_Real() - 1;
  float g = (Random_Real() + Random_Real() + Random_Real() + Random_Real() - 2) / 2;
  if (distribution == PS_DISTR_GAUSSIAN) return g;
  return g >= 0 ? 1 - g : -1 - g;
}

void RandomPoint(const SParticleRegion& r, int distribution, float* x, float* y) {
  float cx = (r.xmin + r.xmax) / 2, cy = (r.ymin + r.ymax) / 2;
  float hw = (r.xmax - r.xmin) / 2, hh = (r.ymax - r.ymin) / 2;
  float dx = Spread(distribution), dy = dx;
  if (r.shape != PS_SHAPE_LINE) {
    // Points outside the shape are drawn again (a few times at most).
    for (int tries = 0; tries < 16; tries++) {
      dy = Spread(distribution);
      bool inside = r.shape == PS_SHAPE_ELLIPSE   ? dx * dx + dy * dy <= 1
                    : r.shape == PS_SHAPE_DIAMOND ? std::fabs(dx) + std::fabs(dy) <= 1
                                                  : true;
      if (inside) break;
      dx = Spread(distribution);
      dy = 0;
    }
  }
  *x = cx + hw * dx;
  *y = cy + hh * dy;
}

template <class T>
T* PartOf(int ps, CParticleParts<T> CParticleSystem::*family, int id) {
  CParticleSystem* s = ParticleSystem_Get(ps);
  return s ? (s->*family).Get(id) : nullptr;
}

template <class F>
void WithSystem(int id, F f) {
  if (CParticleSystem* s = ParticleSystem_Get(id)) f(*s);
}
}  // namespace

float Particle_Wave(const SParticle& p) {
  constexpr float kPeriod = 16;
  return std::sin(2 * float(M_PI) * (p.phase + float(p.age) / kPeriod));
}

// ---- Regions ----

// Inside the box, then inside the shape drawn in it; a line is the box's
// diagonal from (xmin, ymin) to (xmax, ymax), a pixel wide.
bool SParticleRegion::Contains(float x, float y) const {
  float l = std::min(xmin, xmax), r = std::max(xmin, xmax), t = std::min(ymin, ymax), b = std::max(ymin, ymax);
  if (!(x >= l && x <= r && y >= t && y <= b)) return false;  // a lost particle is in no region
  float cx = (l + r) / 2, cy = (t + b) / 2, hw = (r - l) / 2, hh = (b - t) / 2;
  float nx = hw > 0 ? (x - cx) / hw : 0, ny = hh > 0 ? (y - cy) / hh : 0;
  switch (shape) {
    case PS_SHAPE_ELLIPSE: return nx * nx + ny * ny <= 1;
    case PS_SHAPE_DIAMOND: return std::fabs(nx) + std::fabs(ny) <= 1;
    case PS_SHAPE_LINE: {
      float lx = xmax - xmin, ly = ymax - ymin, len = std::sqrt(lx * lx + ly * ly);
      if (len == 0) return true;
      return std::fabs((x - xmin) * ly - (y - ymin) * lx) / len <= 1;
    }
    default: return true;
  }
}

// ---- Creation ----

int CParticleSystem::Room(int number) const {
  return int(std::min<int64_t>(number, int64_t(PARTICLE_MAX) - int64_t(particles.size())));
}

void CParticleSystem::Create(CParticleType* type, float px, float py, int number, bool fixedColour, uint32_t colour) {
  if (!type) return;
  number = Room(number);
  for (int i = 0; i < number; i++) particles.push_back(NewParticle(type, px, py, fixedColour, colour));
}

void CParticleSystem::CreateInRegion(const SParticleRegion& region, int distribution, CParticleType* type, int number) {
  if (!type) return;
  number = Room(number);
  for (int i = 0; i < number; i++) {
    float px, py;
    RandomPoint(region, distribution, &px, &py);
    particles.push_back(NewParticle(type, px, py, false, 0));
  }
}

// ---- The update ----

void CParticleSystem::Update() {
  UpdateParticles();
  Streams();
  Attract();
  Destroy();
  Deflect();
  Change();
}

void CParticleSystem::UpdateParticles() {
  struct Spawn {
    CParticleType* type;
    float x, y;
    int number;
  };
  std::vector<Spawn> spawns;
  size_t kept = 0;
  for (size_t i = 0; i < particles.size(); i++) {
    SParticle p = particles[i];
    const CParticleType& t = *p.type;
    if (++p.age >= p.life) {
      if (t.deathType && t.deathNumber > 0) spawns.push_back({t.deathType, p.x, p.y, t.deathNumber});
      continue;
    }
    if (t.Turns()) {
      if (p.courseStale) {
        p.speed = std::sqrt(p.vx * p.vx + p.vy * p.vy);
        if (p.speed > 0) p.dir = std::atan2(-p.vy, p.vx) / kDegToRad;
        p.courseStale = false;
      }
      p.speed = std::max(0.0f, p.speed + t.speedIncr);
      p.dir += t.dirIncr;
      float wave = t.speedWiggle != 0 || t.dirWiggle != 0 ? Particle_Wave(p) : 0;
      SetMotion(p, std::max(0.0f, p.speed + t.speedWiggle * wave), p.dir + t.dirWiggle * wave);
    }
    if (t.gravAmount != 0) {
      p.vx += t.gravX;
      p.vy += t.gravY;
      p.courseStale = true;
    }
    p.x += p.vx;
    p.y += p.vy;
    p.size = std::max(0.0f, p.size + t.sizeIncr);
    p.ang += t.angIncr;
    float f = float(p.age) / float(p.life);
    if (!p.fixedColour && (t.colourMode == ParticleColour::Two || t.colourMode == ParticleColour::Three))
      p.colour = ColourOverLife(t, f);
    p.alpha = Stage(t.alpha, f);
    if (t.stepType && t.stepNumber != 0)
      if (int n = PerUpdate(t.stepNumber)) spawns.push_back({t.stepType, p.x, p.y, n});
    particles[kept++] = p;
  }
  particles.resize(kept);
  for (const Spawn& s : spawns) Create(s.type, s.x, s.y, s.number);
}

void CParticleSystem::Streams() {
  emitters.ForEach([&](SParticleEmitter& e) {
    if (e.streamType) CreateInRegion(e.region, e.distribution, e.streamType, PerUpdate(e.streamNumber));
  });
}

// The pull falls off with the distance as the kind says: not at all,
// linearly or quadratically to nothing at the attractor's distance.
void CParticleSystem::Attract() {
  attractors.ForEach([&](SParticleAttractor& a) {
    if (a.force == 0 || !(a.dist > 0)) return;
    for (SParticle& p : particles) {
      float dx = a.x - p.x, dy = a.y - p.y, d = std::sqrt(dx * dx + dy * dy);
      if (d > a.dist || d == 0) continue;
      float k = 1 - d / a.dist;
      float amount = a.kind == PS_FORCE_LINEAR ? a.force * k : a.kind == PS_FORCE_QUADRATIC ? a.force * k * k : a.force;
      float ux = dx / d, uy = dy / d;
      if (a.additive) {
        p.vx += amount * ux;
        p.vy += amount * uy;
        p.courseStale = true;
      } else {
        float step = std::min(amount, d);  // never past the attractor
        p.x += step * ux;
        p.y += step * uy;
      }
    }
  });
}

void CParticleSystem::Destroy() {
  destroyers.ForEach([&](SParticleDestroyer& d) {
    particles.erase(std::remove_if(particles.begin(), particles.end(),
                                   [&](const SParticle& p) { return d.region.Contains(p.x, p.y); }),
                    particles.end());
  });
}

// A particle that entered the region along the deflected axis in this
// update goes back to where it was on that axis with that speed reversed;
// the friction takes that much off its speed.
void CParticleSystem::Deflect() {
  deflectors.ForEach([&](SParticleDeflector& d) {
    bool horizontal = d.kind == PS_DEFLECT_HORIZONTAL;
    float lo = horizontal ? std::min(d.region.xmin, d.region.xmax) : std::min(d.region.ymin, d.region.ymax);
    float hi = horizontal ? std::max(d.region.xmin, d.region.xmax) : std::max(d.region.ymin, d.region.ymax);
    for (SParticle& p : particles) {
      if (!d.region.Contains(p.x, p.y)) continue;
      float& pos = horizontal ? p.x : p.y;
      float& v = horizontal ? p.vx : p.vy;
      float before = pos - v;
      if (before >= lo && before <= hi) continue;
      pos = before;
      v = -v;
      float speed = std::sqrt(p.vx * p.vx + p.vy * p.vy);
      if (d.friction != 0 && speed > 0) {
        float k = std::max(0.0f, speed - d.friction) / speed;
        p.vx *= k;
        p.vy *= k;
      }
      p.courseStale = true;
    }
  });
}

// All: the particle starts again as a new particle of the other type where
// it is. Shape: it takes the other type's look (size, orientation, colour,
// alpha, sprite frame) and keeps its motion and life. Motion: it takes the
// other type's speed and direction and keeps its look and life. Either way
// it is of the other type from then on.
void CParticleSystem::Change() {
  changers.ForEach([&](SParticleChanger& c) {
    if (!c.from || !c.to || c.from == c.to) return;
    for (SParticle& p : particles) {
      if (p.type != c.from || !c.region.Contains(p.x, p.y)) continue;
      if (c.kind == PS_CHANGE_SHAPE) {
        p.type = c.to;
        InitLook(p, *c.to);
      } else if (c.kind == PS_CHANGE_MOTION) {
        p.type = c.to;
        InitMotion(p, *c.to);
      } else {
        p = NewParticle(c.to, p.x, p.y, p.fixedColour, p.colour);
      }
    }
  });
}

void CParticleSystem::FreeContents() {
  particles.clear();
  emitters.DestroyAll();
  attractors.DestroyAll();
  destroyers.DestroyAll();
  deflectors.DestroyAll();
  changers.DestroyAll();
}

void CParticleSystem::ForgetType(const CParticleType* type) {
  particles.erase(std::remove_if(particles.begin(), particles.end(), [&](const SParticle& p) { return p.type == type; }),
                  particles.end());
  emitters.ForEach([&](SParticleEmitter& e) {
    if (e.streamType == type) e.streamType = nullptr;
  });
  changers.ForEach([&](SParticleChanger& c) {
    if (c.from == type) c.from = nullptr;
    if (c.to == type) c.to = nullptr;
  });
}

// ---- The system table ----

int ParticleSystem_Create() {
  size_t i = 0;
  while (i < g_Systems.size() && g_Systems[i]) ++i;
  if (i == g_Systems.size()) g_Systems.push_back(nullptr);
  g_Systems[i] = new CParticleSystem();
  return int(i);
}

CParticleSystem* ParticleSystem_Get(int id) {
  return id >= 0 && size_t(id) < g_Systems.size() ? g_Systems[size_t(id)] : nullptr;
}

int ParticleSystem_TableSize() { return int(g_Systems.size()); }

bool ParticleSystem_Exists(int id) { return ParticleSystem_Get(id) != nullptr; }

void ParticleSystem_Destroy(int id) {
  if (CParticleSystem* s = ParticleSystem_Get(id)) {
    g_Systems[size_t(id)] = nullptr;
    delete s;
  }
}

void ParticleSystem_DestroyAll() {
  for (CParticleSystem* s : g_Systems) delete s;
  g_Systems.clear();
}

void ParticleSystem_FreeContents(int id) {
  WithSystem(id, [](CParticleSystem& s) { s.FreeContents(); });
}
void ParticleSystem_DrawOrder(int id, bool oldToNew) {
  WithSystem(id, [=](CParticleSystem& s) { s.oldToNew = oldToNew; });
}
void ParticleSystem_SetDepth(int id, float depth) {
  // A depth that is not a number would have no place among the others.
  WithSystem(id, [=](CParticleSystem& s) { s.depth = std::isnan(depth) ? 0 : depth; });
}
void ParticleSystem_SetPosition(int id, float x, float y) {
  WithSystem(id, [=](CParticleSystem& s) {
    s.x = x;
    s.y = y;
  });
}
void ParticleSystem_AutomaticUpdate(int id, bool automatic) {
  WithSystem(id, [=](CParticleSystem& s) { s.autoUpdate = automatic; });
}
void ParticleSystem_AutomaticDraw(int id, bool automatic) {
  WithSystem(id, [=](CParticleSystem& s) { s.autoDraw = automatic; });
}
void ParticleSystem_Update(int id) {
  WithSystem(id, [](CParticleSystem& s) { s.Update(); });
}
void ParticleSystem_Draw(int id) {
  WithSystem(id, [](CParticleSystem& s) { s.Draw(); });
}
void ParticleSystem_CreateParticles(int id, double x, float y, int type, int number) {
  WithSystem(id, [=](CParticleSystem& s) { s.Create(ParticleType_Get(type), float(x), y, number); });
}
void ParticleSystem_CreateParticlesColour(int id, double x, float y, int type, uint32_t colour, int number) {
  WithSystem(id, [=](CParticleSystem& s) { s.Create(ParticleType_Get(type), float(x), y, number, true, colour); });
}
void ParticleSystem_Clear(int id) {
  WithSystem(id, [](CParticleSystem& s) { s.particles.clear(); });
}
int ParticleSystem_ParticleCount(int id) {
  CParticleSystem* s = ParticleSystem_Get(id);
  return s ? int(s->particles.size()) : 0;
}

void ParticleSystem_ForgetType(const CParticleType* type) {
  for (CParticleSystem* s : g_Systems)
    if (s) s->ForgetType(type);
}

void ParticleSystem_UpdateAutomatic() {
  // An update makes no systems, but the table is read by index all the same.
  for (size_t i = 0; i < g_Systems.size(); i++)
    if (g_Systems[i] && g_Systems[i]->autoUpdate) g_Systems[i]->Update();
}

// ---- Emitters, attractors, destroyers, deflectors and changers ----

// Create, destroy, destroy all, exists and clear, the same for every family.
#define PARTICLE_PART_FAMILY(Prefix, member)                                                       \
  int Prefix##_Create(int ps) {                                                                    \
    CParticleSystem* s = ParticleSystem_Get(ps);                                                   \
    return s ? s->member.Create() : -1;                                                            \
  }                                                                                                \
  void Prefix##_Destroy(int ps, int id) { WithSystem(ps, [=](CParticleSystem& s) { s.member.Destroy(id); }); } \
  void Prefix##_DestroyAll(int ps) { WithSystem(ps, [](CParticleSystem& s) { s.member.DestroyAll(); }); }      \
  bool Prefix##_Exists(int ps, int id) { return PartOf(ps, &CParticleSystem::member, id) != nullptr; }         \
  void Prefix##_Clear(int ps, int id) { WithSystem(ps, [=](CParticleSystem& s) { s.member.Clear(id); }); }

PARTICLE_PART_FAMILY(ParticleEmitter, emitters)
PARTICLE_PART_FAMILY(ParticleAttractor, attractors)
PARTICLE_PART_FAMILY(ParticleDestroyer, destroyers)
PARTICLE_PART_FAMILY(ParticleDeflector, deflectors)
PARTICLE_PART_FAMILY(ParticleChanger, changers)
#undef PARTICLE_PART_FAMILY

namespace {
SParticleRegion Region(float xmin, float xmax, float ymin, float ymax, int shape) {
  SParticleRegion r;
  r.xmin = xmin;
  r.xmax = xmax;
  r.ymin = ymin;
  r.ymax = ymax;
  r.shape = shape;
  return r;
}
}  // namespace

void ParticleEmitter_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape, int distribution) {
  if (SParticleEmitter* e = PartOf(ps, &CParticleSystem::emitters, id)) {
    e->region = Region(xmin, xmax, ymin, ymax, shape);
    e->distribution = distribution;
  }
}

void ParticleEmitter_Burst(int ps, int id, int type, int number) {
  CParticleSystem* s = ParticleSystem_Get(ps);
  SParticleEmitter* e = PartOf(ps, &CParticleSystem::emitters, id);
  if (s && e) s->CreateInRegion(e->region, e->distribution, ParticleType_Get(type), number);
}

void ParticleEmitter_Stream(int ps, int id, int type, int number) {
  if (SParticleEmitter* e = PartOf(ps, &CParticleSystem::emitters, id)) {
    e->streamType = ParticleType_Get(type);
    e->streamNumber = number;
  }
}

void ParticleAttractor_Position(int ps, int id, float x, float y) {
  if (SParticleAttractor* a = PartOf(ps, &CParticleSystem::attractors, id)) {
    a->x = x;
    a->y = y;
  }
}

void ParticleAttractor_Force(int ps, int id, float force, float dist, int kind, bool additive) {
  if (SParticleAttractor* a = PartOf(ps, &CParticleSystem::attractors, id)) {
    a->force = force;
    a->dist = dist;
    a->kind = kind;
    a->additive = additive;
  }
}

void ParticleDestroyer_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape) {
  if (SParticleDestroyer* d = PartOf(ps, &CParticleSystem::destroyers, id)) d->region = Region(xmin, xmax, ymin, ymax, shape);
}

void ParticleDeflector_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax) {
  if (SParticleDeflector* d = PartOf(ps, &CParticleSystem::deflectors, id))
    d->region = Region(xmin, xmax, ymin, ymax, PS_SHAPE_RECTANGLE);
}

void ParticleDeflector_Kind(int ps, int id, int kind) {
  if (SParticleDeflector* d = PartOf(ps, &CParticleSystem::deflectors, id)) d->kind = kind;
}

void ParticleDeflector_Friction(int ps, int id, float friction) {
  if (SParticleDeflector* d = PartOf(ps, &CParticleSystem::deflectors, id)) d->friction = friction;
}

void ParticleChanger_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape) {
  if (SParticleChanger* c = PartOf(ps, &CParticleSystem::changers, id)) c->region = Region(xmin, xmax, ymin, ymax, shape);
}

void ParticleChanger_Kind(int ps, int id, int kind) {
  if (SParticleChanger* c = PartOf(ps, &CParticleSystem::changers, id)) c->kind = kind;
}

void ParticleChanger_Types(int ps, int id, int type1, int type2) {
  if (SParticleChanger* c = PartOf(ps, &CParticleSystem::changers, id)) {
    c->from = ParticleType_Get(type1);
    c->to = ParticleType_Get(type2);
  }
}
