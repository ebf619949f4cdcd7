// The physics wrapper on its own: units and sub-steps, body kinds, fixtures,
// joints and their clean-up, and the values Box2D would assert on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <box2d/b2_body.h>
#include <box2d/b2_distance_joint.h>
#include <box2d/b2_fixture.h>

#include "Base/Console.h"
#include "Physics/Physics_Check.h"
#include "Physics/Physics_Fixture.h"
#include "Physics/Physics_Joint.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"

namespace {
const float NaN = std::numeric_limits<float>::quiet_NaN();

// A body per slot, in one world of 0.1 m per pixel stepping 30 times a second.
class PhysicsWorld : public ::testing::Test {
 protected:
  std::unique_ptr<CPhysicsWorld> world = std::make_unique<CPhysicsWorld>(0.1f, 30);
  CPhysicsObject* slots[4] = {};

  void TearDown() override {
    for (CPhysicsObject*& s : slots) delete s;
  }

  static CPhysicsFixture Circle(float radius_m, float density = 1) {
    CPhysicsFixture f;
    EXPECT_EQ(f.SetCircleShape(radius_m), nullptr);
    f.density = density;
    f.linear_damping = 0;
    return f;
  }
  CPhysicsObject* Bind(int slot, const CPhysicsFixture& f, float x, float y, float angle = 0) {
    EXPECT_EQ(world->CreateBody(f, nullptr, &slots[slot], x, y, angle), nullptr);
    return slots[slot];
  }
};

TEST_F(PhysicsWorld, AFallTakesHalfGTSquaredInRoomPixels) {
  CPhysicsObject* ball = Bind(0, Circle(0.5f), 100, 0);
  for (int i = 0; i < 30; i++) world->Step(1.0 / 30);
  // One second at g = 10: 5 m, 50 pixels (the integrator runs a little ahead).
  EXPECT_NEAR(ball->RoomY(), 50.0, 2.0);
  EXPECT_FLOAT_EQ(ball->RoomX(), 100);
}

TEST_F(PhysicsWorld, SubStepsCarryTheirFractionsToTheNextStep) {
  world->update_speed = 45;  // one and a half sub-steps per game step
  CPhysicsObject* ball = Bind(0, Circle(0.5f), 0, 0);
  world->Step(1.0 / 30);
  EXPECT_NEAR(ball->Body()->GetLinearVelocity().y, 10.0f / 45, 1e-4);
  world->Step(1.0 / 30);
  EXPECT_NEAR(ball->Body()->GetLinearVelocity().y, 3 * 10.0f / 45, 1e-4);
}

// However high a script sets the update speed and the iterations, a step
// does a bounded amount of work (the world then runs slower), and says so
// once for each setting, not every step.
TEST_F(PhysicsWorld, HugeSettingsAreClampedWithOneLogLine) {
  static std::vector<std::string> lines;
  lines.clear();
  g_ConsoleListener = [](const char* line) { lines.push_back(line); };
  world->update_speed = 99999;
  world->iterations = 100002;
  CPhysicsObject* ball = Bind(0, Circle(0.5f), 0, 0);
  for (int i = 0; i < 3; i++) world->Step(1.0 / 30);
  g_ConsoleListener = nullptr;
  // Gravity 10 over the sub-steps taken, each 1 / 99999 s long.
  EXPECT_NEAR(ball->Body()->GetLinearVelocity().y, 3 * PHYSICS_MAX_SUBSTEPS * 10.0f / 99999, 1e-6);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Physics: 100002 iterations a sub-step asked for, " + std::to_string(PHYSICS_MAX_ITERATIONS) +
                          " solved\n");
  EXPECT_EQ(lines[1], "Physics: update speed 99999 needs more than " + std::to_string(PHYSICS_MAX_SUBSTEPS) +
                          " sub-steps a step; the world runs slower\n");
  // A new setting past a limit is told once more; settings within say nothing.
  lines.clear();
  g_ConsoleListener = [](const char* line) { lines.push_back(line); };
  world->iterations = 5000;
  for (int i = 0; i < 3; i++) world->Step(1.0 / 30);
  world->update_speed = 60;
  world->iterations = 10;
  for (int i = 0; i < 3; i++) world->Step(1.0 / 30);
  g_ConsoleListener = nullptr;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 14), "Physics: 5000 ");
}

TEST_F(PhysicsWorld, TheScreenTurnIsTheBodyTurnReversed) {
  CPhysicsObject* box = Bind(0, Circle(0.5f, 0), 0, 0, 90);
  EXPECT_NEAR(box->Body()->GetAngle(), -3.1415927f / 2, 1e-6);
  EXPECT_NEAR(box->RoomAngle(), 90, 1e-4);
}

TEST_F(PhysicsWorld, DensityAndTheKinematicFlagChooseTheBodyKind) {
  CPhysicsFixture kinematic = Circle(0.5f);
  kinematic.kinematic = true;
  EXPECT_EQ(Bind(0, Circle(0.5f, 0), 0, 0)->Body()->GetType(), b2_staticBody);
  EXPECT_EQ(Bind(1, kinematic, 0, 0)->Body()->GetType(), b2_kinematicBody);
  EXPECT_EQ(Bind(2, Circle(0.5f), 0, 0)->Body()->GetType(), b2_dynamicBody);
  for (int i = 0; i < 10; i++) world->Step(1.0 / 30);
  EXPECT_FLOAT_EQ(slots[0]->RoomY(), 0);
  EXPECT_FLOAT_EQ(slots[1]->RoomY(), 0);
  EXPECT_GT(slots[2]->RoomY(), 0);
}

TEST_F(PhysicsWorld, ASecondFixtureJoinsTheSameBodyAndTheTemplateStaysApart) {
  CPhysicsFixture box;
  ASSERT_EQ(box.SetBoxShape(2, 1), nullptr);
  CPhysicsObject* body = Bind(0, Circle(0.5f), 0, 0);
  Bind(0, box, 50, 50);
  EXPECT_EQ(slots[0], body);
  int fixtures = 0;
  for (b2Fixture* f = body->Body()->GetFixtureList(); f; f = f->GetNext()) fixtures++;
  EXPECT_EQ(fixtures, 2);
  EXPECT_FLOAT_EQ(body->RoomX(), 0);  // the first binding placed it
  box.SetCircleShape(3);
  EXPECT_EQ(body->Body()->GetFixtureList()->GetShape()->GetType(), b2Shape::e_polygon);
}

TEST_F(PhysicsWorld, PolygonsMustBeConvexClockwiseAndLargeEnough) {
  CPhysicsFixture f;
  EXPECT_FALSE(f.AddPolygonPoint(0, 0));  // not a polygon yet
  f.SetPolygonShape();
  EXPECT_TRUE(f.AddPolygonPoint(0, 0));
  EXPECT_TRUE(f.AddPolygonPoint(1, 0));
  EXPECT_EQ(f.CheckShape(), std::string("A polygon fixture needs at least 3 points"));
  EXPECT_FALSE(f.AddPolygonPoint(0, -1));  // counter-clockwise on the screen
  EXPECT_FALSE(f.AddPolygonPoint(2, 0));   // on the line: not strictly convex
  EXPECT_FALSE(f.AddPolygonPoint(NaN, 1));
  EXPECT_TRUE(f.AddPolygonPoint(1, 1));
  EXPECT_FALSE(f.AddPolygonPoint(2, 0.5f));  // would cross the first edge's line
  EXPECT_TRUE(f.AddPolygonPoint(0, 1));
  EXPECT_EQ(f.CheckShape(), nullptr);
  CPhysicsFixture tiny;
  tiny.SetPolygonShape();
  EXPECT_TRUE(tiny.AddPolygonPoint(0, 0));
  EXPECT_FALSE(tiny.AddPolygonPoint(0.001f, 0));  // closer than Box2D welds points
  CPhysicsFixture eight;
  eight.SetPolygonShape();
  for (int i = 0; i < 8; i++)
    EXPECT_TRUE(eight.AddPolygonPoint(std::cos(i * 0.785398f), std::sin(i * 0.785398f))) << i;
  EXPECT_FALSE(eight.AddPolygonPoint(0.9f, 0.1f));
}

TEST_F(PhysicsWorld, ValuesBox2DWouldAssertOnAreRefused) {
  CPhysicsFixture f;
  EXPECT_EQ(f.SetCircleShape(NaN), PHYSICS_NOT_FINITE);
  EXPECT_EQ(f.SetCircleShape(0.001f), PHYSICS_TOO_SMALL);
  EXPECT_EQ(f.SetBoxShape(1, 0), PHYSICS_TOO_SMALL);
  EXPECT_NE(f.SetDensity(-1), nullptr);
  EXPECT_NE(f.SetDamping(&f.linear_damping, -0.5f), nullptr);
  EXPECT_NE(f.SetCollisionGroup(40000), nullptr);
  EXPECT_FLOAT_EQ(f.density, 0.5f);
  EXPECT_EQ(world->SetGravity(0, INFINITY), PHYSICS_NOT_FINITE);
  EXPECT_NE(world->CreateBody(f, nullptr, &slots[0], 0, 0, 0), nullptr);  // no shape yet
  EXPECT_EQ(slots[0], nullptr);
  f.SetCircleShape(1);
  EXPECT_EQ(world->CreateBody(f, nullptr, &slots[0], NaN, 0, 0), PHYSICS_NOT_FINITE);
  EXPECT_EQ(slots[0], nullptr);

  // A small circle far from the body's origin leaves no inertia about its
  // centre once rounded: the body reset would assert.
  CPhysicsFixture far;
  far.SetPolygonShape();
  for (auto [x, y] : {std::pair{1e4f, 1e4f}, {1e4f + 0.01f, 1e4f}, {1e4f + 0.01f, 1e4f + 0.01f}})
    ASSERT_TRUE(far.AddPolygonPoint(x, y));
  EXPECT_EQ(world->CreateBody(far, nullptr, &slots[1], 0, 0, 0), PHYSICS_BAD_MASS);

  CPhysicsObject* ball = Bind(2, Circle(0.5f), 0, 0);
  EXPECT_EQ(ball->SetMassProperties(1, 10, 0, 1), PHYSICS_BAD_MASS);  // inertia below m·d²
  EXPECT_EQ(ball->SetMassProperties(NaN, 0, 0, 1), PHYSICS_NOT_FINITE);
  EXPECT_EQ(ball->SetMassProperties(2, 0, 0, 3), nullptr);
  EXPECT_FLOAT_EQ(ball->Body()->GetMass(), 2);
  EXPECT_EQ(ball->ApplyForce(0, 0, INFINITY, 0), PHYSICS_NOT_FINITE);
  EXPECT_EQ(ball->ApplyTorque(NaN), PHYSICS_NOT_FINITE);
}

TEST_F(PhysicsWorld, JointsRefuseWhatBox2DWouldAssertOn) {
  CPhysicsObject* a = Bind(0, Circle(0.5f), 0, 0);
  CPhysicsObject* b = Bind(1, Circle(0.5f), 20, 0);
  const char* e = nullptr;
  EXPECT_EQ(world->CreateDistanceJoint(a, a, 0, 0, 1, 1, false, &e), -1);
  EXPECT_STREQ(e, "A joint cannot join an instance to itself");
  EXPECT_EQ(world->CreateRevoluteJoint(a, b, 1, 0, 1, -1, true, 0, 0, false, false, &e), -1);
  EXPECT_NE(e, nullptr);
  EXPECT_EQ(world->CreatePrismaticJoint(a, b, 1, 0, 0, 0, 0, 1, true, 0, 0, false, false, &e), -1);
  EXPECT_NE(e, nullptr);
  const b2Vec2 ground[2] = {{0, -5}, {2, -5}}, local[2] = {{0, 0}, {0, 0}};
  EXPECT_EQ(world->CreatePulleyJoint(a, b, ground, local, 0, 10, 10, false, &e), -1);
  EXPECT_NE(e, nullptr);
  int d = world->CreateDistanceJoint(a, b, 0, 0, 2, 0, false, &e);
  ASSERT_GE(d, 0);
  EXPECT_EQ(world->CreateGearJoint(a, b, PhysicsJoint_Find(d), PhysicsJoint_Find(d), 1, &e), -1);
  EXPECT_STREQ(e, "A gear joint needs two revolute or prismatic joints");
  EXPECT_EQ(world->World().GetJointCount(), 1);
}

TEST_F(PhysicsWorld, EachJointKindHoldsItsBodies) {
  CPhysicsObject* ground = Bind(0, Circle(0.5f, 0), 0, 0);
  CPhysicsObject* a = Bind(1, Circle(0.5f), 30, 0);
  CPhysicsObject* b = Bind(2, Circle(0.5f), 0, 30);
  const char* e = nullptr;
  int d = world->CreateDistanceJoint(ground, a, 0, 0, 3, 0, false, &e);
  int r = world->CreateRevoluteJoint(ground, b, 0, 0, -1, 1, true, 0, 0, false, false, &e);
  ASSERT_GE(d, 0);
  ASSERT_GE(r, 0);
  EXPECT_NEAR(PhysicsJoint_Find(d)->GetValue(JOINT_LENGTH), 30, 1e-3);
  EXPECT_NEAR(PhysicsJoint_Find(r)->GetValue(JOINT_UPPER_LIMIT), 57.29578, 1e-3);
  for (int i = 0; i < 60; i++) world->Step(1.0 / 30);
  // The distance joint keeps a on its circle; the revolute joint keeps b's
  // pivot while it swings within its limits.
  EXPECT_NEAR(std::hypot(a->RoomX(), a->RoomY()), 30, 0.5);
  EXPECT_NEAR(std::hypot(b->RoomX(), b->RoomY()), 30, 0.5);
  float angle = PhysicsJoint_Find(r)->GetValue(JOINT_ANGLE);
  EXPECT_LE(std::fabs(angle), 57.3f + 1);
  EXPECT_NE(PhysicsJoint_Find(r)->SetValue(JOINT_LOWER_LIMIT, 90), nullptr);  // above the upper
}

TEST_F(PhysicsWorld, APulleySideStopsAtItsMaximumLength) {
  CPhysicsObject* a = Bind(0, Circle(0.5f), 0, 0);
  CPhysicsObject* b = Bind(1, Circle(0.5f, 5), 40, 0);
  const b2Vec2 ground[2] = {{0, -5}, {4, -5}}, local[2] = {{0, 0}, {0, 0}};
  const char* e = nullptr;
  int p = world->CreatePulleyJoint(a, b, ground, local, 1, 6, 6, false, &e);
  ASSERT_GE(p, 0) << e;
  EXPECT_EQ(world->World().GetJointCount(), 3);  // the pulley and its two limits
  for (int i = 0; i < 90; i++) world->Step(1.0 / 30);
  // The heavier b sinks and pulls a up; b's side stops at 6 m (60 pixels).
  EXPECT_NEAR(PhysicsJoint_Find(p)->GetValue(JOINT_LENGTH_2), 60, 1.0);
  EXPECT_NEAR(PhysicsJoint_Find(p)->GetValue(JOINT_LENGTH_1), 40, 1.0);
  EXPECT_TRUE(world->DeleteJoint(p));
  EXPECT_EQ(world->World().GetJointCount(), 0);
}

TEST_F(PhysicsWorld, APulleyWithARatioKeepsEachSideShortOfItsConstantLength) {
  CPhysicsObject* a = Bind(0, Circle(0.5f), 0, 0);
  CPhysicsObject* b = Bind(1, Circle(0.5f, 20), 40, 0);
  const b2Vec2 ground[2] = {{0, -5}, {4, -5}}, local[2] = {{0, 0}, {0, 0}};
  const char* e = nullptr;
  // Both sides 5 m, ratio 2: the constant length is 5 + 2 x 5 = 15 m. The
  // maximum lengths given are beyond reach, so the constant length caps them:
  // the first side at 15 - 2 x 2 = 11 m, the second at (15 - 2) / 2 = 6.5 m.
  int p = world->CreatePulleyJoint(a, b, ground, local, 2, 100, 100, false, &e);
  ASSERT_GE(p, 0) << e;
  auto* limit1 = static_cast<b2DistanceJoint*>(PhysicsJoint_Find(p)->limits[0]);
  auto* limit2 = static_cast<b2DistanceJoint*>(PhysicsJoint_Find(p)->limits[1]);
  EXPECT_NEAR(limit1->GetMaxLength(), 11, 1e-4);
  EXPECT_NEAR(limit2->GetMaxLength(), 6.5, 1e-4);
  // The heavy b sinks until its side stops at 6.5 m (65 pixels).
  for (int i = 0; i < 120; i++) world->Step(1.0 / 30);
  EXPECT_NEAR(PhysicsJoint_Find(p)->GetValue(JOINT_LENGTH_2), 65, 1.0);
  EXPECT_NEAR(PhysicsJoint_Find(p)->GetValue(JOINT_LENGTH_1), 20, 2.0);
}

TEST_F(PhysicsWorld, DeletingAJointOrABodyFirstDeletesTheGearsThatUseIt) {
  CPhysicsObject* ground = Bind(0, Circle(0.5f, 0), 0, 0);
  CPhysicsObject* a = Bind(1, Circle(0.5f), 20, 0);
  CPhysicsObject* b = Bind(2, Circle(0.5f), 40, 0);
  const char* e = nullptr;
  int r1 = world->CreateRevoluteJoint(ground, a, 2, 0, 0, 0, false, 0, 0, false, false, &e);
  int r2 = world->CreateRevoluteJoint(ground, b, 4, 0, 0, 0, false, 0, 0, false, false, &e);
  int gear = world->CreateGearJoint(a, b, PhysicsJoint_Find(r1), PhysicsJoint_Find(r2), 2, &e);
  ASSERT_GE(gear, 0) << e;
  EXPECT_TRUE(world->DeleteJoint(r1));
  EXPECT_EQ(PhysicsJoint_Find(gear), nullptr);
  EXPECT_EQ(PhysicsJoint_Find(r1), nullptr);
  EXPECT_EQ(world->World().GetJointCount(), 1);
  world->Step(1.0 / 30);

  int r3 = world->CreateRevoluteJoint(ground, a, 2, 0, 0, 0, false, 0, 0, false, false, &e);
  int gear2 = world->CreateGearJoint(a, b, PhysicsJoint_Find(r3), PhysicsJoint_Find(r2), 1, &e);
  ASSERT_GT(gear2, gear);  // ids are never reused
  delete slots[2];         // b goes: its joint and the gear with it
  EXPECT_EQ(slots[2], nullptr);
  EXPECT_EQ(PhysicsJoint_Find(gear2), nullptr);
  EXPECT_EQ(PhysicsJoint_Find(r2), nullptr);
  EXPECT_NE(PhysicsJoint_Find(r3), nullptr);
  world->Step(1.0 / 30);
}

TEST_F(PhysicsWorld, FreeingTheWorldLeavesNoBodyOrJointBehind) {
  CPhysicsObject* a = Bind(0, Circle(0.5f), 0, 0);
  Bind(1, Circle(0.5f), 20, 0);
  const char* e = nullptr;
  int d = world->CreateDistanceJoint(a, slots[1], 0, 0, 2, 0, false, &e);
  world.reset();
  EXPECT_EQ(slots[0], nullptr);
  EXPECT_EQ(slots[1], nullptr);
  EXPECT_EQ(PhysicsJoint_Find(d), nullptr);
}

TEST_F(PhysicsWorld, TouchingBodiesAreReportedOncePerPairSensorsToo) {
  CPhysicsFixture sensor = Circle(1, 0);
  sensor.sensor = true;
  Bind(0, Circle(0.5f), 0, 0);
  Bind(1, sensor, 5, 0);
  Bind(2, Circle(0.5f, 0), 100, 0);
  CPhysicsFixture box;
  box.SetBoxShape(0.4f, 0.4f);
  Bind(0, box, 0, 0);  // a second fixture on the first body
  world->World().SetGravity(b2Vec2(0, 0));
  world->Step(1.0 / 30);
  auto pairs = world->TouchingPairs();
  EXPECT_EQ(pairs.size(), 1u);
}

TEST_F(PhysicsWorld, OverlapTestsPlaceTheBodyWhereAsked) {
  CPhysicsObject* a = Bind(0, Circle(0.5f), 0, 0);
  CPhysicsObject* b = Bind(1, Circle(0.5f), 50, 0);
  EXPECT_FALSE(world->TestOverlap(a, b, 0, 0, 0));
  EXPECT_TRUE(world->TestOverlap(a, b, 4.5f, 0, 0));
  EXPECT_FALSE(world->TestOverlap(a, b, NaN, 0, 0));
}
}  // namespace
