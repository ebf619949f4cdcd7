#include "Particle/Particle_Main.h"

#include "Particle/Particle_Effect.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

void Particle_Step() {
  ParticleSystem_UpdateAutomatic();
  Effect_Update();
}

void Particle_FreeAll() {
  ParticleSystem_DestroyAll();
  ParticleType_DestroyAll();
  Effect_FreeAll();
}
