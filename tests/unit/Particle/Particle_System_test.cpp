// The particle engine updated by hand: life and counts, motion and the parts
// acting on it, colour and alpha over the life, and the guards on ids,
// destroyed types and the particle limit.
#include <gtest/gtest.h>

#include <cmath>

#include "Base/Random_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Particle/Particle_Main.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

namespace {

class ParticleTest : public ::testing::Test {
 protected:
  int ps = -1, t = -1;
  void SetUp() override {
    Particle_FreeAll();
    Random_Seed(1);
    ps = ParticleSystem_Create();
    t = ParticleType_Create();
  }
  void TearDown() override { Particle_FreeAll(); }
  CParticleSystem& System() { return *ParticleSystem_Get(ps); }
  const SParticle& First() { return System().particles.front(); }
  void Update(int times = 1) {
    for (int i = 0; i < times; i++) ParticleSystem_Update(ps);
  }
};

TEST_F(ParticleTest, IdsTakeTheFirstUnusedSlot) {
  int t2 = ParticleType_Create(), t3 = ParticleType_Create();
  EXPECT_EQ(t2, t + 1);
  ParticleType_Destroy(t2);
  EXPECT_FALSE(ParticleType_Exists(t2));
  EXPECT_TRUE(ParticleType_Exists(t3));
  EXPECT_EQ(ParticleType_Create(), t2);
  int ps2 = ParticleSystem_Create();
  ParticleSystem_Destroy(ps);
  EXPECT_EQ(ParticleSystem_Create(), ps);
  EXPECT_TRUE(ParticleSystem_Exists(ps2));
  int e0 = ParticleEmitter_Create(ps), e1 = ParticleEmitter_Create(ps);
  EXPECT_EQ(e0, 0);
  EXPECT_EQ(e1, 1);
  ParticleEmitter_Destroy(ps, e0);
  EXPECT_FALSE(ParticleEmitter_Exists(ps, e0));
  EXPECT_EQ(ParticleEmitter_Create(ps), e0);
  EXPECT_EQ(ParticleChanger_Create(ps2), 0);  // each system numbers its own parts
}

TEST_F(ParticleTest, BadIdsDoNothing) {
  for (int bad : {-1, 99, int(1e9)}) {
    ParticleType_SetSize(bad, 2, 2, 0, 0);
    ParticleSystem_CreateParticles(bad, 0, 0, t, 5);
    ParticleSystem_CreateParticles(ps, 0, 0, bad, 5);
    ParticleEmitter_Burst(ps, bad, t, 5);
    ParticleAttractor_Force(bad, 0, 1, 1, 0, false);
    EXPECT_EQ(ParticleSystem_ParticleCount(bad), 0);
    EXPECT_FALSE(ParticleType_Exists(bad));
    EXPECT_FALSE(ParticleDeflector_Exists(ps, bad));
    EXPECT_EQ(ParticleEmitter_Create(bad), -1);
  }
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 0);
  ParticleSystem_Destroy(ps);
  ParticleSystem_Update(ps);  // destroyed
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 0);
}

TEST_F(ParticleTest, LifeDeathAndStepParticles) {
  int child = ParticleType_Create();
  ParticleType_SetLife(child, 1, 1);
  ParticleType_SetLife(t, 3, 3);
  ParticleType_SetDeath(t, 4, child);
  ParticleType_SetStep(t, 1, child);
  ParticleSystem_CreateParticles(ps, 5, 6, t, 2);
  Update();  // 2 parents and 2 step particles
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 4);
  Update();  // the step particles die, 2 new ones come
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 4);
  Update();  // the parents die: 8 death particles
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 8);
  for (const SParticle& p : System().particles) {
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 6);
  }
  Update();
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 0);
}

TEST_F(ParticleTest, StreamsBurstsAndRegions) {
  int e = ParticleEmitter_Create(ps);
  ParticleEmitter_Region(ps, e, 10, 30, 100, 140, PS_SHAPE_ELLIPSE, PS_DISTR_GAUSSIAN);
  ParticleEmitter_Burst(ps, e, t, 500);
  ParticleEmitter_Burst(ps, e, t, -3);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 500);
  SParticleRegion ellipse{10, 30, 100, 140, PS_SHAPE_ELLIPSE};
  for (const SParticle& p : System().particles) EXPECT_TRUE(ellipse.Contains(p.x, p.y)) << p.x << "," << p.y;
  ParticleEmitter_Stream(ps, e, t, 7);
  Update(3);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 521);
  // A negative stream makes one particle with the chance 1 in n.
  ParticleSystem_Clear(ps);
  ParticleType_SetLife(t, 1000, 1000);
  ParticleEmitter_Stream(ps, e, t, -4);
  Update(400);
  EXPECT_GT(ParticleSystem_ParticleCount(ps), 60);
  EXPECT_LT(ParticleSystem_ParticleCount(ps), 140);
  // A line region puts every point on its diagonal.
  ParticleSystem_Clear(ps);
  ParticleEmitter_Region(ps, e, 0, 10, 0, 20, PS_SHAPE_LINE, PS_DISTR_INVGAUSSIAN);
  ParticleEmitter_Burst(ps, e, t, 50);
  for (const SParticle& p : System().particles) EXPECT_NEAR(p.y, 2 * p.x, 1e-3);
  // A particle sent nowhere by unusable numbers is in no region.
  SParticleRegion all{-1e30f, 1e30f, -1e30f, 1e30f, PS_SHAPE_RECTANGLE};
  EXPECT_TRUE(all.Contains(0, 0));
  EXPECT_FALSE(all.Contains(std::nanf(""), 0));
  EXPECT_FALSE(all.Contains(0, std::nanf("")));
}

TEST_F(ParticleTest, MotionGravityAndIncrements) {
  ParticleType_SetSpeed(t, 2, 2, 0, 0);
  ParticleType_SetDirection(t, 90, 90, 0, 0);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update();
  EXPECT_NEAR(First().x, 0, 1e-5);
  EXPECT_NEAR(First().y, -2, 1e-5);  // up the screen
  ParticleType_SetGravity(t, 0.5f, 270);
  Update(2);  // the motion gains 0.5 downwards each update
  EXPECT_NEAR(First().y, -2 - 1.5f - 1.0f, 1e-4);
  ParticleType_SetGravity(t, 0, 0);
  ParticleType_SetSpeed(t, 2, 2, -1, 0);
  ParticleType_SetDirection(t, 90, 90, 90, 0);
  // Speed and direction go on from the motion gravity left: speed 1 up.
  Update();
  EXPECT_NEAR(First().vx, 0, 1e-4);
  EXPECT_NEAR(First().vy, 0, 1e-4);  // speed 1 - 1, and the speed never goes below 0
  Update();
  EXPECT_EQ(First().speed, 0);
  ParticleType_SetSize(t, 1, 1, 0.25f, 0);
  ParticleType_SetOrientation(t, 0, 0, 10, 0, false);
  float size = First().size, ang = First().ang;
  Update();
  EXPECT_FLOAT_EQ(First().size, size + 0.25f);
  EXPECT_FLOAT_EQ(First().ang, ang + 10);
}

TEST_F(ParticleTest, WigglesSwingAroundTheCourse) {
  ParticleType_SetSpeed(t, 3, 3, 0, 1);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  float lo = 10, hi = -10;
  for (int i = 0; i < 32; i++) {
    Update();
    float v = std::sqrt(First().vx * First().vx + First().vy * First().vy);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_GE(lo, 2 - 1e-4);
  EXPECT_LE(hi, 4 + 1e-4);
  EXPECT_GT(hi - lo, 1.5f);
  EXPECT_FLOAT_EQ(First().speed, 3);
}

TEST_F(ParticleTest, AttractorsPullWithinTheirDistance) {
  int a = ParticleAttractor_Create(ps);
  ParticleAttractor_Position(ps, a, 100, 0);
  ParticleAttractor_Force(ps, a, 2, 50, PS_FORCE_CONSTANT, false);
  ParticleSystem_CreateParticles(ps, 60, 0, t, 1);  // inside: pulled 2 nearer
  ParticleSystem_CreateParticles(ps, 40, 0, t, 1);  // beyond the distance
  ParticleSystem_CreateParticles(ps, 99, 0, t, 1);  // never past the attractor
  Update();
  EXPECT_FLOAT_EQ(System().particles[0].x, 62);
  EXPECT_FLOAT_EQ(System().particles[1].x, 40);
  EXPECT_FLOAT_EQ(System().particles[2].x, 100);
  ParticleSystem_Clear(ps);
  ParticleAttractor_Force(ps, a, 2, 50, PS_FORCE_LINEAR, false);
  ParticleSystem_CreateParticles(ps, 75, 0, t, 1);  // halfway: half the force
  ParticleAttractor_Force(ps, a, 2, 50, PS_FORCE_QUADRATIC, false);
  Update();
  EXPECT_FLOAT_EQ(First().x, 75.5f);  // a quarter of the force
  ParticleAttractor_Force(ps, a, -1, 50, PS_FORCE_CONSTANT, true);
  Update(2);  // pushed away: the motion grows by 1 each update, after the move
  EXPECT_NEAR(First().vx, -2, 1e-5);
  EXPECT_NEAR(First().x, 75.5f - 1, 1e-4);
}

TEST_F(ParticleTest, DeflectorsBounceParticlesThatEnter) {
  int d = ParticleDeflector_Create(ps);
  ParticleDeflector_Region(ps, d, 10, 20, -100, 100);
  ParticleDeflector_Kind(ps, d, PS_DEFLECT_HORIZONTAL);
  ParticleType_SetSpeed(t, 4, 4, 0, 0);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update(3);  // 4, 8, then 12 is inside: back to 8, moving left
  EXPECT_FLOAT_EQ(First().x, 8);
  EXPECT_FLOAT_EQ(First().vx, -4);
  Update();
  EXPECT_FLOAT_EQ(First().x, 4);
  // Vertical: the vertical motion turns; friction takes from the speed.
  ParticleSystem_Clear(ps);
  ParticleDeflector_Kind(ps, d, PS_DEFLECT_VERTICAL);
  ParticleDeflector_Region(ps, d, -100, 100, 10, 20);
  ParticleDeflector_Friction(ps, d, 1);
  ParticleType_SetDirection(t, 270, 270, 0, 0);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update(3);
  EXPECT_FLOAT_EQ(First().y, 8);
  EXPECT_NEAR(First().vy, -3, 1e-5);
  ParticleDeflector_Clear(ps, d);  // an empty region catches nothing
  Update();
  EXPECT_NEAR(First().y, 5, 1e-5);
  // Friction above the speed stops the particle at the edge; it never
  // turns the particle round a second time.
  ParticleSystem_Clear(ps);
  ParticleDeflector_Kind(ps, d, PS_DEFLECT_VERTICAL);
  ParticleDeflector_Region(ps, d, -100, 100, 10, 20);
  ParticleDeflector_Friction(ps, d, 10);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update(3);
  EXPECT_FLOAT_EQ(First().y, 8);
  EXPECT_FLOAT_EQ(First().vx, 0);
  EXPECT_FLOAT_EQ(First().vy, 0);
  Update(2);
  EXPECT_FLOAT_EQ(First().y, 8);
}

TEST_F(ParticleTest, DestroyersAndChangers) {
  int other = ParticleType_Create();
  ParticleType_SetLife(other, 7, 7);
  ParticleType_SetSpeed(other, 5, 5, 0, 0);
  ParticleType_SetColour1(other, 0x00FF00);
  ParticleType_SetSize(other, 3, 3, 0, 0);
  ParticleType_SetSpeed(t, 1, 1, 0, 0);
  ParticleType_SetColour1(t, 0x0000FF);
  int c = ParticleChanger_Create(ps);
  ParticleChanger_Region(ps, c, -10, 10, -10, 10, PS_SHAPE_DIAMOND);
  ParticleChanger_Types(ps, c, t, other);
  ParticleChanger_Kind(ps, c, PS_CHANGE_SHAPE);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  ParticleSystem_CreateParticles(ps, 9, 9, t, 1);  // outside the diamond
  Update();
  const SParticle& changed = System().particles[0];
  EXPECT_EQ(changed.type, ParticleType_Get(other));
  EXPECT_EQ(changed.colour, 0x00FF00u);
  EXPECT_EQ(changed.size, 3);
  EXPECT_FLOAT_EQ(changed.vx, 1);  // the motion stays
  EXPECT_EQ(changed.life, 100);
  EXPECT_EQ(System().particles[1].type, ParticleType_Get(t));
  ParticleSystem_Clear(ps);
  ParticleChanger_Kind(ps, c, PS_CHANGE_MOTION);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update();
  EXPECT_FLOAT_EQ(First().vx, 5);
  EXPECT_EQ(First().colour, 0x0000FFu);  // the look stays
  ParticleSystem_Clear(ps);
  ParticleChanger_Kind(ps, c, PS_CHANGE_ALL);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update();
  EXPECT_EQ(First().life, 7);
  EXPECT_EQ(First().age, 0);
  EXPECT_EQ(First().colour, 0x00FF00u);
  // A destroyer removes what is inside it, with no death particles.
  ParticleType_SetDeath(other, 5, t);
  int d = ParticleDestroyer_Create(ps);
  ParticleDestroyer_Region(ps, d, 0, 10, -5, 5, PS_SHAPE_RECTANGLE);
  Update();
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 0);
}

TEST_F(ParticleTest, ColourAndAlphaOverTheLife) {
  ParticleType_SetLife(t, 4, 4);
  ParticleType_SetColour3(t, 0x0000FF, 0x00FF00, 0xFF0000);
  ParticleType_SetAlpha2(t, 1, 0);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  EXPECT_EQ(First().colour, 0x0000FFu);
  EXPECT_FLOAT_EQ(First().alpha, 1);
  Update();  // a quarter of the life
  EXPECT_FLOAT_EQ(First().alpha, 0.75f);
  Update();  // half: the middle colour
  EXPECT_EQ(First().colour, 0x00FF00u);
  EXPECT_FLOAT_EQ(First().alpha, 0.5f);
  ParticleType_SetAlpha3(t, 0, 1, 0);
  Update();
  EXPECT_FLOAT_EQ(First().alpha, 0.5f);
  // Picked once: RGB ranges, each channel within 0..255.
  ParticleType_SetColourRGB(t, 10, 20, 30, 30, 300, 400);
  ParticleSystem_Clear(ps);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 50);
  for (const SParticle& p : System().particles) {
    EXPECT_GE(p.colour & 0xFF, 10u);
    EXPECT_LE(p.colour & 0xFF, 20u);
    EXPECT_EQ((p.colour >> 8) & 0xFF, 30u);
    EXPECT_EQ(p.colour >> 16, 255u);  // clamped to the channel
  }
}

TEST_F(ParticleTest, HsvAndMixColours) {
  ParticleType_SetColourHSV(t, 0, 0, 255, 255, 255, 255);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 3);
  for (const SParticle& p : System().particles) EXPECT_EQ(p.colour, 0x0000FFu);  // pure red
  ParticleType_SetColourMix(t, 0x000000, 0x0000FF);
  ParticleSystem_Clear(ps);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 200);
  uint32_t lo = 255, hi = 0;
  for (const SParticle& p : System().particles) {
    EXPECT_EQ(p.colour & 0xFFFF00, 0u);
    lo = std::min(lo, p.colour);
    hi = std::max(hi, p.colour);
  }
  EXPECT_LT(lo, 30u);
  EXPECT_GT(hi, 225u);
}

TEST_F(ParticleTest, DestroyingATypeEndsEveryUseOfIt) {
  int gone = ParticleType_Create();
  ParticleType_SetLife(t, 2, 2);
  ParticleType_SetStep(t, 1, gone);
  ParticleType_SetDeath(t, 1, gone);
  int e = ParticleEmitter_Create(ps);
  ParticleEmitter_Stream(ps, e, gone, 3);
  int c = ParticleChanger_Create(ps);
  ParticleChanger_Region(ps, c, -100, 100, -100, 100, PS_SHAPE_RECTANGLE);
  ParticleChanger_Types(ps, c, t, gone);
  int ps2 = ParticleSystem_Create();
  ParticleSystem_CreateParticles(ps2, 0, 0, gone, 4);
  ParticleSystem_CreateParticles(ps, 0, 0, gone, 4);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  ParticleType_Destroy(gone);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps2), 0);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 1);
  // A new type in the slot is not the old one.
  EXPECT_EQ(ParticleType_Create(), gone);
  Update();  // no step particle, stream or change
  ASSERT_EQ(ParticleSystem_ParticleCount(ps), 1);
  EXPECT_EQ(First().type, ParticleType_Get(t));
  Update();  // and no death particles
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), 0);
}

TEST_F(ParticleTest, ASystemHoldsAtMostAMillionParticles) {
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1500000);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), PARTICLE_MAX);
  ParticleSystem_Clear(ps);
  // A type that makes two of itself every update stops at the limit.
  ParticleType_SetStep(t, 2, t);
  ParticleSystem_CreateParticles(ps, 0, 0, t, 1);
  Update(22);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), PARTICLE_MAX);
  ParticleSystem_CreateParticles(ps, 0, 0, t, INT32_MAX);
  EXPECT_EQ(ParticleSystem_ParticleCount(ps), PARTICLE_MAX);
}

TEST(ParticleBuiltins, ColourAndAlphaAreTheThreeStopHandlers) {
  InitCWLFunctions();
  auto routine = [](const char* name) {
    const RFunction* f = Function_Get(Function_FindBuiltIn(name));
    return f ? f->routine : nullptr;
  };
  ASSERT_NE(routine("part_type_color3"), nullptr);
  EXPECT_EQ(routine("part_type_color"), routine("part_type_color3"));
  EXPECT_EQ(routine("part_type_alpha"), routine("part_type_alpha3"));
  EXPECT_NE(routine("part_type_alpha"), routine("part_type_alpha2"));
}

}  // namespace
