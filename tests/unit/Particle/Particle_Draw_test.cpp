// The built-in particle images, the drawing of systems through the batch,
// and the effects' two systems, read back from the screen.
#include <gtest/gtest.h>

#include "Graphics_TestDevice.h"
#include "Particle/Particle_Effect.h"
#include "Particle/Particle_Main.h"
#include "Particle/Particle_Shapes.h"
#include "Particle/Particle_System.h"
#include "Particle/Particle_Type.h"

namespace {

TEST(ParticleShapes, EachImageIsWhatItsNameSays) {
  constexpr int n = PARTICLE_SHAPE_SIZE;
  int lit = 0;
  for (int y = 0; y < n; y++)
    for (int x = 0; x < n; x++) {
      EXPECT_EQ(Particle_ShapeAlpha(PT_SHAPE_SQUARE, x, y), 255);
      if (Particle_ShapeAlpha(PT_SHAPE_PIXEL, x, y)) lit++;
      float dx = x + 0.5f - n / 2, dy = y + 0.5f - n / 2;
      if (dx * dx + dy * dy < (n / 2 - 1) * (n / 2 - 1)) EXPECT_EQ(Particle_ShapeAlpha(PT_SHAPE_DISK, x, y), 255);
      if (dx * dx + dy * dy > (n / 2 + 1) * (n / 2 + 1)) EXPECT_EQ(Particle_ShapeAlpha(PT_SHAPE_DISK, x, y), 0);
    }
  EXPECT_EQ(lit, 4);  // the pixel is the two by two at the centre
  EXPECT_EQ(Particle_ShapeAlpha(PT_SHAPE_PIXEL, n / 2, n / 2), 255);
  // Every image shows something and, but the square, leaves its corners clear.
  for (int s = 0; s < PT_SHAPE_COUNT; s++) {
    int sum = 0;
    for (int y = 0; y < n; y++)
      for (int x = 0; x < n; x++) sum += Particle_ShapeAlpha(s, x, y);
    EXPECT_GT(sum, 0) << s;
    if (s != PT_SHAPE_SQUARE) EXPECT_EQ(Particle_ShapeAlpha(s, 0, 0) + Particle_ShapeAlpha(s, n - 1, n - 1), 0) << s;
  }
  EXPECT_EQ(Particle_ShapeAlpha(PT_SHAPE_COUNT, 32, 32), 0);
  EXPECT_EQ(Particle_ShapeAlpha(-1, 32, 32), 0);
}

class ParticleDrawTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    Particle_FreeAll();
  }
  void TearDown() override { Particle_FreeAll(); }
};

TEST_F(ParticleDrawTest, ManyParticlesShareFullBatches) {
  int ps = ParticleSystem_Create(), t = ParticleType_Create(), u = ParticleType_Create();
  ParticleType_SetShape(t, PT_SHAPE_SQUARE);
  ParticleType_SetShape(u, PT_SHAPE_SNOW);  // another shape, the same texture
  ParticleType_SetSize(t, 0.01f, 0.01f, 0, 0);
  ParticleType_SetColour2(t, 0xFF, 0xFF00);
  for (int i = 0; i < 10000; i++) {
    ParticleSystem_CreateParticles(ps, i % 64, (i / 64) % 64, t, 1);
    ParticleSystem_CreateParticles(ps, i % 64, (i / 64) % 64, u, 1);
  }
  Batch_Flush();
  int before = Graphics_FrameCounters.batches;
  ParticleSystem_Draw(ps);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches - before, (6 * 20000 + BATCH_MAX_VERTS - 1) / BATCH_MAX_VERTS);
}

TEST_F(ParticleDrawTest, ShapesComeBackAfterTheirTextureIsReleased) {
  int ps = ParticleSystem_Create(), t = ParticleType_Create();
  ParticleType_SetShape(t, PT_SHAPE_SQUARE);
  ParticleType_SetSize(t, 0.25f, 0.25f, 0, 0);
  ParticleSystem_CreateParticles(ps, 32, 32, t, 1);
  Particle_FreeTextures();
  ParticleSystem_Draw(ps);
  auto s = Screen();
  EXPECT_EQ(Pixel(s, 32, 32) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(Pixel(s, 23, 32) & 0xFFFFFF, 0u);
  EXPECT_EQ(Lit(s).size(), 16u * 16u);
}

TEST_F(ParticleDrawTest, RotatedAndRelativeOrientation) {
  int ps = ParticleSystem_Create(), t = ParticleType_Create();
  ParticleType_SetShape(t, PT_SHAPE_SQUARE);
  ParticleType_SetSize(t, 0.5f, 0.5f, 0, 0);
  ParticleType_SetScale(t, 1, 0.125f);  // a 32 by 4 bar
  ParticleType_SetSpeed(t, 0.001f, 0.001f, 0, 0);
  ParticleType_SetDirection(t, 90, 90, 0, 0);
  ParticleType_SetOrientation(t, 0, 0, 0, 0, true);  // along the motion: upright
  ParticleSystem_CreateParticles(ps, 32, 32, t, 1);
  ParticleSystem_Draw(ps);
  auto s = Screen();
  EXPECT_NE(Pixel(s, 32, 20) & 0xFFFFFF, 0u);
  EXPECT_EQ(Pixel(s, 44, 32) & 0xFFFFFF, 0u);
}

TEST_F(ParticleDrawTest, EffectsDrawInTheirOwnSystems) {
  Effect_Create(false, EF_FLARE, 32, 32, 0, 0xFFFFFF);
  Effect_Draw(true);
  EXPECT_TRUE(Lit(Screen()).empty());
  Effect_Draw(false);
  EXPECT_FALSE(Lit(Screen()).empty());
  Effect_Clear();
  Graphics_Clear(0xFF000000);
  Effect_Draw(false);
  EXPECT_TRUE(Lit(Screen()).empty());
  // Every kind and size, sizes beyond the three taken as the nearest.
  for (int kind = -1; kind <= EF_KIND_COUNT; kind++)
    for (int size = -1; size <= 3; size++) Effect_Create(true, kind, 32, 32, size, 0x00FF00);
  for (int i = 0; i < 5; i++) Effect_Update();
  Effect_Draw(true);
  auto s = Screen();
  EXPECT_FALSE(Lit(s).empty());
  for (auto [x, y] : Lit(s)) EXPECT_EQ(Pixel(s, x, y) & 0xFF00FF, 0u) << x << "," << y;  // in the colour given
}

}  // namespace
