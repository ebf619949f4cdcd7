// The particle action built-ins: one particle system of their own with 16
// particle type slots and 16 emitter slots. The system is made on first use;
// a type slot that is empty gets a new type when an action uses it. Slot
// numbers outside 0 to 15 do nothing.
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Action.h"
#include "Function/Function_Graphics.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

using namespace action;

namespace {
constexpr int SLOT_COUNT = 16;

struct ActionParticles {
  int system = -1;
  int types[SLOT_COUNT];
  int emitters[SLOT_COUNT];

  void ResetSlots() {
    for (int i = 0; i < SLOT_COUNT; i++) types[i] = emitters[i] = -1;
  }
  ActionParticles() { ResetSlots(); }
} g_Particles;

int System() {
  if (!ParticleSystem_Exists(g_Particles.system)) g_Particles.system = ParticleSystem_Create();
  return g_Particles.system;
}

bool SlotOk(int slot) { return slot >= 0 && slot < SLOT_COUNT; }

// The type in a slot, made first when the slot is empty; -1 for a slot
// number out of range.
int TypeSlot(const RValue& v) {
  int slot = RValue_RoundInt(v);
  if (!SlotOk(slot)) return -1;
  System();
  int& type = g_Particles.types[slot];
  if (type < 0) type = ParticleType_Create();
  return type;
}

void F_PartSystCreate(ACTION_ARGS) {
  if (ParticleSystem_Exists(g_Particles.system))
    ParticleSystem_FreeContents(g_Particles.system);
  else
    g_Particles.system = ParticleSystem_Create();
  ParticleSystem_SetDepth(g_Particles.system, static_cast<float>(RValue_RoundInt(arg[0])));
  g_Particles.ResetSlots();
}

// The slots go with the system, so that a system made again never uses
// the ids of the destroyed one.
void F_PartSystDestroy(ACTION_ARGS) {
  if (g_Particles.system >= 0) ParticleSystem_Destroy(g_Particles.system);
  g_Particles.system = -1;
  g_Particles.ResetSlots();
}

void F_PartSystClear(ACTION_ARGS) {
  if (g_Particles.system >= 0) ParticleSystem_Clear(g_Particles.system);
}

void F_PartTypeCreateOld(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type < 0) return;
  ParticleType_SetShape(type, RValue_RoundInt(arg[1]));
  ParticleType_SetSize(type, RValue_Single(arg[2]), RValue_Single(arg[3]), 0, 0);
  ParticleType_SetColour2(type, Arg_Colour(arg[4]), Arg_Colour(arg[5]));
}

void F_PartTypeCreate(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type < 0) return;
  ParticleType_SetShape(type, RValue_RoundInt(arg[1]));
  ParticleType_SetSprite(type, RValue_RoundInt(arg[2]), true, false, false);
  ParticleType_SetSize(type, RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]), 0);
}

void F_PartTypeColor(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type < 0) return;
  if (RValue_RoundInt(arg[1]) != 0)
    ParticleType_SetColour2(type, Arg_Colour(arg[2]), Arg_Colour(arg[3]));
  else
    ParticleType_SetColourMix(type, Arg_Colour(arg[2]), Arg_Colour(arg[3]));
  ParticleType_SetAlpha2(type, RValue_Single(arg[4]), RValue_Single(arg[5]));
}

void F_PartTypeLife(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type >= 0) ParticleType_SetLife(type, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}

void F_PartTypeSpeed(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type < 0) return;
  ParticleType_SetSpeed(type, RValue_Single(arg[1]), RValue_Single(arg[2]), -RValue_Single(arg[5]), 0);
  ParticleType_SetDirection(type, RValue_Single(arg[3]), RValue_Single(arg[4]), 0, 0);
}

void F_PartTypeGravity(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type >= 0) ParticleType_SetGravity(type, RValue_Single(arg[1]), RValue_Single(arg[2]));
}

void F_PartTypeSecondary(ACTION_ARGS) {
  int type = TypeSlot(arg[0]);
  if (type < 0) return;
  ParticleType_SetStep(type, RValue_RoundInt(arg[2]), TypeSlot(arg[1]));
  ParticleType_SetDeath(type, RValue_RoundInt(arg[4]), TypeSlot(arg[3]));
}

void F_PartEmitCreate(ACTION_ARGS) {
  int slot = RValue_RoundInt(arg[0]);
  if (!SlotOk(slot)) return;
  int ps = System();
  int& emitter = g_Particles.emitters[slot];
  if (emitter < 0) emitter = ParticleEmitter_Create(ps);
  ParticleEmitter_Region(ps, emitter, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                         RValue_Single(arg[5]), RValue_RoundInt(arg[1]), PS_DISTR_LINEAR);
}

void F_PartEmitDestroy(ACTION_ARGS) {
  int slot = RValue_RoundInt(arg[0]);
  if (!SlotOk(slot)) return;
  int ps = System();
  int& emitter = g_Particles.emitters[slot];
  if (emitter >= 0) ParticleEmitter_Destroy(ps, emitter);
  emitter = -1;
}

// The emitter of the first argument's slot, or -1 after the report.
int EmitterFor(const RValue& v) {
  int slot = RValue_RoundInt(v);
  if (!SlotOk(slot)) return -1;
  System();
  int emitter = g_Particles.emitters[slot];
  if (emitter < 0) Error_Show_Action("The particle emitter must first be created.", false);
  return emitter;
}

void F_PartEmitBurst(ACTION_ARGS) {
  int emitter = EmitterFor(arg[0]);
  if (emitter >= 0) ParticleEmitter_Burst(g_Particles.system, emitter, TypeSlot(arg[1]), RValue_RoundInt(arg[2]));
}

void F_PartEmitStream(ACTION_ARGS) {
  int emitter = EmitterFor(arg[0]);
  if (emitter >= 0) ParticleEmitter_Stream(g_Particles.system, emitter, TypeSlot(arg[1]), RValue_RoundInt(arg[2]));
}
}  // namespace

void Function_Action_Particle_Init() {
  g_Particles.system = -1;
  g_Particles.ResetSlots();
  Function_Add("action_partsyst_create", F_PartSystCreate, 1);
  Function_Add("action_partsyst_destroy", F_PartSystDestroy, 0);
  Function_Add("action_partsyst_clear", F_PartSystClear, 0);
  Function_Add("action_parttype_create_old", F_PartTypeCreateOld, 6);
  Function_Add("action_parttype_create", F_PartTypeCreate, 6);
  Function_Add("action_parttype_color", F_PartTypeColor, 6);
  Function_Add("action_parttype_life", F_PartTypeLife, 3);
  Function_Add("action_parttype_speed", F_PartTypeSpeed, 6);
  Function_Add("action_parttype_gravity", F_PartTypeGravity, 3);
  Function_Add("action_parttype_secondary", F_PartTypeSecondary, 5);
  Function_Add("action_partemit_create", F_PartEmitCreate, 6);
  Function_Add("action_partemit_destroy", F_PartEmitDestroy, 1);
  Function_Add("action_partemit_burst", F_PartEmitBurst, 3);
  Function_Add("action_partemit_stream", F_PartEmitStream, 3);
}
