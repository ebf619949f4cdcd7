#include <gtest/gtest.h>

#include "Motion/Motion_Grid.h"
#include "Motion/Motion_Plan.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"
#include "Run/Run_Services.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class MotionGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    MotionGrid_DestroyAll();
    Path_FreeAll();
    path = Path_Add();
  }
  void TearDown() override {
    MotionGrid_DestroyAll();
    Path_FreeAll();
  }
  int path = -1;
};

bool Forbidden(int grid, int h, int v) {
  CGrid* g = MotionGrid_Get(grid);
  return g->cells[static_cast<size_t>(v) * g->hcells + h] == GRID_FORBIDDEN;
}
}  // namespace

TEST_F(MotionGrid, BadSizesGiveNoGridAndEveryCallOnItDoesNothing) {
  EXPECT_EQ(MotionGrid_Create(0, 0, 10, 10, 0, 8), -1);
  EXPECT_EQ(MotionGrid_Create(0, 0, 10, 10, 8, -1), -1);
  EXPECT_EQ(MotionGrid_Create(0, 0, 0, 10, 8, 8), -1);
  EXPECT_EQ(MotionGrid_Create(0, 0, 100000, 100000, 8, 8), -1);  // too many cells
  MotionGrid_AddCell(-1, 0, 0);
  MotionGrid_AddRectangle(-1, 0, 0, 100, 100);
  MotionGrid_ClearRectangle(-1, 0, 0, 100, 100);
  MotionGrid_ClearAll(-1);
  MotionGrid_AddInstances(-1, nullptr, nullptr, TARGET_ALL, false);
  MotionGrid_Destroy(-1);
  EXPECT_FALSE(MotionGrid_Path(-1, path, 0, 0, 5, 5, true));
}

TEST_F(MotionGrid, SlotsAreReusedAndRectanglesClampToTheGrid) {
  int a = MotionGrid_Create(0, 0, 4, 4, 10, 10);
  int b = MotionGrid_Create(0, 0, 4, 4, 10, 10);
  MotionGrid_Destroy(a);
  EXPECT_EQ(MotionGrid_Create(0, 0, 4, 4, 10, 10), a);
  EXPECT_NE(a, b);

  // (25, -50) .. (-100, 15): columns 0..2 and rows 0..1 once clamped.
  MotionGrid_AddRectangle(a, 25, 15, -100, -50);
  EXPECT_TRUE(Forbidden(a, 2, 1));
  EXPECT_TRUE(Forbidden(a, 0, 0));
  EXPECT_FALSE(Forbidden(a, 3, 1));
  EXPECT_FALSE(Forbidden(a, 2, 2));
  MotionGrid_ClearCell(a, 2, 1);
  MotionGrid_AddCell(a, 4, 0);  // outside: ignored
  EXPECT_FALSE(Forbidden(a, 2, 1));
  MotionGrid_ClearAll(a);
  EXPECT_FALSE(Forbidden(a, 0, 0));
}

TEST_F(MotionGrid, PathsGoAroundWallsWithoutCuttingCorners) {
  // A wall down column 5 with a gap in the last row.
  int g = MotionGrid_Create(0, 0, 10, 10, 10, 10);
  MotionGrid_AddRectangle(g, 50, 0, 55, 85);
  ASSERT_TRUE(MotionGrid_Path(g, path, 5, 5, 95, 5, false));
  CPath* p = Path_Data(path);
  EXPECT_FLOAT_EQ(p->GetPoint(0).x, 5);
  EXPECT_FLOAT_EQ(p->GetPoint(p->GetNumber() - 1).x, 95);
  bool through_gap = false;
  for (int i = 1; i < p->GetNumber(); i++) {
    const PathPoint &a = p->GetPoint(i - 1), &b = p->GetPoint(i);
    EXPECT_TRUE(a.x == b.x || a.y == b.y) << "diagonal step without allowdiag at " << i;
    through_gap |= b.y == 95;
  }
  EXPECT_TRUE(through_gap);
  double straight_only = p->GetLength();
  ASSERT_TRUE(MotionGrid_Path(g, path, 5, 5, 95, 5, true));
  EXPECT_LT(p->GetLength(), straight_only);

  // Two cells touching only at a corner do not let a diagonal through.
  int c = MotionGrid_Create(0, 0, 2, 2, 10, 10);
  MotionGrid_AddCell(c, 1, 0);
  MotionGrid_AddCell(c, 0, 1);
  int before = p->GetNumber();
  EXPECT_FALSE(MotionGrid_Path(c, path, 5, 5, 15, 15, true));
  EXPECT_EQ(p->GetNumber(), before);  // untouched on failure

  // Ends outside the grid or on a forbidden cell.
  EXPECT_FALSE(MotionGrid_Path(g, path, -5, 5, 95, 5, true));
  EXPECT_FALSE(MotionGrid_Path(g, path, 55, 5, 95, 5, true));
}

namespace {
// Planning against instances of a small world.
class MotionPlan : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    Path_FreeAll();
    path = Path_Add();
    int box = AddSprite(16, 16);
    mover = Object_Add("mover");
    wall = Object_Add("wall");
    Object_Find(mover)->sprite_index = box;
    Object_Find(wall)->sprite_index = box;
    Object_Find(wall)->flags |= OBJECT_SOLID;
  }
  void TearDown() override {
    Reset();
    Path_FreeAll();
    MotionPlan_SetPotentialSettings(30, 10, 3, true);
  }
  CInstance* Start(std::vector<std::pair<int, std::pair<float, float>>> placed) {
    AddRoom(std::move(placed));
    Object_LinkParents();
    EXPECT_TRUE(StartGame());
    return Object_Find(mover)->instances[0];
  }
  int path = -1, mover = -1, wall = -1;
};
}  // namespace

TEST_F(MotionPlan, LinearPathsStopAtWallsAndLeaveTheInstanceInPlace) {
  CInstance* m = Start({{mover, {0, 0}}, {wall, {100, 0}}});
  EXPECT_FALSE(MotionPlan_LinearPath(m, path, 200, 0, 10, TARGET_ALL, false));
  CPath* p = Path_Data(path);
  EXPECT_FALSE(p->GetClosed());
  EXPECT_FLOAT_EQ(p->GetPoint(p->GetNumber() - 1).x, 80);  // the last free spot before the wall
  EXPECT_FLOAT_EQ(m->x, 0);

  EXPECT_TRUE(MotionPlan_LinearPath(m, path, 0, 55, 10, TARGET_ALL, false));
  EXPECT_FLOAT_EQ(p->GetPoint(p->GetNumber() - 1).y, 55);
  EXPECT_FLOAT_EQ(m->y, 0);
  EXPECT_FALSE(MotionPlan_LinearPath(m, path, 0, 55, 0, TARGET_ALL, false));
}

TEST_F(MotionPlan, PotentialPathsWalkAroundObstaclesWithinTheirLimit) {
  CInstance* m = Start({{mover, {0, 100}}, {wall, {100, 100}}});
  MotionPlan_SetPotentialSettings(60, 10, 2, true);
  EXPECT_TRUE(MotionPlan_PotentialPath(m, path, 200, 100, 5, 4, TARGET_ALL, false));
  CPath* p = Path_Data(path);
  EXPECT_FLOAT_EQ(p->GetPoint(p->GetNumber() - 1).x, 200);
  EXPECT_FLOAT_EQ(m->x, 0);
  // A limit shorter than the way fails with an empty path, not a cut one.
  EXPECT_FALSE(MotionPlan_PotentialPath(m, path, 200, 100, 5, 0.5, TARGET_ALL, false));
  EXPECT_EQ(p->GetNumber(), 0);
}

TEST_F(MotionPlan, StepsMoveOnlyOntoFreeSpots) {
  CInstance* m = Start({{mover, {0, 0}}, {wall, {20, 0}}});
  EXPECT_FALSE(MotionPlan_LinearStep(m, 100, 0, 4, TARGET_ALL, false));
  EXPECT_FLOAT_EQ(m->x, 4);
  MotionPlan_LinearStep(m, 100, 0, 4, wall, false);  // meets the wall there: stays
  EXPECT_FLOAT_EQ(m->x, 4);
  EXPECT_TRUE(MotionPlan_LinearStep(m, 1, 0, 4, TARGET_ALL, false));
  EXPECT_FLOAT_EQ(m->x, 1);

  MotionPlan_SetPotentialSettings(0, -5, 0.2f, false);
  EXPECT_FLOAT_EQ(MotionPlan_Settings().maxrot, 1);
  EXPECT_FLOAT_EQ(MotionPlan_Settings().rotstep, 1);
  EXPECT_FLOAT_EQ(MotionPlan_Settings().ahead, 1);
}
