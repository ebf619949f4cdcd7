#include "Run/Run_Motion.h"

#include <cmath>

#include "Base/Convert.h"
#include "Base/Random_Main.h"
#include "Run/Run_Place.h"
#include "Run/Run_Target.h"

namespace {
constexpr float NO_DISTANCE = 1000000.0f;

int StepCount(float maxdist) { return maxdist > 0 ? Convert_RoundInt(maxdist) : 1000; }

void UnitStep(float direction, float* dx, float* dy) {
  double a = direction * M_PI / 180.0;
  *dx = static_cast<float>(std::cos(a));
  *dy = static_cast<float>(-std::sin(a));
}

// The box-to-box distance of two instances on their integer edges.
float BoxDistance(CInstance* a, CInstance* b) {
  int al, at, ar, ab, bl, bt, br, bb;
  a->GetBoundingBox(&al, &at, &ar, &ab);
  b->GetBoundingBox(&bl, &bt, &br, &bb);
  double dx = al > br ? al - br : ar < bl ? ar - bl : 0;
  double dy = at > bb ? at - bb : ab < bt ? ab - bt : 0;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// The speed along a direction as the spot it reaches from here.
void Probe(CInstance* inst, double direction, float* x, float* y) {
  double a = direction * M_PI / 180.0;
  *x = static_cast<float>(inst->x + inst->speed * std::cos(a));
  *y = static_cast<float>(inst->y - inst->speed * std::sin(a));
}

void BounceAdvanced(CInstance* inst, bool all, bool put_back) {
  double start = Convert_RoundInt(inst->direction / 10.0) * 10.0;
  bool blocked = false;
  // The first free direction on each side of the motion.
  auto search = [&](double sign) {
    double d = start;
    for (int i = 0; i <= 35; i++) {
      d = start + sign * 10.0 * i;
      float x, y;
      Probe(inst, d, &x, &y);
      if (Run_SpotFree(inst, x, y, all)) break;
      blocked = true;
    }
    return d;
  };
  double upper = search(1), lower = search(-1);
  if (blocked || put_back) inst->SetDirection(static_cast<float>(upper + lower + 180.0 - start));
}

void BounceSimple(CInstance* inst, bool all) {
  float x = inst->x, y = inst->y, h = inst->hspeed, v = inst->vspeed;
  bool free_h = Run_SpotFree(inst, x + h, y, all);
  bool free_v = Run_SpotFree(inst, x, y + v, all);
  bool free_d = Run_SpotFree(inst, x + h, y + v, all);
  if (!free_h) {
    h = -h;
    if (!free_v) v = -v;
  } else if (!free_v) {
    v = -v;
  } else if (!free_d) {
    h = -h, v = -v;
  } else {
    return;
  }
  inst->SetHSpeed(h);
  inst->SetVSpeed(v);
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

void Run_MoveContact(CInstance* inst, float direction, float maxdist, bool all) {
  if (!Run_SpotFree(inst, inst->x, inst->y, all)) return;
  float dx, dy;
  UnitStep(direction, &dx, &dy);
  for (int n = StepCount(maxdist); n > 0; n--) {
    float x = inst->x + dx, y = inst->y + dy;
    if (!Run_SpotFree(inst, x, y, all)) break;
    inst->SetPosition(x, y);
  }
}

void Run_MoveOutside(CInstance* inst, float direction, float maxdist, bool all) {
  float dx, dy;
  UnitStep(direction, &dx, &dy);
  for (int n = StepCount(maxdist); n > 0 && !Run_SpotFree(inst, inst->x, inst->y, all); n--)
    inst->SetPosition(inst->x + dx, inst->y + dy);
}

void Run_Bounce(CInstance* inst, bool advanced, bool all) {
  bool put_back = !Run_SpotFree(inst, inst->x, inst->y, all);
  if (put_back) inst->SetPosition(inst->xprevious, inst->yprevious);
  if (advanced)
    BounceAdvanced(inst, all, put_back);
  else
    BounceSimple(inst, all);
}

void Run_MoveRandom(CInstance* inst, int hsnap, int vsnap) {
  if (!g_RunRoom) return;
  int l, t, r, b;
  inst->GetBoundingBox(&l, &t, &r, &b);
  bool shaped = inst->HasShape();
  int xlow, xlen, ylow, ylen;
  Range(inst->x, l, r, g_RunRoom->width, shaped, &xlow, &xlen);
  Range(inst->y, t, b, g_RunRoom->height, shaped, &ylow, &ylen);
  for (int tries = 0; tries < 100; tries++) {
    float x = RandomIn(xlow, xlen, hsnap), y = RandomIn(ylow, ylen, vsnap);
    if (Run_PlaceFree(inst, x, y)) {
      inst->SetPosition(x, y);
      return;
    }
  }
}

void Run_MoveSnap(CInstance* inst, float hsnap, float vsnap) {
  float x = inst->x, y = inst->y;
  if (hsnap > 0) x = static_cast<float>(Convert_RoundInt(x / hsnap) * static_cast<double>(hsnap));
  if (vsnap > 0) y = static_cast<float>(Convert_RoundInt(y / vsnap) * static_cast<double>(vsnap));
  inst->SetPosition(x, y);
}

void Run_MoveWrap(CInstance* inst, bool horizontal, bool vertical, float margin) {
  if (!g_RunRoom) return;
  float x = inst->x, y = inst->y;
  float w = static_cast<float>(g_RunRoom->width), h = static_cast<float>(g_RunRoom->height);
  if (horizontal) {
    if (x < -margin) x = x + w + 2 * margin;
    if (x > w + margin) x = x - w - 2 * margin;
  }
  if (vertical) {
    if (y < -margin) y = y + h + 2 * margin;
    if (y > h + margin) y = y - h - 2 * margin;
  }
  inst->SetPosition(x, y);
}

void Run_MoveTowardsPoint(CInstance* inst, float x, float y, float speed) {
  inst->SetHSpeed(x - inst->x);
  inst->SetVSpeed(y - inst->y);
  inst->SetSpeed(speed);
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
