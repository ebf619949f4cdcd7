#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Motion/Motion_Grid.h"
#include "Path/Path_Main.h"
#include "Run/Run_Services.h"
#include "Run_TestWorld.h"

void Function_Game_Init();

using namespace testworld;

namespace {
struct Arg {
  Arg(double d) : real(d) {}
  Arg(int i) : real(i) {}
  Arg(const char* s) : text(s) {}
  double real = 0;
  const char* text = nullptr;
};

// Calls a game built-in through the function table as running code does.
double Call(const char* name, CInstance* self, std::initializer_list<Arg> args, CInstance* other = nullptr) {
  InitCWLFunctions();
  if (Function_FindBuiltIn("mp_grid_path") < 0) Function_Game_Init();
  const RFunction* f = Function_Get(Function_FindBuiltIn(name));
  if (!f) {
    ADD_FAILURE() << name << " is not registered";
    return 0;
  }
  RValue argv[MAX_ARGUMENTS] = {};
  int argc = 0;
  for (const Arg& a : args) {
    if (a.text)
      RValue_SetString(&argv[argc], a.text);
    else
      RValue_SetReal(&argv[argc], a.real);
    argc++;
  }
  EXPECT_TRUE(f->argnumb < 0 || f->argnumb == argc) << name;
  RValue result = {VALUE_REAL, nullptr, 0.0};
  f->routine(result, self, other, argc, argv);
  for (int i = 0; i < argc; i++) RValue_Free(&argv[i]);
  double r = result.val;
  RValue_Free(&result);
  return r;
}

std::string LastError() { return Error_Occurred() ? Error_Last() : ""; }

class GameBuiltIns : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    Error_SetOccurred(false);
    box = AddSprite(16, 16);
    ball = Object_Add("ball");
    Object_Find(ball)->sprite_index = box;
  }
  void TearDown() override {
    Reset();
    MotionGrid_DestroyAll();
    Path_FreeAll();
  }
  void Start(std::vector<std::pair<int, std::pair<float, float>>> placed) {
    AddRoom(std::move(placed));
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
  }
  CInstance* Nth(int n) { return g_RunRoom->active[static_cast<size_t>(n)]; }
  int ball = -1, box = -1;
};
}  // namespace

TEST_F(GameBuiltIns, NearestAndFurthestReachAnyDistanceAndKeepTheFirstOfEquals) {
  Start({{ball, {20000, 0}}, {ball, {0, -20000}}, {ball, {-50000, 0}}});
  EXPECT_EQ(Call("instance_nearest", nullptr, {0, 0, TARGET_ALL}), Nth(0)->id);
  EXPECT_EQ(Call("instance_nearest", nullptr, {0, 0, ball}), Nth(0)->id);
  EXPECT_EQ(Call("instance_furthest", nullptr, {0, 0, ball}), Nth(2)->id);
  Nth(2)->SetPosition(0, 20000);  // now all three lie 20000 away
  EXPECT_EQ(Call("instance_furthest", nullptr, {0, 0, TARGET_ALL}), Nth(0)->id);
  EXPECT_EQ(Call("instance_nearest", nullptr, {0, 0, Nth(1)->id}), TARGET_NOONE);  // ids are not searched
  Nth(0)->marked = true;
  EXPECT_EQ(Call("instance_nearest", nullptr, {0, 0, ball}), Nth(1)->id);
}

TEST_F(GameBuiltIns, PositionDestroyActsOnlyOnTheInstancesFoundBeforehand) {
  // Each destroyed ball leaves a new one on the same spot.
  On(ball, EV_DESTROY, 0, [this](CInstance* self, CInstance*) { Run_CreateInstance(ball, self->x, self->y); });
  Start({{ball, {10, 10}}, {ball, {10, 10}}});
  Call("position_destroy", nullptr, {12, 12});
  EXPECT_EQ(Call("instance_number", nullptr, {ball}), 2);
  EXPECT_TRUE(Nth(0)->marked && Nth(1)->marked);

  int other = Object_Add("other");
  Object_LinkParents();
  Call("position_change", nullptr, {12, 12, other, 1});
  EXPECT_EQ(Call("instance_number", nullptr, {other}), 2);
  EXPECT_EQ(Call("instance_number", nullptr, {ball}), 2);  // the two new ones the destroy events made
  EXPECT_EQ(Call("position_change", nullptr, {12, 12, 999, 0}), 0);
  EXPECT_EQ(LastError(), "Asking to change into non-existing object: 999");
}

TEST_F(GameBuiltIns, WithoutARoomTheBuiltInsGiveTheirDefaults) {
  AddRoom();
  Object_LinkParents();
  EXPECT_EQ(Call("instance_create", nullptr, {0, 0, ball}), -1);
  EXPECT_EQ(Call("instance_number", nullptr, {TARGET_ALL}), 0);
  EXPECT_EQ(Call("instance_nearest", nullptr, {0, 0, TARGET_ALL}), TARGET_NOONE);
  EXPECT_EQ(Call("instance_copy", nullptr, {1}), 0);
  Call("instance_deactivate_all", nullptr, {1});
  Call("instance_activate_region", nullptr, {0, 0, 10, 10, 1});
  Call("room_goto_next", nullptr, {});
  Call("room_goto_previous", nullptr, {});
  Call("room_restart", nullptr, {});
  EXPECT_EQ(g_PendingTransition, TRANSITION_NONE);
  CInstance loose(5, 5, 0, ball, false);
  Call("move_random", &loose, {0, 0});
  Call("move_wrap", &loose, {1, 1, 0});
  EXPECT_EQ(loose.x, 5);
  EXPECT_FALSE(Error_Occurred());
}

TEST_F(GameBuiltIns, SleepWaitsNoLongerThanItMust) {
  auto start = std::chrono::steady_clock::now();
  Call("sleep", nullptr, {-1e300});
  Call("sleep", nullptr, {-5});
  Call("sleep", nullptr, {1.5});
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(ms, 1000);
}

TEST_F(GameBuiltIns, GridsWithBadSizesAndPlannersWithoutAPath) {
  EXPECT_EQ(Call("mp_grid_create", nullptr, {0, 0, 10, 10, 0, 16}), -1);
  EXPECT_EQ(Call("mp_grid_create", nullptr, {0, 0, 10, 10, 16, 0.4}), -1);  // rounds to 0
  Call("mp_grid_add_cell", nullptr, {-1, 0, 0});
  int path = Path_Add();
  EXPECT_EQ(Call("mp_grid_path", nullptr, {-1, path, 0, 0, 10, 10, 1}), 0);
  EXPECT_EQ(Call("mp_grid_create", nullptr, {0, 0, 10, 10, 16, 16}), 0);
  EXPECT_EQ(Call("mp_grid_path", nullptr, {0, path, 0, 0, 100, 100, 1}), 1);

  Start({{ball, {0, 0}}});
  EXPECT_EQ(Call("mp_linear_path", Nth(0), {path + 1, 10, 10, 2, 0}), 0);
  EXPECT_EQ(LastError(), "Trying to assign to a non-existing path.");
}

TEST_F(GameBuiltIns, TargetsAndIndicesFollowTheirConversions) {
  Start({{ball, {0, 0}}, {ball, {8, 0}}, {ball, {100, 0}}});
  CInstance* a = Nth(0);
  EXPECT_EQ(Call("instance_find", nullptr, {a->id, 0}), a->id);
  EXPECT_EQ(Call("instance_find", nullptr, {a->id, 1}), TARGET_NOONE);
  EXPECT_EQ(Call("instance_find", nullptr, {ball, 2.7}), Nth(2)->id);  // truncated
  EXPECT_EQ(Call("instance_find", nullptr, {ball, -0.7}), a->id);       // truncates to 0
  EXPECT_EQ(Call("instance_find", nullptr, {ball, -1}), TARGET_NOONE);
  // -1 is self's id: an instance never meets itself, though it meets the second ball.
  EXPECT_EQ(Call("place_meeting", a, {a->x, a->y, TARGET_SELF}), 0);
  EXPECT_EQ(Call("place_meeting", a, {a->x, a->y, ball}), 1);
  EXPECT_EQ(Call("place_meeting", a, {a->x, a->y, TARGET_OTHER}, Nth(1)), 1);
  EXPECT_EQ(Call("instance_number", a, {TARGET_SELF}), 1);
  EXPECT_EQ(Call("instance_exists", nullptr, {-7}), 0);
  EXPECT_EQ(Call("instance_exists", a, {TARGET_ALL}), 0);  // only instances and objects count
  EXPECT_EQ(Call("instance_exists", a, {TARGET_SELF}), 1);
  EXPECT_EQ(Call("collision_point", a, {1, 1, ball, 0, 1}), TARGET_NOONE);
  EXPECT_EQ(Call("collision_point", a, {1, 1, ball, 0, 0}), a->id);
  EXPECT_EQ(Call("collision_circle", a, {50, 8, 45, TARGET_ALL, 0, 1}), Nth(1)->id);
  EXPECT_EQ(Call("instance_create", nullptr, {0, 0, "ball"}), -1);
  EXPECT_EQ(LastError(), "instance_create( ) error: Illegal type");
  EXPECT_EQ(Call("distance_to_object", a, {ball}), 0);  // overlapping the second ball
  EXPECT_EQ(Call("distance_to_object", a, {Nth(2)->id}), 85);
  EXPECT_EQ(Call("distance_to_object", a, {-7}), 1000000);
  EXPECT_EQ(Call("distance_to_point", a, {20, 10}), 5);
}

TEST_F(GameBuiltIns, MovesStopAtContactOrAfterTheirSteps) {
  int wall = Object_Add("wall");
  Object_Find(wall)->sprite_index = box;
  Object_Find(wall)->flags |= OBJECT_SOLID;
  Start({{ball, {0, 0}}, {wall, {40, 0}}});
  CInstance* b = Nth(0);
  Call("move_contact_solid", b, {0, 0});
  EXPECT_FLOAT_EQ(b->x, 24);  // touching the wall
  Call("move_contact_solid", b, {90, -1});
  EXPECT_FLOAT_EQ(b->y, -1000);  // no maximum: 1000 steps
  b->SetPosition(30, 0);
  Call("move_outside_solid", b, {180, 3});
  EXPECT_FLOAT_EQ(b->x, 27);  // steps used up, still inside
  Call("move_contact", b, {180});
  EXPECT_FLOAT_EQ(b->x, 24);  // outside first
}

TEST_F(GameBuiltIns, MoveRandomWithNoFreeSpotStaysPut) {
  int huge = AddSprite(4000, 4000);
  int wall = Object_Add("wall");
  Object_Find(wall)->sprite_index = huge;
  Object_Find(wall)->flags |= OBJECT_SOLID;
  Start({{ball, {33, 44}}, {wall, {-1000, -1000}}});
  Call("move_random", Nth(0), {0, 0});
  EXPECT_FLOAT_EQ(Nth(0)->x, 33);
  EXPECT_FLOAT_EQ(Nth(0)->y, 44);
  Nth(1)->marked = true;
  Call("move_random", Nth(0), {16, 16});
  EXPECT_EQ(static_cast<int>(Nth(0)->x) % 16, 0);
  EXPECT_LE(Nth(0)->x, 640 - 16);
}

TEST_F(GameBuiltIns, RegionsDeactivateAndActivateByTheirEdges) {
  Start({{ball, {0, 0}}, {ball, {100, 100}}, {ball, {300, 300}}});
  CInstance *a = Nth(0), *b = Nth(1), *c = Nth(2);
  // Inside false: everything outside (90, 90)..(200, 200) goes, but not self.
  Call("instance_deactivate_region", a, {90, 90, 110, 110, 0, 1});
  EXPECT_FALSE(a->deactivated);
  EXPECT_FALSE(b->deactivated);
  EXPECT_TRUE(c->deactivated);
  EXPECT_EQ(Call("instance_number", nullptr, {ball}), 2);
  Call("instance_activate_region", nullptr, {310, 310, 5, 5, 1});  // touches c's box
  EXPECT_FALSE(c->deactivated);
  Call("instance_deactivate_object", nullptr, {ball});
  EXPECT_EQ(g_RunRoom->active.size(), 0u);
  Call("instance_activate_object", nullptr, {b->id});
  EXPECT_EQ(g_RunRoom->active.size(), 1u);
  Call("instance_activate_all", nullptr, {});
  EXPECT_EQ(g_RunRoom->deactivated.size(), 0u);
}

TEST_F(GameBuiltIns, RoomBuiltInsFollowTheOrder) {
  AddRoom();
  AddRoom();
  int order[] = {1, 0};
  Room_SetOrder(order, 2);
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(Call("room_next", nullptr, {1}), 0);
  EXPECT_EQ(Call("room_next", nullptr, {0}), -1);
  EXPECT_EQ(Call("room_previous", nullptr, {0.5}), 1);  // 0.5 rounds to 0
  EXPECT_EQ(Call("room_previous", nullptr, {9}), -1);
  Call("room_goto_previous", nullptr, {});
  EXPECT_EQ(g_PendingTransition, TRANSITION_FATAL);
  EXPECT_EQ(LastError(), "FATAL Moving to previous room before the first room.");
}
