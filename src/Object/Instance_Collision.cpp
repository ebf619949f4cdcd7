// The collision tests of an instance: bounding boxes first, then, when asked
// for and the sprite has them, the per-pixel masks.
#include <algorithm>
#include <cmath>

#include "Object/Instance_Class.h"
#include "Sprite/Sprite_Main.h"

// A room point meets the mask at the pixel it lies in, tested at that pixel's
// centre as the drawing samples it. A sprite without precise masks is its
// bounding box, whatever its angle.
bool CInstance::MaskAt(float px, float py) {
  const CSprite* s = CollisionSprite();
  if (!s || !s->HasPreciseMask()) return true;
  return s->PointHits(static_cast<int>(std::floor(image_index)), x, y, image_xscale, image_yscale, image_angle,
                      std::floor(px) + 0.5f, std::floor(py) + 0.5f);
}

namespace {
// Whether the span a1..a2 (a1 <= a2) meets the box's pixels lo..hi: a span
// starting at hi + 1 lies beside the box, as a point there does.
bool SpanMeets(double a1, double a2, int lo, int hi) { return a2 >= lo && a1 < hi + 1.0; }
}  // namespace

bool CInstance::Collision_Point(float px, float py, bool precise) {
  if (marked || !HasShape()) return false;
  int l, t, r, b;
  GetBoundingBox(&l, &t, &r, &b);
  if (!SpanMeets(px, px, l, r) || !SpanMeets(py, py, t, b)) return false;
  return !precise || MaskAt(px, py);
}

bool CInstance::Collision_Rectangle(float x1, float y1, float x2, float y2, bool precise) {
  if (marked || !HasShape()) return false;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  int l, t, r, b;
  GetBoundingBox(&l, &t, &r, &b);
  if (!SpanMeets(x1, x2, l, r) || !SpanMeets(y1, y2, t, b)) return false;
  if (!precise) return true;
  // The pixels the rectangle touches, inside the box.
  int il = std::max<double>(l, std::floor(x1)), ir = std::min<double>(r, std::floor(x2));
  int it = std::max<double>(t, std::floor(y1)), ib = std::min<double>(b, std::floor(y2));
  for (int j = it; j <= ib; j++)
    for (int i = il; i <= ir; i++)
      if (MaskAt(i + 0.5f, j + 0.5f)) return true;
  return false;
}

bool CInstance::Collision_Ellipse(float x1, float y1, float x2, float y2, bool precise) {
  if (marked || !HasShape()) return false;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  int l, t, r, b;
  GetBoundingBox(&l, &t, &r, &b);
  if (!SpanMeets(x1, x2, l, r) || !SpanMeets(y1, y2, t, b)) return false;
  double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  double rx = std::max((x2 - x1) / 2.0, 0.5), ry = std::max((y2 - y1) / 2.0, 0.5);
  int il = std::max(l, static_cast<int>(std::floor(x1))), ir = std::min(r, static_cast<int>(std::ceil(x2)));
  int it = std::max(t, static_cast<int>(std::floor(y1))), ib = std::min(b, static_cast<int>(std::ceil(y2)));
  for (int j = it; j <= ib; j++) {
    for (int i = il; i <= ir; i++) {
      // The point of this pixel nearest to the centre.
      double nx = std::clamp(cx, static_cast<double>(i), i + 1.0), ny = std::clamp(cy, static_cast<double>(j), j + 1.0);
      double ex = (nx - cx) / rx, ey = (ny - cy) / ry;
      if (ex * ex + ey * ey > 1.0) continue;
      if (!precise || MaskAt(i + 0.5f, j + 0.5f)) return true;
    }
  }
  return false;
}

bool CInstance::Collision_Line(float x1, float y1, float x2, float y2, bool precise) {
  if (marked || !HasShape()) return false;
  int l, t, r, b;
  GetBoundingBox(&l, &t, &r, &b);
  // Clip the segment to the box (right and bottom edges exclusive).
  double t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - l, (r + 1.0) - x1, y1 - t, (b + 1.0) - y1};
  for (int k = 0; k < 4; k++) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
    } else {
      double u = q[k] / p[k];
      if (p[k] < 0) t0 = std::max(t0, u);
      else t1 = std::min(t1, u);
    }
  }
  if (t0 > t1) return false;
  // A segment that only touches the right or bottom edge lies beside the box.
  if (!SpanMeets(std::min(x1 + t0 * dx, x1 + t1 * dx), r, l, r) || !SpanMeets(std::min(y1 + t0 * dy, y1 + t1 * dy), b, t, b))
    return false;
  if (!precise) return true;
  // A straight line is a rectangle one pixel thick.
  if (x1 == x2 || y1 == y2) return Collision_Rectangle(x1, y1, x2, y2, true);
  return CollisionSprite()->CollisionLine(x1, y1, x2, y2, static_cast<int>(std::floor(image_index)), x, y,
                                         image_xscale, image_yscale, image_angle, l, t, r, b);
}

bool CInstance::Collision_Instance(CInstance* o, bool precise) {
  if (!o || o == this || marked || o->marked || !HasShape() || !o->HasShape()) return false;
  int l1, t1, r1, b1, l2, t2, r2, b2;
  GetBoundingBox(&l1, &t1, &r1, &b1);
  o->GetBoundingBox(&l2, &t2, &r2, &b2);
  if (l2 > r1 || l1 > r2 || t2 > b1 || t1 > b2) return false;
  if (!precise) return true;
  int il = std::max(l1, l2), ir = std::min(r1, r2), it = std::max(t1, t2), ib = std::min(b1, b2);
  for (int j = it; j <= ib; j++)
    for (int i = il; i <= ir; i++)
      if (MaskAt(i + 0.5f, j + 0.5f) && o->MaskAt(i + 0.5f, j + 0.5f)) return true;
  return false;
}
