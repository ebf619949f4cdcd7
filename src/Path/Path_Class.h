// A path: points with speeds, straight or smooth, open or closed. The points
// a game gives are turned into inner points (the corners themselves, or a
// curve through the midpoints of the sides) with their running length, so
// that a position from 0 to 1 maps onto a point at that fraction of the way.
#pragma once
#include <vector>

struct PathPoint {
  float x = 0, y = 0, speed = 100;
};

// Path kinds.
enum { PATH_STRAIGHT = 0, PATH_SMOOTH = 1 };

constexpr int PATH_PRECISION_MIN = 1;
constexpr int PATH_PRECISION_MAX = 8;

class CPath {
 public:
  char* name = nullptr;  // memory-manager text, owned

  CPath() = default;
  ~CPath();
  CPath(const CPath&) = delete;
  CPath& operator=(const CPath&) = delete;

  double GetLength() const { return m_length; }
  int GetKind() const { return m_kind; }
  bool GetClosed() const { return m_closed; }
  int GetPrecision() const { return m_precision; }
  int GetNumber() const { return static_cast<int>(m_points.size()); }
  // The n-th point; an empty point (0, 0, speed 1) outside the points.
  const PathPoint& GetPoint(int n) const;
  // The point at a position along the path (clamped to 0..1).
  PathPoint GetPosition(double pos) const;
  double GetX(double pos) const { return GetPosition(pos).x; }
  double GetY(double pos) const { return GetPosition(pos).y; }
  double GetSpeed(double pos) const { return GetPosition(pos).speed; }
  // Draws the path in the current colour: at its own place when absolute,
  // else with its first point at (x, y).
  void Draw(float x, float y, bool absolute) const;

  void SetKind(int kind);
  void SetClosed(bool closed);
  // Clamped to 1..8: each curve piece of a smooth path is cut in 2^precision.
  void SetPrecision(int precision);
  void AddPoint(float x, float y, float speed);
  // Before point n (n clamped to 0..count).
  void InsertPoint(int n, float x, float y, float speed);
  // Points outside the list are ignored.
  void ChangePoint(int n, float x, float y, float speed);
  void DeletePoint(int n);
  void ClearPoints();
  // Replaces every point at once (one recomputation).
  void SetPoints(std::vector<PathPoint> points);
  void Reverse();
  // Mirror (left-right), flip (up-down), rotate and scale work about the
  // centre of the points' bounding box.
  void Mirror();
  void Flip();
  void Rotate(double degrees);
  void Scale(double xscale, double yscale);
  void Shift(double dx, double dy);
  // Appends the other path's points (a path appended to itself doubles).
  void Append(const CPath& other);
  // Takes every setting and point of the other path (not its name).
  void Assign(const CPath& other);

 private:
  void Compute();
  void AddCurve(const PathPoint& a, const PathPoint& b, const PathPoint& c);
  void Centre(double* cx, double* cy) const;

  std::vector<PathPoint> m_points;
  int m_kind = PATH_STRAIGHT;
  bool m_closed = true;
  int m_precision = 4;
  // The computed inner points and the distance from the start to each.
  std::vector<PathPoint> m_inner;
  std::vector<double> m_distance;
  double m_length = 0;
};
