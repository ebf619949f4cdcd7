// The world's broad phase: every instance that has joined the world is filed
// in a uniform grid of square cells by its bounding box, so that a query
// over a small area looks at the few instances near it instead of the whole
// room. The grid only narrows: callers still make their exact tests, and
// still take the order of results from the instance lists.
#pragma once
#include <vector>

class CInstance;

// An instance joins when it is made (or brought back into the world) and
// leaves when it is freed (or set aside in a persistent room).
void Grid_Join(CInstance* inst);
void Grid_Leave(CInstance* inst);
// The instance's box has changed: it is filed anew at the next flush.
void Grid_Queue(CInstance* inst);
// Files every queued instance by its current box.
void Grid_Flush();

// An integer box, edges included.
struct GridBox {
  long long left, top, right, bottom;
};
// The box holding the points from (x1, y1) to (x2, y2) in either order,
// widened by a pixel on each side; false when a coordinate is not a number.
bool Grid_BoxOf(double x1, double y1, double x2, double y2, GridBox* box);
// Appends, once each, the joined instances filed under a cell the box
// touches (call Grid_Flush first for boxes that are up to date).
void Grid_Candidates(const GridBox& box, std::vector<CInstance*>& out);
