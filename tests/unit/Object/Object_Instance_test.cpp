#include <gtest/gtest.h>

#include "Code/Code_Context.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class ObjectInstance : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

TEST_F(ObjectInstance, MotionKeepsBothFormsInStep) {
  CInstance i(0, 0, 100001, -1, false);
  i.SetSpeed(4);
  i.SetDirection(90);
  EXPECT_EQ(i.hspeed, 0);
  EXPECT_FLOAT_EQ(i.vspeed, -4);
  i.SetDirection(-90);
  EXPECT_FLOAT_EQ(i.direction, 270);
  i.SetHSpeed(3);
  i.SetVSpeed(-4);
  EXPECT_FLOAT_EQ(i.speed, 5);
  EXPECT_NEAR(i.direction, 53.1301, 1e-3);
  i.AddMotion(180, 3);
  EXPECT_EQ(i.hspeed, 0);
  EXPECT_FLOAT_EQ(i.direction, 90);
}

TEST_F(ObjectInstance, FrictionStopsAtZeroAndGravityPulls) {
  CInstance i(10, 10, 100001, -1, false);
  i.SetHSpeed(1.5f);
  i.friction = 1;
  i.Move();
  EXPECT_FLOAT_EQ(i.x, 10.5f);
  i.Move();
  EXPECT_FLOAT_EQ(i.speed, 0);
  EXPECT_FLOAT_EQ(i.x, 10.5f);
  i.friction = 0;
  i.gravity = 2;  // direction 270: down
  i.Move();
  i.Move();
  EXPECT_FLOAT_EQ(i.vspeed, 4);
  EXPECT_FLOAT_EQ(i.y, 16);
  // A negative speed slows towards 0 too, and stops there.
  CInstance back(10, 10, 100002, -1, false);
  back.SetSpeed(-2.5f);
  back.friction = 1;
  back.Move();
  EXPECT_FLOAT_EQ(back.speed, -1.5f);
  EXPECT_FLOAT_EQ(back.x, 8.5f);
  back.Move();
  back.Move();
  EXPECT_FLOAT_EQ(back.speed, 0);
  EXPECT_FLOAT_EQ(back.x, 8);
}

TEST_F(ObjectInstance, AlarmsOutsideTheTwelveAreIgnored) {
  CInstance i(0, 0, 100001, -1, false);
  i.SetAlarm(12, 5);
  i.SetAlarm(-1, 5);
  EXPECT_EQ(i.GetAlarm(12), -1);
  i.SetAlarm(11, 5);
  EXPECT_EQ(i.GetAlarm(11), 5);
}

TEST_F(ObjectInstance, BoundingBoxFollowsOriginScaleAndAngle) {
  int sprite = AddSprite(10, 20, 5, 10);
  CInstance i(100, 100, 100001, -1, false);
  i.sprite_index = sprite;
  int l, t, r, b;
  i.GetBoundingBox(&l, &t, &r, &b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{95, 90, 104, 109}));
  i.SetImageXScale(-2);
  i.GetBoundingBox(&l, &t, &r, &b);
  EXPECT_EQ((std::vector<int>{l, r}), (std::vector<int>{90, 109}));
  i.SetImageXScale(1);
  i.SetImageAngle(90);
  i.GetBoundingBox(&l, &t, &r, &b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{90, 95, 109, 104}));

  // Far beyond the 32-bit range the box sits at its end instead of wrapping
  // around to cover every position.
  i.SetImageAngle(0);
  i.SetPosition(3e9f, -3e9f);
  i.GetBoundingBox(&l, &t, &r, &b);
  EXPECT_EQ((std::vector<int>{l, t, r, b}), (std::vector<int>{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN}));
}

TEST_F(ObjectInstance, PreciseTestsUseTheMask) {
  // A 4x4 sprite whose mask is only its top-left pixel and bottom-right pixel.
  std::vector<uint8_t> mask(16, 0);
  mask[0] = mask[15] = 1;
  int corners = AddSprite(4, 4, 0, 0, mask);
  int small = AddSprite(2, 2);
  CInstance a(0, 0, 100001, -1, false), b(0, 0, 100002, -1, false);
  a.sprite_index = corners;
  b.sprite_index = small;
  EXPECT_TRUE(a.Collision_Point(0.5f, 0.5f, true));
  EXPECT_FALSE(a.Collision_Point(1.5f, 0.5f, true));
  EXPECT_TRUE(a.Collision_Point(1.5f, 0.5f, false));
  EXPECT_FALSE(a.Collision_Point(4.0f, 0.5f, false));  // right edge is exclusive
  b.SetPosition(1, 1);  // covers pixels 1..2: misses both set pixels
  EXPECT_FALSE(a.Collision_Instance(&b, true));
  EXPECT_TRUE(a.Collision_Instance(&b, false));
  b.SetPosition(2, 2);
  EXPECT_TRUE(a.Collision_Instance(&b, true));
  EXPECT_FALSE(a.Collision_Instance(&a, true));
  EXPECT_TRUE(a.Collision_Rectangle(3, 3, 10, 10, true));
  EXPECT_FALSE(a.Collision_Rectangle(1, 1, 2.5f, 2.5f, true));
  EXPECT_TRUE(a.Collision_Line(-5, -5, 10, 10, true));
  EXPECT_FALSE(a.Collision_Line(0, 3.5f, 3.5f, 0, true));  // the other diagonal
  EXPECT_TRUE(a.Collision_Ellipse(-1, -1, 1, 1, true));
  EXPECT_FALSE(a.Collision_Ellipse(1.2f, 1.2f, 2.8f, 2.8f, true));
  a.marked = true;
  EXPECT_FALSE(a.Collision_Point(0.5f, 0.5f, false));
}

TEST_F(ObjectInstance, ParentsGiveEventsAndListsButNotCycles) {
  int base = Object_Add("base");
  int mid = Object_Add("mid");
  int leaf = Object_Add("leaf");
  Object_Find(mid)->parent_index = base;
  Object_Find(leaf)->parent_index = mid;
  LogOn(base, EV_STEP, 0, "step");
  LogOn(mid, EV_COLLISION, base, "hit");
  Object_LinkParents();
  Object_BuildEventLists();
  EXPECT_TRUE(Object_Find(leaf)->HasAncestor(base));
  EXPECT_FALSE(Object_Find(leaf)->HasAncestor(leaf));
  int owner;
  EXPECT_NE(Object_Find(leaf)->FindEvent(EV_STEP, 0, &owner), nullptr);
  EXPECT_EQ(owner, base);
  EXPECT_EQ(Object_Find(leaf)->GetOwnEvent(EV_STEP, 0), nullptr);
  EXPECT_EQ(Object_EventList(EV_STEP, 0), (std::vector<int>{base, mid, leaf}));
  EXPECT_EQ(Object_CollisionPairs().size(), 2u);  // mid and leaf against base

  CInstance i(0, 0, 100001, leaf);
  EXPECT_EQ(Object_Find(base)->instances_recursive.size(), 1u);
  EXPECT_EQ(Object_Find(base)->instances.size(), 0u);
  EXPECT_EQ(Object_Find(leaf)->instances.size(), 1u);

  // base -> leaf makes a cycle: it is cut, and the walks end.
  Object_Find(base)->parent_index = leaf;
  Object_LinkParents();
  EXPECT_FALSE(Object_Find(base)->HasAncestor(base));
  EXPECT_NE(Object_Find(leaf)->FindEvent(EV_STEP, 0, nullptr), nullptr);
}

TEST_F(ObjectInstance, EventsRestoreTheRelativeFlagAndContext) {
  int a = Object_Add("a");
  uint8_t seen = 9;
  int seen_type = -1;
  On(a, EV_OTHER, EV_OTHER_USER0, [&](CInstance*, CInstance*) {
    seen = g_ActionRelative;
    seen_type = g_CodeEventContext.event_type;
    g_ActionRelative = 1;
  });
  AddRoom({{a, {0, 0}}});
  ASSERT_TRUE(StartGame());
  g_ActionRelative = 1;
  Event_Perform(g_RunRoom->active[0], nullptr, EV_OTHER, EV_OTHER_USER0);
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(seen_type, EV_OTHER);
  EXPECT_EQ(g_ActionRelative, 1);
  EXPECT_EQ(g_CodeEventContext.event_type, -1);
  g_ActionRelative = 0;
}
}  // namespace
