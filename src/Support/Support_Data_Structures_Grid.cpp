#include "Support/Support_Data_Structures_Grid.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Base/Random_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Stream.h"

namespace {
// Results of max and min over no real cell.
constexpr double kNoMax = -100000000.0;
constexpr double kNoMin = 100000000.0;

// A zero-filled array of w x h cells (the real 0 each), or none when it
// cannot be had or is empty.
RValue* NewCells(int64_t w, int64_t h) {
  if (w <= 0 || h <= 0) return nullptr;
  if (static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > SIZE_MAX / sizeof(RValue)) return nullptr;
  return static_cast<RValue*>(MEM_ALLOC_CLEAR(static_cast<size_t>(w * h) * sizeof(RValue)));
}
}  // namespace

CDS_Grid::CDS_Grid(int width, int height) { Resize(width, height); }

CDS_Grid::~CDS_Grid() { DS_Slots_Free(&m_Cells); }

void CDS_Grid::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  RValue* cells = NewCells(width, height);
  if (!cells && int64_t(width) * height > 0) width = height = 0;  // out of memory: an empty grid
  int keepW = std::min(width, m_Width), keepH = std::min(height, m_Height);
  for (int64_t x = 0; x < m_Width; ++x) {
    for (int64_t y = 0; y < m_Height; ++y) {
      RValue& old = Cell(x, y);
      if (x < keepW && y < keepH) {
        cells[x * height + y] = old;  // the text moves with the value
        old.str = nullptr;
      }
    }
  }
  DS_Slots_Free(&m_Cells);
  m_Cells = cells;
  m_Width = width;
  m_Height = height;
}

void CDS_Grid::Clear(const RValue* v) {
  for (int64_t i = 0, n = int64_t(m_Width) * m_Height; i < n; ++i) DS_Slot_Store(&m_Cells[i], v);
}

// ---- Areas ----

bool CDS_Grid::Area::Contains(int64_t x, int64_t y) const {
  if (!disk) return true;
  double dx = double(x) - xm, dy = double(y) - ym;
  return dx * dx + dy * dy <= r2;
}

CDS_Grid::Area CDS_Grid::Rect(int x1, int y1, int x2, int y2) const {
  Area a{};
  a.x0 = std::max(std::min(x1, x2), 0);
  a.x1 = std::min<int64_t>(std::max(x1, x2), int64_t(m_Width) - 1);
  a.y0 = std::max(std::min(y1, y2), 0);
  a.y1 = std::min<int64_t>(std::max(y1, y2), int64_t(m_Height) - 1);
  return a;
}

CDS_Grid::Area CDS_Grid::Disk(double xm, double ym, double r) const {
  Area a{};
  a.disk = true;
  a.xm = xm;
  a.ym = ym;
  a.r2 = r * r;
  // The bounding box, clamped in real arithmetic before it becomes integers
  // (a centre or radius far outside, or NaN, selects nothing).
  auto clampRange = [](double lo, double hi, int size, int64_t* from, int64_t* to) {
    if (!(lo <= hi) || !(hi >= 0) || !(lo <= size - 1.0)) {
      *from = 0;
      *to = -1;
      return;
    }
    *from = static_cast<int64_t>(std::max(lo, 0.0));
    *to = static_cast<int64_t>(std::min(hi, size - 1.0));
  };
  clampRange(std::floor(xm - r), std::ceil(xm + r), m_Width, &a.x0, &a.x1);
  clampRange(std::floor(ym - r), std::ceil(ym + r), m_Height, &a.y0, &a.y1);
  return a;
}

template <class F>
bool CDS_Grid::Scan(const Area& a, F f) const {
  for (int64_t x = a.x0; x <= a.x1; ++x)
    for (int64_t y = a.y0; y <= a.y1; ++y)
      if (a.Contains(x, y) && f(Cell(x, y), x, y)) return true;
  return false;
}

void CDS_Grid::Combine(int op, const Area& a, const RValue* v) {
  Scan(a, [&](RValue& cell, int64_t, int64_t) {
    DS_Combine(op, &cell, v);
    return false;
  });
}

void CDS_Grid::CellOp(int op, int x, int y, const RValue* v) {
  if (RValue* cell = Get(x, y)) DS_Combine(op, cell, v);
}

void CDS_Grid::RegionOp(int op, int x1, int y1, int x2, int y2, const RValue* v) { Combine(op, Rect(x1, y1, x2, y2), v); }

void CDS_Grid::DiskOp(int op, double xm, double ym, double r, const RValue* v) { Combine(op, Disk(xm, ym, r), v); }

void CDS_Grid::GridRegionOp(int op, const CDS_Grid* source, int x1, int y1, int x2, int y2, int xpos, int ypos) {
  if (!source) return;
  Area a = source->Rect(x1, y1, x2, y2);
  int64_t px = xpos, py = ypos;
  // Source cells that would land left of or above the grid are skipped.
  if (px < 0) {
    a.x0 -= px;
    px = 0;
  }
  if (py < 0) {
    a.y0 -= py;
    py = 0;
  }
  // Clipped by the copied block's own extent, so the copy reaches exactly to
  // the right and bottom edges whatever corner it starts from.
  a.x1 = std::min(a.x1, a.x0 + (int64_t(m_Width) - 1 - px));
  a.y1 = std::min(a.y1, a.y0 + (int64_t(m_Height) - 1 - py));
  if (a.x0 > a.x1 || a.y0 > a.y1) return;
  // Within one grid, walk away from the destination so every source cell is
  // read before it is overwritten.
  int64_t xStep = a.x0 < px ? -1 : 1, yStep = a.y0 < py ? -1 : 1;
  int64_t xFirst = xStep > 0 ? a.x0 : a.x1, yFirst = yStep > 0 ? a.y0 : a.y1;
  int64_t w = a.x1 - a.x0 + 1, h = a.y1 - a.y0 + 1;
  for (int64_t i = 0, x = xFirst; i < w; ++i, x += xStep) {
    for (int64_t j = 0, y = yFirst; j < h; ++j, y += yStep) {
      DS_Combine(op, &Cell(x - a.x0 + px, y - a.y0 + py), &source->Cell(x, y));
    }
  }
}

RValue* CDS_Grid::Get(int x, int y) const {
  if (x < 0 || x >= m_Width || y < 0 || y >= m_Height) return nullptr;
  return &Cell(x, y);
}

// ---- Sums and searches ----

CDS_Grid::Stats CDS_Grid::Gather(const Area& a) const {
  Stats s;
  Scan(a, [&](const RValue& cell, int64_t, int64_t) {
    if (cell.kind != VALUE_REAL) return false;
    s.sum += cell.val;
    s.max = s.count == 0 ? cell.val : std::max(s.max, cell.val);
    s.min = s.count == 0 ? cell.val : std::min(s.min, cell.val);
    ++s.count;
    return false;
  });
  return s;
}

double CDS_Grid::GetSum(int x1, int y1, int x2, int y2) const { return Gather(Rect(x1, y1, x2, y2)).sum; }
double CDS_Grid::GetMax(int x1, int y1, int x2, int y2) const {
  Stats s = Gather(Rect(x1, y1, x2, y2));
  return s.count ? s.max : kNoMax;
}
double CDS_Grid::GetMin(int x1, int y1, int x2, int y2) const {
  Stats s = Gather(Rect(x1, y1, x2, y2));
  return s.count ? s.min : kNoMin;
}
double CDS_Grid::GetMean(int x1, int y1, int x2, int y2) const {
  Stats s = Gather(Rect(x1, y1, x2, y2));
  return s.count ? s.sum / double(s.count) : 0.0;
}
double CDS_Grid::GetDiskSum(double xm, double ym, double r) const { return Gather(Disk(xm, ym, r)).sum; }
double CDS_Grid::GetDiskMax(double xm, double ym, double r) const {
  Stats s = Gather(Disk(xm, ym, r));
  return s.count ? s.max : kNoMax;
}
double CDS_Grid::GetDiskMin(double xm, double ym, double r) const {
  Stats s = Gather(Disk(xm, ym, r));
  return s.count ? s.min : kNoMin;
}
double CDS_Grid::GetDiskMean(double xm, double ym, double r) const {
  Stats s = Gather(Disk(xm, ym, r));
  return s.count ? s.sum / double(s.count) : 0.0;
}

bool CDS_Grid::Find(const Area& a, const RValue* v, int64_t* x, int64_t* y) const {
  *x = *y = 0;
  return Scan(a, [&](const RValue& cell, int64_t cx, int64_t cy) {
    if (DS_Compare(&cell, v) != 0) return false;
    *x = cx;
    *y = cy;
    return true;
  });
}

bool CDS_Grid::ValueExists(int x1, int y1, int x2, int y2, const RValue* v) const {
  int64_t x, y;
  return Find(Rect(x1, y1, x2, y2), v, &x, &y);
}
int CDS_Grid::ValueX(int x1, int y1, int x2, int y2, const RValue* v) const {
  int64_t x, y;
  Find(Rect(x1, y1, x2, y2), v, &x, &y);
  return static_cast<int>(x);
}
int CDS_Grid::ValueY(int x1, int y1, int x2, int y2, const RValue* v) const {
  int64_t x, y;
  Find(Rect(x1, y1, x2, y2), v, &x, &y);
  return static_cast<int>(y);
}
bool CDS_Grid::ValueDiskExists(double xm, double ym, double r, const RValue* v) const {
  int64_t x, y;
  return Find(Disk(xm, ym, r), v, &x, &y);
}
int CDS_Grid::ValueDiskX(double xm, double ym, double r, const RValue* v) const {
  int64_t x, y;
  Find(Disk(xm, ym, r), v, &x, &y);
  return static_cast<int>(x);
}
int CDS_Grid::ValueDiskY(double xm, double ym, double r, const RValue* v) const {
  int64_t x, y;
  Find(Disk(xm, ym, r), v, &x, &y);
  return static_cast<int>(y);
}

// ---- Whole grid ----

void CDS_Grid::Shuffle() {
  int64_t swaps = int64_t(m_Width) * m_Height * 8;
  for (int64_t k = 0; k < swaps; ++k) {
    int x1 = Random_Int(m_Width);
    int x2 = Random_Int(m_Width);
    int y1 = Random_Int(m_Height);
    int y2 = Random_Int(m_Height);
    std::swap(Cell(x1, y1), Cell(x2, y2));
  }
}

void CDS_Grid::Copy(const CDS_Grid* source) {
  if (source == this) return;
  if (!source) {
    Resize(0, 0);
    return;
  }
  Resize(source->m_Width, source->m_Height);
  for (int64_t i = 0, n = int64_t(m_Width) * m_Height; i < n; ++i) DS_Slot_Store(&m_Cells[i], &source->m_Cells[i]);
}

char* CDS_Grid::WriteToString() const {
  CStream s;
  s.WriteInteger(DS_HEADER_GRID);
  s.WriteInteger(m_Width);
  s.WriteInteger(m_Height);
  for (int64_t i = 0, n = int64_t(m_Width) * m_Height; i < n; ++i) DS_Stream_WriteValue(s, &m_Cells[i]);
  return s.ConvertToString();
}

bool CDS_Grid::ReadFromString(const char* text) {
  CStream s;
  int32_t w = 0, h = 0;
  if (!DS_Stream_Open(s, text, DS_HEADER_GRID) || !DS_Stream_ReadInteger(s, &w) || !DS_Stream_ReadInteger(s, &h) ||
      w < 0 || h < 0)
    return false;
  RValue* cells = nullptr;
  if (!DS_Stream_ReadValues(s, int64_t(w) * h, &cells)) return false;
  DS_Slots_Free(&m_Cells);
  m_Cells = cells;
  m_Width = w;
  m_Height = h;
  return true;
}
