// Debug drawing of a physics world with the 2D primitives, read back.
#include <gtest/gtest.h>

#include <algorithm>

#include "Graphics_TestDevice.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"

namespace {
class PhysicsDraw : public GraphicsTest {
 protected:
  // A static 20 x 20 pixel box centred on (32, 32), at 0.1 m per pixel.
  void SetUp() override {
    GraphicsTest::SetUp();
    CPhysicsFixture box;
    ASSERT_EQ(box.SetBoxShape(2, 2), nullptr);
    box.density = 0;
    ASSERT_EQ(world.CreateBody(box, nullptr, &body, 32, 32, 0), nullptr);
  }
  void TearDown() override { delete body; }
  // Whether any pixel within a pixel of (x, y) is lit.
  static bool LitNear(const std::vector<uint32_t>& s, int x, int y) {
    for (int dy = -1; dy <= 1; dy++)
      for (int dx = -1; dx <= 1; dx++)
        if ((Pixel(s, x + dx, y + dy) & 0xFFFFFF) != 0) return true;
    return false;
  }

  CPhysicsWorld world{0.1f, 30};
  CPhysicsObject* body = nullptr;
};

TEST_F(PhysicsDraw, ShapesAreOutlinedInRoomPixels) {
  world.DrawDebug(PHYSICS_DRAW_SHAPES);
  auto s = Screen();
  EXPECT_TRUE(LitNear(s, 22, 32));  // left edge
  EXPECT_TRUE(LitNear(s, 42, 32));  // right edge
  EXPECT_TRUE(LitNear(s, 32, 22));  // top edge
  EXPECT_FALSE(LitNear(s, 32, 32));  // outline only
  EXPECT_FALSE(LitNear(s, 10, 10));
}

TEST_F(PhysicsDraw, FlagsChooseWhatIsDrawn) {
  world.DrawDebug(0);
  EXPECT_TRUE(Lit(Screen()).empty());
  world.DrawDebug(PHYSICS_DRAW_CENTRES);  // the body's axes from its centre
  auto s = Screen();
  EXPECT_TRUE(LitNear(s, 33, 32));
  EXPECT_FALSE(LitNear(s, 22, 32));
}

TEST_F(PhysicsDraw, ABodyDrawsItsOwnShapesAtAnyScale) {
  body->DrawDebug(5);  // 5 pixels a metre: the 2 m box is 10 pixels wide
  auto s = Screen();
  EXPECT_TRUE(LitNear(s, 11, 16));
  EXPECT_TRUE(LitNear(s, 21, 16));
  EXPECT_FALSE(LitNear(s, 22, 32));
}
}  // namespace
