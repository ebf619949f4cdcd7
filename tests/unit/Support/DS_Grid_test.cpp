#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Base/Random_Main.h"
#include "DS_Test.h"
#include "Support/Support_Data_Structures.h"
#include "Support/Support_Data_Structures_Grid.h"
#include "Support/Support_Data_Structures_Priority.h"

namespace {
// The cells a disk selects, as "x,y" in scanning order.
std::vector<std::string> DiskCells(double xm, double ym, double r) {
  CDS_Grid g(6, 6);
  g.DiskOp(DS_OP_SET, xm, ym, r, &Val(1.0));
  std::vector<std::string> out;
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 6; ++y)
      if (g.Get(x, y)->val == 1.0) out.push_back(std::to_string(x) + "," + std::to_string(y));
  return out;
}

// Fills a grid so that cell (x, y) holds 10 * x + y.
void Number(CDS_Grid& g) {
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) g.CellOp(DS_OP_SET, x, y, &Val(10.0 * x + y));
}

std::string Row(const CDS_Grid& g, int y) {
  std::string out;
  for (int x = 0; x < g.Width(); ++x) out += (x ? " " : "") + Describe(g.Get(x, y));
  return out;
}
}  // namespace

TEST(DS_Priority, TakesByLowestAndHighestPriority) {
  CDS_Priority p;
  Val result(0.0);
  p.DeleteMax(&result);
  EXPECT_EQ(Describe(&result), "0");
  EXPECT_EQ(p.FindMin(), nullptr);
  p.Add(&Val("u"), &Val(5.0));
  p.Add(&Val("v"), &Val(2.0));
  p.Add(&Val("w"), &Val(2.0));
  EXPECT_EQ(Describe(p.FindMin()), "\"v\"");
  EXPECT_EQ(Describe(p.FindMax()), "\"u\"");
  p.DeleteMin(&result);
  EXPECT_EQ(Describe(&result), "\"v\"");
  p.DeleteMin(&result);
  EXPECT_EQ(Describe(&result), "\"w\"");
  EXPECT_EQ(p.Size(), 1);
  p.Add(&Val(7.0), &Val("p"));
  EXPECT_EQ(Describe(p.FindPriority(&Val(7.0 + 1e-9))), "\"p\"");
  p.ChangePriority(&Val(7.0), &Val(1.0));
  EXPECT_EQ(Describe(p.FindMin()), "7");
  p.DeleteValue(&Val("u"));
  EXPECT_EQ(p.Size(), 1);
  EXPECT_EQ(p.FindPriority(&Val("u")), nullptr);
  p.Copy(&p);
  EXPECT_EQ(Describe(p.FindMax()), "7");
}

TEST(DS_Priority, TheLastEntryLeavesWithoutADoubleFree) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Priority p, copy;
    p.Add(&Val("only"), &Val("prio"));
    copy.Copy(&p);
    Val result(0.0);
    p.DeleteMin(&result);
    EXPECT_EQ(Describe(&result), "\"only\"");
    EXPECT_TRUE(p.Empty());
    p.Add(&Val("next"), &Val("n"));
    p.DeleteMax(&result);
    EXPECT_EQ(Describe(&result), "\"next\"");
    copy.DeleteValue(&Val("only"));
    EXPECT_TRUE(copy.Empty());
    copy.Add(&Val("again"), &Val(1.0));
    p.Clear();
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST(DS_Grid, DisksSelectCellsWithinTheRadius) {
  EXPECT_EQ(DiskCells(2, 2, 1), (std::vector<std::string>{"1,2", "2,1", "2,2", "2,3", "3,2"}));
  EXPECT_EQ(DiskCells(2, 2, 0.99), std::vector<std::string>{"2,2"});
  EXPECT_EQ(DiskCells(2, 2, -0.1), std::vector<std::string>{"2,2"});
  EXPECT_TRUE(DiskCells(2, 2, -1.5).empty());
  EXPECT_TRUE(DiskCells(0.5, 0.5, 0.5).empty());
  EXPECT_EQ(DiskCells(2.5, 2.5, 1).size(), 4u);
  EXPECT_TRUE(DiskCells(NAN, 2, 3).empty());
  EXPECT_TRUE(DiskCells(1e300, 2, 3).empty());
  EXPECT_EQ(DiskCells(0, 0, 1e300).size(), 36u);
}

TEST(DS_Grid, DiskSumsAtFractionalRadii) {
  CDS_Grid g(9, 9);
  g.Clear(&Val(1.0));
  EXPECT_EQ(g.GetDiskSum(4, 4, 1.5), 9.0);    // the 3 x 3 block: corners at 1.41
  EXPECT_EQ(g.GetDiskSum(4, 4, 1.4), 5.0);
  EXPECT_EQ(g.GetDiskSum(4, 4, 2.2), 13.0);   // distances 0, 1, 1.41 and 2
  EXPECT_EQ(g.GetDiskSum(4, 4, 2.25), 21.0);  // and the eight at 2.24
  EXPECT_EQ(g.GetDiskSum(0, 0, 1.5), 4.0);    // clipped at the corner
  g.CellOp(DS_OP_SET, 4, 4, &Val("s"));
  EXPECT_EQ(g.GetDiskSum(4, 4, 1.5), 8.0);  // strings are skipped
  EXPECT_EQ(g.GetDiskMean(4, 4, 1.5), 1.0);
  EXPECT_EQ(g.GetDiskMean(4, 4, 0.5), 0.0);
}

TEST(DS_Grid, MaxAndMinReachBeyondTheirEmptyResults) {
  CDS_Grid g(3, 2);
  g.Clear(&Val("x"));
  EXPECT_EQ(g.GetMax(0, 0, 2, 1), -100000000.0);
  EXPECT_EQ(g.GetMin(0, 0, 2, 1), 100000000.0);
  EXPECT_EQ(g.GetMean(0, 0, 2, 1), 0.0);
  g.CellOp(DS_OP_SET, 1, 1, &Val(-2e8));
  g.CellOp(DS_OP_SET, 2, 0, &Val(-3e8));
  EXPECT_EQ(g.GetMax(0, 0, 2, 1), -2e8);
  EXPECT_EQ(g.GetMin(2, 1, 0, 0), -3e8);
  g.Clear(&Val(5e8));
  EXPECT_EQ(g.GetMin(0, 0, 5, 5), 5e8);
  EXPECT_EQ(g.GetDiskMax(1, 1, 3), 5e8);
  EXPECT_EQ(g.GetSum(-5, -5, 0, 0), 5e8);
  EXPECT_EQ(g.GetSum(5, 5, 9, 9), 0.0);
}

TEST(DS_Grid, ValueSearchesScanColumnByColumn) {
  CDS_Grid g(6, 6);
  g.CellOp(DS_OP_SET, 3, 0, &Val(7.0));
  g.CellOp(DS_OP_SET, 1, 5, &Val(7.0));
  EXPECT_TRUE(g.ValueExists(0, 0, 5, 5, &Val(7.0)));
  EXPECT_EQ(g.ValueX(0, 0, 5, 5, &Val(7.0)), 1);
  EXPECT_EQ(g.ValueY(0, 0, 5, 5, &Val(7.0)), 5);
  EXPECT_EQ(g.ValueX(2, 0, 5, 5, &Val(7.0)), 3);
  EXPECT_FALSE(g.ValueExists(0, 0, 5, 5, &Val(8.0)));
  EXPECT_EQ(g.ValueX(0, 0, 5, 5, &Val(8.0)), 0);
  EXPECT_EQ(g.ValueY(0, 0, 5, 5, &Val(8.0)), 0);
  EXPECT_TRUE(g.ValueDiskExists(3, 1, 1, &Val(7.0 + 1e-9)));
  EXPECT_EQ(g.ValueDiskY(1, 4, 1.2, &Val(7.0)), 5);
  EXPECT_FALSE(g.ValueDiskExists(3, 2, 1.5, &Val(7.0)));
}

TEST(DS_Grid, RegionOperationsClampTheirRectangles) {
  CDS_Grid g(4, 3);
  g.RegionOp(DS_OP_SET, 5, -2, 2, 1, &Val(1.0));
  g.RegionOp(DS_OP_ADD, 3, 0, 3, 9, &Val(2.0));
  g.RegionOp(DS_OP_MULTIPLY, 0, 0, 9, 0, &Val(10.0));
  EXPECT_EQ(Row(g, 0), "0 0 10 30");
  EXPECT_EQ(Row(g, 1), "0 0 1 3");
  EXPECT_EQ(Row(g, 2), "0 0 0 2");
  g.CellOp(DS_OP_SET, 4, 0, &Val(9.0));
  g.CellOp(DS_OP_ADD, 0, -1, &Val(9.0));
  EXPECT_EQ(g.Get(4, 0), nullptr);
  EXPECT_EQ(g.GetSum(0, 0, 3, 2), 46.0);
}

TEST(DS_Grid, GridRegionsCopyOverlappingBlocksOnce) {
  CDS_Grid g(5, 2);
  Number(g);
  // Shifted one column right within the same grid: no smeared column.
  g.GridRegionOp(DS_OP_SET, &g, 0, 0, 3, 1, 1, 0);
  EXPECT_EQ(Row(g, 0), "0 0 10 20 30");
  EXPECT_EQ(Row(g, 1), "1 1 11 21 31");
  Number(g);
  g.GridRegionOp(DS_OP_SET, &g, 1, 0, 4, 1, 0, 0);  // and left
  EXPECT_EQ(Row(g, 0), "10 20 30 40 40");
  CDS_Grid v(2, 5);
  Number(v);
  v.GridRegionOp(DS_OP_ADD, &v, 0, 0, 1, 3, 0, 1);  // and down, adding
  EXPECT_EQ(Row(v, 4), "7 27");
  EXPECT_EQ(Row(v, 1), "1 21");
}

TEST(DS_Grid, GridRegionsClipExactlyToTheDestination) {
  CDS_Grid source(6, 6), dest(5, 5);
  Number(source);
  // A block that starts inside the source reaches the destination's right
  // and bottom edges, and no further.
  dest.GridRegionOp(DS_OP_SET, &source, 2, 2, 5, 5, 3, 3);
  EXPECT_EQ(Row(dest, 3), "0 0 0 22 32");
  EXPECT_EQ(Row(dest, 4), "0 0 0 23 33");
  EXPECT_EQ(Row(dest, 2), "0 0 0 0 0");
  // Left of and above the destination: those source cells are skipped.
  CDS_Grid d2(3, 3);
  d2.GridRegionOp(DS_OP_SET, &source, 1, 1, 3, 3, -1, -2);
  EXPECT_EQ(Row(d2, 0), "23 33 0");
  EXPECT_EQ(Row(d2, 1), "0 0 0");
  // Wholly outside: nothing.
  d2.GridRegionOp(DS_OP_SET, &source, 0, 0, 5, 5, 7, 0);
  d2.GridRegionOp(DS_OP_SET, &source, 0, 0, 1, 1, -5, 0);
  EXPECT_EQ(d2.GetSum(0, 0, 2, 2), 56.0);
}

TEST(DS_Grid, ResizeCopyAndShuffle) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    CDS_Grid g(3, 3);
    Number(g);
    g.CellOp(DS_OP_SET, 2, 2, &Val("gone"));
    g.CellOp(DS_OP_SET, 1, 1, &Val("kept"));
    g.Resize(2, 4);
    EXPECT_EQ(Row(g, 0), "0 10");
    EXPECT_EQ(Row(g, 1), "1 \"kept\"");
    EXPECT_EQ(Row(g, 3), "0 0");
    g.Resize(-1, 5);
    EXPECT_EQ(g.Width(), 0);
    CDS_Grid h(4, 4);
    Number(h);
    h.CellOp(DS_OP_SET, 0, 0, &Val("s"));
    g.Copy(&h);
    EXPECT_EQ(Row(g, 0), Row(h, 0));
    g.Copy(&g);
    EXPECT_EQ(Row(g, 0), Row(h, 0));
    Random_Seed(11);
    h.Shuffle();
    std::multiset<std::string> a, b;
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 4; ++y) {
        a.insert(Describe(g.Get(x, y)));
        b.insert(Describe(h.Get(x, y)));
      }
    EXPECT_EQ(a, b);
    EXPECT_NE(Row(g, 0) + Row(g, 1), Row(h, 0) + Row(h, 1));
    g.Copy(nullptr);
    EXPECT_EQ(g.Height(), 0);
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}
