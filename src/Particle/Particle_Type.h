// Particle types: how the particles of one kind look, live and move. Types
// live in a table by id (a new type takes the first unused slot); every
// operation ignores an id that names no type, and the queries answer 0.
#pragma once
#include <cstdint>

// The built-in particle images.
enum {
  PT_SHAPE_PIXEL = 0, PT_SHAPE_DISK, PT_SHAPE_SQUARE, PT_SHAPE_LINE, PT_SHAPE_STAR, PT_SHAPE_CIRCLE,
  PT_SHAPE_RING, PT_SHAPE_SPHERE, PT_SHAPE_FLARE, PT_SHAPE_SPARK, PT_SHAPE_EXPLOSION, PT_SHAPE_CLOUD,
  PT_SHAPE_SMOKE, PT_SHAPE_SNOW,
  PT_SHAPE_COUNT
};

// How a particle's colour is chosen: fixed, over its life through two or
// three colours, or picked once at random (a mix, RGB or HSV ranges).
enum class ParticleColour { One, Two, Three, Mix, RGB, HSV };

class CParticleType {
 public:
  int shape = PT_SHAPE_PIXEL;
  int sprite = -1;  // drawn instead of the shape when it names a sprite
  bool spriteAnimate = false, spriteStretch = false, spriteRandom = false;
  float sizeMin = 1, sizeMax = 1, sizeIncr = 0, sizeWiggle = 0;
  float xscale = 1, yscale = 1;
  int lifeMin = 100, lifeMax = 100;
  int stepNumber = 0, deathNumber = 0;
  CParticleType* stepType = nullptr;  // none: no step particles
  CParticleType* deathType = nullptr;
  float speedMin = 0, speedMax = 0, speedIncr = 0, speedWiggle = 0;
  float dirMin = 0, dirMax = 0, dirIncr = 0, dirWiggle = 0;
  float angMin = 0, angMax = 0, angIncr = 0, angWiggle = 0;
  bool angRelative = false;
  float gravAmount = 0, gravDir = 270;
  float gravX = 0, gravY = 0;  // the gravity as a motion per step
  ParticleColour colourMode = ParticleColour::One;
  uint32_t colour[3] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF};  // script colours
  int channel[6] = {0, 255, 0, 255, 0, 255};          // RGB or HSV ranges, min and max
  float alpha[3] = {1, 1, 1};                          // at the start, the middle and the end of life
  bool additive = false;

  // Speed or direction change during the life.
  bool Turns() const { return speedIncr != 0 || speedWiggle != 0 || dirIncr != 0 || dirWiggle != 0; }
  void SetSize(float min, float max, float incr, float wiggle);
  void SetLife(int min, int max);
  void SetAlpha(float a1, float a2, float a3);
  void SetGravity(float amount, float direction);
};

int ParticleType_Create();
void ParticleType_Destroy(int id);
bool ParticleType_Exists(int id);
CParticleType* ParticleType_Get(int id);  // null for an id that names no type
void ParticleType_Reset(int id);           // back to the defaults
void ParticleType_SetShape(int id, int shape);
void ParticleType_SetSprite(int id, int sprite, bool animate, bool stretch, bool random);
void ParticleType_SetSize(int id, float sizeMin, float sizeMax, float incr, float wiggle);
void ParticleType_SetScale(int id, float xscale, float yscale);
void ParticleType_SetLife(int id, int lifeMin, int lifeMax);
void ParticleType_SetStep(int id, int number, int type);
void ParticleType_SetDeath(int id, int number, int type);
void ParticleType_SetSpeed(int id, float speedMin, float speedMax, float incr, float wiggle);
void ParticleType_SetDirection(int id, float dirMin, float dirMax, float incr, float wiggle);
void ParticleType_SetOrientation(int id, float angMin, float angMax, float incr, float wiggle, bool relative);
void ParticleType_SetGravity(int id, float amount, float direction);
void ParticleType_SetColour1(int id, uint32_t c1);
void ParticleType_SetColour2(int id, uint32_t c1, uint32_t c2);
void ParticleType_SetColour3(int id, uint32_t c1, uint32_t c2, uint32_t c3);
void ParticleType_SetColourMix(int id, uint32_t c1, uint32_t c2);
void ParticleType_SetColourRGB(int id, int rmin, int rmax, int gmin, int gmax, int bmin, int bmax);
void ParticleType_SetColourHSV(int id, int hmin, int hmax, int smin, int smax, int vmin, int vmax);
void ParticleType_SetAlpha1(int id, float a1);
void ParticleType_SetAlpha2(int id, float a1, float a2);
void ParticleType_SetAlpha3(int id, float a1, float a2, float a3);
void ParticleType_SetBlend(int id, bool additive);
// Destroys every type (shutdown).
void ParticleType_DestroyAll();
