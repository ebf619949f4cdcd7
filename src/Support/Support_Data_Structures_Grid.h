// The script grid: width x height values stored column by column, with cell,
// rectangle and disk operations, sums and searches. Rectangles are clamped to
// the grid with their corners in either order; a disk selects the cells whose
// integer coordinates lie within the radius of its centre. Every rectangle and
// disk is scanned column by column (x outside, y inside).
#pragma once
#include <cstdint>

#include "Base/RValue.h"

class CDS_Grid {
 public:
  // Negative sizes count as 0.
  CDS_Grid(int width, int height);
  virtual ~CDS_Grid();
  CDS_Grid(const CDS_Grid&) = delete;
  CDS_Grid& operator=(const CDS_Grid&) = delete;

  // Keeps the cells that lie in both sizes; new cells are the real 0.
  void Resize(int width, int height);
  void Clear(const RValue* v);
  // op: DS_OP_SET, DS_OP_ADD or DS_OP_MULTIPLY.
  void CellOp(int op, int x, int y, const RValue* v);
  void RegionOp(int op, int x1, int y1, int x2, int y2, const RValue* v);
  void DiskOp(int op, double xm, double ym, double r, const RValue* v);
  // Combines source's rectangle into this grid with its corner at (xpos,
  // ypos), clipped to both grids; source may be this grid.
  void GridRegionOp(int op, const CDS_Grid* source, int x1, int y1, int x2, int y2, int xpos, int ypos);
  RValue* Get(int x, int y) const;

  // Over the plain real cells only: sum and mean (0 when there are none),
  // max and min (-1e8 and 1e8 when there are none).
  double GetSum(int x1, int y1, int x2, int y2) const;
  double GetMax(int x1, int y1, int x2, int y2) const;
  double GetMin(int x1, int y1, int x2, int y2) const;
  double GetMean(int x1, int y1, int x2, int y2) const;
  double GetDiskSum(double xm, double ym, double r) const;
  double GetDiskMax(double xm, double ym, double r) const;
  double GetDiskMin(double xm, double ym, double r) const;
  double GetDiskMean(double xm, double ym, double r) const;

  // The first cell (in scanning order) that compares equal to v: whether
  // there is one, and its x and y (0 when there is none).
  bool ValueExists(int x1, int y1, int x2, int y2, const RValue* v) const;
  int ValueX(int x1, int y1, int x2, int y2, const RValue* v) const;
  int ValueY(int x1, int y1, int x2, int y2, const RValue* v) const;
  bool ValueDiskExists(double xm, double ym, double r, const RValue* v) const;
  int ValueDiskX(double xm, double ym, double r, const RValue* v) const;
  int ValueDiskY(double xm, double ym, double r, const RValue* v) const;

  void Shuffle();
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  // Becomes a copy of source's size and cells; none makes it 0 x 0.
  void Copy(const CDS_Grid* source);
  char* WriteToString() const;
  // Takes width, height and cells from the text; false, the grid unchanged,
  // when the text is not a whole grid record.
  bool ReadFromString(const char* text);

 private:
  // The selected cells of a rectangle or a disk, as inclusive index ranges
  // and, for a disk, the squared-distance test.
  struct Area {
    int64_t x0, x1, y0, y1;
    bool disk;
    double xm, ym, r2;
    bool Contains(int64_t x, int64_t y) const;
  };
  Area Rect(int x1, int y1, int x2, int y2) const;
  Area Disk(double xm, double ym, double r) const;
  RValue& Cell(int64_t x, int64_t y) const { return m_Cells[x * m_Height + y]; }
  // Calls f(cell, x, y) for every selected cell in scanning order until it
  // gives true; gives whether one did.
  template <class F>
  bool Scan(const Area& a, F f) const;
  void Combine(int op, const Area& a, const RValue* v);
  struct Stats {
    double sum = 0, max = 0, min = 0;
    int64_t count = 0;
  };
  Stats Gather(const Area& a) const;
  // The first matching cell's coordinates; false when none matches.
  bool Find(const Area& a, const RValue* v, int64_t* x, int64_t* y) const;

  int m_Width = 0;
  int m_Height = 0;
  RValue* m_Cells = nullptr;  // column x holds cells x * height .. x * height + height - 1
};
