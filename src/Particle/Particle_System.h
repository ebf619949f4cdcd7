// Particle systems: particles and the emitters, attractors, destroyers,
// deflectors and changers that act on them. Systems live in a table by id (a
// new system takes the first unused slot); their parts have ids within their
// system, also from the first unused slot. Every operation ignores ids that
// name nothing, and the queries answer 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CParticleType;

// One system holds at most this many particles; creation past it is dropped,
// so that no number and no type that makes itself can exhaust memory.
constexpr int PARTICLE_MAX = 1000000;

enum { PS_SHAPE_RECTANGLE = 0, PS_SHAPE_ELLIPSE, PS_SHAPE_DIAMOND, PS_SHAPE_LINE };
enum { PS_DISTR_LINEAR = 0, PS_DISTR_GAUSSIAN, PS_DISTR_INVGAUSSIAN };
enum { PS_FORCE_CONSTANT = 0, PS_FORCE_LINEAR, PS_FORCE_QUADRATIC };
enum { PS_DEFLECT_VERTICAL = 0, PS_DEFLECT_HORIZONTAL };
enum { PS_CHANGE_ALL = 0, PS_CHANGE_SHAPE, PS_CHANGE_MOTION };

struct SParticle {
  CParticleType* type;
  float x, y;
  float vx, vy;      // motion per update
  float speed, dir;  // the course the speed and direction increments follow
  float size, ang;
  float phase;       // 0..1: where the particle's wiggles start
  int age, life;     // updates lived, updates to live
  uint32_t colour;   // script colour
  float alpha;
  int frame;         // first sprite frame
  bool fixedColour;  // made with a colour of its own
  bool courseStale;  // the motion was changed from outside: speed and dir follow it
};

// Where a particle's wiggles stand (-1..1): they swing around the course of
// the value over 16 updates, each particle from its own phase.
float Particle_Wave(const SParticle& p);

struct SParticleRegion {
  float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  int shape = PS_SHAPE_RECTANGLE;
  bool Contains(float x, float y) const;
};

struct SParticleEmitter {
  SParticleRegion region;
  int distribution = PS_DISTR_LINEAR;
  CParticleType* streamType = nullptr;
  int streamNumber = 0;
};

struct SParticleAttractor {
  float x = 0, y = 0, force = 0, dist = 0;
  int kind = PS_FORCE_CONSTANT;
  bool additive = false;
};

struct SParticleDestroyer {
  SParticleRegion region;
};

struct SParticleDeflector {
  SParticleRegion region;
  int kind = PS_DEFLECT_HORIZONTAL;
  float friction = 0;
};

struct SParticleChanger {
  SParticleRegion region;
  int kind = PS_CHANGE_ALL;
  CParticleType* from = nullptr;
  CParticleType* to = nullptr;
};

// The parts of one family in a system: a slot per id, empty when destroyed.
template <class T>
struct CParticleParts {
  std::vector<T> items;
  std::vector<bool> used;
  int Create() {
    size_t i = 0;
    while (i < used.size() && used[i]) ++i;
    if (i == used.size()) {
      items.emplace_back();
      used.push_back(false);
    }
    items[i] = T();
    used[i] = true;
    return int(i);
  }
  T* Get(int id) { return id >= 0 && size_t(id) < used.size() && used[size_t(id)] ? &items[size_t(id)] : nullptr; }
  void Destroy(int id) {
    if (Get(id)) used[size_t(id)] = false;
  }
  void Clear(int id) {
    if (T* t = Get(id)) *t = T();
  }
  void DestroyAll() {
    items.clear();
    used.clear();
  }
  template <class F>
  void ForEach(F f) {
    for (size_t i = 0; i < items.size(); i++)
      if (used[i]) f(items[i]);
  }
};

class CParticleSystem {
 public:
  float depth = 0;
  float x = 0, y = 0;  // where it is drawn: added to every particle's position
  bool oldToNew = true;
  bool autoUpdate = true, autoDraw = true;
  std::vector<SParticle> particles;
  CParticleParts<SParticleEmitter> emitters;
  CParticleParts<SParticleAttractor> attractors;
  CParticleParts<SParticleDestroyer> destroyers;
  CParticleParts<SParticleDeflector> deflectors;
  CParticleParts<SParticleChanger> changers;

  // Makes number particles of the type at (px, py); with fixedColour they
  // keep that colour all their life. Nothing for a number below 1.
  void Create(CParticleType* type, float px, float py, int number, bool fixedColour = false,
              uint32_t colour = 0);
  // Makes number particles at random points of the region.
  void CreateInRegion(const SParticleRegion& region, int distribution, CParticleType* type, int number);
  void Update();
  void Draw();
  // Empties the system of particles and parts (what part_system_clear does).
  void FreeContents();
  // The type is going: its particles go with it and no part makes it again.
  void ForgetType(const CParticleType* type);

 private:
  // How many of number particles the system has room for.
  int Room(int number) const;
  void UpdateParticles();
  void Streams();
  void Attract();
  void Destroy();
  void Deflect();
  void Change();
};

int ParticleSystem_Create();
void ParticleSystem_Destroy(int id);
bool ParticleSystem_Exists(int id);
CParticleSystem* ParticleSystem_Get(int id);  // null for an id that names no system
int ParticleSystem_TableSize();                // ids are below this
void ParticleSystem_FreeContents(int id);
void ParticleSystem_DrawOrder(int id, bool oldToNew);
void ParticleSystem_SetDepth(int id, float depth);
void ParticleSystem_SetPosition(int id, float x, float y);
void ParticleSystem_AutomaticUpdate(int id, bool automatic);
void ParticleSystem_AutomaticDraw(int id, bool automatic);
void ParticleSystem_Update(int id);
void ParticleSystem_Draw(int id);
void ParticleSystem_CreateParticles(int id, double x, float y, int type, int number);
void ParticleSystem_CreateParticlesColour(int id, double x, float y, int type, uint32_t colour, int number);
void ParticleSystem_Clear(int id);  // removes the particles only
int ParticleSystem_ParticleCount(int id);
// Every system's hold on the type ends (the type is being destroyed).
void ParticleSystem_ForgetType(const CParticleType* type);
// The step's update of the systems with automatic update.
void ParticleSystem_UpdateAutomatic();
void ParticleSystem_DestroyAll();

// Emitters, attractors, destroyers, deflectors and changers by system and id.
int ParticleEmitter_Create(int ps);
void ParticleEmitter_Destroy(int ps, int id);
void ParticleEmitter_DestroyAll(int ps);
bool ParticleEmitter_Exists(int ps, int id);
void ParticleEmitter_Clear(int ps, int id);
void ParticleEmitter_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape,
                            int distribution);
void ParticleEmitter_Burst(int ps, int id, int type, int number);
void ParticleEmitter_Stream(int ps, int id, int type, int number);

int ParticleAttractor_Create(int ps);
void ParticleAttractor_Destroy(int ps, int id);
void ParticleAttractor_DestroyAll(int ps);
bool ParticleAttractor_Exists(int ps, int id);
void ParticleAttractor_Clear(int ps, int id);
void ParticleAttractor_Position(int ps, int id, float x, float y);
void ParticleAttractor_Force(int ps, int id, float force, float dist, int kind, bool additive);

int ParticleDestroyer_Create(int ps);
void ParticleDestroyer_Destroy(int ps, int id);
void ParticleDestroyer_DestroyAll(int ps);
bool ParticleDestroyer_Exists(int ps, int id);
void ParticleDestroyer_Clear(int ps, int id);
void ParticleDestroyer_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape);

int ParticleDeflector_Create(int ps);
void ParticleDeflector_Destroy(int ps, int id);
void ParticleDeflector_DestroyAll(int ps);
bool ParticleDeflector_Exists(int ps, int id);
void ParticleDeflector_Clear(int ps, int id);
void ParticleDeflector_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax);
void ParticleDeflector_Kind(int ps, int id, int kind);
void ParticleDeflector_Friction(int ps, int id, float friction);

int ParticleChanger_Create(int ps);
void ParticleChanger_Destroy(int ps, int id);
void ParticleChanger_DestroyAll(int ps);
bool ParticleChanger_Exists(int ps, int id);
void ParticleChanger_Clear(int ps, int id);
void ParticleChanger_Region(int ps, int id, float xmin, float xmax, float ymin, float ymax, int shape);
void ParticleChanger_Kind(int ps, int id, int kind);
void ParticleChanger_Types(int ps, int id, int type1, int type2);
