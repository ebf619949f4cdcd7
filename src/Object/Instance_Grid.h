// The world's broad phase: every instance that has joined the world is filed
// in a uniform grid of square cells by its bounding box, so that a query
// over a small area looks at the few instances near it instead of the whole
// room. The grid only narrows: callers still make their exact tests, and
// still take the order of results from the instance lists.
#pragma once
#include <cstdint>
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
// A search outwards from a point, ring of cells by ring of cells; every
// instance is also filed under the cell of its position, so that the rings
// reach positions as well as boxes.
class CGridRings {
 public:
  CGridRings(double x, double y);  // finite coordinates
  // Appends the instances first met in the next ring (the first ring is the
  // point's own cell and the instances too big for cells). False when the
  // rings have grown wider than the filled cells and a walk is cheaper.
  bool Next(std::vector<CInstance*>& out);
  // How near to the point an instance that later rings meet can stand.
  double Reach() const;

 private:
  int cx_, cy_;
  int ring_ = -1;
  uint64_t stamp_;
};

// Appends, once each, the joined instances filed under a cell the box
// touches (call Grid_Flush first for boxes that are up to date).
void Grid_Candidates(const GridBox& box, std::vector<CInstance*>& out);
