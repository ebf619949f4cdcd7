#include "Path/Path_Class.h"

#include <algorithm>
#include <cmath>

#include "Platform/MemoryManager.h"

CPath::~CPath() { MEM_FREE(name); }

const PathPoint& CPath::GetPoint(int n) const {
  static const PathPoint empty{0, 0, 1};
  if (n < 0 || n >= GetNumber()) return empty;
  return m_points[static_cast<size_t>(n)];
}

PathPoint CPath::GetPosition(double pos) const {
  if (m_inner.empty()) return PathPoint{0, 0, 0};
  if (m_inner.size() == 1 || m_length <= 0) return m_inner[0];
  if (!(pos > 0)) pos = 0;  // NaN too
  if (pos > 1) pos = 1;
  double want = pos * m_length;
  // The first inner point at or beyond that distance ends the piece.
  size_t i = static_cast<size_t>(std::lower_bound(m_distance.begin(), m_distance.end(), want) - m_distance.begin());
  if (i == 0) return m_inner[0];
  if (i >= m_inner.size()) return m_inner.back();
  const PathPoint& a = m_inner[i - 1];
  const PathPoint& b = m_inner[i];
  double piece = m_distance[i] - m_distance[i - 1];
  double t = piece > 0 ? (want - m_distance[i - 1]) / piece : 0;
  PathPoint p;
  p.x = static_cast<float>(a.x + (b.x - a.x) * t);
  p.y = static_cast<float>(a.y + (b.y - a.y) * t);
  p.speed = static_cast<float>(a.speed + (b.speed - a.speed) * t);
  return p;
}

void CPath::SetKind(int kind) {
  m_kind = kind == PATH_SMOOTH ? PATH_SMOOTH : PATH_STRAIGHT;
  Compute();
}

void CPath::SetClosed(bool closed) {
  m_closed = closed;
  Compute();
}

void CPath::SetPrecision(int precision) {
  m_precision = std::clamp(precision, PATH_PRECISION_MIN, PATH_PRECISION_MAX);
  Compute();
}

void CPath::AddPoint(float x, float y, float speed) {
  m_points.push_back(PathPoint{x, y, speed});
  Compute();
}

void CPath::InsertPoint(int n, float x, float y, float speed) {
  n = std::clamp(n, 0, GetNumber());
  m_points.insert(m_points.begin() + n, PathPoint{x, y, speed});
  Compute();
}

void CPath::ChangePoint(int n, float x, float y, float speed) {
  if (n < 0 || n >= GetNumber()) return;
  m_points[static_cast<size_t>(n)] = PathPoint{x, y, speed};
  Compute();
}

void CPath::DeletePoint(int n) {
  if (n < 0 || n >= GetNumber()) return;
  m_points.erase(m_points.begin() + n);
  Compute();
}

void CPath::ClearPoints() {
  m_points.clear();
  Compute();
}

void CPath::SetPoints(std::vector<PathPoint> points) {
  m_points = std::move(points);
  Compute();
}

void CPath::Reverse() {
  std::reverse(m_points.begin(), m_points.end());
  Compute();
}

void CPath::Centre(double* cx, double* cy) const {
  if (m_points.empty()) {
    *cx = *cy = 0;
    return;
  }
  double l = m_points[0].x, r = l, t = m_points[0].y, b = t;
  for (const PathPoint& p : m_points) {
    l = std::min(l, static_cast<double>(p.x)), r = std::max(r, static_cast<double>(p.x));
    t = std::min(t, static_cast<double>(p.y)), b = std::max(b, static_cast<double>(p.y));
  }
  *cx = (l + r) / 2, *cy = (t + b) / 2;
}

void CPath::Mirror() { Scale(-1, 1); }
void CPath::Flip() { Scale(1, -1); }

void CPath::Rotate(double degrees) {
  double cx, cy;
  Centre(&cx, &cy);
  // Counter-clockwise on the screen, where y grows downwards.
  double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
  for (PathPoint& p : m_points) {
    double dx = p.x - cx, dy = p.y - cy;
    p.x = static_cast<float>(cx + dx * c + dy * s);
    p.y = static_cast<float>(cy - dx * s + dy * c);
  }
  Compute();
}

void CPath::Scale(double xscale, double yscale) {
  double cx, cy;
  Centre(&cx, &cy);
  for (PathPoint& p : m_points) {
    p.x = static_cast<float>(cx + (p.x - cx) * xscale);
    p.y = static_cast<float>(cy + (p.y - cy) * yscale);
  }
  Compute();
}

void CPath::Shift(double dx, double dy) {
  for (PathPoint& p : m_points) {
    p.x = static_cast<float>(p.x + dx);
    p.y = static_cast<float>(p.y + dy);
  }
  Compute();
}

void CPath::Append(const CPath& other) {
  std::vector<PathPoint> add = other.m_points;  // other may be this path
  m_points.insert(m_points.end(), add.begin(), add.end());
  Compute();
}

void CPath::Assign(const CPath& other) {
  if (&other == this) return;
  m_points = other.m_points;
  m_kind = other.m_kind;
  m_closed = other.m_closed;
  m_precision = other.m_precision;
  Compute();
}

// The quadratic curve from a through (towards) b to c, without its start.
void CPath::AddCurve(const PathPoint& a, const PathPoint& b, const PathPoint& c) {
  int pieces = 1 << m_precision;
  for (int k = 1; k <= pieces; k++) {
    double t = static_cast<double>(k) / pieces, u = 1 - t;
    double wa = u * u, wb = 2 * t * u, wc = t * t;
    PathPoint p;
    p.x = static_cast<float>(wa * a.x + wb * b.x + wc * c.x);
    p.y = static_cast<float>(wa * a.y + wb * b.y + wc * c.y);
    p.speed = static_cast<float>(wa * a.speed + wb * b.speed + wc * c.speed);
    m_inner.push_back(p);
  }
}

static PathPoint Midpoint(const PathPoint& a, const PathPoint& b) {
  return PathPoint{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.speed + b.speed) / 2};
}

void CPath::Compute() {
  m_inner.clear();
  m_distance.clear();
  m_length = 0;
  size_t n = m_points.size();
  if (n == 0) return;
  if (m_kind == PATH_STRAIGHT || n < 3) {
    m_inner = m_points;
    if (m_closed && n > 1) m_inner.push_back(m_points[0]);
  } else if (m_closed) {
    // Through the midpoint of every side, each corner pulling the curve.
    m_inner.push_back(Midpoint(m_points[n - 1], m_points[0]));
    for (size_t i = 0; i < n; i++)
      AddCurve(Midpoint(m_points[(i + n - 1) % n], m_points[i]), m_points[i], Midpoint(m_points[i], m_points[(i + 1) % n]));
  } else {
    // An open curve starts on the first point and ends on the last.
    m_inner.push_back(m_points[0]);
    for (size_t i = 1; i + 1 < n; i++) {
      PathPoint from = i == 1 ? m_points[0] : Midpoint(m_points[i - 1], m_points[i]);
      PathPoint to = i + 2 == n ? m_points[n - 1] : Midpoint(m_points[i], m_points[i + 1]);
      AddCurve(from, m_points[i], to);
    }
  }
  m_distance.reserve(m_inner.size());
  m_distance.push_back(0);
  for (size_t i = 1; i < m_inner.size(); i++) {
    m_length += std::hypot(static_cast<double>(m_inner[i].x) - m_inner[i - 1].x,
                           static_cast<double>(m_inner[i].y) - m_inner[i - 1].y);
    m_distance.push_back(m_length);
  }
}
