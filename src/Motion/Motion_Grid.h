// Motion-planning grids: a rectangle of cells, each free or forbidden, and
// the shortest way through the free cells from one point to another.
#pragma once
#include <vector>

class CInstance;

constexpr int GRID_FREE = 0;
constexpr int GRID_FORBIDDEN = -1;

struct CGrid {
  int left = 0, top = 0;
  int cellwidth = 1, cellheight = 1;
  int hcells = 0, vcells = 0;
  std::vector<int> cells;  // row by row, GRID_FREE or GRID_FORBIDDEN
};

// A new grid with every cell free in the first empty slot; -1 (logged) when a
// cell size or count is 0 or less, or the grid would be too large.
int MotionGrid_Create(int left, int top, int hcells, int vcells, int cellwidth, int cellheight);
// The grid of an id, or null. Every operation below does nothing for a bad id.
CGrid* MotionGrid_Get(int id);
void MotionGrid_Destroy(int id);
void MotionGrid_DestroyAll();
void MotionGrid_ClearAll(int id);
// One cell; a cell outside the grid is ignored.
void MotionGrid_ClearCell(int id, int h, int v);
void MotionGrid_AddCell(int id, int h, int v);
// The cells whose columns lie from (min(x1, x2) - left) div cellwidth to
// (max(x1, x2) - left) div cellwidth and whose rows lie likewise, clamped.
void MotionGrid_ClearRectangle(int id, int x1, int y1, int x2, int y2);
void MotionGrid_AddRectangle(int id, int x1, int y1, int x2, int y2);
// Forbids the cells each instance of the target overlaps (-1 self, -2 other,
// -3 every active instance, an instance id, an object's instances).
void MotionGrid_AddInstances(int id, CInstance* self, CInstance* other, int target, bool precise);
// Fills the path with the shortest way through free cells from the start to
// the goal (straight and diagonal steps; a diagonal step needs both cells
// beside it free): the start point, the centres of the cells between, the
// goal point. False (path untouched) when there is no way, either end lies
// outside the grid or on a forbidden cell, or the path does not exist.
// Draws each cell as a filled rectangle, free cells green and forbidden
// cells red, with the current alpha.
void MotionGrid_Draw(int id);
bool MotionGrid_Path(int id, int path, int xstart, int ystart, int xgoal, int ygoal, bool allowdiag);
