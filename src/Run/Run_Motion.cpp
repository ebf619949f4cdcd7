#include "Run/Run_Motion.h"

#include <cmath>

#include "Base/Convert.h"
#include "Base/Random_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Target.h"

namespace {
constexpr float NO_DISTANCE = 1000000.0f;

// The box-to-box distance of two instances on their integer edges.
float BoxDistance(CInstance* a, CInstance* b) {
  int al, at, ar, ab, bl, bt, br, bb;
  a->GetBoundingBox(&al, &at, &ar, &ab);
  b->GetBoundingBox(&bl, &bt, &br, &bb);
  double dx = al > br ? al - br : ar < bl ? ar - bl : 0;
  double dy = at > bb ? at - bb : ab < bt ? ab - bt : 0;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// The random range of one axis: from low, length values.
void Range(float pos, int box_low, int box_high, int room, bool shaped, int* low, int* length) {
  if (shaped) {
    *low = Convert_RoundInt(pos - box_low);
    *length = Convert_RoundInt(room + pos - box_high) - *low;
  } else {
    *low = 0, *length = room;
  }
}

float RandomIn(int low, int length, int snap) {
  double v = low + Random_Int(length);
  if (snap > 0) v = std::floor(v / snap) * snap;
  return static_cast<float>(v);
}
}  // namespace

void Run_MoveRandom(CInstance* inst, int hsnap, int vsnap, int tries) {
  if (!g_RunRoom) return;
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  bool shaped = inst->HasShape();
  int xlow, xlen, ylow, ylen;
  Range(inst->x, l, r, g_RunRoom->width, shaped, &xlow, &xlen);
  Range(inst->y, t, b, g_RunRoom->height, shaped, &ylow, &ylen);
  for (int i = 0; i < tries; i++) {
    float x = RandomIn(xlow, xlen, hsnap), y = RandomIn(ylow, ylen, vsnap);
    if (Run_PlaceFree(inst, x, y)) {
      inst->SetPosition(x, y);
      return;
    }
  }
}

namespace {
bool OffSnap(double coordinate, double snap) {
  return snap > 0 && std::fabs(coordinate - Convert_RoundInt(coordinate / snap) * snap) >= 0.001;
}
}  // namespace

bool Run_IsSnapped(const CInstance* inst, double hsnap, double vsnap) {
  return !OffSnap(inst->x, hsnap) && !OffSnap(inst->y, vsnap);
}

double Run_DistanceToPoint(CInstance* inst, double x, double y) {
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  double dx = x > r ? x - r : x < l ? x - l : 0;
  double dy = y > b ? y - b : y < t ? y - t : 0;
  return std::sqrt(dx * dx + dy * dy);
}

float Run_DistanceToObject(CInstance* self, CInstance* other, int target) {
  auto pair = [self](CInstance* inst) {
    return !inst || inst == self || inst->marked ? NO_DISTANCE : BoxDistance(self, inst);
  };
  if (target == TARGET_OTHER) return pair(other);
  if (target != TARGET_ALL && target < 0) return NO_DISTANCE;
  float best = NO_DISTANCE;
  Target_ForEach(target, [&](CInstance* inst) { best = std::fmin(best, pair(inst)); });
  return best;
}
