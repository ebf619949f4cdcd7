#include <gtest/gtest.h>

#include "DataFile/DataFile_Package.h"
#include "Object/Instance_Main.h"
#include "Run/Run_Activation.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Prepare.h"
#include "Run/Run_Services.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class RunInstance : public ::testing::Test {
 protected:
  int box = -1, a = -1, wall = -1, child = -1;
  CInstance *mover = nullptr, *block = nullptr, *kid = nullptr;
  void SetUp() override {
    Reset();
    box = AddSprite(10, 10);
    a = Object_Add("a");
    wall = Object_Add("wall");
    child = Object_Add("child");
    Object_Find(child)->parent_index = wall;
    for (int o : {a, wall, child}) Object_Find(o)->sprite_index = box;
    Object_Find(wall)->flags |= OBJECT_SOLID;
    AddRoom({{a, {0, 0}}, {wall, {30, 0}}, {child, {60, 0}}});
    ASSERT_TRUE(StartGame());
    mover = g_RunRoom->active[0], block = g_RunRoom->active[1], kid = g_RunRoom->active[2];
  }
  void TearDown() override { Reset(); }
};

TEST_F(RunInstance, QueriesFindTheFirstUnmarkedInstanceOfTheTarget) {
  EXPECT_EQ(Run_CollisionPoint(nullptr, 65, 5, wall, true, false), kid);  // descendants count
  EXPECT_EQ(Run_CollisionPoint(nullptr, 65, 5, a, true, false), nullptr);
  EXPECT_EQ(Run_CollisionRectangle(mover, -5, -5, 100, 5, TARGET_ALL, false, true), block);
  EXPECT_EQ(Run_CollisionRectangle(mover, -5, -5, 100, 5, mover->id, false, true), nullptr);
  EXPECT_EQ(Run_CollisionLine(nullptr, 0, 5, 100, 5, wall, true, false), block);
  EXPECT_EQ(Run_CollisionEllipse(nullptr, 55, -5, 75, 15, TARGET_ALL, true, false), kid);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 5, 5, TARGET_SELF, true, false), nullptr);  // no self here
  EXPECT_EQ(Run_InstanceNumber(wall), 2);
  EXPECT_EQ(Run_InstanceNumber(TARGET_ALL), 3);
  EXPECT_EQ(Run_InstancePosition(35, 5, TARGET_ALL), block);
  Run_PositionChange(65, 5, 4321, false);  // no such object: nothing changes
  EXPECT_EQ(kid->object_index, child);
  Run_PositionChange(65, 5, a, false);
  EXPECT_EQ(kid->object_index, a);
  EXPECT_EQ(Run_InstanceNumber(a), 2);
  Run_PositionDestroy(35, 5);
  EXPECT_TRUE(block->marked);
  EXPECT_FALSE(Run_PositionMeeting(35, 5, TARGET_ALL));
  EXPECT_EQ(Run_InstanceNumber(wall), 0);
}

TEST_F(RunInstance, PlacementTestsPutThePositionBack) {
  EXPECT_FALSE(Run_PlaceFree(mover, 25, 0));
  EXPECT_TRUE(Run_PlaceFree(mover, 45, 0));
  EXPECT_FALSE(Run_PlaceEmpty(mover, 55, 0));  // the child is not solid
  EXPECT_TRUE(Run_PlaceFree(mover, 55, 0));
  EXPECT_EQ(Run_PlaceMeeting(mover, 55, 0, wall), kid);
  EXPECT_FALSE(Run_PlaceMeetingBool(mover, mover->id, 0, 0));  // never meets itself
  EXPECT_EQ(mover->x, 0);
  EXPECT_EQ(mover->y, 0);
}

TEST_F(RunInstance, MovingToContactAndOutside) {
  Run_MoveContact(mover, 0, 0, false);  // no limit: stops against the wall
  EXPECT_EQ(mover->x, 20);
  mover->SetPosition(25, 0);
  Run_MoveContact(mover, 0, 0, false);  // not free where it stands: stays
  EXPECT_EQ(mover->x, 25);
  Run_MoveOutside(mover, 180, 3, false);
  EXPECT_EQ(mover->x, 22);  // three steps were not enough
  Run_MoveOutside(mover, 180, -1, false);
  EXPECT_EQ(mover->x, 20);
  mover->SetPosition(12.5f, 17.5f);
  Run_MoveSnap(mover, 5, 5);
  EXPECT_EQ(mover->x, 10);  // 2.5 rounds to even
  EXPECT_EQ(mover->y, 20);
  mover->SetPosition(-20, 700);
  Run_MoveWrap(mover, true, true, 10);
  EXPECT_EQ(mover->x, 640);
  EXPECT_EQ(mover->y, 200);
  Run_MoveTowardsPoint(mover, 640, 300, 4);
  EXPECT_FLOAT_EQ(mover->vspeed, 4);
}

TEST_F(RunInstance, ChangingMissesTheRestOfThePassAndSpritesAreChecked) {
  LogOn(a, EV_DESTROY, 0, "destroy");
  LogOn(child, EV_CREATE, 0, "create");
  LogOn(child, EV_STEP, 0, "step");
  Object_BuildEventLists();
  uint64_t pass = Event_NextPass();
  Run_ChangeInstance(mover, child, true);
  EXPECT_EQ(mover->object_index, child);
  EXPECT_TRUE(mover->solid == false && mover->create_performed);
  EXPECT_GE(mover->creation_serial, pass);
  EXPECT_EQ(Object_Find(child)->instances.size(), 2u);
  EXPECT_TRUE(Object_Find(a)->instances.empty());
  Run_ChangeInstance(mover, 99, true);
  EXPECT_EQ(mover->object_index, child);
  std::vector<std::string> want = {"a:destroy", "child:create"};
  EXPECT_EQ(Log(), want);

  int big = AddSprite(4, 4);
  mover->image_index = 3;
  Run_SetSprite(mover, big);
  EXPECT_EQ(mover->sprite_index, big);
  EXPECT_EQ(mover->image_index, 0);
  Run_SetSprite(mover, 1234);
  EXPECT_EQ(mover->sprite_index, big);
}

// An instance that deactivated itself and is then copied or changed stays on
// the deactivated list with its copy: counts leave both out until one
// activation brings both back.
TEST_F(RunInstance, CopiesAndChangesOfADeactivatedInstanceStayDeactivated) {
  On(a, EV_CREATE, 0, [](CInstance* self, CInstance*) { Log().push_back(self->deactivated ? "deactivated" : "active"); });
  Object_BuildEventLists();
  Run_DeactivateObject(mover, nullptr, TARGET_SELF);
  CInstance* copy = Run_CopyInstance(mover, true);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->create_performed);
  EXPECT_EQ(Log(), std::vector<std::string>{"deactivated"});
  EXPECT_EQ(g_RunRoom->deactivated, (std::vector<CInstance*>{mover, copy}));
  EXPECT_EQ(g_RunRoom->active, (std::vector<CInstance*>{block, kid}));
  EXPECT_EQ(Run_InstanceNumber(a), 0);
  EXPECT_EQ(Run_InstanceNumber(copy->id), 0);
  Run_ChangeInstance(copy, wall, true);
  EXPECT_EQ(g_RunRoom->deactivated, (std::vector<CInstance*>{mover, copy}));
  EXPECT_EQ(Run_InstanceNumber(wall), 2);  // the block and the child
  Run_ActivateAll();
  EXPECT_TRUE(g_RunRoom->deactivated.empty());
  EXPECT_EQ(g_RunRoom->active, (std::vector<CInstance*>{block, kid, mover, copy}));
  EXPECT_EQ(Run_InstanceNumber(wall), 3);
  // The copy of an active instance is active.
  CInstance* again = Run_CopyInstance(copy, false);
  EXPECT_FALSE(again->deactivated);
  EXPECT_EQ(g_RunRoom->active.back(), again);
}
}  // namespace

namespace {
TEST_F(RunInstance, NearestAndFurthestByPositionFirstWinsTies) {
  EXPECT_EQ(Run_InstanceNearest(40, 0, TARGET_ALL), block);
  EXPECT_EQ(Run_InstanceFurthest(10, 0, TARGET_ALL), kid);  // 50 away, the mover 10
  EXPECT_EQ(Run_InstanceFurthest(30, 0, TARGET_ALL), mover);  // tie at 30: first in the list
  EXPECT_EQ(Run_InstanceNearest(40, 0, block->id), nullptr);
  EXPECT_NE(Run_InstanceNearest(20000, 0, TARGET_ALL), nullptr);  // found at any distance
  EXPECT_EQ(Run_InstanceNearest(40, 0, wall), block);
}

TEST_F(RunInstance, BouncesReflectTheBlockedComponent) {
  mover->SetPosition(18, 0);
  mover->SetHSpeed(4);
  mover->SetVSpeed(2);
  Run_Bounce(mover, false, false);  // right is blocked, down is free
  EXPECT_FLOAT_EQ(mover->hspeed, -4);
  EXPECT_FLOAT_EQ(mover->vspeed, 2);
  // Standing inside the wall: back to the previous position first.
  mover->xprevious = 0, mover->yprevious = 0;
  mover->SetPosition(25, 0);
  mover->SetHSpeed(4);
  mover->SetVSpeed(0);
  Run_Bounce(mover, false, false);
  EXPECT_EQ(mover->x, 0);
  EXPECT_FLOAT_EQ(mover->hspeed, 4);  // free from there: nothing to reflect
  mover->SetPosition(18, 0);
  mover->SetSpeed(4);
  mover->SetDirection(0);
  Run_Bounce(mover, true, false);
  EXPECT_GT(mover->direction, 90);
  EXPECT_LT(mover->direction, 270);
}
}  // namespace

// Instance ids are unique across the game: those of every room are kept
// from the start, and one that repeats another is given anew above them all.
TEST(RunWorld, RepeatedInstanceIdsOfThePackageAreGivenAnew) {
  Reset();
  GamePackage pkg;
  PackageObject object;
  object.exists = true, object.name = "o";
  pkg.objects.push_back(object);
  for (const char* name : {"r0", "r1"}) {
    PackageRoom room;
    room.exists = true, room.name = name;
    pkg.rooms.push_back(std::move(room));
  }
  pkg.rooms[0].instances = {{0, 0, 0, 100001, ""}};
  pkg.rooms[1].instances = {{0, 0, 0, 100001, ""}, {0, 0, 0, 900000, ""}, {0, 0, 0, INT32_MAX, ""}};
  pkg.general.room_order = {0, 1};
  ASSERT_TRUE(Run_LoadWorld(pkg));
  EXPECT_EQ(Room_Data(0)->instance_defs[0].id, 100001);
  EXPECT_GT(Room_Data(1)->instance_defs[0].id, 900000);
  EXPECT_EQ(Room_Data(1)->instance_defs[1].id, 900000);
  EXPECT_GT(Instance_PeekNextId(), Room_Data(1)->instance_defs[0].id);
  // The largest id is kept, and the counter does not run past it.
  EXPECT_EQ(Room_Data(1)->instance_defs[2].id, INT32_MAX);
  EXPECT_LT(Instance_PeekNextId(), INT32_MAX);
  Reset();
}
