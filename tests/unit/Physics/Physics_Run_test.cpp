// The physics built-ins as scripts call them and the world in the run loop:
// the messages, scaling and conversions, the physics step in place of motion,
// contacts as collision events, deactivation, persistent rooms and loading.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include <unistd.h>

#include <box2d/b2_fixture.h>
#include <box2d/b2_revolute_joint.h>

#include "Function_Call.h"
#include "Physics/Physics_Joint.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"
#include "Run/Run_Activation.h"
#include "Run/Run_SaveGame.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class PhysicsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    InitCWLFunctions();
  }
  void TearDown() override { Reset(); }

  // Calls a built-in with self as the calling instance; the real result.
  static double Do(CInstance* self, const char* name, std::initializer_list<TestArg> args) {
    RValue result;
    if (!CallBuiltIn(self, name, args, &result)) return 0;
    double v = result.val;
    RValue_Free(&result);
    return v;
  }
  // The message of the error the call reports, "" when it reports none.
  static std::string ErrorOf(CInstance* self, const char* name, std::initializer_list<TestArg> args) {
    Error_SetOccurred(false);
    Do(self, name, args);
    if (!Error_Occurred()) return "";
    std::string text = Error_Last();
    size_t line = text.rfind('\n');
    return line == std::string::npos ? text : text.substr(line + 1);
  }
  // An object whose instances get a circle body of that radius (pixels).
  static int BallObject(float radius = 8, float density = 0.5f) {
    int o = Object_Add("ball");
    ObjectPhysics& p = Object_Find(o)->physics;
    p.enabled = true, p.radius = radius, p.density = density, p.linear_damping = 0;
    return o;
  }
  static void Start(int room, bool world = true) {
    Room_Data(room)->physics_def.enabled = world;
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
  }
  static void Frame() {
    Run_Step();
    Run_HandleTransition();
  }
};

TEST_F(PhysicsRun, WithoutARoomOrAWorldTheMessagesSaySo) {
  EXPECT_EQ(ErrorOf(nullptr, "physics_world_create", {0.1}), "No room is available to create a physics world for");
  EXPECT_EQ(ErrorOf(nullptr, "physics_world_gravity", {0, 10}), "No room is available to create a physics world for");
  EXPECT_EQ(ErrorOf(nullptr, "physics_joint_delete", {0}),
            "The current room does not have a physics world representation");
  EXPECT_EQ(ErrorOf(nullptr, "physics_pause_enable", {1}),
            "physics_pause_enable() The current room does not have a physics world representation");
  int f = static_cast<int>(Do(nullptr, "physics_fixture_create", {}));
  EXPECT_EQ(ErrorOf(nullptr, "physics_fixture_bind", {f, -3}),
            "Cannot bind a fixture if no physics world exists for the current room");
  EXPECT_EQ(ErrorOf(nullptr, "physics_fixture_bind", {f + 100, -3}), "The physics fixture does not exist");
  EXPECT_EQ(ErrorOf(nullptr, "physics_joint_get_value", {12345, 0}), "A joint does not exist");

  int o = Object_Add("plain");
  AddRoom({{o, {0, 0}}});
  Start(0, false);
  CInstance* self = Room_Running(0)->active[0];
  EXPECT_EQ(ErrorOf(self, "physics_world_update_speed", {60}),
            "The current room does not have a physics world representation");
  EXPECT_EQ(ErrorOf(self, "physics_test_overlap", {0, 0, 0, -3}),
            "The instance does not have an associated physics representation");
  EXPECT_EQ(ErrorOf(self, "physics_joint_distance_create", {-1, -1, 0, 0, 0, 0, 0}),
            "The current room does not have a physics world representation");
}

TEST_F(PhysicsRun, ARecreatedWorldTakesTheNewScaleAndTheRoomSpeed) {
  int o = Object_Add("plain");
  int r = AddRoom({{o, {0, 0}}});
  Room_Data(r)->speed = 40;
  Start(r, false);
  Do(nullptr, "physics_world_create", {0.5});
  CPhysicsWorld* w = Room_Running(r)->physics;
  ASSERT_NE(w, nullptr);
  EXPECT_FLOAT_EQ(w->scale, 0.5f);
  Do(nullptr, "physics_world_update_speed", {90});
  Do(nullptr, "physics_world_update_speed", {0});  // ignored
  EXPECT_EQ(w->update_speed, 90);
  Do(nullptr, "physics_world_create", {0.1});
  EXPECT_EQ(Room_Running(r)->physics, w);
  EXPECT_FLOAT_EQ(w->scale, 0.1f);
  EXPECT_EQ(w->update_speed, 40);
  EXPECT_EQ(ErrorOf(nullptr, "physics_world_create", {0}), "The physics world's scale must be a finite number above 0");
}

TEST_F(PhysicsRun, FixtureArgumentsAreScaledAndChecked) {
  int o = Object_Add("plain");
  AddRoom({{o, {100, 100}}, {o, {300, 100}}});
  Start(0);
  CInstance* a = Room_Running(0)->active[0];
  int f = static_cast<int>(Do(a, "physics_fixture_create", {}));
  EXPECT_EQ(ErrorOf(a, "physics_fixture_add_point", {f, 0, 0}),
            "The fixture must be a polygon shape, convex, ordered clockwise and have no more than 8 points");
  Do(a, "physics_fixture_set_circle_shape", {f, 10});
  EXPECT_EQ(ErrorOf(a, "physics_fixture_set_density", {f, -2}), "The density of a fixture cannot be negative");
  EXPECT_EQ(ErrorOf(a, "physics_fixture_bind", {f, 123456}), "  is not valid.");
  EXPECT_EQ(ErrorOf(a, "physics_fixture_bind", {f, -1}), "");
  ASSERT_NE(a->physics, nullptr);
  EXPECT_NEAR(a->physics->Body()->GetFixtureList()->GetShape()->m_radius, 1.0f, 1e-6);
  EXPECT_NEAR(a->physics->Body()->GetPosition().x, 10.0f, 1e-5);
  EXPECT_EQ(ErrorOf(a, "physics_test_overlap", {0, 0, 0, 123456}), "physics_test_overlap:   is not valid.");
  EXPECT_EQ(Do(a, "physics_test_overlap", {100, 100, 0, -1}), 1);
  EXPECT_EQ(ErrorOf(a, "physics_mass_properties", {1, 20, 0, 1}), "The physics body's mass and inertia are not valid");
}

TEST_F(PhysicsRun, JointArgumentsNameInstancesAndReachTheWorldInRadians) {
  int o = Object_Add("plain");
  AddRoom({{o, {100, 100}}, {o, {200, 100}}, {o, {300, 100}}});
  Start(0);
  auto& list = Room_Running(0)->active;
  CInstance *a = list[0], *b = list[1];
  int f = static_cast<int>(Do(a, "physics_fixture_create", {}));
  Do(a, "physics_fixture_set_box_shape", {f, 10, 10});
  Do(a, "physics_fixture_bind", {f, a->id});
  Do(a, "physics_fixture_bind", {f, b->id});
  EXPECT_EQ(ErrorOf(a, "physics_joint_revolute_create", {a->id, 999999, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            "Unable to find instance: 999999");
  EXPECT_EQ(ErrorOf(a, "physics_joint_revolute_create", {a->id, list[2]->id, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            "physics_joint_revolute_create: An instance does not have an associated physics representation");
  double j = Do(a, "physics_joint_revolute_create", {-1, b->id, 150, 100, -45, 90, 1, 0, 0, 0, 0});
  ASSERT_GE(j, 0);
  auto* joint = static_cast<b2RevoluteJoint*>(PhysicsJoint_Find(static_cast<int>(j))->joint);
  EXPECT_EQ(joint->GetUpperLimit(), 1.5707964f);
  EXPECT_NEAR(joint->GetAnchorA().x, 15.0f, 1e-5);
  EXPECT_DOUBLE_EQ(Do(a, "physics_joint_get_value", {j, JOINT_UPPER_LIMIT}), 90);
  // The object index names its first instance; all and noone name none.
  EXPECT_GE(Do(a, "physics_joint_distance_create", {o, b->id, 100, 100, 200, 100, 0}), 0);
  for (int target : {-3, -4}) {
    std::string unable = "Unable to find instance: " + std::to_string(target);
    EXPECT_EQ(ErrorOf(a, "physics_joint_distance_create", {target, b->id, 100, 100, 200, 100, 0}), unable);
    EXPECT_EQ(ErrorOf(a, "physics_joint_distance_create", {a->id, target, 100, 100, 200, 100, 0}), unable);
    EXPECT_EQ(Do(a, "physics_joint_distance_create", {target, b->id, 100, 100, 200, 100, 0}), -1);
  }
  EXPECT_EQ(Do(a, "physics_joint_gear_create", {a->id, b->id, j, j, 1}), -1);
}

TEST_F(PhysicsRun, BindingAllSkipsInstancesDestroyedThisStep) {
  int o = Object_Add("plain");
  AddRoom({{o, {0, 0}}, {o, {50, 0}}, {o, {100, 0}}});
  Start(0);
  auto& list = Room_Running(0)->active;
  Run_DestroyInstance(list[1]);
  int f = static_cast<int>(Do(nullptr, "physics_fixture_create", {}));
  Do(nullptr, "physics_fixture_set_circle_shape", {f, 5});
  Do(nullptr, "physics_fixture_bind", {f, -3});
  EXPECT_NE(list[0]->physics, nullptr);
  EXPECT_EQ(list[1]->physics, nullptr);
  EXPECT_NE(list[2]->physics, nullptr);
  Do(nullptr, "physics_fixture_delete", {f});  // a template: the bodies stay
  EXPECT_NE(list[0]->physics, nullptr);
}

TEST_F(PhysicsRun, TheWorldMovesBoundInstancesAndMotionTheOthers) {
  int ball = BallObject();
  int walker = Object_Add("walker");
  On(walker, EV_CREATE, 0, [](CInstance* self, CInstance*) { self->SetHSpeed(2); });
  On(ball, EV_CREATE, 0, [](CInstance* self, CInstance*) { self->SetHSpeed(5); });  // ignored: the body moves it
  AddRoom({{ball, {100, 0}}, {walker, {0, 0}}});
  Start(0);
  CInstance* b = Room_Running(0)->active[0];
  CInstance* w = Room_Running(0)->active[1];
  ASSERT_NE(b->physics, nullptr);
  for (int i = 0; i < 30; i++) Frame();
  EXPECT_NEAR(b->y, 50, 2);  // half g t squared: 5 m at 0.1 m per pixel
  EXPECT_FLOAT_EQ(b->x, 100);
  EXPECT_FLOAT_EQ(w->x, 60);
  Do(b, "physics_pause_enable", {1});
  float y = b->y;
  Frame();
  EXPECT_FLOAT_EQ(b->y, y);
}

TEST_F(PhysicsRun, AKinematicBodyMovesByItsInstancesSpeedAndCarriesWhatRestsOnIt) {
  int platform = Object_Add("platform");
  ObjectPhysics& p = Object_Find(platform)->physics;
  p.enabled = true, p.shape = 1, p.width = 60, p.height = 10, p.density = 1, p.kinematic = true, p.friction = 1;
  On(platform, EV_CREATE, 0, [](CInstance* self, CInstance*) {
    self->SetHSpeed(0.5f);
    self->SetVSpeed(-0.25f);
  });
  int crate = BallObject();
  ObjectPhysics& c = Object_Find(crate)->physics;
  c.shape = 1, c.width = 10, c.height = 10, c.friction = 1;
  int r = AddRoom({{platform, {100, 200}}, {crate, {100, 190}}});
  Room_Data(r)->speed = 50;  // the speeds are pixels a step whatever the room's speed
  Start(r);
  CInstance* k = Room_Running(r)->active[0];
  CInstance* b = Room_Running(r)->active[1];
  ASSERT_NE(k->physics, nullptr);
  EXPECT_EQ(k->physics->Body()->GetType(), b2_kinematicBody);
  for (int i = 0; i < 60; i++) Frame();
  EXPECT_NEAR(k->x, 130, 0.01);  // gravity does not move it
  EXPECT_NEAR(k->y, 185, 0.01);
  EXPECT_NEAR(b->x, 130, 4);  // the crate rode along, after a slip at the start
  EXPECT_NEAR(b->y, 175, 1);
  k->SetHSpeed(0);
  k->SetVSpeed(0);
  Frame();
  EXPECT_NEAR(k->x, 130, 0.01);
  EXPECT_NEAR(k->y, 185, 0.01);
}

TEST_F(PhysicsRun, TouchingBodiesRunTheirCollisionEventsEachStep) {
  int ball = BallObject(8);
  int floor = Object_Add("floor");
  ObjectPhysics& p = Object_Find(floor)->physics;
  p.enabled = true, p.shape = 1, p.width = 200, p.height = 20, p.density = 0;
  int hits = 0, back = 0;
  On(ball, EV_COLLISION, floor, [&](CInstance* self, CInstance* other) {
    EXPECT_EQ(other->object_index, floor);
    hits++;
  });
  On(floor, EV_COLLISION, ball, [&](CInstance*, CInstance*) { back++; });
  AddRoom({{floor, {100, 100}}, {ball, {100, 60}}});
  Start(0);
  Object_BuildEventLists();
  for (int i = 0; i < 60; i++) Frame();
  EXPECT_GT(hits, 20);  // it rests on the floor: an event every step
  EXPECT_EQ(hits, back);
}

// In a room with a world only bodies meet: instances without one overlap
// bodies and each other without an event, and a paused world runs none.
TEST_F(PhysicsRun, InstancesWithoutABodyGetNoCollisionEventsInAWorld) {
  int ball = BallObject(8);
  int ghost = Object_Add("ghost");
  Object_Find(ghost)->sprite_index = AddSprite(32, 32, 16, 16);
  Object_Find(ball)->sprite_index = AddSprite(16, 16, 8, 8);
  int ghostHits = 0, ballHits = 0;
  On(ghost, EV_COLLISION, ghost, [&](CInstance*, CInstance*) { ghostHits++; });
  On(ghost, EV_COLLISION, ball, [&](CInstance*, CInstance*) { ghostHits++; });
  On(ball, EV_COLLISION, ghost, [&](CInstance*, CInstance*) { ballHits++; });
  On(ball, EV_COLLISION, ball, [&](CInstance*, CInstance*) { ballHits++; });
  AddRoom({{ghost, {100, 100}}, {ghost, {110, 100}}, {ball, {100, 100}}, {ball, {104, 100}}});
  Start(0);
  Object_BuildEventLists();
  Do(Room_Running(0)->active[0], "physics_world_gravity", {0, 0});
  for (int i = 0; i < 5; i++) Frame();
  EXPECT_EQ(ghostHits, 0);
  EXPECT_GT(ballHits, 0);  // the two balls overlap each other
  Do(Room_Running(0)->active[0], "physics_pause_enable", {1});
  ballHits = 0;
  for (int i = 0; i < 3; i++) Frame();
  EXPECT_EQ(ballHits, 0);
  EXPECT_EQ(ghostHits, 0);
}

TEST_F(PhysicsRun, ADeactivatedInstancesBodyTakesNoPart) {
  int ball = BallObject();
  AddRoom({{ball, {0, 0}}});
  Start(0);
  CInstance* b = Room_Running(0)->active[0];
  Run_DeactivateAll(nullptr, false);
  EXPECT_FALSE(b->physics->Body()->IsEnabled());
  for (int i = 0; i < 5; i++) Frame();
  EXPECT_FLOAT_EQ(b->y, 0);
  Run_ActivateAll();
  EXPECT_TRUE(b->physics->Body()->IsEnabled());
}

TEST_F(PhysicsRun, APersistentRoomKeepsItsWorldAndOthersStartAfresh) {
  int ball = BallObject();
  int kept = AddRoom({{ball, {0, 0}}});
  int other = AddRoom();
  Room_Data(kept)->persistent = true;
  Room_Data(other)->physics_def.enabled = true;
  Start(kept);
  CPhysicsWorld* w = Room_Running(kept)->physics;
  for (int i = 0; i < 10; i++) Frame();
  float y = Room_Running(kept)->active[0]->y;
  Run_GotoRoom(other);
  Frame();
  EXPECT_NE(Room_Running(other)->physics, nullptr);
  Run_GotoRoom(kept);
  Frame();
  EXPECT_EQ(Room_Running(kept)->physics, w);
  EXPECT_EQ(Room_Running(other), nullptr);  // not persistent: freed with its world
  EXPECT_GE(Room_Running(kept)->active[0]->y, y);
}

TEST_F(PhysicsRun, ALoadedGameGetsItsWorldAndBodiesAgainWhereTheInstancesStand) {
  int ball = BallObject();
  AddRoom({{ball, {40, 0}}});
  Start(0);
  for (int i = 0; i < 10; i++) Frame();
  CInstance* b = Room_Running(0)->active[0];
  float y = b->y;
  char name[] = "/tmp/physicssaveXXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_TRUE(Run_SaveGame(name));
  for (int i = 0; i < 10; i++) Frame();
  ASSERT_TRUE(Run_LoadGame(name));
  std::remove(name);
  ASSERT_NE(Room_Running(0)->physics, nullptr);
  CInstance* again = Room_Running(0)->active[0];
  ASSERT_NE(again->physics, nullptr);
  EXPECT_NEAR(again->physics->RoomY(), y, 1e-3);
  EXPECT_NEAR(again->physics->Body()->GetLinearVelocity().y, 0, 1e-6);  // no physics state is saved
}
}  // namespace
