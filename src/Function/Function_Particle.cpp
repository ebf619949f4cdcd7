// The particle built-ins: thin wrappers over the particle engine. Ids,
// counts, kinds, colours, lives and step numbers are rounded (halves to
// even); sizes, speeds, directions, alphas, depths, positions and region
// bounds are narrowed to single precision; flags are true at 0.5 or more.
// An id that names nothing does nothing and answers 0; none of these reports
// a script error.
#include "Base/Convert.h"
#include "Code/Code_Constant.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Function/Function_Graphics.h"
#include "Particle/Particle_Effect.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

namespace {
// A part made in a system that does not exist answers 0 as well.
void GiveId(RValue& result, int id) { Give(result, id < 0 ? 0 : id); }

void Particle_Constants() {
  static const struct {
    const char* name;
    double value;
  } constants[] = {
      {"pt_shape_pixel", PT_SHAPE_PIXEL}, {"pt_shape_disk", PT_SHAPE_DISK}, {"pt_shape_square", PT_SHAPE_SQUARE},
      {"pt_shape_line", PT_SHAPE_LINE}, {"pt_shape_star", PT_SHAPE_STAR}, {"pt_shape_circle", PT_SHAPE_CIRCLE},
      {"pt_shape_ring", PT_SHAPE_RING}, {"pt_shape_sphere", PT_SHAPE_SPHERE}, {"pt_shape_flare", PT_SHAPE_FLARE},
      {"pt_shape_spark", PT_SHAPE_SPARK}, {"pt_shape_explosion", PT_SHAPE_EXPLOSION},
      {"pt_shape_cloud", PT_SHAPE_CLOUD}, {"pt_shape_smoke", PT_SHAPE_SMOKE}, {"pt_shape_snow", PT_SHAPE_SNOW},
      {"ps_shape_rectangle", PS_SHAPE_RECTANGLE}, {"ps_shape_ellipse", PS_SHAPE_ELLIPSE},
      {"ps_shape_diamond", PS_SHAPE_DIAMOND}, {"ps_shape_line", PS_SHAPE_LINE},
      {"ps_distr_linear", PS_DISTR_LINEAR}, {"ps_distr_gaussian", PS_DISTR_GAUSSIAN},
      {"ps_distr_invgaussian", PS_DISTR_INVGAUSSIAN},
      {"ps_force_constant", PS_FORCE_CONSTANT}, {"ps_force_linear", PS_FORCE_LINEAR},
      {"ps_force_quadratic", PS_FORCE_QUADRATIC},
      {"ps_deflect_vertical", PS_DEFLECT_VERTICAL}, {"ps_deflect_horizontal", PS_DEFLECT_HORIZONTAL},
      {"ps_change_all", PS_CHANGE_ALL}, {"ps_change_shape", PS_CHANGE_SHAPE}, {"ps_change_motion", PS_CHANGE_MOTION},
      {"ef_explosion", EF_EXPLOSION}, {"ef_ring", EF_RING}, {"ef_ellipse", EF_ELLIPSE}, {"ef_firework", EF_FIREWORK},
      {"ef_smoke", EF_SMOKE}, {"ef_smokeup", EF_SMOKEUP}, {"ef_star", EF_STAR}, {"ef_spark", EF_SPARK},
      {"ef_flare", EF_FLARE}, {"ef_cloud", EF_CLOUD}, {"ef_rain", EF_RAIN}, {"ef_snow", EF_SNOW},
  };
  for (const auto& c : constants) Constant_AddReal(c.name, c.value);
}
}  // namespace

#define PT_HANDLER(name) static void name(RValue& Result, CInstance*, CInstance*, int, const RValue* arg)

// ---- Types ----

PT_HANDLER(F_PartTypeCreate) { Give(Result, ParticleType_Create()); }
PT_HANDLER(F_PartTypeDestroy) { ParticleType_Destroy(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartTypeExists) { Give(Result, ParticleType_Exists(RValue_RoundInt(arg[0]))); }
PT_HANDLER(F_PartTypeClear) { ParticleType_Reset(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartTypeShape) { ParticleType_SetShape(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); }
PT_HANDLER(F_PartTypeSprite) {
  ParticleType_SetSprite(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2]), RValue_IsTrue(arg[3]),
                         RValue_IsTrue(arg[4]));
}
PT_HANDLER(F_PartTypeSize) {
  ParticleType_SetSize(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                       RValue_Single(arg[4]));
}
PT_HANDLER(F_PartTypeScale) {
  ParticleType_SetScale(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]));
}
PT_HANDLER(F_PartTypeLife) {
  ParticleType_SetLife(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
PT_HANDLER(F_PartTypeStep) {
  ParticleType_SetStep(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
PT_HANDLER(F_PartTypeDeath) {
  ParticleType_SetDeath(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
PT_HANDLER(F_PartTypeSpeed) {
  ParticleType_SetSpeed(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                        RValue_Single(arg[4]));
}
PT_HANDLER(F_PartTypeDirection) {
  ParticleType_SetDirection(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                            RValue_Single(arg[3]), RValue_Single(arg[4]));
}
PT_HANDLER(F_PartTypeOrientation) {
  ParticleType_SetOrientation(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]),
                              RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_IsTrue(arg[5]));
}
PT_HANDLER(F_PartTypeGravity) {
  ParticleType_SetGravity(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]));
}
PT_HANDLER(F_PartTypeColorMix) {
  ParticleType_SetColourMix(RValue_RoundInt(arg[0]), Arg_Colour(arg[1]), Arg_Colour(arg[2]));
}
PT_HANDLER(F_PartTypeColorRGB) {
  ParticleType_SetColourRGB(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                            RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5]),
                            RValue_RoundInt(arg[6]));
}
PT_HANDLER(F_PartTypeColorHSV) {
  ParticleType_SetColourHSV(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                            RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5]),
                            RValue_RoundInt(arg[6]));
}
PT_HANDLER(F_PartTypeColor1) { ParticleType_SetColour1(RValue_RoundInt(arg[0]), Arg_Colour(arg[1])); }
PT_HANDLER(F_PartTypeColor2) {
  ParticleType_SetColour2(RValue_RoundInt(arg[0]), Arg_Colour(arg[1]), Arg_Colour(arg[2]));
}
PT_HANDLER(F_PartTypeColor3) {
  ParticleType_SetColour3(RValue_RoundInt(arg[0]), Arg_Colour(arg[1]), Arg_Colour(arg[2]), Arg_Colour(arg[3]));
}
PT_HANDLER(F_PartTypeAlpha1) { ParticleType_SetAlpha1(RValue_RoundInt(arg[0]), RValue_Single(arg[1])); }
PT_HANDLER(F_PartTypeAlpha2) {
  ParticleType_SetAlpha2(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]));
}
PT_HANDLER(F_PartTypeAlpha3) {
  ParticleType_SetAlpha3(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]));
}
PT_HANDLER(F_PartTypeBlend) { ParticleType_SetBlend(RValue_RoundInt(arg[0]), RValue_IsTrue(arg[1])); }

// ---- Systems ----

PT_HANDLER(F_PartSystemCreate) { Give(Result, ParticleSystem_Create()); }
PT_HANDLER(F_PartSystemDestroy) { ParticleSystem_Destroy(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartSystemExists) { Give(Result, ParticleSystem_Exists(RValue_RoundInt(arg[0]))); }
PT_HANDLER(F_PartSystemClear) { ParticleSystem_FreeContents(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartSystemDrawOrder) { ParticleSystem_DrawOrder(RValue_RoundInt(arg[0]), RValue_IsTrue(arg[1])); }
PT_HANDLER(F_PartSystemDepth) { ParticleSystem_SetDepth(RValue_RoundInt(arg[0]), RValue_Single(arg[1])); }
PT_HANDLER(F_PartSystemPosition) {
  ParticleSystem_SetPosition(RValue_RoundInt(arg[0]), RValue_Single(arg[1]), RValue_Single(arg[2]));
}
PT_HANDLER(F_PartSystemAutomaticUpdate) {
  ParticleSystem_AutomaticUpdate(RValue_RoundInt(arg[0]), RValue_IsTrue(arg[1]));
}
PT_HANDLER(F_PartSystemAutomaticDraw) { ParticleSystem_AutomaticDraw(RValue_RoundInt(arg[0]), RValue_IsTrue(arg[1])); }
PT_HANDLER(F_PartSystemUpdate) { ParticleSystem_Update(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartSystemDrawit) { ParticleSystem_Draw(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartParticlesCreate) {
  ParticleSystem_CreateParticles(RValue_RoundInt(arg[0]), RValue_Real(arg[1]), RValue_Single(arg[2]),
                                 RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]));
}
PT_HANDLER(F_PartParticlesCreateColor) {
  ParticleSystem_CreateParticlesColour(RValue_RoundInt(arg[0]), RValue_Real(arg[1]), RValue_Single(arg[2]),
                                       RValue_RoundInt(arg[3]), Arg_Colour(arg[4]), RValue_RoundInt(arg[5]));
}
PT_HANDLER(F_PartParticlesClear) { ParticleSystem_Clear(RValue_RoundInt(arg[0])); }
PT_HANDLER(F_PartParticlesCount) { Give(Result, ParticleSystem_ParticleCount(RValue_RoundInt(arg[0]))); }

// ---- Emitters, attractors, destroyers, deflectors and changers ----

// Create, destroy, destroy all, exists and clear of one family.
#define PT_FAMILY(Name, Engine)                                                                             \
  PT_HANDLER(F_Part##Name##Create) { GiveId(Result, Engine##_Create(RValue_RoundInt(arg[0]))); }            \
  PT_HANDLER(F_Part##Name##Destroy) { Engine##_Destroy(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); } \
  PT_HANDLER(F_Part##Name##DestroyAll) { Engine##_DestroyAll(RValue_RoundInt(arg[0])); }                    \
  PT_HANDLER(F_Part##Name##Exists) {                                                                        \
    Give(Result, Engine##_Exists(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])));                        \
  }                                                                                                         \
  PT_HANDLER(F_Part##Name##Clear) { Engine##_Clear(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); }

PT_FAMILY(Emitter, ParticleEmitter)
PT_FAMILY(Attractor, ParticleAttractor)
PT_FAMILY(Destroyer, ParticleDestroyer)
PT_FAMILY(Deflector, ParticleDeflector)
PT_FAMILY(Changer, ParticleChanger)
#undef PT_FAMILY

PT_HANDLER(F_PartEmitterRegion) {
  ParticleEmitter_Region(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                         RValue_Single(arg[4]), RValue_Single(arg[5]), RValue_RoundInt(arg[6]),
                         RValue_RoundInt(arg[7]));
}
PT_HANDLER(F_PartEmitterBurst) {
  ParticleEmitter_Burst(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                        RValue_RoundInt(arg[3]));
}
PT_HANDLER(F_PartEmitterStream) {
  ParticleEmitter_Stream(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                         RValue_RoundInt(arg[3]));
}
PT_HANDLER(F_PartAttractorPosition) {
  ParticleAttractor_Position(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]),
                             RValue_Single(arg[3]));
}
PT_HANDLER(F_PartAttractorForce) {
  ParticleAttractor_Force(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]),
                          RValue_Single(arg[3]), RValue_RoundInt(arg[4]), RValue_IsTrue(arg[5]));
}
PT_HANDLER(F_PartDestroyerRegion) {
  ParticleDestroyer_Region(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]),
                           RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                           RValue_RoundInt(arg[6]));
}
PT_HANDLER(F_PartDeflectorRegion) {
  ParticleDeflector_Region(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]),
                           RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]));
}
PT_HANDLER(F_PartDeflectorKind) {
  ParticleDeflector_Kind(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
PT_HANDLER(F_PartDeflectorFriction) {
  ParticleDeflector_Friction(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]));
}
PT_HANDLER(F_PartChangerRegion) {
  ParticleChanger_Region(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                         RValue_Single(arg[4]), RValue_Single(arg[5]), RValue_RoundInt(arg[6]));
}
PT_HANDLER(F_PartChangerKind) {
  ParticleChanger_Kind(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}
PT_HANDLER(F_PartChangerTypes) {
  ParticleChanger_Types(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]),
                        RValue_RoundInt(arg[3]));
}

// ---- Effects ----

PT_HANDLER(F_EffectCreateBelow) {
  Effect_Create(true, RValue_RoundInt(arg[0]), RValue_Real(arg[1]), RValue_Single(arg[2]), RValue_RoundInt(arg[3]),
                Arg_Colour(arg[4]));
}
PT_HANDLER(F_EffectCreateAbove) {
  Effect_Create(false, RValue_RoundInt(arg[0]), RValue_Real(arg[1]), RValue_Single(arg[2]), RValue_RoundInt(arg[3]),
                Arg_Colour(arg[4]));
}
PT_HANDLER(F_EffectClear) { Effect_Clear(); }

void Function_Particle_Init() {
  Particle_Constants();
  static const struct {
    const char* name;
    TRoutine routine;
    int argc;
  } builtins[] = {
      {"part_type_create", F_PartTypeCreate, 0},
      {"part_type_destroy", F_PartTypeDestroy, 1},
      {"part_type_exists", F_PartTypeExists, 1},
      {"part_type_clear", F_PartTypeClear, 1},
      {"part_type_shape", F_PartTypeShape, 2},
      {"part_type_sprite", F_PartTypeSprite, 5},
      {"part_type_size", F_PartTypeSize, 5},
      {"part_type_scale", F_PartTypeScale, 3},
      {"part_type_life", F_PartTypeLife, 3},
      {"part_type_step", F_PartTypeStep, 3},
      {"part_type_death", F_PartTypeDeath, 3},
      {"part_type_speed", F_PartTypeSpeed, 5},
      {"part_type_direction", F_PartTypeDirection, 5},
      {"part_type_orientation", F_PartTypeOrientation, 6},
      {"part_type_gravity", F_PartTypeGravity, 3},
      {"part_type_color_mix", F_PartTypeColorMix, 3},
      {"part_type_color_rgb", F_PartTypeColorRGB, 7},
      {"part_type_color_hsv", F_PartTypeColorHSV, 7},
      {"part_type_color1", F_PartTypeColor1, 2},
      {"part_type_color2", F_PartTypeColor2, 3},
      {"part_type_color3", F_PartTypeColor3, 4},
      {"part_type_color", F_PartTypeColor3, 4},
      {"part_type_alpha1", F_PartTypeAlpha1, 2},
      {"part_type_alpha2", F_PartTypeAlpha2, 3},
      {"part_type_alpha3", F_PartTypeAlpha3, 4},
      {"part_type_alpha", F_PartTypeAlpha3, 4},
      {"part_type_blend", F_PartTypeBlend, 2},
      {"part_system_create", F_PartSystemCreate, 0},
      {"part_system_destroy", F_PartSystemDestroy, 1},
      {"part_system_exists", F_PartSystemExists, 1},
      {"part_system_clear", F_PartSystemClear, 1},
      {"part_system_draw_order", F_PartSystemDrawOrder, 2},
      {"part_system_depth", F_PartSystemDepth, 2},
      {"part_system_position", F_PartSystemPosition, 3},
      {"part_system_automatic_update", F_PartSystemAutomaticUpdate, 2},
      {"part_system_automatic_draw", F_PartSystemAutomaticDraw, 2},
      {"part_system_update", F_PartSystemUpdate, 1},
      {"part_system_drawit", F_PartSystemDrawit, 1},
      {"part_particles_create", F_PartParticlesCreate, 5},
      {"part_particles_create_color", F_PartParticlesCreateColor, 6},
      {"part_particles_clear", F_PartParticlesClear, 1},
      {"part_particles_count", F_PartParticlesCount, 1},
      {"part_emitter_create", F_PartEmitterCreate, 1},
      {"part_emitter_destroy", F_PartEmitterDestroy, 2},
      {"part_emitter_destroy_all", F_PartEmitterDestroyAll, 1},
      {"part_emitter_exists", F_PartEmitterExists, 2},
      {"part_emitter_clear", F_PartEmitterClear, 2},
      {"part_emitter_region", F_PartEmitterRegion, 8},
      {"part_emitter_burst", F_PartEmitterBurst, 4},
      {"part_emitter_stream", F_PartEmitterStream, 4},
      {"part_attractor_create", F_PartAttractorCreate, 1},
      {"part_attractor_destroy", F_PartAttractorDestroy, 2},
      {"part_attractor_destroy_all", F_PartAttractorDestroyAll, 1},
      {"part_attractor_exists", F_PartAttractorExists, 2},
      {"part_attractor_clear", F_PartAttractorClear, 2},
      {"part_attractor_position", F_PartAttractorPosition, 4},
      {"part_attractor_force", F_PartAttractorForce, 6},
      {"part_destroyer_create", F_PartDestroyerCreate, 1},
      {"part_destroyer_destroy", F_PartDestroyerDestroy, 2},
      {"part_destroyer_destroy_all", F_PartDestroyerDestroyAll, 1},
      {"part_destroyer_exists", F_PartDestroyerExists, 2},
      {"part_destroyer_clear", F_PartDestroyerClear, 2},
      {"part_destroyer_region", F_PartDestroyerRegion, 7},
      {"part_deflector_create", F_PartDeflectorCreate, 1},
      {"part_deflector_destroy", F_PartDeflectorDestroy, 2},
      {"part_deflector_destroy_all", F_PartDeflectorDestroyAll, 1},
      {"part_deflector_exists", F_PartDeflectorExists, 2},
      {"part_deflector_clear", F_PartDeflectorClear, 2},
      {"part_deflector_region", F_PartDeflectorRegion, 6},
      {"part_deflector_kind", F_PartDeflectorKind, 3},
      {"part_deflector_friction", F_PartDeflectorFriction, 3},
      {"part_changer_create", F_PartChangerCreate, 1},
      {"part_changer_destroy", F_PartChangerDestroy, 2},
      {"part_changer_destroy_all", F_PartChangerDestroyAll, 1},
      {"part_changer_exists", F_PartChangerExists, 2},
      {"part_changer_clear", F_PartChangerClear, 2},
      {"part_changer_region", F_PartChangerRegion, 7},
      {"part_changer_kind", F_PartChangerKind, 3},
      {"part_changer_types", F_PartChangerTypes, 4},
      {"effect_create_below", F_EffectCreateBelow, 5},
      {"effect_create_above", F_EffectCreateAbove, 5},
      {"effect_clear", F_EffectClear, 0},
  };
  for (const auto& b : builtins) Function_Add(b.name, b.routine, b.argc);
}
