#include "Motion/Motion_Grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <queue>

#include "Base/Console.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"
#include "Run/Run_Target.h"

namespace {
// Cells of one grid at most (each cell takes an int, and a search more).
constexpr int64_t MAX_CELLS = 1 << 24;

std::vector<CGrid*> g_grids;

void SetCell(int id, int h, int v, int value) {
  CGrid* g = MotionGrid_Get(id);
  if (!g || h < 0 || v < 0 || h >= g->hcells || v >= g->vcells) return;
  g->cells[static_cast<size_t>(v) * g->hcells + h] = value;
}

// Integer division that truncates toward zero, clamped to 0..count-1.
int CellOf(int64_t offset, int size, int count) {
  return static_cast<int>(std::clamp<int64_t>(offset / size, 0, count - 1));
}

void SetRectangle(int id, int x1, int y1, int x2, int y2, int value) {
  CGrid* g = MotionGrid_Get(id);
  if (!g) return;
  int h1 = CellOf(static_cast<int64_t>(std::min(x1, x2)) - g->left, g->cellwidth, g->hcells);
  int h2 = CellOf(static_cast<int64_t>(std::max(x1, x2)) - g->left, g->cellwidth, g->hcells);
  int v1 = CellOf(static_cast<int64_t>(std::min(y1, y2)) - g->top, g->cellheight, g->vcells);
  int v2 = CellOf(static_cast<int64_t>(std::max(y1, y2)) - g->top, g->cellheight, g->vcells);
  for (int v = v1; v <= v2; v++)
    for (int h = h1; h <= h2; h++) g->cells[static_cast<size_t>(v) * g->hcells + h] = value;
}

void ForbidInstance(CGrid* g, CInstance* inst, bool precise) {
  if (!inst || inst->marked) return;
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  int h1 = CellOf(static_cast<int64_t>(l) - g->left, g->cellwidth, g->hcells);
  int h2 = CellOf(static_cast<int64_t>(r) - g->left, g->cellwidth, g->hcells);
  int v1 = CellOf(static_cast<int64_t>(t) - g->top, g->cellheight, g->vcells);
  int v2 = CellOf(static_cast<int64_t>(b) - g->top, g->cellheight, g->vcells);
  for (int v = v1; v <= v2; v++) {
    for (int h = h1; h <= h2; h++) {
      float x = static_cast<float>(g->left + static_cast<double>(h) * g->cellwidth);
      float y = static_cast<float>(g->top + static_cast<double>(v) * g->cellheight);
      if (inst->Collision_Rectangle(x, y, x + g->cellwidth - 1, y + g->cellheight - 1, precise))
        g->cells[static_cast<size_t>(v) * g->hcells + h] = GRID_FORBIDDEN;
    }
  }
}

// The cell that holds a point, or false when it lies outside the grid.
bool CellAt(const CGrid* g, int x, int y, int* h, int* v) {
  int64_t dx = static_cast<int64_t>(x) - g->left, dy = static_cast<int64_t>(y) - g->top;
  if (dx < 0 || dy < 0) return false;
  int64_t ch = dx / g->cellwidth, cv = dy / g->cellheight;
  if (ch >= g->hcells || cv >= g->vcells) return false;
  *h = static_cast<int>(ch), *v = static_cast<int>(cv);
  return true;
}

// Dijkstra over the cells; the cells of the way from start to goal, or an
// empty list when there is none.
std::vector<int> Search(const CGrid* g, int start, int goal, bool allowdiag) {
  size_t count = g->cells.size();
  std::vector<double> cost(count, INFINITY);
  std::vector<int> from(count, -1);
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  cost[static_cast<size_t>(start)] = 0;
  open.push({0, start});
  double diag = std::hypot(static_cast<double>(g->cellwidth), static_cast<double>(g->cellheight));
  auto free_cell = [g](int h, int v) {
    return h >= 0 && v >= 0 && h < g->hcells && v < g->vcells &&
           g->cells[static_cast<size_t>(v) * g->hcells + h] == GRID_FREE;
  };
  while (!open.empty()) {
    auto [c, cell] = open.top();
    open.pop();
    if (c > cost[static_cast<size_t>(cell)]) continue;
    if (cell == goal) break;
    int h = cell % g->hcells, v = cell / g->hcells;
    for (int dv = -1; dv <= 1; dv++) {
      for (int dh = -1; dh <= 1; dh++) {
        if ((dh == 0 && dv == 0) || !free_cell(h + dh, v + dv)) continue;
        double step;
        if (dh != 0 && dv != 0) {
          // No cutting corners: both cells beside a diagonal step are free.
          if (!allowdiag || !free_cell(h + dh, v) || !free_cell(h, v + dv)) continue;
          step = diag;
        } else {
          step = dh != 0 ? g->cellwidth : g->cellheight;
        }
        int next = (v + dv) * g->hcells + (h + dh);
        if (c + step < cost[static_cast<size_t>(next)]) {
          cost[static_cast<size_t>(next)] = c + step;
          from[static_cast<size_t>(next)] = cell;
          open.push({c + step, next});
        }
      }
    }
  }
  std::vector<int> way;
  if (start != goal && from[static_cast<size_t>(goal)] < 0) return way;
  for (int cell = goal; cell != -1; cell = from[static_cast<size_t>(cell)]) way.push_back(cell);
  std::reverse(way.begin(), way.end());
  return way;
}
}  // namespace

int MotionGrid_Create(int left, int top, int hcells, int vcells, int cellwidth, int cellheight) {
  if (hcells <= 0 || vcells <= 0 || cellwidth <= 0 || cellheight <= 0) {
    g_Console.Output("mp_grid_create: cell counts and sizes must be above 0 (got %d x %d cells of %d x %d)\n", hcells,
                     vcells, cellwidth, cellheight);
    return -1;
  }
  if (static_cast<int64_t>(hcells) * vcells > MAX_CELLS) {
    g_Console.Output("mp_grid_create: %d x %d cells are too many (at most %lld)\n", hcells, vcells,
                     static_cast<long long>(MAX_CELLS));
    return -1;
  }
  auto* g = new CGrid;
  g->left = left, g->top = top, g->cellwidth = cellwidth, g->cellheight = cellheight;
  g->hcells = hcells, g->vcells = vcells;
  g->cells.assign(static_cast<size_t>(hcells) * vcells, GRID_FREE);
  auto empty = std::find(g_grids.begin(), g_grids.end(), nullptr);
  if (empty != g_grids.end()) {
    *empty = g;
    return static_cast<int>(empty - g_grids.begin());
  }
  g_grids.push_back(g);
  return static_cast<int>(g_grids.size()) - 1;
}

CGrid* MotionGrid_Get(int id) {
  if (id < 0 || id >= static_cast<int>(g_grids.size())) return nullptr;
  return g_grids[static_cast<size_t>(id)];
}

void MotionGrid_Destroy(int id) {
  if (!MotionGrid_Get(id)) return;
  delete g_grids[static_cast<size_t>(id)];
  g_grids[static_cast<size_t>(id)] = nullptr;
}

void MotionGrid_DestroyAll() {
  for (CGrid* g : g_grids) delete g;
  g_grids.clear();
}

void MotionGrid_ClearAll(int id) {
  if (CGrid* g = MotionGrid_Get(id)) std::fill(g->cells.begin(), g->cells.end(), GRID_FREE);
}

void MotionGrid_ClearCell(int id, int h, int v) { SetCell(id, h, v, GRID_FREE); }
void MotionGrid_AddCell(int id, int h, int v) { SetCell(id, h, v, GRID_FORBIDDEN); }

void MotionGrid_ClearRectangle(int id, int x1, int y1, int x2, int y2) { SetRectangle(id, x1, y1, x2, y2, GRID_FREE); }

void MotionGrid_AddRectangle(int id, int x1, int y1, int x2, int y2) {
  SetRectangle(id, x1, y1, x2, y2, GRID_FORBIDDEN);
}

void MotionGrid_AddInstances(int id, CInstance* self, CInstance* other, int target, bool precise) {
  CGrid* g = MotionGrid_Get(id);
  if (!g) return;
  if (target == TARGET_SELF)
    ForbidInstance(g, self, precise);
  else if (target == TARGET_OTHER)
    ForbidInstance(g, other, precise);
  else
    Target_ForEach(target, [&](CInstance* inst) { ForbidInstance(g, inst, precise); });
}

bool MotionGrid_Path(int id, int path, int xstart, int ystart, int xgoal, int ygoal, bool allowdiag) {
  CGrid* g = MotionGrid_Get(id);
  CPath* p = Path_Data(path);
  if (!g || !p) return false;
  int hs, vs, hg, vg;
  if (!CellAt(g, xstart, ystart, &hs, &vs) || !CellAt(g, xgoal, ygoal, &hg, &vg)) return false;
  int start = vs * g->hcells + hs, goal = vg * g->hcells + hg;
  if (g->cells[static_cast<size_t>(start)] != GRID_FREE || g->cells[static_cast<size_t>(goal)] != GRID_FREE) return false;
  std::vector<int> way = Search(g, start, goal, allowdiag);
  if (way.empty()) return false;
  std::vector<PathPoint> points;
  points.push_back({static_cast<float>(xstart), static_cast<float>(ystart), 100});
  for (size_t i = 1; i + 1 < way.size(); i++) {
    int h = way[i] % g->hcells, v = way[i] / g->hcells;
    points.push_back({static_cast<float>(g->left + (h + 0.5) * g->cellwidth),
                      static_cast<float>(g->top + (v + 0.5) * g->cellheight), 100});
  }
  points.push_back({static_cast<float>(xgoal), static_cast<float>(ygoal), 100});
  p->SetPoints(std::move(points));
  return true;
}
