#include <cmath>

#include <gtest/gtest.h>

#include "DataFile/DataFile_Package.h"
#include "Object/Instance_Class.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"

namespace {
// An L of two 100-pixel sides: (0, 0) -> (100, 0) -> (100, 100).
void MakeL(CPath& p, bool closed) {
  p.SetClosed(closed);
  p.AddPoint(0, 0, 100);
  p.AddPoint(100, 0, 100);
  p.AddPoint(100, 100, 100);
}
}  // namespace

TEST(PathClass, StraightPathsMeasureAndPlacePositions) {
  CPath open;
  MakeL(open, false);
  EXPECT_DOUBLE_EQ(open.GetLength(), 200);
  EXPECT_FLOAT_EQ(open.GetX(0.25), 50);
  EXPECT_FLOAT_EQ(open.GetY(0.75), 50);
  EXPECT_FLOAT_EQ(open.GetX(-3), 0);  // clamped
  EXPECT_FLOAT_EQ(open.GetY(7), 100);

  CPath closed;
  MakeL(closed, true);
  EXPECT_NEAR(closed.GetLength(), 200 + 100 * std::sqrt(2.0), 1e-4);
  EXPECT_FLOAT_EQ(closed.GetX(1), 0);  // back at the start
  EXPECT_FLOAT_EQ(closed.GetY(1), 0);

  // Outside the points: the empty point.
  EXPECT_FLOAT_EQ(open.GetPoint(10).x, 0);
  EXPECT_FLOAT_EQ(open.GetPoint(-1).speed, 1);
  EXPECT_EQ(CPath().GetLength(), 0);
}

TEST(PathClass, SpeedsInterpolateAlongThePath) {
  CPath p;
  p.SetClosed(false);
  p.AddPoint(0, 0, 100);
  p.AddPoint(10, 0, 200);
  EXPECT_FLOAT_EQ(p.GetSpeed(0.5), 150);
  EXPECT_FLOAT_EQ(p.GetSpeed(1), 200);
}

TEST(PathClass, SmoothPathsRunFromFirstToLastPointInsideTheCorners) {
  CPath p;
  MakeL(p, false);
  p.SetKind(PATH_SMOOTH);
  EXPECT_FLOAT_EQ(p.GetX(0), 0);
  EXPECT_FLOAT_EQ(p.GetY(1), 100);
  // The curve cuts the corner: shorter than the two sides, longer than the
  // diagonal, and it never reaches the corner itself.
  EXPECT_LT(p.GetLength(), 200);
  EXPECT_GT(p.GetLength(), 100 * std::sqrt(2.0));
  EXPECT_LT(p.GetX(0.5), 100);
  // More precision only refines the curve.
  double coarse = (p.SetPrecision(1), p.GetLength());
  double fine = (p.SetPrecision(8), p.GetLength());
  EXPECT_LT(coarse, fine);  // chords of a curve fall short of it
  EXPECT_NEAR(coarse, fine, 5.0);
  p.SetPrecision(40);
  EXPECT_EQ(p.GetPrecision(), PATH_PRECISION_MAX);
  p.SetPrecision(-2);
  EXPECT_EQ(p.GetPrecision(), PATH_PRECISION_MIN);

  // A closed smooth path starts and ends at the same spot.
  p.SetClosed(true);
  EXPECT_FLOAT_EQ(p.GetX(0), p.GetX(1));
  EXPECT_FLOAT_EQ(p.GetY(0), p.GetY(1));
}

TEST(PathClass, ChangesKeepTheShapeAboutItsCentre) {
  CPath p;
  MakeL(p, false);
  p.Rotate(90);  // about (50, 50), counter-clockwise on the screen
  EXPECT_NEAR(p.GetPoint(0).x, 0, 1e-4);
  EXPECT_NEAR(p.GetPoint(0).y, 100, 1e-4);
  EXPECT_NEAR(p.GetPoint(1).x, 0, 1e-4);
  EXPECT_NEAR(p.GetPoint(1).y, 0, 1e-4);
  EXPECT_NEAR(p.GetLength(), 200, 1e-3);

  CPath m;
  MakeL(m, false);
  m.Mirror();
  EXPECT_FLOAT_EQ(m.GetPoint(0).x, 100);
  m.Flip();
  EXPECT_FLOAT_EQ(m.GetPoint(2).y, 0);
  m.Scale(2, 0.5);
  EXPECT_FLOAT_EQ(m.GetPoint(0).x, 150);
  EXPECT_FLOAT_EQ(m.GetPoint(0).y, 75);
  m.Shift(-150, 5);
  EXPECT_FLOAT_EQ(m.GetPoint(0).x, 0);
  EXPECT_FLOAT_EQ(m.GetPoint(0).y, 80);

  m.Reverse();
  EXPECT_FLOAT_EQ(m.GetPoint(2).y, 80);
  m.Append(m);  // onto itself: the points double
  EXPECT_EQ(m.GetNumber(), 6);
  m.InsertPoint(99, 1, 2, 3);  // clamped to the end
  EXPECT_FLOAT_EQ(m.GetPoint(6).speed, 3);
  m.DeletePoint(99);
  m.ChangePoint(-1, 0, 0, 0);
  EXPECT_EQ(m.GetNumber(), 7);
  m.ClearPoints();
  EXPECT_EQ(m.GetLength(), 0);
}

TEST(PathTable, AddDuplicateAssignDeleteAndLoad) {
  Path_FreeAll();
  int a = Path_Add();
  EXPECT_STREQ(Path_Name(a), "__newpath");
  MakeL(*Path_Data(a), false);
  int b = Path_Duplicate(a);
  EXPECT_DOUBLE_EQ(Path_Data(b)->GetLength(), 200);
  EXPECT_EQ(Path_Duplicate(77), -1);
  EXPECT_LE(Path_Assign(a, a), 0);
  EXPECT_LE(Path_Assign(a, 77), 0);
  EXPECT_TRUE(Path_Delete(a));
  EXPECT_FALSE(Path_Delete(a));
  EXPECT_STREQ(Path_Name(a), "<undefined>");

  GamePackage pkg;
  pkg.paths.resize(2);
  pkg.paths[1].exists = true;
  pkg.paths[1].name = "path_square";
  pkg.paths[1].closed = true;
  pkg.paths[1].points = {{0, 0, 100}, {10, 0, 100}, {10, 10, 100}, {0, 10, 100}};
  Path_LoadAll(pkg);
  EXPECT_FALSE(Path_Exists(0));
  EXPECT_EQ(Path_FindByName("path_square"), 1);
  EXPECT_DOUBLE_EQ(Path_Data(1)->GetLength(), 40);
  Path_FreeAll();
}

class PathFollow : public ::testing::Test {
 protected:
  void SetUp() override {
    Path_FreeAll();
    line = Path_Add();
    CPath* p = Path_Data(line);
    p->SetClosed(false);
    p->AddPoint(0, 0, 100);
    p->AddPoint(10, 0, 100);
  }
  void TearDown() override { Path_FreeAll(); }
  int line = -1;
  CInstance inst{50, 50, 100001, -1, false};
};

TEST_F(PathFollow, RelativePathsStartWhereTheInstanceStands) {
  Path_StartInstance(&inst, line, 4, 1, 0, false, PATH_END_STOP);
  EXPECT_FALSE(Path_StepInstance(&inst));
  EXPECT_FLOAT_EQ(inst.x, 54);
  EXPECT_FALSE(Path_StepInstance(&inst));
  EXPECT_TRUE(Path_StepInstance(&inst));  // 12 > 10: stops at the end
  EXPECT_FLOAT_EQ(inst.x, 60);
  EXPECT_EQ(inst.path_index, -1);
  EXPECT_FALSE(Path_StepInstance(&inst));
}

TEST_F(PathFollow, AbsolutePathsMoveOntoTheirStartAndScaleOrTurn) {
  Path_StartInstance(&inst, line, -5, 1, 0, true, PATH_END_STOP);  // negative: from the end
  EXPECT_FLOAT_EQ(inst.x, 10);
  EXPECT_FLOAT_EQ(inst.y, 0);
  Path_StepInstance(&inst);
  EXPECT_FLOAT_EQ(inst.x, 5);

  CInstance turned(0, 0, 100002, -1, false);
  Path_StartInstance(&turned, line, 10, 2, 90, false, PATH_END_STOP);  // twice as long, pointing up
  Path_StepInstance(&turned);
  EXPECT_NEAR(turned.x, 0, 1e-4);
  EXPECT_NEAR(turned.y, -10, 1e-4);
}

TEST_F(PathFollow, EndActionsRestartContinueAndReverse) {
  Path_StartInstance(&inst, line, 6, 1, 0, false, PATH_END_RESTART);
  Path_StepInstance(&inst);
  EXPECT_TRUE(Path_StepInstance(&inst));  // 12: two past the end, from the start again
  EXPECT_FLOAT_EQ(inst.x, 52);
  EXPECT_EQ(inst.path_index, line);

  CInstance cont(0, 0, 100003, -1, false);
  Path_StartInstance(&cont, line, 6, 1, 0, false, PATH_END_CONTINUE);
  Path_StepInstance(&cont);
  Path_StepInstance(&cont);
  EXPECT_FLOAT_EQ(cont.x, 12);  // carries on from the end

  CInstance back(0, 0, 100004, -1, false);
  Path_StartInstance(&back, line, 6, 1, 0, false, PATH_END_REVERSE);
  Path_StepInstance(&back);
  EXPECT_TRUE(Path_StepInstance(&back));
  EXPECT_FLOAT_EQ(back.x, 8);
  EXPECT_FLOAT_EQ(back.path_speed, -6);
}

TEST_F(PathFollow, MissingOrEmptyPathsLeaveNoPath) {
  inst.path_index = line;
  Path_StartInstance(&inst, 42, 4, 1, 0, false, PATH_END_STOP);
  EXPECT_EQ(inst.path_index, -1);
  Path_Data(line)->ClearPoints();
  Path_StartInstance(&inst, line, 4, 1, 0, true, PATH_END_STOP);
  EXPECT_EQ(inst.path_index, -1);
  EXPECT_FLOAT_EQ(inst.x, 50);
}
