#include "Object/Instance_Grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "Object/Instance_Class.h"

namespace {
// Cells are CELL pixels square; an instance spanning more than MAX_CELLS
// cells is kept on a list of its own that every query looks at.
constexpr int CELL_SHIFT = 6;
constexpr double CELL = 1 << CELL_SHIFT;
constexpr long long MAX_CELLS = 64;

struct Grid {
  std::unordered_map<uint64_t, std::vector<CInstance*>> cells;
  std::vector<CInstance*> big;
  std::vector<CInstance*> queue;
  size_t holes = 0;  // queue entries of instances that left
  uint64_t stamp = 0;
};

// Never destroyed: instances still leave it from exit handlers that run after
// the program's static objects are gone.
Grid& TheGrid() {
  static Grid* grid = new Grid;
  return *grid;
}

uint64_t Key(int cx, int cy) { return (static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32) | static_cast<uint32_t>(cy); }

int CellOf(long long v) {
  v = std::clamp<long long>(v, INT32_MIN, INT32_MAX);
  return static_cast<int>(v >> CELL_SHIFT);  // arithmetic shift: floor division
}

void Erase(std::vector<CInstance*>& list, CInstance* inst) {
  auto it = std::find(list.begin(), list.end(), inst);
  if (it == list.end()) return;
  *it = list.back();
  list.pop_back();
}

bool IsBig(const int* c) { return static_cast<long long>(c[2] - c[0] + 1) * (c[3] - c[1] + 1) > MAX_CELLS; }

void Unfile(Grid& g, CInstance* inst) {
  int* c = inst->grid_cells;
  if (c[2] < c[0]) return;
  if (IsBig(c)) {
    Erase(g.big, inst);
  } else {
    for (int cx = c[0]; cx <= c[2]; cx++)
      for (int cy = c[1]; cy <= c[3]; cy++) {
        auto it = g.cells.find(Key(cx, cy));
        if (it == g.cells.end()) continue;
        Erase(it->second, inst);
        if (it->second.empty()) g.cells.erase(it);
      }
  }
  c[0] = 0, c[2] = -1;
}

long long Edge(double v) {
  if (v >= 4e9) return 4000000000LL;
  if (v <= -4e9) return -4000000000LL;
  return static_cast<long long>(std::floor(v));
}

// Files the instance under the cells of its box and of its position.
void File(Grid& g, CInstance* inst) {
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  int n[4] = {CellOf(l), CellOf(t), CellOf(r), CellOf(b)};
  if (!std::isnan(inst->x) && !std::isnan(inst->y)) {
    int px = CellOf(Edge(inst->x)), py = CellOf(Edge(inst->y));
    n[0] = std::min(n[0], px), n[2] = std::max(n[2], px);
    n[1] = std::min(n[1], py), n[3] = std::max(n[3], py);
  }
  int* c = inst->grid_cells;
  if (std::equal(n, n + 4, c)) return;
  Unfile(g, inst);
  std::copy(n, n + 4, c);
  if (IsBig(c)) {
    g.big.push_back(inst);
    return;
  }
  for (int cx = c[0]; cx <= c[2]; cx++)
    for (int cy = c[1]; cy <= c[3]; cy++) g.cells[Key(cx, cy)].push_back(inst);
}

// Takes the instance once per mark.
void Take(CInstance* inst, uint64_t stamp, std::vector<CInstance*>& out) {
  if (inst->grid_stamp == stamp) return;
  inst->grid_stamp = stamp;
  out.push_back(inst);
}

void TakeCell(const Grid& g, int cx, int cy, uint64_t stamp, std::vector<CInstance*>& out) {
  auto it = g.cells.find(Key(cx, cy));
  if (it != g.cells.end())
    for (CInstance* inst : it->second) Take(inst, stamp, out);
}
}  // namespace

void Grid_Join(CInstance* inst) {
  if (inst->grid_joined) return;
  inst->grid_joined = true;
  inst->grid_cells[0] = 0, inst->grid_cells[2] = -1;
  Grid_Queue(inst);
}

void Grid_Leave(CInstance* inst) {
  if (!inst->grid_joined) return;
  Grid& g = TheGrid();
  Unfile(g, inst);
  if (inst->grid_queue >= 0) {
    g.queue[static_cast<size_t>(inst->grid_queue)] = nullptr;
    g.holes++;
  }
  inst->grid_queue = -1;
  inst->grid_joined = false;
}

void Grid_Queue(CInstance* inst) {
  if (!inst->grid_joined || inst->grid_queue >= 0) return;
  Grid& g = TheGrid();
  // Instances that come and go while nothing is asked leave holes behind.
  if (g.holes > 64 && g.holes * 2 > g.queue.size()) {
    g.queue.erase(std::remove(g.queue.begin(), g.queue.end(), nullptr), g.queue.end());
    for (size_t k = 0; k < g.queue.size(); k++) g.queue[k]->grid_queue = static_cast<int>(k);
    g.holes = 0;
  }
  inst->grid_queue = static_cast<int>(g.queue.size());
  g.queue.push_back(inst);
}

void Grid_Flush() {
  Grid& g = TheGrid();
  // Filing computes boxes, which queues nothing new.
  for (CInstance* inst : g.queue) {
    if (!inst) continue;
    inst->grid_queue = -1;
    File(g, inst);
  }
  g.queue.clear();
  g.holes = 0;
}

bool Grid_BoxOf(double x1, double y1, double x2, double y2, GridBox* box) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) return false;
  box->left = Edge(std::min(x1, x2)) - 1, box->right = Edge(std::max(x1, x2)) + 1;
  box->top = Edge(std::min(y1, y2)) - 1, box->bottom = Edge(std::max(y1, y2)) + 1;
  return true;
}

void Grid_Candidates(const GridBox& box, std::vector<CInstance*>& out) {
  Grid& g = TheGrid();
  uint64_t stamp = ++g.stamp;
  for (CInstance* inst : g.big) Take(inst, stamp, out);
  int l = CellOf(box.left), t = CellOf(box.top), r = CellOf(box.right), b = CellOf(box.bottom);
  if (static_cast<long long>(r - l + 1) * (b - t + 1) > static_cast<long long>(g.cells.size())) {
    // A query wider than the filled cells: walk those instead.
    for (auto& [key, list] : g.cells) {
      int cx = static_cast<int>(key >> 32), cy = static_cast<int>(static_cast<uint32_t>(key));
      if (cx < l || cx > r || cy < t || cy > b) continue;
      for (CInstance* inst : list) Take(inst, stamp, out);
    }
    return;
  }
  for (int cx = l; cx <= r; cx++)
    for (int cy = t; cy <= b; cy++) TakeCell(g, cx, cy, stamp, out);
}

CGridRings::CGridRings(double x, double y)
    : cx_(CellOf(Edge(x))), cy_(CellOf(Edge(y))), stamp_(++TheGrid().stamp) {}

bool CGridRings::Next(std::vector<CInstance*>& out) {
  const Grid& g = TheGrid();
  int k = ++ring_;
  if (k == 0) {
    for (CInstance* inst : g.big) Take(inst, stamp_, out);
    TakeCell(g, cx_, cy_, stamp_, out);
    return true;
  }
  // The rings so far have looked at about 4 k * k cells.
  if (4.0 * k * k > static_cast<double>(g.cells.size()) + 16) return false;
  // Cells past the edge of the 32-bit range hold nothing.
  for (long long d = -k; d <= k; d++) {
    long long xs[2] = {cx_ - static_cast<long long>(k), cx_ + static_cast<long long>(k)};
    long long ys[2] = {cy_ - static_cast<long long>(k), cy_ + static_cast<long long>(k)};
    for (long long y : ys)
      if (y >= INT32_MIN && y <= INT32_MAX && cx_ + d >= INT32_MIN && cx_ + d <= INT32_MAX)
        TakeCell(g, static_cast<int>(cx_ + d), static_cast<int>(y), stamp_, out);
    if (d == -k || d == k) continue;  // the corners are done
    for (long long x : xs)
      if (x >= INT32_MIN && x <= INT32_MAX && cy_ + d >= INT32_MIN && cy_ + d <= INT32_MAX)
        TakeCell(g, static_cast<int>(x), static_cast<int>(cy_ + d), stamp_, out);
  }
  return true;
}

// A position in a cell k rings out lies at least k - 1 cells away.
double CGridRings::Reach() const { return ring_ < 1 ? 0 : ring_ * CELL; }
